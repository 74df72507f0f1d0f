// Reader of the gazetteer file: a 128-byte header, a one-degree cell index and,
// per cell, a chain of label records. Every record is checked against the file
// and against its own length; a bad record ends its cell's chain.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "chart/ChartFile.h"

namespace norq::chart {

// The gazetteer file relative to the program folder.
inline constexpr std::string_view kGazetteerFileName = "GEO_Bin/GEO_Item.bin";

inline constexpr int kGazetteerHeaderSize = 128;
inline constexpr int kGazetteerRecordHeaderSize = 12;
inline constexpr int kMaxRecordLength = 500;
inline constexpr int kMaxNamesPerRecord = 3;

// Language codes of the names, as the language setting numbers them.
enum class NameLanguage : std::uint8_t {
    English = 0,
    TraditionalChinese = 1,
    SimplifiedChinese = 2
};

// Header fields the reader uses (indices 11..16 of the 32 integers).
struct GazetteerHeader {
    std::int32_t north = 0;
    std::int32_t south = 0;
    std::int32_t east = 0;
    std::int32_t west = 0;
    std::int32_t latUnitsPerDegree = 0;
    std::int32_t lonUnitsPerDegree = 0;
};

struct GazetteerName {
    std::uint8_t language = 0;
    std::string_view text;  // into the mapped file; not zero-terminated
};

// One label record; its names point into the file.
struct GazetteerRecord {
    std::uint8_t flags = 0;
    std::int32_t lon = 0;  // longitude units
    std::int32_t lat = 0;  // latitude units
    std::uint8_t nameCount = 0;
    std::array<GazetteerName, kMaxNamesPerRecord> names{};

    int labelClass() const { return flags & 0x3F; }
    int level() const { return flags >> 6; }
    // The first name in the given language, else the first name (empty without names).
    std::string_view chosenName(int language) const;
};

// Cells of a view: rows and columns to visit from a first row and column, wrapping
// at 180 rows and 360 columns.
struct LabelCellRange {
    int firstRow = 0;
    int firstColumn = 0;
    int rowCount = 0;
    int columnCount = 0;
};

// Receives records of one cell's chain in file order; return false to stop.
class GazetteerVisitor {
  public:
    virtual ~GazetteerVisitor() = default;
    virtual bool record(const GazetteerRecord& record) = 0;
};

class GazetteerReader {
  public:
    bool open(const std::string& path);
    bool openBytes(std::span<const std::uint8_t> bytes);
    void close();
    bool isOpen() const { return !bytes_.empty(); }

    const GazetteerHeader& header() const { return header_; }
    int gridColumns() const { return columns_; }
    int gridRows() const { return rows_; }

    // Cells covering a view with the given plain edges in degrees.
    LabelCellRange cellRange(double top, double bottom, double left, double right) const;

    // Follows one cell's chain; a cell outside the grid or the index has no labels.
    // Returns false when the visitor asked to stop.
    bool visitCell(int row, int column, GazetteerVisitor& visitor) const;

    // Visits every cell of a range in reading order (rows north to south, each
    // west to east, wrapping as the range says). Returns false when stopped.
    bool visit(const LabelCellRange& range, GazetteerVisitor& visitor) const;

    // Decodes the record at an offset. Returns its length, or 0 when the record
    // ends the chain (terminator, bad length, or contents outside the record).
    int readRecord(std::uint64_t offset, GazetteerRecord& record) const;

  private:
    bool readHeader();

    ChartFile file_;
    ByteView bytes_;
    GazetteerHeader header_;
    int columns_ = 0;
    int rows_ = 0;
};

}  // namespace norq::chart
