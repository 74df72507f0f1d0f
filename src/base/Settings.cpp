#include "base/Settings.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cctype>
#include <climits>
#include <cmath>

namespace norq::base {

namespace {

constexpr std::string_view kCpa = "CPA";
constexpr std::string_view kOwnShip = "OWN_SHIP";
constexpr std::string_view kView = "VIEW";
constexpr std::string_view kSrm = "SRM";
constexpr std::string_view kTargets = "TARGETS";
constexpr std::string_view kWizard = "WIZARD";
constexpr std::string_view kDestination = "DESTINATION";
constexpr std::string_view kCalibration = "CHART_CALIBRATION";

constexpr std::array<std::string_view, 4> kOctetKeys = {"TCP_Ip1", "TCP_Ip2", "TCP_Ip3", "TCP_Ip4"};

// Each reader leaves the field alone unless the file holds a usable value for it.
void readInt(const IniFile& file, std::string_view section, std::string_view key, IntRange range,
             int& field) {
    const std::optional<std::string> text = file.value(section, key);
    if (!text) return;
    const std::optional<int> number = ParseProfileInt(*text);
    if (number && range.contains(*number)) field = *number;
}

void readFlag(const IniFile& file, std::string_view section, std::string_view key, bool& field) {
    int number = field ? 1 : 0;
    readInt(file, section, key, IntRange{INT_MIN, INT_MAX}, number);
    field = number != 0;
}

void readSwitch(const IniFile& file, std::string_view section, std::string_view key, bool& field) {
    int number = field ? 1 : 0;
    readInt(file, section, key, kFlagRange, number);
    field = number != 0;
}

void readDegrees(const IniFile& file, std::string_view section, std::string_view key, double limit,
                 double& field) {
    const std::optional<std::string> text = file.value(section, key);
    if (!text) return;
    const std::optional<double> number = ParseProfileFloat(*text);
    if (number && std::fabs(*number) <= limit) field = *number;
}

// A caution or warning limit: 0 (the level off) up to kMaxGradeLimit.
void readLimit(const IniFile& file, std::string_view key, double& field) {
    const std::optional<std::string> text = file.value(kCpa, key);
    if (!text) return;
    const std::optional<double> number = ParseProfileFloat(*text);
    if (number && *number >= 0.0 && *number <= kMaxGradeLimit) field = *number;
}

bool isUsableDevicePath(std::string_view path) {
    if (path.empty()) return true;
    if (path.size() > kMaxDevicePathLength || path.front() != '/') return false;
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return false;
    }
    return true;
}

// A host name or address literal: letters, digits, '.', ':', '-', '_', '%'.
bool isUsableHostText(std::string_view text) {
    if (text.size() > kMaxUdpAddressLength) return false;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!(std::isalnum(byte) || c == '.' || c == ':' || c == '-' || c == '_' || c == '%')) {
            return false;
        }
    }
    return true;
}

// A multicast group: an IPv4 address from 224.0.0.0 to 239.255.255.255 or an
// IPv6 address of ff00::/8, written as a literal.
bool isMulticastText(std::string_view text) {
    if (text.empty() || text.size() > kMaxUdpAddressLength) return false;
    const std::string literal(text);
    in_addr v4{};
    if (::inet_pton(AF_INET, literal.c_str(), &v4) == 1) return IN_MULTICAST(ntohl(v4.s_addr));
    in6_addr v6{};
    return ::inet_pton(AF_INET6, literal.c_str(), &v6) == 1 && IN6_IS_ADDR_MULTICAST(&v6);
}

// An interface: an IPv4 address literal, or a name of letters, digits and ".-_:".
bool isInterfaceText(std::string_view text) {
    const std::string literal(text);
    in_addr v4{};
    if (::inet_pton(AF_INET, literal.c_str(), &v4) == 1) return true;
    if (text.empty() || text.size() > kMaxInterfaceNameLength) return false;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!(std::isalnum(byte) || c == '.' || c == '-' || c == '_' || c == ':')) return false;
    }
    return true;
}

