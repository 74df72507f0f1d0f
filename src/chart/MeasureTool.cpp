#include "chart/MeasureTool.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "ais/Geometry.h"

namespace norq::chart {

namespace {

bool OnChart(GeoPoint p) {
    return std::isfinite(p.lon) && p.lat >= -90.0 && p.lat <= 90.0;
}

// Back into [-180, 180] after the chart's longitudes ran past the antimeridian.
GeoPoint Wrapped(GeoPoint p) {
    if (!std::isfinite(p.lon)) return p;
    p.lon = std::remainder(p.lon, 360.0);
    return p;
}

}  // namespace

MeasureLeg MeasureBetween(GeoPoint from, GeoPoint to) {
    if (!OnChart(from) || !OnChart(to)) return {};
    from = Wrapped(from);
    to = Wrapped(to);
    MeasureLeg leg;
    leg.valid = true;
    if (from.lon == to.lon && from.lat == to.lat) return leg;
    leg.rangeNm = ais::MidLatitudeKm(from.lon, from.lat, to.lon, to.lat) * ais::kNmPerKm;
    const float bearing = ais::BearingBetween(from.lon, from.lat, to.lon, to.lat);
    leg.bearing = bearing < 360.0f ? bearing : 0.0;
    return leg;
}

std::string MeasureText(const MeasureLeg& leg) {
    if (!leg.valid) return "N/A";
    char text[48];
    const int decimals = leg.rangeNm < 10.0 ? 2 : leg.rangeNm < 100.0 ? 1 : 0;
    // One decimal of bearing rounds 359.96 up to 360.0: show it as 000.0.
    double bearing = std::round(leg.bearing * 10.0) / 10.0;
    if (bearing >= 360.0) bearing -= 360.0;
    std::snprintf(text, sizeof text, "%.*f nm %05.1f\xC2\xB0", decimals, leg.rangeNm, bearing);
    return text;
}

void MeasureTool::setLabels(std::string between, std::string fromOwnShip) {
    betweenLabel_ = std::move(between);
    ownLabel_ = std::move(fromOwnShip);
}

void MeasureTool::reset() {
    state_ = State::Idle;
    moves_ = 0;
    pressed_ = false;
    dragging_ = false;
}

MeasureLeg MeasureTool::between() const {
    if (state_ == State::Idle) return {};
    return MeasureBetween(start_, end_);
}

MeasureLeg MeasureTool::fromOwnShip() const {
    GeoPoint own;
    if (state_ == State::Idle || !host_.measureOwnPosition(own)) return {};
    return MeasureBetween(own, end_);
}

bool MeasureTool::press(const ChartPointer& pointer) {
    moves_ = 0;
    dragging_ = false;
    pressed_ = pointer.button == PointerButton::Left;
    // The press itself is the chart's too: it may become a pan.
    return false;
}

bool MeasureTool::move(const ChartPointer& pointer, bool pressed) {
    if (pressed && pressed_) {
        if (++moves_ > kDragMoves) dragging_ = true;
        return !dragging_;
    }
    if (state_ == State::Started && OnChart(pointer.position)) {
        end_ = pointer.position;
        host_.measureChanged();
    }
    return false;
}

bool MeasureTool::release(const ChartPointer& pointer) {
    if (pointer.button == PointerButton::Right) {
        host_.measurePopup(pointer.pixel);
        return true;
    }
    if (pointer.button != PointerButton::Left || !pressed_) return false;
    pressed_ = false;
    if (dragging_) {
        dragging_ = false;
        return false;  // the chart ends its pan
    }
    if (!OnChart(pointer.position)) return true;
    if (state_ == State::Started) {
        end_ = pointer.position;
        state_ = State::Measured;
    } else {
        start_ = end_ = pointer.position;
        state_ = State::Started;
    }
    host_.measureChanged();
    return true;
}

void MeasureTool::drawLayer(const LayerContext& context) {
    if (state_ == State::Idle) return;
    ChartCanvas& canvas = context.canvas;
    // Points are kept in the chart's own longitudes, so a line across the
    // antimeridian is drawn the short way like the chart itself.
    const PixelXY a = context.axis.geoToPixel(start_.lon, start_.lat);
    const PixelXY b = context.axis.geoToPixel(end_.lon, end_.lat);
    canvas.setPen(PaletteRole::Alarm, 2, PenStyle::Dash);
    canvas.line(a, b);
    canvas.setPen(PaletteRole::Alarm, 2);
    canvas.setBrush(PaletteRole::Alarm, BrushStyle::None);
    for (PixelXY p : {a, b})
        canvas.ellipse({p.x - 4, p.y - 4}, {p.x + 5, p.y + 5});

    const std::string first = betweenLabel_ + ": " + MeasureText(between());
    const MeasureLeg own = fromOwnShip();
    const std::string second = own.valid ? ownLabel_ + ": " + MeasureText(own) : std::string();
    canvas.setFont(9, true, PaletteRole::ChartText);
    const int width =
        std::max(canvas.textWidth(first), second.empty() ? 0 : canvas.textWidth(second));
    const int lineHeight = 15;
    const int rows = second.empty() ? 1 : 2;
    PixelXY at{b.x + 10, b.y + 8};
    // Keep the readout inside the frame, on the other side of the point if need be.
    if (at.x + width + 6 > context.axis.width()) at.x = b.x - 10 - width;
    if (at.y + rows * lineHeight + 4 > context.axis.height()) at.y = b.y - 8 - rows * lineHeight;
    canvas.setPen(PaletteRole::Outline, 1);
    canvas.setBrush(PaletteRole::Panel);
    canvas.rectangle({at.x - 3, at.y - 2}, {at.x + width + 4, at.y + rows * lineHeight + 2});
    canvas.text(at, first);
    if (!second.empty()) canvas.text({at.x, at.y + lineHeight}, second);
}

}  // namespace norq::chart
