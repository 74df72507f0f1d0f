// The target table driven by decoded messages: entries, kinds, ageing, the
// distress device rules and what the windows and the chart are told.
#include <gtest/gtest.h>

#include "TrackerFakes.h"
#include "ais/AisDecoder.h"

using namespace norq::ais;
using namespace norq::test;

namespace {

struct TrackerTest : ::testing::Test {
    ManualClock clock;
    FakeTargetView view;
    FakeChart chart;
    FakeMobList mobList;
    FakeFollowUps followUps;
    TargetTracker tracker{clock, {&view, &chart, nullptr, &mobList, &followUps}};

    void SetUp() override { mobList.table = &tracker.table(); }

    int receive(const AisMessage& m, bool own = false, bool channel = true) {
        AisPayload origin;
        origin.own = own;
        origin.channelPresent = channel;
        const int index = tracker.applyDecoded(m, origin);
        tracker.UpdateAfterAisMessage(tracker.targetCount());
        return index;
    }
    const TargetRecord& at(int i) { return tracker.table()[i]; }
};

}  // namespace

TEST_F(TrackerTest, NewTargetsInOrderOfFirstReception) {
    EXPECT_EQ(receive(PositionReport(211000001, 2.0, 51.0)), 1);
    EXPECT_EQ(receive(PositionReport(211000002, 2.1, 51.1)), 2);
    EXPECT_EQ(receive(PositionReport(211000001, 2.2, 51.2)), 1);
    EXPECT_EQ(tracker.targetCount(), 3);
    EXPECT_EQ(at(1).kind, TargetKind::ClassA);
    EXPECT_FLOAT_EQ(at(1).longitude, 2.2f);
    EXPECT_EQ(at(1).receivedMessages, 2);
    EXPECT_EQ(at(1).lastMessageType, 1);
    EXPECT_EQ(view.targets, 2);
    EXPECT_EQ(view.lines[1], "(001)  211000001    [A]     ");
    EXPECT_EQ(view.selection, 1);  // the applied entry is selected
}

TEST_F(TrackerTest, FullTableEvictsTheTargetHeardLongestAgo) {
    for (std::uint32_t i = 0; i < 500; ++i) {
        receive(PositionReport(211000000 + i, 2.0, 51.0));
        clock.advance(1);
    }
    ASSERT_EQ(tracker.targetCount(), 501);
    receive(PositionReport(211000000, 2.0, 51.0));  // the first again: now the newest
    clock.advance(1);
    const int index = receive(PositionReport(311000000, 3.0, 52.0));
    EXPECT_EQ(tracker.targetCount(), 501);
    EXPECT_EQ(index, 2);  // 211000001 was heard longest ago
    EXPECT_EQ(at(2).mmsi, 311000000u);
    EXPECT_EQ(at(2).receivedMessages, 1);
    EXPECT_EQ(at(1).mmsi, 211000000u);
}

TEST_F(TrackerTest, AgeingRemovesOneTargetPerTickAndShiftsItsState) {
    receive(PositionReport(211000001, 2.0, 51.0));
    receive(PositionReport(211000002, 2.0, 51.0));
    receive(PositionReport(211000003, 2.0, 51.0));
    receive(PositionReport(211000004, 2.0, 51.0));
    ASSERT_EQ(followUps.perTarget[4], 1);
    receive(PositionReport(211000004, 2.0, 51.0));  // two track points for entry 4
    clock.advance(1000);
    receive(PositionReport(211000002, 2.0, 51.0));
    receive(PositionReport(211000004, 2.0, 51.0));  // three
    clock.advance(2601);                            // 1 and 3 are 3601 s old
    EXPECT_EQ(tracker.AgeTargets(), 1);
    EXPECT_EQ(tracker.targetCount(), 4);
    EXPECT_EQ(at(1).mmsi, 211000002u);
    EXPECT_EQ(at(3).mmsi, 211000004u);
    EXPECT_EQ(followUps.perTarget[3], 3);  // moved with its entry
    EXPECT_EQ(followUps.perTarget[4], 0);
    EXPECT_EQ(chart.symbolsFrom, 4);
    EXPECT_EQ(tracker.AgeTargets(), 2);  // the second in the next tick
    EXPECT_EQ(tracker.AgeTargets(), -1);
    EXPECT_EQ(tracker.targetCount(), 3);
    EXPECT_EQ(at(3).mmsi, 0u);  // the freed entry is reset
}

