// A live source named on a command line: "tcp://HOST:PORT", "udp://[HOST]:PORT"
// (no host: every local address; a multicast group as the host joins that
// group, "udp://239.192.0.1:10110", on the interface named by "?if=eth0" or
// "?if=192.168.1.20" when one is given) or a serial device path with an
// optional rate, "/dev/ttyUSB0:38400".
#pragma once

#include <string>
#include <string_view>

#include "comm/UdpInput.h"

namespace norq::comm {

struct LinkSource {
    enum class Kind { Tcp, Udp, Serial };
    Kind kind = Kind::Tcp;
    std::string host;           // TCP: the host to connect to; UDP: the local address ("" = all)
                                // or the multicast group
    std::string interfaceName;  // UDP with a group: the interface ("" = the routing table's)
    int port = 0;               // TCP and UDP
    std::string device;         // serial
    int baud = 0;               // serial; 0 keeps the port's rate
};

// True when `text` names a live source (it starts with "tcp://", "udp://" or "/dev/").
bool IsLinkSource(std::string_view text);
// Reads a source; false with `error` set when it is malformed.
bool ParseLinkSource(std::string_view text, LinkSource& source, std::string& error);
// Where a UDP source listens: a multicast host is the group to join.
UdpEndpoint UdpEndpointOf(const LinkSource& source);

}  // namespace norq::comm
