#include "nav/PositionEntry.h"

#include <cmath>

namespace norq::nav {

double WrapLongitude(double longitude) {
    if (!std::isfinite(longitude)) return longitude;
    if (longitude >= -180.0 && longitude <= 180.0) return longitude;
    double wrapped = std::fmod(longitude + 180.0, 360.0);
    if (wrapped < 0.0) wrapped += 360.0;
    return wrapped - 180.0;
}

DmsFields ShowDms(double value, Axis axis, int decimals) {
    DmsFields fields;
    if (!std::isfinite(value)) return fields;
    if (axis == Axis::Longitude) value = WrapLongitude(value);
    fields.negative = value < 0.0;
    const double limit = axis == Axis::Longitude ? 180.0 : 90.0;
    const double magnitude = std::fmin(std::fabs(value), limit);
    // Round once, in units of the last shown decimal of a second, so the carry
    // into minutes and degrees is exact.
    const double scale = std::pow(10.0, decimals < 0 ? 0 : (decimals > 6 ? 6 : decimals));
    const double units = std::round(magnitude * 3600.0 * scale);
    const double perMinute = 60.0 * scale;
    const double perDegree = 3600.0 * scale;
    fields.degrees = static_cast<int>(std::floor(units / perDegree));
    const double rest = units - fields.degrees * perDegree;
    fields.minutes = static_cast<int>(std::floor(rest / perMinute));
    fields.seconds = (rest - fields.minutes * perMinute) / scale;
    if (fields.degrees == 0 && fields.minutes == 0 && fields.seconds == 0.0)
        fields.negative = false;
    return fields;
}

std::optional<double> EnterDms(const DmsFields& fields, Axis axis) {
    const int limit = axis == Axis::Longitude ? 180 : 90;
    if (fields.degrees < 0 || fields.degrees > limit) return std::nullopt;
    if (fields.minutes < 0 || fields.minutes > 59) return std::nullopt;
    if (!std::isfinite(fields.seconds) || fields.seconds < 0.0 || fields.seconds >= 60.0)
        return std::nullopt;
    const double magnitude = fields.degrees + fields.minutes / 60.0 + fields.seconds / 3600.0;
    if (magnitude > limit) return std::nullopt;
    return fields.negative ? -magnitude : magnitude;
}

}  // namespace norq::nav