// Calibration offsets are kept as the text the window shows; only a number within the
// window's own limits is taken, with a comma separator turned into a point.
void readOffsetText(const IniFile& file, std::string_view key, std::string& field) {
    const std::optional<std::string> text = file.value(kCalibration, key);
    if (!text) return;
    const std::optional<double> number = ParseProfileFloat(*text);
    if (!number || std::fabs(*number) > kMaxCalibrationOffset) return;
    std::string normalised = *text;
    const std::size_t comma = normalised.find(',');
    if (comma != std::string::npos) normalised[comma] = '.';
    field = normalised;
}

}  // namespace

std::string_view SensorSectionName(SensorPort port) {
    switch (port) {
        case SensorPort::Gps:
            return "GPS_SENSOR_PORT";
        case SensorPort::Mob:
            return "MOB_SENSOR_PORT";
        case SensorPort::Ais:
            break;
    }
    return "AIS_SENSOR_PORT";
}

std::array<SensorPortSettings, kSensorPortCount> Settings::DefaultSensors() {
    std::array<SensorPortSettings, kSensorPortCount> sensors{};
    sensors[static_cast<int>(SensorPort::Gps)].serialBaudRate = 12;
    sensors[static_cast<int>(SensorPort::Mob)].serialBaudRate = 12;
    return sensors;
}

void ReadSensorPort(const IniFile& file, SensorPort port, SensorPortSettings& sensor) {
    const std::string_view section = SensorSectionName(port);
    readInt(file, section, "Serial_Port", kSerialPortRange, sensor.serialPort);
    if (const std::optional<std::string> device = file.value(section, "Serial_Device");
        device && isUsableDevicePath(*device)) {
        sensor.serialDevice = *device;
    }
    readInt(file, section, "Serial_BaudRate", kBaudRateRange, sensor.serialBaudRate);
    readInt(file, section, "Serial_Parity", kParityRange, sensor.serialParity);
    readInt(file, section, "Serial_DataBits", kDataBitsRange, sensor.serialDataBits);
    readInt(file, section, "Serial_StopBits", kStopBitsRange, sensor.serialStopBits);
    readFlag(file, section, "Serial_Connection", sensor.serialConnection);
    for (std::size_t i = 0; i < kOctetKeys.size(); ++i) {
        readInt(file, section, kOctetKeys[i], kOctetRange, sensor.tcpIp[i]);
    }
    readInt(file, section, "TCP_Port", kTcpPortRange, sensor.tcpPort);
    if (port != SensorPort::Ais) return;
    readInt(file, section, "UDP_Port", kUdpPortRange, sensor.udpPort);
    if (const std::optional<std::string> address = file.value(section, "UDP_Address");
        address && isUsableHostText(*address)) {
        sensor.udpAddress = *address;
    }
    readFlag(file, section, "UDP_Connection", sensor.udpConnection);
    if (const std::optional<std::string> group = file.value(section, "UDP_Group");
        group && (group->empty() || isMulticastText(*group))) {
        sensor.udpGroup = *group;
    }
    if (const std::optional<std::string> name = file.value(section, "UDP_Interface");
        name && (name->empty() || isInterfaceText(*name))) {
        sensor.udpInterface = *name;
    }
}

