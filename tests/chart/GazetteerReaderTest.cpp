// The gazetteer reader: header and grid, cell ranges of views, record chains,
// and chains with corrupt lengths, counts and offsets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChartBytes.h"
#include "chart/Gazetteer.h"

namespace norq::chart {
namespace {

using test::Bytes;

struct Collector final : GazetteerVisitor {
    std::vector<GazetteerRecord> records;
    std::size_t stopAfter = 1000;
    bool record(const GazetteerRecord& r) override {
        records.push_back(r);
        return records.size() < stopAfter;
    }
};

// A gazetteer with a chain of records in the cell of 51..52 °N, 1..2 °E.
Bytes GazetteerWith(const std::vector<Bytes>& records, int row = 38, int column = 181) {
    Bytes b = test::GazetteerHeader();
    b.setI32(test::GazetteerEntry(row, column), static_cast<std::int64_t>(b.size()));
    for (const Bytes& r : records)
        b.data.insert(b.data.end(), r.data.begin(), r.data.end());
    b.u16(0);
    return b;
}

Bytes Dover() {
    return test::LabelRecord(0x85, 1.31, 51.13, {{0, "Dover"}, {1, "多佛"}});
}
Bytes Calais() {
    return test::LabelRecord(0x85, 1.85, 50.95, {{0, "Calais"}});
}

std::vector<GazetteerRecord> ReadCell(const Bytes& b, int row = 38, int column = 181) {
    GazetteerReader reader;
    Collector c;
    if (reader.openBytes(b.data)) reader.visitCell(row, column, c);
    return c.records;
}

TEST(GazetteerReader, HeaderDescribesTheGrid) {
    Bytes b = test::GazetteerHeader();
    GazetteerReader reader;
    ASSERT_TRUE(reader.openBytes(b.data));
    EXPECT_EQ(reader.gridColumns(), 360);
    EXPECT_EQ(reader.gridRows(), 180);
    b.setI32(4 * 14, -180500000);  // a west edge that is not whole adds a column
    ASSERT_TRUE(reader.openBytes(b.data));
    EXPECT_EQ(reader.gridColumns(), 361);
    EXPECT_FALSE(reader.openBytes({b.data.data(), 127}));
    // Edges far apart in one-unit degrees do not overflow the grid size.
    Bytes wide = test::GazetteerHeader();
    wide.setI32(4 * 13, 2000000000);
    wide.setI32(4 * 14, -2000000000);
    wide.setI32(4 * 16, 1);
    ASSERT_TRUE(reader.openBytes(wide.data));
    EXPECT_EQ(reader.gridColumns(), 1000000);
    for (std::size_t field : {15, 16}) {
        Bytes bad = test::GazetteerHeader();
        bad.setI32(4 * field, 0);
        EXPECT_FALSE(reader.openBytes(bad.data));
    }
    EXPECT_FALSE(reader.open("/nonexistent/GEO_Bin/GEO_Item.bin"));
}

TEST(GazetteerReader, CellRangeOfAView) {
    const Bytes b = test::GazetteerHeader();
    GazetteerReader reader;
    ASSERT_TRUE(reader.openBytes(b.data));
    LabelCellRange r = reader.cellRange(51.6, 50.4, 0.5, 2.4);
    EXPECT_EQ(r.firstColumn, 180);
    EXPECT_EQ(r.firstRow, 38);
    EXPECT_EQ(r.columnCount, 3);
    EXPECT_EQ(r.rowCount, 2);
    // Across the antimeridian: the left edge wraps and the columns run on past 360.
    r = reader.cellRange(-16.0, -19.0, -185.0, -174.0);
    EXPECT_EQ(r.firstColumn, 355);
    EXPECT_EQ(r.columnCount, 12);
    r = reader.cellRange(1e300, -1e300, -1e300, 1e300);
    EXPECT_EQ(r.columnCount, 360);
    EXPECT_EQ(r.rowCount, 180);
}

TEST(GazetteerReader, FollowsTheChainAndChoosesNames) {
    const Bytes file = GazetteerWith({Dover(), Calais()});  // the names point into it
    const auto records = ReadCell(file);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].labelClass(), 5);
    EXPECT_EQ(records[0].level(), 2);
    EXPECT_EQ(records[0].lon, 1310000);
    EXPECT_EQ(records[0].lat, 51130000);
    EXPECT_EQ(records[0].chosenName(0), "Dover");
    EXPECT_EQ(records[0].chosenName(1), "多佛");
    EXPECT_EQ(records[0].chosenName(2), "Dover");  // no Simplified name: the first
    EXPECT_EQ(records[1].chosenName(1), "Calais");
    // Names for languages 1 and 0 in that order: English shows the language 0 name.
    const Bytes swappedFile =
        GazetteerWith({test::LabelRecord(5, 1.5, 51.5, {{1, "多佛"}, {0, "Dover"}})});
    const auto swapped = ReadCell(swappedFile);
    ASSERT_EQ(swapped.size(), 1u);
    EXPECT_EQ(swapped[0].chosenName(0), "Dover");
}

