// The world-chart generator on a small hand-made shoreline: land and lakes in
// the right cells, no coastline along cell borders or cuts, the antimeridian and
// the pole, the point limit, and byte-identical output for the same input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "CellCutter.h"
#include "ShoreRings.h"
#include "WorldChartWriter.h"
#include "chart/WorldChart.h"

namespace norq::worldchart {
namespace {

const std::string kSample = std::string(NORQ_FIXTURES) + "/chart/shore-sample.txt";

std::vector<ShoreRing> ReadSample(const std::string& text = {}) {
    std::FILE* in = text.empty() ? std::fopen(kSample.c_str(), "r")
                                 : fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    EXPECT_NE(in, nullptr);
    ShoreStats stats;
    auto rings = ReadShoreRings(in, stats);
    std::fclose(in);
    return rings;
}

// Cuts rings into a grid given by its edges in degrees and cell size.
std::vector<std::uint8_t> Generate(const std::vector<ShoreRing>& rings, double west, double east,
                                   double south, double north, double cell,
                                   CutStats* statsOut = nullptr) {
    GridSpec grid;
    grid.cellSize = std::llround(cell * kUnitsPerDegree);
    grid.west = std::llround(west * kUnitsPerDegree);
    grid.north = std::llround(north * kUnitsPerDegree);
    grid.columns = static_cast<int>(std::llround((east - west) / cell));
    grid.rows = static_cast<int>(std::llround((north - south) / cell));
    CellCutter cutter(grid);
    for (const auto& r : rings)
        cutter.addRing(r);
    WorldChartWriter writer(grid);
    cutter.run([&](int row, int col, CellResult&& r) { writer.setCell(row, col, std::move(r)); });
    if (statsOut != nullptr) *statsOut = cutter.stats();
    return writer.bytes();
}

struct Edge {
    double lon0, lat0, lon1, lat1;
};

// Collects the polygons of every cell with their drawn (non-break) edges.
struct Collect final : chart::WorldChartVisitor {
    std::vector<std::vector<chart::OutlinePoint>> polygons;
    std::vector<std::pair<int, int>> cellOf;
    std::vector<std::pair<int, int>> landCells;
    std::vector<Edge> landBoxes;  // west, north, east, south
    std::vector<Edge> drawn;
    int maxPoints = 0;
    void landCell(int row, int column, double n, double s, double w, double e) override {
        landCells.emplace_back(row, column);
        landBoxes.push_back({w, n, e, s});
    }
    void polygon(int row, int column, const chart::ChartPolygon& p) override {
        std::vector<chart::OutlinePoint> out(static_cast<std::size_t>(p.size()) + 1);
        out.resize(static_cast<std::size_t>(chart::ShiftPolygon(p, 1e6, 0, 0, out)));
        for (std::size_t i = 1; i < out.size(); ++i) {
            if (!out[i].moveTo) {
                drawn.push_back({out[i - 1].lon, out[i - 1].lat, out[i].lon, out[i].lat});
            }
        }
        maxPoints = std::max(maxPoints, p.size());
        polygons.push_back(std::move(out));
        cellOf.emplace_back(row, column);
    }
};

Collect ReadAll(const std::vector<std::uint8_t>& bytes) {
    chart::WorldChartReader reader;
    EXPECT_TRUE(reader.openBytes(bytes));
    Collect c;
    EXPECT_EQ(reader.visit(reader.cellRange(90, -90, -180, 180), c), chart::PassResult::Complete);
    return c;
}

// Inside a land cell, or by odd-even containment inside the polygons, as the fill draws them.
bool IsLand(const Collect& c, double lon, double lat) {
    for (const Edge& b : c.landBoxes) {
        if (lon > b.lon0 && lon < b.lon1 && lat < b.lat0 && lat > b.lat1) return true;
    }
    int crossings = 0;
    for (const auto& poly : c.polygons) {
        for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
            const double yi = poly[i].lat, yj = poly[j].lat, xi = poly[i].lon, xj = poly[j].lon;
            if ((yi > lat) != (yj > lat) && lon < (xj - xi) * (lat - yi) / (yj - yi) + xi) {
                ++crossings;
            }
        }
    }
    return crossings % 2 == 1;
}

bool OnMultipleOf(double v, double step) {
    return std::fabs(v / step - std::round(v / step)) < 1e-6;
}

TEST(WorldChartGenerator, LandLakeAndIsletInOneDegreeCells) {
    const auto bytes = Generate(ReadSample(), 0, 20, 35, 60, 1.0);
    const Collect c = ReadAll(bytes);
    EXPECT_FALSE(c.landCells.empty());
    // A whole-land cell is marked 1, not cut into a polygon.
    chart::WorldChartReader reader;
    ASSERT_TRUE(reader.openBytes(bytes));
    std::int32_t entry = 0;
    ASSERT_TRUE(reader.cellEntry(60 - 41, 10, entry));  // 40..41 °N, 10..11 °E
    EXPECT_EQ(entry, chart::kCellLand);
    ASSERT_TRUE(reader.cellEntry(60 - 48, 7, entry));  // the lake's cell
    EXPECT_GT(entry, 1);
    EXPECT_TRUE(IsLand(c, 6.1, 46.5));   // shore of the lake
    EXPECT_FALSE(IsLand(c, 6.5, 46.5));  // lake
    EXPECT_FALSE(IsLand(c, 7.2, 47.5));  // lake around the islet
    EXPECT_TRUE(IsLand(c, 7.5, 47.5));   // islet
    EXPECT_TRUE(IsLand(c, 1.4, 40.5));   // island, near its west coast
    EXPECT_FALSE(IsLand(c, 1.2, 40.5));  // sea
}

TEST(WorldChartGenerator, CoastlineOnlyAlongTheShore) {
    const Collect c = ReadAll(Generate(ReadSample(), 0, 20, 35, 60, 1.0));
    ASSERT_FALSE(c.drawn.empty());
    // Every drawn edge lies on one of the sample's shore lines; none on a border or cut.
    const double shoreLon[] = {1.3, 18.7, 6.2, 8.8, 7.3, 7.7};
    const double shoreLat[] = {36.4, 58.6, 46.3, 48.7, 47.3, 47.7};
    for (const Edge& e : c.drawn) {
        bool onShore = false;
        for (double x : shoreLon)
            onShore |= std::fabs(e.lon0 - x) < 1e-5 && std::fabs(e.lon1 - x) < 1e-5;
        for (double y : shoreLat)
            onShore |= std::fabs(e.lat0 - y) < 1e-5 && std::fabs(e.lat1 - y) < 1e-5;
        EXPECT_TRUE(onShore) << e.lon0 << "," << e.lat0 << " -> " << e.lon1 << "," << e.lat1;
    }
    // Every polygon is closed and holds no point twice except the break doubles.
    for (const auto& poly : c.polygons) {
        EXPECT_EQ(poly.front().lon, poly.back().lon);
        EXPECT_EQ(poly.front().lat, poly.back().lat);
    }
}

TEST(WorldChartGenerator, AntimeridianAndPole) {
    const auto bytes = Generate(ReadSample(), -180, 180, -90, 90, 5.0);
    const Collect c = ReadAll(bytes);
    int east = 0, west = 0;
    for (std::size_t i = 0; i < c.polygons.size(); ++i) {
        if (c.cellOf[i].first != (90 + 15) / 5 && c.cellOf[i].first != (90 + 19) / 5) continue;
        if (c.cellOf[i].second == 71) ++east;
        if (c.cellOf[i].second == 0) ++west;
    }
    EXPECT_GT(east, 0);
    EXPECT_GT(west, 0);
    EXPECT_TRUE(IsLand(c, 179.5, -18.0));
    EXPECT_TRUE(IsLand(c, -179.5, -18.0));
    EXPECT_FALSE(IsLand(c, -178.0, -18.0));
    for (const Edge& e : c.drawn) {
        EXPECT_FALSE(OnMultipleOf(e.lon0, 5.0) && e.lon0 == e.lon1) << e.lon0 << "," << e.lat0;
        EXPECT_FALSE(OnMultipleOf(e.lat0, 5.0) && e.lat0 == e.lat1) << e.lon0 << "," << e.lat0;
    }
    // The coast around the pole closes along the pole: the last row is land throughout.
    chart::WorldChartReader reader;
    ASSERT_TRUE(reader.openBytes(bytes));
    for (int col = 0; col < 72; ++col) {
        std::int32_t entry = 0;
        ASSERT_TRUE(reader.cellEntry(35, col, entry));
        EXPECT_EQ(entry, chart::kCellLand) << col;
    }
    EXPECT_TRUE(IsLand(c, 45.0, -69.5));
    EXPECT_TRUE(IsLand(c, 46.0, -81.0));
    EXPECT_FALSE(IsLand(c, 45.0, -60.0));
}

TEST(WorldChartGenerator, SplitsPolygonsOverThePointLimit) {
    // A many-sided island of 60000 points inside one cell.
    std::string text = "> Shore Bin # 1, Level 1\n";
    const int n = 60000;
    char line[64];
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * M_PI * (i % n) / n;
        std::snprintf(line, sizeof line, "%.7f\t%.7f\n", 0.5 + 0.45 * std::cos(a),
                      0.5 + 0.45 * std::sin(a));
        text += line;
    }
    CutStats stats;
    const Collect c = ReadAll(Generate(ReadSample(text), 0, 1, 0, 1, 1.0, &stats));
    EXPECT_GT(stats.sizeCuts, 0u);
    EXPECT_GT(c.polygons.size(), 2u);
    EXPECT_LE(c.maxPoints, chart::kMaxPolygonPoints);
    for (const Edge& e : c.drawn) {  // drawn edges lie on the circle, never on a cut
        const double r = std::hypot(e.lon1 - 0.5, e.lat1 - 0.5);
        EXPECT_NEAR(r, 0.45, 1e-4);
    }
    EXPECT_TRUE(IsLand(c, 0.5, 0.5));
    EXPECT_TRUE(IsLand(c, 0.9, 0.5));
    EXPECT_FALSE(IsLand(c, 0.97, 0.5));
}

TEST(WorldChartGenerator, SameInputSameBytes) {
    const auto rings = ReadSample();
    EXPECT_EQ(Generate(rings, -180, 180, -90, 90, 5.0),
              Generate(ReadSample(), -180, 180, -90, 90, 5.0));
}

}  // namespace
}  // namespace norq::worldchart
