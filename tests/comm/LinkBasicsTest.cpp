// The pieces every link is made of: the hand-over to the window's thread, the
// line assembly and the mapping of line settings to termios.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "base/HandOver.h"
#include "comm/LineAssembler.h"
#include "comm/SerialLine.h"

namespace norq::comm {
namespace {

using namespace std::chrono_literals;

TEST(HandOver, RunsTheHandlerOnTheWindowThreadAndWaitsForIt) {
    base::EventLoop loop;
    base::HandOverGate gate(loop);
    gate.open();
    const std::thread::id window = std::this_thread::get_id();
    std::thread::id ranOn;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        EXPECT_TRUE(gate.handOver([&] { ranOn = std::this_thread::get_id(); }));
        returned = true;
    });
    // The worker waits until the window's thread has run the handler.
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(returned);
    loop.runUntil([&] { return returned.load(); }, 2000ms);
    worker.join();
    EXPECT_EQ(ranOn, window);
}

TEST(HandOver, ClosingReleasesAWaitingWorkerAndSkipsItsQueuedHandler) {
    base::EventLoop loop;
    base::HandOverGate gate(loop);
    gate.open();
    bool ran = false;
    std::atomic<int> result{-1};
    std::thread worker([&] { result = gate.handOver([&] { ran = true; }) ? 1 : 0; });
    // The window's thread does not run its loop (it is busy closing the
    // port) while the worker waits in its hand-over.
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(result, -1);
    gate.close();  // what Close does before it joins
    worker.join();
    EXPECT_EQ(result, 0);
    // A new session does not run the handler of the old one.
    gate.open();
    loop.runPending();
    EXPECT_FALSE(ran);
}

TEST(HandOver, AHandlerMayCloseItsOwnGate) {
    base::EventLoop loop;
    base::HandOverGate gate(loop);
    gate.open();
    std::atomic<bool> done{false};
    bool result = true;
    std::thread worker([&] {
        result = gate.handOver([&] { gate.close(); });
        done = true;
    });
    EXPECT_TRUE(loop.runUntil([&] { return done.load(); }, 2000ms));
    worker.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(gate.isOpen());
}

struct Collect final : LineAssembler::Sink {
    void onLineEnded(std::string_view line, const LineOrigin&) override {
        logged.emplace_back(line);
    }
    void onSentenceLine(std::string_view line, const LineOrigin& origin) override {
        handed.emplace_back(line);
        origins.push_back(origin);
    }
    std::vector<std::string> logged, handed;
    std::vector<LineOrigin> origins;
};

TEST(LineAssembler, CutsAtLineFeedDropsCrAndNulAndAppendsCrLf) {
    Collect sink;
    LineAssembler lines({1, LinkKind::Serial});
    // CR alone does not end a line; NUL is dropped.
    lines.append("AB", sink);
    lines.append(std::string_view("C\r\0", 3), sink);
    EXPECT_TRUE(sink.logged.empty());
    lines.append("DEF\n", sink);
    ASSERT_EQ(sink.handed.size(), 1u);
    EXPECT_EQ(sink.logged[0], "ABCDEF");
    EXPECT_EQ(sink.handed[0], "ABCDEF\r\n");
    EXPECT_EQ(sink.origins[0], (LineOrigin{1, LinkKind::Serial}));
}

TEST(LineAssembler, HandsOverLinesOfUpTo82CharactersAndLogsLongerOnes) {
    Collect sink;
    LineAssembler lines;
    const std::string l82(82, 'x');
    const std::string l83(83, 'y');
    const std::string huge(5000, 'z');
    lines.append(l82 + "\r\n" + l83 + "\r\n" + huge + "\n", sink);
    ASSERT_EQ(sink.logged.size(), 3u);
    EXPECT_EQ(sink.logged[1], l83);
    // A line beyond the assembler's capacity is logged with its first part.
    EXPECT_EQ(sink.logged[2], std::string(LineAssembler::kCapacity, 'z'));
    ASSERT_EQ(sink.handed.size(), 1u);
    EXPECT_EQ(sink.handed[0], l82 + "\r\n");
    // After the long line the next one is whole again.
    lines.append("!AIVDM\n", sink);
    EXPECT_EQ(sink.handed.back(), "!AIVDM\r\n");
}

TEST(LineAssembler, EachLinkKeepsItsOwnUnfinishedLine) {
    Collect sink;
    LineAssembler ais({0, LinkKind::Serial});
    LineAssembler gps({1, LinkKind::Serial});
    ais.append("!AIVDM,1,1,,A,", sink);
    gps.append("$GPGGA,1234", sink);
    ais.append("13aEOK?P00PD2wVMdLDRhgvL289?,0*26\n", sink);
    gps.append("56.00\n", sink);
    ASSERT_EQ(sink.handed.size(), 2u);
    EXPECT_EQ(sink.handed[0], "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n");
    EXPECT_EQ(sink.handed[1], "$GPGGA,123456.00\r\n");
    // A datagram ends its last line without a line feed.
    LineAssembler udp({0, LinkKind::Udp});
    udp.append("$GPZDA", sink);
    udp.endLine(sink);
    udp.endLine(sink);
    EXPECT_EQ(sink.handed.back(), "$GPZDA\r\n");
    EXPECT_EQ(sink.handed.size(), 3u);
}

TEST(SerialLine, EachParityMemberSelectsItsOwnParity) {
    auto flags = [](TParity parity) {
        termios tio{};
        LineSettings s;
        s.parity = parity;
        EXPECT_TRUE(MakeLineFlags(s, tio));
        return tio.c_cflag & (PARENB | PARODD | CMSPAR);
    };
    EXPECT_EQ(flags(TParity::paNone), 0u);
    EXPECT_EQ(flags(TParity::paOdd), static_cast<tcflag_t>(PARENB | PARODD));
    EXPECT_EQ(flags(TParity::paEven), static_cast<tcflag_t>(PARENB));
    EXPECT_EQ(flags(TParity::paMark), static_cast<tcflag_t>(PARENB | PARODD | CMSPAR));
    EXPECT_EQ(flags(TParity::paSpace), static_cast<tcflag_t>(PARENB | CMSPAR));
}

TEST(SerialLine, DataBitsStopBitsAndRates) {
    termios tio{};
    LineSettings s;
    s.dataBits = TDataBits::da7;
    s.stopBits = TStopBits::sb20;
    ASSERT_TRUE(MakeLineFlags(s, tio));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    EXPECT_NE(tio.c_cflag & CREAD, 0u);
    EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
    s.dataBits = TDataBits::da4;
    EXPECT_FALSE(MakeLineFlags(s, tio));
    EXPECT_EQ(StandardSpeed(38400), static_cast<speed_t>(B38400));
    EXPECT_EQ(StandardSpeed(56000), 0u);
    EXPECT_EQ(BaudRateValue(TBaudRate::br115200), 115200);
    EXPECT_EQ(BaudRateFromOrdinal(9), TBaudRate::br38400);
    EXPECT_EQ(BaudRateFromOrdinal(99), TBaudRate::br9600);
}

}  // namespace
}  // namespace norq::comm
