// A ChartCanvas that records what is drawn, with the pen and brush of each call,
// for tests of the chart's drawing logic without a paint device.
#pragma once

#include <string>
#include <vector>

#include "chart/ChartCanvas.h"

namespace norq::chart::test {

enum class Op { Line, Polyline, Polygon, Ellipse, Rectangle, Text, Pixel };

struct Drawn {
    Op op;
    std::vector<PixelXY> points;  // line: a, b; ellipse/rectangle: top-left, bottom-right
    std::string text;
    PaletteRole pen = PaletteRole::Outline;
    int penWidth = 1;
    PenStyle penStyle = PenStyle::Solid;
    PaletteRole brush = PaletteRole::Outline;
    BrushStyle brushStyle = BrushStyle::None;
    PaletteRole font = PaletteRole::Outline;
    int fontSize = 8;
    bool bold = false;
};

class RecordingCanvas final : public ChartCanvas {
  public:
    void setPen(PaletteRole role, int width, PenStyle style) override {
        pen_ = role;
        width_ = width;
        style_ = style;
    }
    void setPenRgb(Rgb, int width, PenStyle style) override {
        width_ = width;
        style_ = style;
    }
    void setBrush(PaletteRole role, BrushStyle style) override {
        brush_ = role;
        brushStyle_ = style;
    }
    void setBrushRgb(Rgb, BrushStyle style) override { brushStyle_ = style; }
    void setFont(int pointSize, bool bold, PaletteRole colour) override {
        fontSize_ = pointSize;
        bold_ = bold;
        font_ = colour;
    }
    void line(PixelXY a, PixelXY b) override { add(Op::Line, {a, b}); }
    void polyline(std::span<const PixelXY> p) override { add(Op::Polyline, {p.begin(), p.end()}); }
    void polygon(std::span<const PixelXY> p) override { add(Op::Polygon, {p.begin(), p.end()}); }
    void ellipse(PixelXY a, PixelXY b) override { add(Op::Ellipse, {a, b}); }
    void rectangle(PixelXY a, PixelXY b) override { add(Op::Rectangle, {a, b}); }
    void text(PixelXY at, std::string_view utf8) override {
        add(Op::Text, {at});
        drawn.back().text = std::string(utf8);
    }
    void setPixel(PixelXY p, PaletteRole role) override {
        add(Op::Pixel, {p});
        drawn.back().pen = role;
    }
    int textWidth(std::string_view utf8) override { return 6 * static_cast<int>(utf8.size()); }

    std::vector<Drawn> of(Op op) const {
        std::vector<Drawn> out;
        for (const Drawn& d : drawn)
            if (d.op == op) out.push_back(d);
        return out;
    }

    std::vector<Drawn> drawn;

  private:
    void add(Op op, std::vector<PixelXY> points) {
        drawn.push_back({op,
                         std::move(points),
                         {},
                         pen_,
                         width_,
                         style_,
                         brush_,
                         brushStyle_,
                         font_,
                         fontSize_,
                         bold_});
    }

    PaletteRole pen_ = PaletteRole::Outline;
    int width_ = 1;
    PenStyle style_ = PenStyle::Solid;
    PaletteRole brush_ = PaletteRole::Outline;
    BrushStyle brushStyle_ = BrushStyle::None;
    PaletteRole font_ = PaletteRole::Outline;
    int fontSize_ = 8;
    bool bold_ = false;
};

}  // namespace norq::chart::test
