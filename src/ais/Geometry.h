// Range, bearing and closest point of approach between the own ship and a target.
//
// Everything here is a pure function of positions or target records; the target
// table applies the results to its entries. Distances are computed on a sphere of
// 111.12 km (great circle) or 111.08956 km (mid-latitude) per degree and given in
// nautical miles (kilometres / 1.852). Longitude differences are always taken the
// short way round, so positions either side of the antimeridian are neighbours.
#pragma once

#include <cstdint>

#include "ais/TargetRecord.h"

namespace norq::ais {

inline constexpr double kNmPerKm = 1.0 / 1.852;

// A speed above 102.2 kn is not available; records store 102.3 for it.
inline constexpr double kMaxSog = 102.2;
inline constexpr float kSogNotAvailable = 102.3f;
// Below this speed a ship whose course is not available counts as lying still
// (moored, at anchor or drifting): its CPA is computed as for a stationary ship.
inline constexpr double kMooredSogLimit = 0.5;

// Sentinels of the computed values, as stored in a TargetRecord.
inline constexpr float kRangeNotComputed = -1.0f;
inline constexpr float kCpaNotAvailable = -1.0f;

// The user's danger limits: a target is dangerous when both its CPA and TCPA are
// below them.
struct CpaSettings {
    int cpaLimit = 5;    // nautical miles, 0-100
    int tcpaLimit = 10;  // minutes, 0-100
};

// Bearings are shown either true (from north) or relative to the reference course.
enum class BearingMode : std::uint8_t { True, Relative };

// The position range, bearing and CPA are measured from, with its course.
struct ReferencePosition {
    double longitude = kLonNotAvailable;
    double latitude = kLatNotAvailable;
    double course = 0.0;
};

struct CpaResult {
    float cpa = kCpaNotAvailable;  // nautical miles
    float tcpa = 0.0f;             // minutes; negative when the closest point is behind
    CpaStatus status = CpaStatus::NoOwnPosition;
};

// Longitude difference to - from brought into (-180, 180].
double LongitudeDifference(double from, double to);

// Great-circle distance in kilometres.
double GreatCircleKm(double lon1, double lat1, double lon2, double lat2);

// Mid-latitude (plane sailing) distance in kilometres.
double MidLatitudeKm(double lon1, double lat1, double lon2, double lat2);

// Range in nautical miles from the reference to the target, or kRangeNotComputed
// when either position is outside +-180.1 / +-90.1.
float RangeFromReference(double refLon, double refLat, const TargetRecord& target);

// Bearing from one position to another in degrees [0, 360), with the longitude
// difference scaled by the cosine of the mean latitude; 0 for the same position;
// kBearingNotAvailable when either position is unavailable.
float BearingBetween(double fromLon, double fromLat, double toLon, double toLat);

// True bearing of the target from the reference position.
float TrueBearing(const TargetRecord& target, double refLon, double refLat);

// Bearing of the target relative to the reference course, in [0, 360). A target
// exactly at the reference position keeps its stored bearing; an unavailable
// position or course gives kBearingNotAvailable.
float RelativeBearing(const TargetRecord& target, double refLon, double refLat, double refCourse);

// CPA and TCPA of the target against the own ship (entry 0), by straight-line
// motion in a local flat frame around the own position. Nothing is computed
// (CPA -1, TCPA 0, and the status says why) without both positions, without
// either SOG, or without the COG of a ship that makes way; a ship below
// kMooredSogLimit without a COG is taken as lying still.
CpaResult ComputeCpa(const TargetRecord& own, const TargetRecord& target);

// The own ship's part of ComputeCpa's preconditions: Computed when the own
// ship can take part, else the reason (the same for every target).
CpaStatus OwnCpaStatus(const TargetRecord& own);

// Both CPA and TCPA are ahead and below the user's limits.
bool IsDangerous(float cpa, float tcpa, const CpaSettings& settings);
inline bool IsDangerous(const TargetRecord& target, const CpaSettings& settings) {
    return IsDangerous(target.cpa, target.tcpa, settings);
}

// The reference for range and bearing: the own ship's position and COG while its
// own position is valid and within +-180.1 / +-90.1, otherwise the fallback (the
// chart's or the manual own position).
ReferencePosition SelectReference(const TargetRecord& own, const ReferencePosition& fallback);

}  // namespace norq::ais