TEST_F(TrackerTest, AgeingIgnoresStepsOfTheCalendarClock) {
    receive(PositionReport(211000001, 2.0, 51.0));
    clock.setLocal({{2030, 6, 1}, {3, 0, 0}});  // a jump of years on the calendar
    EXPECT_EQ(tracker.AgeTargets(), -1);
    clock.advance(3600);
    EXPECT_EQ(tracker.AgeTargets(), -1);
    clock.advance(1);
    EXPECT_EQ(tracker.AgeTargets(), 1);
}

TEST_F(TrackerTest, NamesLoseTheirPadding) {
    AisMessage m = Message(5, 211000001, AisLayoutId::StaticVoyage);
    SetText(m.staticVoyage.name, "ABC@@@@@@@@@@@@@@@@@");
    SetText(m.staticVoyage.callSign, "@@@@@@@");
    SetText(m.staticVoyage.destination, "HAMBURG             ");
    m.staticVoyage.dimensions = (100u << 21) | (20u << 12) | (5u << 6) | 6u;
    m.staticVoyage.eta = (6u << 16) | (14u << 11) | (10u << 6) | 30u;
    receive(m);
    EXPECT_STREQ(at(1).name.data(), "ABC");
    EXPECT_STREQ(at(1).callSign.data(), "");
    EXPECT_STREQ(at(1).destination.data(), "HAMBURG");
    EXPECT_EQ(at(1).toBow, 100);
    EXPECT_EQ(at(1).toStarboard, 6);
    EXPECT_EQ(at(1).etaMonth, 6);
    EXPECT_EQ(at(1).etaMinute, 30);
}

TEST_F(TrackerTest, SarAircraftIsAlwaysNamedSar) {
    AisMessage m = Message(9, 111232511, AisLayoutId::SarPosition);
    m.sarPosition.longitude = 1.0;
    m.sarPosition.latitude = 50.0;
    m.sarPosition.altitude = 300;
    receive(m);
    EXPECT_EQ(at(1).kind, TargetKind::SarAircraft);
    EXPECT_STREQ(at(1).name.data(), "SAR");
    EXPECT_FLOAT_EQ(at(1).altitude, 300.0f);
}

TEST_F(TrackerTest, ADistressDeviceAlarmsFromItsFirstActiveReport) {
    const std::uint32_t sart = 970012345;
    receive(PositionReport(sart, 2.0, 51.0, 3.0, 45.0, 14));
    EXPECT_EQ(at(1).kind, TargetKind::Sart);
    EXPECT_FLOAT_EQ(at(1).sog, 0.0f);
    EXPECT_FLOAT_EQ(at(1).cog, 0.0f);
    ASSERT_EQ(mobList.active.size(), 1u);
    EXPECT_EQ(mobList.active[0], std::make_pair(1, true));

    receive(PositionReport(sart, 2.001, 51.0, 3.0, 45.0, 14));
    EXPECT_EQ(at(1).kind, TargetKind::Sart);
    EXPECT_FLOAT_EQ(at(1).longitude, 2.001f);
    EXPECT_EQ(mobList.active.size(), 2u);

    // A test device is looked up by name, never alarmed.
    receive(PositionReport(972000001, 2.0, 51.0, 1, 1, 15));
    EXPECT_EQ(at(2).kind, TargetKind::Mob);
    EXPECT_EQ(mobList.lookups, std::vector<int>{2});
    EXPECT_EQ(mobList.active.size(), 2u);

    // A ship's MMSI with status 14 stays a ship.
    receive(PositionReport(235000001, 2.0, 51.0, 3.0, 45.0, 14));
    EXPECT_EQ(at(3).kind, TargetKind::ClassA);
    EXPECT_FLOAT_EQ(at(3).sog, 3.0f);
    EXPECT_EQ(mobList.active.size(), 2u);
}

