// Habits of real receivers and AIS stations that used to freeze the own ship
// or hide a danger: an empty SOG, a ship lying still without a course, a
// target course of 360, a fix lost while satellites keep being reported, RTK
// fixes, and receivers of two constellations. Everything runs through the
// real intake, tracker and own ship.
#include <gtest/gtest.h>

#include <algorithm>

#include "OwnShipFakes.h"
#include "TrackerFakes.h"
#include "ais/OwnShip.h"
#include "ais/SentenceIntake.h"
#include "ais/TargetTexts.h"
#include "codec/SentenceLines.h"

using namespace norq::ais;
using namespace norq::test;

namespace {

// The own ship lies at 51 N 1.5 E; one nautical mile north is 1/60 degree.
constexpr double kOwnLon = 1.5;
constexpr double kOwnLat = 51.0;
constexpr double kMile = 1.0 / 60.0;

struct OwnShipFaultTest : ::testing::Test, OwnShipRig {
    // A target `miles` north of the own ship; returns its entry.
    const TargetRecord& targetNorth(double miles, float sog, float cog, std::uint32_t mmsi) {
        tracker.applyDecoded(PositionReport(mmsi, kOwnLon, kOwnLat + miles * kMile, sog, cog), {});
        const int index = tracker.table().count() - 1;
        tracker.UpdateTargetGeometry(index, tracker.referencePosition());
        return tracker.table()[index];
    }
    std::string cpaText(const TargetRecord& t) {
        return std::string(CpaText(t.cpa, t.tcpa, true).view());
    }
};

}  // namespace

TEST_F(OwnShipFaultTest, AnEmptySogNeverEntersTheOwnShipAsANumber) {
    // A course but no speed: the speed is not available, nothing is computed.
    line("GPRMC,120003,A,5100.0,N,00130.0,E,,45.0,310124,,,A");
    EXPECT_GT(entry0().sog, 102.2f);
    const TargetRecord& closing = targetNorth(1.1, 10.0f, 180.0f, 211000001);
    EXPECT_EQ(cpaText(closing), "N/A");
    EXPECT_FALSE(chart.dangerous[1]);

    // A speed reported once stays until a later sentence reports another; an
    // empty speed field in between is no report.
    line("GPVTG,45.0,T,,M,0.0,N,0.0,K,A");
    line("GPRMC,120004,A,5100.0,N,00130.0,E,,45.0,310124,,,A");
    line("GPVTG,45.0,T,,M,,N,,K,A");
    EXPECT_FLOAT_EQ(entry0().sog, 0.0f);
    EXPECT_TRUE(chart.dangerous[1]);
    EXPECT_NEAR(closing.tcpa, 6.6, 0.1);
}

TEST_F(OwnShipFaultTest, AStationaryOwnShipWithoutACourseSeesAClosingTarget) {
    // At rest most receivers send a small speed and an empty course.
    line("GPRMC,120003,A,5100.0,N,00130.0,E,0.02,,310124,,,A");
    line("GPVTG,,T,,M,0.02,N,0.04,K,A");
    const TargetRecord& closing = targetNorth(1.1, 10.0f, 180.0f, 211000001);
    EXPECT_NEAR(closing.cpa, 0.0, 0.05);
    EXPECT_NEAR(closing.tcpa, 6.6, 0.1);
    EXPECT_TRUE(chart.dangerous[1]);
}

TEST_F(OwnShipFaultTest, ATargetCourseOf360IsNotAvailableAndNeverPass) {
    line("GPRMC,120003,A,5100.0,N,00130.0,E,5.0,0.0,310124,,,A");
    // Taken as due north it would run away ahead of the own ship: "Pass".
    const TargetRecord& unknownCourse = targetNorth(1.0, 10.0f, 360.0f, 211000001);
    EXPECT_EQ(cpaText(unknownCourse), "N/A");
    EXPECT_EQ(unknownCourse.cpa, kCpaNotAvailable);
    EXPECT_FALSE(chart.dangerous[1]);
    // A target not making way with course 360 (moored, at anchor) lies still,
    // and the own ship heading for it is in danger.
    const TargetRecord& moored = targetNorth(0.5, 0.0f, 360.0f, 211000002);
    EXPECT_NEAR(moored.cpa, 0.0, 0.05);
    EXPECT_NEAR(moored.tcpa, 6.0, 0.1);
    EXPECT_TRUE(chart.dangerous[2]);
}

