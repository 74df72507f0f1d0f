// The scenario: everything a simulation run is made from, as read from a
// scenario file (ScenarioParser.h). Plain data; the traffic model and the
// device models read it, nothing writes it after parsing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "GeoMath.h"

namespace norq::sim {

enum class StationKind : std::uint8_t {
    ClassA,
    ClassB,
    BaseStation,
    Aton,
    SarAircraft,
    Sart,       // AIS search and rescue transmitter, MMSI 970xxxxxx
    MobDevice,  // AIS man-overboard device, MMSI 972xxxxxx
};
inline constexpr int kStationKindCount = 7;
const char* StationKindName(StationKind kind);

// How the transponder identifies itself when asked.
enum class IdentificationKind : std::uint8_t {
    None,         // never answers the identification queries
    ProductInfo,  // $PKRV,R,TXT,PROD. INFO. BEGIN ... PROD. INFO. END
    StaticData,   // [STATIC DATA] ... [END OF STATIC DATA]
    Mkd2,         // the static-data block with [MKD]=2 (keeps markers)
};

// Static and voyage data of a vessel (messages 5, 19, 24).
struct VesselInfo {
    std::string name;
    std::string callSign;
    std::string destination;
    std::string vendorId = "NORQSIM";
    std::uint32_t imo = 0;
    int shipType = 0;
    int toBow = 0, toStern = 0, toPort = 0, toStarboard = 0;
    double draught = 0.0;                                        // metres
    int etaMonth = 0, etaDay = 0, etaHour = 24, etaMinute = 60;  // 0/24/60: not available
};

// One station, as written in the file or as expanded from a fleet or encounter.
struct StationSetup {
    std::string label;
    StationKind kind = StationKind::ClassA;
    std::uint32_t mmsi = 0;
    GeoPoint position;
    double course = 0.0;          // degrees true
    double speed = 0.0;           // knots
    double headingOffset = 0.0;   // heading minus course (drift angle), degrees
    std::vector<GeoPoint> route;  // waypoints after the start position
    bool loopRoute = false;
    double maxRateOfTurn = 20.0;  // degrees per minute when steering onto a new leg
    int navStatus = 0;            // 0 under way using engine
    VesselInfo info;
    // Aids to navigation.
    int atonType = 0;
    bool virtualAton = false;
    int atonStatus = 0;  // regional byte: bit 0 set means alarm
    bool offPosition = false;
    // SAR aircraft.
    int altitude = 0;  // metres
    // SART and MOB devices.
    bool testMode = false;
    double activeFrom = 0.0;  // seconds from start
    // Base stations and message 22.
    double reportInterval = 0.0;  // 0: the standard interval for the kind
    // From this time on (seconds from start) the station transmits nothing; it
    // keeps moving. Negative: it never falls silent.
    double silentFrom = -1.0;
};

struct LaneSetup {
    std::string label;
    std::vector<GeoPoint> points;
    double widthNm = 1.5;
};

enum class FleetPattern : std::uint8_t { Lane, Wander, Anchored };

// A group of generated vessels.
struct FleetSetup {
    std::string label;
    StationKind kind = StationKind::ClassA;
    FleetPattern pattern = FleetPattern::Lane;
    int count = 0;
    std::string lane;
    bool reverse = false;
    GeoPoint area;          // wander and anchored: centre
    double radiusNm = 2.0;  // wander and anchored: radius
    double speedMin = 10.0, speedMax = 16.0;
    std::vector<int> shipTypes{70};
    std::vector<int> mids{235};  // flag states drawn for the MMSIs
    std::vector<std::string> destinations;
    int navStatus = -1;  // -1: by pattern
};

// A vessel placed so that it meets the own ship: at `meetAt` seconds from the
// start it passes `missNm` from the own ship's position of that moment,
// having come from the bearing `fromBearing` (degrees true, seen from the
// meeting point) at constant course and speed.
struct EncounterSetup {
    std::string label;
    StationKind kind = StationKind::ClassA;
    std::uint32_t mmsi = 0;
    double meetAt = 600.0;
    double missNm = 0.5;
    double fromBearing = 90.0;
    double speed = 12.0;
    double silentFrom = -1.0;  // as StationSetup::silentFrom
    VesselInfo info;
};

// A safety related message: 14 (broadcast) or, with a destination, 12.
struct SafetyMessageSetup {
    std::string label;
    std::uint32_t from = 0;
    std::uint32_t to = 0;  // 0: broadcast (message 14)
    double at = 0.0;
    double repeat = 0.0;  // 0: once
    std::string text;
};

// Message 22 (channel management) broadcast by a base station.
struct ChannelManagementSetup {
    std::string label;
    std::uint32_t from = 0;
    GeoPoint northEast;
    GeoPoint southWest;
    int channelA = 2087;
    int channelB = 2088;
    int zoneSize = 4;
    int power = 0;
    double interval = 360.0;
};

// Silent: the device stops reporting without a last word (out of range,
// under water), so only the viewer's ageing can find it LOST. Battery and
// Zone set the reported battery value and the repeater relaying the device.
enum class CrewEventKind : std::uint8_t {
    Online,
    Sos,
    CancelSos,
    LowBattery,
    Lost,
    Off,
    Silent,
    Battery,
    Zone
};
struct CrewEvent {
    double at = 0.0;
    CrewEventKind kind = CrewEventKind::Online;
    int battery = 0;                     // Battery
    std::array<std::uint8_t, 3> zone{};  // Zone
};

struct CrewDeviceSetup {
    std::string label;
    std::array<std::uint8_t, 3> id{};
    int type = 1;  // 1 pendant, 2 repeater
    int battery = 0xD2;
    std::array<std::uint8_t, 3> zone{};  // 000000: heard by the controller itself
    bool announce = true;                // false: the first report is no registration (status 4)
    std::vector<CrewEvent> events;       // in time order
};

struct MarkerSetup {
    std::string name;
    GeoPoint position;
};

struct TimeWindow {
    double from = 0.0;
    double to = 0.0;
};

struct TransponderSetup {
    IdentificationKind identification = IdentificationKind::ProductInfo;
    std::string model = "NORQ-AIS-100";
    std::string serial = "00000001";
    std::string firmware = "1.0.0";
    int baudRate = 38400;
    bool transmitterReport = true;
    bool silent = false;
    std::vector<MarkerSetup> markers;
};

struct GnssSetup {
    int satellites = 11;
    double hdop = 0.9;
    double altitude = 18.0;
    std::vector<TimeWindow> fixLoss;
};

struct CrewWatchSetup {
    double reportInterval = 5.0;
    bool listReports = false;
    int repeats = 1;  // times each report goes out (the radio's repeats)
    std::string model = "NORQ-MOB-10";
    std::string firmware = "2.1";
};

struct Scenario {
    std::string name;
    std::uint64_t seed = 1;
    std::int64_t startEpoch = 0;  // UTC seconds since 1970
    double duration = 600.0;      // seconds
    double messageLoss = 0.0;     // fraction of received AIS messages lost
    double damagedLines = 0.0;    // fraction of AIS and GNSS lines damaged
    bool interleave = true;       // fragments of multi-sentence messages interleave
    StationSetup ownShip;
    TransponderSetup transponder;
    GnssSetup gnss;
    CrewWatchSetup crewWatch;
    std::vector<LaneSetup> lanes;
    std::vector<FleetSetup> fleets;
    std::vector<StationSetup> stations;
    std::vector<EncounterSetup> encounters;
    std::vector<SafetyMessageSetup> safetyMessages;
    std::vector<ChannelManagementSetup> channelManagement;
    std::vector<CrewDeviceSetup> crewDevices;

    const LaneSetup* findLane(const std::string& label) const;
};

}  // namespace norq::sim
