#include "GeoMath.h"

#include <cmath>

namespace norq::sim {

double NormalizeCourse(double degrees) {
    double c = std::fmod(degrees, 360.0);
    if (c < 0.0) c += 360.0;
    if (c >= 360.0) c -= 360.0;
    return c;
}

double CourseDifference(double from, double to) {
    double d = NormalizeCourse(to - from);
    if (d > 180.0) d -= 360.0;
    return d;
}

double DistanceNm(GeoPoint a, GeoPoint b) {
    const double lat1 = a.lat * kDegToRad;
    const double lat2 = b.lat * kDegToRad;
    const double dLat = lat2 - lat1;
    const double dLon = (b.lon - a.lon) * kDegToRad;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2.0 * kEarthRadiusNm * std::asin(std::sqrt(std::fmin(1.0, h)));
}

double BearingDeg(GeoPoint a, GeoPoint b) {
    const double lat1 = a.lat * kDegToRad;
    const double lat2 = b.lat * kDegToRad;
    const double dLon = (b.lon - a.lon) * kDegToRad;
    const double y = std::sin(dLon) * std::cos(lat2);
    const double x =
        std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
    return NormalizeCourse(std::atan2(y, x) * kRadToDeg);
}

GeoPoint Destination(GeoPoint start, double courseDeg, double distanceNm) {
    const double d = distanceNm / kEarthRadiusNm;
    const double c = courseDeg * kDegToRad;
    const double lat1 = start.lat * kDegToRad;
    const double lon1 = start.lon * kDegToRad;
    const double lat2 =
        std::asin(std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(c));
    const double lon2 = lon1 + std::atan2(std::sin(c) * std::sin(d) * std::cos(lat1),
                                          std::cos(d) - std::sin(lat1) * std::sin(lat2));
    GeoPoint out{lat2 * kRadToDeg, lon2 * kRadToDeg};
    if (out.lon > 180.0) out.lon -= 360.0;
    if (out.lon < -180.0) out.lon += 360.0;
    return out;
}

Approach ClosestApproach(GeoPoint own, double ownCourse, double ownSpeedKn, GeoPoint other,
                         double otherCourse, double otherSpeedKn) {
    // Local plane in nautical miles around the own ship.
    const double k = std::cos(own.lat * kDegToRad);
    const double rx = (other.lon - own.lon) * 60.0 * k;
    const double ry = (other.lat - own.lat) * 60.0;
    const double vx = otherSpeedKn * std::sin(otherCourse * kDegToRad) -
                      ownSpeedKn * std::sin(ownCourse * kDegToRad);
    const double vy = otherSpeedKn * std::cos(otherCourse * kDegToRad) -
                      ownSpeedKn * std::cos(ownCourse * kDegToRad);
    const double v2 = vx * vx + vy * vy;
    Approach a;
    if (v2 < 1e-12) {
        a.cpaNm = std::sqrt(rx * rx + ry * ry);
        a.tcpaMin = 0.0;
        return a;
    }
    const double tHours = -(rx * vx + ry * vy) / v2;
    const double cx = rx + vx * tHours;
    const double cy = ry + vy * tHours;
    a.cpaNm = std::sqrt(cx * cx + cy * cy);
    a.tcpaMin = tHours * 60.0;
    return a;
}

}  // namespace norq::sim
