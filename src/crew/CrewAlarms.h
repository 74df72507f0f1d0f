// The crew alarm list: every pendant in SOS or LOST, with the place where its
// alarm began and the range and bearing to that place from the own position.
//
// Entries are kept in the order the alarms began. The selection (the entry the
// rescue guide shows and the chart marks) belongs to a pendant, not to a
// place in the list: when an earlier entry goes, the guide keeps pointing at
// the same person.
#pragma once

#include <array>

#include "crew/CrewAlarm.h"
#include "crew/CrewDevices.h"

namespace norq::crew {

class CrewAlarmList {
  public:
    int count() const { return count_; }
    bool empty() const { return count_ == 0; }
    const CrewAlarm& operator[](int i) const { return entries_[static_cast<std::size_t>(i)]; }
    int FindCrewAlarm(const CrewDeviceId& id) const;

    // The selected entry (0 when the list is empty or the selected pendant left).
    int selected() const;
    void SelectCrewAlarm(int index);

    enum class Change { None, Added, StateChanged, Removed };
    // Follows a device's state: a pendant entering SOS or LOST gets an entry at
    // the own position, one leaving them loses its entry. Non-pendants are ignored.
    Change TrackCrewAlarm(const CrewDevice& device, double ownLon, double ownLat);
    // Elapsed time, range and bearing of every entry from the own position.
    void UpdateCrewAlarms(double ownLon, double ownLat, std::int64_t monoNow);
    void clear();

  private:
    std::array<CrewAlarm, kMaxCrewDevices> entries_{};
    int count_ = 0;
    CrewDeviceId selectedId_;
    bool haveSelection_ = false;
};

// Range (nautical miles) and true bearing from the own position to the alarm
// position, by the program's own geometry: longitudes scaled by the cosine of
// the latitude and taken the short way across 180 degrees. Unknown positions
// give kCrewRangeUnknown and kCrewBearingUnknown.
void CrewAlarmRangeBearing(double ownLon, double ownLat, double alarmLon, double alarmLat,
                           float& range, float& bearing);

}  // namespace norq::crew
