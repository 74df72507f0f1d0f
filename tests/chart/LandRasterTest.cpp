// The land's direct rasteriser: pixel centres decide, neighbours share edges
// without gaps or overlaps, lines cover both ends, nothing is written outside.
#include <gtest/gtest.h>

#include <vector>

#include "chart/LandRaster.h"

namespace norq::chart {
namespace {

struct Image {
    int w, h;
    std::vector<std::uint32_t> px;
    Image(int width, int height) : w(width), h(height), px(static_cast<std::size_t>(w * h), 0) {}
    LandRaster raster() { return LandRaster(px.data(), w, h, w); }
    std::uint32_t at(int x, int y) const { return px[static_cast<std::size_t>(y * w + x)]; }
    int count(std::uint32_t c) const {
        int n = 0;
        for (std::uint32_t p : px)
            n += p == c;
        return n;
    }
};

TEST(LandRaster, ARectangleCoversThePixelsWhoseCentresItHolds) {
    Image image(20, 20);
    const PixelXY square[4] = {{2, 3}, {7, 3}, {7, 9}, {2, 9}};
    const int counts[1] = {4};
    image.raster().fillPolygons(square, counts, 1);
    EXPECT_EQ(image.count(1), 5 * 6);
    EXPECT_EQ(image.at(2, 3), 1u);
    EXPECT_EQ(image.at(6, 8), 1u);
    EXPECT_EQ(image.at(7, 8), 0u);
    EXPECT_EQ(image.at(6, 9), 0u);
}

TEST(LandRaster, NeighboursShareTheirEdgeWithoutGapOrOverlap) {
    Image image(30, 30);
    // Two triangles making a square, and a square beside it.
    const PixelXY shapes[] = {{1, 1},  {21, 1}, {21, 21}, {1, 1},   {21, 21},
                              {1, 21}, {21, 1}, {29, 1},  {29, 21}, {21, 21}};
    const int counts[3] = {3, 3, 4};
    LandRaster raster = image.raster();
    raster.fillPolygons(shapes, {counts, 2}, 1);
    raster.fillPolygons({shapes + 6, 4}, {counts + 2, 1}, 2);
    EXPECT_EQ(image.count(1), 20 * 20);
    EXPECT_EQ(image.count(2), 8 * 20);
    // Filling the two triangles again in another colour leaves no pixel of the first.
    raster.fillPolygons(shapes, {counts, 2}, 3);
    EXPECT_EQ(image.count(3), 20 * 20);
}

TEST(LandRaster, PolygonsAndLinesAreClippedToTheImage) {
    Image image(10, 10);
    const PixelXY big[3] = {{-1000, -1000}, {1000, -1000}, {0, 1000}};
    const int counts[1] = {3};
    LandRaster raster = image.raster();
    raster.fillPolygons(big, counts, 1);
    EXPECT_GT(image.count(1), 50);
    const PixelXY far[2] = {{-1000000000, 5}, {1000000000, 5}};
    raster.lines(far, 2);
    EXPECT_EQ(image.at(0, 5), 2u);
    EXPECT_EQ(image.at(9, 5), 2u);
    const PixelXY outside[4] = {{-5, -5}, {-1, 20}, {15, 3}, {12, 3}};
    raster.lines(outside, 3);
    raster.points(outside, 3);
    EXPECT_EQ(image.count(3), 0);
}

TEST(LandRaster, ALineCoversBothEnds) {
    Image image(10, 10);
    const PixelXY line[2] = {{1, 1}, {6, 3}};
    image.raster().lines(line, 7);
    EXPECT_EQ(image.at(1, 1), 7u);
    EXPECT_EQ(image.at(6, 3), 7u);
    EXPECT_EQ(image.count(7), 6);
}

}  // namespace
}  // namespace norq::chart