TEST_F(OwnShipFaultTest, ALostFixGoesStaleWhileSatellitesKeepArriving) {
    line("GPRMC,120003,A,5100.0,N,00130.0,E,0.0,0.0,310124,,,A");
    targetNorth(1.1, 10.0f, 180.0f, 211000001);
    ASSERT_TRUE(chart.dangerous[1]);
    // The receiver goes on reporting its satellites, time and an empty
    // course, but no position.
    for (int second = 1; second <= 61; ++second) {
        clock.advance(1);
        line("GPGSV,1,1,02,03,03,111,40,06,15,270,35");
        line("GPZDA,1200" + std::to_string(10 + second % 50) + ",31,01,2024,00,00");
        line("GPVTG,,T,,M,,N,,K,N");
        own.checkStaleness(true);
        if (second == 60) {
            EXPECT_EQ(entry0().ownPositionValid, 1);
        }
    }
    EXPECT_EQ(entry0().ownPositionValid, 0);
    EXPECT_FALSE(tracker.ownPositionFlag());
    EXPECT_EQ(gnssView.fix, FixIndicator::Lost);
    // The frozen position no longer marks anything dangerous.
    EXPECT_EQ(tracker.table()[1].cpa, kCpaNotAvailable);
    EXPECT_FALSE(chart.dangerous[1]);
}

TEST_F(OwnShipFaultTest, RtkFixedAndFloatAreAFix) {
    // 24 satellites in use, RTK fixed and float alternating with RMC.
    for (int i = 0; i < 4; ++i) {
        line("GNGGA,12000" + std::to_string(i) + ".00,5100.0,N,00130.0,E," +
             std::to_string(i % 2 == 0 ? 4 : 5) + ",24,0.6,10.0,M,47.0,M,1.0,0000");
        EXPECT_EQ(entry0().ownPositionValid, 1) << i;
        line("GNRMC,12000" + std::to_string(i) + ".00,A,5100.0,N,00130.0,E,0.1,,310124,,,R");
    }
    EXPECT_EQ(ownView.manualShown, 0);  // the top strip never fell back
    EXPECT_FLOAT_EQ(entry0().latitude, 51.0f);
}

TEST_F(OwnShipFaultTest, TwoConstellationsAreListedSideBySide) {
    // NMEA 4.0: one GNGSA per constellation, told apart by satellite numbers.
    line("GNGSA,A,3,03,06,,,,,,,,,,,2.5,1.3,2.1");
    line("GNGSA,A,3,70,71,,,,,,,,,,,2.5,1.3,2.1");
    line("GPRMC,120003,A,5100.0,N,00130.0,E,0.0,0.0,310124,,,A");
    EXPECT_EQ(gnssView.fixData.satellitesUsed, 4);
    for (int cycle = 0; cycle < 2; ++cycle) {
        line("GPGSV,2,1,05,03,03,111,40,04,15,270,00,06,01,010,35,13,06,292,00");
        line("GPGSV,2,2,05,14,25,170,00");
        line("GLGSV,1,1,03,70,40,156,22,71,76,297,23,72,24,325,14");
    }
    ASSERT_FALSE(gnssView.cycles.empty());
    const std::vector<int>& shown = gnssView.cycles.back();
    const auto has = [&](int prn) {
        return std::find(shown.begin(), shown.end(), prn) != shown.end();
    };
    EXPECT_TRUE(has(3));
    EXPECT_TRUE(has(14));
    EXPECT_TRUE(has(70));
    EXPECT_EQ(shown.size(), 8u);
    EXPECT_TRUE(own.prnUsed(3));
    EXPECT_TRUE(own.prnUsed(70));
}

TEST_F(OwnShipFaultTest, AnNmea20ReceiverGivesTheOwnShip) {
    intake.ReceiveLine("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n",
                       true);
    EXPECT_EQ(entry0().ownPositionValid, 1);
    EXPECT_NEAR(entry0().latitude, 48.1173, 1e-4);
    EXPECT_FLOAT_EQ(entry0().sog, 22.4f);
    EXPECT_FLOAT_EQ(entry0().cog, 84.4f);
}
