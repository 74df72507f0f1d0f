// FixedText and the coordinate and time formatting shared by the target texts
// and by the markers, routes, tracks and chart.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "ais/TargetTexts.h"

namespace norq::ais {

// ---- FixedText --------------------------------------------------------------

namespace detail {
namespace {

// Length of text[0, n) without a UTF-8 sequence left incomplete at its end.
std::size_t CompleteLength(const char* text, std::size_t n) {
    std::size_t i = n;
    std::size_t continuation = 0;
    while (i > 0 && continuation < 4 && (static_cast<unsigned char>(text[i - 1]) & 0xC0) == 0x80) {
        --i;
        ++continuation;
    }
    if (i == 0) return n;
    const unsigned char lead = static_cast<unsigned char>(text[i - 1]);
    const std::size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return (needed == 1 || continuation + 1 >= needed) ? n : i - 1;
}

}  // namespace

std::size_t AppendText(char* buffer, std::size_t capacity, std::size_t used,
                       std::string_view text) {
    std::size_t n = std::min(text.size(), capacity - used);
    if (n < text.size()) n = CompleteLength(text.data(), n);
    std::memcpy(buffer + used, text.data(), n);
    buffer[used + n] = '\0';
    return used + n;
}

std::size_t AppendFormat(char* buffer, std::size_t capacity, std::size_t used, const char* format,
                         std::va_list args) {
    const int wanted = std::vsnprintf(buffer + used, capacity - used + 1, format, args);
    if (wanted < 0) {
        buffer[used] = '\0';
        return used;
    }
    std::size_t n = static_cast<std::size_t>(wanted);
    if (n > capacity - used) n = CompleteLength(buffer + used, capacity - used);
    buffer[used + n] = '\0';
    return used + n;
}

}  // namespace detail

namespace {

// Positions are split into whole units after adding this many seconds of arc, so
// that 10.1 degrees reads 10 6' 0" and not 10 5' 59.99999".
constexpr double kSecondEpsilon = 1e-6;

int DegreeLength(std::string_view degree) {
    return static_cast<int>(degree.size());
}

char LongitudeLetter(double value, bool zeroIsEast) {
    return (value > 0.0 || (zeroIsEast && value == 0.0)) ? 'E' : 'W';
}

char LatitudeLetter(double value, bool zeroIsNorth) {
    return (value > 0.0 || (zeroIsNorth && value == 0.0)) ? 'N' : 'S';
}

// Whole degrees and minutes of |value|, the minutes rounded to `decimals` places
// (or truncated when decimals is negative) and carried into the degrees at 60.
struct DegreesMinutes {
    int degrees = 0;
    double minutes = 0.0;
};
DegreesMinutes SplitDegreesMinutes(double value, int decimals) {
    const double magnitude = std::fabs(value);
    double degrees = std::floor(magnitude);
    double minutes = (magnitude - degrees) * 60.0;
    if (decimals < 0) {
        minutes = std::floor(minutes + kSecondEpsilon / 60.0);
    } else {
        const double scale = std::pow(10.0, decimals);
        minutes = std::round(minutes * scale) / scale;
    }
    if (minutes >= 60.0) {
        degrees += 1.0;
        minutes -= 60.0;
    }
    return {static_cast<int>(degrees), minutes};
}

// Values no formatter can print as degrees.
bool Printable(double value) {
    return std::fabs(value) <= 32767.0;
}

CoordinateText CoordinateOrNotAvailable(double value, double limit, char letter,
                                        std::string_view degree) {
    if (!(std::fabs(value) <= limit)) return CoordinateText(kNotAvailableText);
    CoordinateText text = ChartCoordinateText(value, 2, degree);
    text.appendf("%c", letter);
    return text;
}

}  // namespace

// ---- Coordinates and times --------------------------------------------------

DmsExact SplitDmsExact(double degrees) {
    DmsExact dms;
    if (!Printable(degrees)) return dms;
    const double magnitude = std::fabs(degrees);
    const double totalSeconds = std::floor(magnitude * 3600.0 + kSecondEpsilon);
    const int whole = static_cast<int>(totalSeconds / 3600.0);
    const int minutes = static_cast<int>((totalSeconds - whole * 3600.0) / 60.0);
    dms.degrees = static_cast<std::int16_t>(degrees < 0.0 ? -whole : whole);
    dms.minutes = static_cast<std::uint8_t>(minutes);
    dms.seconds = std::max(0.0, magnitude * 3600.0 - whole * 3600.0 - minutes * 60.0);
    return dms;
}

Dms SplitDms(double degrees) {
    const DmsExact exact = SplitDmsExact(degrees);
    const double seconds = std::floor(exact.seconds + kSecondEpsilon);
    return {exact.degrees, exact.minutes, static_cast<std::uint8_t>(std::min(seconds, 59.0))};
}

double DmsToDegrees(double degrees, double minutes, double seconds) {
    return degrees + (minutes + seconds / 60.0) / 60.0;
}

CoordinateText FormatCoordinate(double value, CoordinateAxis axis, int style,
                                std::string_view degree) {
    if (!Printable(value)) return CoordinateText(kNotAvailableText);
    const char letter = axis == CoordinateAxis::Longitude ? LongitudeLetter(value, false)
                                                          : LatitudeLetter(value, false);
    const int n = DegreeLength(degree);
    const char* mark = degree.data();
    CoordinateText text;
    switch (style) {
        case 2: {
            const DegreesMinutes dm = SplitDegreesMinutes(value, 2);
            text.appendf("%3d%.*s%05.2f%c", dm.degrees, n, mark, dm.minutes, letter);
            break;
        }
        case 3: {
            const DegreesMinutes dm = SplitDegreesMinutes(value, 3);
            text.appendf("%3d%.*s%06.3f%c", dm.degrees, n, mark, dm.minutes, letter);
            break;
        }
        case 4: {
            const DegreesMinutes dm = SplitDegreesMinutes(value, 2);
            text.appendf("%2d%.*s%05.2f%c", dm.degrees, n, mark, dm.minutes, letter);
            break;
        }
        default: {
            const DegreesMinutes dm = SplitDegreesMinutes(value, -1);
            text.appendf("%3d%.*s%02d%c", dm.degrees, n, mark, static_cast<int>(dm.minutes),
                         letter);
            break;
        }
    }
    return text;
}

namespace {

CoordinateText DmsText(double value, int style, char letter, std::string_view degree) {
    const Dms dms = SplitDms(value);
    const int degrees = std::abs(static_cast<int>(dms.degrees));
    const unsigned minutes = dms.minutes;
    const unsigned seconds = dms.seconds;
    const int n = DegreeLength(degree);
    CoordinateText text;
    switch (style) {
        case 0:
            text.appendf("%dd%um%us", degrees, minutes, seconds);
            break;
        case 1:
            text.appendf("%3d%.*s%02u'", degrees, n, degree.data(), minutes);
            break;
        case 2:
            text.appendf("%3d%.*s%02u'%02u\"", degrees, n, degree.data(), minutes, seconds);
            break;
        default:
            text.appendf("%3d%.*s", degrees, n, degree.data());
            break;
    }
    if (letter != '\0') text.appendf("%c", letter);
    return text;
}

}  // namespace

LonLatTexts FormatLonLatPair(double lon, double lat, int style, std::string_view degree) {
    return {DmsText(lon, style, LongitudeLetter(lon, true), degree),
            DmsText(lat, style, LatitudeLetter(lat, true), degree)};
}

CoordinateText ChartCoordinateText(double value, int style, std::string_view degree) {
    // Style 0 belongs to FormatLonLatPair; the chart prints whole degrees for it.
    return DmsText(value, style == 0 ? -1 : style, '\0', degree);
}

CoordinateText ChartLongitudeText(double lon, std::string_view degree) {
    return CoordinateOrNotAvailable(lon, 180.0, LongitudeLetter(lon, true), degree);
}

CoordinateText ChartLatitudeText(double lat, std::string_view degree) {
    return CoordinateOrNotAvailable(lat, 90.0, LatitudeLetter(lat, true), degree);
}

FixedText<24> FormatSeconds(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(seconds, 0);
    FixedText<24> text;
    text.appendf("%02lld:%02d:%02d", static_cast<long long>(seconds / 3600),
                 static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

CellText DateTimeText(const DateStamp& date, const TimeStamp& time, std::string_view pattern) {
    CellText text;
    // An entry that has not received anything yet has no date.
    if (date.month == 0 || date.day == 0) {
        text.append("N/A");
        return text;
    }
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'') {  // quoted literal; '' is one quote
            const std::size_t end = pattern.find('\'', i + 1);
            const std::size_t stop = end == std::string_view::npos ? pattern.size() : end;
            text.append(stop == i + 1 ? "'" : pattern.substr(i + 1, stop - i - 1));
            i = stop + 1;
            continue;
        }
        if (c != 'y' && c != 'M' && c != 'd') {
            text.append(pattern.substr(i, 1));
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        i += run;
        if (c == 'y') {
            if (run <= 2) {
                text.appendf("%02d", date.year % 100);
            } else {
                text.appendf("%04d", date.year);
            }
        } else {
            // Month and day names are not kept; longer runs print the number.
            const int value = c == 'M' ? date.month : date.day;
            if (run == 1) {
                text.appendf("%d", value);
            } else {
                text.appendf("%02d", value);
            }
        }
    }
    text.appendf(" %02d:%02d:%02d", time.hour, time.minute, time.second);
    return text;
}

}  // namespace norq::ais
