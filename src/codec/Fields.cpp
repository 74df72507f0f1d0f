#include "codec/Fields.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace norq::codec {

bool FieldTokenizer::next(char delimiter, std::string_view& field) {
    if (pos_ > text_.size()) return false;
    const std::size_t end = text_.find(delimiter, pos_);
    if (end == std::string_view::npos) return false;
    std::string_view raw = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    const std::size_t firstNonSpace = raw.find_first_not_of(' ');
    if (firstNonSpace != std::string_view::npos) raw.remove_prefix(firstNonSpace);
    field = raw;
    return true;
}

bool CountCommas(std::string_view text, int n) {
    int count = 0;
    for (char c : text)
        count += (c == ',');
    return count == n;
}

std::size_t MarkEmptyFields(std::string_view line, char* out, std::size_t capacity) {
    if (capacity == 0) return 0;
    const std::size_t limit = capacity - 1 < kMaxMarkedLength ? capacity - 1 : kMaxMarkedLength;
    std::size_t n = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (n >= limit) return 0;
        out[n++] = line[i];
        const bool emptyFollows =
            line[i] == ',' && i + 1 < line.size() && (line[i + 1] == ',' || line[i + 1] == '*');
        if (emptyFollows) {
            if (n >= limit) return 0;
            out[n++] = ' ';
        }
    }
    out[n] = '\0';
    return n;
}

bool IsEmptyField(std::string_view field) {
    return field.find_first_not_of(' ') == std::string_view::npos;
}

std::int64_t ReadWhole(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) {
        negative = field[i] == '-';
        ++i;
    }
    // Saturates at the ends of the 32-bit range, so that the smallest 32-bit
    // number (an empty value of some fields) reads as itself.
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = value * 10 + (field[i] - '0');
        if (value > limit) value = limit;
    }
    return negative ? -value : value;
}

std::int64_t ReadInt(std::string_view field, std::int64_t empty) {
    return IsEmptyField(field) ? empty : ReadWhole(field);
}

double ReadFloat(std::string_view field, double empty) {
    if (IsEmptyField(field)) return empty;
    const char* first = field.data();
    const char* last = field.data() + field.size();
    if (first != last && *first == '+') ++first;
    double value = 0.0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
    return value;
}

int ReadChar(std::string_view field, int empty) {
    return IsEmptyField(field) ? empty : static_cast<unsigned char>(field[0]);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

namespace {

// "dddmm.mmmm": the whole part of x/100 is degrees, the rest minutes.
double DegreesFromNmea(double x) {
    const double d = std::trunc(x / 100.0);
    return d + (x / 100.0 - d) * 1.6666666666666667;
}

double ReadCoordinate(std::string_view value, std::string_view hemisphere, double limit,
                      double notAvailable, char negative) {
    if (IsEmptyField(value)) return notAvailable;
    double degrees = DegreesFromNmea(ReadFloat(value, 0.0));
    // A signed number in the field must not make a position beyond the poles
    // or the date line that the stores would take as valid.
    if (!(std::fabs(degrees) <= limit)) return notAvailable;
    if (!hemisphere.empty() && hemisphere[0] == negative) degrees = -degrees;
    return degrees;
}

}  // namespace

double ReadLatitude(std::string_view value, std::string_view hemisphere) {
    return ReadCoordinate(value, hemisphere, 90.0, kEmptyLat, 'S');
}

double ReadLongitude(std::string_view value, std::string_view hemisphere) {
    return ReadCoordinate(value, hemisphere, 180.0, kEmptyLon, 'W');
}

TimeOfDay ReadTime(std::string_view field) {
    TimeOfDay t;
    if (IsEmptyField(field)) return t;
    const double x = ReadFloat(field, 0.0);
    if (x < 0.0 || x >= 1000000.0) return TimeOfDay{99, 99, 99, 0};
    t.hour = static_cast<int>(x / 10000.0);
    t.minute = static_cast<int>((x - t.hour * 10000.0) / 100.0);
    const double rest = x - t.hour * 10000.0 - t.minute * 100.0;
    t.second = static_cast<int>(rest);
    // The fraction is rounded up; the small allowance keeps 0.29 from reading
    // as 30 hundredths through binary rounding.
    t.hundredths = static_cast<int>(std::ceil((rest - t.second) * 100.0 - 1e-6));
    if (t.hundredths > 99) t.hundredths = 99;
    if (t.hundredths < 0) t.hundredths = 0;
    return t;
}

CalendarDate ReadDate(std::string_view field) {
    CalendarDate d;
    if (IsEmptyField(field)) return d;
    const std::int64_t x = ReadWhole(field);
    if (x < 0 || x > 999999) return d;
    d.day = static_cast<int>(x / 10000);
    d.month = static_cast<int>((x / 100) % 100);
    d.year = 2000 + static_cast<int>(x % 100);
    return d;
}

DegreesMinutes SplitDegrees(double absoluteDegrees, int fractionDigits) {
    DegreesMinutes dm;
    if (!(absoluteDegrees >= 0.0) || absoluteDegrees > 360.0) return dm;
    if (fractionDigits < 1) fractionDigits = 1;
    if (fractionDigits > 5) fractionDigits = 5;
    std::int64_t step = 1;
    for (int i = fractionDigits; i < 5; ++i)
        step *= 10;
    // Whole hundred-thousandths of a minute, rounded to the printed digit.
    const std::int64_t units =
        std::llround(absoluteDegrees * 60.0 * 100000.0 / static_cast<double>(step)) * step;
    dm.degrees = static_cast<int>(units / (60 * 100000));
    dm.minutes = static_cast<int>((units / 100000) % 60);
    dm.minuteFraction = static_cast<int>(units % 100000);
    return dm;
}

}  // namespace norq::codec
