#include "chart/WorldChart.h"

#include <algorithm>
#include <cmath>

namespace norq::chart {

namespace {

constexpr double kEdgeTolerance = 0.000001;  // degrees

// trunc() of a cell coordinate, kept within int range even for hostile headers.
std::int64_t TruncCell(double value) {
    if (!(value > -1e15)) return -1000000000000000LL;  // also catches NaN
    if (value > 1e15) return 1000000000000000LL;
    return static_cast<std::int64_t>(std::trunc(value));
}

int ClampToInt(std::int64_t value, std::int64_t low, std::int64_t high) {
    return static_cast<int>(std::clamp(value, low, high));
}

}  // namespace

std::string_view WorldChartFileName(WorldChartLevel level) {
    switch (level) {
        case WorldChartLevel::Detailed:
            return "VORN_Bin/NORQ_WorldSeaChart.bin";
        case WorldChartLevel::Medium:
            return "VORN_Bin/NORQ_WorldSeaChart_L.bin";
        case WorldChartLevel::Coarse:
            break;
    }
    return "VORN_Bin/NORQ_WorldSeaChart_LL.bin";
}

WorldChartLevel WorldChartLevelForRingDistance(float ringDistanceNm) {
    if (ringDistanceNm <= 24.0f) return WorldChartLevel::Detailed;
    if (ringDistanceNm <= 200.0f) return WorldChartLevel::Medium;
    return WorldChartLevel::Coarse;
}

bool WorldChartReader::open(const std::string& path) {
    close();
    if (!file_.open(path)) return false;
    bytes_ = file_.bytes();
    if (!readHeader()) {
        close();
        return false;
    }
    return true;
}

bool WorldChartReader::openBytes(std::span<const std::uint8_t> bytes) {
    close();
    bytes_ = ByteView(bytes);
    if (!readHeader()) {
        close();
        return false;
    }
    return true;
}

void WorldChartReader::close() {
    file_.close();
    bytes_ = ByteView();
    header_ = WorldChartHeader();
    indexedRows_ = 0;
}

bool WorldChartReader::readHeader() {
    if (!bytes_.contains(0, kWorldChartHeaderSize)) return false;
    std::int32_t v[9];
    for (int i = 0; i < 9; ++i)
        v[i] = bytes_.i32At(4 * static_cast<std::uint64_t>(i));
    header_ = {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]};
    // Without positive units and cell sizes the file describes no grid.
    if (header_.unitsPerDegree <= 0 || header_.cellHeight <= 0 || header_.cellWidth <= 0 ||
        header_.columnsPerRow <= 0) {
        return false;
    }
    const std::uint64_t indexBytes = bytes_.size() - kWorldChartHeaderSize;
    indexedRows_ = static_cast<std::int64_t>(indexBytes / 4 / header_.columnsPerRow);
    return true;
}

CellRange WorldChartReader::cellRange(double top, double bottom, double left, double right) const {
    CellRange range;
    if (!isOpen() || indexedRows_ <= 0) return range;
    const double north = northDeg();
    const double south = southDeg();
    const double west = westDeg();
    const double cellW = cellWidthDeg();
    const double cellH = cellHeightDeg();
    top = std::min(top, north);
    bottom = std::max(bottom, south);

    const double l = std::max(left, -180.0);
    const double r = std::min(right, 180.0);
    const std::int64_t firstCol = TruncCell((l - west) / cellW);
    std::int64_t lastCol = TruncCell((r - west) / cellW);
    if (std::fabs(r - (west + static_cast<double>(lastCol) * cellW)) < kEdgeTolerance) --lastCol;
    const std::int64_t firstRow = TruncCell((north - top) / cellH);
    std::int64_t lastRow = TruncCell((north - bottom) / cellH);
    if (std::fabs(bottom - (north - static_cast<double>(lastRow) * cellH)) < kEdgeTolerance) {
        --lastRow;
    }
    if (lastCol < firstCol || lastRow < firstRow) return range;

    // Only cells whose entries the file holds can be visited.
    const std::int64_t maxCol = header_.columnsPerRow - 1;
    const std::int64_t maxRow = indexedRows_ - 1;
    if (lastCol < 0 || firstCol > maxCol || lastRow < 0 || firstRow > maxRow) return range;
    range.firstColumn = ClampToInt(firstCol, 0, maxCol);
    range.lastColumn = ClampToInt(lastCol, 0, maxCol);
    range.firstRow = ClampToInt(firstRow, 0, maxRow);
    range.lastRow = ClampToInt(lastRow, 0, maxRow);
    return range;
}

