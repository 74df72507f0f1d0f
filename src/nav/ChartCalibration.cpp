#include "nav/ChartCalibration.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace norq::nav {

namespace {
std::optional<double> Number(std::string_view text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}
}  // namespace

std::string FilterCalibrationText(std::string_view previous, std::string_view typed) {
    int points = 0;
    int minus = 0;
    for (char c : typed) {
        if (c == '.') {
            ++points;
        } else if (c == '-') {
            ++minus;
        } else if (c < '0' || c > '9') {
            return std::string(previous);
        }
    }
    if (points > 1 || minus > 1) return std::string(previous);
    return std::string(typed);
}

CalibrationCheck CheckCalibration(std::string_view latitude, std::string_view longitude) {
    CalibrationCheck check;
    check.latitude = latitude.empty() ? "0" : std::string(latitude);
    check.longitude = longitude.empty() ? "0" : std::string(longitude);
    const std::optional<double> lat = Number(check.latitude);
    const std::optional<double> lon = Number(check.longitude);
    check.accepted =
        lat && lon && std::fabs(*lat) <= kCalibrationLimit && std::fabs(*lon) <= kCalibrationLimit;
    return check;
}

std::string FilterDepthText(std::string_view typed, int* caret) {
    std::string out;
    bool point = false;
    int decimals = 0;
    int removedBeforeCaret = 0;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i];
        bool keep = false;
        if (c == '.' && !point) {
            point = true;
            keep = true;
        } else if (c >= '0' && c <= '9') {
            keep = !point || decimals++ < 1;
        }
        if (keep) {
            out.push_back(c);
        } else if (caret != nullptr && static_cast<int>(i) < *caret) {
            ++removedBeforeCaret;
        }
    }
    if (caret != nullptr) *caret -= removedBeforeCaret;
    return out;
}

}  // namespace norq::nav
