// The crew event log: when pendants went into SOS or LOST, and when the own
// ship's position fix was gained or lost during an alarm. A ring of the last
// 100 events, kept in MOB_Event.csv, one line per event, newest first:
//
//   1700000000,147:250:047,03, 121.500000,  25.000000,Controller,000.000.000,
//
// time (seconds since 1970, UTC), device, event type, longitude, latitude,
// zone name and zone ID. The name is not written; it is looked up in the crew
// table when the file is read. The file is written after every event, so an
// incident's record survives a crash of the program.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "crew/CrewAlarm.h"
#include "crew/CrewDevices.h"

namespace norq::crew {

inline constexpr int kCrewEventSlots = 100;

enum class CrewEventType : std::uint8_t { GpsFixed = 0, GpsLost = 1, MobLost = 2, MobSos = 3 };
std::string_view CrewEventName(CrewEventType type);

struct CrewEvent {
    CrewEventType type = CrewEventType::GpsFixed;
    CrewDeviceId deviceId;
    std::string name;
    float longitude = 181.0f;
    float latitude = 91.0f;
    std::int64_t time = 0;  // calendar seconds
    std::string zoneName = " ";
    std::string zoneIdText = " ";

    bool isGps() const { return type == CrewEventType::GpsFixed || type == CrewEventType::GpsLost; }
};

class CrewEventLog {
  public:
    int count() const { return count_; }
    int writeIndex() const { return writeIndex_; }
    // The n-th newest event (0 is the newest), n < count().
    const CrewEvent& newest(int n) const;
    bool newEventFlag() const { return newEvent_; }
    // Clears the flag and says whether it was set.
    bool takeNewEvent();

    void RecordMobEvent(const CrewAlarm& alarm, const CrewDeviceTable& table);
    void RecordGpsEvent(bool valid, double lon, double lat, std::int64_t now);
    void clear();

    std::string FileText() const;
    // Empties the log, then reads up to 100 events; the names come from the table.
    void ParseFile(std::string_view text, const CrewDeviceTable& table);
    bool Load(const std::string& path, const CrewDeviceTable& table);
    bool Save(const std::string& path) const;

  private:
    void push(CrewEvent event);

    std::array<CrewEvent, kCrewEventSlots> slots_{};
    int writeIndex_ = 0;
    int count_ = 0;
    bool newEvent_ = false;
};

}  // namespace norq::crew
