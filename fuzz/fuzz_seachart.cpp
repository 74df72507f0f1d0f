// Fuzzes the sea-chart layer: any bytes as the world-chart file of every level,
// drawn for a view taken from the input (centre, scale, rotation) into a small
// image through the land rasteriser, so that hostile cells, polygons and views
// exercise the projection, the point filter and the pixel writes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "chart/AxisData.h"
#include "chart/ChartCanvas.h"
#include "chart/LandRaster.h"
#include "chart/SeaChart.h"

namespace {

using namespace norq::chart;

class RasterCanvas final : public ChartCanvas {
  public:
    explicit RasterCanvas(LandRaster& raster) : raster_(raster) {}
    void setPen(PaletteRole, int, PenStyle) override {}
    void setPenRgb(Rgb, int, PenStyle) override {}
    void setBrush(PaletteRole, BrushStyle) override {}
    void setBrushRgb(Rgb, BrushStyle) override {}
    void setFont(int, bool, PaletteRole) override {}
    void line(PixelXY a, PixelXY b) override {
        const PixelXY pair[2] = {a, b};
        raster_.lines(pair, 1);
    }
    void polyline(std::span<const PixelXY> p) override {
        for (std::size_t i = 1; i < p.size(); ++i)
            line(p[i - 1], p[i]);
    }
    void polygon(std::span<const PixelXY> p) override {
        const int counts[1] = {static_cast<int>(p.size())};
        raster_.fillPolygons(p, counts, 2);
    }
    void ellipse(PixelXY, PixelXY) override {}
    void rectangle(PixelXY, PixelXY) override {}
    void text(PixelXY, std::string_view) override {}
    void setPixel(PixelXY p, PaletteRole) override { raster_.points({&p, 1}, 3); }
    int textWidth(std::string_view s) override { return static_cast<int>(s.size()); }
    void fillPolygons(std::span<const PixelXY> p, std::span<const int> c) override {
        raster_.fillPolygons(p, c, 4);
    }
    void lines(std::span<const PixelXY> p) override { raster_.lines(p, 5); }
    void points(std::span<const PixelXY> p) override { raster_.points(p, 6); }

  private:
    LandRaster& raster_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kTail = 3 * sizeof(double) + 1;
    if (size < kTail) return 0;
    double v[3];
    std::memcpy(v, data + size - kTail, sizeof v);
    const int scale = data[size - 1] % kScaleCount;
    const std::span<const std::uint8_t> chart(data, size - kTail);

    constexpr int kSide = 256;
    std::vector<std::uint32_t> pixels(kSide * kSide);
    LandRaster raster(pixels.data(), kSide, kSide, kSide);
    RasterCanvas canvas(raster);
    SeaChart sea("/nonexistent");
    for (WorldChartLevel level :
         {WorldChartLevel::Detailed, WorldChartLevel::Medium, WorldChartLevel::Coarse}) {
        sea.useBytes(level, chart);
    }
    CAxisData axis;
    axis.setPixelRect(0, 0, kSide, kSide);
    axis.setSize(kSide, kSide);
    axis.setScaleIndex(scale);
    axis.setRotation(static_cast<float>(std::isfinite(v[2]) ? std::fmod(v[2], 360.0) : 0.0));
    if (!axis.setCentre(v[0], v[1])) axis.setCentre(0.0, 0.0);
    const SeaChartCounts counts = sea.draw(canvas, axis);
    return counts.points < 0 ? 1 : 0;
}
