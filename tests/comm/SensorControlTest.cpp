// The sensor port control on pseudo-terminals and UDP: the receive path of
// each link, the raw recording, the states and the status texts.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "CommTestSupport.h"
#include "base/IniFile.h"

namespace norq::comm {
namespace {

using test::ControlFixture;
using test::PtyPair;
using namespace std::chrono_literals;

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("norq-comm-") + std::to_string(::getpid()) + "-" + name))
        .string();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class SensorPorts : public ::testing::Test, public ControlFixture {};

TEST_F(SensorPorts, LinesOfTwoPortsAtOnceArriveWholeAndAreRecordedWhole) {
    NORQ_NEED_PTY();
    PtyPair ais;
    PtyPair gps;
    ASSERT_TRUE(control.OpenSensorPort(kAisPort, ais.path(), 3));
    ASSERT_TRUE(control.OpenSensorPort(kGpsPort, gps.path(), 5));
    EXPECT_EQ(control.port(kAisPort).BaudRate(), TBaudRate::br38400);
    // Opening keeps the stored settings (the caller decides what is kept).
    EXPECT_EQ(control.portSettings(kGpsPort).serialDevice, "");
    const std::string file = TempPath("two-ports.txt");
    ASSERT_TRUE(control.recording().open(file));

    const std::string vdm = "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n";
    const std::string gga =
        "$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*76\r\n";
    // Each line in pieces, the pieces of the two ports taking turns.
    for (int round = 0; round < 20; ++round) {
        const std::size_t before = hook.lines.size();
        ais.write(vdm.substr(0, 20));
        loop.runFor(2ms);
        gps.write(gga.substr(0, 30));
        loop.runFor(2ms);
        ais.write(vdm.substr(20));
        loop.runFor(2ms);
        gps.write(gga.substr(30));
        ASSERT_TRUE(until([&] { return hook.lines.size() >= before + 2; }));
    }
    EXPECT_EQ(hook.texts(LinkKind::Serial, kAisPort), std::vector<std::string>(20, vdm));
    EXPECT_EQ(hook.texts(LinkKind::Serial, kGpsPort), std::vector<std::string>(20, gga));
    // The recording holds only whole lines: every line is one of the two.
    control.recording().close();
    std::istringstream recorded(ReadAll(file));
    int lines = 0;
    for (std::string line; std::getline(recorded, line); ++lines) {
        line += '\n';
        EXPECT_TRUE(line == vdm || line == gga) << line;
    }
    EXPECT_EQ(lines, 40);
    std::filesystem::remove(file);
}

TEST_F(SensorPorts, APortClosedUnderTheReaderIsShownClosed) {
    NORQ_NEED_PTY();
    auto line = std::make_unique<PtyPair>();
    ASSERT_TRUE(control.OpenSensorPort(kAisPort, line->path(), -1));
    control.setInUse(kAisPort, true);
    control.setLinkState(kAisPort, LinkState::Connected);
    line->write("!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n$GPGGA,unfinish");
    ASSERT_TRUE(until([&] { return hook.lines.size() == 1; }));
    line->closeMaster();
    ASSERT_TRUE(until([&] { return !control.port(kAisPort).Connected(); }));
    EXPECT_FALSE(control.inUse(kAisPort));
    EXPECT_EQ(control.linkState(kAisPort), LinkState::Idle);
    EXPECT_EQ(control.StatusPanelText(kAisPort), "AIS Port Disconnect");
    // The unfinished line is not handed over, and nothing crashed.
    EXPECT_EQ(hook.lines.size(), 1u);
    loop.runFor(20ms);
}

