// Graded CPA alarms: the levels, the quiet harbour, acknowledgement with its
// time-out and "dangerous target lost", alone and through the tracker.
#include <gtest/gtest.h>

#include <vector>

#include "TrackerFakes.h"
#include "ais/CpaAlarms.h"

using namespace norq::ais;
using namespace norq::test;

namespace {

TargetRecord Ship(float sog, int status = 0) {
    TargetRecord t;
    t.kind = TargetKind::ClassA;
    t.sog = sog;
    t.statusByte = static_cast<std::uint8_t>(status << 4);
    return t;
}

TargetRecord WithCpa(float cpa, float tcpa, float sog = 10.0f, int status = 0) {
    TargetRecord t = Ship(sog, status);
    t.cpa = cpa;
    t.tcpa = tcpa;
    return t;
}

CpaGrading Graded() {
    CpaGrading g;
    g.graded = true;
    return g;
}

const CpaSettings kAlarm{2, 10};

}  // namespace

TEST(CpaGrade, UngradedIsTheDangerousMarkAlone) {
    const TargetRecord own = Ship(0.0f);
    const CpaGrading legacy;
    EXPECT_EQ(GradeCpa(own, WithCpa(1.9f, 9.0f), kAlarm, legacy), CpaLevel::Alarm);
    EXPECT_EQ(GradeCpa(own, WithCpa(2.0f, 9.0f), kAlarm, legacy), CpaLevel::None);
    EXPECT_EQ(GradeCpa(own, WithCpa(3.0f, 15.0f), kAlarm, legacy), CpaLevel::None);
    // Not kept quiet either: both lie still, yet the old mark stands.
    EXPECT_EQ(GradeCpa(own, WithCpa(0.01f, 5.0f, 0.1f, 5), kAlarm, legacy), CpaLevel::Alarm);
}

TEST(CpaGrade, LevelsByTheirLimits) {
    const TargetRecord own = Ship(12.0f);
    const CpaGrading g = Graded();  // caution 8/30, warning 6/20
    EXPECT_EQ(GradeCpa(own, WithCpa(1.9f, 9.9f), kAlarm, g), CpaLevel::Alarm);
    EXPECT_EQ(GradeCpa(own, WithCpa(0.0f, 1.0f), kAlarm, g), CpaLevel::Alarm);  // collision
    EXPECT_EQ(GradeCpa(own, WithCpa(1.9f, 10.0f), kAlarm, g), CpaLevel::Warning);
    EXPECT_EQ(GradeCpa(own, WithCpa(5.9f, 19.9f), kAlarm, g), CpaLevel::Warning);
    EXPECT_EQ(GradeCpa(own, WithCpa(6.0f, 19.9f), kAlarm, g), CpaLevel::Caution);
    EXPECT_EQ(GradeCpa(own, WithCpa(5.0f, 20.0f), kAlarm, g), CpaLevel::Caution);
    EXPECT_EQ(GradeCpa(own, WithCpa(7.9f, 29.9f), kAlarm, g), CpaLevel::Caution);
    EXPECT_EQ(GradeCpa(own, WithCpa(8.0f, 5.0f), kAlarm, g), CpaLevel::None);
    EXPECT_EQ(GradeCpa(own, WithCpa(1.0f, 30.0f), kAlarm, g), CpaLevel::None);
    EXPECT_EQ(GradeCpa(own, WithCpa(1.0f, -3.0f), kAlarm, g), CpaLevel::None);  // passed
    EXPECT_EQ(GradeCpa(own, WithCpa(-1.0f, 0.0f), kAlarm, g), CpaLevel::None);  // no CPA
}

TEST(CpaGrade, ALimitOfZeroSwitchesItsLevelOff) {
    CpaGrading g = Graded();
    g.warningCpa = 0.0;
    g.cautionTcpa = 0.0;
    EXPECT_EQ(GradeCpa(Ship(5.0f), WithCpa(3.0f, 12.0f), kAlarm, g), CpaLevel::None);
    EXPECT_EQ(GradeCpa(Ship(5.0f), WithCpa(1.0f, 5.0f), kAlarm, g), CpaLevel::Alarm);
}

