#include "io/TcpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace norq::sim {

namespace {
void SetNonBlocking(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}
}  // namespace

TcpServer::~TcpServer() {
    for (auto& c : clients_)
        ::close(c->fd);
    if (listenFd_ >= 0) ::close(listenFd_);
}

bool TcpServer::listen(int port, std::string& error) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    const int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 8) != 0) {
        error = "port " + std::to_string(port) + ": " + std::strerror(errno);
        return false;
    }
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    SetNonBlocking(listenFd_);
    return true;
}

void TcpServer::addPollFds(std::vector<pollfd>& fds) const {
    fds.push_back({listenFd_, POLLIN, 0});
    for (const auto& c : clients_) {
        fds.push_back({c->fd, static_cast<short>(POLLIN | (c->out.empty() ? 0 : POLLOUT)), 0});
    }
}

void TcpServer::accept() {
    while (true) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;
        auto c = std::make_unique<Client>();
        c->fd = fd;
        clients_.push_back(std::move(c));
    }
}

void TcpServer::send(Client& c) {
    while (!c.out.empty()) {
        const ssize_t n = ::send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL);
        if (n > 0) {
            c.out.erase(0, static_cast<std::size_t>(n));
        } else {
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) c.closed = true;
            return;
        }
    }
}

void TcpServer::handle(const std::vector<pollfd>& fds, std::size_t first,
                       std::vector<std::string>& lines) {
    // The clients as they stood when the descriptors were gathered.
    for (std::size_t i = 0; i < clients_.size() && first + 1 + i < fds.size(); ++i) {
        Client& c = *clients_[i];
        const short ev = fds[first + 1 + i].revents;
        if (ev & (POLLIN | POLLHUP | POLLERR)) {
            char buf[1024];
            const ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
            if (n > 0) {
                c.input.append(std::string_view(buf, static_cast<std::size_t>(n)), lines);
            } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
                c.closed = true;
            }
        }
        if (ev & POLLOUT) send(c);
    }
    if (first < fds.size() && (fds[first].revents & POLLIN)) accept();
    clients_.erase(std::remove_if(clients_.begin(), clients_.end(),
                                  [](const std::unique_ptr<Client>& c) {
                                      if (c->closed) ::close(c->fd);
                                      return c->closed;
                                  }),
                   clients_.end());
}

void TcpServer::broadcast(std::string_view text) {
    for (auto& c : clients_) {
        if (c->out.size() + text.size() <= kMaxBacklog) c->out.append(text);
    }
}

void TcpServer::flush() {
    for (auto& c : clients_)
        send(*c);
}

}  // namespace norq::sim
