// Monitored and friend marks (and how they move when a target ages out), the
// friend file, and the AtoN lantern texts and command on the wire.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "ais/RunState.h"
#include "crew/MobLines.h"
#include "messaging/AtonLantern.h"
#include "messaging/ShipMarks.h"

namespace norq::test {
namespace {

class ShipMarksTest : public ::testing::Test {
  protected:
    ShipMarksTest() : run(std::make_unique<ais::RunState>(clock)) {
        marks = std::make_unique<messaging::ShipMarks>(run->tracker.table(), friends);
        ais::TrackerConnections c;
        c.followUps = marks.get();
        run->tracker.connect(c);
    }
    void vessel(std::uint32_t mmsi) {
        Vessel v;
        v.mmsi = mmsi;
        v.longitude = 1.4;
        v.latitude = 51.0;
        v.sog = 10.0f;
        run->ReceiveLine(AisSentences(PositionReport(v)).front(), true);
    }

    ais::ManualClock clock;
    std::unique_ptr<ais::RunState> run;
    messaging::FriendList friends;
    std::unique_ptr<messaging::ShipMarks> marks;
};

TEST_F(ShipMarksTest, MarksMoveWithTheTableWhenATargetInFrontAgesOut) {
    vessel(111000001);
    clock.advance(1800);
    vessel(222000002);
    vessel(333000003);
    const messaging::FriendRow rows[] = {{"333000003", "PAL", "", "Y"},
                                         {"222000002", "NOT A PAL", "", "N"}};
    ASSERT_TRUE(friends.setFromRows(rows, 2));
    marks->refreshFriendMarks();
    marks->addMonitored(2);
    EXPECT_TRUE(marks->isMonitored(2));
    EXPECT_TRUE(marks->isFriend(3));
    EXPECT_FALSE(marks->isFriend(2));  // listed with friend flag 0
    EXPECT_EQ(marks->symbolHint(2).substr(0, 14), "MMSI:222000002");
    EXPECT_NE(marks->symbolHint(2).find("Monitored:Monitored"), std::string::npos);

    // The first target ages out: every mark moves down by one.
    clock.advance(1801);
    vessel(222000002);
    vessel(333000003);
    ASSERT_EQ(run->tracker.AgeTargets(), 1);
    EXPECT_EQ(run->tracker.table()[1].mmsi, 222000002u);
    EXPECT_TRUE(marks->isMonitored(1));
    EXPECT_FALSE(marks->isMonitored(2));
    EXPECT_TRUE(marks->isFriend(2));
    EXPECT_FALSE(marks->isFriend(1));
    EXPECT_EQ(marks->monitoredCount(), 1);

    marks->removeMonitoredMmsi(222000002);
    EXPECT_FALSE(marks->isMonitored(1));
    EXPECT_NE(marks->symbolHint(1).find("Not Monitored"), std::string::npos);
    EXPECT_EQ(marks->monitoredCount(), 0);
}

TEST(FriendList, GridRulesAndTheFile) {
    EXPECT_EQ(messaging::NormalisedMmsiCell(" 12345 "), "000012345");
    EXPECT_EQ(messaging::NormalisedMmsiCell("abc"), "000000000");
    EXPECT_EQ(messaging::NormalisedFriendCell("y"), "Y");
    EXPECT_EQ(messaging::NormalisedFriendCell("x"), "N");

    messaging::FriendList list;
    const messaging::FriendRow rows[] = {{"000000000", "ZERO", "", "Y"},
                                         {"", "EMPTY", "", "Y"},
                                         {"235000001", "ALPHA", "\xE9\x98\xBF", "Y"},
                                         {"235000002", "BRAVO", "", "N"}};
    ASSERT_TRUE(list.setFromRows(rows, 4));
    EXPECT_EQ(list.count(), 2);  // rows without an MMSI are dropped
    EXPECT_EQ(list.FileText(), "235000001,ALPHA,\xE9\x98\xBF,1\n235000002,BRAVO,,0\n");
    // A name with a comma would break the file: refused, the list unchanged.
    const messaging::FriendRow bad[] = {{"235000003", "SMITH, J", "", "Y"}};
    EXPECT_FALSE(list.setFromRows(bad, 1));
    EXPECT_EQ(list.count(), 2);

    const auto dir = std::filesystem::temp_directory_path() / "norq-buddy-test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "buddy.csv").string();
    ASSERT_TRUE(list.Save(path));
    messaging::FriendList again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_TRUE(again.IsFriend(235000001));
    EXPECT_FALSE(again.IsFriend(235000002));
    std::filesystem::remove_all(dir);

    again.ParseFile("235000009, ,LOCAL,\n,X,,1\n235000010,LAST,,1");
    ASSERT_EQ(again.count(), 3);
    EXPECT_EQ(std::string(again[0].englishName.data()), "");
    EXPECT_EQ(again[0].friendFlag, 0);  // an empty flag is no friend
    EXPECT_EQ(again[1].mmsi, 999999999u);
    EXPECT_TRUE(again.IsFriend(235000010));  // the last line without LF is kept
}

TEST(AtonLantern, StatusTexts) {
    ais::TargetRecord t;
    t.lanternMode = 0x80;
    t.lanternCurrent = 0.25f;
    t.lanternStatus = 0x20;
    t.lanternVoltage = 12.5f;
    messaging::LanternTexts texts = messaging::LanternStatusTexts(t);
    EXPECT_EQ(texts.mode, "FORCED ON");
    EXPECT_EQ(texts.light, "ON,Low Voltage");
    EXPECT_EQ(texts.voltage, "12.500");
    EXPECT_EQ(texts.current, "0.250");
    t.lanternMode = 0xC5;
    t.lanternCurrent = 0.1f;  // a float slightly above 0.1
    t.lanternStatus = 0x22;
    texts = messaging::LanternStatusTexts(t);
    EXPECT_EQ(texts.mode, "");
    EXPECT_EQ(texts.light, "ON,Error,Low Voltage");
    t.lanternCurrent = 0.0999f;
    t.lanternMode = 0x40;
    t.lanternStatus = 0x02;
    texts = messaging::LanternStatusTexts(t);
    EXPECT_EQ(texts.mode, "FORCED OFF");
    EXPECT_EQ(texts.light, "OFF,Error");

    t.atonRegional = 1;
    t.atonFlags = 1;
    t.toBow = 0x3FF;
    t.toPort = 0x7F;
    const messaging::AtonOwnFields d = messaging::AtonOwnFieldTexts(t);
    EXPECT_EQ(d.status, "Alarm");
    EXPECT_EQ(d.positionIndicator, "Off position");
    EXPECT_EQ(d.dimensionA, "511");
    EXPECT_EQ(d.dimensionC, "63");
}

// The sensor port control's send path, composing from the codec as it does.
struct ComposingSender : ais::SentenceSender {
    codec::SentenceCodec& codec;
    std::vector<std::string> lines;
    explicit ComposingSender(codec::SentenceCodec& c) : codec(c) {}
    bool SendSentence(int sensor, std::string_view talker, std::string_view formatter) override {
        codec::SentenceText text;
        if (sensor != ais::kAisSensor || !codec.ComposeFromStore(talker, formatter, text))
            return false;
        lines.emplace_back(text.view());
        return true;
    }
};

TEST(AtonLantern, CommandsOnTheWire) {
    codec::SentenceCodec codec;
    ComposingSender sender(codec);
    EXPECT_TRUE(messaging::SendLanternCommand(codec, sender, messaging::LanternMode::ForcedOff));
    EXPECT_TRUE(messaging::SendLanternCommand(codec, sender, messaging::LanternMode::ForcedOn));
    EXPECT_TRUE(messaging::SendLanternCommand(codec, sender, messaging::LanternMode::Auto));
    ASSERT_EQ(sender.lines.size(), 3u);
    EXPECT_EQ(sender.lines[0].substr(0, 39), "$PDBG,300,2,,-100000,,-100000,,-100000*");
    EXPECT_EQ(sender.lines[1].substr(0, 12), "$PDBG,300,1,");
    EXPECT_EQ(sender.lines[2].substr(0, 12), "$PDBG,300,3,");
    codec::SentenceRecord parsed;
    EXPECT_EQ(codec::ParseSentence(sender.lines[0], parsed), codec::ParseStatus::Ok);
}

}  // namespace
}  // namespace norq::test
