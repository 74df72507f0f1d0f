// Checks of what the user types into the connection dialogs, and the handling
// of a serial port that appears or disappears while the viewer runs.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "comm/DetectionInterfaces.h"

namespace norq::comm {

// The device path meant by a typed port: an absolute path, or a bare device
// name ("ttyUSB0" is /dev/ttyUSB0). Nothing for an empty text, a relative
// path, a ".." part, or characters no device name has.
std::optional<std::string> DevicePathOf(std::string_view typed);

// True when the path (links followed) is a character device: a serial port,
// never a file that probes would be written into.
bool IsCharacterDevice(const std::string& path);

// True when the connection dialogs may try to open `path`: a character
// device, or a path that does not exist (the open then fails and says so). A
// file or folder is never opened as a port.
bool MayOpenAsPort(const std::string& path);

// The TCP fields of the dialogs: four address octets (first octet first) and
// the port, as typed.
struct TcpFields {
    std::array<std::string, 4> octets{};
    std::string port;
};

struct TcpSettings {
    enum class Status { Ok, Empty, Invalid };
    Status status = Status::Empty;
    std::array<int, 4> address{};  // first octet first
    int port = 0;
};

// Empty when a field is empty (the dialogs then do nothing); Invalid when an
// octet is not a number from 0 to 255 or the port not one from 1 to 65535.
TcpSettings CheckTcpFields(const TcpFields& fields);

// The TCP Connect toggle of both dialogs: checks and stores the fields, then
// ends the link when it is on, or makes it. A field left empty does nothing;
// a value out of range is refused with a message.
enum class NetworkToggle { Nothing, Refused, Started, Stopped };
NetworkToggle ToggleTcpLink(DetectionPorts& ports, DetectionView& view, const TcpFields& fields,
                            bool wizardOwns);

// The UDP fields of the dialogs, as typed: the port, and the multicast group
// with its interface (both may be left empty).
struct UdpFields {
    std::string port;
    std::string group;
    std::string interfaceName;
};

// The UDP Connect toggle: stops listening when on; otherwise checks the port
// (1-65535), the group (empty or a multicast address) and the interface
// (empty, a name or an IPv4 address; used only with a group) and listens, joining
// the group when one is given. A UDP source cannot be asked who it is, so the
// link counts as connected at once.
NetworkToggle ToggleUdpInput(DetectionPorts& ports, DetectionView& view, const UdpFields& fields);

// The machine's ports changed. The lists are enumerated again; when ports
// were removed, each serial sensor whose open port's device is gone (its path
// no longer exists: a typed path that was never listed counts too) is switched off
// (port closed, in use off, link idle), and a sensor served through that port
// without one of its own is marked idle. TCP links and ports still present
// are left alone. Returns a bit per sensor switched off.
unsigned HandlePortsChanged(DetectionPorts& ports, bool removed);

}  // namespace norq::comm
