#include "chart/ChartGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/ChartModel.h"

namespace norq::chart {

namespace {

constexpr int kLatitudeLabelDy = -16;
constexpr int kLongitudeLabelDx = -20;

int TruncToInt(double value) {
    if (!(value > -1.0e9)) return -1000000000;
    if (value > 1.0e9) return 1000000000;
    return static_cast<int>(std::trunc(value));
}

void AddLine(std::array<GridLine, kMaxGridLines>& lines, int& count, double value, int pixel) {
    if (count < kMaxGridLines) lines[static_cast<std::size_t>(count++)] = {value, pixel};
}

ais::CoordinateText Label(double value, char hemisphere, int scaleIndex) {
    const int style = scaleIndex < 4 ? 1 : 2;
    ais::CoordinateText text = ais::ChartCoordinateText(value, style);
    text.appendf("%c", hemisphere);
    return text;
}

// A latitude and longitude grid drawn rotated: every line is the projection of
// its two ends, cut to the view.
bool ClipToView(double& x0, double& y0, double& x1, double& y1, int w, int h) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0, w - x0, y0, h - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, r);
        } else {
            t1 = std::min(t1, r);
        }
        if (t0 > t1) return false;
    }
    const double ax = x0 + t0 * dx, ay = y0 + t0 * dy;
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
    x0 = ax;
    y0 = ay;
    return true;
}

}  // namespace

double LongitudeGridStep(const CAxisData& axis) {
    double s = kLongitudeGridStep[static_cast<std::size_t>(axis.scaleIndex())];
    if (axis.ringDistance() <= 96.0f && std::fabs(axis.centreLat()) >= 70.0) s *= 2.0;
    return s;
}

void ComputeGridLines(const CAxisData& axis, GridLines& lines) {
    lines.latitudeCount = 0;
    lines.longitudeCount = 0;
    if (!axis.hasCentre() || !(axis.xScale() > 0.0) || !(axis.yScale() > 0.0)) return;
    const std::size_t k = static_cast<std::size_t>(axis.scaleIndex());
    const double top = axis.rotated() ? axis.rotatedTop() : axis.top();
    const double bottom = axis.rotated() ? axis.rotatedBottom() : axis.bottom();
    const double left = axis.rotated() ? axis.rotatedLeft() : axis.left();
    const double right = axis.rotated() ? axis.rotatedRight() : axis.right();

    // Latitudes from the first line at or north of the top edge, southwards.
    const double latStep = kLatitudeGridStep[k];
    double t = 0.0;
    const int topWhole = TruncToInt(std::clamp(top, -1.0e6, 1.0e6));
    if (latStep > 1.0) {
        const int s = static_cast<int>(latStep);
        t = std::min(topWhole + s - topWhole % s, 90);
    } else {
        t = topWhole + 1;
    }
    for (int guard = 0; t > bottom && guard < 4 * kMaxGridLines; ++guard, t -= latStep) {
        if (t < -90.0 || t > 90.0) continue;
        const int y = TruncToInt((axis.top() - t) * axis.yScale());
        if (axis.rotated() || y >= 0) AddLine(lines.latitudes, lines.latitudeCount, t, y);
    }

    // Longitudes from the multiple of the step west of the left edge, eastwards.
    const double lonStep = LongitudeGridStep(axis);
    const int leftWhole = TruncToInt(std::clamp(left, -1.0e6, 1.0e6));
    double u = 0.0;
    if (lonStep > 1.0) {
        const double multiple = std::ceil(leftWhole / lonStep) - 1.0;
        u = multiple * lonStep;
    } else {
        u = leftWhole - 1;
    }
    // Stepping from a whole degree west of the edge reaches it within 1/step steps.
    const int maxSteps = static_cast<int>(1.0 / lonStep) + 4 * kMaxGridLines;
    for (int guard = 0; u < right && guard < maxSteps; ++guard, u += lonStep) {
        const int x = TruncToInt((u - axis.left()) * axis.xScale());
        if (axis.rotated() || x >= 0) AddLine(lines.longitudes, lines.longitudeCount, u, x);
    }
}

