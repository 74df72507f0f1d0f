// When a silent target is lost and when it is removed: the legacy fixed times
// and the rule that follows each station's reporting interval.
#include <gtest/gtest.h>

#include "TrackerFakes.h"
#include "ais/TargetAgeing.h"

using namespace norq::ais;
using namespace norq::test;

namespace {

TargetRecord Station(TargetKind kind, float sog = 0.0f, int navStatus = 0) {
    TargetRecord t;
    t.kind = kind;
    t.sog = sog;
    t.statusByte = static_cast<std::uint8_t>(navStatus << 4);
    return t;
}

int ClassA(float sog, int status = 0) {
    return ReportingIntervalSeconds(Station(TargetKind::ClassA, sog, status));
}

int ClassB(float sog) {
    return ReportingIntervalSeconds(Station(TargetKind::ClassB, sog));
}

}  // namespace

TEST(ReportingInterval, ClassAUnderWayBySpeed) {
    EXPECT_EQ(ClassA(0.0f), 10);
    EXPECT_EQ(ClassA(14.0f), 10);
    EXPECT_EQ(ClassA(14.1f), 6);
    EXPECT_EQ(ClassA(23.0f), 6);
    EXPECT_EQ(ClassA(23.1f), 2);
    EXPECT_EQ(ClassA(60.0f), 2);
    EXPECT_EQ(ClassA(102.3f), 10);  // speed not available
}

TEST(ReportingInterval, ClassAAtAnchorOrMooredUnlessMovingFasterThanThreeKnots) {
    for (int status : {1, 5}) {
        EXPECT_EQ(ClassA(0.0f, status), 180) << status;
        EXPECT_EQ(ClassA(3.0f, status), 180) << status;
        EXPECT_EQ(ClassA(3.1f, status), 10) << status;
        EXPECT_EQ(ClassA(20.0f, status), 10) << status;
        EXPECT_EQ(ClassA(102.3f, status), 10) << status;
    }
    // Other statuses at rest still report every 10 s: aground, not under command...
    EXPECT_EQ(ClassA(0.0f, 6), 10);
    EXPECT_EQ(ClassA(0.0f, 2), 10);
    EXPECT_EQ(ClassA(0.0f, 15), 10);
}

TEST(ReportingInterval, ClassBAroundTwoKnots) {
    EXPECT_EQ(ClassB(0.0f), 180);
    EXPECT_EQ(ClassB(2.0f), 180);
    EXPECT_EQ(ClassB(2.1f), 30);
    EXPECT_EQ(ClassB(30.0f), 30);
    EXPECT_EQ(ClassB(102.3f), 30);  // speed not available
}

TEST(ReportingInterval, FixedStationsAircraftAndDevices) {
    EXPECT_EQ(ReportingIntervalSeconds(Station(TargetKind::Base)), 10);
    EXPECT_EQ(ReportingIntervalSeconds(Station(TargetKind::SarAircraft, 140.0f)), 10);
    EXPECT_EQ(ReportingIntervalSeconds(Station(TargetKind::Aton)), 180);
    EXPECT_EQ(ReportingIntervalSeconds(Station(TargetKind::Sart)), 0);
    EXPECT_EQ(ReportingIntervalSeconds(Station(TargetKind::Mob)), 0);
    EXPECT_EQ(ReportingIntervalSeconds(Station(TargetKind::Epirb)), 0);
    EXPECT_EQ(ReportingIntervalSeconds(Station(TargetKind::Unknown)), 0);
}

TEST(AgeingTimes, LegacyByDefaultForEveryStation) {
    const AgeingSettings legacy;
    EXPECT_TRUE(legacy.legacy());
    for (TargetKind kind : {TargetKind::Base, TargetKind::SarAircraft, TargetKind::Aton,
                            TargetKind::ClassA, TargetKind::ClassB, TargetKind::Sart,
                            TargetKind::Mob, TargetKind::Epirb, TargetKind::Unknown}) {
        const TargetRecord t = Station(kind, 25.0f);
        EXPECT_EQ(LostAfterSeconds(t, legacy), 600);
        EXPECT_EQ(RemoveAfterSeconds(t, legacy), 3600);
    }
}

TEST(AgeingTimes, MultiplesOfTheInterval) {
    const AgeingSettings s{3, 20};
    EXPECT_EQ(LostAfterSeconds(Station(TargetKind::ClassA, 12.0f), s), 30);
    EXPECT_EQ(RemoveAfterSeconds(Station(TargetKind::ClassA, 12.0f), s), 200);
    EXPECT_EQ(LostAfterSeconds(Station(TargetKind::ClassA, 0.0f, 5), s), 540);
    EXPECT_EQ(RemoveAfterSeconds(Station(TargetKind::ClassA, 0.0f, 5), s), 3600);
    EXPECT_EQ(LostAfterSeconds(Station(TargetKind::ClassB, 1.0f), s), 540);
    EXPECT_EQ(LostAfterSeconds(Station(TargetKind::ClassB, 6.0f), s), 90);
    EXPECT_EQ(LostAfterSeconds(Station(TargetKind::Aton), s), 540);
    // A device without an interval of its own keeps the legacy times.
    EXPECT_EQ(LostAfterSeconds(Station(TargetKind::Sart), s), 600);
    EXPECT_EQ(RemoveAfterSeconds(Station(TargetKind::Mob), s), 3600);
}

