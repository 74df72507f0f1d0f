// One entry of the target table: everything the viewer knows about one AIS station.
#pragma once

#include <array>
#include <cstdint>

namespace norq::ais {

// What kind of station an entry holds; the ship list shows it as a bracketed label.
enum class TargetKind : std::uint8_t {
    Base = 0,     // base station and other fixed stations
    SarAircraft,  // SAR aircraft
    Aton,         // aid to navigation
    ClassA,       // class A vessel
    ClassB,       // class B vessel
    Sart,         // AIS-SART or EPIRB-AIS
    Mob,          // man-overboard device
    Epirb,        // EPIRB (label only)
    Unknown,      // fresh entry
};

// "[BASE]", "[SAR]", ... as the ship list shows the kind.
const char* TargetKindLabel(TargetKind kind);

// Not-available sentinels, inside each value's own type.
inline constexpr float kLonNotAvailable = 181.0f;
inline constexpr float kLatNotAvailable = 91.0f;
inline constexpr float kHeadingNotAvailable = 511.0f;
inline constexpr float kCogReset = 361.0f;
inline constexpr float kBearingNotAvailable = 361.0f;
inline constexpr float kRotNotAvailable = 9999.0f;
// Any SOG above this is "not available" (102.3 in the message).
inline constexpr float kSogAvailableLimit = 102.2f;
inline constexpr bool SogKnown(float sog) {
    return sog >= 0.0f && sog <= kSogAvailableLimit;
}
// Navigational status values the alarms and the ageing look at.
inline constexpr int kNavStatusAtAnchor = 1;
inline constexpr int kNavStatusMoored = 5;

// Whether a target's CPA and TCPA could be computed, and if not, why.
enum class CpaStatus : std::uint8_t {
    Computed = 0,
    NoOwnPosition,     // the own ship has no valid position
    NoOwnSpeed,        // the own SOG is not available
    NoOwnCourse,       // the own COG is not available while it makes way
    NoTargetPosition,  // the target's position is not available
    NoTargetMotion,    // the target's SOG, or its COG while it makes way, is not available
};

struct DateStamp {
    std::int16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    friend bool operator==(const DateStamp&, const DateStamp&) = default;
};

struct TimeStamp {
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
    friend bool operator==(const TimeStamp&, const TimeStamp&) = default;
};

struct TargetRecord {
    TargetKind kind = TargetKind::Unknown;
    std::uint32_t mmsi = 0;
    std::uint8_t statusByte = 0;  // high nibble navigational status, low nibble EPFD type
    std::uint8_t flags = 0x04;    // bit 0 position accuracy, bit 1 RAIM, bit 2 DTE
    float longitude = kLonNotAvailable;
    float latitude = kLatNotAvailable;
    float sog = 0.0f;
    float cog = kCogReset;
    float heading = kHeadingNotAvailable;
    std::array<char, 21> name{};
    std::array<char, 8> callSign{};
    std::uint8_t shipType = 0;
    std::uint8_t toStarboard = 0;
    std::uint8_t toPort = 0;
    std::uint16_t toStern = 0;
    std::uint16_t toBow = 0;
    std::uint32_t imo = 0;
    float rateOfTurn = 0.0f;
    // ETA as minute, hour, day, month.
    std::uint8_t etaMinute = 0;
    std::uint8_t etaHour = 0;
    std::uint8_t etaDay = 0;
    std::uint8_t etaMonth = 0;
    std::uint8_t aisVersion = 0;
    float draught = 0.0f;
    std::array<char, 21> destination{};
    std::array<char, 8> vendorId{};
    std::uint8_t classBFlags = 0;  // bit 0 assigned, 1 CS unit, 2 display, 3 DSC, 4 band, 5 msg 22
    std::uint8_t atonFlags = 0;    // bit 0 off position, bits 1-5 aid type, 6 virtual, 7 assigned
    // SAR aircraft: altitude in metres. AtoN: regional byte and name extension.
    float altitude = 0.0f;
    std::uint8_t atonRegional = 0;
    std::array<char, 15> nameExtension{};
    // AtoN lantern status.
    float lanternVoltage = 0.0f;
    float lanternCurrent = 0.0f;
    std::uint8_t lanternMode = 0;
    std::uint8_t lanternStatus = 0;
    std::uint8_t ownPositionValid = 0;  // entry 0 only
    float range = -1.0f;                // nautical miles; -1 not computed
    float bearing = -1.0f;              // degrees; 361 not available
    float cpa = -1.0f;                  // nautical miles; -1 not available
    float tcpa = 0.0f;                  // minutes
    CpaStatus cpaStatus = CpaStatus::NoOwnPosition;
    std::int64_t lastUpdate = 0;  // monotonic seconds of the last applied message
    DateStamp lastMessageDate;    // local clock
    TimeStamp lastMessageTime;
    DateStamp firstSeenDate;
    TimeStamp firstSeenTime;
    std::int32_t receivedMessages = 0;
    std::int32_t ownMessages = 0;
    std::uint8_t lastMessageType = 0;
    std::uint8_t monitored = 0;  // entry 0: own position valid
    std::uint8_t secondMark = 0;

    int navStatus() const { return statusByte >> 4; }
    int epfdType() const { return statusByte & 0x0F; }
    bool positionAccuracy() const { return flags & 0x01; }
    bool raim() const { return flags & 0x02; }
    bool dte() const { return flags & 0x04; }
    int aidType() const { return (atonFlags >> 1) & 0x1F; }
};

}  // namespace norq::ais
