// The alarm scenarios of tests/fixtures/scenarios run through the simulator
// and fed, second by second, through the viewer's intake: the quiet harbour
// and the dangerous target that falls silent.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ScenarioParser.h"
#include "Simulator.h"
#include "ais/RunState.h"

namespace norq::sim::test {
namespace {

struct Events : ais::CpaAlarmReport {
    std::vector<std::pair<std::uint32_t, ais::CpaAlarmEvent>> seen;
    const ais::TargetTable* table = nullptr;
    void onCpaAlarm(int index, ais::CpaAlarmEvent e) override {
        seen.emplace_back((*table)[index].mmsi, e);
    }
};

// The viewer's core with the graded alarm on, fed from a scenario.
struct AlarmReplay {
    ais::ManualClock clock;
    std::unique_ptr<ais::RunState> run = std::make_unique<ais::RunState>(clock);
    std::unique_ptr<Simulator> sim;
    Events events;
    double fedTo = 0.0;

    explicit AlarmReplay(const std::string& file) {
        Scenario scenario;
        std::vector<std::string> errors;
        const bool loaded = LoadScenarioFile(NORQ_FIXTURES "/scenarios/" + file, scenario, errors);
        EXPECT_TRUE(loaded) << (errors.empty() ? file : errors.front());
        sim = std::make_unique<Simulator>(std::move(scenario));
        events.table = &run->tracker.table();
        ais::TrackerConnections c;
        c.cpaAlarms = &events;
        run->tracker.connect(c);
        ais::CpaGrading grading;
        grading.graded = true;
        run->tracker.setCpaGrading(grading);
    }
    // Runs on to `seconds`, one simulated second at a time, with the viewer's
    // one-second steps in between.
    void runTo(double seconds) {
        while (fedTo < seconds) {
            fedTo += 1.0;
            LineBatch batch;
            sim->advanceTo(fedTo, batch);
            for (const TimedLine& line : batch) {
                if (line.device == Device::CrewWatch) continue;
                run->ReceiveLine(line.text, true);
            }
            clock.advance(1);
            run->tracker.AgeTargets();
            run->tracker.stepCpaAlarms();
        }
    }
    int indexOf(std::uint32_t mmsi) const {
        const ais::TargetTable& t = run->tracker.table();
        for (int i = 1; i < t.count(); ++i) {
            if (t[i].mmsi == mmsi) return i;
        }
        return -1;
    }
    ais::CpaLevel levelOf(std::uint32_t mmsi) const { return run->tracker.cpaLevel(indexOf(mmsi)); }
};

constexpr std::uint32_t kNextBerth = 227000101;
constexpr std::uint32_t kYacht = 227000102;
constexpr std::uint32_t kAtAnchor = 227000103;
constexpr std::uint32_t kLaidUp = 227000104;
constexpr std::uint32_t kComingIn = 227000105;
constexpr std::uint32_t kSilentRunner = 229000201;
constexpr std::uint32_t kFarOff = 229000202;

}  // namespace

TEST(AlarmScenarios, InTheHarbourOnlyTheVesselComingInAlarms) {
    AlarmReplay replay("harbour.scenario");
    replay.runTo(200);  // every boat has reported (a moored class A every 3 min)
    const ais::TargetTable& table = replay.run->tracker.table();
    ASSERT_TRUE(ais::OwnShipAtRest(table.own()));
    for (std::uint32_t mmsi : {kNextBerth, kYacht, kAtAnchor, kLaidUp, kComingIn}) {
        ASSERT_GE(replay.indexOf(mmsi), 1) << mmsi;
    }
    for (std::uint32_t mmsi : {kNextBerth, kYacht, kAtAnchor, kLaidUp}) {
        EXPECT_EQ(replay.levelOf(mmsi), ais::CpaLevel::None) << mmsi;
    }
    EXPECT_EQ(replay.levelOf(kComingIn), ais::CpaLevel::Alarm);
    ASSERT_FALSE(replay.events.seen.empty());
    for (const auto& [mmsi, event] : replay.events.seen)
        EXPECT_EQ(mmsi, kComingIn);
    EXPECT_TRUE(replay.run->tracker.cpaAlarms().sounding());

    // The same harbour without the grading: the drifting boats are dangerous.
    replay.run->tracker.setCpaGrading(ais::CpaGrading{});
    int dangerous = 0;
    for (std::uint32_t mmsi : {kNextBerth, kYacht, kAtAnchor}) {
        if (replay.levelOf(mmsi) == ais::CpaLevel::Alarm) ++dangerous;
    }
    EXPECT_GE(dangerous, 2);
    EXPECT_EQ(replay.levelOf(kLaidUp), ais::CpaLevel::None);  // quite still: never was
}

TEST(AlarmScenarios, ADangerousTargetThatFallsSilentIsAnnouncedLost) {
    AlarmReplay replay("lost-in-alarm.scenario");
    replay.run->tracker.table().setAgeing({3, 0});  // class A at 14 kn: lost after 30 s
    replay.runTo(140);
    ASSERT_EQ(replay.levelOf(kSilentRunner), ais::CpaLevel::Alarm);
    replay.run->tracker.acknowledgeCpaAlarms();
    EXPECT_FALSE(replay.run->tracker.cpaAlarms().sounding());
    replay.runTo(200);
    const int index = replay.indexOf(kSilentRunner);
    ASSERT_GE(index, 1);
    EXPECT_TRUE(replay.run->tracker.table().isLost(index, replay.clock.monotonicSeconds()));
    EXPECT_TRUE(replay.run->tracker.cpaAlarms().entry(index).lost);
    EXPECT_TRUE(replay.run->tracker.cpaAlarms().sounding());
    ASSERT_FALSE(replay.events.seen.empty());
    EXPECT_EQ(replay.events.seen.back(),
              std::make_pair(kSilentRunner, ais::CpaAlarmEvent::TargetLost));
    // The vessel far off is neither in alarm nor lost.
    const int far = replay.indexOf(kFarOff);
    ASSERT_GE(far, 1);
    EXPECT_EQ(replay.levelOf(kFarOff), ais::CpaLevel::None);
    EXPECT_FALSE(replay.run->tracker.cpaAlarms().entry(far).lost);
    // Acknowledged, the lost alarm stays on without sounding again.
    replay.run->tracker.acknowledgeCpaAlarms();
    replay.runTo(600);
    EXPECT_FALSE(replay.run->tracker.cpaAlarms().sounding());
    EXPECT_EQ(replay.run->tracker.cpaAlarms().alarmCount(), 1);
}

}  // namespace norq::sim::test
