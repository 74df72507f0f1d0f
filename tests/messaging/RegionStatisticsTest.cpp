// The channel regions heard from message 22 and the traffic count files: the
// region list's duplicates, removal and overflow, the inquiry over the count
// files, and count files that are short, long or missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "ais/RunState.h"
#include "messaging/ChannelRegions.h"
#include "messaging/TrafficStatistics.h"

namespace norq::test {
namespace {

using messaging::CivilDate;
using messaging::CountFileStatus;
using messaging::DayCounts;

ais::ChannelRegion Region(double base, int channelA = 8000) {
    return {119.970703 + base, 25.502785 + base, 121.333008 + base,
            21.779905 + base,  channelA,         9000};
}

class RegionRecorder final : public ais::TargetFollowUps {
  public:
    void AddChannelRegion(const ais::ChannelRegion& r) override {
        list.AddChannelRegion(r, "2011/11/08 10:00:00");
    }
    messaging::ChannelRegionList list;
};

TEST(ChannelRegionList, ARealMessage22IsStoredOnceWithItsFirstTime) {
    // A channel management broadcast of the gpsd sample recording
    // (tests/fixtures/gpsd/sample.aivdm); gpsdecode reads its corners as
    // 45.55N 73.5W and 42.333N 80.167W with channels 2087 and 2088.
    const char* line = "!AIVDM,1,1,,A,F030ot22N2P6aoQbhe4736L20000,0*1A\r\n";
    ais::ManualClock clock;
    auto run = std::make_unique<ais::RunState>(clock);
    RegionRecorder recorder;
    ais::TrackerConnections c;
    c.followUps = &recorder;
    run->tracker.connect(c);
    run->ReceiveLine(line, true);
    ASSERT_EQ(recorder.list.count(), 1);
    const messaging::ChannelRegion& r = recorder.list[0];
    EXPECT_NEAR(r.longitude1, -73.5, 1e-6);
    EXPECT_NEAR(r.latitude1, 45.55, 1e-6);
    EXPECT_NEAR(r.longitude2, -80.166667, 1e-5);
    EXPECT_NEAR(r.latitude2, 42.333333, 1e-5);
    EXPECT_EQ(r.channelA, 2087);
    EXPECT_EQ(r.channelB, 2088);
    run->ReceiveLine(line, true);
    EXPECT_EQ(recorder.list.count(), 1);

    const auto row = messaging::RegionRow(r, 0, "°");
    EXPECT_EQ(row.cells[0], "1");
    EXPECT_NE(row.cells[1].find('N'), std::string::npos);
    EXPECT_NE(row.cells[1].find(", "), std::string::npos);
    EXPECT_NE(row.cells[1].find('W'), std::string::npos);
    EXPECT_EQ(row.cells[3], "2087");
    EXPECT_EQ(row.cells[5], "2011/11/08 10:00:00");
}

TEST(ChannelRegionList, DuplicatesRemovalAndTheEleventhRegion) {
    messaging::ChannelRegionList list;
    EXPECT_EQ(list.rowCount(), 1);
    EXPECT_FALSE(list.remove(0));  // nothing to remove

    EXPECT_TRUE(list.AddChannelRegion(Region(0), "first"));
    // Same corners, other channels and time: still the same region.
    EXPECT_FALSE(list.AddChannelRegion(Region(0, 2087), "second"));
    EXPECT_EQ(list[0].updateTime, "first");
    EXPECT_EQ(list[0].channelA, 8000);
    // Only one corner value differs: a new region.
    ais::ChannelRegion other = Region(0);
    other.latitude2 += 1e-9;
    EXPECT_TRUE(list.AddChannelRegion(other, "x"));
    EXPECT_TRUE(list.remove(-1) == false);  // several rows, none selected
    EXPECT_TRUE(list.remove(1));
    // The only region goes whichever row is selected; one empty row stays.
    EXPECT_TRUE(list.remove(5));
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.rowCount(), 1);

    for (int i = 0; i < 3; ++i)
        list.AddChannelRegion(Region(i), std::to_string(i));
    EXPECT_TRUE(list.remove(1));  // row 2 of three: row 3 moves up
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list[1].updateTime, "2");
    EXPECT_EQ(messaging::RegionRow(list[1], 1, "°").cells[0], "2");

    list.clear();
    for (int i = 0; i < 11; ++i)
        list.AddChannelRegion(Region(i), std::to_string(i) + std::string(30, '.'));
    ASSERT_EQ(list.count(), messaging::ChannelRegionList::kCapacity);
    EXPECT_EQ(list[0].updateTime.substr(0, 1), "1");  // the oldest gave way
    EXPECT_EQ(list[9].updateTime.substr(0, 2), "10");
    EXPECT_EQ(list[9].updateTime.size(), messaging::ChannelRegionList::kUpdateTimeLength);
}

struct Days {
    std::map<int, DayCounts> days;
    messaging::DayReader reader() {
        return [this](const CivilDate& d, DayCounts& counts) {
            auto it = days.find(messaging::DateNumber(d));
            if (it == days.end()) return CountFileStatus::Missing;
            counts = it->second;
            return CountFileStatus::Ok;
        };
    }
};

DayCounts Ramp() {
    DayCounts c{};
    for (int i = 0; i < messaging::kSlotsPerDay; ++i)
        c[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i * 200);
    return c;
}