TEST(CpaGrade, AtRestBySpeedOrByStatus) {
    EXPECT_TRUE(OwnShipAtRest(Ship(0.0f)));
    EXPECT_TRUE(OwnShipAtRest(Ship(0.2f)));
    EXPECT_FALSE(OwnShipAtRest(Ship(0.3f)));
    EXPECT_FALSE(OwnShipAtRest(Ship(0.3f, 5)));  // the own ship goes by its speed alone
    EXPECT_FALSE(OwnShipAtRest(Ship(102.3f)));   // speed not available
    EXPECT_TRUE(TargetAtRest(Ship(0.2f)));
    EXPECT_FALSE(TargetAtRest(Ship(0.3f)));
    EXPECT_TRUE(TargetAtRest(Ship(0.8f, 1)));   // at anchor, GNSS jitter
    EXPECT_TRUE(TargetAtRest(Ship(3.0f, 5)));   // moored
    EXPECT_FALSE(TargetAtRest(Ship(3.1f, 5)));  // "moored" but under way
    EXPECT_FALSE(TargetAtRest(Ship(1.0f, 0)));
    EXPECT_FALSE(TargetAtRest(Ship(102.3f, 5)));
}

TEST(CpaGrade, QuietHarbourButNotForAShipUnderWay) {
    const CpaGrading g = Graded();
    const TargetRecord mooredOwn = Ship(0.1f, 5);
    EXPECT_EQ(GradeCpa(mooredOwn, WithCpa(0.01f, 5.0f, 0.1f), kAlarm, g), CpaLevel::None);
    EXPECT_EQ(GradeCpa(mooredOwn, WithCpa(0.01f, 5.0f, 1.5f, 1), kAlarm, g), CpaLevel::None);
    EXPECT_EQ(GradeCpa(mooredOwn, WithCpa(0.01f, 5.0f, 1.5f, 0), kAlarm, g), CpaLevel::Alarm);
    EXPECT_EQ(GradeCpa(mooredOwn, WithCpa(0.3f, 4.0f, 8.0f, 5), kAlarm, g), CpaLevel::Alarm);
    // An own ship under way is warned of a moored boat ahead.
    EXPECT_EQ(GradeCpa(Ship(6.0f), WithCpa(0.1f, 4.0f, 0.0f, 5), kAlarm, g), CpaLevel::Alarm);
    // The user may want the moored boats too.
    CpaGrading all = g;
    all.quietWhenMoored = false;
    EXPECT_EQ(GradeCpa(mooredOwn, WithCpa(0.01f, 5.0f, 0.1f), kAlarm, all), CpaLevel::Alarm);
}

namespace {

struct Events : CpaAlarmReport {
    std::vector<std::pair<int, CpaAlarmEvent>> seen;
    void onCpaAlarm(int index, CpaAlarmEvent e) override { seen.emplace_back(index, e); }
};

struct MonitorTest : ::testing::Test {
    TargetTable table;
    CpaAlarmMonitor monitor;
    Events events;
    std::int64_t now = 1000;

    void SetUp() override {
        monitor.setReport(&events);
        monitor.setAcknowledgeSeconds(300);
        bool isNew = false;
        for (std::uint32_t mmsi : {211000001u, 211000002u, 211000003u}) {
            const int i = table.findOrAdd(mmsi, false, isNew);
            table[i].kind = TargetKind::ClassA;
            table[i].lastUpdate = now;
        }
    }
    void tick(std::int64_t seconds) {
        for (std::int64_t s = 0; s < seconds; ++s) {
            ++now;
            monitor.step(table, now);
        }
    }
};

}  // namespace

TEST_F(MonitorTest, EnteringTheAlarmLevelRaisesOnceAndLeavingResolves) {
    monitor.setLevel(2, CpaLevel::Warning);
    EXPECT_FALSE(monitor.sounding());
    monitor.setLevel(2, CpaLevel::Alarm);
    monitor.setLevel(2, CpaLevel::Alarm);
    ASSERT_EQ(events.seen.size(), 1u);
    EXPECT_EQ(events.seen[0], std::make_pair(2, CpaAlarmEvent::Raised));
    EXPECT_TRUE(monitor.sounding());
    EXPECT_EQ(monitor.alarmCount(), 1);
    monitor.setLevel(2, CpaLevel::Caution);
    EXPECT_FALSE(monitor.sounding());
    EXPECT_EQ(monitor.alarmCount(), 0);
    monitor.setLevel(0, CpaLevel::Alarm);  // the own ship never alarms
    EXPECT_FALSE(monitor.sounding());
}

TEST_F(MonitorTest, AnAcknowledgedDangerSoundsAgainWhenItsTimeRunsOut) {
    monitor.setLevel(1, CpaLevel::Alarm);
    tick(10);
    table[1].lastUpdate = now;
    monitor.acknowledge(now);
    EXPECT_FALSE(monitor.sounding());
    EXPECT_TRUE(monitor.entry(1).acknowledged);
    for (int s = 0; s < 299; ++s) {
        tick(1);
        table[1].lastUpdate = now;  // still reporting, still in alarm
    }
    EXPECT_FALSE(monitor.sounding());
    tick(1);
    EXPECT_TRUE(monitor.sounding());
    EXPECT_EQ(events.seen.back(), std::make_pair(1, CpaAlarmEvent::Resounded));
}

