#include <gtest/gtest.h>

#include "base/Settings.h"
#include "base/TempFolder.h"

namespace norq::base {
namespace {

Settings readFrom(std::string_view text) {
    IniFile file;
    file.parse(text);
    Settings settings;
    ReadSettings(file, settings);
    return settings;
}

std::string sensorSection(const char* name, int rate) {
    std::string text =
        std::string("[") + name +
        "]\nSerial_Port=1\nSerial_Device=\nSerial_BaudRate=" + std::to_string(rate) +
        "\nSerial_Parity=0\nSerial_DataBits=8\nSerial_StopBits=0\nSerial_Connection=0\n"
        "TCP_Ip1=1\nTCP_Ip2=2\nTCP_Ip3=168\nTCP_Ip4=192\nTCP_Port=3333\n";
    // The AIS sensor's UDP input has keys of its own.
    if (std::string_view(name) == "AIS_SENSOR_PORT") {
        text += "UDP_Port=10110\nUDP_Address=\nUDP_Connection=0\nUDP_Group=\nUDP_Interface=\n";
    }
    return text;
}

TEST(Settings, AMissingFileGivesTheDefaultsAndIsWrittenAtExitInOrder) {
    TempFolder folder;
    const std::string path = folder.path("NorqAisViewer.ini");
    Settings settings;
    EXPECT_EQ(LoadSettingsFile(path, settings), IniFile::LoadResult::Missing);

    const SensorPortSettings& ais = settings.sensor(SensorPort::Ais);
    EXPECT_EQ(ais.serialPort, 1);
    EXPECT_EQ(ais.serialBaudRate, 9);                                // 38400
    EXPECT_EQ(settings.sensor(SensorPort::Gps).serialBaudRate, 12);  // 115200
    EXPECT_EQ(settings.sensor(SensorPort::Mob).serialBaudRate, 12);
    EXPECT_EQ(ais.tcpIp[3], 192);  // TCP_Ip4 is the first octet: 192.168.2.1
    EXPECT_EQ(ais.tcpIp[2], 168);
    EXPECT_EQ(ais.tcpIp[1], 2);
    EXPECT_EQ(ais.tcpIp[0], 1);
    EXPECT_EQ(ais.tcpPort, 3333);
    EXPECT_EQ(settings.language, 0);
    EXPECT_EQ(settings.scaleId, 4);
    EXPECT_EQ(settings.playLog, 1);
    EXPECT_EQ(settings.cpaLimit, 5);
    EXPECT_EQ(settings.tcpaLimit, 10);

    ASSERT_TRUE(SaveSettingsFile(path, settings));
    EXPECT_EQ(folder.read("NorqAisViewer.ini"),
              sensorSection("AIS_SENSOR_PORT", 9) + "\n" + sensorSection("GPS_SENSOR_PORT", 12) +
                  "\n" + sensorSection("MOB_SENSOR_PORT", 12) +
                  "\n[CPA]\nCPA=5\nTCPA=10\n"
                  "\n[OWN_SHIP]\nMMSI=0\nLon=0\nLat=0\n"
                  "\n[VIEW]\nScaleID=4\nLanguage=0\nPlayLog=1\n"
                  "\n[SRM]\nAutoSRM=0\n"
                  "\n[CHART_CALIBRATION]\nActive=0\nLatitude=0\nLongitude=0\n"
                  "\n[DESTINATION]\nValid=0\nName=\nLon=0\nLat=0\n"
                  "\n[WIZARD]\nStart_Choice=-1\nLast_Recording=\nNetwork_Input=1\n");
}

TEST(Settings, TheMulticastGroupAndInterfaceAreKeptAndCheckedOnReading) {
    TempFolder folder;
    const std::string path = folder.path("NorqAisViewer.ini");
    Settings settings;
    settings.sensors[0].udpGroup = "239.192.0.1";
    settings.sensors[0].udpInterface = "eth0";
    ASSERT_TRUE(SaveSettingsFile(path, settings));
    EXPECT_NE(folder.read("NorqAisViewer.ini").find("UDP_Group=239.192.0.1\nUDP_Interface=eth0\n"),
              std::string::npos);
    Settings read;
    LoadSettingsFile(path, read);
    EXPECT_EQ(read.sensor(SensorPort::Ais).udpGroup, "239.192.0.1");
    EXPECT_EQ(read.sensor(SensorPort::Ais).udpInterface, "eth0");
    // An interface may be named by its IPv4 address; IPv6 groups are groups too.
    Settings other = readFrom("[AIS_SENSOR_PORT]\nUDP_Group=ff02::1\nUDP_Interface=192.168.1.20\n");
    EXPECT_EQ(other.sensor(SensorPort::Ais).udpGroup, "ff02::1");
    EXPECT_EQ(other.sensor(SensorPort::Ais).udpInterface, "192.168.1.20");
    // A unicast address is no group, and an interface name has at most 15 bytes.
    for (const char* group : {"192.168.1.20", "240.0.0.1", "239.1", "x"}) {
        EXPECT_EQ(readFrom(std::string("[AIS_SENSOR_PORT]\nUDP_Group=") + group + "\n")
                      .sensor(SensorPort::Ais)
                      .udpGroup,
                  "")
            << group;
    }
    for (const char* name : {"a-very-long-interface0", "eth 0", "eth0;rm"}) {
        EXPECT_EQ(readFrom(std::string("[AIS_SENSOR_PORT]\nUDP_Interface=") + name + "\n")
                      .sensor(SensorPort::Ais)
                      .udpInterface,
                  "")
            << name;
    }
}

TEST(Settings, TheWizardsStartChoiceIsRememberedAndCheckedOnReading) {
    TempFolder folder;
    const std::string path = folder.path("NorqAisViewer.ini");
    Settings settings;
    settings.wizard.startChoice = 1;
    settings.wizard.lastRecording = "/home/mate/harbour.txt";
    settings.wizard.networkInput = 2;
    ASSERT_TRUE(SaveSettingsFile(path, settings));
    Settings read;
    LoadSettingsFile(path, read);
    EXPECT_EQ(read.wizard.startChoice, 1);
    EXPECT_EQ(read.wizard.lastRecording, "/home/mate/harbour.txt");
    EXPECT_EQ(read.wizard.networkInput, 2);
    for (const char* bad : {"3", "-2", "x"}) {
        IniFile file;
        file.parse(std::string("[WIZARD]\nStart_Choice=") + bad + "\n");
        Settings s;
        ReadSettings(file, s);
        EXPECT_EQ(s.wizard.startChoice, -1) << bad;
    }
}

TEST(Settings, RoundTripKeepsEveryValueAndEveryUnknownKey) {
    TempFolder folder;
    const std::string path = folder.path("NorqAisViewer.ini");
    folder.write("NorqAisViewer.ini",
                 "; notes of the crew\n[OWN_SHIP]\nMMSI=1\nCallSign=ABCD\n[Extra]\nx=y\n");
    Settings settings;
    settings.sensor(SensorPort::Gps).serialPort = 7;
    settings.sensor(SensorPort::Gps).serialDevice = "/dev/ttyUSB1";
    settings.sensor(SensorPort::Ais).serialConnection = true;
    settings.sensor(SensorPort::Ais).tcpIp = {20, 0, 0, 10};
    settings.ownMmsi = 416123456;
    settings.ownLongitude = 121.5;
    settings.ownLatitude = -25.0625;
    settings.scaleId = 14;
    settings.playLog = 5;
    settings.language = 1;
    settings.autoSrm = true;
    settings.destination = {true, " Keelung, pier 2 ", 121.75, 25.15};
    settings.calibration = {true, "0.005", "-0.01"};
    ASSERT_TRUE(SaveSettingsFile(path, settings));

    Settings back;
    ASSERT_EQ(LoadSettingsFile(path, back), IniFile::LoadResult::Loaded);
    LoadChartCalibrationFile(path, back.calibration);
    EXPECT_EQ(back.sensor(SensorPort::Gps).serialPort, 7);
    EXPECT_EQ(back.sensor(SensorPort::Gps).serialDevice, "/dev/ttyUSB1");
    EXPECT_TRUE(back.sensor(SensorPort::Ais).serialConnection);
    EXPECT_EQ(back.sensor(SensorPort::Ais).tcpIp, (std::array<int, 4>{20, 0, 0, 10}));
    EXPECT_EQ(back.ownMmsi, 416123456u);
    EXPECT_DOUBLE_EQ(back.ownLongitude, 121.5);
    EXPECT_DOUBLE_EQ(back.ownLatitude, -25.0625);
    EXPECT_EQ(back.scaleId, 14);
    EXPECT_EQ(back.playLog, 5);
    EXPECT_EQ(back.language, 1);
    EXPECT_TRUE(back.autoSrm);
    EXPECT_TRUE(back.destination.valid);
    EXPECT_EQ(back.destination.name, " Keelung, pier 2 ");
    EXPECT_DOUBLE_EQ(back.destination.longitude, 121.75);
    EXPECT_TRUE(back.calibration.active);
    EXPECT_EQ(back.calibration.latitude, "0.005");
    EXPECT_EQ(back.calibration.longitude, "-0.01");

    const std::string text = folder.read("NorqAisViewer.ini");
    EXPECT_EQ(text.rfind("; notes of the crew\n[OWN_SHIP]\nMMSI=416123456\nCallSign=ABCD\nLon=121.5"
                         "\nLat=-25.0625\n[Extra]\nx=y\n",
                         0),
              0u)
        << text;
}

TEST(Settings, ACommaDecimalSeparatorReadsTheSame) {
    const Settings settings =
        readFrom("[OWN_SHIP]\nLon=121,5\nLat=-22,25\n[DESTINATION]\nLon=\"5,5\"\nLat=1,0\n");
    EXPECT_DOUBLE_EQ(settings.ownLongitude, 121.5);
    EXPECT_DOUBLE_EQ(settings.ownLatitude, -22.25);
    EXPECT_DOUBLE_EQ(settings.destination.longitude, 5.5);
    EXPECT_DOUBLE_EQ(settings.destination.latitude, 1.0);
}

TEST(Settings, IntegersMayBeHexadecimalAndFlagsAnyNonZeroNumber) {
    const Settings settings = readFrom(
        "[VIEW]\nScaleID=0x0A\nPlayLog=$10\n[AIS_SENSOR_PORT]\nSerial_Connection=-3\n"
        "[DESTINATION]\nValid=2\n");
    EXPECT_EQ(settings.scaleId, 10);
    EXPECT_EQ(settings.playLog, 16);
    EXPECT_TRUE(settings.sensor(SensorPort::Ais).serialConnection);
    EXPECT_TRUE(settings.destination.valid);
}

// Each damaged value falls back to the default instead of reaching the program.
TEST(Settings, ValuesOutsideTheirRangeFallBackToTheDefault) {
    const Settings defaults;
    for (const char* text : {
             "[AIS_SENSOR_PORT]\nSerial_Port=0",
             "[AIS_SENSOR_PORT]\nSerial_Port=100000",
             "[AIS_SENSOR_PORT]\nSerial_BaudRate=15",
             "[AIS_SENSOR_PORT]\nSerial_BaudRate=0",
             "[AIS_SENSOR_PORT]\nSerial_BaudRate=-1",
             "[AIS_SENSOR_PORT]\nSerial_Parity=5",
             "[AIS_SENSOR_PORT]\nSerial_DataBits=3",
             "[AIS_SENSOR_PORT]\nSerial_DataBits=9",
             "[AIS_SENSOR_PORT]\nSerial_StopBits=3",
             "[AIS_SENSOR_PORT]\nSerial_Connection=yes",
             "[AIS_SENSOR_PORT]\nSerial_Device=ttyUSB0",
             "[AIS_SENSOR_PORT]\nSerial_Device=/dev/tty\x1b[2J",
             "[AIS_SENSOR_PORT]\nTCP_Ip4=256",
             "[AIS_SENSOR_PORT]\nTCP_Ip1=-1",
             "[AIS_SENSOR_PORT]\nTCP_Port=0",
             "[AIS_SENSOR_PORT]\nTCP_Port=65536",
             "[CPA]\nCPA=-1",
             "[CPA]\nTCPA=101",
             "[OWN_SHIP]\nMMSI=1000000000",
             "[OWN_SHIP]\nMMSI=-5",
             "[OWN_SHIP]\nLat=90.0001",
             "[OWN_SHIP]\nLat=-91",
             "[OWN_SHIP]\nLat=nan",
             "[OWN_SHIP]\nLat=N 22 30",
             "[OWN_SHIP]\nLon=181",
             "[OWN_SHIP]\nLon=1e400",
             "[VIEW]\nScaleID=15",
             "[VIEW]\nScaleID=-1",
             "[VIEW]\nPlayLog=0",
             "[VIEW]\nPlayLog=-3",
             "[VIEW]\nPlayLog=100000",
             "[VIEW]\nPlayLog=fast",
             "[SRM]\nAutoSRM=2",
             "[DESTINATION]\nLat=95",
             "[DESTINATION]\nLon=-200",
         }) {
        const Settings settings = readFrom(text);
        const SensorPortSettings& ais = settings.sensor(SensorPort::Ais);
        const SensorPortSettings& fresh = defaults.sensor(SensorPort::Ais);
        EXPECT_EQ(ais.serialPort, fresh.serialPort) << text;
        EXPECT_EQ(ais.serialDevice, fresh.serialDevice) << text;
        EXPECT_EQ(ais.serialBaudRate, fresh.serialBaudRate) << text;
        EXPECT_EQ(ais.serialParity, fresh.serialParity) << text;
        EXPECT_EQ(ais.serialDataBits, fresh.serialDataBits) << text;
        EXPECT_EQ(ais.serialStopBits, fresh.serialStopBits) << text;
        EXPECT_EQ(ais.serialConnection, fresh.serialConnection) << text;
        EXPECT_EQ(ais.tcpIp, fresh.tcpIp) << text;
        EXPECT_EQ(ais.tcpPort, fresh.tcpPort) << text;
        EXPECT_EQ(settings.cpaLimit, defaults.cpaLimit) << text;
        EXPECT_EQ(settings.tcpaLimit, defaults.tcpaLimit) << text;
        EXPECT_EQ(settings.ownMmsi, defaults.ownMmsi) << text;
        EXPECT_EQ(settings.ownLatitude, defaults.ownLatitude) << text;
        EXPECT_EQ(settings.ownLongitude, defaults.ownLongitude) << text;
        EXPECT_EQ(settings.scaleId, defaults.scaleId) << text;
        EXPECT_EQ(settings.playLog, defaults.playLog) << text;
        EXPECT_EQ(settings.autoSrm, defaults.autoSrm) << text;
        EXPECT_EQ(settings.destination.latitude, defaults.destination.latitude) << text;
        EXPECT_EQ(settings.destination.longitude, defaults.destination.longitude) << text;
    }
}

TEST(Settings, RangeEndsAreAccepted) {
    const Settings settings = readFrom(
        "[AIS_SENSOR_PORT]\nSerial_Port=9999\nSerial_BaudRate=14\nSerial_DataBits=4\n"
        "TCP_Port=65535\n[OWN_SHIP]\nMMSI=999999999\nLat=-90\nLon=180\n"
        "[VIEW]\nScaleID=0\nPlayLog=100\n[CPA]\nCPA=0\nTCPA=100\n");
    EXPECT_EQ(settings.sensor(SensorPort::Ais).serialPort, 9999);
    EXPECT_EQ(settings.sensor(SensorPort::Ais).serialBaudRate, 14);
    EXPECT_EQ(settings.sensor(SensorPort::Ais).serialDataBits, 4);
    EXPECT_EQ(settings.sensor(SensorPort::Ais).tcpPort, 65535);
    EXPECT_EQ(settings.ownMmsi, 999999999u);
    EXPECT_EQ(settings.ownLatitude, -90.0);
    EXPECT_EQ(settings.ownLongitude, 180.0);
    EXPECT_EQ(settings.scaleId, 0);
    EXPECT_EQ(settings.playLog, 100);
    EXPECT_EQ(settings.cpaLimit, 0);
    EXPECT_EQ(settings.tcpaLimit, 100);
}

TEST(Settings, AnUnknownLanguageStartsInEnglishAndIsWrittenBackAsEnglish) {
    const Settings settings = readFrom("[VIEW]\nLanguage=7\n");
    EXPECT_EQ(settings.language, 0);
    IniFile file;
    file.parse("[VIEW]\nLanguage=7\n");
    WriteSettings(file, settings);
    EXPECT_EQ(file.readInt("VIEW", "Language", -1), 0);

    IniFile about;
    about.parse("[VIEW]\nLanguage=7\n");
    EXPECT_EQ(ReadAboutLanguage(about), -1);  // the About window keeps its texts
    about.parse("[VIEW]\nLanguage=2\n");
    EXPECT_EQ(ReadAboutLanguage(about), 2);
    about.parse("");
    EXPECT_EQ(ReadAboutLanguage(about), 0);
}

TEST(Settings, CalibrationTakesOnlyOffsetsWithinTheWindowsLimits) {
    ChartCalibrationSettings calibration;
    IniFile file;
    file.parse("[CHART_CALIBRATION]\nActive=1\nLatitude=0,0100\nLongitude=0.0101\n");
    ReadChartCalibration(file, calibration);
    EXPECT_TRUE(calibration.active);
    EXPECT_EQ(calibration.latitude, "0.0100");
    EXPECT_EQ(calibration.longitude, "0");

    file.parse("[CHART_CALIBRATION]\nActive=5\nLatitude=\nLongitude=1a\n");
    ChartCalibrationSettings fresh;
    ReadChartCalibration(file, fresh);
    EXPECT_FALSE(fresh.active);
    EXPECT_EQ(fresh.latitude, "0");
    EXPECT_EQ(fresh.longitude, "0");
}

TEST(Settings, EncKeysGoToTheViewSectionWhateverItsSpelling) {
    TempFolder folder;
    const std::string path = folder.path("NorqAisViewer.ini");
    Settings settings;
    ASSERT_TRUE(SaveSettingsFile(path, settings));
    EncSettings enc;
    enc.colourScheme = 4;
    enc.routesShown = false;
    ASSERT_TRUE(SaveEncSettingsFile(path, enc));
    // The exit writer leaves the ENC keys alone.
    ASSERT_TRUE(SaveSettingsFile(path, settings));

    IniFile file;
    ASSERT_EQ(file.load(path), IniFile::LoadResult::Loaded);
    const std::string text = file.toString();
    EXPECT_EQ(text.find("[View]"), std::string::npos);
    EXPECT_NE(text.find("[VIEW]\nScaleID=4\nLanguage=0\nPlayLog=1\nMarkerCheck=1\nRouteCheck=0\n"
                        "TrackCheck=1\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(file.readInt("DISPLAY", "Color", -1), 4);
    EXPECT_EQ(file.readInt("DEPTH", "Safty", -1), 15);
    EXPECT_EQ(file.readInt("CHART", "OrientationStyle", -1), 0);
}

TEST(Settings, TargetAgeingIsReadInRangeAndNeverWritten) {
    const Settings fresh;
    EXPECT_EQ(fresh.lostAfterReports, 0);
    EXPECT_EQ(fresh.removeAfterReports, 0);
    const Settings set = readFrom("[targets]\nLostAfterReports=3\nRemoveAfterReports=20\n");
    EXPECT_EQ(set.lostAfterReports, 3);
    EXPECT_EQ(set.removeAfterReports, 20);
    const Settings bad = readFrom("[TARGETS]\nLostAfterReports=-1\nRemoveAfterReports=1001\n");
    EXPECT_EQ(bad.lostAfterReports, 0);
    EXPECT_EQ(bad.removeAfterReports, 0);
    IniFile file;
    WriteSettings(file, set);
    EXPECT_FALSE(file.value("TARGETS", "LostAfterReports"));
}

TEST(Settings, CpaGradingKeys) {
    const Settings fresh;
    EXPECT_FALSE(fresh.cpaGrading.graded);
    EXPECT_TRUE(fresh.cpaGrading.quietWhenMoored);
    const Settings set = readFrom(
        "[CPA]\nCPA=1\nGraded=1\nCautionCPA=3.5\nCautionTCPA=25\nWarningCPA=0\n"
        "WarningTCPA=15\nQuietWhenMoored=0\nAcknowledgeMinutes=2\n");
    EXPECT_EQ(set.cpaLimit, 1);
    EXPECT_TRUE(set.cpaGrading.graded);
    EXPECT_DOUBLE_EQ(set.cpaGrading.cautionCpa, 3.5);
    EXPECT_DOUBLE_EQ(set.cpaGrading.cautionTcpa, 25.0);
    EXPECT_DOUBLE_EQ(set.cpaGrading.warningCpa, 0.0);
    EXPECT_DOUBLE_EQ(set.cpaGrading.warningTcpa, 15.0);
    EXPECT_FALSE(set.cpaGrading.quietWhenMoored);
    EXPECT_EQ(set.cpaGrading.acknowledgeMinutes, 2);
    const Settings bad =
        readFrom("[CPA]\nGraded=2\nCautionCPA=-1\nWarningTCPA=101\nAcknowledgeMinutes=0\n");
    EXPECT_FALSE(bad.cpaGrading.graded);
    EXPECT_DOUBLE_EQ(bad.cpaGrading.cautionCpa, fresh.cpaGrading.cautionCpa);
    EXPECT_DOUBLE_EQ(bad.cpaGrading.warningTcpa, fresh.cpaGrading.warningTcpa);
    EXPECT_EQ(bad.cpaGrading.acknowledgeMinutes, 5);
    IniFile file;
    WriteSettings(file, set);
    EXPECT_FALSE(file.value("CPA", "Graded"));
}

}  // namespace
}  // namespace norq::base
