#include "messaging/FairwayLayer.h"

#include <cmath>
#include <string>
#include <vector>

#include "chart/ChartCanvas.h"

namespace norq::messaging {
namespace {

constexpr chart::Rgb kNoticeColour{200, 0, 160};  // magenta: a closed or restricted area
constexpr chart::Rgb kRouteColour{0, 110, 200};

}  // namespace

void FairwayLayer::drawLayer(const chart::LayerContext& context) {
    chart::ChartCanvas& canvas = context.canvas;
    std::vector<chart::PixelXY> points;
    for (const Fairway& f : list_.items()) {
        if (!f.visible || f.waypoints.empty()) continue;
        points.clear();
        for (const FairwayWaypoint& w : f.waypoints) {
            points.push_back(context.axis.project(w.longitude, w.latitude));
        }
        const chart::Rgb colour = f.fi == 27 ? kRouteColour : kNoticeColour;
        canvas.setPenRgb(colour, f.broadcast ? 3 : 2,
                         f.fi == 27 ? chart::PenStyle::Dash : chart::PenStyle::Solid);
        if (f.fi == 22 && f.areaShape == 0 && points.size() >= 2) {
            const double r = std::hypot(points[1].x - points[0].x, points[1].y - points[0].y);
            const int ri = static_cast<int>(std::lround(std::min(r, 100000.0)));
            canvas.setBrushRgb(colour, chart::BrushStyle::None);
            canvas.ellipse({points[0].x - ri, points[0].y - ri},
                           {points[0].x + ri, points[0].y + ri});
        } else if (f.fi == 22 && f.areaShape == 4 && points.size() >= 3) {
            canvas.setBrushRgb(colour, chart::BrushStyle::DiagonalCross);
            canvas.polygon(points);
        } else if (points.size() >= 2) {
            canvas.polyline(points);
        }
        for (const chart::PixelXY p : points) {
            canvas.setBrushRgb(colour);
            canvas.ellipse({p.x - 3, p.y - 3}, {p.x + 3, p.y + 3});
        }
        canvas.setFont(8, true, chart::PaletteRole::ChartText);
        canvas.text({points[0].x + 6, points[0].y + 4},
                    (f.name.empty() ? std::string("Fairway") : f.name) + " [" +
                        std::to_string(f.linkageId) + "]");
    }
}

}  // namespace norq::messaging
