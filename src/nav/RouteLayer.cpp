#include "nav/RouteLayer.h"

#include <string>

#include "nav/OverlayLongitude.h"

namespace norq::nav {

namespace {

using chart::PaletteRole;

void Project(const chart::CAxisData& axis, std::vector<Waypoint>& waypoints) {
    for (Waypoint& w : waypoints) {
        const chart::PixelXY p = axis.geoToPixel(OverlayLongitude(axis, w.longitude), w.latitude);
        w.x = p.x;
        w.y = p.y;
    }
}

// Rings round each waypoint, the legs between them, then the numbers 1, 2, ...
void DrawRoute(chart::ChartCanvas& canvas, const std::vector<Waypoint>& waypoints,
               PaletteRole waypointRole, PaletteRole legRole) {
    if (waypoints.empty()) return;
    chart::PixelXY pen{waypoints.front().x, waypoints.front().y};
    for (const Waypoint& w : waypoints) {
        const chart::PixelXY at{w.x, w.y};
        canvas.setPen(waypointRole, 2);
        canvas.circle(at, 6);
        canvas.circle(at, 2);
        canvas.setPen(legRole, 2);
        if (!(pen == at)) canvas.line(pen, at);
        pen = at;
    }
    int number = 1;
    for (const Waypoint& w : waypoints)
        canvas.text({w.x - 3, w.y + 8}, std::to_string(number++));
}

}  // namespace

void RouteLayer::drawLayer(const chart::LayerContext& context) {
    if (!store_.shown()) return;
    if (store_.count() == 0 && store_.building().empty()) return;
    Project(context.axis, store_.building());
    for (int i = 0; i < store_.count(); ++i)
        Project(context.axis, store_.route(i).waypoints);

    chart::ChartCanvas& canvas = context.canvas;
    canvas.setBrush(PaletteRole::Outline, chart::BrushStyle::None);
    canvas.setFont(8, false, PaletteRole::ChartText);
    DrawRoute(canvas, store_.building(), PaletteRole::Waypoint, PaletteRole::RouteLeg);
    for (int i = 0; i < store_.count(); ++i) {
        const Route& r = store_.route(i);
        if (!r.visible) continue;
        const bool selected = i == store_.highlighted();
        DrawRoute(canvas, r.waypoints,
                  selected ? PaletteRole::SelectedWaypoint : PaletteRole::Waypoint,
                  selected ? PaletteRole::SelectedLeg : PaletteRole::RouteLeg);
    }
}

}  // namespace norq::nav
