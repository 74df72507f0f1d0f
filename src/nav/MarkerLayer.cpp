#include "nav/MarkerLayer.h"

#include <array>

#include "nav/OverlayLongitude.h"

namespace norq::nav {

using chart::BrushStyle;
using chart::PaletteRole;
using chart::PixelXY;

void MarkerLayer::drawLayer(const chart::LayerContext& context) {
    if (context.layer == chart::ChartLayer::Markers) {
        if (state_.shown) drawMarkers(context);
    } else if (context.layer == chart::ChartLayer::PendingMarker) {
        if (state_.pending) drawPending(context);
    }
}

void MarkerLayer::drawMarkers(const chart::LayerContext& c) {
    c.canvas.setBrush(PaletteRole::Marker, BrushStyle::None);
    const int width = c.axis.width();
    const int height = c.axis.height();
    for (int i = 0; i < markers_.count(); ++i) {
        const MarkerRecord& m = markers_.at(i);
        const PixelXY p = c.axis.geoToPixel(OverlayLongitude(c.axis, m.longitude), m.latitude);
        if (p.x < 0 || p.x > width || p.y < 0 || p.y > height) continue;
        const bool highlighted = i == state_.highlighted;
        const PaletteRole role = highlighted ? PaletteRole::HighlightedMarker : PaletteRole::Marker;
        // The highlight shows in one drawing only.
        if (highlighted) state_.highlighted = -1;
        c.canvas.setPen(role, 2);
        c.canvas.setFont(8, highlighted, role);
        c.canvas.circle(p, 3);
        c.canvas.text({p.x + 5, p.y - 7}, m.nameText());
    }
}

void MarkerLayer::drawPending(const chart::LayerContext& c) const {
    const PixelXY p =
        c.axis.geoToPixel(OverlayLongitude(c.axis, state_.pendingLon), state_.pendingLat);
    c.canvas.setBrush(PaletteRole::Alarm, BrushStyle::Solid);
    c.canvas.setPen(PaletteRole::WhiteFill, 2);
    const std::array<PixelXY, 3> triangle{PixelXY{p.x + 1, p.y}, PixelXY{p.x - 7, p.y - 15},
                                          PixelXY{p.x + 8, p.y - 15}};
    c.canvas.polygon(triangle);
    c.canvas.setBrush(PaletteRole::Alarm, BrushStyle::None);
    c.canvas.setFont(9, true, PaletteRole::Alarm);
    c.canvas.text({p.x + 12, p.y - 16}, "NEW MARKER");
}

}  // namespace norq::nav
