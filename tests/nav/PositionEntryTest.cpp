#include <gtest/gtest.h>

#include "nav/PositionEntry.h"

namespace norq::nav {
namespace {

TEST(PositionEntryTest, ALongitudeBeyondTheAntimeridianIsShownWrapped) {
    // 185 deg 30' E is 174 deg 30' W, not 174 deg 29' 59''.
    const DmsFields west = ShowDms(185.5, Axis::Longitude);
    EXPECT_EQ(west.degrees, 174);
    EXPECT_EQ(west.minutes, 30);
    EXPECT_EQ(west.seconds, 0.0);
    EXPECT_TRUE(west.negative);
    const DmsFields east = ShowDms(-190.25, Axis::Longitude);
    EXPECT_EQ(east.degrees, 169);
    EXPECT_EQ(east.minutes, 45);
    EXPECT_FALSE(east.negative);
    EXPECT_FALSE(ShowDms(180.0, Axis::Longitude).negative);
    EXPECT_EQ(ShowDms(180.0, Axis::Longitude).degrees, 180);
}

TEST(PositionEntryTest, SecondsAreRoundedWithCarry) {
    // 10 deg 59' 59.9999'' shows as 11 deg 00' 00'' at whole seconds.
    const double value = 10.0 + 59.0 / 60.0 + 59.9999 / 3600.0;
    const DmsFields whole = ShowDms(value, Axis::Latitude);
    EXPECT_EQ(whole.degrees, 11);
    EXPECT_EQ(whole.minutes, 0);
    EXPECT_EQ(whole.seconds, 0.0);
    const DmsFields fine = ShowDms(value, Axis::Latitude, 5);
    EXPECT_EQ(fine.degrees, 10);
    EXPECT_EQ(fine.minutes, 59);
    EXPECT_NEAR(fine.seconds, 59.9999, 1e-9);
}

TEST(PositionEntryTest, ShowingAndTakingBackKeepsThePosition) {
    // Every whole second of a band of latitudes and longitudes survives the round
    // trip (a truncating split stores many of them one second off).
    for (int s = -3600 * 3; s <= 3600 * 3; s += 7) {
        const double value = 22.6 + s / 3600.0;
        for (Axis axis : {Axis::Latitude, Axis::Longitude}) {
            const auto back = EnterDms(ShowDms(value, axis), axis);
            ASSERT_TRUE(back.has_value());
            EXPECT_NEAR(*back, value, 0.5 / 3600.0) << value;
        }
    }
    const auto west = EnterDms(ShowDms(-122.41942, Axis::Longitude, 5), Axis::Longitude);
    ASSERT_TRUE(west.has_value());
    EXPECT_NEAR(*west, -122.41942, 1e-8);
}

TEST(PositionEntryTest, FieldsOutOfRangeAreRefused) {
    EXPECT_FALSE(EnterDms({180, 30, 0.0, false}, Axis::Longitude).has_value());
    EXPECT_FALSE(EnterDms({181, 0, 0.0, true}, Axis::Longitude).has_value());
    EXPECT_FALSE(EnterDms({90, 0, 1.0, false}, Axis::Latitude).has_value());
    EXPECT_FALSE(EnterDms({10, 60, 0.0, false}, Axis::Latitude).has_value());
    EXPECT_FALSE(EnterDms({10, 0, 60.0, false}, Axis::Latitude).has_value());
    EXPECT_FALSE(EnterDms({10, 0, -1.0, false}, Axis::Latitude).has_value());
    EXPECT_EQ(EnterDms({180, 0, 0.0, true}, Axis::Longitude).value_or(0.0), -180.0);
    EXPECT_EQ(EnterDms({90, 0, 0.0, true}, Axis::Latitude).value_or(0.0), -90.0);
}

}  // namespace
}  // namespace norq::nav