TEST_F(TrackerTest, SartTextsNameTheDeviceAndOnlyActiveOnesAlarm) {
    AisMessage test = Message(14, 970000001, AisLayoutId::SafetyBroadcast);
    SetText(test.safetyBroadcast.text, "SART TEST");
    receive(test);
    EXPECT_STREQ(at(1).name.data(), "SART TEST");
    EXPECT_TRUE(mobList.active.empty());
    EXPECT_EQ(followUps.safety, (std::vector<std::pair<int, bool>>{{14, false}}));

    AisMessage active = Message(14, 972000002, AisLayoutId::SafetyBroadcast);
    SetText(active.safetyBroadcast.text, "MOB ACTIVE");
    mobList.registeredName = "JOHN";
    receive(active);
    EXPECT_STREQ(at(2).name.data(), "JOHN");
    EXPECT_EQ(mobList.active, (std::vector<std::pair<int, bool>>{{2, false}}));

    // Any message 14 that is not a test reaches the device list.
    AisMessage vessel = Message(14, 211000001, AisLayoutId::SafetyBroadcast);
    SetText(vessel.safetyBroadcast.text, "SART TEST");
    receive(vessel);
    EXPECT_EQ(mobList.active.size(), 2u);
}

TEST_F(TrackerTest, OwnVdoWithoutPositionFallsBackToTheChart) {
    chart.position = {1.0, 50.0, 0.0};
    receive(PositionReport(211999999, 2.0, 51.0, 12, 0), true);
    EXPECT_EQ(at(0).ownPositionValid, 1);
    EXPECT_EQ(at(0).ownMessages, 1);
    EXPECT_EQ(chart.position.longitude, 2.0);
    EXPECT_EQ(chart.stoppedCentreView, 1);
    EXPECT_NEAR(tracker.referencePosition().longitude, 2.0, 1e-6);

    receive(PositionReport(211999999, 181.0, 91.0), true);
    EXPECT_EQ(at(0).ownPositionValid, 0);
    chart.position = {1.5, 50.5, 10.0};
    EXPECT_DOUBLE_EQ(tracker.referencePosition().longitude, 1.5);
}

TEST_F(TrackerTest, RangeBearingAndDangerFromTheOwnShip) {
    receive(PositionReport(211999999, 2.0, 51.0, 10, 0), true);  // own, northbound
    receive(PositionReport(211000001, 2.0, 51.1, 10, 180));      // head on, 6 nm
    receive(PositionReport(211000002, 2.1, 51.0, 10, 90));       // diverging
    EXPECT_NEAR(at(1).range, 6.0, 0.05);
    EXPECT_NEAR(at(1).bearing, 0.0, 0.01);
    EXPECT_NEAR(at(1).cpa, 0.0, 0.01);
    EXPECT_NEAR(at(1).tcpa, 18.0, 0.2);
    EXPECT_FALSE(chart.dangerous[1]);  // TCPA beyond 10 min
    tracker.setCpaSettings({5, 20});
    EXPECT_TRUE(chart.dangerous[1]);
    EXPECT_FALSE(chart.dangerous[2]);
}

TEST_F(TrackerTest, TypeSpecificFollowUps) {
    AisMessage b = Message(24, 211000005, AisLayoutId::StaticDataB);
    b.staticB.partNumber = 1;
    b.staticB.shipType = 37;
    SetText(b.staticB.callSign, "ABCD@@@");
    receive(b);
    EXPECT_EQ(tracker.lastAppliedType(), 124);
    EXPECT_EQ(at(1).kind, TargetKind::ClassB);
    EXPECT_STREQ(at(1).callSign.data(), "ABCD");
    EXPECT_EQ(view.selection, -1);  // part B is not shown

    AisMessage a = Message(24, 211000005, AisLayoutId::StaticDataA);
    a.staticA.partNumber = 3;
    SetText(a.staticA.name, "YACHT");
    receive(a);
    EXPECT_STREQ(at(1).name.data(), "YACHT");
    EXPECT_EQ(view.selection, 1);

    AisMessage region = Message(22, 2190048, AisLayoutId::ChannelManagement);
    receive(region);
    EXPECT_EQ(at(2).kind, TargetKind::Base);
    EXPECT_EQ(followUps.regions, 1);
}

