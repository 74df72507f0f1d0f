// The sensor port control: settings, serial ports, port lists, states, the
// receive path and the status display. The TCP/IP link, the UDP input, the
// send path and the one-second steps are in SensorLinks.cpp.
#include "comm/TSysSensorControl.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "ais/SentenceIntake.h"
#include "base/IniFile.h"

namespace norq::comm {

std::string_view SensorName(int sensor) {
    switch (sensor) {
        case kGpsPort:
            return "GPS";
        case kMobPort:
            return "MOB";
        default:
            return "AIS";
    }
}

int SixRateIndex(int baudOrdinal) {
    for (std::size_t i = 0; i < kSixRateOrdinals.size(); ++i) {
        if (kSixRateOrdinals[i] == baudOrdinal) return static_cast<int>(i);
    }
    return 5;
}

TSysSensorControl::TSysSensorControl(base::WindowThreadPoster& poster, ais::SentenceIntake& intake,
                                     MessageLog& log)
    : poster_(poster), intake_(intake), log_(log) {
    const std::array<base::SensorPortSettings, kSensorCount> defaults =
        base::Settings::DefaultSensors();
    for (int s = 0; s < kSensorCount; ++s) {
        Sensor& sensor = sensors_[s];
        sensor.settings = defaults[s];
        sensor.lines = LineAssembler({s, LinkKind::Serial});
        sensor.port = std::make_unique<TComm>(poster_);
        sensor.port->OnRxChar = [this, s](TThreadComm&, std::uint32_t count) {
            onSerialData(s, count);
        };
        sensor.port->OnError = [this, s](TThreadComm&, std::uint32_t errors) {
            onSerialError(s, errors);
        };
        ApplyPortSettings(*sensor.port, s);
    }
}

TSysSensorControl::~TSysSensorControl() {
    view_ = nullptr;
    hooks_.clear();
    CloseAll();
}

int TSysSensorControl::index(int sensor) {
    return sensor >= 0 && sensor < kSensorCount ? sensor : kAisPort;
}

void TSysSensorControl::addLineHook(LineHook* hook) {
    if (hook != nullptr && std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) {
        hooks_.push_back(hook);
    }
}

void TSysSensorControl::removeLineHook(LineHook* hook) {
    hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
}

// ---- Settings ---------------------------------------------------------------

const base::SensorPortSettings& TSysSensorControl::portSettings(int sensor) const {
    return sensors_[index(sensor)].settings;
}

base::SensorPortSettings& TSysSensorControl::portSettings(int sensor) {
    return sensors_[index(sensor)].settings;
}

void TSysSensorControl::setPortSettings(int sensor, const base::SensorPortSettings& settings) {
    Sensor& s = sensors_[index(sensor)];
    s.settings = settings;
    ApplyPortSettings(*s.port, index(sensor));
}

void TSysSensorControl::LoadPortSettings(const base::IniFile& file, int sensor) {
    base::ReadSensorPort(file, static_cast<base::SensorPort>(index(sensor)),
                         sensors_[index(sensor)].settings);
}

void TSysSensorControl::SavePortSettings(base::IniFile& file, int sensor) const {
    base::WriteSensorPort(file, static_cast<base::SensorPort>(index(sensor)),
                          sensors_[index(sensor)].settings);
}

void TSysSensorControl::ApplyPortSettings(TComm& port, int sensor) {
    if (port.Connected()) return;
    const base::SensorPortSettings& s = sensors_[index(sensor)].settings;
    port.SetDeviceName(DevicePath(sensor));
    port.SetBaudRate(BaudRateFromOrdinal(s.serialBaudRate));
    port.SetParity(static_cast<TParity>(std::clamp(s.serialParity, 0, 4)));
    port.SetDataBits(static_cast<TDataBits>(std::clamp(s.serialDataBits - 4, 0, 4)));
    port.SetStopBits(static_cast<TStopBits>(std::clamp(s.serialStopBits, 0, 2)));
}

std::string TSysSensorControl::DevicePath(int sensor) const {
    const base::SensorPortSettings& s = sensors_[index(sensor)].settings;
    if (!s.serialDevice.empty()) return s.serialDevice;
    return DevicePathForText(std::to_string(s.serialPort));
}

std::string TSysSensorControl::DevicePathForText(std::string_view portText) {
    if (!portText.empty() && portText.front() == '/') return std::string(portText);
    if (portText.empty() || portText.size() > 4) return {};
    int number = 0;
    for (char c : portText) {
        if (c < '0' || c > '9') return {};
        number = number * 10 + (c - '0');
    }
    if (number < 1) return {};
    return "/dev/ttyS" + std::to_string(number - 1);
}

// ---- Serial ports ---------------------------------------------------------------

TComm& TSysSensorControl::port(int sensor) {
    return *sensors_[index(sensor)].port;
}

bool TSysSensorControl::OpenSensorPort(int sensor, std::string_view portText, int rateIndex) {
    Sensor& s = sensors_[index(sensor)];
    TComm& port = *s.port;
    if (port.Connected()) return true;
    if (rateIndex >= 0 && rateIndex < static_cast<int>(kSixRateOrdinals.size())) {
        port.SetBaudRate(BaudRateFromOrdinal(kSixRateOrdinals[rateIndex]));
    }
    const std::string path = DevicePathForText(portText);
    if (path.empty()) {
        s.openError = ENOENT;
        return false;
    }
    port.SetDeviceName(path);
    try {
        port.Open();
        if (port.Connected()) {
            s.lost = false;
            port.SetRTS(true);
            port.SetDTR(true);
        }
    } catch (const CommError& e) {
        showMessage(MessageCaption::Error, e.what());
    }
    s.openError = port.Connected() ? 0 : port.lastOpenError();
    if (!port.Connected()) return false;
    // The stored settings are the caller's to change: a scan opens many ports.
    s.lines.clear();
    recording_.dropPending(s.lines.origin());
    return true;
}

std::string TSysSensorControl::portOpenErrorMessage(int sensor) const {
    const std::string reason = portOpenErrorReason(sensor);
    return reason.empty() ? texts_.portOpenError : texts_.portOpenError + "\n\n" + reason;
}

std::string TSysSensorControl::portOpenErrorReason(int sensor) const {
    const Sensor& s = sensors_[index(sensor)];
    const std::string& path = s.port->DeviceName();
    // The texts name the port where they hold "%s" (once); the path is never
    // read as a format.
    const std::string shown = path.empty() ? std::string("-") : path;
    const auto named = [&shown](const std::string& text) {
        const std::size_t at = text.find("%s");
        return at == std::string::npos ? text : text.substr(0, at) + shown + text.substr(at + 2);
    };
    switch (s.openError) {
        case EACCES:
        case EPERM:
            return named(texts_.portNoAccess);
        case EBUSY:
            return named(texts_.portBusy);
        case ENOENT:
        case ENXIO:
        case ENODEV:
            return named(texts_.portMissing);
        default:
            return {};
    }
}

void TSysSensorControl::ToggleInUse(int sensor) {
    Sensor& s = sensors_[index(sensor)];
    s.lost = false;
    s.inUse = !(s.inUse || s.port->Connected());
    if (!s.inUse && s.port->Connected()) s.port->Close();
    changed(index(sensor));
}

void TSysSensorControl::EnumeratePorts() {
    if (enumerator_ == nullptr) return;
    std::vector<PortInfo> present = enumerator_->presentPorts();
    std::sort(present.begin(), present.end(),
              [](const PortInfo& a, const PortInfo& b) { return a.path < b.path; });
    std::vector<PortInfo> free;
    for (const PortInfo& port : present) {
        // A port is free when it can be opened now; one that another program
        // (or this one) holds exclusively cannot.
        const int fd = ::open(port.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            free.push_back(port);
            ::close(fd);
        }
    }
    presentPorts_ = std::move(present);
    freePorts_ = std::move(free);
}

// ---- States ---------------------------------------------------------------------

void TSysSensorControl::setInputType(int sensor, InputType type) {
    // Only the AIS sensor has links other than its serial port.
    sensors_[index(sensor)].inputType = index(sensor) == kAisPort ? type : InputType::Serial;
}

void TSysSensorControl::setLinkState(int sensor, LinkState state) {
    Sensor& s = sensors_[index(sensor)];
    if (state == LinkState::Connected && s.linkState != LinkState::Connected) {
        s.lost = false;
        s.silentSeconds = 0;
    }
    s.linkState = state;
    if (index(sensor) == kAisPort)
        aisIdentificationPending_ = state == LinkState::IdentificationPending;
    changed(index(sensor));
}

void TSysSensorControl::setInUse(int sensor, bool on) {
    sensors_[index(sensor)].inUse = on;
    sensors_[index(sensor)].lost = false;
    changed(index(sensor));
}

void TSysSensorControl::setDeviceKind(DeviceKind kind) {
    if (currentSensor_ == kAisPort) deviceKind_ = kind;
}

void TSysSensorControl::changed(int sensor) {
    if (view_ != nullptr) view_->onSensorStateChanged(sensor);
}

void TSysSensorControl::showMessage(MessageCaption caption, const std::string& text) {
    if (view_ != nullptr) view_->showSensorMessage(caption, text);
}

// ---- Receive path ---------------------------------------------------------------

void TSysSensorControl::onSerialData(int sensor, std::uint32_t count) {
    Sensor& s = sensors_[sensor];
    const int wanted = static_cast<int>(std::min<std::uint32_t>(count, kSerialReadSize));
    const int n = s.port->Read(serialBuffer_.data(), wanted);
    if (n >= 1) {
        serialBuffer_[static_cast<std::size_t>(n)] = '\0';
        const std::string_view bytes(serialBuffer_.data(), static_cast<std::size_t>(n));
        recording_.write(s.lines.origin(), bytes);
        received(s.lines, bytes);
        s.dataSeen = true;
    }
    if (sensor == kAisPort) aisDataSeen_ = true;
}

void TSysSensorControl::onSerialError(int sensor, std::uint32_t errors) {
    if ((errors & kCommErrorHangUp) == 0) return;
    // The device went away under the reader: the port is switched off, and
    // shows as lost until the user connects it again or switches it off.
    Sensor& s = sensors_[sensor];
    s.port->Close();
    s.lines.clear();
    s.inUse = false;
    s.lost = true;
    s.health.noteLinkClosed();
    s.scanPhase = ScanPhase::Finished;
    setLinkState(sensor, LinkState::Idle);
}

void TSysSensorControl::received(LineAssembler& lines, std::string_view bytes) {
    lines.append(bytes, *this);
}

void TSysSensorControl::onLineEnded(std::string_view line, const LineOrigin& origin) {
    log_.add(line);
    if (line.size() >= LineAssembler::kHandOverLimit) {
        sensors_[index(origin.sensor)].health.noteTooLong(line);
    }
}

void TSysSensorControl::onSentenceLine(std::string_view lineCrLf, const LineOrigin& origin) {
    const std::uint64_t lostBefore = intake_.assembly().droppedFragments();
    intake_.ReceiveLine(lineCrLf, true);
    // An empty line between sentences is no fault of the link.
    if (lineCrLf.size() > 2) {
        sensors_[index(origin.sensor)].health.noteSentence(
            intake_.lastStatus(), lineCrLf, intake_.assembly().droppedFragments() - lostBefore);
    }
    // A hook may remove itself while it sees the line.
    for (std::size_t i = 0; i < hooks_.size(); ++i)
        hooks_[i]->onLine(lineCrLf, origin);
}

// ---- Status display ----------------------------------------------------------------

int TSysSensorControl::StatusImageIndex(int sensor, int colourScheme) const {
    const int s = index(sensor);
    return 8 * colourScheme + s + (sensors_[s].linkState == LinkState::Connected ? 4 : 0);
}

std::string TSysSensorControl::StatusPanelText(int sensor) const {
    const int s = index(sensor);
    return std::string(SensorName(s)) + " " +
           (sensors_[s].inUse ? texts_.statusConnected : texts_.statusDisconnect);
}

std::string TSysSensorControl::StatusHintText(int sensor) const {
    const int s = index(sensor);
    return std::string(SensorName(s)) + " " +
           (sensors_[s].linkState == LinkState::Connected ? texts_.statusConnected
                                                          : texts_.statusDisconnect);
}

// ---- Link health ------------------------------------------------------------------

bool TSysSensorControl::ownLinkOpen(int sensor) const {
    const int s = index(sensor);
    if (sensors_[s].port->Connected()) return true;
    return s == kAisPort && (tcp_ != nullptr || (udp_ && udp_->isOpen()));
}

int TSysSensorControl::carrier(int sensor) const {
    const int s = index(sensor);
    if (ownLinkOpen(s)) return s;
    // A GNSS receiver found behind the transponder's (or the controller's)
    // port has no port of its own: its sentences come on that port.
    const std::string path = DevicePath(s);
    for (int other = 0; other < kSensorCount; ++other) {
        if (other != s && sensors_[other].port->Connected() &&
            sensors_[other].port->DeviceName() == path) {
            return other;
        }
    }
    return s;
}

void TSysSensorControl::StepLinkHealth() {
    std::array<bool, kSensorCount> seen{};
    for (int s = 0; s < kSensorCount; ++s)
        seen[static_cast<std::size_t>(s)] = sensors_[s].dataSeen;
    for (int s = 0; s < kSensorCount; ++s) {
        Sensor& x = sensors_[s];
        if (x.linkState != LinkState::Connected) {
            x.silentSeconds = 0;
        } else if (seen[static_cast<std::size_t>(carrier(s))]) {
            x.silentSeconds = 0;
        } else if (x.silentSeconds < 1000000) {
            ++x.silentSeconds;
        }
    }
    for (Sensor& x : sensors_) {
        x.dataSeen = false;
        x.health.tick();
    }
}

LinkHealth TSysSensorControl::linkHealth(int sensor) const {
    const int s = index(sensor);
    const Sensor& x = sensors_[s];
    if (x.linkState == LinkState::Connected) {
        return x.silentSeconds >= kSilentLinkSeconds ? LinkHealth::Silent : LinkHealth::Receiving;
    }
    if (x.lost) {
        return s == kAisPort && supervision_.armed ? LinkHealth::Reconnecting : LinkHealth::Lost;
    }
    return x.inUse || ownLinkOpen(s) ? LinkHealth::Opening : LinkHealth::Off;
}

void TSysSensorControl::CloseAll() {
    for (Sensor& s : sensors_) {
        if (s.port->Connected()) s.port->Close();
    }
    if (tcp_) {
        disarmReconnect();
        userEnding_ = true;
        std::unique_ptr<TTCPIPClientThread> link = std::move(tcp_);
        link->OnDisconnected = nullptr;
        link->Disconnect();
        userEnding_ = false;
    }
    retired_.clear();
    CloseUdp();
    recording_.close();
}

}  // namespace norq::comm
