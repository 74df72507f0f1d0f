#include "comm/UdpInput.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace norq::comm {

TUdpListener::TUdpListener(base::WindowThreadPoster& poster) : gate_(poster) {}

TUdpListener::~TUdpListener() {
    Close();
}

namespace {

// A bound, non-blocking datagram socket, or -1 with `error` set.
int BoundSocket(const std::string& text, int port, int& error) {
    // A local address is a literal (no name lookup on the window's thread).
    const std::string address = text == "localhost" ? std::string("127.0.0.1") : text;
    addrinfo hints{};
    hints.ai_family = address.empty() ? AF_INET6 : AF_UNSPEC;  // dual stack for "every address"
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV | AI_NUMERICHOST;
    const std::string service = std::to_string(port);
    addrinfo* found = nullptr;
    if (::getaddrinfo(address.empty() ? nullptr : address.c_str(), service.c_str(), &hints,
                      &found) != 0 ||
        found == nullptr) {
        error = EADDRNOTAVAIL;
        return -1;
    }
    const int fd = ::socket(found->ai_family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd >= 0) {
        const int off = 0;
        const int on = 1;
        // Room for a burst of datagrams while the window's thread is busy.
        const int size = 1 << 20;
        if (found->ai_family == AF_INET6) {
            ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
        }
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    if (fd < 0 || ::bind(fd, found->ai_addr, found->ai_addrlen) != 0) {
        error = errno;
        if (fd >= 0) ::close(fd);
        ::freeaddrinfo(found);
        return -1;
    }
    ::freeaddrinfo(found);
    return fd;
}

int BoundPort(int fd, int asked) {
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0) return asked;
    return bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                                       : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
}

}  // namespace

bool TUdpListener::Open(const std::string& address, int port) {
    Close();
    if (port < 0 || port > 65535) {
        lastError_ = EINVAL;
        return false;
    }
    const int fd = BoundSocket(address, port, lastError_);
    if (fd < 0) return false;
    boundPort_ = BoundPort(fd, port);
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        lastError_ = errno;
        ::close(fd);
        return false;
    }
    fd_ = fd;
    buffer_.resize(kMaxDatagram + 1);
    stop_ = false;
    gate_.open();
    try {
        worker_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        lastError_ = EAGAIN;
        Close();
        return false;
    }
    lastError_ = 0;
    return true;
}

void TUdpListener::Close() {
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

void TUdpListener::run() {
    while (!stop_) {
        pollfd fds[2] = {{wake_[0], POLLIN, 0}, {fd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if ((fds[0].revents & POLLIN) != 0) return;
        if ((fds[1].revents & POLLIN) == 0) continue;
        const bool handed = gate_.handOver([this] {
            if (OnDataReady) OnDataReady(*this);
            // Datagrams that nobody takes would wake the worker again at once.
            while (!ReceiveDatagram().empty()) {
            }
        });
        if (!handed) return;
    }
}

std::string_view TUdpListener::ReceiveDatagram() {
    if (fd_ < 0) return {};
    const ssize_t n = ::recv(fd_, buffer_.data(), kMaxDatagram, MSG_DONTWAIT | MSG_TRUNC);
    if (n <= 0) return {};
    const std::size_t length =
        static_cast<std::size_t>(n) < kMaxDatagram ? static_cast<std::size_t>(n) : kMaxDatagram;
    return {buffer_.data(), length};
}

std::string TUdpListener::lastErrorText() const {
    return lastError_ == 0 ? std::string() : std::string(std::strerror(lastError_));
}

}  // namespace norq::comm
