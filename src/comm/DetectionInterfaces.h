// What the device detection and the connection flows need of the sensor port
// control, and what they report to the windows that show them.
//
// The detection is plain logic: it never opens a device or shows a window
// itself. `DetectionPorts` is implemented over the sensor port control (and by
// a recording fake in the tests); `DetectionView` by the device wizard and the
// port dialog (and by a recording fake).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "comm/LineAssembler.h"
#include "comm/SensorTypes.h"

namespace norq::comm {

// Position of 115200, the last of the six rates.
inline constexpr int kLastRatePosition = 5;

// The UDP input as the dialogs set it up.
struct UdpChoice {
    int port = 10110;
    std::string group;
    std::string interfaceName;
    friend bool operator==(const UdpChoice&, const UdpChoice&) = default;
};

// The sensor port control as the detection sees it.
class DetectionPorts {
  public:
    virtual ~DetectionPorts() = default;

    virtual LinkState linkState(int sensor) const = 0;
    virtual void setLinkState(int sensor, LinkState state) = 0;
    virtual ScanPhase scanPhase(int sensor) const = 0;
    virtual void setScanPhase(int sensor, ScanPhase phase) = 0;
    virtual bool inUse(int sensor) const = 0;
    virtual void setInUse(int sensor, bool inUse) = 0;
    virtual InputType inputType(int sensor) const = 0;
    virtual void setInputType(int sensor, InputType type) = 0;
    virtual DeviceKind deviceKind() const = 0;
    virtual void setDeviceKind(DeviceKind kind) = 0;
    // While on, failed sends of the scan's probes stay silent.
    virtual void setAutoMode(bool on) = 0;
    virtual bool autoMode() const = 0;

    // The serial port of the sensor.
    virtual bool portOpen(int sensor) const = 0;
    // Device path the port is (or was last) opened on.
    virtual std::string portPath(int sensor) const = 0;
    // Opens the sensor's port on `path` (rate position 0-5 of the six-rate
    // table, or -1 to keep the port's rate) and raises RTS and DTR; true when
    // it is open (also when it already was).
    virtual bool openSensorPort(int sensor, std::string_view path, int ratePosition) = 0;
    virtual void closePort(int sensor) = 0;
    // Sets the rate of the sensor's port; an open port is re-programmed at once.
    virtual void setPortRate(int sensor, int ratePosition) = 0;
    // Copies the stored serial settings into the port while it is closed.
    virtual void applyPortSettings(int sensor) = 0;
    // in-use := not (in-use or port open); a port switched off is closed.
    virtual void toggleInUse(int sensor) = 0;

    // Stored serial settings: device path and rate ordinal.
    virtual std::string storedPath(int sensor) const = 0;
    virtual int storedRate(int sensor) const = 0;
    virtual void storeSerial(int sensor, std::string_view path, int rateOrdinal) = 0;

    // What the status shows of the sensor's link (silent, lost, ...).
    virtual LinkHealth linkHealth(int sensor) const {
        return linkState(sensor) == LinkState::Connected ? LinkHealth::Receiving : LinkHealth::Off;
    }
    // Why the sensor's port did not open at the last try, in the system's
    // words (no access, in use, not there); empty when it said nothing more.
    virtual std::string portOpenReason(int /*sensor*/) const { return {}; }

    // The machine's ports: refreshes both lists.
    virtual void enumeratePorts() = 0;
    virtual std::span<const std::string> presentPorts() const = 0;
    virtual std::span<const std::string> freePorts() const = 0;
    // What the machine says of a listed port ("FT232R USB UART"); empty if nothing.
    virtual std::string portDescription(const std::string& /*path*/) const { return {}; }

    // Probe and identification queries. They never show a message.
    virtual bool sendTestQuery(int code) = 0;  // TST to the AIS sensor
    virtual bool sendDebugQuery() = 0;         // DBG 99 to the AIS sensor
    virtual bool sendMobQuery() = 0;           // MOB 60/101 to the MOB sensor

    // Which path outgoing sentences take: the serial ports or the TCP link.
    virtual void setSendType(InputType type) = 0;

    // The AIS port's TCP/IP link. The address is held first octet first.
    virtual std::array<int, 4> storedTcpAddress() const = 0;
    virtual int storedTcpPort() const = 0;
    virtual void storeTcp(const std::array<int, 4>& address, int port) = 0;
    // Both TCP flags: set while the user has the link switched on.
    virtual bool tcpSwitchedOn() const = 0;
    virtual void setTcpSwitchedOn(bool on) = 0;
    // A link thread exists (connecting or connected).
    virtual bool tcpLinkExists() const = 0;
    // Makes the link with the stored address; the owner's page is reset by
    // the link's disconnect handler when it ends.
    virtual void connectTcp(bool wizardOwns) = 0;
    // The user ends the link: reconnection disarmed, the link dropped.
    virtual void disconnectTcp() = 0;

    // The AIS port's UDP input (a network source that only sends): its port,
    // and the multicast group it joins (empty: none) on an interface (empty:
    // the routing table's choice).
    virtual UdpChoice storedUdp() const = 0;
    // Stores the choice and listens; false when the port cannot be bound or
    // the group not joined.
    virtual bool listenUdp(const UdpChoice& choice) = 0;
    virtual void closeUdp() = 0;
    virtual bool udpListening() const = 0;
};

// Messages of the detection and the connection flows.
enum class DetectionMessage : std::uint8_t {
    PortOpenError,         // "Serial port open error! Please check!" (Error)
    NoSerialPortExist,     // "All serial ports are occupied or no existing!" (Warning)
    AutoDetectTimeOut,     // "Serial port detecting failed!" (Error)
    ManualConnectTimeOut,  // "Serial port connection time out!" (Error)
    CheckPortError,        // the force-connect question (Warning, OK/Cancel)
    TcpSettingsInvalid,    // an address octet or the port out of range (Error)
    UdpPortInvalid,        // the UDP port out of range (Error)
    UdpOpenError,          // the UDP port cannot be listened on (Error)
    UdpGroupInvalid,       // the multicast group or its interface is not one (Error)
    UdpJoinError,          // the multicast group cannot be joined there (Error)
};

// What the detection reports to the windows. Every call is optional in effect:
// a window that is not showing keeps the state for its next showing.
class DetectionView {
  public:
    virtual ~DetectionView() = default;
    // A message box; true when it was answered with OK.
    virtual bool showMessage(DetectionMessage message) = 0;
    // The wizard's result list.
    virtual void addResultLine(std::string_view line) = 0;
    virtual void showResultList() = 0;
    // The Auto page's port and rate fields; empty texts clear them.
    virtual void showAutoFields(std::string_view port, std::string_view rate) = 0;
    // The port and rate selected in the wizard's lists while scanning.
    virtual void selectScanPort(int freeIndex) = 0;
    virtual void selectScanRate(int ratePosition) = 0;
    // The scan (1000 ms) and animation (200 ms) timers of the wizard.
    virtual void setScanTimer(bool running) = 0;
    virtual void setAnimationTimer(bool running) = 0;
    // The wizard and the port dialog, if showing, refresh their pages.
    virtual void refreshPages() = 0;
    // The status bar panels and port images.
    virtual void refreshStatus() = 0;
    // The device kind changed to one whose texts differ: load the language again.
    virtual void reloadLanguage() = 0;
};

}  // namespace norq::comm
