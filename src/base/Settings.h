// The settings file "NorqAisViewer.ini": every key the viewer reads at start and writes at
// exit, with its default and its valid range. Reading checks each value: a key that is
// missing, is no number or lies outside its range keeps the value the field held before
// the read (on a fresh object: the default), so a damaged file can never hand the program
// a port ordinal outside its table, a stalled or runaway replay speed, a chart scale step
// that does not exist or a position off the globe.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/IniFile.h"

namespace norq::base {

inline constexpr std::string_view kSettingsFileName = "NorqAisViewer.ini";

// Sensor ports, in the order of their sections.
enum class SensorPort : int { Ais = 0, Gps = 1, Mob = 2 };
inline constexpr int kSensorPortCount = 3;
// "AIS_SENSOR_PORT", "GPS_SENSOR_PORT", "MOB_SENSOR_PORT".
std::string_view SensorSectionName(SensorPort port);

// Valid ranges of the checked keys.
struct IntRange {
    int min;
    int max;
    constexpr bool contains(int value) const { return value >= min && value <= max; }
};
inline constexpr IntRange kSerialPortRange{1, 9999};   // port number, up to four digits
inline constexpr IntRange kBaudRateRange{1, 14};       // rate ordinal, 300 … 256000 baud
inline constexpr IntRange kParityRange{0, 4};          // parity ordinal
inline constexpr IntRange kDataBitsRange{4, 8};        // data bits
inline constexpr IntRange kStopBitsRange{0, 2};        // stop-bit ordinal
inline constexpr IntRange kOctetRange{0, 255};         // one address octet
inline constexpr IntRange kTcpPortRange{1, 65535};     // TCP port
inline constexpr IntRange kCpaRange{0, 100};           // CPA limit, nautical miles
inline constexpr IntRange kTcpaRange{0, 100};          // TCPA limit, minutes
inline constexpr IntRange kScaleIdRange{0, 14};        // chart scale step
inline constexpr IntRange kPlayLogRange{1, 100};       // replay lines per 100 ms tick
inline constexpr IntRange kLanguageRange{0, 2};        // language index
inline constexpr IntRange kFlagRange{0, 1};            // 0/1 switches
inline constexpr IntRange kAgeReportsRange{0, 1000};   // missed reports, 0 = legacy time
inline constexpr IntRange kAcknowledgeRange{1, 60};    // CPA alarm acknowledgement, minutes
inline constexpr double kMaxGradeLimit = 100.0;        // caution and warning limits, nm or min
inline constexpr std::int64_t kMaxMmsi = 999999999;    // nine digits
inline constexpr double kMaxCalibrationOffset = 0.01;  // degrees, either sign
inline constexpr std::size_t kMaxDevicePathLength = 255;
inline constexpr IntRange kUdpPortRange{1, 65535};  // UDP port
inline constexpr std::size_t kMaxUdpAddressLength = 63;
inline constexpr std::size_t kMaxInterfaceNameLength =
    15;  // an interface name, as the kernel keeps it

struct SensorPortSettings {
    int serialPort = 1;             // Serial_Port
    std::string serialDevice;       // Serial_Device: device path on this platform, empty = none
    int serialBaudRate = 9;         // Serial_BaudRate: 9 = 38400, 12 = 115200
    int serialParity = 0;           // Serial_Parity
    int serialDataBits = 8;         // Serial_DataBits
    int serialStopBits = 0;         // Serial_StopBits
    bool serialConnection = false;  // Serial_Connection: connect at start
    // TCP_Ip1 … TCP_Ip4; TCP_Ip4 is the first octet of the address (192.168.2.1).
    std::array<int, 4> tcpIp{1, 2, 168, 192};
    int tcpPort = 3333;  // TCP_Port
    // The UDP input of the AIS sensor (AIS section only): the port and the local
    // address to listen on (empty: every address), and whether to listen at start.
    int udpPort = 10110;         // UDP_Port
    std::string udpAddress;      // UDP_Address
    bool udpConnection = false;  // UDP_Connection
    // A multicast group to join instead (empty: none) and the interface to join
    // it on: a name such as "eth0" or the interface's IPv4 address (empty: the
    // one the routing table picks).
    std::string udpGroup;      // UDP_Group
    std::string udpInterface;  // UDP_Interface
};

// The device wizard's start page: the way the user chose to begin, offered
// first at the next start ([WIZARD] Start_Choice: -1 none yet, 0 connect a
// device, 1 replay a recording, 2 a network source; Last_Recording).
inline constexpr IntRange kStartChoiceRange{-1, 2};
// Network_Input: the network input last connected from the wizard (1 TCP/IP, 2 UDP).
inline constexpr IntRange kNetworkInputRange{1, 2};
struct WizardSettings {
    int startChoice = -1;
    std::string lastRecording;
    int networkInput = 1;
};

// The graded CPA alarm ([CPA], beside the dangerous limits CPA and TCPA, which
// are the alarm level). Only read: the user sets them in the file.
struct CpaGradingSettings {
    bool graded = false;          // Graded: caution and warning levels, the alarm sound
    double cautionCpa = 8.0;      // CautionCPA, nautical miles; 0 switches the level off
    double cautionTcpa = 30.0;    // CautionTCPA, minutes
    double warningCpa = 6.0;      // WarningCPA
    double warningTcpa = 20.0;    // WarningTCPA
    bool quietWhenMoored = true;  // QuietWhenMoored
    int acknowledgeMinutes = 5;   // AcknowledgeMinutes: an acknowledged alarm sounds again after
};

struct DestinationSettings {
    bool valid = false;  // Valid
    std::string name;    // Name
    double longitude = 0.0;
    double latitude = 0.0;
};

struct ChartCalibrationSettings {
    bool active = false;          // Active
    std::string latitude = "0";   // Latitude, degrees as text
    std::string longitude = "0";  // Longitude, degrees as text
};

// What the exit writer keeps and the start-up reader restores.
struct Settings {
    std::array<SensorPortSettings, kSensorPortCount> sensors = DefaultSensors();
    int cpaLimit = 5;           // [CPA] CPA
    int tcpaLimit = 10;         // [CPA] TCPA
    std::uint32_t ownMmsi = 0;  // [OWN_SHIP] MMSI
    double ownLongitude = 0.0;  // [OWN_SHIP] Lon
    double ownLatitude = 0.0;   // [OWN_SHIP] Lat
    int scaleId = 4;            // [VIEW] ScaleID
    int playLog = 1;            // [VIEW] PlayLog
    int language = 0;           // [VIEW] Language: 0 English, 1 Traditional, 2 Simplified Chinese
    bool autoSrm = false;       // [SRM] AutoSRM
    // [VIEW] AllFeatures: shows the menu items and buttons that the shipped
    // feature configuration hides. Only read: the user sets it in the file.
    bool allFeatures = false;
    // [VIEW] ShowCrewWatch: shows the crew-watch entry points that the shipped
    // feature configuration hides, and runs the crew timers. Read, never written:
    // the switch stays in the file as the user put it there.
    bool crewWatchShown = false;
    // [TARGETS] LostAfterReports, RemoveAfterReports: a target is lost, and
    // removed, after this many of its reporting intervals of silence; 0 keeps
    // the fixed 600 s and 3600 s. Only read: the user sets them in the file.
    int lostAfterReports = 0;
    int removeAfterReports = 0;
    CpaGradingSettings cpaGrading;
    // [ALARMS] OwnPositionMismatch: metres between the GNSS fix and the
    // transponder's own report (VDO) beyond which the status row warns and
    // the alarm beep sounds; 0 switches the check off. Beyond a ship's length,
    // so the two antennas' places never trigger it. Only read.
    int ownPositionMismatchMetres = 300;
    // [ALARMS] AisSilentSeconds, GnssSilentSeconds: a transponder (VDM or VDO)
    // or a GNSS receiver heard before and silent for longer than this warns in
    // the status row with the alarm beep; 0 switches the check off. A lone
    // receiver far out at sea may hear nothing for minutes: the AIS check is
    // off by default. Only read.
    int aisSilentSeconds = 0;
    int gnssSilentSeconds = 30;
    DestinationSettings destination;
    ChartCalibrationSettings calibration;  // read at the first showing, written at exit
    WizardSettings wizard;

