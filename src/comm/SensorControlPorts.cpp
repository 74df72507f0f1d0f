#include "comm/SensorControlPorts.h"

#include <algorithm>

#include "comm/DeviceDetection.h"

namespace norq::comm {

template <typename Send>
bool SensorControlPorts::quietly(Send send) {
    const bool was = control_.autoMode();
    control_.setAutoMode(true);
    const bool sent = send();
    control_.setAutoMode(was);
    return sent;
}

void SensorControlPorts::setInputType(int sensor, InputType type) {
    control_.setInputType(sensor, type);
    if (sensor == control_.currentSensor()) control_.setDialogInputType(type);
}

void SensorControlPorts::setDeviceKind(DeviceKind kind) {
    // The control takes a device kind only while the dialogs work on the AIS
    // port; the identification always speaks of the AIS device.
    const int current = control_.currentSensor();
    control_.setCurrentSensor(kAisPort);
    control_.setDeviceKind(kind);
    control_.setCurrentSensor(current);
}

bool SensorControlPorts::portOpen(int sensor) const {
    return const_cast<TSysSensorControl&>(control_).port(sensor).Connected();
}

std::string SensorControlPorts::portPath(int sensor) const {
    return const_cast<TSysSensorControl&>(control_).port(sensor).DeviceName();
}

bool SensorControlPorts::openSensorPort(int sensor, std::string_view path, int ratePosition) {
    // Opening records the port in the settings; the flows decide what is kept.
    base::SensorPortSettings& settings = control_.portSettings(sensor);
    const std::string device = settings.serialDevice;
    const int rate = settings.serialBaudRate;
    const bool open = control_.OpenSensorPort(sensor, path, ratePosition);
    settings.serialDevice = device;
    settings.serialBaudRate = rate;
    return open;
}

void SensorControlPorts::closePort(int sensor) {
    TComm& port = control_.port(sensor);
    if (port.Connected()) port.Close();
}

void SensorControlPorts::setPortRate(int sensor, int ratePosition) {
    const int position = std::clamp(ratePosition, 0, kLastRatePosition);
    control_.port(sensor).SetBaudRate(
        BaudRateFromOrdinal(kSixRateOrdinals[static_cast<std::size_t>(position)]));
}

void SensorControlPorts::applyPortSettings(int sensor) {
    control_.ApplyPortSettings(control_.port(sensor), sensor);
}

int SensorControlPorts::storedRate(int sensor) const {
    return control_.portSettings(sensor).serialBaudRate;
}

void SensorControlPorts::storeSerial(int sensor, std::string_view path, int rateOrdinal) {
    base::SensorPortSettings& settings = control_.portSettings(sensor);
    settings.serialDevice = std::string(path);
    settings.serialBaudRate = rateOrdinal;
}

void SensorControlPorts::enumeratePorts() {
    control_.EnumeratePorts();
    present_.clear();
    free_.clear();
    for (const PortInfo& port : control_.presentPorts())
        present_.push_back(port.path);
    for (const PortInfo& port : control_.freePorts()) {
        // A port one of the sensors holds open is not free, whoever may open it.
        bool ours = false;
        for (int s = 0; s < kSensorCount; ++s) {
            ours = ours || (portOpen(s) && portPath(s) == port.path);
        }
        if (!ours) free_.push_back(port.path);
    }
}

std::string SensorControlPorts::portDescription(const std::string& path) const {
    for (const PortInfo& port : control_.presentPorts()) {
        if (port.path == path) return port.description;
    }
    return {};
}

bool SensorControlPorts::sendTestQuery(int code) {
    return quietly([&] { return control_.SendTestQuery(code); });
}

bool SensorControlPorts::sendDebugQuery() {
    return quietly([&] { return control_.SendDebugQuery(); });
}

bool SensorControlPorts::sendMobQuery() {
    return quietly([&] { return control_.SendCrewWatchQuery(); });
}

std::array<int, 4> SensorControlPorts::storedTcpAddress() const {
    // TCP_Ip4 holds the first octet.
    const std::array<int, 4>& ip = control_.portSettings(kAisPort).tcpIp;
    return {ip[3], ip[2], ip[1], ip[0]};
}

int SensorControlPorts::storedTcpPort() const {
    return control_.portSettings(kAisPort).tcpPort;
}

void SensorControlPorts::storeTcp(const std::array<int, 4>& address, int port) {
    base::SensorPortSettings& settings = control_.portSettings(kAisPort);
    settings.tcpIp = {address[3], address[2], address[1], address[0]};
    settings.tcpPort = port;
}

bool SensorControlPorts::tcpLinkExists() const {
    return const_cast<TSysSensorControl&>(control_).tcpThread() != nullptr;
}

void SensorControlPorts::connectTcp(bool wizardOwns) {
    control_.setTcpOwner(wizardOwns ? TcpOwner::Wizard : TcpOwner::PortDialog);
    control_.ConnectTcp();
}

UdpChoice SensorControlPorts::storedUdp() const {
    const base::SensorPortSettings& s = control_.portSettings(kAisPort);
    return {s.udpPort, s.udpGroup, s.udpInterface};
}

bool SensorControlPorts::listenUdp(const UdpChoice& choice) {
    base::SensorPortSettings& s = control_.portSettings(kAisPort);
    s.udpPort = choice.port;
    s.udpGroup = choice.group;
    s.udpInterface = choice.interfaceName;
    return control_.ListenUdp();
}

bool SensorControlPorts::udpListening() const {
    TUdpListener* udp = const_cast<TSysSensorControl&>(control_).udpListener();
    return udp != nullptr && udp->isOpen();
}

void DetectionLineHook::onLine(std::string_view lineCrLf, const LineOrigin& origin) {
    detection_.onLine(lineCrLf, origin);
}

}  // namespace norq::comm
