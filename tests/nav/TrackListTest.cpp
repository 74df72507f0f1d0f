// The own ship's track list file and track files on real files: byte-exact
// layouts, the 200-entry limit, hidden tracks, renames, truncated and junk files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "base/TempFolder.h"
#include "nav/TrackList.h"

namespace norq::nav {
namespace {

TrackEntry Entry(int i, bool visible = true) {
    TrackEntry e;
    e.name = "Leg " + std::to_string(i);
    e.fileName = "Track_" + std::to_string(i) + ".trk";
    e.startTime = "09/12/2026 08:00:00";
    e.stopTime = "09/12/2026 09:30:15";
    e.recordedSeconds = 5415 + i;
    e.pointCount = static_cast<std::int16_t>(100 + i);
    e.visible = visible;
    return e;
}

TrackRecord Point(int i) {
    TrackRecord r;
    r.lon = 1.25 + i * 0.001;
    r.lat = -50.5 - i * 0.002;
    r.course = 45.5f;
    r.speed = 12.25f;
    r.heading = i % 2 == 0 ? 511.0f : 44.0f;
    r.setTimeText("08:00:0" + std::to_string(i % 10));
    return r;
}

TEST(TrackListFile, LinesAreWrittenAndReadBackByteExact) {
    TrackEntry a = Entry(1);
    TrackEntry b = Entry(2, false);
    b.name.clear();  // written as one space
    const std::vector<TrackEntry> entries{a, b};
    const std::string text = FormatTrackList(entries);
    EXPECT_EQ(text,
              "Leg 1,Track_1.trk,09/12/2026 08:00:00,09/12/2026 09:30:15,5416,101,1\r\n"
              " ,Track_2.trk,09/12/2026 08:00:00,09/12/2026 09:30:15,5417,102,0\r\n");
    // The hidden track comes back too, and the text is the same again.
    const std::vector<TrackEntry> back = ParseTrackList(text);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], a);
    EXPECT_EQ(back[1], b);
    EXPECT_FALSE(back[1].visible);
    EXPECT_EQ(FormatTrackList(back), text);
}

TEST(TrackListFile, OnlyWellFormedLinesAreTakenAndAtMost200) {
    std::string text;
    for (int i = 0; i < 201; ++i)
        text += FormatTrackList(std::vector<TrackEntry>{Entry(i)});
    std::vector<TrackEntry> read = ParseTrackList(text);
    ASSERT_EQ(read.size(), 200u);
    EXPECT_EQ(read[199].name, "Leg 199");  // the 200th is kept, the 201st is not

    using namespace std::string_literals;
    const std::string junk = "a,b,c\r\n"s                        // too few commas
                             + "a,b,c,d,e,f,g,h\r\n"             // too many
                             + "\x01\xff,\x00junk,,,x,y,z\r\n"s  // numbers that are no numbers
                             + std::string(499, 'x') + ",f,s,t,1,2,1\r\n"  // over 498 characters
                             + "no line end,f,s,t,1,-5,7";  // last line without CR LF
    read = ParseTrackList(junk);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].recordedSeconds, 0);
    EXPECT_EQ(read[0].pointCount, 0);
    EXPECT_EQ(read[1].name, "no line end");
    EXPECT_EQ(read[1].pointCount, 0);  // a negative count reads as none
    EXPECT_TRUE(read[1].visible);
    // A line of 498 characters is taken, unless writing it again would make it
    // longer than that (an empty number is written as "0").
    EXPECT_EQ(ParseTrackList(std::string(486, 'n') + ",f,s,t,1,2,1").size(), 1u);
    EXPECT_EQ(ParseTrackList(std::string(487, 'n') + ",f,s,t,,2,1").size(), 0u);
    const std::string rewritten = FormatTrackList(ParseTrackList(junk));
    EXPECT_EQ(FormatTrackList(ParseTrackList(rewritten)), rewritten);
}