TEST_F(TrackerTest, TargetMonitorKeepsTheUsersChoice) {
    receive(PositionReport(211000001, 2.0, 51.0));
    receive(PositionReport(211000002, 2.0, 51.0));
    view.selection = 1;  // the user clicks entry 1 in the list
    tracker.SelectTarget(1, true);
    EXPECT_TRUE(view.monitor);
    EXPECT_EQ(view.gridSelection, 1);
    receive(PositionReport(211000002, 2.1, 51.0));
    EXPECT_EQ(view.selection, 1);
    EXPECT_EQ(view.detailsShown.back(), 1);  // the fixed target stays shown
}

TEST_F(TrackerTest, BiasIsAddedOncePerDecodedMessage) {
    tracker.setPositionBias({0.5, -0.25});
    receive(PositionReport(211000001, 2.0, 51.0));
    EXPECT_FLOAT_EQ(at(1).longitude, 2.5f);
    EXPECT_FLOAT_EQ(at(1).latitude, 50.75f);
    tracker.clearDecodedMessage();  // a parametric transponder sentence follows
    tracker.UpdateAfterAisMessage(tracker.targetCount());
    EXPECT_FLOAT_EQ(at(1).longitude, 2.5f);
}

TEST_F(TrackerTest, ClearTargetsEmptiesTheTable) {
    receive(PositionReport(211000001, 2.0, 51.0));
    tracker.ClearTargets();
    EXPECT_EQ(tracker.targetCount(), 1);
    EXPECT_EQ(at(1).mmsi, 0u);
    EXPECT_EQ(at(0).monitored, 1);
    EXPECT_EQ(view.targets, 0);
    EXPECT_EQ(receive(PositionReport(211000002, 2.0, 51.0)), 1);
}

TEST_F(TrackerTest, ANewTargetAfterClearingKeepsNothingOfTheOldOne) {
    AisMessage v = Message(5, 211000001, AisLayoutId::StaticVoyage);
    SetText(v.staticVoyage.name, "ALPHA");
    SetText(v.staticVoyage.callSign, "LAAA");
    SetText(v.staticVoyage.destination, "BERGEN");
    v.staticVoyage.imo = 9123456;
    v.staticVoyage.dimensions = (100u << 21) | (20u << 12) | (5u << 6) | 6u;
    receive(PositionReport(211000001, 2.0, 51.0, 12, 45, 5));
    receive(v);
    receive(PositionReport(211999999, 2.0, 51.0, 10, 0), true);
    tracker.ClearTargets();

    AisMessage b = Message(18, 257000002, AisLayoutId::ClassBPosition);
    b.classBPosition.longitude = 3.0;
    b.classBPosition.latitude = 52.0;
    b.classBPosition.sog = 4.0f;
    b.classBPosition.cog = 10.0f;
    b.classBPosition.heading = kAisHeadingNotAvailable;
    ASSERT_EQ(receive(b), 1);
    const TargetRecord& t = at(1);
    EXPECT_EQ(t.kind, TargetKind::ClassB);
    EXPECT_STREQ(t.name.data(), "");
    EXPECT_STREQ(t.callSign.data(), "");
    EXPECT_STREQ(t.destination.data(), "");
    EXPECT_EQ(t.imo, 0u);
    EXPECT_EQ(t.toBow, 0);
    EXPECT_EQ(t.navStatus(), 0);
    EXPECT_EQ(t.rateOfTurn, 0.0f);
    EXPECT_EQ(view.lines[1], "(001)  257000002    [B]     ");

    // The own ship too: a new VDO ship starts from a reset entry.
    AisMessage own = PositionReport(211888888, 2.5, 51.5);
    own.position.rateOfTurn = kAisRotNotAvailable;
    receive(own, true);
    EXPECT_EQ(at(0).mmsi, 211888888u);
    EXPECT_EQ(at(0).imo, 0u);
}