TEST_F(MonitorTest, AResolvedDangerForgetsItsAcknowledgement) {
    monitor.setLevel(1, CpaLevel::Alarm);
    monitor.acknowledge(now);
    monitor.setLevel(1, CpaLevel::Warning);
    tick(400);
    EXPECT_FALSE(monitor.sounding());
    monitor.setLevel(1, CpaLevel::Alarm);  // a new danger: sounds at once
    EXPECT_TRUE(monitor.sounding());
    EXPECT_EQ(events.seen.back(), std::make_pair(1, CpaAlarmEvent::Raised));
}

TEST_F(MonitorTest, ATargetInAlarmThatStopsReportingIsLost) {
    monitor.setLevel(3, CpaLevel::Alarm);
    monitor.setLevel(2, CpaLevel::Warning);
    monitor.acknowledge(now);
    tick(600);
    EXPECT_FALSE(monitor.entry(3).lost);  // lost after more than 600 s
    tick(1);
    EXPECT_TRUE(monitor.entry(3).lost);
    EXPECT_FALSE(monitor.entry(2).lost);  // not in alarm: no lost alarm
    EXPECT_TRUE(monitor.sounding());
    EXPECT_EQ(events.seen.back(), std::make_pair(3, CpaAlarmEvent::TargetLost));
    // Its stale geometry does not end the lost alarm ...
    monitor.setLevel(3, CpaLevel::None);
    EXPECT_TRUE(monitor.sounding());
    EXPECT_EQ(monitor.alarmCount(), 1);
    // ... an acknowledgement silences it for good ...
    monitor.acknowledge(now);
    tick(1000);
    EXPECT_FALSE(monitor.sounding());
    EXPECT_TRUE(monitor.entry(3).lost);
    // ... and a fresh report ends it.
    table[3].lastUpdate = now;
    tick(1);
    EXPECT_FALSE(monitor.entry(3).lost);
    EXPECT_FALSE(monitor.sounding());
    EXPECT_EQ(monitor.alarmCount(), 0);
}

TEST_F(MonitorTest, ALostTargetHeardAgainInAlarmRaisesAnew) {
    monitor.setLevel(1, CpaLevel::Alarm);
    tick(601);
    monitor.acknowledge(now);
    table[1].lastUpdate = now;
    monitor.setLevel(1, CpaLevel::Alarm);
    tick(1);
    EXPECT_TRUE(monitor.sounding());
    EXPECT_EQ(events.seen.back(), std::make_pair(1, CpaAlarmEvent::Raised));
}

TEST_F(MonitorTest, TheLostTimeFollowsTheTablesRule) {
    table.setAgeing({3, 0});  // class A at 10 kn: lost after 30 s
    table[1].sog = 10.0f;
    monitor.setLevel(1, CpaLevel::Alarm);
    monitor.acknowledge(now);
    tick(30);
    EXPECT_FALSE(monitor.entry(1).lost);
    tick(1);
    EXPECT_TRUE(monitor.entry(1).lost);
}

TEST_F(MonitorTest, StateMovesDownWithTheTable) {
    monitor.setLevel(3, CpaLevel::Alarm);
    monitor.setLevel(1, CpaLevel::Warning);
    monitor.onTargetRemoved(1);
    EXPECT_EQ(monitor.level(2), CpaLevel::Alarm);
    EXPECT_TRUE(monitor.entry(2).sounding);
    EXPECT_EQ(monitor.level(3), CpaLevel::None);
    EXPECT_FALSE(monitor.entry(3).sounding);
    monitor.onTargetRemoved(2);
    EXPECT_FALSE(monitor.sounding());
    monitor.setLevel(1, CpaLevel::Alarm);
    monitor.clear();
    EXPECT_FALSE(monitor.sounding());
}

namespace {

// A harbour: the own ship at its berth, boats at the next berths with GNSS
// jitter in their speed, and one vessel coming in.
struct HarbourTest : ::testing::Test {
    ManualClock clock;
    FakeChart chart;
    Events events;
    TargetTracker tracker{clock, {nullptr, &chart, nullptr, nullptr, nullptr, &events}};
    static constexpr double kLon = 10.0;
    static constexpr double kLat = 57.0;
    static constexpr double kNmLat = 1.0 / 60.0;