TEST(GazetteerReader, BadLengthsEndTheChain) {
    const Bytes good = GazetteerWith({Dover(), Calais()});
    const std::size_t second = 128 + 4 * 180 * 360 + Dover().size();
    // Lengths 0, 65535, above 500 and below a record header end the chain at the
    // second record; so does a length that runs past the end of the file.
    for (unsigned length : {0u, 65535u, 501u, 11u, 0x1F0u}) {
        Bytes b = good;
        b.setU16(second, length);
        if (length == 0x1F0u) b.data.resize(second + 100);
        const auto records = ReadCell(b);
        ASSERT_EQ(records.size(), 1u) << length;
        EXPECT_EQ(records[0].chosenName(0), "Dover");
    }
}

TEST(GazetteerReader, BadNameTablesEndTheChain) {
    const Bytes good = GazetteerWith({Dover(), Calais()});
    const std::size_t first = 128 + 4 * 180 * 360;
    struct Case {
        std::size_t at;
        unsigned value;
        bool word;
    };
    const Case cases[] = {
        {first + 11, 4, false},      // more than three names
        {first + 11, 3, false},      // three names: the table overruns the texts
        {first + 13, 200, true},     // text offset beyond the record
        {first + 15, 250, false},    // text length beyond the record
        {first + 13, 0xFFFF, true},  // text offset far beyond
    };
    for (const Case& c : cases) {
        Bytes b = good;
        if (c.word) {
            b.setU16(c.at, c.value);
        } else {
            b.data[c.at] = static_cast<std::uint8_t>(c.value);
        }
        EXPECT_TRUE(ReadCell(b).empty()) << c.at;
    }
    // A name whose text lies inside the record, even over the table, is read as it is.
    Bytes b = good;
    b.setU16(first + 13, 0);
    EXPECT_EQ(ReadCell(b).size(), 2u);
}

TEST(GazetteerReader, BadCellOffsetsGiveNoLabels) {
    Bytes good = GazetteerWith({Dover()});
    const std::size_t entry = test::GazetteerEntry(38, 181);
    for (std::int64_t offset :
         {std::int64_t{-4}, static_cast<std::int64_t>(good.size()),
          static_cast<std::int64_t>(good.size()) - 1, std::int64_t{2000000000}}) {
        Bytes b = good;
        b.setI32(entry, offset);
        EXPECT_TRUE(ReadCell(b).empty()) << offset;
    }
    // Cells outside the grid or the index are empty, not errors.
    Bytes cut = good;
    cut.data.resize(test::GazetteerEntry(20, 0));
    EXPECT_TRUE(ReadCell(cut).empty());
    EXPECT_TRUE(ReadCell(good, 180, 0).empty());
    EXPECT_TRUE(ReadCell(good, 0, 360).empty());
    EXPECT_TRUE(ReadCell(good, -1, 0).empty());
}

TEST(GazetteerReader, ChainWithoutTerminatorEndsAtTheFileEnd) {
    Bytes b = GazetteerWith({Dover(), Calais()});
    b.data.resize(b.size() - 2);  // no terminator
    EXPECT_EQ(ReadCell(b).size(), 2u);
    b.data.resize(b.size() - 1);  // the last record cut short
    EXPECT_EQ(ReadCell(b).size(), 1u);
}

TEST(GazetteerReader, VisitWrapsAcrossTheAntimeridian) {
    Bytes b = test::GazetteerHeader();
    const Bytes suva = test::LabelRecord(4, 178.44, -18.14, {{0, "Suva"}});
    const Bytes apia = test::LabelRecord(4, -171.76, -13.83, {{0, "Apia"}});
    b.setI32(test::GazetteerEntry(108, 358), static_cast<std::int64_t>(b.size()));
    b.data.insert(b.data.end(), suva.data.begin(), suva.data.end());
    b.u16(0);
    b.setI32(test::GazetteerEntry(103, 8), static_cast<std::int64_t>(b.size()));
    b.data.insert(b.data.end(), apia.data.begin(), apia.data.end());
    b.u16(0);
    GazetteerReader reader;
    ASSERT_TRUE(reader.openBytes(b.data));
    Collector c;
    EXPECT_TRUE(reader.visit(reader.cellRange(-12.0, -20.0, 175.0, 190.0), c));
    ASSERT_EQ(c.records.size(), 2u);
    EXPECT_EQ(c.records[0].chosenName(0), "Apia");  // the northern row comes first
    EXPECT_EQ(c.records[1].chosenName(0), "Suva");
    c.records.clear();
    c.stopAfter = 1;
    EXPECT_FALSE(reader.visit(reader.cellRange(-12.0, -20.0, 175.0, 190.0), c));
}

TEST(GazetteerReader, ReadsTheGeneratedFixture) {
    GazetteerReader reader;
    ASSERT_TRUE(reader.open(std::string(NORQ_FIXTURES) + "/chart/GEO_Bin/GEO_Item.bin"));
    Collector c;
    reader.visit(reader.cellRange(52.0, 50.0, 0.0, 3.0), c);
    bool strait = false;
    for (const auto& r : c.records) {
        if (r.chosenName(0) == "Strait of Dover") {
            strait = true;
            EXPECT_EQ(r.labelClass(), 2);
            EXPECT_EQ(r.chosenName(2), "多佛尔海峡");
            EXPECT_EQ(r.chosenName(1), "多佛爾海峽");
        }
    }
    EXPECT_TRUE(strait);
}

}  // namespace
}  // namespace norq::chart
