// ChartCanvas over a QPainter: palette roles become QColors of the palette, the
// chart's integer pixel geometry is drawn without antialiasing, rectangles and
// ellipses cover their box with the right and bottom edges exclusive, and text
// is placed by its top-left corner.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <optional>
#include <vector>

#include "chart/ChartCanvas.h"
#include "chart/ChartPalette.h"

namespace norq::chart {

inline QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

class QtChartCanvas final : public ChartCanvas {
  public:
    QtChartCanvas(QPainter& painter, const ChartPalette& palette);

    void setPen(PaletteRole role, int width, PenStyle style) override;
    void setPenRgb(Rgb colour, int width, PenStyle style) override;
    void setBrush(PaletteRole role, BrushStyle style) override;
    void setBrushRgb(Rgb colour, BrushStyle style) override;
    void setFont(int pointSize, bool bold, PaletteRole colour) override;
    void line(PixelXY a, PixelXY b) override;
    void polyline(std::span<const PixelXY> points) override;
    void polygon(std::span<const PixelXY> points) override;
    void ellipse(PixelXY topLeft, PixelXY bottomRight) override;
    void rectangle(PixelXY topLeft, PixelXY bottomRight) override;
    void text(PixelXY topLeft, std::string_view utf8) override;
    void setPixel(PixelXY point, PaletteRole role) override;
    int textWidth(std::string_view utf8) override;

    // Pixel size of a font of the given point size on the chart (96 dots per inch).
    static int PixelSize(int pointSize) { return (pointSize * 4 + 1) / 3; }

  private:
    const QPoint* toPoints(std::span<const PixelXY> points);
    void applyPen();

    QPainter& painter_;
    const ChartPalette& palette_;
    QPen pen_;
    bool penOff_ = false;
    QColor textColour_;
    QFont font_;
    std::optional<QFontMetrics> metrics_;
    std::vector<QPoint> points_;
};

}  // namespace norq::chart
