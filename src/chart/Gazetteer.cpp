#include "chart/Gazetteer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace norq::chart {

namespace {

// trunc() of a degree value kept in a safe integer range (also for NaN).
long long TruncDegrees(double value) {
    if (!(value > -1e9)) return -1000000000LL;
    if (value > 1e9) return 1000000000LL;
    return static_cast<long long>(std::trunc(value));
}

// Whole degrees spanned by an edge pair, one more when the low edge is fractional.
int GridSpan(std::int32_t high, std::int32_t low, std::int32_t unitsPerDegree) {
    long long span = static_cast<long long>(high / unitsPerDegree) - low / unitsPerDegree;
    if (low % unitsPerDegree != 0) ++span;
    return static_cast<int>(std::clamp(span, 0LL, 1000000LL));
}

}  // namespace

std::string_view GazetteerRecord::chosenName(int language) const {
    if (nameCount == 0) return {};
    for (int i = 0; i < nameCount; ++i) {
        if (names[i].language == language) return names[i].text;
    }
    return names[0].text;
}

bool GazetteerReader::open(const std::string& path) {
    close();
    if (!file_.open(path)) return false;
    bytes_ = file_.bytes();
    if (!readHeader()) {
        close();
        return false;
    }
    return true;
}

bool GazetteerReader::openBytes(std::span<const std::uint8_t> bytes) {
    close();
    bytes_ = ByteView(bytes);
    if (!readHeader()) {
        close();
        return false;
    }
    return true;
}

void GazetteerReader::close() {
    file_.close();
    bytes_ = ByteView();
    header_ = GazetteerHeader();
    columns_ = rows_ = 0;
}

bool GazetteerReader::readHeader() {
    if (!bytes_.contains(0, kGazetteerHeaderSize)) return false;
    header_.north = bytes_.i32At(4 * 11);
    header_.south = bytes_.i32At(4 * 12);
    header_.east = bytes_.i32At(4 * 13);
    header_.west = bytes_.i32At(4 * 14);
    header_.latUnitsPerDegree = bytes_.i32At(4 * 15);
    header_.lonUnitsPerDegree = bytes_.i32At(4 * 16);
    if (header_.latUnitsPerDegree <= 0 || header_.lonUnitsPerDegree <= 0) return false;
    columns_ = GridSpan(header_.east, header_.west, header_.lonUnitsPerDegree);
    rows_ = GridSpan(header_.north, header_.south, header_.latUnitsPerDegree);
    return true;
}

LabelCellRange GazetteerReader::cellRange(double top, double bottom, double left,
                                          double right) const {
    LabelCellRange range;
    if (!isOpen()) return range;
    const double leftWrapped = left < -180.0 ? left + 360.0 : left;
    double topWrapped = top;
    if (top < -90.0) topWrapped = top + 180.0;
    if (top > 90.0) topWrapped = top - 180.0;
    const double westDeg = static_cast<double>(header_.west) / header_.lonUnitsPerDegree;
    const double northDeg = static_cast<double>(header_.north) / header_.latUnitsPerDegree;
    range.firstColumn =
        static_cast<int>(std::clamp(TruncDegrees(leftWrapped - westDeg), 0LL, 360LL));
    range.firstRow = static_cast<int>(std::clamp(TruncDegrees(northDeg - topWrapped), 0LL, 180LL));
    range.columnCount =
        static_cast<int>(std::min(std::llabs(TruncDegrees(right) - TruncDegrees(left)) + 1, 360LL));
    range.rowCount =
        static_cast<int>(std::min(std::llabs(TruncDegrees(top) - TruncDegrees(bottom)) + 1, 180LL));
    return range;
}

bool GazetteerReader::visit(const LabelCellRange& range, GazetteerVisitor& visitor) const {
    for (int i = 0; i < range.rowCount; ++i) {
        int row = range.firstRow + i;
        if (row > 179) row -= 180;
        for (int j = 0; j < range.columnCount; ++j) {
            int column = range.firstColumn + j;
            if (column >= 360) column -= 360;
            if (!visitCell(row, column, visitor)) return false;
        }
    }
    return true;
}

bool GazetteerReader::visitCell(int row, int column, GazetteerVisitor& visitor) const {
    if (!isOpen() || row < 0 || column < 0 || row >= rows_ || column >= columns_) return true;
    const std::uint64_t position =
        kGazetteerHeaderSize + 4 * (static_cast<std::uint64_t>(row) * columns_ + column);
    std::int32_t offset = 0;
    if (!bytes_.readI32(position, offset) || offset <= 0) return true;
    std::uint64_t at = static_cast<std::uint64_t>(offset);
    GazetteerRecord record;
    // Each record is at least a record header long, so the chain ends within the file.
    while (true) {
        const int length = readRecord(at, record);
        if (length == 0) return true;
        if (!visitor.record(record)) return false;
        at += static_cast<std::uint64_t>(length);
    }
}

int GazetteerReader::readRecord(std::uint64_t offset, GazetteerRecord& record) const {
    std::uint16_t length = 0;
    if (!bytes_.readU16(offset, length)) return 0;
    if (length == 0 || length == 0xFFFF || length > kMaxRecordLength) return 0;
    if (length < kGazetteerRecordHeaderSize || !bytes_.contains(offset, length)) return 0;
    const std::uint8_t* r = bytes_.data() + offset;
    record.flags = r[2];
    record.lon = bytes_.i32At(offset + 3);
    record.lat = bytes_.i32At(offset + 7);
    record.nameCount = r[11];
    if (record.nameCount > kMaxNamesPerRecord) return 0;
    if (kGazetteerRecordHeaderSize + 4 * record.nameCount > length) return 0;
    for (int i = 0; i < record.nameCount; ++i) {
        const std::uint8_t* entry = r + kGazetteerRecordHeaderSize + 4 * i;
        const unsigned textOffset = entry[1] | (entry[2] << 8);
        const unsigned textLength = entry[3];
        if (textOffset > length || textLength > length - textOffset) return 0;
        record.names[i].language = entry[0];
        record.names[i].text =
            std::string_view(reinterpret_cast<const char*>(r) + textOffset, textLength);
    }
    for (int i = record.nameCount; i < kMaxNamesPerRecord; ++i)
        record.names[i] = GazetteerName();
    return length;
}

}  // namespace norq::chart