TEST(TrackListFile, NamesWithCommasOrLineBreaksAreRefused) {
    EXPECT_TRUE(TrackNameAcceptable("Dover - Calais (night)"));
    EXPECT_TRUE(TrackNameAcceptable("航迹 1"));
    EXPECT_TRUE(TrackNameAcceptable(""));
    EXPECT_FALSE(TrackNameAcceptable("Dover, Calais"));
    EXPECT_FALSE(TrackNameAcceptable("Dover\nCalais"));
    EXPECT_FALSE(TrackNameAcceptable("Dover\r"));
    EXPECT_FALSE(TrackNameAcceptable(std::string(201, 'a')));
    EXPECT_TRUE(PlainTrackFileName("Track_1.trk"));
    EXPECT_FALSE(PlainTrackFileName("../MOB.csv"));
    EXPECT_FALSE(PlainTrackFileName("/etc/passwd"));
    EXPECT_FALSE(PlainTrackFileName(".."));
    EXPECT_FALSE(PlainTrackFileName(""));
    EXPECT_EQ(FormatRecordTime(5415), "001h30m15s");
    EXPECT_EQ(FormatRecordTime(360000 + 61), "100h01m01s");
    EXPECT_EQ(FormatRecordTime(-5), "000h00m00s");
}

TEST(TrackListStore, EveryChangeIsSavedAndHiddenTracksSurviveAReload) {
    base::TempFolder folder;
    TrackList list;
    list.setFolder(folder.path(""));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(list.add(Entry(i)));
    folder.write("Track_1.trk", EncodeTrackFile(std::vector<TrackRecord>{Point(0)}));
    ASSERT_TRUE(list.save());

    ASSERT_TRUE(list.toggleVisible(0));
    ASSERT_TRUE(list.rename(2, "Harbour approach"));
    EXPECT_FALSE(list.rename(2, "bad,name"));  // refused, nothing changes
    TrackList again;
    again.setFolder(folder.path(""));
    again.load();
    ASSERT_EQ(again.count(), 3);
    EXPECT_FALSE(again[0].visible);  // hidden, and still listed
    EXPECT_EQ(again[2].name, "Harbour approach");
    // Saving what was read gives the same bytes.
    const std::string before = folder.read("TrackList.csv");
    ASSERT_TRUE(again.save());
    EXPECT_EQ(folder.read("TrackList.csv"), before);

    // Deleting moves the following entries up and removes the track's file.
    ASSERT_TRUE(again.remove(1));
    EXPECT_FALSE(std::filesystem::exists(folder.path("Track_1.trk")));
    again.load();
    ASSERT_EQ(again.count(), 2);
    EXPECT_EQ(again[1].name, "Harbour approach");

    // A list that holds 200 takes no 201st.
    TrackList full;
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(full.add(Entry(i)));
    EXPECT_FALSE(full.add(Entry(200)));
    EXPECT_EQ(full.count(), 200);
}

TEST(TrackListStore, AFailedWriteIsReportedAndKeepsTheTrack) {
    base::TempFolder folder;
    TrackList list;
    list.setFolder(folder.path("missing-folder/"));
    ASSERT_TRUE(list.add(Entry(0)));
    EXPECT_FALSE(list.save());
    EXPECT_FALSE(list.toggleVisible(0));
    EXPECT_FALSE(list.remove(0));
    EXPECT_EQ(list.count(), 1);  // the delete did not happen
    // A hostile file name is never opened nor deleted outside the folder.
    folder.write("outside.csv", "keep");
    TrackList hostile;
    hostile.setFolder(folder.path("nav/"));
    std::filesystem::create_directories(folder.path("nav"));
    TrackEntry e = Entry(0);
    e.fileName = "../outside.csv";
    hostile.add(e);
    EXPECT_EQ(hostile.trackPath(e), "");
    EXPECT_TRUE(hostile.remove(0));
    EXPECT_EQ(folder.read("outside.csv"), "keep");
}

