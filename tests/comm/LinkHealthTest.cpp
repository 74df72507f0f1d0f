// What the status display is told of a link: receiving, silent after some
// seconds without data, lost at once when it ends by itself (and being made
// again while the TCP/IP supervision brings it back), off when the user ends it.
#include <gtest/gtest.h>

#include "CommTestSupport.h"

namespace norq::comm {
namespace {

using test::ControlFixture;
using test::LoopbackServer;
using test::PtyPair;
using namespace std::chrono_literals;

constexpr std::string_view kVdm = "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n";

class LinkHealthTest : public ::testing::Test, protected ControlFixture {
  protected:
    // One second of the viewer's step: the link parts and the health count.
    void second() {
        tick();
        control.StepLinkHealth();
    }
};

TEST_F(LinkHealthTest, ATcpLinkThatFallsSilentOrIsClosedShowsItAtOnce) {
    LoopbackServer server;
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Off);
    ASSERT_TRUE(control.ConnectTcpTo("127.0.0.1", server.port()));
    control.setInUse(kAisPort, true);
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Opening);
    ASSERT_TRUE(server.accept(loop));
    control.setLinkState(kAisPort, LinkState::Connected);
    server.send(kVdm);
    ASSERT_TRUE(until([&] { return control.aisDataSeen(); }));
    second();
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Receiving);
    // Silent: shown once nothing came for kSilentLinkSeconds.
    for (int i = 1; i < kSilentLinkSeconds; ++i)
        second();
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Receiving);
    second();
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Silent);
    EXPECT_EQ(control.linkSilentSeconds(kAisPort), kSilentLinkSeconds);
    server.send(kVdm);
    ASSERT_TRUE(until([&] { return control.aisDataSeen(); }));
    second();
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Receiving);
    // The far end closes: lost at once, no step needed; the supervision has
    // armed the reconnection (the link delivered), so it is being made again.
    const int changes = view.stateChanges;
    server.closeClient();
    ASSERT_TRUE(until([&] { return control.tcpThread() == nullptr; }));
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Reconnecting);
    EXPECT_GT(view.stateChanges, changes);
    // Made again three ticks later: receiving again once it is connected.
    for (int i = 0; i < 3; ++i)
        second();
    ASSERT_TRUE(server.accept(loop));
    ASSERT_TRUE(until([&] { return control.linkState(kAisPort) == LinkState::Connected; }));
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Receiving);
    // The user ends it: off, not lost.
    control.DisconnectTcp();
    control.setInUse(kAisPort, false);
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Off);
}

TEST_F(LinkHealthTest, ASerialLineThatHangsUpIsLostUntilTheUserActs) {
    NORQ_NEED_PTY();
    auto line = std::make_unique<PtyPair>();
    ASSERT_TRUE(control.OpenSensorPort(kGpsPort, line->path(), -1));
    control.setInUse(kGpsPort, true);
    control.setLinkState(kGpsPort, LinkState::Connected);
    line->write("$GPZDA,1\r\n");
    ASSERT_TRUE(until([&] { return hook.lines.size() == 1; }));
    second();
    EXPECT_EQ(control.linkHealth(kGpsPort), LinkHealth::Receiving);
    line->closeMaster();
    ASSERT_TRUE(until([&] { return !control.port(kGpsPort).Connected(); }));
    EXPECT_EQ(control.linkHealth(kGpsPort), LinkHealth::Lost);
    // Steps do not make it look better, switching it off does.
    second();
    EXPECT_EQ(control.linkHealth(kGpsPort), LinkHealth::Lost);
    control.setInUse(kGpsPort, false);
    EXPECT_EQ(control.linkHealth(kGpsPort), LinkHealth::Off);
}

TEST_F(LinkHealthTest, AReceiverBehindTheTransponderPortLivesOnThatPortsData) {
    NORQ_NEED_PTY();
    PtyPair line;
    ASSERT_TRUE(control.OpenSensorPort(kAisPort, line.path(), -1));
    control.setLinkState(kAisPort, LinkState::Connected);
    // The GNSS receiver was found on the same port: no port of its own.
    base::SensorPortSettings gps = control.portSettings(kGpsPort);
    gps.serialDevice = line.path();
    control.setPortSettings(kGpsPort, gps);
    control.setLinkState(kGpsPort, LinkState::Connected);
    for (int i = 0; i < kSilentLinkSeconds + 2; ++i) {
        line.write("$GPZDA,1\r\n");
        ASSERT_TRUE(until([&] { return control.aisDataSeen(); }));
        second();
    }
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Receiving);
    EXPECT_EQ(control.linkHealth(kGpsPort), LinkHealth::Receiving);
}

TEST_F(LinkHealthTest, AUdpInputWithoutDatagramsIsSilent) {
    ASSERT_TRUE(control.ListenUdpOn("127.0.0.1", 0));
    control.setLinkState(kAisPort, LinkState::Connected);
    for (int i = 0; i < kSilentLinkSeconds; ++i)
        second();
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Silent);
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(control.udpListener()->boundPort()));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::sendto(fd, kVdm.data(), kVdm.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ::close(fd);
    ASSERT_TRUE(until([&] { return control.aisDataSeen(); }));
    second();
    EXPECT_EQ(control.linkHealth(kAisPort), LinkHealth::Receiving);
}

}  // namespace
}  // namespace norq::comm
