// Builds chart files byte by byte for the reader tests, so each test can place
// exactly the corruption it is about.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace norq::chart::test {

class Bytes {
  public:
    std::vector<std::uint8_t> data;

    std::size_t size() const { return data.size(); }
    Bytes& i32(std::int64_t v) {
        const auto u = static_cast<std::uint32_t>(static_cast<std::int32_t>(v));
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
        return *this;
    }
    Bytes& u16(unsigned v) {
        data.push_back(static_cast<std::uint8_t>(v));
        data.push_back(static_cast<std::uint8_t>(v >> 8));
        return *this;
    }
    Bytes& u8(unsigned v) {
        data.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    Bytes& text(const std::string& s) {
        data.insert(data.end(), s.begin(), s.end());
        return *this;
    }
    void setI32(std::size_t at, std::int64_t v) {
        const auto u = static_cast<std::uint32_t>(static_cast<std::int32_t>(v));
        for (int i = 0; i < 4; ++i)
            data[at + i] = static_cast<std::uint8_t>(u >> (8 * i));
    }
    void setU16(std::size_t at, unsigned v) {
        data[at] = static_cast<std::uint8_t>(v);
        data[at + 1] = static_cast<std::uint8_t>(v >> 8);
    }
};

inline constexpr std::int64_t kDeg = 1000000;

// A world-chart header for a grid of one-degree cells whose north-west corner is
// (west, north) in whole degrees; the index (all zero) follows.
inline Bytes WorldChartHeader(int north, int west, int rows, int columns) {
    Bytes b;
    b.i32(kDeg).i32(north * kDeg).i32((north - rows) * kDeg).i32((west + columns) * kDeg);
    b.i32(west * kDeg).i32(kDeg).i32(kDeg).i32(rows).i32(columns);
    for (int i = 0; i < rows * columns; ++i)
        b.i32(0);
    return b;
}

inline std::size_t EntryPosition(int row, int column, int columns) {
    return 36 + 4 * static_cast<std::size_t>(column + row * columns);
}

// One name of a label record.
struct NameSpec {
    std::uint8_t language;
    std::string text;
};

// A label record with its names packed after the name table.
inline Bytes LabelRecord(std::uint8_t flags, double lon, double lat,
                         const std::vector<NameSpec>& names) {
    Bytes b;
    std::size_t length = 12 + 4 * names.size();
    for (const auto& n : names)
        length += n.text.size();
    b.u16(static_cast<unsigned>(length)).u8(flags);
    b.i32(static_cast<std::int64_t>(lon * kDeg)).i32(static_cast<std::int64_t>(lat * kDeg));
    b.u8(static_cast<unsigned>(names.size()));
    std::size_t textAt = 12 + 4 * names.size();
    for (const auto& n : names) {
        b.u8(n.language)
            .u16(static_cast<unsigned>(textAt))
            .u8(static_cast<unsigned>(n.text.size()));
        textAt += n.text.size();
    }
    for (const auto& n : names)
        b.text(n.text);
    return b;
}

// A whole-world gazetteer header (one-degree cells, a million units per degree)
// and its empty index of 180 rows by 360 columns.
inline Bytes GazetteerHeader() {
    Bytes b;
    for (int i = 0; i < 32; ++i) {
        const std::int64_t values[] = {90 * kDeg, -90 * kDeg, 180 * kDeg, -180 * kDeg, kDeg, kDeg};
        b.i32(i >= 11 && i <= 16 ? values[i - 11] : 0);
    }
    for (int i = 0; i < 180 * 360; ++i)
        b.i32(0);
    return b;
}

inline std::size_t GazetteerEntry(int row, int column) {
    return 128 + 4 * static_cast<std::size_t>(row * 360 + column);
}

}  // namespace norq::chart::test
