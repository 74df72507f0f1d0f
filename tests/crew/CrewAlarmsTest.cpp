// The crew alarms: the way back to a person in the water, checked against an
// independent great-circle computation; the popup, sound and mute around a
// second person in the water; the selection of the rescue guide; the status
// light; the automatic safety message.
#include <gtest/gtest.h>

#include <cmath>

#include "CrewTestSupport.h"
#include "base/LanguageTable.h"
#include "crew/CrewRescueGuide.h"

namespace norq::crew {
namespace {

using test::CrewFixture;

// Initial great-circle course and haversine distance on the mean Earth
// radius, written out here without the program's geometry.
struct Leg {
    double nm;
    double bearing;
};
Leg GreatCircle(double lon1, double lat1, double lon2, double lat2) {
    constexpr double kRad = 3.14159265358979323846 / 180.0;
    const double p1 = lat1 * kRad, p2 = lat2 * kRad, dl = (lon2 - lon1) * kRad;
    const double y = std::sin(dl) * std::cos(p2);
    const double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
    double b = std::atan2(y, x) / kRad;
    if (b < 0) b += 360.0;
    const double h = std::pow(std::sin((p2 - p1) / 2), 2) +
                     std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
    const double km = 2 * 6371.0088 * std::asin(std::sqrt(h));
    return {km / 1.852, b};
}

void ExpectLikeGreatCircle(double ownLon, double ownLat, double lon, double lat) {
    float range = 0, bearing = 0;
    CrewAlarmRangeBearing(ownLon, ownLat, lon, lat, range, bearing);
    const Leg leg = GreatCircle(ownLon, ownLat, lon, lat);
    EXPECT_NEAR(range, leg.nm, leg.nm * 0.005 + 0.002) << ownLon << "," << ownLat;
    double diff = std::fabs(bearing - leg.bearing);
    if (diff > 180.0) diff = 360.0 - diff;
    EXPECT_LT(diff, 0.5) << "bearing " << bearing << " expected " << leg.bearing;
}

TEST(RescueGuideGeometry, AtSixtyNorthTheBearingScalesTheLongitude) {
    // Half a degree of longitude at 60 N is as far as a quarter degree of
    // latitude: a raw degree bearing would be off by about 20 degrees here.
    ExpectLikeGreatCircle(5.30, 60.40, 5.35, 60.42);
    ExpectLikeGreatCircle(5.30, 60.40, 5.25, 60.39);
    ExpectLikeGreatCircle(-20.0, 60.0, -19.9, 60.0);
    ExpectLikeGreatCircle(-20.0, 60.0, -20.0, 59.95);
}

TEST(RescueGuideGeometry, AcrossTheAntimeridianTheShortWayIsTaken) {
    ExpectLikeGreatCircle(179.99, -17.0, -179.99, -17.01);
    ExpectLikeGreatCircle(-179.98, 52.0, 179.97, 52.02);
    ExpectLikeGreatCircle(180.0, 0.0, -179.95, 0.03);
}

TEST(RescueGuideGeometry, UnknownPositionsGiveNoRangeAndNoBearing) {
    float range = 0, bearing = 0;
    CrewAlarmRangeBearing(181.0, 91.0, 5.0, 60.0, range, bearing);
    EXPECT_EQ(range, kCrewRangeUnknown);
    EXPECT_EQ(bearing, kCrewBearingUnknown);
    CrewAlarmRangeBearing(5.0, 60.0, 5.0, 60.0, range, bearing);
    EXPECT_FLOAT_EQ(bearing, 0.0f);
    EXPECT_LT(range, 0.01f);
}

TEST(CrewAlarmEntries, TheAlarmBeginsWhereTheShipWasAndTheGuideFollowsTheShip) {
    CrewFixture f;
    f.receive("$PMOB,93FA2F,1,01,D2,000000");
    f.receive("$PMOB,93FA2F,1,02,D2,000000", 5.30, 60.40);
    ASSERT_EQ(f.watch.alarms().count(), 1);
    EXPECT_FLOAT_EQ(f.watch.alarms()[0].latitude, 60.40f);
    // The ship has run on a mile to the east: the person is astern, to the west.
    CrewTickInput in;
    in.ownLon = 5.30 + 1.0 / 60.0 / std::cos(60.4 * 3.14159265 / 180.0);
    in.ownLat = 60.40;
    f.clock.advance(1);
    f.watch.TimerMOBTick(in);
    EXPECT_NEAR(f.watch.alarms()[0].range, 1.0, 0.01);
    EXPECT_NEAR(f.watch.alarms()[0].bearing, 270.0, 0.3);
    // SOS to LOST changes only the state; ONLINE ends the alarm.
    f.receive("$PMOB,93FA2F,1,03,D2,000000", 9.0, 61.0);
    EXPECT_EQ(f.watch.alarms()[0].state, CrewDeviceState::Lost);
    EXPECT_FLOAT_EQ(f.watch.alarms()[0].latitude, 60.40f);
    f.receive("$PMOB,93FA2F,1,01,D2,000000");
    EXPECT_TRUE(f.watch.alarms().empty());
    EXPECT_EQ(f.watch.events().count(), 1);
}

TEST(CrewAlarmEntries, RepeatersNeverEnterTheAlarmList) {
    CrewFixture f;
    f.receive("$PMOB,5A0001,2,01,E6,000000");
    f.tick(16);
    EXPECT_EQ(f.watch.table()[0].state, CrewDeviceState::Lost);
    EXPECT_TRUE(f.watch.alarms().empty());
    EXPECT_TRUE(f.watch.repeaterAlarm());
}

TEST(CrewAlarmSelection, StaysOnItsPendantWhenAnEarlierEntryGoes) {
    CrewFixture f;
    f.receive("$PMOB,000001,1,02,D2,000000");
    f.receive("$PMOB,000002,1,02,D2,000000");
    f.receive("$PMOB,000003,1,02,D2,000000");
    f.watch.SelectCrewAlarm(2);
    f.receive("$PMOB,000001,1,01,D2,000000");  // the first one is safe again
    ASSERT_EQ(f.watch.alarms().count(), 2);
    EXPECT_EQ(f.watch.alarms()[f.watch.alarms().selected()].deviceId.text(), "000.000.003");
    f.tick();
    EXPECT_EQ(f.watch.alarms()[f.watch.alarms().selected()].deviceId.text(), "000.000.003");
    // The selected one going away leaves the guide on the first entry.
    f.receive("$PMOB,000003,1,01,D2,000000");
    EXPECT_EQ(f.watch.alarms().selected(), 0);
}

TEST(CrewAlarmSelection, AClickOnAPendantInAlarmSelectsItsEntry) {
    CrewFixture f;
    f.receive("$PMOB,000001,1,02,D2,000000");
    f.receive("$PMOB,000002,1,01,D2,000000");
    f.receive("$PMOB,000003,1,02,D2,000000");
    EXPECT_TRUE(f.watch.CrewRowClicked(2));
    EXPECT_EQ(f.watch.alarms().selected(), 1);
    EXPECT_FALSE(f.watch.CrewRowClicked(1));
    EXPECT_EQ(f.watch.alarms().selected(), 1);
}

TEST(CrewAlarmPopup, ComesBackAndUnmutesForEveryNewPersonInTheWater) {
    CrewFixture f;
    f.receive("$PMOB,000001,1,01,D2,000000");
    f.receive("$PMOB,000002,1,01,D2,000000");
    f.receive("$PMOB,000001,1,02,D2,000000");
    f.tick();
    EXPECT_EQ(f.view.firstAlarms, 1);
    EXPECT_EQ(f.view.popups, 1);
    EXPECT_TRUE(f.view.guideShown);
    EXPECT_TRUE(f.sound.active);
    EXPECT_EQ(f.view.beeps, 1);

    f.watch.SetMute(true);
    EXPECT_EQ(f.port.sent.back(), "$PMOB,000000,0,0C,,*7F\r\n");
    EXPECT_FALSE(f.sound.active);
    f.tick(3);
    EXPECT_EQ(f.view.beeps, 1);
    EXPECT_EQ(f.view.popups, 1);

    // The second person: the controller is unmuted, the sound and popup return.
    f.receive("$PMOB,000002,1,02,D2,000000");
    EXPECT_FALSE(f.watch.muted());
    EXPECT_EQ(f.view.muteReleases, 1);
    EXPECT_EQ(f.port.sent.back(), "$PMOB,000000,0,0B,,*7E\r\n");
    EXPECT_TRUE(f.sound.active);
    f.tick();
    EXPECT_EQ(f.view.popups, 2);
    EXPECT_EQ(f.view.firstAlarms, 1);
    EXPECT_EQ(f.view.beeps, 2);
}

TEST(CrewAlarmPopup, AnEmptyListReleasesTheMute) {
    CrewFixture f;
    f.receive("$PMOB,000001,1,02,D2,000000");
    f.tick();
    f.watch.SetMute(true);
    f.receive("$PMOB,000001,1,01,D2,000000");
    EXPECT_FALSE(f.watch.muted());
    EXPECT_EQ(f.view.muteReleases, 1);
    EXPECT_EQ(f.port.sent.back(), "$PMOB,000000,0,0B,,*7E\r\n");
    f.tick();
    EXPECT_FALSE(f.view.guideShown);
    EXPECT_FALSE(f.sound.active);
    // The next alarm is a first alarm again.
    f.receive("$PMOB,000001,1,02,D2,000000");
    f.tick();
    EXPECT_EQ(f.view.firstAlarms, 2);
}

TEST(CrewAlarmSrm, GoesOutAtTheFirstAlarmTickAndEverySixtyOneTicks) {
    CrewFixture f;
    f.port.srmAllowed = true;
    f.receive("$PMOB,000001,1,02,D2,000000");
    std::vector<int> at;
    for (int tick = 1; tick <= 125; ++tick) {
        const int before = f.port.srms;
        f.tick();
        // The pendant keeps calling, so it never counts as silent.
        f.receive("$PMOB,000001,1,02,D2,000000");
        if (f.port.srms != before) at.push_back(tick);
    }
    EXPECT_EQ(at, (std::vector<int>{1, 62, 123}));
}

TEST(CrewStatus, NamesThePeopleInTheWaterAndBlinks) {
    CrewFixture f;
    base::TextStore texts;
    EXPECT_EQ(f.watch.TimerBlinkingTick(texts).text, "NORMAL");
    EXPECT_EQ(f.watch.TimerBlinkingTick(texts).led, 1);  // no blinking while all is well
    f.receive("$PMOB,000001,1,01,D2,000000");
    f.receive("$PMOB,000002,1,01,D2,000000");
    f.watch.EditDevice(0, "Deck 1", "");
    f.watch.EditDevice(1, "Deck 2", "");
    f.receive("$PMOB,000001,1,02,D2,000000");
    f.receive("$PMOB,000002,1,02,D2,000000");
    const CrewStatusDisplay a = f.watch.TimerBlinkingTick(texts);
    const CrewStatusDisplay b = f.watch.TimerBlinkingTick(texts);
    const CrewStatusDisplay& on = a.led == 3 ? a : b;
    const CrewStatusDisplay& off = a.led == 3 ? b : a;
    EXPECT_EQ(on.text, "ALERT -- Deck 1;Deck 2;");
    EXPECT_EQ(on.colour, chart::PaletteRole::Alarm);
    EXPECT_EQ(off.led, 0);
    EXPECT_EQ(off.text, on.text);
    EXPECT_FALSE(off.pendantPictureShown);
}

TEST(CrewStatus, ALostRepeaterComesBeforeLowBatteryAndNeitherIsAnAlarmEntry) {
    CrewFixture f;
    base::TextStore texts;
    f.receive("$PMOB,5A0001,2,01,E6,000000");
    f.receive("$PMOB,000001,1,01,BE,5A0001");  // battery below 200
    f.watch.EditDevice(0, "Aft Rptr", "");
    f.watch.EditDevice(1, "Deck 1", "");
    f.tick();
    CrewStatusDisplay s = f.watch.TimerBlinkingTick(texts);
    if (s.led == 0) s = f.watch.TimerBlinkingTick(texts);
    EXPECT_EQ(s.text, "LOW BATTERY -- Deck 1;");
    EXPECT_EQ(s.colour, chart::PaletteRole::Maroon);
    // The repeater falls silent; the pendant keeps calling through the controller.
    for (int i = 0; i < 16; ++i) {
        f.tick();
        f.receive("$PMOB,000001,1,01,BE,000000");
    }
    ASSERT_EQ(f.watch.table()[0].state, CrewDeviceState::Lost);
    s = f.watch.TimerBlinkingTick(texts);
    if (s.led == 0) s = f.watch.TimerBlinkingTick(texts);
    EXPECT_EQ(s.led, 2);
    EXPECT_EQ(s.text, "REPEATER LOST -- Aft Rptr;");
    EXPECT_TRUE(f.watch.alarms().empty());
    EXPECT_EQ(f.view.popups, 0);
}

TEST(CrewEvents, NameTheZoneThePendantWasHeardIn) {
    CrewFixture f;
    f.receive("$PMOB,5A0001,2,01,E6,000000");
    f.watch.EditDevice(0, "Aft Rptr", "");
    f.receive("$PMOB,000001,1,02,D2,5A0001");
    f.receive("$PMOB,000002,1,02,D2,000000");
    f.receive("$PMOB,000003,1,02,D2,5A0009");  // a repeater nobody knows
    ASSERT_EQ(f.watch.events().count(), 3);
    EXPECT_EQ(f.watch.events().newest(2).zoneName, "Aft Rptr");
    EXPECT_EQ(f.watch.events().newest(2).zoneIdText, "090.000.001");
    EXPECT_EQ(f.watch.events().newest(1).zoneName, "Controller");
    EXPECT_EQ(f.watch.events().newest(1).zoneIdText, "000.000.000");
    EXPECT_EQ(f.watch.events().newest(0).zoneName, " ");
    EXPECT_EQ(f.watch.events().newest(0).zoneIdText, "090.000.009");
}

TEST(RescueGuideTexts, TurnTheOperatorTowardsTheAlarm) {
    ManualCrewClock clock;
    CrewDeviceTable table(clock);
    base::TextStore texts;
    CrewAlarm e;
    e.deviceId = {{147, 250, 47}};
    e.bearing = 10.0f;
    e.range = 1.234f;
    e.elapsed = 3725;
    e.longitude = 5.5f;
    e.latitude = 60.25f;
    const RescueGuide g = MakeRescueGuide(e, table, 350.0, true, texts);
    EXPECT_FLOAT_EQ(g.relative, 20.0f);
    EXPECT_EQ(g.blinking, GuideArrow::Right);
    EXPECT_EQ(g.angle, "20.0°");
    EXPECT_EQ(g.range, "  1.23 nm");
    EXPECT_EQ(g.bearing, " 10.0°");
    EXPECT_EQ(g.elapsed, "01:02:05");
    EXPECT_EQ(g.deviceId, "(147.250.047)");
    EXPECT_EQ(RelativeAlarmBearing(10.0f, 30.0), -20.0f);
    EXPECT_EQ(RelativeAlarmBearing(10.0f, 360.0), kRelativeBearingUnknown);
    const RescueGuide ahead = MakeRescueGuide(e, table, 9.5, false, texts);
    EXPECT_EQ(ahead.blinking, GuideArrow::Up);
    EXPECT_EQ(ahead.angle, " 0.5°");
    e.range = -1;
    e.bearing = kCrewBearingUnknown;
    const RescueGuide unknown = MakeRescueGuide(e, table, 0.0, true, texts);
    EXPECT_EQ(unknown.range, "N/A");
    EXPECT_EQ(unknown.bearing, "N/A");
    EXPECT_FALSE(unknown.arrowsShown);
}

TEST(RescueGuideTexts, TheAlarmTimeIsOnATwelveHourClock) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(TwelveHourTime(1700000000 - 1700000000 % 86400 + 309), "12:05:09 AM");
    EXPECT_EQ(TwelveHourTime(1700000000 - 1700000000 % 86400 + 13 * 3600), "01:00:00 PM");
    EXPECT_EQ(TwelveHourTime(1700000000 - 1700000000 % 86400 + 12 * 3600), "12:00:00 PM");
}

}  // namespace
}  // namespace norq::crew
