// The sea-chart layer: which file by scale, whole-land cells, coastline only off
// the break edges, both sides of the antimeridian, a bad entry ending one pass,
// the offsets, and the labels by scale.
#include <gtest/gtest.h>

#include <algorithm>

#include "chart/ChartBytes.h"
#include "chart/RecordingCanvas.h"
#include "chart/SeaChart.h"

namespace norq::chart {
namespace {

using test::Bytes;
using test::Op;

CAxisData View(int width, int height, int scale, double lon, double lat) {
    CAxisData axis;
    axis.setPixelRect(0, 0, width, height);
    axis.setSize(width, height);
    axis.setScaleIndex(scale);
    EXPECT_TRUE(axis.setCentre(lon, lat));
    return axis;
}

// A 1-degree grid from 60 N, 0 E, 10 rows by 10 columns, with one whole-land cell.
Bytes OneLandCell(int row, int column) {
    Bytes b = test::WorldChartHeader(60, 0, 10, 10);
    b.setI32(test::EntryPosition(row, column, 10), 1);
    return b;
}

std::vector<test::Drawn> LandPolygons(const test::RecordingCanvas& canvas) {
    std::vector<test::Drawn> out;
    for (const auto& d : canvas.of(Op::Polygon))
        if (d.brush == PaletteRole::Land) out.push_back(d);
    return out;
}

TEST(SeaChart, TheFileFollowsTheRingDistance) {
    const Bytes detailed = OneLandCell(8, 5);
    const Bytes medium = OneLandCell(8, 5);
    SeaChart sea("/nonexistent");
    sea.useBytes(WorldChartLevel::Detailed, detailed.data);
    sea.useBytes(WorldChartLevel::Medium, medium.data);
    test::RecordingCanvas canvas;
    // 24 nm: detailed; 200 nm: medium; 400 nm: the coarse file, which is missing.
    EXPECT_TRUE(sea.draw(canvas, View(800, 600, 5, 5.5, 51.5)).chartFileFound);
    EXPECT_EQ(sea.draw(canvas, View(800, 600, 5, 5.5, 51.5)).landCells, 1);
    EXPECT_EQ(sea.draw(canvas, View(800, 600, 2, 5.5, 51.5)).landCells, 1);
    const SeaChartCounts coarse = sea.draw(canvas, View(800, 600, 1, 5.5, 51.5));
    EXPECT_FALSE(coarse.chartFileFound);
    EXPECT_EQ(coarse.landCells, 0);
    EXPECT_EQ(WorldChartLevelForRingDistance(24.0f), WorldChartLevel::Detailed);
    EXPECT_EQ(WorldChartLevelForRingDistance(200.0f), WorldChartLevel::Medium);
    EXPECT_EQ(WorldChartLevelForRingDistance(400.0f), WorldChartLevel::Coarse);
}

TEST(SeaChart, AWholeLandCellIsFilledCornerToCorner) {
    const Bytes chart = OneLandCell(8, 5);  // 52..51 N, 5..6 E
    SeaChart sea;
    sea.useBytes(WorldChartLevel::Detailed, chart.data);
    const CAxisData axis = View(800, 600, 5, 5.5, 51.5);
    test::RecordingCanvas canvas;
    sea.draw(canvas, axis);
    // The sea first, over the whole layer.
    ASSERT_FALSE(canvas.drawn.empty());
    EXPECT_EQ(canvas.drawn[0].op, Op::Rectangle);
    EXPECT_EQ(canvas.drawn[0].brush, PaletteRole::Sea);
    const auto land = LandPolygons(canvas);
    ASSERT_EQ(land.size(), 1u);
    EXPECT_EQ(land[0].points[0], axis.geoToPixel(5.0, 52.0));
    EXPECT_EQ(land[0].points[2], axis.geoToPixel(6.0, 51.0));
    EXPECT_EQ(land[0].pen, PaletteRole::Land);
}

// A polygon in cell (8, 5) whose western side runs along the cell border with
// every border point doubled: a break, so no coastline is drawn there.
Bytes BorderPolygon() {
    Bytes b = test::WorldChartHeader(60, 0, 10, 10);
    b.setI32(test::EntryPosition(8, 5, 10), static_cast<std::int64_t>(b.size()));
    const std::int64_t d = test::kDeg;
    const std::int64_t pts[][2] = {
        {51 * d + d / 2, 5 * d + d / 2},  // coast: inland point
        {52 * d, 5 * d + d / 4},          // coast to the north border
        {52 * d, 5 * d},                  // border corner ...
        {52 * d, 5 * d},                  // ... doubled: a break
        {51 * d, 5 * d},                  // along the west border
        {51 * d, 5 * d},                  // doubled: a break
        {51 * d + d / 4, 5 * d + d / 2},  // coast again
    };
    b.i32(1).i32(7);
    for (const auto& p : pts)
        b.i32(p[0]).i32(p[1]);
    return b;
}

TEST(SeaChart, NoCoastlineAlongTheBreakEdges) {
    const Bytes chart = BorderPolygon();
    SeaChart sea;
    sea.useBytes(WorldChartLevel::Detailed, chart.data);
    const CAxisData axis = View(800, 600, 6, 5.5, 51.5);
    test::RecordingCanvas canvas;
    const SeaChartCounts counts = sea.draw(canvas, axis);
    EXPECT_EQ(counts.polygons, 1);
    // The land is filled with every point (and the closing one).
    const auto land = LandPolygons(canvas);
    ASSERT_EQ(land.size(), 1u);
    EXPECT_EQ(land[0].points.size(), 8u);
    EXPECT_EQ(land[0].penStyle, PenStyle::None);
    // The coastline: the runs between the breaks only.
    std::vector<test::Drawn> coast;
    for (const auto& d : canvas.of(Op::Polyline))
        if (d.pen == PaletteRole::Coastline) coast.push_back(d);
    ASSERT_EQ(coast.size(), 2u);
    EXPECT_EQ(coast[0].points.size(), 3u);  // first point, inland, up to the corner
    const PixelXY west = axis.geoToPixel(5.0, 51.5);
    for (const auto& run : coast) {
        for (std::size_t i = 1; i < run.points.size(); ++i) {
            // No run segment lies along the western border (x of lon 5).
            EXPECT_FALSE(run.points[i].x == west.x && run.points[i - 1].x == west.x);
        }
    }
}

TEST(SeaChart, BothSidesOfTheAntimeridian) {
    // Cells 179..180 E (column 179) and -180..-179 (column 0) of a world grid.
    Bytes chart = test::WorldChartHeader(90, -180, 180, 360);
    chart.setI32(test::EntryPosition(105, 359, 360), 1);  // -15..-16 S, 179..180 E
    chart.setI32(test::EntryPosition(105, 0, 360), 1);    // -15..-16 S, -180..-179
    SeaChart sea;
    sea.useBytes(WorldChartLevel::Medium, chart.data);
    const CAxisData axis = View(800, 600, 3, 179.8, -15.5);
    ASSERT_GT(axis.right(), 180.0);
    test::RecordingCanvas canvas;
    const SeaChartCounts counts = sea.draw(canvas, axis);
    EXPECT_EQ(counts.passes, 2);
    ASSERT_EQ(counts.landCells, 2);
    // The wrapped cell lies east of 180, next to the main pass's cell.
    const auto land = LandPolygons(canvas);
    const PixelXY antimeridian = axis.geoToPixel(180.0, -15.0);
    EXPECT_EQ(land[0].points[0].x, antimeridian.x);  // -180 drawn at +180
    EXPECT_EQ(land[1].points[1].x, antimeridian.x);  // 179..180 E
}

TEST(SeaChart, ABadEntryEndsOnlyItsPass) {
    Bytes chart = test::WorldChartHeader(90, -180, 180, 360);
    chart.setI32(test::EntryPosition(105, 0, 360), 99999999);  // beyond the file
    chart.setI32(test::EntryPosition(105, 1, 360), 1);         // after it: not drawn
    chart.setI32(test::EntryPosition(105, 359, 360), 1);       // the other pass
    SeaChart sea;
    sea.useBytes(WorldChartLevel::Medium, chart.data);
    test::RecordingCanvas canvas;
    const SeaChartCounts counts = sea.draw(canvas, View(800, 600, 3, 179.8, -15.5));
    EXPECT_EQ(counts.invalidPasses, 1);
    EXPECT_EQ(counts.landCells, 1);
}

TEST(SeaChart, OffsetsShiftTheLand) {
    SeaChartSettings settings;
    EXPECT_EQ(OffsetsFor(settings).longitude, 0.0);  // generated data needs none
    settings.builtInOffset = true;
    EXPECT_DOUBLE_EQ(OffsetsFor(settings).latitude, -0.003);
    EXPECT_DOUBLE_EQ(OffsetsFor(settings).longitude, 0.0056374);
    settings.suppressOffset = true;
    settings.calibrationActive = true;
    settings.calibrationLatitude = 0.01;
    settings.calibrationLongitude = -0.02;
    EXPECT_DOUBLE_EQ(OffsetsFor(settings).latitude, 0.01);
    EXPECT_DOUBLE_EQ(OffsetsFor(settings).longitude, -0.02);

    const Bytes chart = OneLandCell(8, 5);
    SeaChart sea;
    sea.useBytes(WorldChartLevel::Detailed, chart.data);
    sea.setSettings(settings);
    const CAxisData axis = View(800, 600, 6, 5.5, 51.5);
    test::RecordingCanvas canvas;
    sea.draw(canvas, axis);
    const auto land = LandPolygons(canvas);
    ASSERT_EQ(land.size(), 1u);
    EXPECT_EQ(land[0].points[0],
              axis.geoToPixel(static_cast<float>(5.0 - 0.02), static_cast<float>(52.0 + 0.01)));
}

TEST(SeaChart, LabelsByScaleFromTheFixture) {
    SeaChart sea(std::string(NORQ_FIXTURES) + "/chart");
    test::RecordingCanvas canvas;
    // 6 nm per ring over Dover: places and the strait.
    SeaChartCounts counts = sea.draw(canvas, View(1200, 900, 6, 1.5, 51.0));
    EXPECT_TRUE(counts.gazetteerFound);
    EXPECT_GT(counts.labelsDrawn, 0);
    bool calais = false;
    for (const auto& t : canvas.of(Op::Text))
        calais = calais || t.text == "Calais";
    EXPECT_TRUE(calais);
    // 400 nm: sea and strait names only (label colours 2 and 3).
    test::RecordingCanvas wide;
    counts = sea.draw(wide, View(1200, 900, 1, 1.5, 51.0));
    for (const auto& t : wide.of(Op::Text)) {
        EXPECT_TRUE(t.font == PaletteRole::PlaceLabel2 || t.font == PaletteRole::PlaceLabel3)
            << t.text;
    }
    // Without the labels switch nothing is written.
    SeaChartSettings settings;
    settings.showLabels = false;
    sea.setSettings(settings);
    test::RecordingCanvas none;
    EXPECT_EQ(sea.draw(none, View(1200, 900, 6, 1.5, 51.0)).labelsDrawn, 0);
    EXPECT_TRUE(none.of(Op::Text).empty());
}

TEST(SeaChart, MissingFilesLeaveTheSea) {
    SeaChart sea("/nonexistent");
    test::RecordingCanvas canvas;
    const SeaChartCounts counts = sea.draw(canvas, View(800, 600, 6, 1.5, 51.0));
    EXPECT_FALSE(counts.chartFileFound);
    EXPECT_FALSE(counts.gazetteerFound);
    ASSERT_EQ(canvas.drawn.size(), 1u);
    EXPECT_EQ(canvas.drawn[0].brush, PaletteRole::Sea);
}

}  // namespace
}  // namespace norq::chart
