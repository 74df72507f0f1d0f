// The texts and arrows of the rescue guide, the small window that points the
// way back to where the selected alarm began.
#pragma once

#include <cstdint>
#include <string>

#include "crew/CrewAlarm.h"
#include "crew/CrewDevices.h"

namespace norq::base {
class TextStore;
}

namespace norq::crew {

inline constexpr float kRelativeBearingUnknown = 361.0f;

// The bearing relative to the own course in (-180, 180], or
// kRelativeBearingUnknown without a course (0 <= course < 360).
float RelativeAlarmBearing(float bearing, double course);

enum class GuideArrow : std::uint8_t { Left, Up, Right };

struct RescueGuide {
    std::string deviceId;  // "(%03d.%03d.%03d)"
    std::string name;
    std::string status;  // state name and "@"
    std::string longitude, latitude;
    std::string range;    // "%6.2f nm" or "N/A"
    std::string bearing;  // "%5.1f°" or "N/A"
    std::string zoneName, zoneId;
    std::string alarmTime;  // 12-hour local time
    std::string elapsed;    // "%02d:%02d:%02d"
    float relative = kRelativeBearingUnknown;
    bool arrowsShown = false;
    std::string angle;  // the relative angle text
    GuideArrow blinking = GuideArrow::Up;
    bool lit = false;  // the blinking arrow in its lit phase
};

// The state and type names of the language texts.
std::string CrewStateName(CrewDeviceState state, const base::TextStore& texts);
std::string CrewTypeName(CrewDeviceType type, const base::TextStore& texts);
// A coordinate as the crew windows show it (degrees, minutes to three
// decimals, hemisphere), "N/A" when not available.
std::string CrewLongitudeText(double lon);
std::string CrewLatitudeText(double lat);

// "%02d:%02d:%02d" of a duration (hours kept to one byte, as the lists show them).
std::string CrewDuration(std::int64_t seconds);
// "%02d:%02d:%02d AM" / "PM" of a calendar time in the local time zone.
std::string TwelveHourTime(std::int64_t unixSeconds);

RescueGuide MakeRescueGuide(const CrewAlarm& alarm, const CrewDeviceTable& table, double course,
                            bool blinkPhase, const base::TextStore& texts);

}  // namespace norq::crew