TEST(TrackFile, RecordsAre37BytesLittleEndian) {
    TrackRecord r = Point(1);
    std::array<std::uint8_t, kTrackRecordSize> bytes{};
    EncodeTrackRecord(r, bytes);
    double lon = 0.0;
    float heading = 0.0f;
    std::memcpy(&lon, bytes.data(), 8);  // the machine is little-endian
    std::memcpy(&heading, bytes.data() + 24, 4);
    EXPECT_EQ(lon, r.lon);
    EXPECT_EQ(heading, 44.0f);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 28)), "08:00:01");
    EXPECT_EQ(bytes[36], 0);
    const TrackRecord back = DecodeTrackRecord(bytes);
    EXPECT_EQ(back.lon, r.lon);
    EXPECT_EQ(back.lat, r.lat);
    EXPECT_EQ(back.course, r.course);
    EXPECT_EQ(back.speed, r.speed);
    EXPECT_EQ(back.heading, r.heading);
    EXPECT_EQ(back.timeText(), "08:00:01");
    std::array<std::uint8_t, kTrackRecordSize> again{};
    EncodeTrackRecord(back, again);
    EXPECT_EQ(again, bytes);

    // A time field without its terminator reads as at most 8 characters.
    std::memset(bytes.data() + 28, 'A', 9);
    EXPECT_EQ(DecodeTrackRecord(bytes).timeText(), "AAAAAAAA");
}

TEST(TrackFile, ReadInBlocksNeverBeyondTheFileOrTheCount) {
    base::TempFolder folder;
    std::vector<TrackRecord> points;
    for (int i = 0; i < 1500; ++i)
        points.push_back(Point(i));
    const std::string bytes = EncodeTrackFile(points);
    ASSERT_EQ(bytes.size(), 1500u * 37u);
    folder.write("whole.trk", bytes);
    {
        TrackFileReader reader(folder.path("whole.trk"), 1500);
        EXPECT_EQ(reader.total(), 1500);
        std::vector<std::size_t> blocks;
        std::vector<TrackRecord> read;
        for (auto block = reader.nextBlock(); !block.empty(); block = reader.nextBlock()) {
            blocks.push_back(block.size());
            read.insert(read.end(), block.begin(), block.end());
        }
        EXPECT_EQ(blocks, (std::vector<std::size_t>{720, 720, 60}));
        EXPECT_EQ(EncodeTrackFile(read), bytes);  // byte-exact round trip
    }
    // A file cut in the middle of record 1000: 999 whole records, whatever the list says.
    folder.write("cut.trk", bytes.substr(0, 999 * 37 + 20));
    {
        TrackFileReader reader(folder.path("cut.trk"), 1500);
        EXPECT_EQ(reader.total(), 999);
        int n = 0;
        for (auto block = reader.nextBlock(); !block.empty(); block = reader.nextBlock())
            n += static_cast<int>(block.size());
        EXPECT_EQ(n, 999);
    }
    // A file longer than its count: only the counted records.
    folder.write("junk.trk", bytes + std::string(1000, '\xff'));
    EXPECT_EQ(TrackFileReader(folder.path("junk.trk"), 10).total(), 10);
    // Pure junk decodes to numbers and terminated texts, nothing else.
    std::string noise(37 * 5, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>(i * 131 + 7);
    folder.write("noise.trk", noise);
    TrackFileReader reader(folder.path("noise.trk"), 32767);
    for (const TrackRecord& r : reader.nextBlock())
        EXPECT_LE(r.timeText().size(), 8u);

    TrackRecord first;
    EXPECT_TRUE(ReadFirstTrackRecord(folder.path("cut.trk"), 1500, first));
    EXPECT_EQ(first.lon, points[0].lon);
    EXPECT_FALSE(ReadFirstTrackRecord(folder.path("cut.trk"), 0, first));
    folder.write("short.trk", bytes.substr(0, 36));
    EXPECT_FALSE(ReadFirstTrackRecord(folder.path("short.trk"), 5, first));
    EXPECT_FALSE(ReadFirstTrackRecord(folder.path("absent.trk"), 5, first));
    EXPECT_FALSE(TrackFileReader(folder.path(""), 5).isOpen());  // a folder is no track
}

}  // namespace
}  // namespace norq::nav
