#include "chart/paint/QtChartCanvas.h"

namespace norq::chart {

namespace {

QPen MakePen(const QColor& colour, int width, PenStyle style) {
    QPen pen(colour);
    pen.setWidth(std::max(width, 1));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (style == PenStyle::Dot) {
        pen.setDashPattern({1.0, 1.0});
    } else if (style == PenStyle::Dash) {
        pen.setDashPattern({4.0, 2.0});
    }
    return pen;
}

QBrush MakeBrush(const QColor& colour, BrushStyle style) {
    switch (style) {
        case BrushStyle::None:
            return Qt::NoBrush;
        case BrushStyle::DiagonalCross:
            return QBrush(colour, Qt::DiagCrossPattern);
        case BrushStyle::Solid:
            break;
    }
    return QBrush(colour);
}

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtChartCanvas::QtChartCanvas(QPainter& painter, const ChartPalette& palette)
    : painter_(painter), palette_(palette), font_(QStringLiteral("Arial")) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    font_.setPixelSize(PixelSize(8));
    painter_.setFont(font_);
    pen_ = MakePen(ToQColor(palette_[PaletteRole::Outline]), 1, PenStyle::Solid);
    painter_.setPen(pen_);
    textColour_ = ToQColor(palette_[PaletteRole::Outline]);
    points_.reserve(1024);
}

void QtChartCanvas::applyPen() {
    if (penOff_) {
        painter_.setPen(Qt::NoPen);
    } else {
        painter_.setPen(pen_);
    }
}

void QtChartCanvas::setPen(PaletteRole role, int width, PenStyle style) {
    setPenRgb(palette_[role], width, style);
}

void QtChartCanvas::setPenRgb(Rgb colour, int width, PenStyle style) {
    penOff_ = style == PenStyle::None;
    if (!penOff_) pen_ = MakePen(ToQColor(colour), width, style);
    applyPen();
}

void QtChartCanvas::setBrush(PaletteRole role, BrushStyle style) {
    setBrushRgb(palette_[role], style);
}

void QtChartCanvas::setBrushRgb(Rgb colour, BrushStyle style) {
    painter_.setBrush(MakeBrush(ToQColor(colour), style));
}

void QtChartCanvas::setFont(int pointSize, bool bold, PaletteRole colour) {
    const int pixels = PixelSize(pointSize);
    if (font_.pixelSize() != pixels || font_.bold() != bold) {
        font_.setPixelSize(pixels);
        font_.setBold(bold);
        painter_.setFont(font_);
        metrics_.reset();
    }
    textColour_ = ToQColor(palette_[colour]);
}

const QPoint* QtChartCanvas::toPoints(std::span<const PixelXY> points) {
    points_.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        points_[i] = QPoint(points[i].x, points[i].y);
    return points_.data();
}

void QtChartCanvas::line(PixelXY a, PixelXY b) {
    if (penOff_) return;
    painter_.drawLine(a.x, a.y, b.x, b.y);
}

void QtChartCanvas::polyline(std::span<const PixelXY> points) {
    if (penOff_ || points.size() < 2) return;
    painter_.drawPolyline(toPoints(points), static_cast<int>(points.size()));
}

void QtChartCanvas::polygon(std::span<const PixelXY> points) {
    if (points.size() < 2) return;
    painter_.drawPolygon(toPoints(points), static_cast<int>(points.size()));
}

void QtChartCanvas::ellipse(PixelXY topLeft, PixelXY bottomRight) {
    const int w = bottomRight.x - topLeft.x - 1;
    const int h = bottomRight.y - topLeft.y - 1;
    if (w < 0 || h < 0) return;
    painter_.drawEllipse(QRect(topLeft.x, topLeft.y, w, h));
}

void QtChartCanvas::rectangle(PixelXY topLeft, PixelXY bottomRight) {
    const int w = bottomRight.x - topLeft.x - 1;
    const int h = bottomRight.y - topLeft.y - 1;
    if (w < 0 || h < 0) return;
    if (penOff_) {
        painter_.fillRect(QRect(topLeft.x, topLeft.y, w + 1, h + 1), painter_.brush());
        return;
    }
    painter_.drawRect(QRect(topLeft.x, topLeft.y, w, h));
}

void QtChartCanvas::text(PixelXY topLeft, std::string_view utf8) {
    if (utf8.empty()) return;
    if (!metrics_) metrics_.emplace(font_);
    painter_.setPen(textColour_);
    painter_.drawText(topLeft.x, topLeft.y + metrics_->ascent(), Utf8(utf8));
    applyPen();
}

void QtChartCanvas::setPixel(PixelXY point, PaletteRole role) {
    painter_.save();
    painter_.setPen(QPen(ToQColor(palette_[role]), 1));
    painter_.drawPoint(point.x, point.y);
    painter_.restore();
}

int QtChartCanvas::textWidth(std::string_view utf8) {
    if (!metrics_) metrics_.emplace(font_);
    return metrics_->horizontalAdvance(Utf8(utf8));
}

}  // namespace norq::chart
