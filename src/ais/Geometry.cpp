#include "ais/Geometry.h"

#include <algorithm>
#include <cmath>

namespace norq::ais {
namespace {

constexpr double kGreatCircleDegPerRad = 57.29577950560105;
constexpr double kGreatCircleKmPerDeg = 111.12;
constexpr double kMidLatitudeDegPerRad = 57.29578;
constexpr double kMidLatitudeKmPerDeg = 111.08956;
constexpr double kDegPerRad = 180.0 / 3.14159265358979323846;

// The limits a position must keep to take part in range and CPA.
constexpr double kRangeLonLimit = 180.1;
constexpr double kRangeLatLimit = 90.1;

// Written so that NaN counts as outside.
bool WithinLimits(double lon, double lat, double lonLimit, double latLimit) {
    return std::fabs(lon) <= lonLimit && std::fabs(lat) <= latLimit;
}

bool SogAvailable(float sog) {
    return sog >= 0.0f && sog <= kMaxSog;
}

// COG 360 is AIS's "not available", never due north.
bool CogAvailable(float cog) {
    return cog >= 0.0f && cog < 360.0f;
}

// A ship below the moored limit without a course lies still.
bool LyingStill(const TargetRecord& record) {
    return !CogAvailable(record.cog) && record.sog < kMooredSogLimit;
}

struct Vector {
    double x = 0.0;
    double y = 0.0;
};

// Velocity in knots, x east and y north.
Vector Velocity(const TargetRecord& record) {
    if (LyingStill(record)) return {};
    const double theta = (90.0 - record.cog) * 3.141592654 / 180.0;
    return {record.sog * std::cos(theta), record.sog * std::sin(theta)};
}

CpaStatus TargetCpaStatus(const TargetRecord& target) {
    if (!WithinLimits(target.longitude, target.latitude, kRangeLonLimit, kRangeLatLimit)) {
        return CpaStatus::NoTargetPosition;
    }
    if (!SogAvailable(target.sog) || !(CogAvailable(target.cog) || LyingStill(target))) {
        return CpaStatus::NoTargetMotion;
    }
    return CpaStatus::Computed;
}

}  // namespace

double LongitudeDifference(double from, double to) {
    double d = std::fmod(to - from, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}

double GreatCircleKm(double lon1, double lat1, double lon2, double lat2) {
    const double phi1 = lat1 / kGreatCircleDegPerRad;
    const double phi2 = lat2 / kGreatCircleDegPerRad;
    const double dLambda = (lon2 - lon1) / kGreatCircleDegPerRad;
    // Rounding can carry the cosine of a very short arc just past 1.
    const double c = std::clamp(
        std::sin(phi1) * std::sin(phi2) + std::cos(phi1) * std::cos(phi2) * std::cos(dLambda), -1.0,
        1.0);
    return std::fabs(std::acos(c) * kGreatCircleDegPerRad * kGreatCircleKmPerDeg);
}

double MidLatitudeKm(double lon1, double lat1, double lon2, double lat2) {
    double dLat = lat2 - lat1;
    const double m = std::cos((lat1 + dLat / 2.0) / kMidLatitudeDegPerRad);
    dLat += 1e-6;
    const double dLon = LongitudeDifference(lon1, lon2) + 1e-6;
    // |dLat / cos(atan(m dLon / dLat))| is the hypotenuse of the two legs.
    return std::hypot(dLat, m * dLon) * kMidLatitudeKmPerDeg;
}

float RangeFromReference(double refLon, double refLat, const TargetRecord& target) {
    if (!WithinLimits(refLon, refLat, kRangeLonLimit, kRangeLatLimit) ||
        !WithinLimits(target.longitude, target.latitude, kRangeLonLimit, kRangeLatLimit)) {
        return kRangeNotComputed;
    }
    return static_cast<float>(MidLatitudeKm(refLon, refLat, target.longitude, target.latitude) *
                              kNmPerKm);
}

float BearingBetween(double fromLon, double fromLat, double toLon, double toLat) {
    if (!WithinLimits(fromLon, fromLat, 180.0, 90.0) || !WithinLimits(toLon, toLat, 180.0, 90.0)) {
        return kBearingNotAvailable;
    }
    if (fromLon == toLon && fromLat == toLat) return 0.0f;
    const double meanLat = (fromLat + toLat) / 2.0 / kDegPerRad;
    const double east = LongitudeDifference(fromLon, toLon) * std::cos(meanLat);
    const double north = toLat - fromLat;
    double bearing = 90.0 - std::atan2(north, east) * kDegPerRad;
    if (bearing < 0.0) bearing += 360.0;
    if (bearing >= 360.0) bearing -= 360.0;
    return static_cast<float>(bearing);
}

float TrueBearing(const TargetRecord& target, double refLon, double refLat) {
    return BearingBetween(refLon, refLat, target.longitude, target.latitude);
}

float RelativeBearing(const TargetRecord& target, double refLon, double refLat, double refCourse) {
    if (!WithinLimits(refLon, refLat, 180.0, 90.0)) return kBearingNotAvailable;
    if (target.longitude == refLon && target.latitude == refLat) return target.bearing;
    const float trueBearing = TrueBearing(target, refLon, refLat);
    if (trueBearing >= kBearingNotAvailable || !(refCourse >= 0.0 && refCourse <= 360.0)) {
        return kBearingNotAvailable;
    }
    double bearing = trueBearing - refCourse;
    if (bearing < 0.0) bearing += 360.0;
    if (bearing >= 360.0) bearing -= 360.0;
    return static_cast<float>(bearing);
}

CpaStatus OwnCpaStatus(const TargetRecord& own) {
    if (!own.ownPositionValid ||
        !WithinLimits(own.longitude, own.latitude, kRangeLonLimit, kRangeLatLimit)) {
        return CpaStatus::NoOwnPosition;
    }
    if (!SogAvailable(own.sog)) return CpaStatus::NoOwnSpeed;
    if (!CogAvailable(own.cog) && !LyingStill(own)) return CpaStatus::NoOwnCourse;
    return CpaStatus::Computed;
}

CpaResult ComputeCpa(const TargetRecord& own, const TargetRecord& target) {
    CpaResult none;
    none.status = OwnCpaStatus(own);
    if (none.status == CpaStatus::Computed) none.status = TargetCpaStatus(target);
    if (none.status != CpaStatus::Computed) return none;
    // Nautical miles per degree around the own position. The ends of each one-degree
    // span may lie past +-180 or +-90: the great-circle formula only sees their
    // difference, so the span stays one degree at the antimeridian and the poles.
    const double ownLon = own.longitude;
    const double ownLat = own.latitude;
    const double kx = GreatCircleKm(ownLon - 0.5, ownLat, ownLon + 0.5, ownLat) * kNmPerKm;
    const double ky = GreatCircleKm(ownLon, ownLat - 0.5, ownLon, ownLat + 0.5) * kNmPerKm;

    // The own ship is at the origin; dp = p_own - p_target, dv = v_own - v_target.
    const Vector targetP{LongitudeDifference(ownLon, target.longitude) * kx,
                         (target.latitude - ownLat) * ky};
    const Vector ownV = Velocity(own);
    const Vector targetV = Velocity(target);
    const Vector dp{-targetP.x, -targetP.y};
    const Vector dv{ownV.x - targetV.x, ownV.y - targetV.y};
    const double dv2 = dv.x * dv.x + dv.y * dv.y;
    const double t = dv2 < 1e-8 ? 0.0 : -(dp.x * dv.x + dp.y * dv.y) / dv2;

    CpaResult result;
    result.cpa = static_cast<float>(std::hypot(dp.x + dv.x * t, dp.y + dv.y * t));
    result.tcpa = static_cast<float>(t * 60.0);
    result.status = CpaStatus::Computed;
    return result;
}

bool IsDangerous(float cpa, float tcpa, const CpaSettings& settings) {
    // A CPA of exactly 0 is a collision course; only the -1 sentinel is excluded.
    return cpa >= 0.0f && tcpa > 0.0f && cpa < static_cast<float>(settings.cpaLimit) &&
           tcpa < static_cast<float>(settings.tcpaLimit);
}

ReferencePosition SelectReference(const TargetRecord& own, const ReferencePosition& fallback) {
    if (own.ownPositionValid &&
        WithinLimits(own.longitude, own.latitude, kRangeLonLimit, kRangeLatLimit)) {
        return {own.longitude, own.latitude, own.cog};
    }
    return fallback;
}

}  // namespace norq::ais
