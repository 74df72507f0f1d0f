// The own ship from GNSS sentences through the real intake: position, course,
// fix indicator, the satellite cycle and staleness.
#include <gtest/gtest.h>

#include "OwnShipFakes.h"
#include "TrackerFakes.h"
#include "ais/OwnShip.h"
#include "ais/SentenceIntake.h"
#include "codec/SentenceLines.h"

using namespace norq::ais;
using namespace norq::test;

namespace {

struct OwnShipTest : ::testing::Test, OwnShipRig {};

}  // namespace

TEST_F(OwnShipTest, FixSetsEntryZeroAndTheTopStrip) {
    line("GPRMC,120003,A,5100.0,N,00130.0,E,12.5,45.0,310124,,,A");
    EXPECT_EQ(entry0().ownPositionValid, 1);
    EXPECT_FLOAT_EQ(entry0().latitude, 51.0f);
    EXPECT_FLOAT_EQ(entry0().longitude, 1.5f);
    EXPECT_FLOAT_EQ(entry0().sog, 12.5f);
    EXPECT_FLOAT_EQ(entry0().cog, 45.0f);
    EXPECT_EQ(gnssView.utc, "2024/01/31 12:00:03");
    EXPECT_DOUBLE_EQ(ownView.lon, 1.5);
    EXPECT_EQ(gnssView.fix, FixIndicator::Fixed);
    EXPECT_DOUBLE_EQ(chart.position.latitude, 51.0);
}

TEST_F(OwnShipTest, GnsIsAPositionSourceLikeGga) {
    // A two-constellation fix (GPS autonomous, GLONASS differential), NMEA 4.1 safe.
    line("GNGNS,120005.00,5100.0000,N,00130.0000,E,AD,14,0.9,35.0,47.0,,,S");
    EXPECT_EQ(entry0().ownPositionValid, 1);
    EXPECT_FLOAT_EQ(entry0().latitude, 51.0f);
    EXPECT_FLOAT_EQ(entry0().longitude, 1.5f);
    EXPECT_TRUE(own.positionItem().valid);
    EXPECT_TRUE(own.timeItem().valid);
    EXPECT_DOUBLE_EQ(chart.position.latitude, 51.0);
    // No date has come yet: the time alone, never 0000/00/00.
    EXPECT_EQ(gnssView.utc, "12:00:05");

    // No constellation with a fix, or a status of not valid, ends the position.
    line("GNGNS,120006.00,5100.0000,N,00130.0000,E,NN,00,,,,,,V");
    EXPECT_FALSE(own.positionItem().valid);
    line("GNGNS,120007.00,5100.0100,N,00130.0000,E,AA,14,0.9,35.0,47.0,,,S");
    EXPECT_TRUE(own.positionItem().valid);
    line("GNGNS,120008.00,5100.0200,N,00130.0000,E,AA,14,0.9,35.0,47.0,,,V");
    EXPECT_FALSE(own.positionItem().valid);
    // An older receiver's GNS without the status field.
    line("GPGNS,120009.00,5200.0000,N,00130.0000,E,A,08,1.1,12.0,47.0,,");
    EXPECT_TRUE(own.positionItem().valid);
    EXPECT_FLOAT_EQ(entry0().latitude, 52.0f);
}

TEST_F(OwnShipTest, CourseOutOfRangeKeepsThePreviousCourse) {
    line("GPRMC,120003,A,5100.0,N,00130.0,E,12.5,45.0,310124,,,A");
    line("GPRMC,120004,A,5100.1,N,00130.0,E,13.0,361.0,310124,,,A");
    EXPECT_FLOAT_EQ(entry0().cog, 45.0f);
    EXPECT_FLOAT_EQ(entry0().sog, 13.0f);
    EXPECT_NEAR(entry0().latitude, 51.001667, 1e-5);
}

