// The device file MOB.csv, the event file MOB_Event.csv and the care slots:
// what is written reads back, hand-written lines read as the format says, and
// the files are complete on the disk the moment an event has been handled.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "CrewTestSupport.h"
#include "base/Files.h"

namespace norq::crew {
namespace {

using test::CrewFixture;
using test::TempFolder;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(CrewDeviceFile, AHandWrittenLineReadsAsTheFormatSays) {
    ManualCrewClock clock;
    CrewDeviceTable table(clock);
    CareSlots care;
    ParseCrewDeviceFile("147:250:047,01,Deck 1,2, ,{Diabetic}\n", table, care);
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table[0].id.text(), "147.250.047");
    EXPECT_EQ(table[0].type, CrewDeviceType::Pendant);
    EXPECT_EQ(table[0].name, "Deck 1");
    EXPECT_EQ(table[0].notes, "Diabetic");
    EXPECT_EQ(table[0].state, CrewDeviceState::Off);
    EXPECT_EQ(care[2].row, 0);
    EXPECT_EQ(care[2].photoPath, "");
    EXPECT_EQ(care[0].row, -1);
}

TEST(CrewDeviceFile, NamesPathsAndNotesOfEveryKindRoundTrip) {
    ManualCrewClock clock;
    CrewDeviceTable table(clock);
    CareSlots care;
    // A photo path far beyond one line of 159 characters, with commas in it.
    const std::string photo = "/home/crew/Pictures/" + std::string(300, 'p') + ", copy (2).jpg";
    CrewDevice a;
    a.id = {{147, 250, 47}};
    a.name = "Åsa Lindström";  // 13 characters, 15 bytes
    a.notes = "Insulin, cabin 12; allergic to penicillin";
    CrewDevice b;
    b.id = {{1, 2, 3}};
    b.type = CrewDeviceType::Repeater;
    b.name = "王小明";
    b.notes = "";
    CrewDevice c;
    c.id = {{9, 9, 9}};  // no name, no notes, no slot
    ASSERT_TRUE(table.append(a));
    ASSERT_TRUE(table.append(b));
    ASSERT_TRUE(table.append(c));
    care[0] = {1, ""};
    care[3] = {0, photo};

    const std::string text = CrewDeviceFileText(table, care);
    CrewDeviceTable again(clock);
    CareSlots careAgain;
    ParseCrewDeviceFile(text, again, careAgain);
    ASSERT_EQ(again.count(), 3);
    EXPECT_EQ(again[0].name, a.name);
    EXPECT_EQ(again[0].notes, a.notes);
    EXPECT_EQ(again[1].name, b.name);
    EXPECT_EQ(again[1].type, CrewDeviceType::Repeater);
    EXPECT_EQ(again[2].name, "");
    EXPECT_EQ(careAgain[3].row, 0);
    EXPECT_EQ(careAgain[3].photoPath, photo);
    EXPECT_EQ(careAgain[0].row, 1);
    EXPECT_EQ(CrewDeviceFileText(again, careAgain), text);
}

TEST(CrewDeviceFile, BrokenLinesAreSkippedAndTheRestIsRead) {
    ManualCrewClock clock;
    CrewDeviceTable table(clock);
    CareSlots care;
    ParseCrewDeviceFile(
        "147:250:047,01,Deck 1,2, ,Diabetic\n"        // notes without braces
        "147:250,01,Deck 2,-1, ,{}\n"                 // two ID parts
        "300:001:002,01,Deck 3,-1, ,{}\n"             // not a byte
        "001:002:003,07,Bridge,9,/photo.jpg,{x}\r\n"  // type above 4, slot above 3
        "001:002:004,01, ,-1, ,{}",                   // no final line feed
        table, care);
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table[0].type, CrewDeviceType::Unknown);
    EXPECT_EQ(table[0].notes, "x");
    for (const CareSlot& s : care)
        EXPECT_EQ(s.row, -1);
    EXPECT_EQ(table[1].name, "");
}

TEST(CrewDeviceFile, OverlongTextsAreCutAtACharacter) {
    std::string many;
    for (int i = 0; i < 23; ++i)
        many += "Å";
    const std::string cut = LimitCharacters(many, 20);
    EXPECT_EQ(cut.size(), 40u);  // 20 characters of two bytes, none split
    EXPECT_EQ(LimitCharacters("王小明王小明王小明王小明王小明王小明王小明", 20).size(), 60u);
    EXPECT_EQ(LimitCharacters("abc", 20), "abc");
}

