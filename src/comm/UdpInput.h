// A UDP input for the AIS sensor: listens on a port (10110 by default) for
// datagrams of one or more sentences, the way shore receivers and
// software-defined-radio decoders deliver AIS. Like the TCP/IP link, a worker
// thread waits with poll() and hands each data-ready event synchronously to
// the window's thread, which reads the datagrams (ReceiveDatagram).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/HandOver.h"

namespace norq::comm {

inline constexpr int kDefaultUdpPort = 10110;

class TUdpListener {
  public:
    using Handler = std::function<void(TUdpListener& sender)>;
    // The largest datagram taken whole; a longer one is cut.
    static constexpr std::size_t kMaxDatagram = 65507;

    explicit TUdpListener(base::WindowThreadPoster& poster);
    ~TUdpListener();
    TUdpListener(const TUdpListener&) = delete;
    TUdpListener& operator=(const TUdpListener&) = delete;

    Handler OnDataReady;

    // Binds to `address` (an IPv4 or IPv6 literal or "localhost"; empty: every
    // address) and `port`, and starts the worker. False with lastError() set
    // when the port cannot be bound. Window's thread.
    bool Open(const std::string& address, int port);
    void Close();
    bool isOpen() const { return fd_ >= 0; }
    // The bound port (the real one when 0 was asked for).
    int boundPort() const { return boundPort_; }

    // One waiting datagram, or an empty view when none is waiting. The view
    // stays valid until the next call.
    std::string_view ReceiveDatagram();

    int lastError() const { return lastError_; }
    std::string lastErrorText() const;

  private:
    void run();

    base::HandOverGate gate_;
    int fd_ = -1;
    int wake_[2] = {-1, -1};
    int boundPort_ = 0;
    std::thread worker_;
    std::atomic<bool> stop_{false};
    int lastError_ = 0;
    std::vector<char> buffer_;
};

}  // namespace norq::comm
