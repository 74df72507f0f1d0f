// One entry of the crew alarm list: a pendant in SOS or LOST and the place
// where its alarm began.
#pragma once

#include <cstdint>

#include "crew/CrewDevices.h"

namespace norq::crew {

inline constexpr float kCrewRangeUnknown = -1.0f;
inline constexpr float kCrewBearingUnknown = 361.0f;

struct CrewAlarm {
    CrewDeviceId deviceId;
    CrewDeviceId zoneId;  // the pendant's zone when the entry was made
    // The own position when the entry was made: where the alarm began.
    float longitude = 181.0f;
    float latitude = 91.0f;
    // From the current own position; kCrewRangeUnknown / kCrewBearingUnknown
    // until the positions allow them.
    float range = kCrewRangeUnknown;  // nautical miles
    float bearing = kCrewBearingUnknown;
    std::int64_t alarmTime = 0;      // calendar seconds of the pendant's last report
    std::int64_t alarmTimeMono = 0;  // the same moment on the monotonic clock
    std::int64_t elapsed = 0;        // seconds since the alarm time
    CrewDeviceState state = CrewDeviceState::Sos;
};

}  // namespace norq::crew