TEST(CrewEdits, ACommaOrALineBreakInANameIsRefused) {
    CrewFixture f;
    f.receive("$PMOB,93FA2F,1,01,D2,000000");
    EXPECT_FALSE(f.watch.EditDevice(0, "Deck, aft", ""));
    EXPECT_FALSE(f.watch.EditDevice(0, "Deck\naft", ""));
    EXPECT_FALSE(f.watch.EditDevice(0, "Deck", "line\r\nbreak"));
    EXPECT_EQ(f.watch.table()[0].name, "");
    EXPECT_TRUE(f.watch.EditDevice(0, "Deck 1", "Needs glasses, left pocket"));
    EXPECT_EQ(f.watch.table()[0].notes, "Needs glasses, left pocket");
}

TEST(CareSlots, RemovingARowEmptiesItsSlotAndTheLaterSlotsFollowTheirDevices) {
    CrewFixture f;
    TempFolder dir;
    f.watch.LoadFiles(dir.file("MOB.csv"), dir.file("MOB_Event.csv"));
    f.receive("$PMOB,000001,1,01,D2,000000");
    f.receive("$PMOB,000002,1,01,D2,000000");
    f.receive("$PMOB,000003,1,01,D2,000000");
    f.watch.SetCareSlot(0, 0);
    f.watch.SetCareSlot(1, 1);
    f.watch.SetCarePhoto(1, "/photos/two.jpg");
    f.watch.SetCareSlot(2, 2);
    f.receive("$PMOB,000002,1,08,D2,000000");
    ASSERT_TRUE(f.watch.RemoveDevice(1));
    EXPECT_EQ(f.watch.care()[0].row, 0);
    EXPECT_EQ(f.watch.care()[1].row, -1);
    EXPECT_EQ(f.watch.care()[1].photoPath, "");
    EXPECT_EQ(f.watch.care()[2].row, 1);
    EXPECT_EQ(f.watch.table()[f.watch.care()[2].row].id.text(), "000.000.003");
    // Only an OFF device can be removed.
    EXPECT_FALSE(f.watch.RemoveDevice(0));
    // The removal reached the file at once.
    EXPECT_EQ(ReadAll(dir.file("MOB.csv")), "000:000:001,01, ,0, ,{}\n000:000:003,01, ,2, ,{}\n");
}

TEST(CareSlots, SortingKeepsEachSlotOnItsDevice) {
    CrewFixture f;
    f.receive("$PMOB,000001,1,01,D2,000000");
    f.receive("$PMOB,000002,1,01,D2,000000");
    f.receive("$PMOB,000002,1,08,D2,000000");
    f.watch.EditDevice(0, "Bravo", "");
    f.watch.EditDevice(1, "Alpha", "");
    f.watch.SetCareSlot(3, 0);  // Bravo
    f.watch.SortByColumn(2);
    EXPECT_EQ(f.watch.table()[0].name, "Alpha");
    EXPECT_EQ(f.watch.table()[f.watch.care()[3].row].name, "Bravo");
    // The same column again reverses the order.
    f.watch.SortByColumn(2);
    EXPECT_EQ(f.watch.table()[0].name, "Bravo");
    EXPECT_EQ(f.watch.table()[f.watch.care()[3].row].name, "Bravo");
    // Ascending by state puts OFF ("0") last, whatever came before.
    f.watch.SortByColumn(3);
    EXPECT_EQ(f.watch.table()[0].name, "Bravo");
    EXPECT_EQ(f.watch.table()[1].state, CrewDeviceState::Off);
}

TEST(CrewEventFile, AHandWrittenLineReadsAsTheFormatSays) {
    ManualCrewClock clock;
    CrewDeviceTable table(clock);
    CrewDevice d;
    d.id = {{147, 250, 47}};
    d.name = "Deck 1";
    table.append(d);
    CrewEventLog log;
    log.ParseFile(
        "1700000000,147:250:047,03, 121.500000,  25.000000,Controller,000.000.000,\n"
        "1700000001,147:250:047,02, 121.500000,  25.000000,B,000.000.009,\n"
        "1700000002,147:250:047,02, 121.500000,  25.000000, ,000.000.009,\n"
        " 1700000003,147:250:047,02, 121.5,  25.0,Zone,000.000.009,\n"  // leading space
        "1700000004,147:250:047,02, ,  25.0,Zone,000.000.009,\n",       // blank longitude
        table);
    ASSERT_EQ(log.count(), 3);
    // The file lists the newest first; so does the log.
    const CrewEvent& newest = log.newest(0);
    EXPECT_EQ(newest.type, CrewEventType::MobSos);
    EXPECT_EQ(newest.time, 1700000000);
    EXPECT_EQ(newest.name, "Deck 1");
    EXPECT_FLOAT_EQ(newest.longitude, 121.5f);
    EXPECT_FLOAT_EQ(newest.latitude, 25.0f);
    EXPECT_EQ(newest.zoneName, "Controller");
    // A one-letter zone name is a name; a blank one reads as a single space.
    EXPECT_EQ(log.newest(1).zoneName, "B");
    EXPECT_EQ(log.newest(2).zoneName, " ");
}