TEST_F(OwnShipTest, WithoutAFixTheTopStripShowsNoPositionButTheOperatorsManualOne) {
    chart.position = {4.0, 52.0, 0.0};
    line("GPGGA,120000.00,5100.0,N,00100.0,E,0,00,,,,,,,");
    EXPECT_EQ(entry0().ownPositionValid, 0);
    EXPECT_GT(ownView.lon, 180.0);  // "N/A", not the stand-in as if it were measured
    EXPECT_GT(ownView.lat, 90.0);
    EXPECT_DOUBLE_EQ(ownView.sog, 103.0);  // "N/A"
    EXPECT_DOUBLE_EQ(ownView.cog, 361.0);
    EXPECT_FLOAT_EQ(entry0().longitude, 4.0f);  // the stand-in is the geometry's reference
    EXPECT_EQ(gnssView.fix, FixIndicator::Lost);

    // A position the operator sets by hand is shown, also after later sentences ...
    own.setManualPosition(5.0, 53.0, 90.0);
    EXPECT_DOUBLE_EQ(ownView.lon, 5.0);
    chart.position = {5.0, 53.0, 90.0};
    line("GPGGA,120001.00,5100.0,N,00100.0,E,0,00,,,,,,,");
    EXPECT_DOUBLE_EQ(ownView.lat, 53.0);
    EXPECT_TRUE(own.manualPositionShown());
    // ... until a fix: once that fix goes stale, its last position is no measurement.
    line("GPRMC,120003,A,5100.0,N,00130.0,E,12.5,45.0,310124,,,A");
    EXPECT_FALSE(own.manualPositionShown());
    chart.position = {1.5, 51.0, 45.0};
    clock.advance(61);
    own.checkStaleness(true);
    EXPECT_EQ(entry0().ownPositionValid, 0);
    EXPECT_GT(ownView.lon, 180.0);
}

