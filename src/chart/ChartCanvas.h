// The drawing surface of the chart's logic. The sea chart, the grid, the range
// rings, the symbols and the overlay hooks of other subsystems draw through it
// with palette roles and integer pixels; chart/paint implements it with
// QPainter, tests with a recording fake. Coordinates are pixels of the surface,
// origin top left, y downwards.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "chart/AxisData.h"
#include "chart/ChartPalette.h"

namespace norq::chart {

enum class PenStyle : std::uint8_t { Solid, Dot, Dash, None };
enum class BrushStyle : std::uint8_t { None, Solid, DiagonalCross };

class ChartCanvas {
  public:
    virtual ~ChartCanvas() = default;

    virtual void setPen(PaletteRole role, int width = 1, PenStyle style = PenStyle::Solid) = 0;
    virtual void setPenRgb(Rgb colour, int width = 1, PenStyle style = PenStyle::Solid) = 0;
    virtual void setBrush(PaletteRole role, BrushStyle style = BrushStyle::Solid) = 0;
    virtual void setBrushRgb(Rgb colour, BrushStyle style = BrushStyle::Solid) = 0;
    // Point size and weight of the text font, and the text colour.
    virtual void setFont(int pointSize, bool bold, PaletteRole colour) = 0;

    // A line from a to b; the end pixel b itself is not set.
    virtual void line(PixelXY a, PixelXY b) = 0;
    // Connected lines through the points, in order.
    virtual void polyline(std::span<const PixelXY> points) = 0;
    // A closed polygon, filled with the brush and outlined with the pen.
    virtual void polygon(std::span<const PixelXY> points) = 0;
    // An ellipse inscribed in the rectangle (left, top)-(right, bottom), right and
    // bottom exclusive; filled with the brush, outlined with the pen.
    virtual void ellipse(PixelXY topLeft, PixelXY bottomRight) = 0;
    virtual void rectangle(PixelXY topLeft, PixelXY bottomRight) = 0;
    // UTF-8 text with its top-left corner at the point.
    virtual void text(PixelXY topLeft, std::string_view utf8) = 0;
    virtual void setPixel(PixelXY point, PaletteRole role) = 0;
    // Width in pixels of a text in the current font.
    virtual int textWidth(std::string_view utf8) = 0;

    // A circle of radius r around c, as ellipse() draws it.
    void circle(PixelXY c, int r) { ellipse({c.x - r, c.y - r}, {c.x + r, c.y + r}); }
};

}  // namespace norq::chart
