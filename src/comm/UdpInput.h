// A UDP input for the AIS sensor: listens on a port (10110 by default) for
// datagrams of one or more sentences, the way shore receivers and
// software-defined-radio decoders deliver AIS, sent to this host or to a
// multicast group that the input joins on one interface, so that several
// programs on a ship's network can read one feed. Like the TCP/IP link, a worker
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

// Where a UDP input listens.
struct UdpEndpoint {
    // The local address to bind (an IPv4 or IPv6 literal or "localhost";
    // empty: every address). Not used with a group.
    std::string address;
    int port = kDefaultUdpPort;
    // A multicast group to join (224.0.0.0-239.255.255.255 or ff00::/8);
    // empty: no group.
    std::string group;
    // The interface the group is joined on: a name ("eth0"), or for an IPv4
    // group the interface's own IPv4 address; empty: the one the routing
    // table picks for the group.
    std::string interfaceName;
};

// True when `text` is an IPv4 or IPv6 multicast address literal.
bool IsMulticastAddress(std::string_view text);
// True when `text` can name an interface: empty, an IPv4 address literal, or
// a name of at most 15 letters, digits and ".-_:".
bool IsInterfaceText(std::string_view text);
// The names of the machine's interfaces that are up and carry an IPv4
// address, in the system's order ("lo", "eth0", ...).
std::vector<std::string> MulticastInterfaces();

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
    // Binds to the endpoint's port and, with a group, joins the group on the
    // endpoint's interface (other programs may listen on the same group and
    // port). False with lastError() set when the group or interface is not
    // usable (EINVAL, ENODEV) or the kernel refuses the port or the group.
    bool Open(const UdpEndpoint& endpoint);
    void Close();
    bool isOpen() const { return fd_ >= 0; }
    // The bound port (the real one when 0 was asked for).
    int boundPort() const { return boundPort_; }
    // The group joined by the last Open; empty without one.
    const std::string& group() const { return group_; }

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
    std::string group_;
    std::thread worker_;
    std::atomic<bool> stop_{false};
    int lastError_ = 0;
    std::vector<char> buffer_;
};

}  // namespace norq::comm
