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

struct OwnShipTest : ::testing::Test {
    ManualClock clock;
    FakeTargetView targets;
    FakeChart chart;
    FakeGnssView gnssView;
    FakeOwnView ownView;
    norq::codec::SentenceCodec codec;
    TargetTracker tracker{clock, {&targets, &chart, &ownView, nullptr, nullptr}};
    OwnShip own{codec, tracker, &gnssView, &chart, &ownView, &targets};
    SentenceIntake intake{codec, {&tracker, &own, nullptr, nullptr, nullptr}};

    void line(const std::string& body) { intake.ReceiveLine(Checksummed(body), true); }
    const TargetRecord& entry0() { return tracker.table().own(); }
};

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

TEST_F(OwnShipTest, CourseOutOfRangeKeepsThePreviousCourse) {
    line("GPRMC,120003,A,5100.0,N,00130.0,E,12.5,45.0,310124,,,A");
    line("GPRMC,120004,A,5100.1,N,00130.0,E,13.0,361.0,310124,,,A");
    EXPECT_FLOAT_EQ(entry0().cog, 45.0f);
    EXPECT_FLOAT_EQ(entry0().sog, 13.0f);
    EXPECT_NEAR(entry0().latitude, 51.001667, 1e-5);
}

TEST_F(OwnShipTest, LostFixShowsTheManualPosition) {
    chart.position = {4.0, 52.0, 0.0};
    line("GPGGA,120000.00,5100.0,N,00100.0,E,0,00,,,,,,,");
    EXPECT_EQ(entry0().ownPositionValid, 0);
    EXPECT_DOUBLE_EQ(ownView.lon, 4.0);
    EXPECT_DOUBLE_EQ(ownView.sog, 103.0);  // both shown as "N/A"
    EXPECT_DOUBLE_EQ(ownView.cog, 361.0);
    EXPECT_FLOAT_EQ(entry0().longitude, 4.0f);  // the manual position stands in
    EXPECT_EQ(gnssView.fix, FixIndicator::Lost);
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