TEST_F(SensorPorts, APortsHealthCountsWhatItDeliversAndRefuses) {
    NORQ_NEED_PTY();
    auto line = std::make_unique<PtyPair>();
    ASSERT_TRUE(control.OpenSensorPort(kAisPort, line->path(), -1));
    control.setInUse(kAisPort, true);
    control.setLinkState(kAisPort, LinkState::Connected);
    const std::string good = "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n";
    line->write(good + good + "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*27\r\n" +
                std::string(120, 'x') + "\r\n" + "!AIVDM,2,2,7,A,1@0000000000000,2*52\r\n" + good);
    ASSERT_TRUE(until([&] { return control.sourceHealth(kAisPort).figures().accepted == 4; }));
    control.StepLinkHealth();
    ais::HealthFigures f = control.sourceHealth(kAisPort).figures();
    EXPECT_DOUBLE_EQ(f.sentencesPerSecond, 4);
    EXPECT_EQ(f.checksumPerMinute, 1);
    EXPECT_EQ(f.framingPerMinute, 1);  // the over-long line
    EXPECT_EQ(f.fragmentsLostPerMinute, 1);
    EXPECT_EQ(f.lastError.event, ais::HealthEvent::FragmentsLost);
    // The GNSS port heard nothing.
    EXPECT_FALSE(control.sourceHealth(kGpsPort).heard());
    line->closeMaster();
    ASSERT_TRUE(until([&] { return !control.port(kAisPort).Connected(); }));
    f = control.sourceHealth(kAisPort).figures();
    EXPECT_EQ(f.lastError.event, ais::HealthEvent::LinkClosed);
    EXPECT_EQ(f.accepted, 4u);
}

