#include "SimClock.h"

#include <cmath>

namespace norq::sim {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm).
std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy =
        (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0));
}

bool ReadNumber(std::string_view text, std::size_t pos, std::size_t digits, int& value) {
    if (pos + digits > text.size()) return false;
    value = 0;
    for (std::size_t i = pos; i < pos + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

UtcTime UtcFromEpoch(double epochSeconds) {
    const double whole = std::floor(epochSeconds);
    auto secs = static_cast<std::int64_t>(whole);
    std::int64_t days = secs / 86400;
    std::int64_t rest = secs % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    UtcTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest % 3600 / 60);
    t.second = static_cast<int>(rest % 60);
    t.hundredths = static_cast<int>((epochSeconds - whole) * 100.0);
    if (t.hundredths > 99) t.hundredths = 99;
    return t;
}

std::int64_t EpochFromUtc(int year, int month, int day, int hour, int minute, int second) {
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

bool ParseIsoUtc(std::string_view text, std::int64_t& epochSeconds) {
    if (!text.empty() && (text.back() == 'Z' || text.back() == 'z')) text.remove_suffix(1);
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' ||
        (text[10] != 'T' && text[10] != ' ') || text[13] != ':' || text[16] != ':')
        return false;
    int y, mo, d, h, mi, s;
    if (!ReadNumber(text, 0, 4, y) || !ReadNumber(text, 5, 2, mo) || !ReadNumber(text, 8, 2, d) ||
        !ReadNumber(text, 11, 2, h) || !ReadNumber(text, 14, 2, mi) || !ReadNumber(text, 17, 2, s))
        return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59) return false;
    epochSeconds = EpochFromUtc(y, mo, d, h, mi, s);
    return true;
}

}  // namespace norq::sim
