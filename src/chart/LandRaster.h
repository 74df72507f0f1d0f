// Direct drawing of the land into a 32-bit image: many small polygons and short
// coastline segments, as the sea chart has them by the hundred thousand at small
// scales. QPainter's per-call work costs more than the pixels then; these loops
// write the pixels of an RGB32 image themselves, with the same geometry: a pixel
// is land when its centre lies inside the polygon, a line covers the pixels of
// its Bresenham path (both ends), and everything is clipped to the image.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "chart/AxisData.h"

namespace norq::chart {

class LandRaster {
  public:
    LandRaster() = default;
    LandRaster(std::uint32_t* pixels, int width, int height, int stridePixels)
        : pixels_(pixels), width_(width), height_(height), stride_(stridePixels) {}

    bool valid() const { return pixels_ != nullptr && width_ > 0 && height_ > 0; }

    // Fills polygon i of counts[i] points (following each other in points).
    void fillPolygons(std::span<const PixelXY> points, std::span<const int> counts,
                      std::uint32_t colour);
    void lines(std::span<const PixelXY> pairs, std::uint32_t colour);
    void points(std::span<const PixelXY> pixels, std::uint32_t colour);

  private:
    struct Edge {
        int top;     // first scanline crossed
        int bottom;  // one past the last
        double x;    // at the centre of the current scanline
        double dx;   // per scanline
    };
    void fillPolygon(std::span<const PixelXY> polygon, std::uint32_t colour);
    void buildEdges(std::span<const PixelXY> polygon);
    void span(int y, int from, int to, std::uint32_t colour);
    void line(PixelXY a, PixelXY b, std::uint32_t colour);

    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::vector<Edge> edges_;
    std::vector<Edge*> active_;
    std::vector<double> crossings_;
};

}  // namespace norq::chart
