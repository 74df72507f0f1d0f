#include "nav/Dstpoint.h"

#include <cmath>

#include "ais/TargetTexts.h"

namespace norq::nav {

namespace {
std::string WithLetter(double value, char letter) {
    std::string text(ais::ChartCoordinateText(value, 2, ".").view());
    text.push_back(letter);
    return text;
}
}  // namespace

std::string DestinationLongitudeText(double lon) {
    return WithLetter(lon, lon > 0.0 ? 'E' : 'W');
}

std::string DestinationLatitudeText(double lat) {
    return WithLetter(lat, lat > 0.0 ? 'N' : 'S');
}

std::string DestinationHint(const DestinationInfo& destination) {
    return destination.name + "\n" + DestinationLongitudeText(destination.longitude) + "," +
           DestinationLatitudeText(destination.latitude);
}

std::optional<FlagRect> PlaceDestinationFlag(const chart::CAxisData& axis,
                                             const DestinationInfo& destination) {
    double lon = destination.longitude;
    const double lat = destination.latitude;
    if (!destination.valid || !std::isfinite(lon) || !std::isfinite(lat) ||
        std::fabs(lon) > 180.0 || std::fabs(lat) > 90.0 || !axis.hasCentre()) {
        return std::nullopt;
    }
    if (axis.left() < -180.0 && (lon > axis.right() || lon < -180.0)) {
        lon -= 360.0;
    } else if (axis.right() > 180.0 && (lon < axis.left() || lon > 180.0)) {
        lon += 360.0;
    }
    const chart::PixelXY p = axis.geoToPixel(lon, lat);
    FlagRect box;
    box.left = p.x - kDstFlagWidth / 2 + 2;
    box.top = p.y - kDstFlagHeight + 2;
    return box;
}

void DrawDestinationFlag(chart::ChartCanvas& canvas, const FlagRect& box) {
    using chart::PaletteRole;
    const int w = box.width;
    const int h = box.height;
    const int x = box.left;
    const int y = box.top;
    canvas.setBrush(PaletteRole::Alarm, chart::BrushStyle::Solid);
    canvas.setPen(PaletteRole::Outline, 1, chart::PenStyle::Solid);
    const chart::PixelXY triangle[3] = {{x + 1, y + 5}, {x + w - 1, y + 5}, {x + w / 2, y + h}};
    canvas.polygon(triangle);
    canvas.setPen(PaletteRole::Outline, 1, chart::PenStyle::None);
    canvas.ellipse({x, y}, {x + w, y + h / 2});
    canvas.setBrush(PaletteRole::Alarm, chart::BrushStyle::None);
    canvas.setPen(PaletteRole::Outline, 1, chart::PenStyle::Solid);
    canvas.ellipse({x, y}, {x + w, y + h / 2});
}

void TDstPoint::drawLayer(const chart::LayerContext& context) {
    if (const std::optional<FlagRect> box = place(context.axis)) {
        DrawDestinationFlag(context.canvas, *box);
    }
}

}  // namespace norq::nav
