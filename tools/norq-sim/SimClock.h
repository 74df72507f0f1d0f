// Simulated UTC: the scenario's start plus the seconds simulated so far. The
// wall clock never enters the output.
#pragma once

#include <cstdint>
#include <string_view>

namespace norq::sim {

struct UtcTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int hundredths = 0;
};

// Breaks seconds since 1970-01-01 00:00:00 UTC into the calendar.
UtcTime UtcFromEpoch(double epochSeconds);
// Seconds since 1970 of a calendar date and time (UTC).
std::int64_t EpochFromUtc(int year, int month, int day, int hour, int minute, int second);
// Reads "YYYY-MM-DDTHH:MM:SS" with an optional trailing "Z"; false when malformed.
bool ParseIsoUtc(std::string_view text, std::int64_t& epochSeconds);

}  // namespace norq::sim
