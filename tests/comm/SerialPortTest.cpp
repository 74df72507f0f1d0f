// The serial port component on pseudo-terminals.
#include <gtest/gtest.h>
#include <termios.h>

#include <atomic>
#include <string>
#include <thread>

#include "CommTestSupport.h"
#include "comm/TComm.h"

namespace norq::comm {
namespace {

using test::PtyPair;
using namespace std::chrono_literals;

TEST(SerialPort, APortThatDoesNotExistStaysClosedWithoutRaising) {
    base::EventLoop loop;
    TComm port(loop);
    port.SetDeviceName("/dev/norq-no-such-port");
    EXPECT_NO_THROW(port.Open());
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.lastOpenError(), ENOENT);
    char buf[4];
    EXPECT_EQ(port.Write("x", 1), -1);
    EXPECT_EQ(port.Read(buf, 4), -1);
    EXPECT_THROW(port.SetDTR(true), CommError);
    // A file is no serial port.
    port.SetDeviceName("/dev/null");
    port.Open();
    EXPECT_FALSE(port.Connected());
}

TEST(SerialPort, OpeningTwiceRaisesAndClosedOnlySettersWaitForTheClose) {
    NORQ_NEED_PTY();
    PtyPair line;
    base::EventLoop loop;
    TComm port(loop);
    port.SetDeviceName(line.path());
    port.Open();
    ASSERT_TRUE(port.Connected());
    try {
        port.Open();
        FAIL() << "no error raised";
    } catch (const CommError& e) {
        EXPECT_STREQ(e.what(), "Port already assigned (open) (Error: -1)");
    }
    port.SetDeviceName("/dev/ttyS9");
    port.SetReadBufSize(100);
    EXPECT_EQ(port.DeviceName(), line.path());
    EXPECT_EQ(port.ReadBufSize(), 4096);
    // A pseudo-terminal has no modem lines: raising them is no error.
    EXPECT_NO_THROW(port.SetRTS(true));
    EXPECT_NO_THROW(port.SetDTR(true));
    port.Close();
    port.SetDeviceName("/dev/ttyS9");
    EXPECT_EQ(port.DeviceName(), "/dev/ttyS9");
}

TEST(SerialPort, RateAndParityChangesReprogramTheOpenLineAtOnce) {
    NORQ_NEED_PTY();
    PtyPair line;
    base::EventLoop loop;
    TComm port(loop);
    port.SetDeviceName(line.path());
    port.SetBaudRate(TBaudRate::br38400);
    port.Open();
    ASSERT_TRUE(port.Connected());
    termios tio{};
    ASSERT_EQ(::tcgetattr(line.slave(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B38400));

    port.SetBaudRate(TBaudRate::br4800);
    port.SetParity(TParity::paOdd);
    port.SetStopBits(TStopBits::sb20);
    ASSERT_EQ(::tcgetattr(line.slave(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B4800));
    // A pseudo-terminal keeps the odd/even choice (it clears PARENB itself).
    EXPECT_NE(tio.c_cflag & PARODD, 0u);
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    port.SetParity(TParity::paEven);
    ASSERT_EQ(::tcgetattr(line.slave(), &tio), 0);
    EXPECT_EQ(tio.c_cflag & PARODD, 0u);
    // A rate without a termios constant goes through the kernel's own call.
    EXPECT_NO_THROW(port.SetBaudRate(TBaudRate::br56000));
    // Four data bits cannot be carried.
    EXPECT_THROW(port.SetDataBits(TDataBits::da4), CommError);
}

TEST(SerialPort, ReceivedBytesReachTheHandlerOnTheWindowThread) {
    NORQ_NEED_PTY();
    PtyPair line;
    base::EventLoop loop;
    TComm port(loop);
    port.SetDeviceName(line.path());
    std::string got;
    std::thread::id ranOn;
    port.OnRxChar = [&](TThreadComm& sender, std::uint32_t count) {
        ranOn = std::this_thread::get_id();
        std::string buf(count, '\0');
        const int n = sender.Read(buf.data(), static_cast<int>(count));
        got.append(buf.data(), static_cast<std::size_t>(n));
    };
    port.Open();
    ASSERT_TRUE(port.Connected());
    line.write("$GPGGA,1\r\n");
    EXPECT_TRUE(loop.runUntil([&] { return got.size() >= 10; }, 2000ms));
    EXPECT_EQ(got, "$GPGGA,1\r\n");
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_EQ(port.Write("$PKRV,Q\r\n", 9), 9);
    EXPECT_EQ(line.read("\n"), "$PKRV,Q\r\n");
}

TEST(SerialPort, CloseNeverWaitsForAHandOverInFlight) {
    NORQ_NEED_PTY();
    PtyPair line;
    base::EventLoop loop;
    TComm port(loop);
    port.SetDeviceName(line.path());
    bool ran = false;
    port.OnRxChar = [&](TThreadComm&, std::uint32_t) { ran = true; };
    port.Open();
    ASSERT_TRUE(port.Connected());
    line.write("data\n");
    // The event thread is now waiting for the window's thread, which does not
    // run its loop but closes the port.
    std::this_thread::sleep_for(50ms);
    port.Close();
    EXPECT_FALSE(port.Connected());
    loop.runPending();
    EXPECT_FALSE(ran) << "an event reached the handler after Close";
}

TEST(SerialPort, AHandlerMayCloseItsOwnPort) {
    NORQ_NEED_PTY();
    PtyPair line;
    base::EventLoop loop;
    TComm port(loop);
    port.SetDeviceName(line.path());
    int calls = 0;
    port.OnRxChar = [&](TThreadComm& sender, std::uint32_t) {
        ++calls;
        sender.Close();
    };
    port.Open();
    line.write("x\n");
    EXPECT_TRUE(loop.runUntil([&] { return !port.Connected(); }, 2000ms));
    EXPECT_EQ(calls, 1);
}

TEST(SerialPort, ALineClosedUnderTheReaderIsReportedOnceAsGone) {
    NORQ_NEED_PTY();
    auto line = std::make_unique<PtyPair>();
    base::EventLoop loop;
    TComm port(loop);
    port.SetDeviceName(line->path());
    std::uint32_t errors = 0;
    int reports = 0;
    port.OnError = [&](TThreadComm&, std::uint32_t e) {
        errors |= e;
        ++reports;
    };
    port.Open();
    ASSERT_TRUE(port.Connected());
    line->closeMaster();
    EXPECT_TRUE(loop.runUntil([&] { return reports > 0; }, 2000ms));
    loop.runFor(100ms);
    EXPECT_EQ(reports, 1);
    EXPECT_NE(errors & kCommErrorHangUp, 0u);
    port.Close();
}

}  // namespace
}  // namespace norq::comm
