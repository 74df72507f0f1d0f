// Cuts shoreline rings into the cells of a world-chart grid with GEOS: land
// (levels 1 and 3) minus water (levels 2 and 4) per cell, holes opened by cuts,
// polygons split to stay within the point limit, and every edge along a cell
// border or a cut marked as an outline break (its start point doubled).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ShoreRings.h"

typedef struct GEOSContextHandle_HS* GEOSContextHandle_t;
typedef struct GEOSGeom_t GEOSGeometry;

namespace norq::worldchart {

// The grid: edges and cell size in units, rows from the north, columns from the west.
struct GridSpec {
    std::int64_t west = 0;
    std::int64_t north = 0;
    std::int64_t cellSize = 0;
    int rows = 0;
    int columns = 0;
};

// One output point in file order (latitude, longitude in units).
struct CellPoint {
    std::int32_t lat = 0;
    std::int32_t lon = 0;
};

struct CellResult {
    bool wholeLand = false;
    std::vector<std::vector<CellPoint>> polygons;  // closed, breaks doubled
};

struct CutStats {
    std::size_t landCells = 0;
    std::size_t coastCells = 0;
    std::size_t polygons = 0;
    std::size_t points = 0;
    std::size_t holeCuts = 0;
    std::size_t sizeCuts = 0;
    std::size_t repairs = 0;  // overlay retried on repaired geometry
    std::size_t maxPolygonPoints = 0;
};

class CellCutter {
  public:
    static constexpr std::size_t kMaxPoints = 21000;
    // Closer consecutive points would round to the same 32-bit float and read as
    // a break, so they are merged (units; 32 µ° is over two float steps at 180°).
    static constexpr std::int64_t kMinSeparation = 32;

    explicit CellCutter(const GridSpec& grid);
    ~CellCutter();
    CellCutter(const CellCutter&) = delete;
    CellCutter& operator=(const CellCutter&) = delete;

    // Adds a ring (with copies shifted by 360° where it crosses the antimeridian).
    void addRing(const ShoreRing& ring);
    // Cuts everything and hands each non-empty cell to the sink, row by row.
    using Sink = std::function<void(int row, int column, CellResult&& result)>;
    void run(const Sink& sink);

    const CutStats& stats() const { return stats_; }

  private:
    struct Piece;
    struct Cut;
    void addPiece(const ShoreRing& ring, std::int64_t shift);
    void subdivide(std::vector<Piece>& pieces, int r0, int r1, int c0, int c1, const Sink& sink);
    void finishCell(const std::vector<Piece>& pieces, int row, int column, const Sink& sink);
    GEOSGeometry* landOfLevels(const std::vector<Piece>& pieces, int landLevel);
    void emitPolygon(const GEOSGeometry* polygon, std::vector<Cut>& cuts, int row, int column,
                     CellResult& out, int depth);
    bool emitRing(const GEOSGeometry* ring, const std::vector<Cut>& cuts, int row, int column,
                  std::vector<CellPoint>& out);

    GEOSContextHandle_t ctx_;
    GridSpec grid_;
    std::vector<Piece> pieces_;
    CutStats stats_;
    std::string lastError_;
};

}  // namespace norq::worldchart