    SensorPortSettings& sensor(SensorPort port) { return sensors[static_cast<int>(port)]; }
    const SensorPortSettings& sensor(SensorPort port) const {
        return sensors[static_cast<int>(port)];
    }
    static std::array<SensorPortSettings, kSensorPortCount> DefaultSensors();
};

// The ENC display record and the shown switches of markers, routes and tracks: written
// whenever the ENC settings are saved, never by the exit writer, never read back.
struct EncSettings {
    int colourScheme = 0;        // [DISPLAY] Color
    int displayCategory = 1;     // [DISPLAY] Category
    int shallowDepth = 2;        // [DEPTH] Shallow
    int safetyDepth = 15;        // [DEPTH] Safty
    int deepDepth = 30;          // [DEPTH] Deep
    int pointSymbols = 1;        // [CHART] Point
    int lineStyle = 1;           // [CHART] Line
    int waterDepthColours = 1;   // [CHART] Shallow
    bool showText = false;       // [CHART] TextCheck
    int textLanguage = 0;        // [CHART] TextSel
    bool showSoundings = false;  // [CHART] SoundingCheck
    bool showLights = false;     // [CHART] LightsCheck
    bool useScamin = false;      // [CHART] CcaminCheck
    int orientation = 0;         // [CHART] OrientationStyle
    bool markersShown = true;    // [View] MarkerCheck
    bool routesShown = true;     // [View] RouteCheck
    bool tracksShown = true;     // [View] TrackCheck
};

// Start-up read, in file order: the three sensor sections, CPA, OWN_SHIP, VIEW (ScaleID,
// PlayLog, Language), SRM, DESTINATION.
void ReadSettings(const IniFile& file, Settings& settings);
void ReadSensorPort(const IniFile& file, SensorPort port, SensorPortSettings& sensor);
// Read at the first showing of the main window.
void ReadChartCalibration(const IniFile& file, ChartCalibrationSettings& calibration);
// The About window's own look at [VIEW] Language: 0, 1 or 2; 0 when the key is missing or
// no integer; -1 for any other stored number (the About window then keeps its texts).
int ReadAboutLanguage(const IniFile& file);

// Exit write, in this order: the three sensor sections, CPA, OWN_SHIP (MMSI, Lon, Lat),
// VIEW (ScaleID, Language, PlayLog), SRM, CHART_CALIBRATION, DESTINATION.
void WriteSettings(IniFile& file, const Settings& settings);
void WriteSensorPort(IniFile& file, SensorPort port, const SensorPortSettings& sensor);
void WriteEncSettings(IniFile& file, const EncSettings& enc);

// Whole-file helpers: the reader treats a missing or unreadable file as all defaults; the
// writers re-read the file first so that every key they do not write stays as it is.
IniFile::LoadResult LoadSettingsFile(const std::string& path, Settings& settings);
void LoadChartCalibrationFile(const std::string& path, ChartCalibrationSettings& calibration);
bool SaveSettingsFile(const std::string& path, const Settings& settings);
bool SaveEncSettingsFile(const std::string& path, const EncSettings& enc);

}  // namespace norq::base
