// The target-list export file.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "TrackerFakes.h"
#include "ais/TargetExport.h"

using namespace norq::ais;
using namespace norq::test;

namespace {

std::vector<std::string> SplitRows(const std::string& text) {
    std::vector<std::string> rows;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every row ends in CR LF";
        if (end == std::string::npos) break;
        rows.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return rows;
}

// RFC 4180 fields of one row that ends with a comma after its last cell.
std::vector<std::string> Cells(const std::string& row) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const char c = row[i];
        if (quoted) {
            if (c == '"' && i + 1 < row.size() && row[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            cells.push_back(cell);
            cell.clear();
        } else {
            cell += c;
        }
    }
    EXPECT_TRUE(cell.empty()) << "the last cell is followed by a comma";
    return cells;
}

}  // namespace

TEST(TargetExport, HeaderThenOwnShipThenTargetsWithQuotedCells) {
    ManualClock clock;
    TargetTracker tracker(clock);
    AisMessage m = Message(5, 211000001, AisLayoutId::StaticVoyage);
    SetText(m.staticVoyage.name, "ALPHA, \"BETA\"");
    SetText(m.staticVoyage.destination, "ROTTERDAM,NL");
    tracker.applyDecoded(m, {});
    tracker.applyDecoded(PositionReport(211000002, -4.5, 48.25), {});

    TextOptions options;
    const std::string text = FormatTargetExport(tracker.table(), options, DefaultColumnTitles());
    const std::vector<std::string> rows = SplitRows(text);
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::string> header = Cells(rows[0]);
    ASSERT_EQ(header.size(), kGridColumnCount);
    EXPECT_EQ(header[0], "NO");
    EXPECT_EQ(header[1], "MMSI");
    EXPECT_EQ(Cells(rows[1])[0], "Own");
    const std::vector<std::string> first = Cells(rows[2]);
    ASSERT_EQ(first.size(), kGridColumnCount);
    EXPECT_EQ(first[1], "211000001");
    EXPECT_EQ(first[5], "ALPHA, \"BETA\"");
    EXPECT_EQ(first[19], "ROTTERDAM,NL");
    const std::vector<std::string> second = Cells(rows[3]);
    ASSERT_EQ(second.size(), kGridColumnCount);
    EXPECT_NE(second[15].find("°"), std::string::npos);  // UTF-8 degree sign
    EXPECT_NE(second[15].find('W'), std::string::npos);
}

TEST(TargetExport, FailedWriteKeepsTheOldFile) {
    ManualClock clock;
    TargetTracker tracker(clock);
    const std::string path = ::testing::TempDir() + "export.csv";
    {
        std::ofstream old(path);
        old << "old";
    }
    ASSERT_TRUE(WriteTargetExport(path, tracker.table(), {}, DefaultColumnTitles()));
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_EQ(s.str().rfind("NO,MMSI,", 0), 0u);
    EXPECT_FALSE(
        WriteTargetExport("/nonexistent-dir/x.csv", tracker.table(), {}, DefaultColumnTitles()));
    std::remove(path.c_str());
}
