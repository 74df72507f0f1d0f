#include "ais/Clock.h"

#include <chrono>
#include <ctime>

namespace norq::ais {

std::int64_t SystemClock::monotonicSeconds() const {
    using namespace std::chrono;
    return duration_cast<seconds>(steady_clock::now().time_since_epoch()).count();
}

LocalDateTime SystemClock::localNow() const {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    LocalDateTime t;
    t.date = {static_cast<std::int16_t>(tm.tm_year + 1900),
              static_cast<std::uint8_t>(tm.tm_mon + 1), static_cast<std::uint8_t>(tm.tm_mday)};
    t.time = {static_cast<std::uint8_t>(tm.tm_hour), static_cast<std::uint8_t>(tm.tm_min),
              static_cast<std::uint8_t>(tm.tm_sec)};
    return t;
}

}  // namespace norq::ais
