// The chart's pixel geometry: the projection of a view, the centre's limits, the
// antimeridian, rotation, the grid lines and the range rings.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/AxisData.h"
#include "chart/ChartGrid.h"
#include "chart/ChartModel.h"
#include "chart/RecordingCanvas.h"

namespace norq::chart {
namespace {

CAxisData View(int width, int height, int scale, double lon, double lat) {
    CAxisData axis;
    axis.setPixelRect(0, 0, width, height);
    axis.setSize(width, height);
    axis.setScaleIndex(scale);
    EXPECT_TRUE(axis.setCentre(lon, lat));
    return axis;
}

TEST(AxisData, StartsAtSixMilesPerRingWithoutCentre) {
    CAxisData axis;
    EXPECT_EQ(axis.scaleIndex(), 7);
    EXPECT_FLOAT_EQ(axis.ringDistance(), 6.0f);
    EXPECT_EQ(CAxisData::scaleCount(), 15);
    EXPECT_FALSE(axis.hasCentre());
    EXPECT_EQ(axis.centreLon(), 181.0);
    EXPECT_EQ(axis.width(), 1);
    // A size without a centre computes nothing.
    axis.setSize(100, 100);
    EXPECT_EQ(axis.xScale(), 0.0);
    axis.setSize(0, 50);  // ignored
    EXPECT_EQ(axis.width(), 100);
}

TEST(AxisData, TheExampleViewOf695By729PixelsAtSixMiles) {
    const CAxisData axis = View(695, 729, 7, 1.5, 51.0);
    const double p = 0.1;                                // nm per pixel
    const double kx = axis.longitudeSpan() / (694 * p);  // degrees per nm of longitude
    EXPECT_NEAR(axis.right() - axis.centreLon(), 347 * p * kx, 1e-12);
    EXPECT_NEAR(axis.top() - axis.centreLat(), 364 * p / 60.0, 1e-9);  // 60 nm per degree
    EXPECT_NEAR(axis.xScale(), 695 / axis.longitudeSpan(), 1e-9);
    EXPECT_NEAR(axis.yScale(), 729 / axis.latitudeSpan(), 1e-9);
    // The centre: trunc(347 * 695/694 + 0.5) = 348 and trunc(364 * 729/728 + 0.5) = 365.
    EXPECT_EQ(axis.geoToPixel(1.5, 51.0), (PixelXY{348, 365}));
    // The corners.
    EXPECT_EQ(axis.geoToPixel(axis.left(), axis.top()), (PixelXY{0, 0}));
    EXPECT_EQ(axis.geoToPixel(axis.right(), axis.bottom()), (PixelXY{695, 729}));
    // Pixel to geographic is the inverse at the pixel corners.
    const GeoPoint g = axis.pixelToGeo(348, 365);
    EXPECT_EQ(axis.geoToPixel(g.lon, g.lat), (PixelXY{348, 365}));
}

TEST(AxisData, CentreLongitudeWrapsOnceAndBadLatitudesAreRefused) {
    CAxisData axis = View(400, 300, 7, 0.0, 10.0);
    EXPECT_TRUE(axis.setCentre(190.0, 10.0));
    EXPECT_DOUBLE_EQ(axis.centreLon(), -170.0);
    // The bounds were computed around 190 as given: the edges lie beyond 180.
    EXPECT_GT(axis.right(), 180.0);
    EXPECT_TRUE(axis.setCentre(-180.0, 10.0));
    EXPECT_DOUBLE_EQ(axis.centreLon(), -180.0);
    EXPECT_FALSE(axis.setCentre(5.0, 90.5));
    EXPECT_FALSE(axis.setCentre(5.0, NAN));
    EXPECT_FALSE(axis.setCentre(INFINITY, 10.0));
    EXPECT_DOUBLE_EQ(axis.centreLon(), -180.0);
    EXPECT_DOUBLE_EQ(axis.centreLat(), 10.0);
}

TEST(AxisData, LatitudeLimitsByScale) {
    CAxisData axis = View(400, 300, 0, 0.0, 65.0);  // 800 nm
    EXPECT_DOUBLE_EQ(axis.centreLat(), 60.0);
    axis.setScaleIndex(2);  // 200 nm
    EXPECT_TRUE(axis.setCentre(0.0, 72.0));
    EXPECT_DOUBLE_EQ(axis.centreLat(), 70.0);
    EXPECT_TRUE(axis.setCentre(0.0, -72.0));
    EXPECT_DOUBLE_EQ(axis.centreLat(), -70.0);
    EXPECT_DOUBLE_EQ(LatitudeLimit(400.0f), 75.0);
    EXPECT_DOUBLE_EQ(LatitudeLimit(3.0f), 83.5);
    EXPECT_DOUBLE_EQ(LatitudeLimit(1.5f), 83.75);
    // A coarser scale clamps the centre it already has.
    axis.setScaleIndex(14);
    EXPECT_TRUE(axis.setCentre(0.0, 83.7));
    axis.setScaleIndex(0);
    EXPECT_DOUBLE_EQ(axis.centreLat(), 60.0);
}

TEST(AxisData, ACentreAtThePoleStaysFiniteAndItsGridEnds) {
    // Start-up, a manual position or a double click may ask for +-90: the view
    // stops at the scale's limit instead of dividing by a zero longitude scale.
    for (int scale = 0; scale < kScaleCount; ++scale) {
        const CAxisData axis = View(1920, 1080, scale, 10.0, 90.0);
        EXPECT_LE(axis.centreLat(), 83.75) << scale;
        EXPECT_TRUE(std::isfinite(axis.left()) && std::isfinite(axis.right())) << scale;
        EXPECT_GT(axis.xScale(), 0.0) << scale;
        GridLines lines;
        ComputeGridLines(axis, lines);
        EXPECT_LT(lines.longitudeCount, kMaxGridLines) << scale;
        const CAxisData south = View(1920, 1080, scale, 10.0, -90.0);
        EXPECT_GE(south.centreLat(), -83.75) << scale;
    }
}

TEST(AxisData, TheAntimeridianRuleMovesPointsToTheShownSide) {
    // A view whose left edge lies west of -180.
    CAxisData axis = View(600, 400, 4, -178.0, 0.0);
    ASSERT_LT(axis.left(), -180.0);
    EXPECT_DOUBLE_EQ(axis.wrapLongitude(179.0), -181.0);
    EXPECT_DOUBLE_EQ(axis.wrapLongitude(-179.0), -179.0);
    EXPECT_LT(axis.project(179.0, 0.0).x, axis.project(-180.0, 0.0).x);
    EXPECT_GE(axis.project(179.0, 0.0).x, 0);
    // And the other way round.
    axis = View(600, 400, 4, 178.0, 0.0);
    ASSERT_GT(axis.right(), 180.0);
    EXPECT_DOUBLE_EQ(axis.wrapLongitude(-179.0), 181.0);
    EXPECT_GT(axis.project(-179.0, 0.0).x, axis.project(180.0, 0.0).x);
    EXPECT_LT(axis.project(-179.0, 0.0).x, 600);
}

TEST(AxisData, RotationTurnsAboutTheViewCentre) {
    CAxisData axis = View(600, 400, 7, 1.5, 51.0);
    const PixelXY north = axis.geoToPixel(1.5, 51.05);
    axis.setRotation(270.0f);  // head-up for a heading of 90: east is up
    EXPECT_TRUE(axis.rotated());
    const PixelXY centre = axis.geoToPixel(1.5, 51.0);
    EXPECT_NEAR(centre.x, 300, 1);
    EXPECT_NEAR(centre.y, 200, 1);
    // A point north of the centre now lies to its left; one east lies above it.
    const PixelXY rotatedNorth = axis.geoToPixel(1.5, 51.05);
    EXPECT_NEAR(rotatedNorth.x, 300 - (200 - north.y), 1);
    EXPECT_NEAR(rotatedNorth.y, 200, 1);
    EXPECT_LT(axis.geoToPixel(1.6, 51.0).y, 200);
    // Pixel to geographic turns back: a round trip stays within a pixel.
    for (PixelXY p : {PixelXY{10, 10}, PixelXY{590, 390}, PixelXY{123, 321}}) {
        const GeoPoint g = axis.pixelToGeo(p.x, p.y);
        const PixelXY back = axis.geoToPixel(g.lon, g.lat);
        EXPECT_NEAR(back.x, p.x, 2);
        EXPECT_NEAR(back.y, p.y, 2);
    }
    // The rotated bounds circumscribe the view's circle: r = (trunc(721) + 1) / 2.
    EXPECT_GT(axis.rotatedTop() - axis.centreLat(), axis.top() - axis.centreLat());
    EXPECT_NEAR((axis.rotatedTop() - axis.centreLat()) / (axis.top() - axis.centreLat()),
                361.0 / 200.0, 1e-9);
    axis.setRotation(360.0f);
    EXPECT_FALSE(axis.rotated());
    EXPECT_EQ(axis.rotatedTop(), axis.top());
}

TEST(ChartGrid, LongitudeLinesAtFiveDegreesEitherSideOfGreenwich) {
    // Index 4 (48 nm): 5-degree longitude steps over about 118.3 .. 131.2.
    CAxisData axis = View(968, 600, 4, 124.75, 0.0);
    ASSERT_NEAR(axis.left(), 118.3, 0.01);
    ASSERT_NEAR(axis.right(), 131.2, 0.01);
    GridLines lines;
    ComputeGridLines(axis, lines);
    ASSERT_EQ(lines.longitudeCount, 3);  // 115 lies west of the view
    EXPECT_DOUBLE_EQ(lines.longitudes[0].value, 120.0);
    EXPECT_DOUBLE_EQ(lines.longitudes[1].value, 125.0);
    EXPECT_DOUBLE_EQ(lines.longitudes[2].value, 130.0);
    EXPECT_EQ(lines.longitudes[0].pixel,
              static_cast<int>(std::trunc((120.0 - axis.left()) * axis.xScale())));
    axis = View(968, 600, 4, -124.75, 0.0);
    ComputeGridLines(axis, lines);
    ASSERT_EQ(lines.longitudeCount, 3);
    EXPECT_DOUBLE_EQ(lines.longitudes[0].value, -130.0);
    EXPECT_DOUBLE_EQ(lines.longitudes[2].value, -120.0);
}

TEST(ChartGrid, LatitudeLinesFromTheTopEdgeSouthwards) {
    // Index 4: 2-degree latitude steps; the view spans about 6.7 .. -6.7.
    const CAxisData axis = View(968, 1000, 4, 124.75, 0.0);
    GridLines lines;
    ComputeGridLines(axis, lines);
    ASSERT_GE(lines.latitudeCount, 6);
    EXPECT_DOUBLE_EQ(lines.latitudes[0].value, 6.0);
    EXPECT_DOUBLE_EQ(lines.latitudes[1].value, 4.0);
    EXPECT_EQ(lines.latitudes[0].pixel,
              static_cast<int>(std::trunc((axis.top() - 6.0) * axis.yScale())));
    // Labels: style 1 below index 4, style 2 from it on; 0 is labelled S and W.
    EXPECT_EQ(GridLatitudeLabel(6.0, 4), std::string_view("  6°00'00\"N"));
    EXPECT_EQ(GridLatitudeLabel(0.0, 3), std::string_view("  0°00'S"));
    EXPECT_EQ(GridLongitudeLabel(-185.0, 3), std::string_view("175°00'E"));
    EXPECT_EQ(GridLongitudeLabel(190.0, 3), std::string_view("170°00'W"));
}

TEST(ChartGrid, PolarViewsDoubleTheLongitudeStep) {
    const CAxisData axis = View(800, 600, 5, 20.0, 75.0);  // 24 nm, 2-degree steps
    EXPECT_DOUBLE_EQ(LongitudeGridStep(axis), 4.0);
    const CAxisData south = View(800, 600, 5, 20.0, 60.0);
    EXPECT_DOUBLE_EQ(LongitudeGridStep(south), 2.0);
}

TEST(ChartRings, NineRingsForAThousandBySevenHundredView) {
    ChartModel model;
    model.resize(1000, 700);
    ASSERT_TRUE(model.setCentre(5.0, 50.0));
    model.setOwnPosition(5.0, 50.0, 0.0, false);
    test::RecordingCanvas canvas;
    model.drawRangeRings(canvas);
    const auto rings = canvas.of(test::Op::Ellipse);
    ASSERT_EQ(rings.size(), 9u);
    const PixelXY c = model.axis().geoToPixel(5.0, 50.0);
    for (std::size_t i = 0; i < rings.size(); ++i) {
        const int r = 60 * static_cast<int>(i + 1);
        EXPECT_EQ(rings[i].points[0], (PixelXY{c.x - r, c.y - r}));
        EXPECT_EQ(rings[i].penStyle, PenStyle::Dot);
        EXPECT_EQ(rings[i].pen, PaletteRole::RangeRing);
    }
    // The cross: 14 pixels either side, width 2.
    const auto lines = canvas.of(test::Op::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points[0], (PixelXY{c.x - 14, c.y}));
    EXPECT_EQ(lines[0].penWidth, 2);
}

TEST(ChartRings, JitterOfOnePixelNeverMovesTheCross) {
    ChartModel model;
    model.resize(800, 600);
    ASSERT_TRUE(model.setCentre(5.0, 50.0));
    model.setOwnPosition(5.0, 50.0, 0.0, false);
    test::RecordingCanvas first;
    model.drawRangeRings(first);
    const PixelXY cross = first.of(test::Op::Line)[1].points[0];
    // 0.1 nm per pixel: a thousandth of a minute is well under a pixel, two
    // hundredths of a minute about two pixels.
    const double pixel = 1.0 / model.axis().yScale();
    for (double jitter : {pixel, -pixel, 2 * pixel}) {
        EXPECT_FALSE(model.setOwnPosition(5.0, 50.0 + jitter, 0.0, false));
        test::RecordingCanvas again;
        model.drawRangeRings(again);
        EXPECT_EQ(again.of(test::Op::Line)[1].points[0], cross) << jitter;
    }
    EXPECT_TRUE(model.setOwnPosition(5.0, 50.0 + 4 * pixel, 0.0, false));
}

}  // namespace
}  // namespace norq::chart
