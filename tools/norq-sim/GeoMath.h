// Small-area navigation arithmetic for the simulator: positions in degrees,
// distances in nautical miles, courses in degrees true. A spherical earth is
// plenty for traffic within a strait.
#pragma once

namespace norq::sim {

struct GeoPoint {
    double lat = 0.0;
    double lon = 0.0;
};

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kDegToRad = kPi / 180.0;
inline constexpr double kRadToDeg = 180.0 / kPi;
inline constexpr double kEarthRadiusNm = 3440.065;

// Wraps an angle into [0, 360).
double NormalizeCourse(double degrees);
// Signed smallest difference to - from, in (-180, 180].
double CourseDifference(double from, double to);

// Great-circle distance in nautical miles.
double DistanceNm(GeoPoint a, GeoPoint b);
// Initial great-circle bearing from a to b, degrees true in [0, 360).
double BearingDeg(GeoPoint a, GeoPoint b);
// The point reached from `start` after `distanceNm` on the initial course.
GeoPoint Destination(GeoPoint start, double courseDeg, double distanceNm);

// Closest point of approach of two stations moving straight at constant
// velocity, from their present positions: CPA in nautical miles and TCPA in
// minutes (negative when the closest point lies behind).
struct Approach {
    double cpaNm = 0.0;
    double tcpaMin = 0.0;
};
Approach ClosestApproach(GeoPoint own, double ownCourse, double ownSpeedKn, GeoPoint other,
                         double otherCourse, double otherSpeedKn);

}  // namespace norq::sim
