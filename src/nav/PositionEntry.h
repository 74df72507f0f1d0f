// Positions as the entry windows show and take them: whole degrees, minutes and
// seconds without sign, with the hemisphere letter chosen by the sign.
//
// A longitude beyond the antimeridian (185 deg E) is wrapped into -180..180
// before it is split, and the seconds are rounded (with carry into the minutes
// and degrees), so that showing a position and taking it back unchanged gives
// the same position to the shown precision.
#pragma once

#include <optional>

namespace norq::nav {

struct DmsFields {
    int degrees = 0;        // 0..180 (longitude) or 0..90 (latitude)
    int minutes = 0;        // 0..59
    double seconds = 0.0;   // 0 up to below 60, rounded to the shown decimals
    bool negative = false;  // "W" or "S"
};

enum class Axis { Longitude, Latitude };

// Longitudes into -180..180 (180 E stays 180 E); latitudes are left as they are.
double WrapLongitude(double longitude);

// The fields shown for `value`, seconds rounded to `decimals` places (0 for whole
// seconds).
DmsFields ShowDms(double value, Axis axis, int decimals = 0);

// The position of the fields, or nothing when a field is out of its range
// (degrees above 180 or 90, minutes above 59, seconds negative or 60 or more) or
// the whole value is beyond 180 or 90 degrees.
std::optional<double> EnterDms(const DmsFields& fields, Axis axis);

}  // namespace norq::nav