TEST_F(TrackerTest, CutMessagesChangeOnlyWhatTheyHold) {
    // 36 bits of a message 1: no target at 0 N 0 E.
    AisPayload cut;
    cut.payload = "15M67F";
    EXPECT_FALSE(tracker.onAisPayload(cut));
    EXPECT_EQ(tracker.targetCount(), 1);

    AisMessage v = Message(5, 211000001, AisLayoutId::StaticVoyage);
    SetText(v.staticVoyage.name, "ALPHA");
    SetText(v.staticVoyage.callSign, "LAAA");
    SetText(v.staticVoyage.destination, "BERGEN");
    receive(v);
    v.bitCount = 112;  // ends after the call sign
    SetText(v.staticVoyage.callSign, "LBBB");
    v.staticVoyage.name = {};
    v.staticVoyage.destination = {};
    receive(v);
    EXPECT_STREQ(at(1).callSign.data(), "LBBB");
    EXPECT_STREQ(at(1).name.data(), "ALPHA");
    EXPECT_STREQ(at(1).destination.data(), "BERGEN");

    AisMessage p = PositionReport(211000001, 2.0, 51.0, 12, 45);
    receive(p);
    p.bitCount = 120;  // ends within the course: course and heading not available
    p.position.cog = kAisCourseNotAvailable;
    p.position.heading = kAisHeadingNotAvailable;
    receive(p);
    EXPECT_FLOAT_EQ(at(1).longitude, 2.0f);
    EXPECT_GE(at(1).cog, 360.0f);
    EXPECT_EQ(at(1).heading, kHeadingNotAvailable);
}

TEST_F(TrackerTest, UndefinedMessage24PartsChangeNothing) {
    // A class B ship as a real receiver heard it (2023): part A, then part 3.
    for (const char* payload : {"H3KLehQ=DtddT00000000000000", "H3KLehdt00000000?6ekkjm000000"}) {
        AisPayload p;
        p.payload = payload;
        tracker.onAisPayload(p);
        tracker.UpdateAfterAisMessage(tracker.targetCount());
    }
    EXPECT_STREQ(at(1).name.data(), "SUOKKI");
}

TEST_F(TrackerTest, LongRangeBroadcastIsAPositionReport) {
    AisMessage b = Message(18, 230108610, AisLayoutId::ClassBPosition);
    b.classBPosition.longitude = 24.96;
    b.classBPosition.latitude = 60.16;
    b.classBPosition.heading = 298;
    receive(b);
    AisPayload p;
    p.payload = "K3KLehP0rPTJ10Qr";  // the same ship's message 27
    p.channelPresent = true;
    ASSERT_TRUE(tracker.onAisPayload(p));
    tracker.UpdateAfterAisMessage(tracker.targetCount());
    const TargetRecord& t = at(1);
    EXPECT_EQ(t.kind, TargetKind::ClassB);  // stays the class it is
    EXPECT_NEAR(t.longitude, 14978 / 600.0, 1e-5);
    EXPECT_NEAR(t.latitude, 36098 / 600.0, 1e-5);
    EXPECT_FLOAT_EQ(t.sog, 1.0f);
    EXPECT_FLOAT_EQ(t.cog, 30.0f);
    EXPECT_EQ(t.heading, kHeadingNotAvailable);
    EXPECT_EQ(t.lastMessageType, 27);
    EXPECT_EQ(t.receivedMessages, 2);
    EXPECT_EQ(followUps.perTarget[1], 2);  // a track point, as for a position report
    EXPECT_EQ(view.selection, 1);          // and shown

    AisMessage lr = Message(27, 311000027, AisLayoutId::LongRange);
    lr.longRange.longitude = 10.0;
    lr.longRange.latitude = 55.0;
    lr.longRange.sog = kAisLongRangeSpeedNotAvailable;
    lr.longRange.cog = kAisLongRangeCourseNotAvailable;
    lr.longRange.navStatus = 5;
    ASSERT_EQ(receive(lr), 2);
    EXPECT_EQ(at(2).kind, TargetKind::ClassA);
    EXPECT_EQ(at(2).navStatus(), 5);
    EXPECT_GT(at(2).sog, 102.2f);
    EXPECT_GE(at(2).cog, 360.0f);
}