TEST_F(SensorPorts, APortThatCannotBeOpenedSaysWhy) {
    EXPECT_FALSE(control.OpenSensorPort(kGpsPort, "/dev/norq-missing", 5));
    EXPECT_NE(control.portOpenErrorMessage(kGpsPort).find("/dev/norq-missing does not exist"),
              std::string::npos);
    // The reason is a text of the interface language, with the path put in
    // where the text says (a path with a percent sign is no format).
    SensorControlTexts texts;
    texts.portMissing = "找不到 %s。";
    control.setTexts(texts);
    EXPECT_FALSE(control.OpenSensorPort(kGpsPort, "/dev/norq-%s-%n", 5));
    EXPECT_NE(control.portOpenErrorMessage(kGpsPort).find("找不到 /dev/norq-%s-%n。"),
              std::string::npos);
    control.setTexts(SensorControlTexts{});
    EXPECT_FALSE(control.OpenSensorPort(kGpsPort, "COM3", 5));
    EXPECT_EQ(TSysSensorControl::DevicePathForText("3"), "/dev/ttyS2");
    EXPECT_EQ(TSysSensorControl::DevicePathForText("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(TSysSensorControl::DevicePathForText("0"), "");
    NORQ_NEED_PTY();
    PtyPair line;
    ASSERT_EQ(::chmod(line.path().c_str(), 0600), 0);
    // A user who may not open the port: root tries it as "nobody" in a child.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        if (::geteuid() != 0 && ::access(line.path().c_str(), R_OK | W_OK) == 0) ::_exit(4);
        ControlFixture other;
        if (other.control.OpenSensorPort(kGpsPort, line.path(), 5)) ::_exit(1);
        const std::string text = other.control.portOpenErrorMessage(kGpsPort);
        const bool says = text.rfind("Serial port open error! Please check!", 0) == 0 &&
                          text.find("dialout") != std::string::npos &&
                          text.find("usermod -aG dialout") != std::string::npos;
        ::_exit(says ? 0 : 2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3 || WEXITSTATUS(status) == 4) GTEST_SKIP() << "no other user here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(SensorPorts, SettingsStatesAndStatusTexts) {
    base::IniFile file;
    file.parse("[GPS_SENSOR_PORT]\nSerial_Port=4\nSerial_BaudRate=10\nSerial_Parity=1\n");
    control.LoadPortSettings(file, kGpsPort);
    control.ApplyPortSettings(control.port(kGpsPort), kGpsPort);
    EXPECT_EQ(control.port(kGpsPort).DeviceName(), "/dev/ttyS3");
    // A stored rate outside the six-rate list is applied as stored...
    EXPECT_EQ(control.port(kGpsPort).BaudRate(), TBaudRate::br56000);
    EXPECT_EQ(control.port(kGpsPort).Parity(), TParity::paOdd);
    // ... and shows as 115200 in the dialogs.
    EXPECT_EQ(SixRateIndex(control.portSettings(kGpsPort).serialBaudRate), 5);
    base::IniFile out;
    control.SavePortSettings(out, kGpsPort);
    EXPECT_EQ(out.readInt("GPS_SENSOR_PORT", "Serial_BaudRate", 0), 10);

    control.setLinkState(kAisPort, LinkState::IdentificationPending);
    EXPECT_TRUE(control.aisIdentificationPending());
    control.setLinkState(kAisPort, LinkState::Connected);
    EXPECT_FALSE(control.aisIdentificationPending());
    EXPECT_EQ(control.StatusImageIndex(kAisPort, 2), 16 + 0 + 4);
    EXPECT_EQ(control.StatusImageIndex(kGpsPort, 0), 1);
    EXPECT_EQ(control.StatusHintText(kAisPort), "AIS Port Connected");
    control.ToggleInUse(kMobPort);
    EXPECT_EQ(control.StatusPanelText(kMobPort), "MOB Port Connected");
    control.ToggleInUse(kMobPort);
    EXPECT_FALSE(control.inUse(kMobPort));
    // The device kind changes only while the AIS sensor is the current one.
    control.setCurrentSensor(kGpsPort);
    control.setDeviceKind(DeviceKind::StaticData);
    EXPECT_EQ(control.deviceKind(), DeviceKind::None);
    control.setCurrentSensor(kAisPort);
    control.setDeviceKind(DeviceKind::StaticData);
    EXPECT_EQ(control.deviceKind(), DeviceKind::StaticData);
}

TEST_F(SensorPorts, TheMissingMessageIndicatorRunsForAnyDeviceOnAnOpenLink) {
    NORQ_NEED_PTY();
    PtyPair line;
    // No port open: nothing counts.
    for (int i = 0; i < 70; ++i)
        control.StepMissingMessage();
    EXPECT_FALSE(control.missingMessageShown());
    ASSERT_TRUE(control.OpenSensorPort(kAisPort, line.path(), -1));
    EXPECT_EQ(control.deviceKind(), DeviceKind::None);
    for (int i = 0; i < 59; ++i)
        control.StepMissingMessage();
    EXPECT_FALSE(control.missingMessageShown());
    control.StepMissingMessage();
    EXPECT_TRUE(control.missingMessageShown());
    line.write("$GPZDA,1\r\n");
    ASSERT_TRUE(until([&] { return control.aisDataSeen(); }));
    control.StepMissingMessage();
    EXPECT_FALSE(control.missingMessageShown());
    EXPECT_EQ(control.silenceSeconds(), 0);
}

TEST_F(SensorPorts, UdpDatagramsCarryOneOrMoreSentences) {
    ASSERT_TRUE(control.ListenUdpOn("127.0.0.1", 0));
    const int port = control.udpListener()->boundPort();
    ASSERT_GT(port, 0);
    const std::string file = TempPath("udp.txt");
    ASSERT_TRUE(control.recording().open(file));
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    auto send = [&](std::string_view text) {
        ASSERT_EQ(
            ::sendto(fd, text.data(), text.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to),
            static_cast<ssize_t>(text.size()));
    };
    send("!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n!AIVDM,1,1,,B,1");
    // The datagram's end ends its last line; the next datagram starts anew.
    send("$GPZDA,120000.00,01,01,2026,,*6D");
    ASSERT_TRUE(until([&] { return hook.lines.size() >= 3; }));
    ::close(fd);
    const std::vector<std::string> lines = hook.texts(LinkKind::Udp);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "!AIVDM,1,1,,B,1\r\n");
    EXPECT_EQ(lines[2], "$GPZDA,120000.00,01,01,2026,,*6D\r\n");
    EXPECT_EQ(run->tracker.table().count(), 2);
    EXPECT_TRUE(control.aisLinkOpen());
    control.recording().close();
    const std::string recorded = ReadAll(file);
    EXPECT_NE(recorded.find("*26\r\n!AIVDM,1,1,,B,1\r\n$GPZDA"), std::string::npos) << recorded;
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace norq::comm
