// Reader of the world-chart files: a header, a row-major cell index and, per
// coastal cell, a block of land polygons. Every offset, count and length is
// checked against the file before use; a bad entry or block ends the pass that
// met it and nothing beyond the file is ever read.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "chart/ChartFile.h"

namespace norq::chart {

// The three world-chart files, from the most detailed to the coarsest.
enum class WorldChartLevel : std::uint8_t { Detailed = 0, Medium = 1, Coarse = 2 };

// File of a level, relative to the program folder ("VORN_Bin/NORQ_WorldSeaChart.bin", ...).
std::string_view WorldChartFileName(WorldChartLevel level);

// The file the chart uses at a ring distance in nautical miles: up to 24 nm the
// detailed one, up to 200 nm the medium one, beyond that the coarse one.
WorldChartLevel WorldChartLevelForRingDistance(float ringDistanceNm);

inline constexpr int kWorldChartHeaderSize = 36;
inline constexpr std::int32_t kMaxPolygonPoints = 21000;
inline constexpr std::int32_t kCellEmpty = 0;
inline constexpr std::int32_t kCellLand = 1;

// The nine header integers, in file order.
struct WorldChartHeader {
    std::int32_t unitsPerDegree = 0;
    std::int32_t north = 0;
    std::int32_t south = 0;
    std::int32_t east = 0;
    std::int32_t west = 0;
    std::int32_t cellHeight = 0;
    std::int32_t cellWidth = 0;
    std::int32_t rowCount = 0;
    std::int32_t columnsPerRow = 0;
};

// Inclusive range of cells; empty when last < first in either direction.
struct CellRange {
    int firstRow = 0;
    int lastRow = -1;
    int firstColumn = 0;
    int lastColumn = -1;
    bool empty() const { return lastRow < firstRow || lastColumn < firstColumn; }
};

// One point as stored: latitude and longitude in file units.
struct ChartPoint {
    std::int32_t lat = 0;
    std::int32_t lon = 0;
};

// A polygon inside the mapped file; its points were checked to lie in the file.
class ChartPolygon {
  public:
    ChartPolygon(ByteView bytes, std::uint64_t firstPoint, std::int32_t count)
        : bytes_(bytes), first_(firstPoint), count_(count) {}
    std::int32_t size() const { return count_; }
    ChartPoint operator[](std::int32_t i) const {
        const std::uint64_t at = first_ + 8 * static_cast<std::uint64_t>(i);
        return {bytes_.i32At(at), bytes_.i32At(at + 4)};
    }
    // The points' bytes (8 per point, latitude then longitude, little-endian),
    // checked to lie in the file.
    const std::uint8_t* pointBytes() const { return bytes_.data() + first_; }

  private:
    ByteView bytes_;
    std::uint64_t first_;
    std::int32_t count_;
};

// Receives the cells of one pass, north to south and west to east.
class WorldChartVisitor {
  public:
    virtual ~WorldChartVisitor() = default;
    // A cell that is land throughout; its edges in degrees.
    virtual void landCell(int row, int column, double north, double south, double west,
                          double east) = 0;
    // One polygon of a coastal cell.
    virtual void polygon(int row, int column, const ChartPolygon& polygon) = 0;
};

// How a pass ended.
enum class PassResult : std::uint8_t { Complete, Invalid };

class WorldChartReader {
  public:
    // Maps the file and checks its header; false when the file is missing,
    // unreadable, shorter than the header or its header cannot describe a grid.
    bool open(const std::string& path);
    // Reads from bytes the caller keeps alive (tests, fuzzing).
    bool openBytes(std::span<const std::uint8_t> bytes);
    void close();
    bool isOpen() const { return !bytes_.empty(); }

    const WorldChartHeader& header() const { return header_; }
    double unitsPerDegree() const { return header_.unitsPerDegree; }
    double northDeg() const { return header_.north / unitsPerDegree(); }
    double southDeg() const { return header_.south / unitsPerDegree(); }
    double westDeg() const { return header_.west / unitsPerDegree(); }
    double cellHeightDeg() const { return header_.cellHeight / unitsPerDegree(); }
    double cellWidthDeg() const { return header_.cellWidth / unitsPerDegree(); }

    // Cells covering a view with the given edges in degrees; top and bottom are
    // clamped to the file, left and right to ±180. The range is also clamped to
    // the cells whose index entries the file holds.
    CellRange cellRange(double top, double bottom, double left, double right) const;

    // Visits the cells of a range. Stops at the first entry pointing outside the
    // file or block that does not fit (Invalid); cells visited before stay visited.
    PassResult visit(const CellRange& range, WorldChartVisitor& visitor) const;

    // The entry of one cell, or false when the index does not hold it.
    bool cellEntry(int row, int column, std::int32_t& entry) const;

  private:
    bool readHeader();
    PassResult visitBlock(int row, int column, std::uint64_t offset,
                          WorldChartVisitor& visitor) const;

    ChartFile file_;
    ByteView bytes_;
    WorldChartHeader header_;
    std::int64_t indexedRows_ = 0;
};

// One point ready for projection: shifted, rounded to 32-bit floats, and
// whether the pen moves to it without drawing.
struct OutlinePoint {
    float lon = 0;
    float lat = 0;
    bool moveTo = false;
};

// Shifts a polygon by the offsets (degrees), rounds to floats and marks the
// outline breaks: the first point, every point equal to the one before it and
// every point after such a repeated point. A copy of the first point closes the
// outline. out must hold polygon.size() + 1 points; returns how many were written.
int ShiftPolygon(const ChartPolygon& polygon, double unitsPerDegree, double latOffset,
                 double lonOffset, std::span<OutlinePoint> out);

}  // namespace norq::chart
