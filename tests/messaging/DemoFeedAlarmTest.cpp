// The demo feed holds an active AIS-SART, a SART in test mode, an AIS MOB and
// safety messages. Replayed through the intake, it must raise exactly the
// alarms it should: the active SART and the MOB (registered or not) alarm,
// the test SART never does, and every safety message but the test ones alerts.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "ais/RunState.h"
#include "crew/AisMobList.h"
#include "messaging/SafetyMessages.h"

namespace norq::test {
namespace {

struct CountingSound : crew::AlarmSound {
    int activations = 0;
    bool active = false;
    void Activate(std::string_view) override {
        activations += active ? 0 : 1;
        active = true;
    }
    void Deactivate(std::string_view) override { active = false; }
    bool AnyActive() const override { return active; }
};

TEST(DemoFeedAlarms, RaisesExactlyTheAlarmsItShould) {
    ais::ManualClock clock;
    auto run = std::make_unique<ais::RunState>(clock);
    crew::AisMobList mob(clock, run->tracker.table());
    messaging::SafetyMessages srm(clock, run->tracker);
    CountingSound sound;
    mob.setSound(&sound);
    srm.setNames(&mob);
    ais::TrackerConnections c;
    c.mobList = &mob;
    c.followUps = &srm;
    run->tracker.connect(c);
    // The crew's own MOB beacon is registered; the liferaft's SART is not.
    mob.Add(972001234, "DECKHAND");
    mob.Add(970111222, "EXERCISE SART");

    std::ifstream in(NORQ_SOURCE_DIR "/data/demo/demo.nmea", std::ios::binary);
    ASSERT_TRUE(in.good());
    std::string line;
    int lines = 0;
    while (std::getline(in, line)) {
        line += '\n';
        run->ReceiveLine(line, false);
        if (++lines % 100 == 0) {
            clock.advance(1);
            mob.Timer1Tick();
        }
    }
    mob.Timer1Tick();
    ASSERT_GT(lines, 10000);

    std::set<std::uint32_t> alarmed;
    for (int i = 0; i < mob.count(); ++i) {
        if (mob.entry(i).status != crew::MobStatus::Quiet) alarmed.insert(mob.entry(i).mmsi);
    }
    EXPECT_EQ(alarmed, (std::set<std::uint32_t>{970222333, 972001234}));
    EXPECT_EQ(mob.alarmRows(), 2);
    EXPECT_TRUE(sound.active);
    // Only the registered devices are for the file.
    EXPECT_EQ(mob.FileText(), "972001234,DECKHAND\n970111222,EXERCISE SART\n");

    // 13 messages alert (one 12 to the own ship, three 14 of stations, five
    // SART ACTIVE, four MOB ACTIVE); the seven SART TEST are kept as tests.
    EXPECT_EQ(srm.alertCount(), 13);
    int tests = 0;
    for (int i = 0; i < srm.inBox().count(); ++i) {
        const messaging::SrmMessage& m = srm.inBox()[i];
        if (m.state == messaging::SrmState::ReceivedTest) {
            ++tests;
            EXPECT_EQ(m.mmsi, 970111222u);
        }
    }
    EXPECT_EQ(tests, 7);
    EXPECT_EQ(srm.inBox().count(), 20);
}

}  // namespace
}  // namespace norq::test
