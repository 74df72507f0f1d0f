// Pieces shared by the link tests: a pseudo-terminal pair, a loopback TCP
// server, a line hook and a view that record what they see, and a sensor
// port control wired to a real run-state.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ais/Clock.h"
#include "ais/RunState.h"
#include "base/HandOver.h"
#include "comm/MessageLog.h"
#include "comm/TSysSensorControl.h"

namespace norq::comm::test {

using namespace std::chrono_literals;

// Skips the test on a machine without pseudo-terminals.
inline bool HavePseudoTerminals() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) return false;
    ::close(master);
    return true;
}
#define NORQ_NEED_PTY() \
    if (!::norq::comm::test::HavePseudoTerminals()) GTEST_SKIP() << "no pseudo-terminals here"

// A serial line: the test writes on the master, the port under test opens `path`.
class PtyPair {
  public:
    PtyPair() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0) {
            path_ = name;
            termios tio{};
            ::tcgetattr(slave_, &tio);
            ::cfmakeraw(&tio);
            ::tcsetattr(slave_, TCSANOW, &tio);
        }
    }
    ~PtyPair() {
        closeMaster();
        if (slave_ >= 0) ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& path() const { return path_; }
    int master() const { return master_; }
    // The slave kept by the test (to look at the line settings).
    int slave() const { return slave_; }
    void write(std::string_view text) const {
        ASSERT_EQ(::write(master_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    // What the port under test sent, waiting up to `timeout` for `needle`.
    std::string read(std::string_view needle = {}, std::chrono::milliseconds timeout = 2000ms) {
        std::string seen;
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0) {
                char buf[1024];
                const ssize_t n = ::read(master_, buf, sizeof buf);
                if (n > 0) seen.append(buf, static_cast<std::size_t>(n));
            }
            if (!needle.empty() && seen.find(needle) != std::string::npos) break;
            if (needle.empty() && !seen.empty()) break;
        }
        return seen;
    }
    // Closes both test ends: the port under test sees the line hang up.
    void closeMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
        if (slave_ >= 0) ::close(slave_);
        slave_ = -1;
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// A TCP server on 127.0.0.1 with one client at a time.
class LoopbackServer {
  public:
    explicit LoopbackServer(int port = 0) { listen(port); }
    ~LoopbackServer() { stop(); }

    bool listen(int port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return false;
        ::listen(fd_, 4);
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        return true;
    }
    int port() const { return port_; }
    // Waits for the client (the loop keeps running the hand-overs meanwhile).
    bool accept(base::EventLoop& loop, std::chrono::milliseconds timeout = 3000ms) {
        return loop.runUntil(
            [this] {
                pollfd p{fd_, POLLIN, 0};
                if (::poll(&p, 1, 0) <= 0) return false;
                client_ = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
                return client_ >= 0;
            },
            timeout);
    }
    void send(std::string_view text) const {
        ASSERT_EQ(::send(client_, text.data(), text.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(text.size()));
    }
    // What the client sent so far.
    std::string received() const {
        std::string seen;
        char buf[1024];
        while (true) {
            const ssize_t n = ::recv(client_, buf, sizeof buf, MSG_DONTWAIT);
            if (n <= 0) break;
            seen.append(buf, static_cast<std::size_t>(n));
        }
        return seen;
    }
    // The client closed its end (a read finds the end of the stream).
    bool peerClosed() const {
        char byte = 0;
        while (true) {
            const ssize_t n = ::recv(client_, &byte, 1, MSG_DONTWAIT);
            if (n == 0) return true;
            if (n < 0) return false;
        }
    }
    // Resets the connection (the far end sees an error, not an orderly end).
    void resetClient() {
        linger off{1, 0};
        ::setsockopt(client_, SOL_SOCKET, SO_LINGER, &off, sizeof off);
        closeClient();
    }
    void closeClient() {
        if (client_ >= 0) ::close(client_);
        client_ = -1;
    }
    void stop() {
        closeClient();
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_ = -1;
    int client_ = -1;
    int port_ = 0;
};

struct RecordedLine {
    std::string text;
    LineOrigin origin;
};

class RecordingHook final : public LineHook {
  public:
    void onLine(std::string_view lineCrLf, const LineOrigin& origin) override {
        lines.push_back({std::string(lineCrLf), origin});
    }
    std::vector<std::string> texts(LinkKind link, int sensor = 0) const {
        std::vector<std::string> out;
        for (const RecordedLine& l : lines)
            if (l.origin.link == link && l.origin.sensor == sensor) out.push_back(l.text);
        return out;
    }
    std::vector<RecordedLine> lines;
};

class RecordingView final : public SensorControlView {
  public:
    void showSensorMessage(MessageCaption caption, const std::string& text) override {
        messages.push_back({caption, text});
    }
    void onTcpDisconnected(TcpOwner) override { ++tcpDisconnects; }
    void onSensorStateChanged(int) override { ++stateChanges; }
    struct Message {
        MessageCaption caption;
        std::string text;
    };
    std::vector<Message> messages;
    int tcpDisconnects = 0;
    int stateChanges = 0;
};

// A UDP port that was free a moment ago (bound to every address and let go).
inline int FreeUdpPort() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return 0;
    }
    socklen_t length = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    ::close(fd);
    return ntohs(a.sin_port);
}

// The multicast group the tests use, from the organisation-local scope.
inline constexpr const char* kTestGroup = "239.192.0.1";

// Why the kernel will not let a socket join `group` on the loopback
// interface (0 when it will): the multicast tests skip on such a machine.
inline int LoopbackJoinError(const char* group = kTestGroup) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ip_mreqn request{};
    ::inet_pton(AF_INET, group, &request.imr_multiaddr);
    ::inet_pton(AF_INET, "127.0.0.1", &request.imr_address);
    const int error =
        ::setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

#define NORQ_NEED_LOOPBACK_MULTICAST()                                                         \
    if (const int joinError = ::norq::comm::test::LoopbackJoinError(); joinError != 0)         \
    GTEST_SKIP() << "the kernel refuses to join a multicast group on the loopback interface: " \
                 << std::strerror(joinError)

// Sends datagrams to a multicast group out of the loopback interface, looped
// back to the listeners of this machine.
class GroupSender {
  public:
    GroupSender(const char* group, int port)
        : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        to_.sin_family = AF_INET;
        to_.sin_port = htons(static_cast<std::uint16_t>(port));
        ::inet_pton(AF_INET, group, &to_.sin_addr);
        in_addr loopback{};
        ::inet_pton(AF_INET, "127.0.0.1", &loopback);
        ::setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_IF, &loopback, sizeof loopback);
        const unsigned char on = 1;
        ::setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_LOOP, &on, sizeof on);
    }
    ~GroupSender() { ::close(fd_); }
    GroupSender(const GroupSender&) = delete;
    GroupSender& operator=(const GroupSender&) = delete;
    bool send(std::string_view text) const {
        return ::sendto(fd_, text.data(), text.size(), 0, reinterpret_cast<const sockaddr*>(&to_),
                        sizeof to_) == static_cast<ssize_t>(text.size());
    }

  private:
    int fd_;
    sockaddr_in to_{};
};

// A sensor port control with everything it talks to.
struct ControlFixture {
    ControlFixture()
        : run(std::make_unique<ais::RunState>(clock)), control(loop, run->intake, log) {
        control.setView(&view);
        control.addLineHook(&hook);
    }
    ~ControlFixture() { control.CloseAll(); }
    // Runs the hand-overs until `done` or the time is up.
    bool until(const std::function<bool()>& done, std::chrono::milliseconds timeout = 3000ms) {
        return loop.runUntil(done, timeout);
    }
    // One tick of the one-second step's link parts.
    void tick() {
        loop.runPending();
        control.StepMissingMessage();
        control.SuperviseTcp();
    }

    ais::ManualClock clock;
    base::EventLoop loop;
    std::unique_ptr<ais::RunState> run;
    MessageLog log;
    RecordingView view;
    RecordingHook hook;
    TSysSensorControl control;
};

}  // namespace norq::comm::test