TEST(CrewEventFile, TheRingKeepsTheLastHundredAndASaveKeepsTheirOrder) {
    CrewFixture f;
    for (int i = 0; i < 105; ++i) {
        const int id = i + 1;
        char body[64];
        std::snprintf(body, sizeof body, "$PMOB,0000%02X,1,02,D2,000000", id);
        f.receive(body);
        f.clock.advance(1);
    }
    const CrewEventLog& log = f.watch.events();
    EXPECT_EQ(log.count(), 100);
    EXPECT_EQ(log.writeIndex(), 5);
    EXPECT_EQ(log.newest(0).deviceId.text(), "000.000.105");
    EXPECT_EQ(log.newest(99).deviceId.text(), "000.000.006");

    CrewEventLog again;
    again.ParseFile(log.FileText(), f.watch.table());
    ASSERT_EQ(again.count(), 100);
    for (int n = 0; n < 100; ++n) {
        EXPECT_EQ(again.newest(n).deviceId, log.newest(n).deviceId) << n;
        EXPECT_EQ(again.newest(n).time, log.newest(n).time) << n;
    }
    EXPECT_EQ(again.FileText(), log.FileText());
}

TEST(CrewEventFile, TimesBeyond2038AndFarCoordinatesRoundTrip) {
    CrewEventLog log;
    log.RecordGpsEvent(true, -179.999999, -89.5, 4102444800);  // 2100-01-01
    ManualCrewClock clock;
    CrewDeviceTable table(clock);
    CrewEventLog again;
    again.ParseFile(log.FileText(), table);
    ASSERT_EQ(again.count(), 1);
    EXPECT_EQ(again.newest(0).time, 4102444800);
    EXPECT_EQ(again.newest(0).type, CrewEventType::GpsFixed);
    EXPECT_NEAR(again.newest(0).longitude, -179.999999, 1e-4);
}

TEST(CrewFiles, AnSosHandledIsOnTheDiskWhenTheProgramIsKilledRightAfter) {
    TempFolder dir;
    const std::string devices = dir.file("MOB.csv");
    const std::string events = dir.file("MOB_Event.csv");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        CrewFixture f;
        f.watch.LoadFiles(devices, events);
        codec::Mob m;
        test::ParseMob("$PMOB,93FA2F,1,01,D2,000000", m);
        f.watch.OnMobSentence(m, 5.3, 60.4);
        f.watch.EditDevice(0, "Åsa", "Diabetic");
        test::ParseMob("$PMOB,93FA2F,1,02,D2,000000", m);
        f.watch.OnMobSentence(m, 5.3, 60.4);
        // Killed the moment the SOS was handled: no exit path runs.
        ::raise(SIGKILL);
        ::_exit(0);
    }
    ::close(ready[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(ready[0]);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);

    EXPECT_EQ(ReadAll(devices), "147:250:047,01,Åsa,-1, ,{Diabetic}\n");
    ManualCrewClock clock;
    CrewWatch reread(clock);
    reread.LoadFiles(devices, events);
    ASSERT_EQ(reread.events().count(), 1);
    EXPECT_EQ(reread.events().newest(0).type, CrewEventType::MobSos);
    EXPECT_EQ(reread.events().newest(0).name, "Åsa");
    EXPECT_FLOAT_EQ(reread.events().newest(0).latitude, 60.4f);
    // No temporary file was left behind beside them.
    int files = 0;
    for ([[maybe_unused]] const auto& e :
         std::filesystem::directory_iterator(std::filesystem::path(devices).parent_path()))
        ++files;
    EXPECT_EQ(files, 2);
}

}  // namespace
}  // namespace norq::crew