ais::CoordinateText GridLatitudeLabel(double value, int scaleIndex) {
    return Label(value, value > 0.0 ? 'N' : 'S', scaleIndex);
}

ais::CoordinateText GridLongitudeLabel(double value, int scaleIndex) {
    if (value < -180.0) return Label(value + 360.0, 'E', scaleIndex);
    if (value > 180.0) return Label(value - 360.0, 'W', scaleIndex);
    return Label(value, value > 0.0 ? 'E' : 'W', scaleIndex);
}

void ChartModel::drawGrid(ChartCanvas& canvas) const {
    GridLines lines;
    ComputeGridLines(axis_, lines);
    const int w = width();
    const int h = height();
    const int k = axis_.scaleIndex();
    canvas.setBrush(PaletteRole::Sea, BrushStyle::None);
    canvas.setFont(8, false, PaletteRole::ChartText);
    auto drawLine = [&](GeoPoint a, GeoPoint b, PixelXY label, std::string_view text) {
        if (!axis_.rotated()) {
            canvas.setPen(PaletteRole::Outline, 1, PenStyle::Dot);
            if (!gridLinesHidden_)
                canvas.line(axis_.geoToPixel(a.lon, a.lat), axis_.geoToPixel(b.lon, b.lat));
            canvas.text(label, text);
            return;
        }
        const PixelXY pa = axis_.geoToPixel(a.lon, a.lat);
        const PixelXY pb = axis_.geoToPixel(b.lon, b.lat);
        double x0 = pa.x, y0 = pa.y, x1 = pb.x, y1 = pb.y;
        if (!ClipToView(x0, y0, x1, y1, w, h)) return;
        canvas.setPen(PaletteRole::Outline, 1, PenStyle::Dot);
        const PixelXY from{TruncToInt(x0), TruncToInt(y0)};
        if (!gridLinesHidden_) canvas.line(from, {TruncToInt(x1), TruncToInt(y1)});
        canvas.text({std::clamp(from.x + 2, 2, std::max(2, w - 90)),
                     std::clamp(from.y + 2, 2, std::max(2, h - 16))},
                    text);
    };
    for (int i = 0; i < lines.latitudeCount; ++i) {
        const GridLine& line = lines.latitudes[static_cast<std::size_t>(i)];
        const ais::CoordinateText text = GridLatitudeLabel(line.value, k);
        if (axis_.rotated()) {
            drawLine({axis_.rotatedLeft(), line.value}, {axis_.rotatedRight(), line.value}, {},
                     text.view());
        } else {
            canvas.setPen(PaletteRole::Outline, 1, PenStyle::Dot);
            if (!gridLinesHidden_)
                canvas.line({axis_.pixelLeft(), line.pixel}, {axis_.pixelRight(), line.pixel});
            canvas.text({2, line.pixel + kLatitudeLabelDy}, text.view());
        }
    }
    for (int i = 0; i < lines.longitudeCount; ++i) {
        const GridLine& line = lines.longitudes[static_cast<std::size_t>(i)];
        const ais::CoordinateText text = GridLongitudeLabel(line.value, k);
        if (axis_.rotated()) {
            drawLine({line.value, axis_.rotatedTop()}, {line.value, axis_.rotatedBottom()}, {},
                     text.view());
        } else {
            canvas.setPen(PaletteRole::Outline, 1, PenStyle::Dot);
            if (!gridLinesHidden_)
                canvas.line({line.pixel, axis_.pixelTop()}, {line.pixel, axis_.pixelBottom()});
            canvas.text({line.pixel + kLongitudeLabelDx, 2}, text.view());
        }
    }
    canvas.setBrush(PaletteRole::Sea, BrushStyle::Solid);
}

}  // namespace norq::chart
