// A TCP server on the loopback address for several clients at once. Every
// client receives every line; lines from any client reach the devices.
#pragma once

#include <poll.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "io/LineBuffer.h"

namespace norq::sim {

class TcpServer {
  public:
    // Bytes a slow client may have waiting before further lines are dropped for it.
    static constexpr std::size_t kMaxBacklog = 1 << 20;

    TcpServer() = default;
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;
    ~TcpServer();

    // Listens on 127.0.0.1:port; port 0 takes any free port.
    bool listen(int port, std::string& error);
    int port() const { return port_; }
    std::size_t clientCount() const { return clients_.size(); }

    // Adds the descriptors to wait on; `handle` then takes the poll results
    // from index `first` on: accepts, reads lines, writes what is waiting.
    void addPollFds(std::vector<pollfd>& fds) const;
    void handle(const std::vector<pollfd>& fds, std::size_t first, std::vector<std::string>& lines);
    void broadcast(std::string_view text);
    // Writes what is waiting without waiting for the sockets.
    void flush();

  private:
    struct Client {
        int fd = -1;
        std::string out;
        LineBuffer input;
        bool closed = false;
    };
    void accept();
    void send(Client& c);

    int listenFd_ = -1;
    int port_ = 0;
    std::vector<std::unique_ptr<Client>> clients_;
};

}  // namespace norq::sim
