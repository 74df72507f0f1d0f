#include "comm/UdpInput.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace norq::comm {

TUdpListener::TUdpListener(base::WindowThreadPoster& poster) : gate_(poster) {}

TUdpListener::~TUdpListener() {
    Close();
}

namespace {

// The options every input socket gets: the address may be shared with other
// listeners, and there is room for a burst of datagrams while the window's
// thread is busy.
void ShareAndBuffer(int fd) {
    const int on = 1;
    const int size = 1 << 20;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

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
        if (found->ai_family == AF_INET6) {
            ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
        }
        ShareAndBuffer(fd);
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

int Fail(int fd, int& error, int code) {
    error = code;
    if (fd >= 0) ::close(fd);
    return -1;
}

// Joins an IPv4 group: on the interface with that address, or of that name,
// or (empty) where the routing table sends the group.
bool JoinIpv4(int fd, const in_addr& group, const std::string& interfaceName, int& error) {
    ip_mreqn request{};
    request.imr_multiaddr = group;
    request.imr_address.s_addr = htonl(INADDR_ANY);
    if (!interfaceName.empty() &&
        ::inet_pton(AF_INET, interfaceName.c_str(), &request.imr_address) != 1) {
        request.imr_address.s_addr = htonl(INADDR_ANY);
        request.imr_ifindex = static_cast<int>(::if_nametoindex(interfaceName.c_str()));
        if (request.imr_ifindex == 0) {
            error = ENODEV;
            return false;
        }
    }
    if (::setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) != 0) {
        error = errno;
        return false;
    }
    // Only this socket's own group reaches it, not the groups that other
    // sockets of the program joined on the same port.
    const int off = 0;
    ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_ALL, &off, sizeof off);
    return true;
}

bool JoinIpv6(int fd, const in6_addr& group, const std::string& interfaceName, int& error) {
    ipv6_mreq request{};
    request.ipv6mr_multiaddr = group;
    if (!interfaceName.empty()) {
        request.ipv6mr_interface = ::if_nametoindex(interfaceName.c_str());
        if (request.ipv6mr_interface == 0) {
            error = ENODEV;
            return false;
        }
    }
    if (::setsockopt(fd, IPPROTO_IPV6, IPV6_JOIN_GROUP, &request, sizeof request) != 0) {
        error = errno;
        return false;
    }
    const int off = 0;
    ::setsockopt(fd, IPPROTO_IPV6, IPV6_MULTICAST_ALL, &off, sizeof off);
    return true;
}

// A non-blocking datagram socket bound to the group's address and port (so
// only datagrams to the group arrive) that has joined the group, or -1 with
// `error` set.
int GroupSocket(const UdpEndpoint& endpoint, int& error) {
    if (!IsMulticastAddress(endpoint.group) || !IsInterfaceText(endpoint.interfaceName)) {
        error = EINVAL;
        return -1;
    }
    const auto port = htons(static_cast<std::uint16_t>(endpoint.port));
    sockaddr_in v4{};
    sockaddr_in6 v6{};
    const bool ipv4 = ::inet_pton(AF_INET, endpoint.group.c_str(), &v4.sin_addr) == 1;
    if (!ipv4 && ::inet_pton(AF_INET6, endpoint.group.c_str(), &v6.sin6_addr) != 1) {
        error = EINVAL;
        return -1;
    }
    const int fd =
        ::socket(ipv4 ? AF_INET : AF_INET6, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return Fail(fd, error, errno);
    ShareAndBuffer(fd);
    int bound = 0;
    if (ipv4) {
        v4.sin_family = AF_INET;
        v4.sin_port = port;
        bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&v4), sizeof v4);
    } else {
        const int on = 1;
        ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
        v6.sin6_family = AF_INET6;
        v6.sin6_port = port;
        bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&v6), sizeof v6);
    }
    if (bound != 0) return Fail(fd, error, errno);
    const bool joined = ipv4 ? JoinIpv4(fd, v4.sin_addr, endpoint.interfaceName, error)
                             : JoinIpv6(fd, v6.sin6_addr, endpoint.interfaceName, error);
    if (!joined) return Fail(fd, error, error);
    return fd;
}

}  // namespace

bool TUdpListener::Open(const std::string& address, int port) {
    UdpEndpoint endpoint;
    endpoint.address = address;
    endpoint.port = port;
    return Open(endpoint);
}

bool TUdpListener::Open(const UdpEndpoint& endpoint) {
    Close();
    group_.clear();
    if (endpoint.port < 0 || endpoint.port > 65535) {
        lastError_ = EINVAL;
        return false;
    }
    const int fd = endpoint.group.empty() ? BoundSocket(endpoint.address, endpoint.port, lastError_)
                                          : GroupSocket(endpoint, lastError_);
    if (fd < 0) return false;
    boundPort_ = BoundPort(fd, endpoint.port);
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        lastError_ = errno;
        ::close(fd);
        return false;
    }
    fd_ = fd;
    group_ = endpoint.group;
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

bool IsMulticastAddress(std::string_view text) {
    if (text.empty() || text.size() > INET6_ADDRSTRLEN) return false;
    const std::string literal(text);
    in_addr v4{};
    if (::inet_pton(AF_INET, literal.c_str(), &v4) == 1) return IN_MULTICAST(ntohl(v4.s_addr));
    in6_addr v6{};
    return ::inet_pton(AF_INET6, literal.c_str(), &v6) == 1 && IN6_IS_ADDR_MULTICAST(&v6);
}

bool IsInterfaceText(std::string_view text) {
    if (text.empty()) return true;
    const std::string literal(text);
    in_addr v4{};
    if (::inet_pton(AF_INET, literal.c_str(), &v4) == 1) return true;
    if (text.size() >= IF_NAMESIZE) return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-' ||
               c == '_' || c == ':';
    });
}

std::vector<std::string> MulticastInterfaces() {
    std::vector<std::string> names;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return names;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
        if ((entry->ifa_flags & IFF_UP) == 0 || entry->ifa_name == nullptr) continue;
        const std::string name(entry->ifa_name);
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    ::freeifaddrs(list);
    return names;
}

}  // namespace norq::comm