bool WorldChartReader::cellEntry(int row, int column, std::int32_t& entry) const {
    if (!isOpen() || row < 0 || column < 0 || column >= header_.columnsPerRow) return false;
    const std::uint64_t position =
        kWorldChartHeaderSize +
        4 * (static_cast<std::uint64_t>(column) +
             static_cast<std::uint64_t>(row) * static_cast<std::uint64_t>(header_.columnsPerRow));
    return bytes_.readI32(position, entry);
}

PassResult WorldChartReader::visit(const CellRange& range, WorldChartVisitor& visitor) const {
    if (range.empty()) return PassResult::Complete;
    const double north = northDeg();
    const double west = westDeg();
    const double cellW = cellWidthDeg();
    const double cellH = cellHeightDeg();
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
            std::int32_t entry = 0;
            if (!cellEntry(row, column, entry)) return PassResult::Invalid;
            if (entry == kCellEmpty) continue;
            if (entry == kCellLand) {
                visitor.landCell(row, column, north - row * cellH, north - (row + 1) * cellH,
                                 west + column * cellW, west + (column + 1) * cellW);
                continue;
            }
            // A block lies after the entry that points at it and inside the file.
            const std::uint64_t entryPosition =
                kWorldChartHeaderSize + 4 * (static_cast<std::uint64_t>(column) +
                                             static_cast<std::uint64_t>(row) *
                                                 static_cast<std::uint64_t>(header_.columnsPerRow));
            if (entry < 0 || static_cast<std::uint64_t>(entry) < entryPosition ||
                static_cast<std::uint64_t>(entry) > bytes_.size()) {
                return PassResult::Invalid;
            }
            if (visitBlock(row, column, static_cast<std::uint64_t>(entry), visitor) !=
                PassResult::Complete) {
                return PassResult::Invalid;
            }
        }
    }
    return PassResult::Complete;
}

PassResult WorldChartReader::visitBlock(int row, int column, std::uint64_t offset,
                                        WorldChartVisitor& visitor) const {
    std::int32_t polygonCount = 0;
    if (!bytes_.readI32(offset, polygonCount) || polygonCount < 0) return PassResult::Invalid;
    std::uint64_t at = offset + 4;
    for (std::int32_t i = 0; i < polygonCount; ++i) {
        std::int32_t pointCount = 0;
        if (!bytes_.readI32(at, pointCount)) return PassResult::Invalid;
        if (pointCount < 0 || pointCount > kMaxPolygonPoints) return PassResult::Invalid;
        at += 4;
        const std::uint64_t length = 8 * static_cast<std::uint64_t>(pointCount);
        if (!bytes_.contains(at, length)) return PassResult::Invalid;
        visitor.polygon(row, column, ChartPolygon(bytes_, at, pointCount));
        at += length;
    }
    return PassResult::Complete;
}

int ShiftPolygon(const ChartPolygon& polygon, double unitsPerDegree, double latOffset,
                 double lonOffset, std::span<OutlinePoint> out) {
    const std::int32_t count = polygon.size();
    if (count <= 0 || out.size() < static_cast<std::size_t>(count) + 1 || !(unitsPerDegree > 0)) {
        return 0;
    }
    bool previousRepeated = false;
    for (std::int32_t i = 0; i < count; ++i) {
        const ChartPoint p = polygon[i];
        OutlinePoint& o = out[static_cast<std::size_t>(i)];
        o.lon = static_cast<float>(p.lon / unitsPerDegree + lonOffset);
        o.lat = static_cast<float>(p.lat / unitsPerDegree + latOffset);
        const bool repeated = i > 0 && o.lon == out[i - 1].lon && o.lat == out[i - 1].lat;
        o.moveTo = i == 0 || repeated || previousRepeated;
        previousRepeated = repeated;
    }
    OutlinePoint& closing = out[static_cast<std::size_t>(count)];
    closing = out[0];
    const bool repeated = closing.lon == out[count - 1].lon && closing.lat == out[count - 1].lat;
    closing.moveTo = repeated || previousRepeated;
    return count + 1;
}

}  // namespace norq::chart