TEST_F(TrackerTest, IndexStateMovesWithTheEntriesWhenATargetAgesOut) {
    tracker.setCpaSettings({5, 20});
    receive(PositionReport(211999999, 2.0, 51.0, 10, 0), true);  // own, northbound
    receive(PositionReport(211000001, 2.1, 51.0, 10, 90));       // safe, will age out
    clock.advance(1000);
    receive(PositionReport(211000002, 2.0, 51.1, 10, 180));  // head on: dangerous
    receive(PositionReport(211000003, 2.1, 51.0, 10, 90));   // safe
    ASSERT_FALSE(chart.dangerous[1]);
    ASSERT_TRUE(chart.dangerous[2]);
    view.selection = 3;  // the user fixes the safe target 3
    tracker.SelectTarget(3, true);
    ASSERT_EQ(chart.highlighted, 3);

    clock.advance(2601);
    receive(PositionReport(211000002, 2.0, 51.1, 10, 180));
    receive(PositionReport(211000003, 2.1, 51.0, 10, 90));
    ASSERT_EQ(tracker.AgeTargets(), 1);
    EXPECT_EQ(view.removed, (std::vector<int>{1}));
    EXPECT_TRUE(chart.dangerous[1]);   // the dangerous target, now entry 1
    EXPECT_FALSE(chart.dangerous[2]);  // the safe one behind it
    EXPECT_EQ(chart.highlighted, 2);
    EXPECT_EQ(view.selection, 2);
    EXPECT_EQ(view.gridSelection, 2);
    EXPECT_EQ(at(2).mmsi, 211000003u);
    receive(PositionReport(211000002, 2.0, 51.1, 10, 180));
    EXPECT_EQ(view.selection, 2);  // the fixed target is still the one shown
    EXPECT_EQ(view.detailsShown.back(), 2);
}

TEST(MmsiClasses, Ranges) {
    EXPECT_EQ(ClassifyMmsi(969999999), MmsiClass::Other);
    EXPECT_EQ(ClassifyMmsi(970000000), MmsiClass::AisSart);
    EXPECT_EQ(ClassifyMmsi(970000001), MmsiClass::AisSart);
    EXPECT_EQ(ClassifyMmsi(972999999), MmsiClass::ManOverboard);
    EXPECT_EQ(ClassifyMmsi(974500000), MmsiClass::EpirbAis);
    EXPECT_EQ(ClassifyMmsi(2190048), MmsiClass::CoastStation);
    EXPECT_EQ(ClassifyMmsi(8000000), MmsiClass::Other);
}

TEST_F(TrackerTest, TransmitCountsCountAppliedOwnReportsPerChannel) {
    AisPayload onA;
    onA.own = true;
    onA.channelPresent = true;
    onA.channelIndex = 0;
    AisPayload onB = onA;
    onB.channelIndex = 1;
    AisPayload noChannel = onA;
    noChannel.channelPresent = false;
    AisPayload received = onB;
    received.own = false;
    tracker.applyDecoded(PositionReport(211999999, 2.0, 51.0), onA);
    tracker.applyDecoded(PositionReport(211999999, 2.0, 51.0), onB);
    tracker.applyDecoded(PositionReport(211999999, 2.0, 51.0), onB);
    tracker.applyDecoded(PositionReport(211999999, 2.0, 51.0), noChannel);
    tracker.applyDecoded(PositionReport(211000001, 2.0, 51.0), received);
    AisPayload undecodable = onA;
    undecodable.payload = "0000";  // message id 0
    EXPECT_FALSE(tracker.onAisPayload(undecodable));
    EXPECT_EQ(tracker.ownMessagesOnA(), 1);
    EXPECT_EQ(tracker.ownMessagesOnB(), 2);
    EXPECT_EQ(at(0).ownMessages, 3);
    EXPECT_EQ(at(1).receivedMessages, 1);
}

TEST_F(TrackerTest, BearingModeAndRangesFollowTheReference) {
    receive(PositionReport(211999999, 2.0, 51.0, 10, 90), true);  // own, heading east
    receive(PositionReport(211000001, 2.0, 51.1, 0, 0));          // due north, 6 nm
    EXPECT_NEAR(at(1).bearing, 0.0, 0.01);
    tracker.setBearingMode(BearingMode::Relative, tracker.referencePosition());
    EXPECT_NEAR(at(1).bearing, 270.0, 0.01);  // on the port beam
    tracker.setBearingMode(BearingMode::True, tracker.referencePosition());
    EXPECT_NEAR(at(1).bearing, 0.0, 0.01);

    view.selection = 1;
    const std::size_t shown = view.detailsShown.size();
    tracker.UpdateRanges({2.0, 51.2, 0.0});  // a manual position 6 nm further north
    EXPECT_NEAR(at(1).range, 6.0, 0.05);
    EXPECT_EQ(view.detailsShown.size(), shown + 1);
    EXPECT_EQ(view.detailsShown.back(), 1);
}
