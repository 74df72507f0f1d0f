// The TCP/IP link and its supervision, against a server on the loopback
// address. The one-second step is driven by hand: no test waits for minutes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>

#include "CommTestSupport.h"

namespace norq::comm {
namespace {

using test::ControlFixture;
using test::LoopbackServer;
using namespace std::chrono_literals;

constexpr std::string_view kVdm = "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n";

bool LogHolds(const MessageLog& log, std::string_view text) {
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log.line(i) == text) return true;
    return false;
}

TEST(TcpLink, HostAndPortChecks) {
    base::EventLoop loop;
    TTCPIPClientThread link(loop);
    EXPECT_EQ(link.SetHost("192.168.2.1"), 11);
    EXPECT_EQ(link.SetHost("1234567890123456789"), 19);
    EXPECT_EQ(link.SetHost("12345678901234567890"), -1);
    EXPECT_EQ(link.host(), "");
    EXPECT_EQ(link.SetHost(""), -1);
    link.SetPort(65535);
    EXPECT_EQ(link.port(), 65535);
    link.SetPort(65536);
    EXPECT_EQ(link.port(), -1);
    link.SetPort(-3);
    EXPECT_EQ(link.port(), -1);
    EXPECT_FALSE(link.SendData("x", 1));
}

class TcpSupervision : public ::testing::Test, public ControlFixture {
  protected:
    void SetUp() override {
        ASSERT_GT(server.port(), 0);
        control.setInputType(kAisPort, InputType::Tcp);
    }
    void connect() {
        ASSERT_TRUE(control.ConnectTcpTo("127.0.0.1", server.port()));
        ASSERT_TRUE(server.accept(loop));
        ASSERT_TRUE(until([&] { return control.tcpThread() && control.tcpThread()->connected(); }));
    }
    // One second in which the device sends one sentence.
    void deliveringTick() {
        const std::size_t before = hook.lines.size();
        server.send(kVdm);
        ASSERT_TRUE(until([&] { return hook.lines.size() > before; }));
        tick();
    }
    int disconnectNotes() const {
        int n = 0;
        for (std::size_t i = 0; i < log.size(); ++i)
            n += log.line(i) == TSysSensorControl::kTcpDisconnectNote ? 1 : 0;
        return n;
    }
    LoopbackServer server;
};

TEST_F(TcpSupervision, LinesArriveWholeAndLongLinesAreOnlyLogged) {
    log.setEnabled(true);
    connect();
    server.send("!AIVDM,1,1,,A,13aEOK?P00PD2w");
    server.send("VMdLDRhgvL289?,0*26\r\n" + std::string(83, 'x') + "\r\n");
    ASSERT_TRUE(until([&] { return log.size() >= 2; }));
    ASSERT_EQ(hook.lines.size(), 1u);
    EXPECT_EQ(hook.lines[0].text, kVdm);
    EXPECT_EQ(hook.lines[0].origin, (LineOrigin{kAisPort, LinkKind::Tcp}));
    EXPECT_TRUE(LogHolds(log, std::string(83, 'x')));
    EXPECT_EQ(run->tracker.table().count(), 2);  // own ship + one target
    EXPECT_TRUE(control.aisDataSeen());
}

TEST_F(TcpSupervision, AHostNameIsLookedUpOffTheWindowThread) {
    ASSERT_TRUE(control.ConnectTcpTo("localhost", server.port()));
    ASSERT_TRUE(server.accept(loop));
    ASSERT_TRUE(until([&] { return control.tcpThread() && control.tcpThread()->connected(); }));
    // A link told to stop while its lookup runs ends at once.
    TTCPIPClientThread slow(loop);
    slow.SetHost("unresolvable.invalid");
    slow.SetPort(1);
    slow.Start();
    slow.Disconnect();
    EXPECT_EQ(slow.state(), TTCPIPClientThread::State::Ended);
}

TEST_F(TcpSupervision, AFarEndCloseIsLoggedAndReconnectedThreeTicksLater) {
    connect();
    for (int i = 0; i < 30; ++i)
        deliveringTick();
    ASSERT_TRUE(control.tcpSupervision().armed);
    server.closeClient();
    ASSERT_TRUE(until([&] { return control.tcpThread() == nullptr; }));
    EXPECT_EQ(view.tcpDisconnects, 1);
    // Logged although "Enable Log" is not ticked.
    EXPECT_FALSE(log.enabled());
    EXPECT_EQ(disconnectNotes(), 1);
    EXPECT_EQ(control.linkState(kAisPort), LinkState::Idle);
    tick();
    tick();
    EXPECT_EQ(control.tcpThread(), nullptr);
    tick();
    ASSERT_NE(control.tcpThread(), nullptr);
    ASSERT_TRUE(server.accept(loop));
    ASSERT_TRUE(until([&] { return control.linkState(kAisPort) == LinkState::Connected; }));
    EXPECT_TRUE(control.tcpConnected());
    deliveringTick();
    EXPECT_EQ(control.tcpSupervision().reconnectCount, 1);
}

TEST_F(TcpSupervision, ASourceThatDropsInItsFirstSecondsIsReconnectedToo) {
    connect();
    // A link that has delivered nothing yet is not armed.
    tick();
    EXPECT_FALSE(control.tcpSupervision().armed);
    deliveringTick();
    deliveringTick();
    ASSERT_TRUE(control.tcpSupervision().armed);
    auto dropAndReconnect = [&] {
        server.closeClient();
        ASSERT_TRUE(until([&] { return control.tcpThread() == nullptr; }));
        for (int i = 0; i < 3; ++i)
            tick();
        ASSERT_NE(control.tcpThread(), nullptr);
        ASSERT_TRUE(server.accept(loop));
        ASSERT_TRUE(until([&] { return control.linkState(kAisPort) == LinkState::Connected; }));
    };
    dropAndReconnect();
    deliveringTick();
    // And again when the reconnected source drops at once.
    dropAndReconnect();
}

TEST_F(TcpSupervision, SixtySecondsOfSilenceDropTheLinkAndThreeSilentReconnectsStop) {
    connect();
    for (int i = 0; i < 30; ++i)
        deliveringTick();
    int drops = 0;
    for (int second = 0; second < 400; ++second) {
        tick();
        if (control.tcpThread() != nullptr && !control.tcpThread()->connected()) {
            ASSERT_TRUE(server.accept(loop));
            ASSERT_TRUE(until([&] { return control.tcpThread()->connected(); }));
        }
        if (disconnectNotes() > drops) {
            drops = disconnectNotes();
            // The silence indicator had come up before the drop.
            EXPECT_EQ(control.silenceSeconds(), 0);
        }
        if (second == 59) {
            EXPECT_TRUE(control.missingMessageShown());
        }
    }
    // The first drop and one after each of the three reconnects.
    EXPECT_EQ(drops, 4);
    EXPECT_EQ(control.tcpSupervision().reconnectCount, 3);
    EXPECT_FALSE(control.tcpSupervision().armed);
    EXPECT_EQ(control.tcpThread(), nullptr);
}

TEST_F(TcpSupervision, AConnectThatFailsEndsTheLinkInsteadOfShowingConnected) {
    const int port = server.port();
    server.stop();
    ASSERT_TRUE(control.ConnectTcpTo("127.0.0.1", port));
    ASSERT_TRUE(until([&] { return control.tcpThread() == nullptr; }));
    EXPECT_EQ(view.tcpDisconnects, 1);
    EXPECT_EQ(disconnectNotes(), 1);
}

TEST_F(TcpSupervision, ASendThatFailsIsReportedAndEndsTheLink) {
    ASSERT_TRUE(control.ConnectTcpTo("127.0.0.1", server.port()));
    // Not connected yet: nothing goes out, and that is no success.
    EXPECT_FALSE(control.tcpThread()->connected());
    EXPECT_FALSE(control.SendLine(kAisPort, "$PKRV,Q,KRV,,,,*01\r\n"));
    ASSERT_TRUE(server.accept(loop));
    ASSERT_TRUE(until([&] { return control.tcpThread()->connected(); }));
    server.resetClient();
    // The window's thread has not heard of the reset yet when it sends.
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(control.SendLine(kAisPort, "$PKRV,Q,KRV,,,,*01\r\n"));
    EXPECT_EQ(control.tcpThread(), nullptr);
    EXPECT_EQ(disconnectNotes(), 1);
}

TEST_F(TcpSupervision, TheSendPathIsChosenPerSensor) {
    // Without a link the AIS sensor reports the connect error.
    EXPECT_FALSE(control.SendLine(kAisPort, "$PKRV,Q,KRV,,,,*01\r\n"));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "TCP/IP connect error! Please check!");
    connect();
    EXPECT_TRUE(control.SendLine(kAisPort, "$PKRV,Q,KRV,,,,*01\r\n"));
    // A GPS command goes to the GPS port (closed here), never over the AIS link.
    EXPECT_FALSE(control.SendLine(kGpsPort, "$PXXX,1*00\r\n"));
    EXPECT_EQ(view.messages.back().text, "Serial port open error! Please check!");
    loop.runFor(50ms);
    const std::string sent = server.received();
    EXPECT_NE(sent.find("$PKRV,Q,KRV,,,,*01\r\n"), std::string::npos);
    EXPECT_EQ(sent.find("$PXXX"), std::string::npos);
    // In the wizard's auto mode a failed serial send is silent.
    control.setAutoMode(true);
    const std::size_t shown = view.messages.size();
    EXPECT_TRUE(control.SendLine(kMobPort, "$PMOB,x\r\n"));
    EXPECT_EQ(view.messages.size(), shown);
}