TEST_F(OwnShipTest, ThreeDimensionalFixShownEvenWithoutAValidRmc) {
    line("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    line("GPRMC,120003,V,,,,,,,310124,,,N");
    EXPECT_EQ(gnssView.fix, FixIndicator::Fix3D);
}

TEST_F(OwnShipTest, SatelliteCycles) {
    line("GPGSA,A,3,03,06,,,,,,,,,,,2.5,1.3,2.1");
    line("GPGSV,3,1,11,03,03,111,40,04,15,270,00,06,01,010,00,13,06,292,00");
    line("GPGSV,3,2,11,14,25,170,00,16,57,208,39,18,67,296,40,19,40,246,00");
    EXPECT_TRUE(gnssView.cycles.empty());  // the cycle is not complete yet
    line("GPGSV,3,3,11,22,42,067,42,24,14,311,43,27,05,244,00");
    ASSERT_EQ(gnssView.cycles.size(), 1u);  // shown with its last sentence
    EXPECT_EQ(gnssView.cycles[0].size(), 11u);
    EXPECT_TRUE(gnssView.lastUsed[0]);   // PRN 3
    EXPECT_FALSE(gnssView.lastUsed[1]);  // PRN 4
    EXPECT_EQ(own.satellites().size(), 11u);
    // A cycle whose last sentence is lost is shown when the next one begins.
    line("GPGSV,3,1,11,03,03,111,,04,15,270,00,06,01,010,00,13,06,292,00");
    line("GPGSV,3,2,11,03,03,111,,16,57,208,39,18,67,296,40,19,40,246,00");
    EXPECT_EQ(gnssView.cycles.size(), 1u);
    line("GPGSV,3,1,11,03,03,111,,04,15,270,00,06,01,010,00,13,06,292,00");
    ASSERT_EQ(gnssView.cycles.size(), 2u);
    EXPECT_EQ(gnssView.cycles[1].size(), 7u);
}

TEST_F(OwnShipTest, PositionGoesStaleAfterSixtySeconds) {
    line("GPRMC,120003,A,5100.0,N,00130.0,E,12.5,45.0,310124,,,A");
    clock.advance(60);
    own.checkStaleness(true);
    EXPECT_TRUE(tracker.ownPositionFlag());
    clock.advance(1);
    own.checkStaleness(false);
    EXPECT_FALSE(tracker.ownPositionFlag());
    EXPECT_EQ(entry0().ownPositionValid, 1);  // no sensor port in use: entry 0 keeps it
    own.checkStaleness(true);
    EXPECT_EQ(entry0().ownPositionValid, 0);
    EXPECT_FLOAT_EQ(entry0().latitude, 51.0f);  // the last values stay
}

TEST_F(OwnShipTest, TargetsAreRecomputedFromEveryFix) {
    tracker.applyDecoded(PositionReport(211000001, 1.5, 51.1, 0.0, 0.0), {});
    const TargetRecord& t = tracker.table()[1];
    line("GPRMC,120003,A,5100.0,N,00130.0,E,10.0,0.0,310124,,,A");
    EXPECT_NEAR(t.range, 6.0, 0.05);
    EXPECT_NEAR(t.cpa, 0.0, 0.01);
    EXPECT_NEAR(t.tcpa, 36.0, 0.3);
}

TEST_F(OwnShipTest, EachItemGoesStaleOnItsOwn) {
    line("GPRMC,120003,A,5100.0,N,00130.0,E,6.0,90.0,310124,,,A");
    line("HEHDT,091.5,T");
    EXPECT_FLOAT_EQ(entry0().heading, 91.5f);
    EXPECT_DOUBLE_EQ(own.heading(), 91.5);
    // Only GGA goes on: the position stays fresh, SOG, COG and heading do not.
    for (int second = 1; second <= 61; ++second) {
        clock.advance(1);
        line("GPGGA,1200" + std::to_string(10 + second % 50) +
             ".00,5100.0,N,00130.0,E,1,08,0.9,10.0,M,,,,");
        own.checkStaleness(true);
    }
    EXPECT_TRUE(own.positionItem().valid);
    EXPECT_EQ(entry0().ownPositionValid, 1);
    EXPECT_FALSE(own.sogItem().valid);
    EXPECT_FALSE(own.cogItem().valid);
    EXPECT_FALSE(own.headingItem().valid);
    EXPECT_GT(entry0().sog, 102.2f);  // shown "N/A"
    EXPECT_EQ(entry0().cog, kCogReset);
    EXPECT_EQ(entry0().heading, kHeadingNotAvailable);
    EXPECT_EQ(own.heading(), kHeadingNotAvailable);
    EXPECT_EQ(tracker.ownCpaStatus(), CpaStatus::NoOwnSpeed);
    EXPECT_TRUE(own.gnssTimeValid());  // GGA with a fix keeps the time
}

TEST_F(OwnShipTest, ANoFixReportEndsThePositionAtOnceButEntryZeroWaitsForStaleness) {
    line("GPRMC,120003,A,5100.0,N,00130.0,E,6.0,90.0,310124,,,A");
    line("GPRMC,120004,V,,,,,,,310124,,,N");
    EXPECT_FALSE(own.positionItem().valid);
    EXPECT_DOUBLE_EQ(ownView.sog, 103.0);  // the top strip falls back at once
    EXPECT_EQ(entry0().ownPositionValid, 1);
    clock.advance(61);
    own.checkStaleness(true);
    EXPECT_EQ(entry0().ownPositionValid, 0);
    EXPECT_EQ(entry0().monitored, 0);
}

TEST_F(OwnShipTest, Nmea411GsaAndGsvOfThreeConstellations) {
    line("GNGSA,A,3,04,05,09,11,36,,,,,,,,1.5,1.3,1.0,3");
    line("GNGSA,A,3,68,69,70,,,,,,,,,,1.5,1.3,1.0,2");
    line("GNGSA,A,3,04,07,,,,,,,,,,,1.5,1.3,1.0,1");
    line("GNGGA,120213.000,5957.0062,N,01100.6429,E,2,10,1.3,168.9,M,39.5,M,,");
    EXPECT_EQ(gnssView.fixData.satellitesUsed, 10);
    EXPECT_EQ(gnssView.fixData.usedBySystem[static_cast<int>(GnssSystem::Galileo)], 5);
    EXPECT_EQ(gnssView.fixData.usedBySystem[static_cast<int>(GnssSystem::Glonass)], 3);
    EXPECT_EQ(gnssView.fixData.quality, 2);
    EXPECT_EQ(gnssView.fixData.fixType, 3);
    // GPS satellite 4 and Galileo satellite 4 are different satellites.
    line("GPGSV,1,1,02,04,19,156,51,06,40,100,30,1");
    line("GAGSV,1,1,02,04,40,062,35,12,10,300,20,7");
    line("GAGSV,1,1,02,04,40,062,33,12,10,300,,1");
    line("GLGSV,1,1,01,68,06,033,31,1");
    const auto list = own.satellites();
    ASSERT_EQ(list.size(), 7u);
    int galileoSignals = 0;
    for (const SatelliteEntry& s : list) {
        if (s.system == GnssSystem::Galileo && s.prn == 4) {
            ++galileoSignals;
            EXPECT_TRUE(s.used);
        }
        const bool unused = (s.system == GnssSystem::Gps && s.prn == 6) ||
                            (s.system == GnssSystem::Galileo && s.prn == 12);
        if (unused) {
            EXPECT_FALSE(s.used) << s.prn;
        }
    }
    EXPECT_EQ(galileoSignals, 2);  // one entry per signal (7 and 1)
    EXPECT_TRUE(own.prnUsed(GnssSystem::Gps, 4));
    EXPECT_FALSE(own.prnUsed(GnssSystem::Gps, 36));
    EXPECT_TRUE(own.prnUsed(GnssSystem::Galileo, 36));
}

TEST_F(OwnShipTest, AConstellationThatFallsSilentLeavesTheLists) {
    line("GNGSA,A,3,03,06,,,,,,,,,,,2.5,1.3,2.1");
    line("GNGSA,A,3,70,71,,,,,,,,,,,2.5,1.3,2.1");
    EXPECT_TRUE(own.prnUsed(70));
    // Two rounds of GPS alone: GLONASS is no longer in use.
    line("GNGSA,A,3,03,06,,,,,,,,,,,2.5,1.3,2.1");
    EXPECT_TRUE(own.prnUsed(70));
    line("GNGSA,A,3,03,06,,,,,,,,,,,2.5,1.3,2.1");
    EXPECT_FALSE(own.prnUsed(70));
    EXPECT_EQ(own.satelliteState().usedCount(), 2);
    // A cycle not heard for 60 s goes from the list.
    line("GLGSV,1,1,01,70,40,156,22");
    clock.advance(30);
    line("GPGSV,1,1,01,03,03,111,40");
    EXPECT_EQ(own.satellites().size(), 2u);
    clock.advance(31);
    own.checkStaleness(true);
    ASSERT_EQ(own.satellites().size(), 1u);
    EXPECT_EQ(own.satellites()[0].prn, 3);
    EXPECT_EQ(gnssView.cycles.back().size(), 1u);
}

TEST_F(OwnShipTest, SpeedFromKilometresPerHourWhenKnotsAreEmpty) {
    line("GPRMC,120003,A,5100.0,N,00130.0,E,,,310124,,,A");
    line("GPVTG,090.0,T,,M,,N,18.52,K,A");
    EXPECT_NEAR(entry0().sog, 10.0f, 1e-4);
    EXPECT_FLOAT_EQ(entry0().cog, 90.0f);
    // A VTG whose mode says the data are not valid reports nothing.
    line("GPVTG,180.0,T,,M,3.0,N,5.6,K,N");
    EXPECT_FLOAT_EQ(entry0().cog, 90.0f);
}

TEST_F(OwnShipTest, TheStatusRowIsToldWhyCpaIsNotComputedWhenItChanges) {
    // The first target without an own fix: no own position.
    tracker.applyDecoded(PositionReport(211000001, 1.5, 51.1, 10.0, 180.0), {});
    tracker.UpdateAfterAisMessage(1);
    ASSERT_EQ(ownView.cpaStatuses, std::vector<CpaStatus>{CpaStatus::NoOwnPosition});
    ownView.cpaStatuses.clear();
    line("GPRMC,120003,A,5100.0,N,00130.0,E,,45.0,310124,,,A");
    line("GPRMC,120004,A,5100.0,N,00130.0,E,,45.0,310124,,,A");
    line("GPRMC,120005,A,5100.0,N,00130.0,E,7.5,,310124,,,A");  // the course stays
    line("GPRMC,120006,A,5100.0,N,00130.0,E,7.5,46.0,310124,,,A");
    clock.advance(61);
    own.checkStaleness(true);
    const std::vector<CpaStatus> expected{CpaStatus::NoOwnSpeed, CpaStatus::Computed,
                                          CpaStatus::NoOwnPosition};
    EXPECT_EQ(ownView.cpaStatuses, expected);
    EXPECT_EQ(tracker.table()[1].cpaStatus, CpaStatus::NoOwnPosition);
}

TEST(OwnPositionCheck, ComparesOnlyFreshValidPositionsTheShortWayAcross180) {
    const TimedPosition gnss{true, 179.999, 10.0, 100};
    // 0.002 degrees of longitude across the antimeridian at 10 N: about 219 m.
    const TimedPosition vdo{true, -179.999, 10.0, 95};
    EXPECT_NEAR(OwnPositionSeparationMetres(gnss, vdo, 100), 219.0, 2.0);
    EXPECT_LT(OwnPositionSeparationMetres(gnss, vdo, 106), 0.0);  // the VDO is 11 s old
    EXPECT_LT(OwnPositionSeparationMetres({}, vdo, 100), 0.0);
    EXPECT_LT(OwnPositionSeparationMetres({true, 181.0, 91.0, 100}, vdo, 100), 0.0);
}

TEST(SilentSource, OnlyASourceHeardBeforeAndSilentBeyondTheLimit) {
    EXPECT_EQ(SilentForSeconds(-1, 500, 30), 0);  // never heard: nothing connected
    EXPECT_EQ(SilentForSeconds(100, 130, 30), 0);
    EXPECT_EQ(SilentForSeconds(100, 131, 30), 31);
    EXPECT_EQ(SilentForSeconds(100, 500, 0), 0);  // the check is off
}
