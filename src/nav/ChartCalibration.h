// The rules of the chart calibration window and the ENC settings window's
// depth edits: what the edits accept while typing and which offsets are taken.
#pragma once

#include <string>
#include <string_view>

namespace norq::nav {

inline constexpr double kCalibrationLimit = 0.01;  // degrees, either sign

// An offset edit accepts digits, one '.' and one '-'; anything else brings back
// the previous text.
std::string FilterCalibrationText(std::string_view previous, std::string_view typed);

struct CalibrationCheck {
    bool accepted = false;
    std::string latitude;  // the texts to store ("0" for an empty edit)
    std::string longitude;
};
// Refused when either offset is no number or lies beyond +-0.01 degrees.
CalibrationCheck CheckCalibration(std::string_view latitude, std::string_view longitude);

// A depth edit keeps digits and one decimal point with at most one digit after
// it; other characters are removed. *caret (a position in `typed`) is moved back
// by the characters removed before it.
std::string FilterDepthText(std::string_view typed, int* caret = nullptr);

}  // namespace norq::nav