    void SetUp() override {
        tracker.setCpaSettings({1, 10});
        CpaGrading g;
        g.graded = true;
        tracker.setCpaGrading(g);
    }
    int receive(const AisMessage& m, bool own = false) {
        AisPayload origin;
        origin.own = own;
        const int index = tracker.applyDecoded(m, origin);
        tracker.UpdateAfterAisMessage(tracker.targetCount());
        return index;
    }
    void ownAt(float sog) { receive(PositionReport(219000000, kLon, kLat, sog, 0, 5), true); }
    // A boat `nm` north of the own berth drifting towards it at `sog`.
    int boat(std::uint32_t mmsi, double nm, float sog, int status) {
        return receive(PositionReport(mmsi, kLon, kLat + nm * kNmLat, sog, 180, status));
    }
};

}  // namespace

TEST_F(HarbourTest, MooredBoatsStayQuietWhileAVesselComingInAlarms) {
    ownAt(0.1f);
    const int a = boat(219000001, 0.01, 0.1f, 5);  // jitter towards the own berth
    const int b = boat(219000002, 0.02, 0.6f, 1);  // at anchor, jitter above 0.2 kn
    const int c = boat(219000003, 0.8, 6.0f, 0);   // coming in: 8 minutes to CPA
    ASSERT_EQ(c, 3);
    EXPECT_EQ(tracker.cpaLevel(a), CpaLevel::None);
    EXPECT_EQ(tracker.cpaLevel(b), CpaLevel::None);
    EXPECT_EQ(tracker.cpaLevel(c), CpaLevel::Alarm);
    EXPECT_FALSE(chart.dangerous[a]);
    EXPECT_TRUE(chart.dangerous[c]);
    ASSERT_EQ(events.seen.size(), 1u);
    EXPECT_EQ(events.seen[0], std::make_pair(c, CpaAlarmEvent::Raised));
    EXPECT_TRUE(tracker.cpaAlarms().sounding());
}

TEST_F(HarbourTest, LeavingTheBerthEndsTheQuiet) {
    ownAt(0.1f);
    const int a = boat(219000001, 0.01, 0.1f, 5);
    EXPECT_EQ(tracker.cpaLevel(a), CpaLevel::None);
    ownAt(0.5f);  // the own ship casts off (heading north, at the boat)
    EXPECT_EQ(tracker.cpaLevel(a), CpaLevel::Alarm);
}

TEST_F(HarbourTest, AnEntryReusedInAFullTableStartsWithoutAnAlarm) {
    ownAt(0.1f);
    boat(219000003, 0.8, 6.0f, 0);  // entry 1, in alarm ...
    clock.advance(601);
    tracker.stepCpaAlarms();
    ASSERT_TRUE(tracker.cpaAlarms().entry(1).lost);  // ... and lost
    for (std::uint32_t i = 0; i < 499; ++i)
        boat(229000000 + i, 50.0, 1.0f, 0);  // far off, no level
    ASSERT_EQ(tracker.targetCount(), 501);
    // The next new station takes entry 1, heard longest ago.
    EXPECT_EQ(boat(239000001, 40.0, 1.0f, 0), 1);
    EXPECT_EQ(tracker.cpaLevel(1), CpaLevel::None);
    EXPECT_FALSE(tracker.cpaAlarms().entry(1).sounding);
    EXPECT_FALSE(tracker.cpaAlarms().sounding());
}

TEST_F(HarbourTest, UngradedTheHarbourAlarmsAsBefore) {
    tracker.setCpaGrading(CpaGrading{});
    ownAt(0.1f);
    const int a = boat(219000001, 0.01, 0.1f, 5);
    EXPECT_EQ(tracker.cpaLevel(a), CpaLevel::Alarm);
    EXPECT_TRUE(chart.dangerous[a]);
    EXPECT_TRUE(events.seen.empty());  // and nothing sounds
    EXPECT_FALSE(tracker.cpaAlarms().sounding());
}

TEST_F(HarbourTest, TheVesselInAlarmFallsSilentAndIsLost) {
    ownAt(0.1f);
    const int c = boat(219000003, 0.8, 6.0f, 0);
    tracker.acknowledgeCpaAlarms();
    for (int s = 0; s < 601; ++s) {
        clock.advance(1);
        ownAt(0.1f);
        tracker.stepCpaAlarms();
    }
    EXPECT_TRUE(tracker.cpaAlarms().entry(c).lost);
    EXPECT_EQ(events.seen.back(), std::make_pair(c, CpaAlarmEvent::TargetLost));
    // The resounding after 300 s came first: the danger stood all along.
    EXPECT_EQ(events.seen[1], std::make_pair(c, CpaAlarmEvent::Resounded));
}
