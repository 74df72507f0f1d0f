#include "crew/CrewAlarms.h"

#include <cmath>

#include "ais/Geometry.h"

namespace norq::crew {

namespace {

constexpr double kPositionLonLimit = 180.1;
constexpr double kPositionLatLimit = 90.1;

bool Known(double lon, double lat) {
    return std::fabs(lon) <= kPositionLonLimit && std::fabs(lat) <= kPositionLatLimit;
}

}  // namespace

void CrewAlarmRangeBearing(double ownLon, double ownLat, double alarmLon, double alarmLat,
                           float& range, float& bearing) {
    if (!Known(ownLon, ownLat) || !Known(alarmLon, alarmLat)) {
        range = kCrewRangeUnknown;
        bearing = kCrewBearingUnknown;
        return;
    }
    range =
        static_cast<float>(ais::MidLatitudeKm(ownLon, ownLat, alarmLon, alarmLat) * ais::kNmPerKm);
    // BearingBetween wants positions within +-180 / +-90; the last 0.1 degree
    // the limits above allow is the same place on the globe.
    const auto wrap = [](double lon) {
        return lon > 180.0 ? lon - 360.0 : (lon < -180.0 ? lon + 360.0 : lon);
    };
    const auto clampLat = [](double lat) { return std::fmax(-90.0, std::fmin(90.0, lat)); };
    const float b =
        ais::BearingBetween(wrap(ownLon), clampLat(ownLat), wrap(alarmLon), clampLat(alarmLat));
    bearing = b >= ais::kBearingNotAvailable ? kCrewBearingUnknown : b;
}

int CrewAlarmList::FindCrewAlarm(const CrewDeviceId& id) const {
    for (int i = 0; i < count_; ++i)
        if (entries_[static_cast<std::size_t>(i)].deviceId == id) return i;
    return -1;
}

int CrewAlarmList::selected() const {
    if (!haveSelection_) return 0;
    const int i = FindCrewAlarm(selectedId_);
    return i < 0 ? 0 : i;
}

void CrewAlarmList::SelectCrewAlarm(int index) {
    if (index < 0 || index >= count_) return;
    selectedId_ = entries_[static_cast<std::size_t>(index)].deviceId;
    haveSelection_ = true;
}

CrewAlarmList::Change CrewAlarmList::TrackCrewAlarm(const CrewDevice& d, double ownLon,
                                                    double ownLat) {
    if (d.type != CrewDeviceType::Pendant) return Change::None;
    const int i = FindCrewAlarm(d.id);
    if (d.inAlarm()) {
        if (i >= 0) {
            CrewAlarm& e = entries_[static_cast<std::size_t>(i)];
            const bool changed = e.state != d.state;
            e.state = d.state;
            return changed ? Change::StateChanged : Change::None;
        }
        if (count_ >= kMaxCrewDevices) return Change::None;
        CrewAlarm& e = entries_[static_cast<std::size_t>(count_++)];
        e = CrewAlarm{};
        e.deviceId = d.id;
        e.zoneId = d.zoneId;
        e.state = d.state;
        e.alarmTime = d.lastHeard;
        e.alarmTimeMono = d.lastHeardMono;
        e.elapsed = d.secondsSinceHeard;
        e.longitude = static_cast<float>(ownLon);
        e.latitude = static_cast<float>(ownLat);
        CrewAlarmRangeBearing(ownLon, ownLat, e.longitude, e.latitude, e.range, e.bearing);
        if (!haveSelection_ || FindCrewAlarm(selectedId_) < 0) SelectCrewAlarm(0);
        return Change::Added;
    }
    if (i < 0) return Change::None;
    const bool wasSelected = haveSelection_ && selectedId_ == d.id;
    for (int k = i; k + 1 < count_; ++k)
        entries_[static_cast<std::size_t>(k)] = entries_[static_cast<std::size_t>(k + 1)];
    entries_[static_cast<std::size_t>(--count_)] = CrewAlarm{};
    // The selected pendant left the list: the guide starts again from the first entry.
    if (wasSelected) {
        haveSelection_ = false;
        if (count_ > 0) SelectCrewAlarm(0);
    }
    return Change::Removed;
}

void CrewAlarmList::UpdateCrewAlarms(double ownLon, double ownLat, std::int64_t monoNow) {
    for (int i = 0; i < count_; ++i) {
        CrewAlarm& e = entries_[static_cast<std::size_t>(i)];
        e.elapsed = monoNow - e.alarmTimeMono;
        CrewAlarmRangeBearing(ownLon, ownLat, e.longitude, e.latitude, e.range, e.bearing);
    }
}

void CrewAlarmList::clear() {
    entries_ = {};
    count_ = 0;
    haveSelection_ = false;
}

}  // namespace norq::crew
