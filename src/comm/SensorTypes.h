// The states and settings vocabulary of the three sensor ports, shared by the
// sensor port control, the connection dialogs and the device detection.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "comm/TComm.h"

namespace norq::comm {

// Sensor ports: 0 the AIS transponder, 1 the GNSS receiver, 2 the crew-watch controller.
inline constexpr int kSensorCount = 3;
inline constexpr int kAisPort = 0;
inline constexpr int kGpsPort = 1;
inline constexpr int kMobPort = 2;
// "AIS", "GPS", "MOB".
std::string_view SensorName(int sensor);

// How a sensor reaches its device. TCP/IP and UDP are offered for the AIS
// sensor only.
enum class InputType : std::uint8_t { Serial = 0, Tcp = 1, Udp = 2 };
enum class ScanPhase : std::uint8_t { NotStarted = 0, Running = 1, Finished = 2 };
enum class LinkState : std::uint8_t {
    Idle = 0,
    DetectionStarted = 1,
    DeviceSeen = 2,
    IdentificationPending = 4,  // AIS port open, waiting for the device to identify itself
    Connected = 5
};
// The identified AIS device; None until an identification says otherwise.
enum class DeviceKind : std::int8_t { None = -1, ProductInfo = 0, StaticData = 1, Mkd2 = 2 };
// Whose controls the TCP/IP disconnect resets.
enum class TcpOwner : std::uint8_t { PortDialog = 0, Wizard = 1 };
enum class MessageCaption : std::uint8_t { Error, Warning };

// What the status display shows of a sensor's link.
enum class LinkHealth : std::uint8_t {
    Off,           // not switched on
    Opening,       // switched on, not connected yet (opening, identifying, connecting)
    Receiving,     // connected, and data arrives
    Silent,        // connected, but nothing arrived for kSilentLinkSeconds
    Lost,          // the link ended by itself (a line that hung up, a far end that closed)
    Reconnecting,  // lost, and being made again by the TCP/IP supervision
};
// Seconds without data after which a connected link shows as silent.
inline constexpr int kSilentLinkSeconds = 15;

// The rate list of every dialog: 4800 … 115200, with their TBaudRate ordinals.
inline constexpr std::array<int, 6> kSixRates{4800, 9600, 19200, 38400, 57600, 115200};
inline constexpr std::array<int, 6> kSixRateOrdinals{5, 6, 8, 9, 11, 12};
// The position of a rate ordinal in the six-rate list; 5 (115200) for any other.
int SixRateIndex(int baudOrdinal);

// One serial port of the machine.
struct PortInfo {
    std::string path;         // "/dev/ttyUSB0"
    std::string description;  // what the system knows of it ("FT232R USB UART")
    friend bool operator==(const PortInfo&, const PortInfo&) = default;
};

// The texts of the sensor ports and their dialogs, English until the language
// file is loaded.
struct SensorControlTexts {
    std::array<std::string, kSensorCount> configCaption{
        "Config AIS Connection", "Config GPS Connection", "Config MOB Connection"};
    std::string portOpenError = "Serial port open error! Please check!";
    // Why a serial port would not open; %s is the port's path.
    std::string portNoAccess =
        "This user may not open %s: serial ports belong to the group \"dialout\". Add "
        "yourself to it with \"sudo usermod -aG dialout $USER\", then log out and in again.";
    std::string portBusy = "%s is in use by another program.";
    std::string portMissing = "%s does not exist.";
    std::string cmdSendFail = "Command sending fail!";
    std::string connectPortFirst = "Please connect serial port first!";
    std::string noSerialPortExist = "All serial ports are occupied or no existing!";
    std::string autoDetectTimeOut = "Serial port detecting failed!";
    std::string manualConnectTimeOut = "Serial port connection time out!";
    std::string checkPortError =
        "Note! Any force connect this serial port may cause unpredictable mistakes. Continue?";
    std::string note =
        "You may input directly desired serial port if the serial port is not listed in the "
        "dropdown list.";
    std::string autoManualConnect =
        "1. Before connecting the serial port, please ensure that the device is connected to "
        "your computer and turned on.";
    std::string autoConnect =
        "2. Auto detect serial port and baud rate, click the connect button to start the device "
        "connection.";
    std::string manualConnect =
        "2. Select appropriate serial port and baud rate, and then click the connect button to "
        "start the device connection.";
    std::string autoConnectNote1 =
        "Notice: If the connecting device is a Receiver, the auto mode connection works only if "
        "the Receiver is receiving AIS. If not sure it is receiving AIS, set serial port and baud "
        "rate manually.";
    std::string autoConnectNote2 =
        "Notice: In some cases, virtual port (ex: bluetooth) may fail to be detected in auto "
        "mode. If it happens, switch to manual mode and input serial port number manually.";
    std::string manualConnectNote =
        "Notice: You may input directly desired serial port if the serial port is not listed in "
        "the dropdown list.";
    std::string tcpConnect1 =
        "Before connecting, please ensure that the power of the device to connect is turned on.";
    std::string tcpConnect2 =
        "Please input IP Address, and then click the connect button to start the device "
        "connection.";
    std::string tcpIpAddress = "IP Address";
    std::string tcpPort = "Port";
    std::string connecting = "Connecting...";
    std::string connected = "Connected";
    std::string disconnect = "Disconnect";
    std::string disconnecting = "Disconnecting...";
    std::string devDetecting = "Device Detecting...";
    std::string btnConnect = "Connect";
    std::string btnDisconnect = "Disconnect";
    std::string warning = "Warning";
    std::string error = "Error";
    std::string tcpConnectError = "TCP/IP connect error! Please check!";
    std::string statusConnected = "Port Connected";
    std::string statusDisconnect = "Port Disconnect";
};

}  // namespace norq::comm
