// Safety related messages from received lines to the alert, the in-box and the
// confirmation of an own message, and the BBM sentence of a sent one.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ais/RunState.h"
#include "crew/AisMobList.h"
#include "crew/MobLines.h"
#include "messaging/SafetyMessages.h"

namespace norq::test {
namespace {

using messaging::SrmState;

struct FakeSrmView : messaging::SafetyMessageView {
    int alerts = 0;
    std::string note;
    std::vector<std::string> boxes;
    std::string label;
    int inBoxChanges = 0;
    void inBoxChanged() override { ++inBoxChanges; }
    void alertChanged(int count, std::string_view n) override {
        alerts = count;
        note = std::string(n);
    }
    void showMessage(std::string_view caption, std::string_view text) override {
        boxes.push_back(std::string(caption) + "|" + std::string(text));
    }
    void setSentLabel(std::string_view text) override { label = std::string(text); }
};

struct RecordingPort : messaging::AisPortWriter {
    bool open = true;
    std::vector<std::string> lines;
    bool writeToAisPort(std::string_view line) override {
        if (!open) return false;
        lines.emplace_back(line);
        return true;
    }
};

constexpr std::uint32_t kOwn = 235099001;

class SafetyMessagesTest : public ::testing::Test {
  protected:
    SafetyMessagesTest() : run(std::make_unique<ais::RunState>(clock)) {
        mob = std::make_unique<crew::AisMobList>(clock, run->tracker.table());
        srm = std::make_unique<messaging::SafetyMessages>(clock, run->tracker);
        srm->setView(&view);
        srm->setWriter(&port);
        srm->setNames(mob.get());
        ais::TrackerConnections c;
        c.mobList = mob.get();
        c.followUps = srm.get();
        run->tracker.connect(c);
    }
    void feed(const std::string& line) { run->ReceiveLine(line, true); }

    ais::ManualClock clock;
    std::unique_ptr<ais::RunState> run;
    std::unique_ptr<crew::AisMobList> mob;
    std::unique_ptr<messaging::SafetyMessages> srm;
    FakeSrmView view;
    RecordingPort port;
};

TEST_F(SafetyMessagesTest, AddressedMessageToTheOwnShipRaisesTheAlert) {
    feed(AddressedSafety(538009101, kOwn, "PLEASE KEEP CLEAR"));
    EXPECT_EQ(view.alerts, 1);
    EXPECT_EQ(view.note, "From: 538009101\nTo: 235099001\nMessage: PLEASE KEEP CLEAR\n");
    ASSERT_EQ(srm->inBox().count(), 1);
    EXPECT_EQ(srm->inBox()[0].mmsi, 538009101u);
    EXPECT_EQ(srm->inBox()[0].textView(), "PLEASE KEEP CLEAR");
}

TEST_F(SafetyMessagesTest, BroadcastFromARegisteredSenderNamesIt) {
    mob->Add(972001234, "BOSUN");
    feed(SafetyBroadcast(227123402, "FERRY LEAVING CALAIS"));
    feed(SafetyBroadcast(972001234, "MOB ACTIVE"));
    EXPECT_EQ(view.alerts, 2);
    EXPECT_EQ(view.note, "From: BOSUN\nMessage: MOB ACTIVE\n");
    EXPECT_EQ(srm->inBox()[0].mmsi, 972001234u);  // the in-box keeps the number
    srm->clearAlert();
    EXPECT_EQ(srm->alertCount(), 0);
}

TEST_F(SafetyMessagesTest, DeviceTestTransmissionIsKeptAsATestWithoutAlert) {
    feed(SafetyBroadcast(970111222, "SART TEST"));
    EXPECT_EQ(view.alerts, 0);
    ASSERT_EQ(srm->inBox().count(), 1);
    EXPECT_EQ(srm->inBox()[0].state, SrmState::ReceivedTest);
    // The same words from an ordinary ship are an ordinary message.
    feed(SafetyBroadcast(235001000, "SART TEST"));
    EXPECT_EQ(view.alerts, 1);
}

TEST_F(SafetyMessagesTest, TheTwentyFirstMessageDropsTheOldest) {
    for (int i = 0; i < 21; ++i)
        feed(SafetyBroadcast(235000000 + i, "MSG " + std::to_string(i)));
    EXPECT_EQ(srm->inBox().count(), 20);
    EXPECT_EQ(srm->inBox()[0].textView(), "MSG 20");
    EXPECT_EQ(srm->inBox()[19].textView(), "MSG 1");
    EXPECT_EQ(srm->alertCount(), 21);
}

std::string Checksummed(std::string_view body) {
    unsigned sum = 0;
    for (char c : body.substr(1))
        sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return std::string(body) + tail;
}

TEST_F(SafetyMessagesTest, SendsTheExactBbmAndConfirmsTheOwnReport) {
    clock.setLocal({{2026, 5, 6}, {7, 8, 9}});
    EXPECT_TRUE(srm->SendFromDialog("MAN OVERBOARD"));
    // M=13 A=1 N=14 ' '=32 O=15 V=22 E=5 R=18 B=2 D=4, armoured by +48 (+56 from 40).
    ASSERT_EQ(port.lines.size(), 1u);
    EXPECT_EQ(port.lines[0], Checksummed("!AIBBM,1,1,0,0,14,=1>P?F5B2?1B4,0"));
    EXPECT_EQ(view.label, "SRM:[MAN OVERBOARD] has been sent at 07:08:09");
    EXPECT_EQ(srm->outBox()[0].state, SrmState::Sent);
    // The transponder reports the own message back in a VDO.
    feed(SafetyBroadcast(kOwn, "MAN OVERBOARD", true));
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0], "SRM|SRM successfully sent out!!");
    EXPECT_EQ(srm->inBox().count(), 0);
    EXPECT_EQ(view.alerts, 0);
    EXPECT_EQ(srm->outBox()[0].state, SrmState::Confirmed);
}

TEST_F(SafetyMessagesTest, SequentialIdentifiersWrapAfterNine) {
    for (int i = 0; i < 11; ++i)
        srm->SendSrm("TEST");
    ASSERT_EQ(port.lines.size(), 11u);
    EXPECT_EQ(port.lines[0].substr(0, 17), "!AIBBM,1,1,0,0,14");
    EXPECT_EQ(port.lines[2].substr(0, 17), "!AIBBM,1,1,2,0,14");
    EXPECT_EQ(port.lines[10].substr(0, 17), "!AIBBM,1,1,0,0,14");
    // T E S T are the six-bit values 20, 5, 19, 20.
    EXPECT_NE(port.lines[0].find(",D5CD,"), std::string::npos);
}

TEST_F(SafetyMessagesTest, AFailedWriteIsMarkedFailedNotSent) {
    port.open = false;
    clock.setLocal({{2026, 5, 6}, {10, 11, 12}});
    EXPECT_FALSE(srm->SendFromDialog("MAN OVERBOARD"));
    EXPECT_EQ(view.boxes.back(), "|Fait to send SRM from AIS port!");
    EXPECT_EQ(view.label, "SRM:[MAN OVERBOARD] fail to sent at 10:11:12");
    ASSERT_EQ(srm->outBox().count(), 1);
    EXPECT_EQ(srm->outBox()[0].state, SrmState::Failed);
    // A report of the same text from the own ship does not turn it into a sent one.
    feed(SafetyBroadcast(kOwn, "MAN OVERBOARD", true));
    EXPECT_EQ(srm->outBox()[0].state, SrmState::Failed);
}

}  // namespace
}  // namespace norq::test
