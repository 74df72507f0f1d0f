// The UDP input as a member of a multicast group: joined on the loopback
// interface, shared with other listeners of the group's port, refused for
// addresses that are no group and interfaces that do not exist; the same
// through the sensor port control's stored settings, the command-line
// source and the headless tool.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

#include "CommTestSupport.h"
#include "comm/LinkSource.h"
#include "comm/UdpInput.h"
#include "support/CommandOutput.h"

namespace norq::comm {
namespace {

using test::ControlFixture;
using test::GroupSender;
using test::kTestGroup;
using namespace std::chrono_literals;

constexpr std::string_view kVdm = "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n";

// A listener with the datagrams it was handed.
struct GroupListener {
    explicit GroupListener(base::EventLoop& loop) : udp(loop) {
        udp.OnDataReady = [this](TUdpListener& l) {
            for (std::string_view d = l.ReceiveDatagram(); !d.empty(); d = l.ReceiveDatagram())
                seen.emplace_back(d);
        };
    }
    TUdpListener udp;
    std::vector<std::string> seen;
};

UdpEndpoint Group(int port, std::string interfaceName) {
    UdpEndpoint endpoint;
    endpoint.group = kTestGroup;
    endpoint.port = port;
    endpoint.interfaceName = std::move(interfaceName);
    return endpoint;
}

TEST(UdpMulticast, TwoListenersJoinTheGroupOnTheLoopbackInterfaceAndShareItsPort) {
    NORQ_NEED_LOOPBACK_MULTICAST();
    base::EventLoop loop;
    const int port = test::FreeUdpPort();
    ASSERT_GT(port, 0);
    // One joins by the interface's address, the other by its name.
    GroupListener byAddress(loop);
    GroupListener byName(loop);
    ASSERT_TRUE(byAddress.udp.Open(Group(port, "127.0.0.1"))) << byAddress.udp.lastErrorText();
    ASSERT_TRUE(byName.udp.Open(Group(port, "lo"))) << byName.udp.lastErrorText();
    EXPECT_EQ(byAddress.udp.group(), kTestGroup);
    EXPECT_EQ(byAddress.udp.boundPort(), port);

    GroupSender sender(kTestGroup, port);
    ASSERT_TRUE(sender.send(kVdm));
    ASSERT_TRUE(
        loop.runUntil([&] { return !byAddress.seen.empty() && !byName.seen.empty(); }, 3000ms));
    EXPECT_EQ(byAddress.seen.front(), kVdm);
    EXPECT_EQ(byName.seen.front(), kVdm);

    // A datagram sent to this host's own address on that port is not the group's.
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::sendto(fd, "!unicast\r\n", 10, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ::close(fd);
    ASSERT_TRUE(sender.send("$GPZDA,1\r\n"));
    ASSERT_TRUE(loop.runUntil([&] { return byAddress.seen.size() >= 2; }, 3000ms));
    loop.runUntil([] { return false; }, 100ms);
    EXPECT_EQ(byAddress.seen.size(), 2u);
    EXPECT_EQ(byAddress.seen.back(), "$GPZDA,1\r\n");
}

TEST(UdpMulticast, AnAddressThatIsNoGroupOrAnInterfaceThatIsNotThereIsRefused) {
    base::EventLoop loop;
    TUdpListener udp(loop);
    UdpEndpoint endpoint = Group(test::FreeUdpPort(), "");
    endpoint.group = "192.168.1.20";
    EXPECT_FALSE(udp.Open(endpoint));
    EXPECT_EQ(udp.lastError(), EINVAL);
    endpoint.group = "239.192.0.1; rm -rf /";
    EXPECT_FALSE(udp.Open(endpoint));
    EXPECT_EQ(udp.lastError(), EINVAL);
    EXPECT_FALSE(udp.Open(Group(test::FreeUdpPort(), "norq-none0")));
    EXPECT_EQ(udp.lastError(), ENODEV);
    EXPECT_FALSE(udp.Open(Group(test::FreeUdpPort(), "a-name-far-too-long-for-an-interface")));
    EXPECT_EQ(udp.lastError(), EINVAL);
    EXPECT_FALSE(udp.isOpen());

    EXPECT_TRUE(IsMulticastAddress("224.0.0.1"));
    EXPECT_TRUE(IsMulticastAddress("239.255.255.255"));
    EXPECT_TRUE(IsMulticastAddress("ff02::1"));
    EXPECT_FALSE(IsMulticastAddress("223.255.255.255"));
    EXPECT_FALSE(IsMulticastAddress("240.0.0.1"));
    EXPECT_FALSE(IsMulticastAddress("fe80::1"));
    EXPECT_FALSE(IsMulticastAddress(""));
    EXPECT_TRUE(IsInterfaceText(""));
    EXPECT_TRUE(IsInterfaceText("enp3s0"));
    EXPECT_TRUE(IsInterfaceText("10.0.0.5"));
    EXPECT_FALSE(IsInterfaceText("eth0 "));
    EXPECT_FALSE(IsInterfaceText("../../x"));
    // The machine's own interfaces are offered; the loopback is always there.
    const std::vector<std::string> names = MulticastInterfaces();
    EXPECT_NE(std::find(names.begin(), names.end(), "lo"), names.end());
}

TEST(UdpMulticast, ACommandLineSourceNamesTheGroupAndItsInterface) {
    LinkSource source;
    std::string error;
    ASSERT_TRUE(ParseLinkSource("udp://239.192.0.1:10110?if=eth0", source, error)) << error;
    EXPECT_EQ(source.kind, LinkSource::Kind::Udp);
    EXPECT_EQ(source.host, "239.192.0.1");
    EXPECT_EQ(source.port, 10110);
    EXPECT_EQ(source.interfaceName, "eth0");
    UdpEndpoint endpoint = UdpEndpointOf(source);
    EXPECT_EQ(endpoint.group, "239.192.0.1");
    EXPECT_EQ(endpoint.interfaceName, "eth0");
    EXPECT_EQ(endpoint.address, "");
    // Without an interface the routing table chooses; IPv6 groups go in brackets.
    ASSERT_TRUE(ParseLinkSource("udp://[ff02::1]:10110", source, error)) << error;
    EXPECT_EQ(UdpEndpointOf(source).group, "ff02::1");
    // A unicast host stays the local address to listen on.
    ASSERT_TRUE(ParseLinkSource("udp://127.0.0.1:10110", source, error));
    endpoint = UdpEndpointOf(source);
    EXPECT_EQ(endpoint.address, "127.0.0.1");
    EXPECT_EQ(endpoint.group, "");
    for (const char* bad : {"udp://127.0.0.1:10110?if=lo",
                            "udp://239.192.0.1:10110?if=", "udp://239.192.0.1:10110?ttl=1",
                            "udp://239.192.0.1:10110?if=e th0", "udp://239.192.0.1?if=lo"}) {
        EXPECT_FALSE(ParseLinkSource(bad, source, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(UdpMulticast, TheSensorControlJoinsTheStoredGroupAndHandsItsLinesToTheIntake) {
    NORQ_NEED_LOOPBACK_MULTICAST();
    ControlFixture f;
    const int port = test::FreeUdpPort();
    base::SensorPortSettings& stored = f.control.portSettings(kAisPort);
    stored.udpPort = port;
    stored.udpGroup = kTestGroup;
    stored.udpInterface = "127.0.0.1";
    ASSERT_TRUE(f.control.ListenUdp()) << std::strerror(f.control.udpOpenError());
    EXPECT_EQ(f.control.udpListener()->group(), kTestGroup);
    GroupSender sender(kTestGroup, port);
    ASSERT_TRUE(sender.send(kVdm));
    ASSERT_TRUE(f.until([&] { return f.run->tracker.table().count() == 2; }));
    ASSERT_EQ(f.hook.texts(LinkKind::Udp).size(), 1u);
    EXPECT_TRUE(f.control.aisLinkOpen());
    // An interface that is not there is reported, and nothing listens.
    stored.udpInterface = "norq-none0";
    EXPECT_FALSE(f.control.ListenUdp());
    EXPECT_EQ(f.control.udpOpenError(), ENODEV);
    EXPECT_FALSE(f.control.aisLinkOpen());
}

using norq::test::CommandOutput;

TEST(UdpMulticast, TheHeadlessToolDecodesWhatIsSentToTheGroup) {
    NORQ_NEED_LOOPBACK_MULTICAST();
    const int port = test::FreeUdpPort();
    const std::string tool = NORQ_AIS_PROGRAM;
    const std::string source =
        "udp://" + std::string(kTestGroup) + ":" + std::to_string(port) + "?if=127.0.0.1";
    std::string out;
    std::thread reader([&] { out = CommandOutput(tool + " decode '" + source + "' --for 1.5"); });
    GroupSender sender(kTestGroup, port);
    for (int i = 0; i < 20; ++i) {
        std::this_thread::sleep_for(50ms);
        sender.send(kVdm);
    }
    reader.join();
    EXPECT_GE(std::count(out.begin(), out.end(), '\n'), 5) << out;
    EXPECT_NE(out.find("\"mmsi\":244670316"), std::string::npos) << out;
    // A group on an interface that is not there ends the tool at once with a message.
    const std::string refused = CommandOutput(
        tool + " decode 'udp://239.192.0.1:" + std::to_string(port) + "?if=norq-none0' 2>&1");
    EXPECT_NE(refused.find("cannot join 239.192.0.1"), std::string::npos) << refused;
}

}  // namespace
}  // namespace norq::comm