void ReadSettings(const IniFile& file, Settings& settings) {
    for (int port = 0; port < kSensorPortCount; ++port) {
        ReadSensorPort(file, static_cast<SensorPort>(port), settings.sensors[port]);
    }
    readInt(file, kCpa, "CPA", kCpaRange, settings.cpaLimit);
    readInt(file, "ALARMS", "OwnPositionMismatch", IntRange{0, 100000},
            settings.ownPositionMismatchMetres);
    readInt(file, "ALARMS", "AisSilentSeconds", IntRange{0, 86400}, settings.aisSilentSeconds);
    readInt(file, "ALARMS", "GnssSilentSeconds", IntRange{0, 86400}, settings.gnssSilentSeconds);
    readInt(file, kCpa, "TCPA", kTcpaRange, settings.tcpaLimit);
    CpaGradingSettings& grading = settings.cpaGrading;
    readSwitch(file, kCpa, "Graded", grading.graded);
    readLimit(file, "CautionCPA", grading.cautionCpa);
    readLimit(file, "CautionTCPA", grading.cautionTcpa);
    readLimit(file, "WarningCPA", grading.warningCpa);
    readLimit(file, "WarningTCPA", grading.warningTcpa);
    readSwitch(file, kCpa, "QuietWhenMoored", grading.quietWhenMoored);
    readInt(file, kCpa, "AcknowledgeMinutes", kAcknowledgeRange, grading.acknowledgeMinutes);

    int mmsi = static_cast<int>(settings.ownMmsi);
    readInt(file, kOwnShip, "MMSI", IntRange{0, static_cast<int>(kMaxMmsi)}, mmsi);
    settings.ownMmsi = static_cast<std::uint32_t>(mmsi);
    readDegrees(file, kOwnShip, "Lon", 180.0, settings.ownLongitude);
    readDegrees(file, kOwnShip, "Lat", 90.0, settings.ownLatitude);

    readInt(file, kView, "ScaleID", kScaleIdRange, settings.scaleId);
    readInt(file, kView, "PlayLog", kPlayLogRange, settings.playLog);
    // Any language number other than 0, 1 or 2 means English.
    const std::optional<std::string> language = file.value(kView, "Language");
    if (language) {
        const std::optional<int> number = ParseProfileInt(*language);
        if (number) settings.language = kLanguageRange.contains(*number) ? *number : 0;
    }

    readSwitch(file, kView, "AllFeatures", settings.allFeatures);
    readSwitch(file, kView, "ShowCrewWatch", settings.crewWatchShown);
    readSwitch(file, kSrm, "AutoSRM", settings.autoSrm);
    readInt(file, kTargets, "LostAfterReports", kAgeReportsRange, settings.lostAfterReports);
    readInt(file, kTargets, "RemoveAfterReports", kAgeReportsRange, settings.removeAfterReports);

    DestinationSettings& destination = settings.destination;
    readFlag(file, kDestination, "Valid", destination.valid);
    destination.name = file.readString(kDestination, "Name", destination.name);
    readDegrees(file, kDestination, "Lon", 180.0, destination.longitude);
    readDegrees(file, kDestination, "Lat", 90.0, destination.latitude);

    readInt(file, kWizard, "Start_Choice", kStartChoiceRange, settings.wizard.startChoice);
    const std::string recording =
        file.readString(kWizard, "Last_Recording", settings.wizard.lastRecording);
    if (recording.size() <= kMaxDevicePathLength * 4) settings.wizard.lastRecording = recording;
    readInt(file, kWizard, "Network_Input", kNetworkInputRange, settings.wizard.networkInput);
}

void ReadChartCalibration(const IniFile& file, ChartCalibrationSettings& calibration) {
    readSwitch(file, kCalibration, "Active", calibration.active);
    readOffsetText(file, "Latitude", calibration.latitude);
    readOffsetText(file, "Longitude", calibration.longitude);
}

int ReadAboutLanguage(const IniFile& file) {
    const int language = file.readInt(kView, "Language", 0);
    return kLanguageRange.contains(language) ? language : -1;
}

void WriteSensorPort(IniFile& file, SensorPort port, const SensorPortSettings& sensor) {
    const std::string_view section = SensorSectionName(port);
    file.writeInt(section, "Serial_Port", sensor.serialPort);
    file.writeString(section, "Serial_Device", sensor.serialDevice);
    file.writeInt(section, "Serial_BaudRate", sensor.serialBaudRate);
    file.writeInt(section, "Serial_Parity", sensor.serialParity);
    file.writeInt(section, "Serial_DataBits", sensor.serialDataBits);
    file.writeInt(section, "Serial_StopBits", sensor.serialStopBits);
    file.writeBool(section, "Serial_Connection", sensor.serialConnection);
    for (std::size_t i = 0; i < kOctetKeys.size(); ++i) {
        file.writeInt(section, kOctetKeys[i], sensor.tcpIp[i]);
    }
    file.writeInt(section, "TCP_Port", sensor.tcpPort);
    if (port != SensorPort::Ais) return;
    file.writeInt(section, "UDP_Port", sensor.udpPort);
    file.writeString(section, "UDP_Address", sensor.udpAddress);
    file.writeBool(section, "UDP_Connection", sensor.udpConnection);
    file.writeString(section, "UDP_Group", sensor.udpGroup);
    file.writeString(section, "UDP_Interface", sensor.udpInterface);
}