TEST_F(TcpSupervision, TheIdentificationQueryGoesOutOnASilentLink) {
    connect();
    control.setLinkState(kAisPort, LinkState::Connected);
    control.setDeviceKind(DeviceKind::ProductInfo);
    int queries = 0;
    for (int second = 0; second < 60; ++second) {
        tick();
        control.StepTcpIdentificationQuery();
        loop.runFor(2ms);
        const std::string sent = server.received();
        for (std::size_t at = sent.find("$PKRV,Q,KRV"); at != std::string::npos;
             at = sent.find("$PKRV,Q,KRV", at + 1)) {
            ++queries;
        }
    }
    // Ticks 31 (counter 31 > 10) and every 11 ticks after: 31, 42, 53.
    EXPECT_EQ(queries, 3);
}

TEST_F(TcpSupervision, TheUserDisconnectDisarmsReconnection) {
    connect();
    for (int i = 0; i < 30; ++i)
        deliveringTick();
    control.DisconnectTcp();
    EXPECT_EQ(control.tcpThread(), nullptr);
    EXPECT_FALSE(control.tcpSupervision().armed);
    for (int i = 0; i < 10; ++i)
        tick();
    EXPECT_EQ(control.tcpThread(), nullptr);
}

}  // namespace
}  // namespace norq::comm
