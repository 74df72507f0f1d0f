#include "ais/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace norq::ais {
namespace {

TargetRecord At(double lon, double lat, float cog = kCogReset, float sog = 0.0f) {
    TargetRecord r;
    r.kind = TargetKind::ClassA;
    r.longitude = static_cast<float>(lon);
    r.latitude = static_cast<float>(lat);
    r.cog = cog;
    r.sog = sog;
    return r;
}

TargetRecord Own(double lon, double lat, float cog, float sog) {
    TargetRecord r = At(lon, lat, cog, sog);
    r.ownPositionValid = 1;
    return r;
}

// Nautical miles per degree of latitude on the great-circle sphere.
constexpr double kNmPerDegree = 111.12 / 1.852;

TEST(GeometryDistance, GreatCircleAndMidLatitude) {
    EXPECT_NEAR(GreatCircleKm(10, 0, 10, 1), 111.12, 1e-6);
    // The same point: rounding must not carry acos past 1 into NaN.
    EXPECT_EQ(GreatCircleKm(121.123456, 25.654321, 121.123456, 25.654321), 0.0);
    EXPECT_NEAR(MidLatitudeKm(0, 60, 1, 60), 111.08956 * 0.5, 0.01);
    // Across the antimeridian the short way: 0.2 degrees of longitude, not 359.8.
    EXPECT_NEAR(MidLatitudeKm(179.9, 0, -179.9, 0), 0.2 * 111.08956, 0.01);
    EXPECT_NEAR(MidLatitudeKm(-179.9, 0, 179.9, 0), 0.2 * 111.08956, 0.01);
}

TEST(GeometryDistance, RangeSentinelsAndUnits) {
    const TargetRecord target = At(0.0, 1.0);
    EXPECT_NEAR(RangeFromReference(0.0, 0.0, target), 111.08956 / 1.852, 0.001);
    EXPECT_EQ(RangeFromReference(181.0, 0.0, target), kRangeNotComputed);
    EXPECT_EQ(RangeFromReference(0.0, 91.0, target), kRangeNotComputed);
    EXPECT_EQ(RangeFromReference(0.0, 0.0, At(181.0, 1.0)), kRangeNotComputed);
    EXPECT_EQ(RangeFromReference(0.0, 0.0, At(1.0, 91.0)), kRangeNotComputed);
    EXPECT_EQ(RangeFromReference(NAN, 0.0, target), kRangeNotComputed);
}

TEST(GeometryBearing, LongitudeScaledByLatitude) {
    // At 60 N a target 1 degree east and 0.5 north lies north-east, not at 63.4.
    const float b = TrueBearing(At(11.0, 60.5), 10.0, 60.0);
    EXPECT_NEAR(b, 45.0, 0.5);
    EXPECT_NEAR(TrueBearing(At(11.0, 60.0), 10.0, 60.0), 90.0, 0.01);
    EXPECT_NEAR(TrueBearing(At(9.0, 60.0), 10.0, 60.0), 270.0, 0.01);
    EXPECT_NEAR(TrueBearing(At(10.0, 59.0), 10.0, 60.0), 180.0, 0.01);
    // Due north reads 0, not 360.
    const float north = TrueBearing(At(10.0, 61.0), 10.0, 60.0);
    EXPECT_GE(north, 0.0f);
    EXPECT_LT(north, 0.01f);
}

TEST(GeometryBearing, AntimeridianTakesTheShortWay) {
    EXPECT_NEAR(TrueBearing(At(-179.9, 0.0), 179.9, 0.0), 90.0, 0.01);
    EXPECT_NEAR(TrueBearing(At(179.9, 0.0), -179.9, 0.0), 270.0, 0.01);
    EXPECT_NEAR(TrueBearing(At(-179.9, 50.1), 179.9, 50.0), 52.1, 0.1);
}

TEST(GeometryBearing, SentinelsAndSamePosition) {
    EXPECT_EQ(TrueBearing(At(1, 1), 180.5, 0), kBearingNotAvailable);
    EXPECT_EQ(TrueBearing(At(1, 1), 0, 90.5), kBearingNotAvailable);
    // A target without a position has no bearing either.
    EXPECT_EQ(TrueBearing(At(181, 91), 0, 0), kBearingNotAvailable);
    EXPECT_EQ(TrueBearing(At(5, 5), 5, 5), 0.0f);

    TargetRecord same = At(5, 5);
    same.bearing = 123.0f;
    EXPECT_EQ(RelativeBearing(same, 5, 5, 40), 123.0f);
    EXPECT_EQ(RelativeBearing(same, 181, 5, 40), kBearingNotAvailable);
}

TEST(GeometryBearing, RelativeStaysWithinACircle) {
    // Dead ahead on any course reads 0 (or just below 360).
    for (double course : {0.0, 45.0, 135.0, 225.0, 315.0}) {
        const double rad = course * M_PI / 180.0;
        const TargetRecord ahead = At(0.01 * std::sin(rad), 0.01 * std::cos(rad));
        const float rel = RelativeBearing(ahead, 0.0, 0.0, course);
        EXPECT_TRUE(rel < 0.01f || rel > 359.99f) << course << " -> " << rel;
    }
    // True bearing 280 on a course of 300 is 340 relative, never -20.
    const double rad = 280.0 * M_PI / 180.0;
    const float rel = RelativeBearing(At(0.01 * std::sin(rad), 0.01 * std::cos(rad)), 0, 0, 300);
    EXPECT_NEAR(rel, 340.0, 0.01);
    // Relative to an unknown course there is no bearing.
    EXPECT_EQ(RelativeBearing(At(1, 1), 0, 0, 361.0), kBearingNotAvailable);
}

TEST(GeometryCpa, NeedsBothPositionsAndMotions) {
    const TargetRecord target = At(0.05, 0.0, 270.0f, 10.0f);
    TargetRecord own = Own(0.0, 0.0, 0.0f, 10.0f);
    EXPECT_GE(ComputeCpa(own, target).cpa, 0.0f);

    TargetRecord invalid = own;
    invalid.ownPositionValid = 0;
    const CpaResult none = ComputeCpa(invalid, target);
    EXPECT_EQ(none.cpa, kCpaNotAvailable);
    EXPECT_EQ(none.tcpa, 0.0f);
    EXPECT_FALSE(IsDangerous(none.cpa, none.tcpa, CpaSettings{}));

    TargetRecord noCourse = own;
    noCourse.cog = kCogReset;
    EXPECT_EQ(ComputeCpa(noCourse, target).cpa, kCpaNotAvailable);
    TargetRecord fast = target;
    fast.sog = 102.3f;
    EXPECT_EQ(ComputeCpa(own, fast).cpa, kCpaNotAvailable);
    EXPECT_EQ(ComputeCpa(own, At(181.0, 0.0, 0.0f, 1.0f)).cpa, kCpaNotAvailable);
}

TEST(GeometryCpa, SaysWhyItIsNotComputed) {
    const TargetRecord target = At(0.0, 0.02, 180.0f, 10.0f);
    TargetRecord own = Own(0.0, 0.0, 0.0f, 10.0f);
    EXPECT_EQ(ComputeCpa(own, target).status, CpaStatus::Computed);
    TargetRecord o = own;
    o.ownPositionValid = 0;
    EXPECT_EQ(ComputeCpa(o, target).status, CpaStatus::NoOwnPosition);
    o = own;
    o.sog = kSogNotAvailable;
    EXPECT_EQ(ComputeCpa(o, target).status, CpaStatus::NoOwnSpeed);
    EXPECT_EQ(OwnCpaStatus(o), CpaStatus::NoOwnSpeed);
    o.sog = -100000.0f;  // a parser's empty value is no speed either
    EXPECT_EQ(OwnCpaStatus(o), CpaStatus::NoOwnSpeed);
    o = own;
    o.cog = kCogReset;
    EXPECT_EQ(OwnCpaStatus(o), CpaStatus::NoOwnCourse);
    o.sog = 0.4f;  // below the moored limit: lying still
    const CpaResult still = ComputeCpa(o, target);
    EXPECT_EQ(still.status, CpaStatus::Computed);
    EXPECT_NEAR(still.tcpa, 0.02 * 60.0 / 10.0 * 60.0, 0.2);  // 1.2 nm at 10 kn
    TargetRecord t = target;
    t.cog = 360.0f;
    EXPECT_EQ(ComputeCpa(own, t).status, CpaStatus::NoTargetMotion);
    EXPECT_EQ(ComputeCpa(own, t).cpa, kCpaNotAvailable);
    t.sog = 0.0f;  // moored with course 360
    EXPECT_EQ(ComputeCpa(own, t).status, CpaStatus::Computed);
    t = target;
    t.sog = 102.3f;
    EXPECT_EQ(ComputeCpa(own, t).status, CpaStatus::NoTargetMotion);
    EXPECT_EQ(ComputeCpa(own, At(181.0, 0.0, 0.0f, 1.0f)).status, CpaStatus::NoTargetPosition);
}

TEST(GeometryCpa, ParallelCoursesKeepThePresentDistance) {
    const TargetRecord own = Own(0.0, 0.0, 0.0f, 10.0f);
    const TargetRecord target = At(0.1, 0.0, 0.0f, 10.0f);
    const CpaResult r = ComputeCpa(own, target);
    EXPECT_EQ(r.tcpa, 0.0f);
    EXPECT_NEAR(r.cpa, 0.1 * kNmPerDegree, 0.01);
    EXPECT_FALSE(IsDangerous(r.cpa, r.tcpa, CpaSettings{}));
}

TEST(GeometryCpa, CrossingAtTheLimits) {
    // Own ship stopped; target 4.9 nm east and 1.5 nm north heading south at 10 kn:
    // closest 4.9 nm in 9 minutes.
    const TargetRecord own = Own(0.0, 0.0, 0.0f, 0.0f);
    const TargetRecord target = At(4.9 / kNmPerDegree, 1.5 / kNmPerDegree, 180.0f, 10.0f);
    const CpaResult r = ComputeCpa(own, target);
    EXPECT_NEAR(r.cpa, 4.9, 0.01);
    EXPECT_NEAR(r.tcpa, 9.0, 0.01);
    const CpaSettings limits{5, 10};
    EXPECT_TRUE(IsDangerous(r.cpa, r.tcpa, limits));
    EXPECT_TRUE(IsDangerous(4.9f, 9.0f, limits));
    EXPECT_FALSE(IsDangerous(5.0f, 9.0f, limits));
    EXPECT_FALSE(IsDangerous(4.9f, 10.0f, limits));
}

TEST(GeometryCpa, DivergingNeverDangerousButCollisionIs) {
    const CpaSettings limits{5, 10};
    // Target astern running away south while the own ship goes north.
    const TargetRecord own = Own(0.0, 0.0, 0.0f, 10.0f);
    const CpaResult apart = ComputeCpa(own, At(0.0, -0.02, 180.0f, 10.0f));
    EXPECT_LT(apart.tcpa, 0.0f);
    EXPECT_FALSE(IsDangerous(apart.cpa, apart.tcpa, limits));

    // Head-on 3 nm ahead, closing at 20 kn: CPA 0 in 9 minutes.
    const CpaResult headOn = ComputeCpa(own, At(0.0, 3.0 / kNmPerDegree, 180.0f, 10.0f));
    EXPECT_NEAR(headOn.cpa, 0.0, 1e-3);
    EXPECT_NEAR(headOn.tcpa, 9.0, 0.01);
    EXPECT_TRUE(IsDangerous(0.0f, headOn.tcpa, limits));
    EXPECT_TRUE(IsDangerous(headOn.cpa, headOn.tcpa, limits));
}

TEST(GeometryCpa, AcrossTheAntimeridian) {
    // Own ship stopped at 179.9 W, target at 179.9 E (12 nm west) heading east at 12 kn.
    for (double lat : {0.0, 60.0}) {
        const TargetRecord own = Own(-179.9, lat, 0.0f, 0.0f);
        const TargetRecord target = At(179.9, lat, 90.0f, 12.0f);
        const CpaResult r = ComputeCpa(own, target);
        const double distance = 0.2 * GreatCircleKm(0, lat, 1, lat) / 1.852;
        EXPECT_NEAR(r.cpa, 0.0, 0.01) << lat;
        EXPECT_NEAR(r.tcpa, distance / 12.0 * 60.0, 0.05) << lat;
    }
    // Moving apart across the line from the other side.
    const CpaResult apart = ComputeCpa(Own(179.9, 0, 0.0f, 0.0f), At(-179.9, 0, 90.0f, 12.0f));
    EXPECT_LT(apart.tcpa, 0.0f);
    EXPECT_NEAR(apart.tcpa, -60.0, 0.1);
}

TEST(GeometryReference, OwnShipWhileItsPositionIsValid) {
    const ReferencePosition chart{120.0, 24.0, 90.0};
    TargetRecord own = Own(121.5, 25.0, 45.0f, 10.0f);
    ReferencePosition ref = SelectReference(own, chart);
    EXPECT_FLOAT_EQ(ref.longitude, 121.5);
    EXPECT_FLOAT_EQ(ref.course, 45.0);
    own.ownPositionValid = 0;
    EXPECT_EQ(SelectReference(own, chart).longitude, 120.0);
    own = Own(181.0, 25.0, 45.0f, 10.0f);
    EXPECT_EQ(SelectReference(own, chart).longitude, 120.0);
}

}  // namespace
}  // namespace norq::ais