TEST(AgeingTimes, EachTimeChoosesOnItsOwnAndRemovalNeverPrecedesLoss) {
    const TargetRecord fast = Station(TargetKind::ClassA, 30.0f);
    EXPECT_EQ(LostAfterSeconds(fast, {5, 0}), 10);
    EXPECT_EQ(RemoveAfterSeconds(fast, {5, 0}), 3600);  // legacy removal
    EXPECT_EQ(LostAfterSeconds(fast, {0, 5}), 600);     // legacy loss ...
    EXPECT_EQ(RemoveAfterSeconds(fast, {0, 5}), 600);   // ... so removal waits for it
    EXPECT_EQ(RemoveAfterSeconds(fast, {10, 2}), 20);   // raised to the lost time
    const TargetRecord moored = Station(TargetKind::ClassA, 0.0f, 1);
    EXPECT_EQ(RemoveAfterSeconds(moored, {30, 0}), 5400);  // beyond the legacy hour
}

namespace {

struct AgeingTableTest : ::testing::Test {
    ManualClock clock;
    TargetTracker tracker{clock};
    TargetTable& table = tracker.table();

    int receive(const AisMessage& m) {
        const int index = tracker.applyDecoded(m, AisPayload{});
        tracker.UpdateAfterAisMessage(tracker.targetCount());
        return index;
    }
    AisMessage ClassBReport(std::uint32_t mmsi, float sog) {
        AisMessage m = Message(18, mmsi, AisLayoutId::ClassBPosition);
        m.classBPosition.longitude = 5.0;
        m.classBPosition.latitude = 53.0;
        m.classBPosition.sog = sog;
        m.classBPosition.cog = 10.0f;
        m.classBPosition.heading = kAisHeadingNotAvailable;
        return m;
    }
    std::int64_t now() const { return clock.monotonicSeconds(); }
};

}  // namespace

TEST_F(AgeingTableTest, LegacyTableLosesAfterTenMinutesAndRemovesAfterAnHour) {
    receive(PositionReport(211000001, 2.0, 51.0, 30.0f));
    clock.advance(600);
    EXPECT_FALSE(table.isLost(1, now()));
    clock.advance(1);
    EXPECT_TRUE(table.isLost(1, now()));
    clock.advance(2999);
    EXPECT_EQ(tracker.AgeTargets(), -1);
    clock.advance(1);
    EXPECT_EQ(tracker.AgeTargets(), 1);
}

TEST_F(AgeingTableTest, AClassAThatMoorsIsGivenTheLongerTime) {
    table.setAgeing({3, 6});
    receive(PositionReport(211000001, 2.0, 51.0, 8.0f));
    clock.advance(31);
    EXPECT_TRUE(table.isLost(1, now()));                         // 3 x 10 s
    receive(PositionReport(211000001, 2.0, 51.0, 0.0f, 90, 5));  // moored now
    clock.advance(31);
    EXPECT_FALSE(table.isLost(1, now()));
    clock.advance(509);
    EXPECT_FALSE(table.isLost(1, now()));
    clock.advance(1);  // 541 s: more than 3 x 3 min
    EXPECT_TRUE(table.isLost(1, now()));
    EXPECT_EQ(tracker.AgeTargets(), -1);
    clock.advance(540);  // 1081 s: more than 6 x 3 min
    EXPECT_EQ(tracker.AgeTargets(), 1);
}

TEST_F(AgeingTableTest, ClassBBelowAndAboveTwoKnotsAgeInTurn) {
    table.setAgeing({2, 4});
    receive(ClassBReport(244000001, 1.5f));  // 3 min: lost after 360 s, removed after 720 s
    receive(ClassBReport(244000002, 5.0f));  // 30 s: lost after 60 s, removed after 120 s
    clock.advance(61);
    EXPECT_FALSE(table.isLost(1, now()));
    EXPECT_TRUE(table.isLost(2, now()));
    EXPECT_EQ(tracker.AgeTargets(), -1);
    clock.advance(60);
    EXPECT_EQ(tracker.AgeTargets(), 2);  // the fast one goes first although entered later
    EXPECT_EQ(tracker.targetCount(), 2);
    clock.advance(600);
    EXPECT_EQ(tracker.AgeTargets(), 1);
    EXPECT_EQ(tracker.targetCount(), 1);
}

TEST_F(AgeingTableTest, ClearingTheTableKeepsTheChosenRule) {
    table.setAgeing({4, 8});
    tracker.ClearTargets();
    EXPECT_EQ(table.ageing(), (AgeingSettings{4, 8}));
}