TEST(TrafficInquiry, SlotsLabelsColoursAndTheDayThatEndsIt) {
    Days store;
    store.days[20111108] = Ramp();
    DayCounts colours{};
    colours[120] = 50;
    colours[123] = 51;
    colours[126] = 70;
    colours[129] = 71;
    store.days[20111108] = colours;
    messaging::InquiryRequest r{{2011, 11, 8}, 600, {2011, 11, 8}, 660, 15};
    auto result = messaging::ShowTrafficStatistics(r, store.reader());
    ASSERT_EQ(result.points.size(), 5u);
    EXPECT_EQ(result.points[0].label, "11/08 10:00");
    EXPECT_EQ(result.points[1].label, "11/08 10:15");
    EXPECT_EQ(result.points[4].label, "11/08 11:00");
    EXPECT_EQ(result.points[0].colour, messaging::BarColour::Green);
    EXPECT_EQ(result.points[1].colour, messaging::BarColour::Default);
    EXPECT_EQ(result.points[2].colour, messaging::BarColour::Default);
    EXPECT_EQ(result.points[3].colour, messaging::BarColour::Red);
    EXPECT_EQ(result.points[3].count, 71);
    EXPECT_EQ(result.stop, CountFileStatus::Ok);

    // Across a month's end by calendar days: Nov 30 23:00 to Dec 1 00:30 every
    // 30 minutes; then Dec 2 is missing and ends the walk with Dec 1's points kept.
    store.days[20111130] = Ramp();
    store.days[20111201] = Ramp();
    r = {{2011, 11, 30}, 1380, {2011, 12, 3}, 30, 30};
    result = messaging::ShowTrafficStatistics(r, store.reader());
    ASSERT_EQ(result.points.size(), 2u + 48u);
    EXPECT_EQ(result.points[0].label, "11/30 23:00");
    EXPECT_EQ(result.points[0].count, 276 * 200);
    EXPECT_EQ(result.points[2].label, "12/01 00:00");
    EXPECT_EQ(result.points.back().label, "12/01 23:30");
    EXPECT_EQ(result.stop, CountFileStatus::Missing);
    EXPECT_EQ(messaging::DateNumber(result.stopDate), 20111202);

    // An end before the start reads nothing; an interval off the 5-minute
    // steps is taken to the step below, within 5-60.
    r = {{2011, 11, 9}, 0, {2011, 11, 8}, 0, 15};
    EXPECT_TRUE(messaging::ShowTrafficStatistics(r, store.reader()).points.empty());
    r = {{2011, 11, 8}, 0, {2011, 11, 8}, 1439, 7};
    EXPECT_EQ(messaging::ShowTrafficStatistics(r, store.reader()).points.size(), 288u);
    r.interval = 600;
    EXPECT_EQ(messaging::ShowTrafficStatistics(r, store.reader()).points.size(), 24u);
}

TEST(TrafficCountFile, RoundTripCounterAndDamagedFiles) {
    const auto dir = std::filesystem::temp_directory_path() / "norq-traffic-test";
    std::filesystem::remove_all(dir);
    const CivilDate day{2012, 2, 29};
    EXPECT_EQ(messaging::CountFileName(day), "TS20120229.dat");
    EXPECT_EQ(messaging::DateNumber(messaging::NextDay(day)), 20120301);

    // The counter creates the folder and the file, and keeps earlier slots.
    ASSERT_TRUE(messaging::RecordTargetCount(dir.string(), day, 4, 300));
    ASSERT_TRUE(messaging::RecordTargetCount(dir.string(), day, 1439, 70000));
    const std::string path = messaging::CountFilePath(dir.string(), day);
    EXPECT_EQ(std::filesystem::file_size(path), 576u);
    DayCounts read{};
    ASSERT_EQ(messaging::ReadDayCounts(path, read), CountFileStatus::Ok);
    EXPECT_EQ(read[0], 300);
    EXPECT_EQ(read[287], 65535);
    EXPECT_EQ(read[1], 0);
    // Little-endian on the disk, whatever the machine.
    std::ifstream in(path, std::ios::binary);
    char first[2];
    in.read(first, 2);
    EXPECT_EQ(static_cast<unsigned char>(first[0]), 300 & 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(first[1]), 300 >> 8);

    const DayCounts ramp = Ramp();
    ASSERT_TRUE(messaging::WriteDayCounts(path, ramp));
    ASSERT_EQ(messaging::ReadDayCounts(path, read), CountFileStatus::Ok);
    EXPECT_EQ(read, ramp);

    // Short, long and missing files: a clear status, the counts untouched.
    const DayCounts before = read;
    for (std::size_t size :
         {std::size_t{0}, std::size_t{575}, std::size_t{577}, std::size_t{5000}}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(size, '\xFF');
        EXPECT_EQ(messaging::ReadDayCounts(path, read), CountFileStatus::WrongSize) << size;
        EXPECT_EQ(read, before);
    }
    EXPECT_EQ(messaging::ReadDayCounts((dir / "TS20120301.dat").string(), read),
              CountFileStatus::Missing);
    // The inquiry stops at the damaged day.
    messaging::InquiryRequest r{day, 0, day, 60, 5};
    const auto result =
        messaging::ShowTrafficStatistics(r, messaging::FolderDayReader(dir.string()));
    EXPECT_TRUE(result.points.empty());
    EXPECT_EQ(result.stop, CountFileStatus::WrongSize);
    // The counter starts a damaged day afresh.
    ASSERT_TRUE(messaging::RecordTargetCount(dir.string(), day, 10, 7));
    ASSERT_EQ(messaging::ReadDayCounts(path, read), CountFileStatus::Ok);
    EXPECT_EQ(read[2], 7);
    EXPECT_EQ(read[0], 0);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace norq::test
