// The world-chart reader: file choice by scale, cell ranges, passes over good
// files, and passes over files with corrupt offsets, counts and lengths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChartBytes.h"
#include "chart/WorldChart.h"

namespace norq::chart {
namespace {

using test::Bytes;
using test::kDeg;

struct Recorder final : WorldChartVisitor {
    struct Event {
        int row, column;
        bool land;
        std::vector<ChartPoint> points;
        double north = 0, south = 0, west = 0, east = 0;
    };
    std::vector<Event> events;
    void landCell(int row, int column, double n, double s, double w, double e) override {
        events.push_back({row, column, true, {}, n, s, w, e});
    }
    void polygon(int row, int column, const ChartPolygon& polygon) override {
        Event e{row, column, false, {}};
        for (int i = 0; i < polygon.size(); ++i)
            e.points.push_back(polygon[i]);
        events.push_back(e);
    }
};

// 2 × 2 one-degree cells from 0..2 °E, 0..2 °N: north-west land, north-east one
// polygon, south-west empty, south-east two polygons.
Bytes SmallChart() {
    Bytes b = test::WorldChartHeader(2, 0, 2, 2);
    b.setI32(test::EntryPosition(0, 0, 2), 1);
    b.setI32(test::EntryPosition(0, 1, 2), static_cast<std::int64_t>(b.size()));
    b.i32(1).i32(5);
    b.i32(2 * kDeg).i32(1 * kDeg).i32(2 * kDeg).i32(1 * kDeg);  // doubled: west border hidden
    b.i32(1 * kDeg).i32(1 * kDeg).i32(1500000).i32(1600000).i32(2 * kDeg).i32(1 * kDeg);
    b.setI32(test::EntryPosition(1, 1, 2), static_cast<std::int64_t>(b.size()));
    b.i32(2);
    b.i32(3).i32(500000).i32(1500000).i32(600000).i32(1600000).i32(500000).i32(1700000);
    b.i32(3).i32(200000).i32(1200000).i32(300000).i32(1300000).i32(200000).i32(1400000);
    return b;
}

TEST(WorldChartFiles, RingDistanceChoosesTheFile) {
    EXPECT_EQ(WorldChartLevelForRingDistance(0.05f), WorldChartLevel::Detailed);
    EXPECT_EQ(WorldChartLevelForRingDistance(24.0f), WorldChartLevel::Detailed);
    EXPECT_EQ(WorldChartLevelForRingDistance(48.0f), WorldChartLevel::Medium);
    EXPECT_EQ(WorldChartLevelForRingDistance(200.0f), WorldChartLevel::Medium);
    EXPECT_EQ(WorldChartLevelForRingDistance(400.0f), WorldChartLevel::Coarse);
    EXPECT_EQ(WorldChartFileName(WorldChartLevel::Detailed), "VORN_Bin/NORQ_WorldSeaChart.bin");
    EXPECT_EQ(WorldChartFileName(WorldChartLevel::Medium), "VORN_Bin/NORQ_WorldSeaChart_L.bin");
    EXPECT_EQ(WorldChartFileName(WorldChartLevel::Coarse), "VORN_Bin/NORQ_WorldSeaChart_LL.bin");
}

TEST(WorldChartReader, MissingOrShortFilesDoNotOpen) {
    WorldChartReader reader;
    EXPECT_FALSE(reader.open("/nonexistent/VORN_Bin/NORQ_WorldSeaChart.bin"));
    EXPECT_FALSE(reader.open("/"));  // a folder
    Bytes b = test::WorldChartHeader(2, 0, 2, 2);
    EXPECT_FALSE(reader.openBytes({b.data.data(), 35}));
    for (std::size_t field : {0, 20, 24, 32}) {  // units, cell height, cell width, columns
        Bytes bad = b;
        bad.setI32(field, 0);
        EXPECT_FALSE(reader.openBytes(bad.data)) << field;
        bad.setI32(field, -5);
        EXPECT_FALSE(reader.openBytes(bad.data)) << field;
    }
    EXPECT_TRUE(reader.openBytes(b.data));
}

TEST(WorldChartReader, VisitsCellsNorthToSouthWestToEast) {
    Bytes b = SmallChart();
    WorldChartReader reader;
    ASSERT_TRUE(reader.openBytes(b.data));
    const CellRange range = reader.cellRange(2, 0, 0, 2);
    EXPECT_EQ(range.firstRow, 0);
    EXPECT_EQ(range.lastRow, 1);
    EXPECT_EQ(range.firstColumn, 0);
    EXPECT_EQ(range.lastColumn, 1);
    Recorder rec;
    EXPECT_EQ(reader.visit(range, rec), PassResult::Complete);
    ASSERT_EQ(rec.events.size(), 4u);
    EXPECT_TRUE(rec.events[0].land);
    EXPECT_DOUBLE_EQ(rec.events[0].north, 2.0);
    EXPECT_DOUBLE_EQ(rec.events[0].south, 1.0);
    EXPECT_DOUBLE_EQ(rec.events[0].west, 0.0);
    EXPECT_DOUBLE_EQ(rec.events[0].east, 1.0);
    EXPECT_EQ(rec.events[1].column, 1);
    ASSERT_EQ(rec.events[1].points.size(), 5u);
    EXPECT_EQ(rec.events[1].points[3].lat, 1500000);
    EXPECT_EQ(rec.events[1].points[3].lon, 1600000);
    EXPECT_EQ(rec.events[2].row, 1);
    EXPECT_EQ(rec.events[3].points[0].lon, 1200000);
}

TEST(WorldChartReader, CellRangeEdges) {
    Bytes b = SmallChart();
    WorldChartReader reader;
    ASSERT_TRUE(reader.openBytes(b.data));
    // A right edge exactly on a cell border does not visit the cell east of it.
    CellRange r = reader.cellRange(1.5, 0.5, 0.2, 1.0);
    EXPECT_EQ(r.firstColumn, 0);
    EXPECT_EQ(r.lastColumn, 0);
    // Likewise a bottom edge on a row border; top and bottom clamp to the file.
    r = reader.cellRange(5.0, 1.0, 0.2, 1.5);
    EXPECT_EQ(r.firstRow, 0);
    EXPECT_EQ(r.lastRow, 0);
    EXPECT_EQ(r.lastColumn, 1);
    // Views beside the file, and hostile values, give empty or clamped ranges.
    EXPECT_TRUE(reader.cellRange(1.5, 0.5, 5.0, 9.0).empty());
    EXPECT_TRUE(reader.cellRange(1.5, 0.5, -190.0, -185.0).empty());
    r = reader.cellRange(1e300, -1e300, -1e300, 1e300);
    EXPECT_EQ(r.lastRow, 1);
    EXPECT_EQ(r.lastColumn, 1);
}

TEST(WorldChartReader, BadEntriesEndThePass) {
    const Bytes good = SmallChart();
    const std::size_t ne = test::EntryPosition(0, 1, 2);
    const std::int64_t cases[] = {
        static_cast<std::int64_t>(ne) - 4,           // below its own entry
        static_cast<std::int64_t>(good.size()) + 1,  // past the end
        static_cast<std::int64_t>(good.size()),      // at the end: no count to read
        -8,                                          // negative
        static_cast<std::int64_t>(good.size()) - 2,  // count cut off by the end
    };
    for (std::int64_t entry : cases) {
        Bytes b = good;
        b.setI32(ne, entry);
        WorldChartReader reader;
        ASSERT_TRUE(reader.openBytes(b.data));
        Recorder rec;
        EXPECT_EQ(reader.visit(reader.cellRange(2, 0, 0, 2), rec), PassResult::Invalid) << entry;
        ASSERT_EQ(rec.events.size(), 1u) << entry;  // the land cell before it stays
        EXPECT_TRUE(rec.events[0].land);
    }
}

TEST(WorldChartReader, BadCountsAndLengthsEndThePass) {
    const Bytes good = SmallChart();
    WorldChartReader probe;
    ASSERT_TRUE(probe.openBytes(good.data));
    std::int32_t blockA = 0;
    std::int32_t blockB = 0;
    ASSERT_TRUE(probe.cellEntry(0, 1, blockA));
    ASSERT_TRUE(probe.cellEntry(1, 1, blockB));
    struct Case {
        std::size_t at;
        std::int64_t value;
        std::size_t eventsBefore;
    };
    const Case cases[] = {
        {static_cast<std::size_t>(blockA), -1, 1},          // negative polygon count
        {static_cast<std::size_t>(blockB), 1 << 30, 4},     // more polygons than the file holds
        {static_cast<std::size_t>(blockA) + 4, 21001, 1},   // over the point limit
        {static_cast<std::size_t>(blockA) + 4, -3, 1},      // negative point count
        {static_cast<std::size_t>(blockA) + 4, 20000, 1},   // points beyond the end
        {static_cast<std::size_t>(blockB) + 4 + 28, 4, 3},  // second polygon runs off the end
    };
    for (const Case& c : cases) {
        Bytes b = good;
        b.setI32(c.at, c.value);
        WorldChartReader reader;
        ASSERT_TRUE(reader.openBytes(b.data));
        Recorder rec;
        EXPECT_EQ(reader.visit(reader.cellRange(2, 0, 0, 2), rec), PassResult::Invalid) << c.at;
        EXPECT_EQ(rec.events.size(), c.eventsBefore) << c.at;
    }
}

TEST(WorldChartReader, TruncatedIndexLimitsTheRange) {
    Bytes b = test::WorldChartHeader(2, 0, 2, 2);
    b.setI32(test::EntryPosition(0, 0, 2), 1);
    b.data.resize(36 + 4 * 3);  // the last entry is missing
    WorldChartReader reader;
    ASSERT_TRUE(reader.openBytes(b.data));
    const CellRange range = reader.cellRange(2, 0, 0, 2);
    EXPECT_EQ(range.lastRow, 0);  // only the first row is complete
    Recorder rec;
    EXPECT_EQ(reader.visit(range, rec), PassResult::Complete);
    EXPECT_EQ(rec.events.size(), 1u);
    std::int32_t entry = 0;
    EXPECT_FALSE(reader.cellEntry(1, 1, entry));
    EXPECT_FALSE(reader.cellEntry(0, 2, entry));
}

TEST(ShiftPolygon, DoubledBorderPointsHideTheBorderEdges) {
    const Bytes b = SmallChart();
    WorldChartReader reader;
    ASSERT_TRUE(reader.openBytes(b.data));
    Recorder rec;
    reader.visit(reader.cellRange(2, 1, 1, 2), rec);
    ASSERT_EQ(rec.events.size(), 1u);
    // Rebuild the polygon view from the block to shift it.
    std::int32_t block = 0;
    ASSERT_TRUE(reader.cellEntry(0, 1, block));
    const ChartPolygon polygon(ByteView(b.data), static_cast<std::uint64_t>(block) + 8, 5);
    std::vector<OutlinePoint> out(6);
    ASSERT_EQ(ShiftPolygon(polygon, 1e6, 0.0, 0.0, out), 6);
    // (2,1) (2,1)=repeat (1,1)=after repeat (1.5,1.6) (2,1) closing (2,1)=repeat
    const bool moves[] = {true, true, true, false, false, true};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(out[i].moveTo, moves[i]) << i;
    EXPECT_FLOAT_EQ(out[3].lat, 1.5f);
    EXPECT_FLOAT_EQ(out[3].lon, 1.6f);
    // The offsets shift every point before rounding to float.
    ASSERT_EQ(ShiftPolygon(polygon, 1e6, -0.003, 0.0056374, out), 6);
    EXPECT_FLOAT_EQ(out[3].lat, static_cast<float>(1.5 - 0.003));
    EXPECT_FLOAT_EQ(out[3].lon, static_cast<float>(1.6 + 0.0056374));
    // Too small an output area writes nothing.
    std::vector<OutlinePoint> small(5);
    EXPECT_EQ(ShiftPolygon(polygon, 1e6, 0, 0, small), 0);
}

TEST(ShiftPolygon, ClosingEdgeIsDrawnUnlessItsStartIsDoubled) {
    Bytes b;
    b.i32(0).i32(0).i32(0).i32(1000).i32(1000).i32(1000);  // open triangle
    const ChartPolygon open(ByteView(b.data), 0, 3);
    std::vector<OutlinePoint> out(4);
    ASSERT_EQ(ShiftPolygon(open, 1e6, 0, 0, out), 4);
    EXPECT_FALSE(out[3].moveTo);
    b.i32(1000).i32(1000);  // last point doubled: the closing edge is hidden
    const ChartPolygon doubled(ByteView(b.data), 0, 4);
    out.resize(5);
    ASSERT_EQ(ShiftPolygon(doubled, 1e6, 0, 0, out), 5);
    EXPECT_TRUE(out[3].moveTo);
    EXPECT_TRUE(out[4].moveTo);
}

TEST(WorldChartReader, ReadsTheGeneratedFixture) {
    WorldChartReader reader;
    ASSERT_TRUE(reader.open(std::string(NORQ_FIXTURES) + "/chart/VORN_Bin/NORQ_WorldSeaChart.bin"));
    EXPECT_EQ(reader.header().unitsPerDegree, 1000000);
    Recorder rec;
    EXPECT_EQ(reader.visit(reader.cellRange(90, -90, -180, 180), rec), PassResult::Complete);
    int land = 0;
    int polygons = 0;
    for (const auto& e : rec.events)
        (e.land ? land : polygons)++;
    EXPECT_GT(land, 0);
    EXPECT_GT(polygons, 0);
}

}  // namespace
}  // namespace norq::chart
