// The device list's file, its editing rules and the texts its window shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "crew/AisMobList.h"

namespace norq::test {
namespace {

class AisMobFileTest : public ::testing::Test {
  protected:
    ais::ManualClock clock;
    ais::TargetTable table;
    crew::AisMobList list{clock, table};
};

TEST_F(AisMobFileTest, ReadsTheFileLineByLine) {
    list.ParseFile(
        "972001234,BOSUN\n"
        "\n"
        "970000001, \n"
        ",NO NUMBER\n"
        "972000002\r\n"
        "972000003,LAST LINE WITHOUT LF");
    ASSERT_EQ(list.count(), 5);
    EXPECT_EQ(list.entry(0).nameView(), "BOSUN");
    EXPECT_EQ(list.entry(1).nameView(), "");
    EXPECT_EQ(list.entry(2).mmsi, 999999999u);
    EXPECT_EQ(list.entry(3).mmsi, 972000002u);
    EXPECT_EQ(list.entry(3).nameView(), "");
    // A last line without its line feed is kept, not lost.
    EXPECT_EQ(list.entry(4).nameView(), "LAST LINE WITHOUT LF");
}

TEST_F(AisMobFileTest, StopsAtAnOverlongLine) {
    list.ParseFile("972000001,A\n" + std::string(120, 'x') + "\n972000002,B\n");
    EXPECT_EQ(list.count(), 1);
}

TEST_F(AisMobFileTest, SavesAtomicallyAndReadsBack) {
    const auto dir = std::filesystem::temp_directory_path() / "norq-mob-file-test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "AIS_MOB_List.csv").string();
    list.Add(972001234, "BOSUN");
    list.Add(970000042, "LIFERAFT 1");
    ASSERT_TRUE(list.Save(path));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "972001234,BOSUN\n970000042,LIFERAFT 1\n");
    crew::AisMobList again(clock, table);
    EXPECT_TRUE(again.Load(path));
    EXPECT_EQ(again.count(), 2);
    // A missing file leaves the list empty without complaint.
    crew::AisMobList none(clock, table);
    EXPECT_TRUE(none.Load((dir / "missing.csv").string()));
    EXPECT_EQ(none.count(), 0);
    std::filesystem::remove_all(dir);
}

TEST_F(AisMobFileTest, NamesThatWouldBreakTheFileAreRefused) {
    EXPECT_EQ(list.Add(972001234, "SMITH, J"), crew::MobEditResult::BadName);
    EXPECT_EQ(list.Add(972001234, "TWO\nLINES"), crew::MobEditResult::BadName);
    EXPECT_EQ(list.Add(972001234, "CR\rHERE"), crew::MobEditResult::BadName);
    EXPECT_EQ(list.count(), 0);
    ASSERT_EQ(list.Add(972001234, "SMITH J"), crew::MobEditResult::Done);
    EXPECT_EQ(list.Edit(0, 972001234, "A,B"), crew::MobEditResult::BadName);
    EXPECT_EQ(list.entry(0).nameView(), "SMITH J");
    EXPECT_TRUE(crew::NameAllowedInCsv("\xE5\xB0\x8F\xE6\x98\x8E"));  // UTF-8 is fine
}

TEST_F(AisMobFileTest, DeviceEditChecksTheMmsi) {
    list.Add(972001234, "BOSUN");
    const std::array<std::string, 5> messages{"MMSI not long enough", "MMSI has invalid character",
                                              "MMSI is now 000000000", "MMSI is being used",
                                              "MMSI is invalid AIS MOB number"};
    auto warning = [&](std::string_view text, bool editable = true) {
        return crew::AisMobWarningText(crew::ValidateAisMobMmsi(text, editable, list), messages);
    };
    EXPECT_EQ(warning("97200012"), "MMSI not long enough, MMSI has invalid character");
    EXPECT_EQ(warning("123456789"), "MMSI is invalid AIS MOB number");
    EXPECT_EQ(warning("000000000"), "MMSI is now 000000000");
    EXPECT_EQ(warning("972001234"), "MMSI is being used");
    EXPECT_EQ(warning("972001234", false), "");
    EXPECT_EQ(warning("97200123a"), "MMSI has invalid character");
    EXPECT_EQ(warning("970000042"), "");
}

TEST_F(AisMobFileTest, CellsShowAlarmDataOnlyWhileActive) {
    list.Add(972001234, "BOSUN");
    EXPECT_EQ(crew::AisMobCellText(list.entry(0), 0, "dd/MM/yyyy"), "972001234");
    EXPECT_EQ(crew::AisMobCellText(list.entry(0), 2, "dd/MM/yyyy"), "");
    ais::TargetRecord& t = table[0];
    t.mmsi = 972001234;
    t.longitude = 1.5f;
    t.latitude = -50.25f;
    t.range = 2.5f;
    t.bearing = 45.0f;
    clock.setLocal({{2026, 3, 4}, {5, 6, 7}});
    list.ReportAisMobActive(t, true);
    const crew::AisMobEntry& e = list.entry(0);
    EXPECT_EQ(crew::AisMobCellText(e, 2, "dd/MM/yyyy"), " 50\u00B015.000S");
    EXPECT_EQ(crew::AisMobCellText(e, 3, "dd/MM/yyyy"), "  1\u00B030.000E");
    EXPECT_EQ(crew::AisMobCellText(e, 4, "dd/MM/yyyy"), "  2.50 nm");
    EXPECT_EQ(crew::AisMobCellText(e, 5, "dd/MM/yyyy"), " 45.0\u00B0");
    EXPECT_EQ(crew::AisMobCellText(e, 6, "dd/MM/yyyy"), "04/03/2026 05:06:07");
    // Without a position (a message 14 only) the position cells read N/A.
    crew::AisMobList other(clock, table);
    other.Add(972001234, "BOSUN");
    other.ReportAisMobActive(t, false);
    EXPECT_EQ(crew::AisMobCellText(other.entry(0), 2, "dd/MM/yyyy"), "N/A");
    EXPECT_EQ(crew::AisMobCellText(other.entry(0), 4, "dd/MM/yyyy"), "N/A");
}

TEST_F(AisMobFileTest, HeaderSortIsRefusedDuringAnAlarm) {
    list.Add(972000002, "ZULU");
    list.Add(972000001, "alpha");
    list.Timer1Tick();
    ASSERT_TRUE(list.SortByColumn(1, "dd/MM/yyyy"));
    EXPECT_EQ(list.entry(0).nameView(), "alpha");
    table[0].mmsi = 972000002;
    list.ReportAisMobActive(table[0], false);
    list.Timer1Tick();
    EXPECT_FALSE(list.SortByColumn(0, "dd/MM/yyyy"));
    // Alarm rows can be neither edited nor deleted.
    EXPECT_EQ(list.Delete(0), crew::MobEditResult::AlarmRow);
    EXPECT_EQ(list.Delete(1), crew::MobEditResult::Done);
}

}  // namespace
}  // namespace norq::test
