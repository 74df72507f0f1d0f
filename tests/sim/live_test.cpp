// The norq-sim program driven the way the viewer drives it: over TCP on the
// loopback address (two clients at once) and over a pseudo-terminal.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "SimTestSupport.h"

namespace norq::sim {
namespace {

// Reads from `fd` into `seen` until it holds `needle` or the time is up.
bool ReadUntil(int fd, std::string& seen, std::string_view needle, int timeoutMs = 8000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (seen.find(needle) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buf[4096];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) return false;
        seen.append(buf, static_cast<std::size_t>(n));
        if (seen.size() > (1u << 22)) seen.erase(0, seen.size() / 2);
    }
    return true;
}

void Write(int fd, const std::string& text) {
    ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

class LiveSimulator : public ::testing::Test {
  protected:
    void SetUp() override {
        // The simulator offers its devices on pseudo-terminals; a container
        // without /dev/pts cannot run these tests.
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0) GTEST_SKIP() << "no pseudo-terminals on this machine";
        ::close(master);
        char path[] = "/tmp/norq-sim-live-XXXXXX";
        const int fd = mkstemp(path);
        ASSERT_GE(fd, 0);
        ::close(fd);
        scenario_ = path;
        std::ofstream(scenario_) << test::kSmallScenario << "\n[scenario]\nduration = 3600\n";
        int out[2];
        ASSERT_EQ(::pipe(out), 0);
        pid_ = ::fork();
        ASSERT_GE(pid_, 0);
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::execl(NORQ_SIM_PROGRAM, "norq-sim", scenario_.c_str(), "--tcp=0", "--pty=ais,mob",
                    "--speed", "20", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        announce_ = out[0];
        std::string said;
        ASSERT_TRUE(ReadUntil(announce_, said, "(ais,mob)\n")) << said;
        int port = 0;
        char pty[128] = {};
        ASSERT_EQ(std::sscanf(said.c_str(), "tcp 127.0.0.1:%d (ais,gnss)\npty %127s", &port, pty),
                  2)
            << said;
        port_ = port;
        ptyPath_ = pty;
    }

    void TearDown() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
        if (announce_ >= 0) ::close(announce_);
        if (!scenario_.empty()) std::remove(scenario_.c_str());
    }

    int connectClient() const {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<std::uint16_t>(port_));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        return fd;
    }

    pid_t pid_ = -1;
    int announce_ = -1;
    int port_ = 0;
    std::string ptyPath_;
    std::string scenario_;
};

TEST_F(LiveSimulator, ServesSeveralTcpClientsAndAnswersTheirQueries) {
    const int a = connectClient();
    const int b = connectClient();
    std::string seenA, seenB;
    EXPECT_TRUE(ReadUntil(a, seenA, "!AIVDM,"));
    EXPECT_TRUE(ReadUntil(a, seenA, "$GPRMC,"));
    EXPECT_TRUE(ReadUntil(b, seenB, "!AIVDO,"));
    // The identification of the wizard, asked by one client, heard by both.
    Write(a, test::Sentence("$PTST,,,,,00017"));
    EXPECT_TRUE(ReadUntil(a, seenA, "$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n"));
    EXPECT_TRUE(ReadUntil(a, seenA, "MODEL NO.=NQ-TEST"));
    EXPECT_TRUE(ReadUntil(b, seenB, "PROD. INFO. END"));
    // The transmitter switched off and its state reported.
    Write(b, test::Sentence("$PDBG,030,1,,-100000,,-100000,,-100000"));
    EXPECT_TRUE(ReadUntil(b, seenB, "$PKRV,R,KRV,30,0,1,*"));
    // Crew-watch lines are not served on this port.
    EXPECT_EQ(seenA.find("$PMOB"), std::string::npos);
    ::close(a);
    ::close(b);
}

TEST_F(LiveSimulator, ActsAsASerialDeviceOnAPseudoTerminal) {
    const int fd = ::open(ptyPath_.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0) << ptyPath_;
    termios tio{};
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    std::string seen;
    EXPECT_TRUE(ReadUntil(fd, seen, "!AIVDM,"));
    EXPECT_TRUE(ReadUntil(fd, seen, "$PMOB,"));
    // The detection's probe of the crew-watch controller.
    Write(fd, test::Sentence("$PMOB,000000,60,65,,"));
    EXPECT_TRUE(ReadUntil(fd, seen, "[Type] = MOB\r\n"));
    // The marker list of the transponder.
    Write(fd, test::Sentence("$PKRV,C,MRK,1,0,-1,51100000,1400000,BUOY,1,"));
    EXPECT_TRUE(ReadUntil(fd, seen, "$PKRV,R,MRK,1,1,0,51100000,1400000,BUOY,1,*"));
    // GNSS lines do not go to this line.
    EXPECT_EQ(seen.find("$GPGGA"), std::string::npos);
    ::close(fd);
}

}  // namespace
}  // namespace norq::sim
