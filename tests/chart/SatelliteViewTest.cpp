// The GNSS status window's sky plot, signal bars and field texts.
#include <gtest/gtest.h>

#include <vector>

#include "chart/SatelliteView.h"

namespace norq::chart {
namespace {

TEST(SkyPlot, RadiusAndElevationCircles) {
    SkyPlotGeometry g = SkyPlotFor(200, 200);
    EXPECT_EQ(g.radius, 92);
    ASSERT_EQ(g.circleCount, 3);
    EXPECT_EQ(g.circles[0], 30);
    EXPECT_EQ(g.circles[2], 90);
    g = SkyPlotFor(216, 216);
    EXPECT_EQ(g.radius, 100);
    EXPECT_EQ(g.circleCount, 3);
    EXPECT_EQ(g.circles[2], 99);
    g = SkyPlotFor(214, 214);
    EXPECT_EQ(g.radius, 99);
    EXPECT_EQ(g.circleCount, 2);
    EXPECT_EQ(SkyPlotFor(20, 20).circleCount, 0);
}

TEST(SkyPlot, SatellitesByAzimuthAndElevation) {
    const SkyPlotGeometry g = SkyPlotFor(200, 200);
    // East on the horizon: on the outer circle right of the centre (the degree
    // factor 0.0174533 and the truncation may cost a pixel).
    PixelXY p = SatelliteMarkerTopLeft(g, 90, 0);
    EXPECT_NEAR(p.x, 100 + 92 - 10, 1);
    EXPECT_NEAR(p.y, 100 - 10, 1);
    // At the zenith: on the centre, whatever the azimuth.
    for (int az : {0, 123, 359})
        EXPECT_EQ(SatelliteMarkerTopLeft(g, az, 90), (PixelXY{90, 90}));
    // North at 45 degrees: above the centre; west on the horizon: left.
    p = SatelliteMarkerTopLeft(g, 0, 45);
    EXPECT_NEAR(p.x, 90, 1);
    EXPECT_EQ(p.y, 100 - 46 - 10);
    p = SatelliteMarkerTopLeft(g, 270, 0);
    EXPECT_NEAR(p.x, 100 - 92 - 10, 1);
}

TEST(SatelliteSet, AMissingSignalKeepsTheLastBar) {
    SatelliteSet set;
    std::vector<ais::SatelliteEntry> list{{5, 40, 120, 38, true}, {12, 10, 300, 22, false}};
    set.rebuild(list);
    ASSERT_EQ(set.size(), 2);
    EXPECT_EQ(set.bar(0).snr, 38);
    EXPECT_TRUE(set.bar(0).used);
    list[0].snr = 128;  // empty field in the next cycle
    set.rebuild(list);
    EXPECT_EQ(set.bar(0).snr, 38);
    list[1].snr = -1;
    set.rebuild(list);
    EXPECT_EQ(set.bar(1).snr, 22);
}

TEST(SatelliteTexts, FixModeAltitudeAndCount) {
    EXPECT_EQ(FixModeText(3, true), "3D");
    EXPECT_EQ(FixModeText(2, false), "2D");
    EXPECT_EQ(FixModeText(1, false), "Lost");
    EXPECT_EQ(FixModeText(0, true), "Fixed");
    EXPECT_EQ(AltitudeText(-1.0), "N/A");
    EXPECT_EQ(AltitudeText(12.345), "   12.35 m");
    EXPECT_EQ(SatelliteCountText(7, 11), "7/11");
}

}  // namespace
}  // namespace norq::chart