void WriteSettings(IniFile& file, const Settings& settings) {
    for (int port = 0; port < kSensorPortCount; ++port) {
        WriteSensorPort(file, static_cast<SensorPort>(port), settings.sensors[port]);
    }
    file.writeInt(kCpa, "CPA", settings.cpaLimit);
    file.writeInt(kCpa, "TCPA", settings.tcpaLimit);

    file.writeInt(kOwnShip, "MMSI", static_cast<int>(settings.ownMmsi));
    file.writeFloat(kOwnShip, "Lon", settings.ownLongitude);
    file.writeFloat(kOwnShip, "Lat", settings.ownLatitude);

    file.writeInt(kView, "ScaleID", settings.scaleId);
    file.writeInt(kView, "Language", settings.language);
    file.writeInt(kView, "PlayLog", settings.playLog);

    file.writeInt(kSrm, "AutoSRM", settings.autoSrm ? 1 : 0);

    const ChartCalibrationSettings& calibration = settings.calibration;
    file.writeInt(kCalibration, "Active", calibration.active ? 1 : 0);
    file.writeString(kCalibration, "Latitude", calibration.latitude);
    file.writeString(kCalibration, "Longitude", calibration.longitude);

    const DestinationSettings& destination = settings.destination;
    file.writeBool(kDestination, "Valid", destination.valid);
    file.writeString(kDestination, "Name", destination.name);
    file.writeFloat(kDestination, "Lon", destination.longitude);
    file.writeFloat(kDestination, "Lat", destination.latitude);

    file.writeInt(kWizard, "Start_Choice", settings.wizard.startChoice);
    file.writeString(kWizard, "Last_Recording", settings.wizard.lastRecording);
    file.writeInt(kWizard, "Network_Input", settings.wizard.networkInput);
}

void WriteEncSettings(IniFile& file, const EncSettings& enc) {
    file.writeInt("DISPLAY", "Color", enc.colourScheme);
    file.writeInt("DISPLAY", "Category", enc.displayCategory);
    file.writeInt("DEPTH", "Shallow", enc.shallowDepth);
    file.writeInt("DEPTH", "Safty", enc.safetyDepth);
    file.writeInt("DEPTH", "Deep", enc.deepDepth);
    file.writeInt("CHART", "Point", enc.pointSymbols);
    file.writeInt("CHART", "Line", enc.lineStyle);
    file.writeInt("CHART", "Shallow", enc.waterDepthColours);
    file.writeInt("CHART", "TextCheck", enc.showText ? 1 : 0);
    file.writeInt("CHART", "TextSel", enc.textLanguage);
    file.writeInt("CHART", "SoundingCheck", enc.showSoundings ? 1 : 0);
    file.writeInt("CHART", "LightsCheck", enc.showLights ? 1 : 0);
    file.writeInt("CHART", "CcaminCheck", enc.useScamin ? 1 : 0);
    file.writeInt("CHART", "OrientationStyle", enc.orientation);
    // The section is spelt "View" here; names compare without case, so these keys join
    // the keys of [VIEW].
    file.writeBool("View", "MarkerCheck", enc.markersShown);
    file.writeBool("View", "RouteCheck", enc.routesShown);
    file.writeBool("View", "TrackCheck", enc.tracksShown);
}

IniFile::LoadResult LoadSettingsFile(const std::string& path, Settings& settings) {
    IniFile file;
    const IniFile::LoadResult result = file.load(path);
    ReadSettings(file, settings);
    return result;
}

void LoadChartCalibrationFile(const std::string& path, ChartCalibrationSettings& calibration) {
    IniFile file;
    file.load(path);
    ReadChartCalibration(file, calibration);
}

bool SaveSettingsFile(const std::string& path, const Settings& settings) {
    IniFile file;
    file.load(path);
    WriteSettings(file, settings);
    return file.save(path);
}

bool SaveEncSettingsFile(const std::string& path, const EncSettings& enc) {
    IniFile file;
    file.load(path);
    WriteEncSettings(file, enc);
    return file.save(path);
}

}  // namespace norq::base
