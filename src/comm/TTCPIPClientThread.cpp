#include "comm/TTCPIPClientThread.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>

namespace norq::comm {

namespace {

// Waits for the socket and the wake-up pipe; false when woken (told to stop).
bool WaitFor(int fd, short events, int wake, short& revents) {
    while (true) {
        pollfd fds[2] = {{wake, POLLIN, 0}, {fd, events, 0}};
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            revents = POLLERR;
            return true;
        }
        if ((fds[0].revents & POLLIN) != 0) return false;
        revents = fds[1].revents;
        if (revents != 0) return true;
    }
}

// A host name looked up on a helper thread of its own, so that a link told to
// stop while the resolver is still asking never makes anyone wait for it: the
// helper owns the lookup and its pipe, and ends by itself.
struct Lookup {
    int ready[2] = {-1, -1};
    in_addr address{};
    bool found = false;
    std::atomic<bool> done{false};  // set after address and found
    ~Lookup() {
        for (int fd : ready)
            if (fd >= 0) ::close(fd);
    }
};

bool Resolve(const std::string& host, int wake, in_addr& address, bool& woken) {
    auto lookup = std::make_shared<Lookup>();
    if (::pipe2(lookup->ready, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    try {
        std::thread([lookup, host] {
            addrinfo hints{};
            hints.ai_family = AF_INET;
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* found = nullptr;
            if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) == 0 && found != nullptr) {
                lookup->address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
                lookup->found = true;
            }
            if (found != nullptr) ::freeaddrinfo(found);
            lookup->done.store(true, std::memory_order_release);
            const char byte = 1;
            [[maybe_unused]] const ssize_t n = ::write(lookup->ready[1], &byte, 1);
        }).detach();
    } catch (const std::system_error&) {
        return false;
    }
    short revents = 0;
    if (!WaitFor(lookup->ready[0], POLLIN, wake, revents)) {
        woken = true;
        return false;
    }
    // The helper wrote after its last change: what it found is complete.
    if (!lookup->done.load(std::memory_order_acquire)) return false;
    address = lookup->address;
    return lookup->found;
}

}  // namespace

TTCPIPClientThread::TTCPIPClientThread(base::WindowThreadPoster& poster) : gate_(poster) {}

TTCPIPClientThread::~TTCPIPClientThread() {
    disconnected_ = true;
    stopWorker();
}

int TTCPIPClientThread::SetHost(std::string_view host) {
    if (host.empty() || host.size() > kMaxHostLength) {
        host_.clear();
        return -1;
    }
    host_ = std::string(host);
    return static_cast<int>(host_.size());
}

void TTCPIPClientThread::SetPort(int port) {
    port_ = port >= 0 && port <= 65535 ? port : -1;
}

void TTCPIPClientThread::Start() {
    if (state_ != State::Created) return;
    state_ = State::Connecting;
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd_ < 0 || ::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        fail(errno);
        return;
    }
    gate_.open();
    try {
        worker_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        fail(EAGAIN);
    }
}

void TTCPIPClientThread::run() {
    if (!connectSocket() || stop_) return;
    watch();
}

// Resolves the host and connects; the result is handed to the window's thread.
bool TTCPIPClientThread::connectSocket() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port_ < 0 ? 0 : port_));
    int error = 0;
    if (port_ < 0) {
        error = EINVAL;
    } else if (::inet_pton(AF_INET, host_.c_str(), &address.sin_addr) != 1) {
        bool woken = false;
        if (!Resolve(host_, wake_[0], address.sin_addr, woken)) {
            if (woken) return false;
            error = EHOSTUNREACH;
        }
    }
    if (error == 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        error = errno == EINTR ? EINPROGRESS : errno;
        if (error == EINPROGRESS || error == EALREADY) {
            short revents = 0;
            if (!WaitFor(fd_, POLLOUT, wake_[0], revents)) return false;
            socklen_t length = sizeof error;
            if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
        } else if (error == EISCONN) {
            error = 0;
        }
    }
    // A connect that ends with an error ends the link: the window hears of it.
    if (error != 0) {
        gate_.handOver([this, error] { fail(error); });
        return false;
    }
    return gate_.handOver([this] {
        state_ = State::Connected;
        if (OnConnected) OnConnected(*this);
    });
}

void TTCPIPClientThread::watch() {
    while (!stop_) {
        short revents = 0;
        if (!WaitFor(fd_, POLLIN | POLLRDHUP, wake_[0], revents)) return;
        bool handed = false;
        if ((revents & (POLLIN | POLLRDHUP)) != 0) {
            handed = gate_.handOver([this] {
                if (state_ != State::Connected) return;
                const std::uint64_t before = received_;
                if (OnDataReady) OnDataReady(*this);
                // Bytes that nobody takes would wake the worker again at once.
                if (state_ == State::Connected && received_ == before) {
                    char scratch[kReceiveSize];
                    ReceiveData(scratch);
                }
            });
        } else {
            handed = gate_.handOver([this] {
                int error = 0;
                socklen_t length = sizeof error;
                if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error == 0) {
                    error = ECONNRESET;
                }
                fail(error);
            });
        }
        if (!handed) return;
    }
}

void TTCPIPClientThread::fail(int error) {
    lastError_ = error;
    lastErrorText_ = std::strerror(error);
    Disconnect();
}

bool TTCPIPClientThread::SendData(const void* bytes, int length) {
    if (length <= 0 || state_ != State::Connected) return false;
    // Only a send that fits whole goes out: a sentence cut in two would reach
    // the device as garbage.
    int queued = 0;
    int room = 0;
    socklen_t size = sizeof room;
    if (::ioctl(fd_, SIOCOUTQ, &queued) == 0 &&
        ::getsockopt(fd_, SOL_SOCKET, SO_SNDBUF, &room, &size) == 0 && room - queued < length) {
        return false;
    }
    const ssize_t n =
        ::send(fd_, bytes, static_cast<std::size_t>(length), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n == length) return true;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        fail(errno);
        return false;
    }
    return false;
}

int TTCPIPClientThread::ReceiveData(char* buffer) {
    if (state_ != State::Connected) return -1;
    const ssize_t n = ::recv(fd_, buffer, kReceiveSize, MSG_DONTWAIT);
    if (n > 0) {
        received_ += static_cast<std::uint64_t>(n);
        return static_cast<int>(n);
    }
    if (n == 0) {
        // The far end closed the connection.
        received_ += 1;
        lastError_ = 0;
        lastErrorText_ = "The connection was closed by the far end.";
        Disconnect();
        return 0;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return 0;
    received_ += 1;
    fail(errno);
    return -1;
}

void TTCPIPClientThread::Disconnect() {
    if (disconnected_) return;
    disconnected_ = true;
    state_ = State::Ended;
    const Handler handler = OnDisconnected;
    if (handler) handler(*this);
    stopWorker();
}

void TTCPIPClientThread::stopWorker() {
    stop_ = true;
    gate_.close();
    if (wake_[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake_[1], &byte, 1);
    }
    if (worker_.joinable()) worker_.join();
    for (int* fd : {&fd_, &wake_[0], &wake_[1]}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

}  // namespace norq::comm
