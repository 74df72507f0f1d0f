// The wizard's manual mode, the port dialog, the TCP fields and the ports
// that come and go, against the recording fakes.
#include <gtest/gtest.h>

#include "comm/ConnectionChecks.h"
#include "comm/DetectionFakes.h"
#include "comm/PortDialogFlow.h"
#include "comm/WizardFlow.h"

namespace norq::comm {
namespace {

using test::FakePorts;
using test::FakeView;

WizardInputs SerialInputs(const char* port, int ratePosition) {
    WizardInputs in;
    in.typedPort = port;
    in.ratePosition = ratePosition;
    return in;
}

PortDialogInputs DialogInputs(const char* port, int ratePosition) {
    PortDialogInputs in;
    in.typedPort = port;
    in.ratePosition = ratePosition;
    return in;
}

WizardInputs TcpInputs(std::array<std::string, 4> octets, const char* port) {
    WizardInputs in;
    in.tcp.octets = std::move(octets);
    in.tcp.port = port;
    return in;
}

TEST(DevicePath, TypedPortsNameDevicesBelowDev) {
    EXPECT_EQ(DevicePathOf("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(DevicePathOf(" /dev/pts/3 "), "/dev/pts/3");
    EXPECT_EQ(DevicePathOf("/dev/serial/by-id/usb-FTDI_A1-if00"),
              "/dev/serial/by-id/usb-FTDI_A1-if00");
    for (std::string_view bad :
         {"", "   ", "/dev/", "/dev/../etc/passwd", "pts/3", "tty USB0", "COM3;rm", "tty\n"}) {
        EXPECT_FALSE(DevicePathOf(bad)) << bad;
    }
}

TEST(TcpFields, OctetsAndPortAreCheckedBeforeTheyAreStored) {
    const auto check = [](const char* a, const char* b, const char* c, const char* d,
                          const char* port) {
        return CheckTcpFields({{a, b, c, d}, port});
    };
    const TcpSettings ok = check("192", "168", "2", "1", "3333");
    EXPECT_EQ(ok.status, TcpSettings::Status::Ok);
    EXPECT_EQ(ok.address, (std::array<int, 4>{192, 168, 2, 1}));
    EXPECT_EQ(ok.port, 3333);
    EXPECT_EQ(check("0", "0", "0", "0", "65535").status, TcpSettings::Status::Ok);
    EXPECT_EQ(check("192", "", "2", "1", "3333").status, TcpSettings::Status::Empty);
    for (const TcpSettings& bad :
         {check("300", "168", "2", "1", "3333"), check("192", "168", "2", "1", "0"),
          check("192", "168", "2", "1", "65536"), check("-1", "168", "2", "1", "3333"),
          check("19x", "168", "2", "1", "3333"), check("0300", "168", "2", "1", "3333")}) {
        EXPECT_EQ(bad.status, TcpSettings::Status::Invalid);
    }
}

class Flows : public ::testing::Test {
  protected:
    Flows()
        : detection(ports, view), wizard(ports, detection, view), dialog(ports, detection, view) {
        detection.setOwner(&wizard);
        ports.free = {"/dev/null"};
        ports.present = {"/dev/null", "/dev/zero"};
        ports.openable = {"/dev/null", "/dev/zero"};
    }
    FakePorts::Sensor& ais() { return ports.at(kAisPort); }

    FakePorts ports;
    FakeView view;
    DeviceDetection detection;
    WizardFlow wizard;
    PortDialogFlow dialog;
};

TEST_F(Flows, ManualModeRefusesWhatNamesNoDeviceAndAsksBeforeForcingAPort) {
    wizard.show();
    wizard.connect(SerialInputs("COM3", 3));
    EXPECT_EQ(view.messages.back(), DetectionMessage::PortOpenError);
    EXPECT_FALSE(ais().inUse);
    EXPECT_FALSE(wizard.state().connectDown);

    ports.opens.clear();
    // A path that is not there is tried without the force-connect question,
    // so that the system can say why it fails; a file is never opened as a port.
    wizard.connect(SerialInputs("/dev/norq-missing", 3));
    EXPECT_EQ(view.messages.back(), DetectionMessage::PortOpenError);
    ASSERT_EQ(ports.opens.size(), 1u);
    EXPECT_EQ(ports.opens.back(), "/dev/norq-missing@38400");
    EXPECT_FALSE(ais().inUse);
    wizard.connect(SerialInputs("/etc/hostname", 3));
    EXPECT_EQ(view.messages.back(), DetectionMessage::PortOpenError);
    EXPECT_EQ(ports.opens.size(), 1u);
    ports.opens.clear();

    // /dev/zero exists but is not free: the force-connect question, cancelled.
    view.answer = false;
    wizard.connect(SerialInputs("/dev/zero", 3));
    EXPECT_EQ(view.messages.back(), DetectionMessage::CheckPortError);
    EXPECT_FALSE(ais().inUse);
    EXPECT_TRUE(ports.opens.empty());

    // A listed port: open at the chosen rate, identification pending.
    wizard.connect(SerialInputs("/dev/null", 3));
    EXPECT_EQ(ports.opens.back(), "/dev/null@38400");
    EXPECT_TRUE(ais().inUse);
    EXPECT_EQ(ais().link, LinkState::IdentificationPending);
    EXPECT_EQ(ais().storedRate, 9);
    EXPECT_TRUE(view.hasResult("AIS Connected"));
    const WizardState st = wizard.state();
    EXPECT_TRUE(st.connectDown);
    EXPECT_FALSE(st.inputsEnabled);
    EXPECT_TRUE(st.detectingVisible);
    EXPECT_FALSE(st.closeEnabled);

    // Switched off by the user.
    wizard.connect(SerialInputs("/dev/null", 3));
    EXPECT_FALSE(ais().open);
    EXPECT_FALSE(ais().inUse);
    EXPECT_EQ(ports.kind, DeviceKind::None);
    EXPECT_TRUE(view.hasResult("AIS Disconnected"));
}

TEST_F(Flows, OpeningTheWizardKeepsAPortThatIsIdentifying) {
    dialog.open(kAisPort);
    dialog.connect(DialogInputs("/dev/null", 5));
    ASSERT_EQ(ais().link, LinkState::IdentificationPending);
    wizard.show();
    EXPECT_EQ(ais().link, LinkState::IdentificationPending);
    EXPECT_TRUE(ais().open);
    EXPECT_TRUE(wizard.state().connectDown);
}

TEST_F(Flows, PortDialogConnectsAndStoresThePortAndRate) {
    ais().storedPath = "/dev/null";
    ais().storedRate = 12;
    dialog.open(kAisPort);
    EXPECT_EQ(dialog.state().port, "/dev/null");
    EXPECT_EQ(dialog.state().ratePosition, 5);
    dialog.connect(DialogInputs("/dev/null", 1));
    EXPECT_EQ(ports.opens.back(), "/dev/null@9600");
    EXPECT_EQ(ais().storedRate, 6);
    EXPECT_EQ(ais().link, LinkState::IdentificationPending);
    EXPECT_FALSE(dialog.state().inputsEnabled);

    // A port that does not open: message, nothing left in use.
    ports.at(kMobPort).storedPath = "/dev/ttyGone";
    dialog.open(kMobPort);
    EXPECT_FALSE(dialog.state().selectorVisible);
    dialog.connect(DialogInputs("/dev/ttyGone", 5));
    EXPECT_EQ(view.messages.back(), DetectionMessage::PortOpenError);
    EXPECT_FALSE(ports.at(kMobPort).inUse);
    EXPECT_EQ(ports.at(kMobPort).phase, ScanPhase::Finished);
}

TEST_F(Flows, ConnectAtStartUsesTheStoredPortWithoutTheDialog) {
    ais().storedPath = "/dev/null";
    ais().storedRate = 9;
    dialog.connectAtStart();
    EXPECT_FALSE(dialog.showing());
    EXPECT_EQ(ports.opens.back(), "/dev/null@38400");
    EXPECT_EQ(ais().link, LinkState::IdentificationPending);
}

TEST_F(Flows, TcpFieldsOutOfRangeAreRefusedWithAMessage) {
    ais().input = InputType::Tcp;
    wizard.show();
    wizard.connect(TcpInputs({"300", "168", "2", "1"}, "3333"));
    EXPECT_EQ(view.messages.back(), DetectionMessage::TcpSettingsInvalid);
    EXPECT_EQ(ports.tcpAddress, (std::array<int, 4>{192, 168, 2, 1}));
    EXPECT_EQ(ports.tcpConnects, 0);
    wizard.connect(TcpInputs({"10", "0", "0", "7"}, ""));
    EXPECT_EQ(ports.tcpConnects, 0);  // an empty field: nothing happens
    wizard.connect(TcpInputs({"10", "0", "0", "7"}, "4001"));
    EXPECT_EQ(ports.tcpAddress, (std::array<int, 4>{10, 0, 0, 7}));
    EXPECT_EQ(ports.tcpPort, 4001);
    EXPECT_EQ(ports.tcpConnects, 1);
    EXPECT_EQ(ports.sendType, InputType::Tcp);
    EXPECT_EQ(ais().link, LinkState::IdentificationPending);
    EXPECT_TRUE(wizard.state().connectDown);
    EXPECT_FALSE(wizard.state().tcpFieldsEnabled);
    wizard.connect(TcpInputs({"10", "0", "0", "7"}, "4001"));
    EXPECT_EQ(ports.tcpDisconnects, 1);
    EXPECT_EQ(ais().link, LinkState::Idle);
    EXPECT_FALSE(ais().inUse);
}

TEST_F(Flows, AUdpSourceIsConnectedOnceItsPortIsBound) {
    ais().input = InputType::Udp;
    wizard.show();
    WizardInputs in;
    in.udp.port = "70000";
    wizard.connect(in);
    EXPECT_EQ(view.messages.back(), DetectionMessage::UdpPortInvalid);
    ports.udpBindable = false;
    in.udp.port = "10110";
    wizard.connect(in);
    EXPECT_EQ(view.messages.back(), DetectionMessage::UdpOpenError);
    EXPECT_FALSE(ais().inUse);
    ports.udpBindable = true;
    wizard.connect(in);
    EXPECT_TRUE(ports.udpOn);
    EXPECT_EQ(ais().link, LinkState::Connected);
    EXPECT_TRUE(wizard.state().connectDown);
    EXPECT_EQ(wizard.state().notes[1], WizardNote::UdpConnect);
    wizard.connect(in);
    EXPECT_FALSE(ports.udpOn);
    EXPECT_EQ(ais().link, LinkState::Idle);
}

TEST_F(Flows, AUdpSourceJoinsTheMulticastGroupTypedOnTheInterfaceTyped) {
    ais().input = InputType::Udp;
    dialog.open(kAisPort);
    PortDialogInputs in;
    in.udp = {"10110", "192.168.1.20", ""};
    dialog.connect(in);
    EXPECT_EQ(view.messages.back(), DetectionMessage::UdpGroupInvalid);
    in.udp = {"10110", "239.192.0.1", "eth 0"};
    dialog.connect(in);
    EXPECT_EQ(view.messages.back(), DetectionMessage::UdpGroupInvalid);
    EXPECT_FALSE(ports.udpOn);
    // The kernel refuses the group there: that is said, not "port in use".
    ports.udpBindable = false;
    in.udp = {" 10111 ", " 239.192.0.1 ", "eth0"};
    dialog.connect(in);
    EXPECT_EQ(view.messages.back(), DetectionMessage::UdpJoinError);
    EXPECT_FALSE(ais().inUse);
    ports.udpBindable = true;
    const std::size_t messages = view.messages.size();
    dialog.connect(in);
    EXPECT_EQ(view.messages.size(), messages);
    EXPECT_TRUE(ports.udpOn);
    EXPECT_EQ(ports.udp, (UdpChoice{10111, "239.192.0.1", "eth0"}));
    EXPECT_EQ(ais().link, LinkState::Connected);
    EXPECT_TRUE(dialog.state().connectDown);
    dialog.connect(in);
    EXPECT_FALSE(ports.udpOn);
    // Without a group the interface is not looked at: datagrams to this host.
    in.udp = {"10112", "", "whatever it says"};
    dialog.connect(in);
    EXPECT_TRUE(ports.udpOn);
    EXPECT_EQ(ports.udp.group, "");
    EXPECT_EQ(ports.udp.interfaceName, "");
}

TEST_F(Flows, AVanishedPortClosesOnlyTheSerialSensorThatUsedIt) {
    // The AIS over TCP, the GPS on a serial port that is then unplugged.
    ais().input = InputType::Tcp;
    ais().inUse = true;
    ais().link = LinkState::Connected;
    ports.tcpOn = true;
    ports.tcpThread = true;
    auto& gps = ports.at(kGpsPort);
    gps.open = true;
    gps.inUse = true;
    gps.path = "/dev/ttyUSB1";
    gps.link = LinkState::Connected;
    auto& mob = ports.at(kMobPort);
    mob.open = true;
    mob.inUse = true;
    mob.path = "/dev/null";
    mob.link = LinkState::Connected;
    wizard.show();
    const int enumerations = ports.enumerations;
    wizard.portsChanged(true);
    EXPECT_GT(ports.enumerations, enumerations);
    EXPECT_FALSE(gps.open);
    EXPECT_FALSE(gps.inUse);
    EXPECT_EQ(gps.link, LinkState::Idle);
    EXPECT_TRUE(mob.open);
    EXPECT_EQ(mob.link, LinkState::Connected);
    EXPECT_EQ(ports.tcpDisconnects, 0);
    EXPECT_EQ(ports.tcpConnects, 0);
    EXPECT_EQ(ais().link, LinkState::Connected);
    EXPECT_TRUE(ais().inUse);
}

TEST_F(Flows, AGnssReceiverBehindAVanishedPortGoesWithIt) {
    ais().open = true;
    ais().inUse = true;
    ais().path = "/dev/ttyUSB0";
    ais().link = LinkState::Connected;
    ports.at(kGpsPort).storedPath = "/dev/ttyUSB0";
    ports.at(kGpsPort).link = LinkState::Connected;
    EXPECT_EQ(HandlePortsChanged(ports, true), 0b011u);
    EXPECT_EQ(ports.at(kGpsPort).link, LinkState::Idle);
    EXPECT_EQ(ports.kind, DeviceKind::None);
}

TEST_F(Flows, AnimationBlinksUntilConnected) {
    wizard.show();
    wizard.connect(SerialInputs("/dev/null", 5));
    ASSERT_TRUE(view.animationTimer);
    std::vector<int> frames;
    for (int i = 0; i < 8; ++i) {
        wizard.animationTick();
        frames.push_back(wizard.state().imageFrame);
        EXPECT_EQ(wizard.state().status, WizardStatus::Connecting);
    }
    EXPECT_EQ(frames, (std::vector<int>{2, 3, 4, 5, 6, 7, 6, 5}));
    ais().link = LinkState::Connected;
    wizard.animationTick();
    EXPECT_EQ(wizard.state().status, WizardStatus::Connected);
    EXPECT_FALSE(view.animationTimer);
}

TEST_F(Flows, SixDoubleClicksToggleTheAddressFields) {
    ais().input = InputType::Tcp;
    wizard.show();
    EXPECT_TRUE(wizard.state().tcpFieldsEnabled);
    for (int i = 0; i < 5; ++i)
        wizard.labelDoubleClicked();
    EXPECT_TRUE(wizard.state().tcpFieldsEnabled);
    wizard.labelDoubleClicked();
    EXPECT_FALSE(wizard.state().tcpFieldsEnabled);
    for (int i = 0; i < 6; ++i)
        wizard.labelDoubleClicked();
    EXPECT_TRUE(wizard.state().tcpFieldsEnabled);
}

}  // namespace
}  // namespace norq::comm
