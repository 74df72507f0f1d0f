// The controller's MOB reports through the real codec into the device table,
// the ageing by silence, and the commands as they go out on the wire.
#include <gtest/gtest.h>

#include "CrewTestSupport.h"

namespace norq::crew {
namespace {

using test::CrewFixture;
using test::ParseMob;

constexpr CrewDeviceId kPendant{{0x93, 0xFA, 0x2F}};

TEST(CrewReports, AnOnlineReportOfAnUnknownPendantCreatesIt) {
    CrewFixture f;
    f.receive("$PMOB,93FA2F,1,01,D2,000000");
    ASSERT_EQ(f.watch.table().count(), 1);
    const CrewDevice& d = f.watch.table()[0];
    EXPECT_EQ(d.id.text(), "147.250.047");
    EXPECT_EQ(d.type, CrewDeviceType::Pendant);
    EXPECT_EQ(d.state, CrewDeviceState::Online);
    EXPECT_EQ(d.battery, 210);
    EXPECT_EQ(BatteryLevel(d.battery), 2);
    EXPECT_FALSE(d.lowBattery);
    EXPECT_TRUE(d.zoneId.isController());
    EXPECT_TRUE(f.watch.controllerAlive());

    // The same pendant without a battery value: battery 0, low.
    f.receive("$PMOB,93FA2F,1,01,,000000");
    EXPECT_EQ(f.watch.table()[0].battery, 0);
    EXPECT_TRUE(f.watch.table()[0].lowBattery);
    EXPECT_EQ(f.watch.table().count(), 1);
}

TEST(CrewReports, TheCodecDropsWhatTheControllerCannotHaveMeant) {
    codec::Mob m;
    EXPECT_FALSE(ParseMob("$PMOB,93fa2f,1,01,D2,000000", m));  // lower-case ID
    EXPECT_FALSE(ParseMob("$PMOB,93FA2F,1,0G,D2,000000", m));  // status not hexadecimal
    EXPECT_FALSE(ParseMob("$PMOB,93FA2F,1,01,D2", m));         // four fields
    // An odd payload is no payload, and the sentence still counts.
    ASSERT_TRUE(ParseMob("$PMOB,93FA2F,1,01,D2,00000", m));
    EXPECT_EQ(m.payloadLength, 0);
}

TEST(CrewReports, DisplaysHostsAndTheControllerItselfAreIgnored) {
    CrewFixture f;
    f.receive("$PMOB,93FA2F,3,01,D2,000000");
    f.receive("$PMOB,93FA2F,0,01,D2,000000");
    f.receive("$PMOB,000000,1,01,D2,000000");
    EXPECT_EQ(f.watch.table().count(), 0);
}

TEST(CrewReports, AListReportUpdatesKnownPendantsAndIgnoresItsFirstField) {
    CrewFixture f;
    f.receive("$PMOB,93FA2F,1,01,D2,5A0001");
    f.receive("$PMOB,000000,10,00,,93FA2F31");
    const CrewDevice& d = f.watch.table()[0];
    EXPECT_EQ(d.state, CrewDeviceState::Sos);
    EXPECT_EQ(d.battery, 225);
    EXPECT_FALSE(d.lowBattery);
    // A list report never moves the zone.
    EXPECT_EQ(d.zoneId.text(), "090.000.001");
    // Two entries and a partial third: the partial one is left out.
    f.receive("$PMOB,000000,10,00,,93FA2F00A1B2C300D4");
    EXPECT_EQ(f.watch.table().count(), 2);
    EXPECT_EQ(f.watch.table()[1].id.text(), "161.178.195");
    EXPECT_TRUE(f.watch.table()[1].lowBattery);  // level 0
}

TEST(CrewReports, AnSosFromAPendantNobodyRegisteredRaisesTheAlarm) {
    // A pendant whose registration was missed is still a person in the water.
    CrewFixture single;
    single.receive("$PMOB,93FA2F,1,02,D2,000000");
    ASSERT_EQ(single.watch.table().count(), 1);
    EXPECT_EQ(single.watch.table()[0].state, CrewDeviceState::Sos);
    ASSERT_EQ(single.watch.alarms().count(), 1);
    EXPECT_EQ(single.watch.events().count(), 1);
    EXPECT_EQ(single.watch.events().newest(0).type, CrewEventType::MobSos);

    CrewFixture lost;
    lost.receive("$PMOB,93FA2F,1,03,D2,000000");
    EXPECT_EQ(lost.watch.table()[0].state, CrewDeviceState::Lost);
    EXPECT_EQ(lost.watch.alarms().count(), 1);

    CrewFixture list;
    list.receive("$PMOB,000000,10,00,,93FA2F31");
    EXPECT_EQ(list.watch.table()[0].state, CrewDeviceState::Sos);
    EXPECT_EQ(list.watch.alarms().count(), 1);

    // An off report of an unknown device brings nothing.
    CrewFixture off;
    off.receive("$PMOB,93FA2F,1,08,D2,000000");
    EXPECT_EQ(off.watch.table().count(), 0);
}

TEST(CrewReports, AShutDownPendantStaysSoUntilItReportsOff) {
    CrewFixture f;
    f.receive("$PMOB,93FA2F,1,01,D2,000000");
    f.receive("$PMOB,000000,10,00,,93FA2F33");  // list status 3: shut down
    EXPECT_EQ(f.watch.table()[0].state, CrewDeviceState::ShutDown);
    f.receive("$PMOB,93FA2F,1,01,C0,5A0001");
    EXPECT_EQ(f.watch.table()[0].state, CrewDeviceState::ShutDown);
    EXPECT_EQ(f.watch.table()[0].battery, 225);  // kept from before
    f.receive("$PMOB,93FA2F,1,08,C0,5A0001");
    EXPECT_EQ(f.watch.table()[0].state, CrewDeviceState::Off);
}

TEST(CrewAgeing, ASilentPendantIsLostOnTheSixteenthSecond) {
    CrewFixture f;
    f.receive("$PMOB,93FA2F,1,01,D2,000000");
    f.tick(15);
    EXPECT_EQ(f.watch.table()[0].state, CrewDeviceState::Online);
    EXPECT_TRUE(f.watch.alarms().empty());
    f.tick();
    EXPECT_EQ(f.watch.table()[0].secondsSinceHeard, 16);
    EXPECT_EQ(f.watch.table()[0].state, CrewDeviceState::Lost);
    ASSERT_EQ(f.watch.alarms().count(), 1);
    // The alarm, then the own ship's fix at the first alarm tick.
    ASSERT_EQ(f.watch.events().count(), 2);
    EXPECT_EQ(f.watch.events().newest(1).type, CrewEventType::MobLost);
    EXPECT_EQ(f.watch.events().newest(0).type, CrewEventType::GpsFixed);
    // The controller counts as gone after ten silent ticks.
    EXPECT_FALSE(f.watch.controllerAlive());
}

TEST(CrewAgeing, ACalendarStepNeitherLosesNorKeepsAPendant) {
    CrewFixture f;
    f.receive("$PMOB,93FA2F,1,01,D2,000000");
    f.clock.stepCalendar(3600);  // the ship's clock put forward an hour
    f.tick(2);
    EXPECT_EQ(f.watch.table()[0].state, CrewDeviceState::Online);
    f.clock.stepCalendar(-7200);
    f.tick(14);
    EXPECT_EQ(f.watch.table()[0].state, CrewDeviceState::Lost);
}

TEST(CrewAgeing, ALostReportDoesNotRestartTheSilence) {
    CrewFixture f;
    f.receive("$PMOB,93FA2F,1,01,D2,000000");
    f.tick(10);
    f.receive("$PMOB,93FA2F,1,03,D2,000000");
    f.tick(6);
    EXPECT_EQ(f.watch.table()[0].secondsSinceHeard, 16);
    EXPECT_EQ(f.watch.alarms()[0].state, CrewDeviceState::Lost);
    // The pendant coming back ends its alarm.
    f.receive("$PMOB,93FA2F,1,01,D2,000000");
    EXPECT_TRUE(f.watch.alarms().empty());
}

TEST(CrewCommands, GoOutAsTheControllerExpectsThem) {
    CrewFixture f;
    f.receive("$PMOB,93FA2F,1,02,D2,000000");
    f.watch.SendCrewCommand(CrewCommand::ShutDownOne, 0);
    f.watch.SendCrewCommand(CrewCommand::ShutDownAll);
    f.watch.SendCrewCommand(CrewCommand::CancelSos, 0);
    f.watch.SendCrewCommand(CrewCommand::Mute);
    f.watch.SendCrewCommand(CrewCommand::Unmute);
    f.watch.SendCrewCommand(CrewCommand::Probe);
    const std::vector<std::string> expected = {
        "$PMOB,93FA2F,1,08,,*7C\r\n", "$PMOB,000000,1,08,,*05\r\n", "$PMOB,93FA2F,1,0A,,*05\r\n",
        "$PMOB,000000,0,0C,,*7F\r\n", "$PMOB,000000,0,0B,,*7E\r\n", "$PMOB,000000,60,65,,*39\r\n",
    };
    EXPECT_EQ(f.port.sent, expected);
    // Nothing goes to a port that is not in use.
    f.port.inUse = false;
    EXPECT_FALSE(f.watch.SendCrewCommand(CrewCommand::ShutDownAll));
    EXPECT_EQ(f.port.sent.size(), expected.size());
}

TEST(CrewCommands, ShuttingDownALostPendantTurnsItOffAtOnce) {
    CrewFixture f;
    f.receive("$PMOB,93FA2F,1,01,D2,000000");
    f.receive("$PMOB,5A0001,1,01,D2,000000");
    f.receive("$PMOB,5A0001,1,03,D2,000000");
    ASSERT_TRUE(f.watch.controllerAlive());
    f.watch.ShutDownDevice(0);  // ONLINE: waits for the controller's off report
    EXPECT_EQ(f.watch.table()[0].state, CrewDeviceState::Online);
    f.watch.ShutDownDevice(1);  // LOST: cannot answer, off at once
    EXPECT_EQ(f.watch.table()[1].state, CrewDeviceState::Off);
    EXPECT_TRUE(f.watch.alarms().empty());
    EXPECT_EQ(f.port.sent.size(), 2u);
}

TEST(CrewReports, HostileItemsNeverTouchMemoryOutsideTheTable) {
    // Every kind and status with every payload length the codec can deliver.
    CrewFixture f;
    for (int kind = 0; kind < 256; kind += 3) {
        for (int status = 0; status < 256; status += 7) {
            for (int length = 0; length <= codec::kMobPayloadCapacity; ++length) {
                codec::Mob m;
                m.deviceId = {static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(kind),
                              1};
                m.kind = kind;
                m.status = status;
                m.payloadLength = length;
                for (int i = 0; i < length; ++i)
                    m.payload[static_cast<std::size_t>(i)] =
                        static_cast<std::uint8_t>(kind + i * status);
                f.watch.OnMobSentence(m, 181.0, 91.0);
            }
        }
        f.tick();
    }
    EXPECT_LE(f.watch.table().count(), kMaxCrewDevices);
    EXPECT_LE(f.watch.alarms().count(), f.watch.table().count());
}

}  // namespace
}  // namespace norq::crew
