#include "comm/ConnectionChecks.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "comm/UdpInput.h"

namespace norq::comm {

namespace {

bool DeviceNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == '/' || c == ':' || c == '+';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A number of at most `digits` decimal digits, nothing else.
std::optional<int> Number(std::string_view text, std::size_t digits) {
    text = Trimmed(text);
    if (text.empty() || text.size() > digits) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> DevicePathOf(std::string_view typed) {
    typed = Trimmed(typed);
    constexpr std::size_t kMaxPath = 255;
    if (typed.empty() || typed.size() > kMaxPath) return std::nullopt;
    if (!std::all_of(typed.begin(), typed.end(), DeviceNameChar)) return std::nullopt;
    if (typed.find("..") != std::string_view::npos) return std::nullopt;
    if (typed.front() == '/') {
        if (typed.back() == '/') return std::nullopt;
        return std::string(typed);
    }
    if (typed.find('/') != std::string_view::npos) return std::nullopt;
    return "/dev/" + std::string(typed);
}

bool IsCharacterDevice(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

bool MayOpenAsPort(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT;
    return IsCharacterDevice(path);
}

TcpSettings CheckTcpFields(const TcpFields& fields) {
    TcpSettings out;
    for (const std::string& octet : fields.octets) {
        if (Trimmed(octet).empty()) return out;
    }
    if (Trimmed(fields.port).empty()) return out;
    out.status = TcpSettings::Status::Invalid;
    for (std::size_t i = 0; i < fields.octets.size(); ++i) {
        const std::optional<int> value = Number(fields.octets[i], 3);
        if (!value || *value > 255) return out;
        out.address[i] = *value;
    }
    const std::optional<int> port = Number(fields.port, 5);
    if (!port || *port < 1 || *port > 65535) return out;
    out.port = *port;
    out.status = TcpSettings::Status::Ok;
    return out;
}

NetworkToggle ToggleTcpLink(DetectionPorts& ports, DetectionView& view, const TcpFields& fields,
                            bool wizardOwns) {
    const TcpSettings checked = CheckTcpFields(fields);
    if (checked.status == TcpSettings::Status::Empty) return NetworkToggle::Nothing;
    if (checked.status == TcpSettings::Status::Invalid) {
        view.showMessage(DetectionMessage::TcpSettingsInvalid);
        return NetworkToggle::Refused;
    }
    ports.storeTcp(checked.address, checked.port);
    const int s = kAisPort;
    if (ports.tcpSwitchedOn() || ports.linkState(s) == LinkState::Connected) {
        ports.disconnectTcp();
        ports.setTcpSwitchedOn(false);
        ports.setLinkState(s, LinkState::Idle);
        ports.setInUse(s, false);
        ports.setDeviceKind(DeviceKind::None);
        return NetworkToggle::Stopped;
    }
    ports.setScanPhase(s, ScanPhase::Finished);
    ports.setLinkState(s, LinkState::Idle);
    ports.connectTcp(wizardOwns);
    ports.setTcpSwitchedOn(true);
    // The device identifies itself before the link counts as connected.
    ports.setLinkState(s, LinkState::IdentificationPending);
    ports.setInUse(s, true);
    return NetworkToggle::Started;
}

NetworkToggle ToggleUdpInput(DetectionPorts& ports, DetectionView& view, const UdpFields& fields) {
    const int s = kAisPort;
    if (ports.udpListening()) {
        ports.closeUdp();
        ports.setLinkState(s, LinkState::Idle);
        ports.setInUse(s, false);
        ports.setDeviceKind(DeviceKind::None);
        return NetworkToggle::Stopped;
    }
    if (Trimmed(fields.port).empty()) return NetworkToggle::Nothing;
    const std::optional<int> port = Number(fields.port, 5);
    if (!port || *port < 1 || *port > 65535) {
        view.showMessage(DetectionMessage::UdpPortInvalid);
        return NetworkToggle::Refused;
    }
    UdpChoice choice;
    choice.port = *port;
    choice.group = std::string(Trimmed(fields.group));
    choice.interfaceName = std::string(Trimmed(fields.interfaceName));
    if (!choice.group.empty() &&
        (!IsMulticastAddress(choice.group) || !IsInterfaceText(choice.interfaceName))) {
        view.showMessage(DetectionMessage::UdpGroupInvalid);
        return NetworkToggle::Refused;
    }
    // The interface matters only with a group; one that names none is not kept.
    if (!IsInterfaceText(choice.interfaceName)) choice.interfaceName.clear();
    if (!ports.listenUdp(choice)) {
        view.showMessage(choice.group.empty() ? DetectionMessage::UdpOpenError
                                              : DetectionMessage::UdpJoinError);
        return NetworkToggle::Refused;
    }
    ports.setScanPhase(s, ScanPhase::Finished);
    ports.setLinkState(s, LinkState::Connected);
    ports.setInUse(s, true);
    return NetworkToggle::Started;
}

unsigned HandlePortsChanged(DetectionPorts& ports, bool removed) {
    ports.enumeratePorts();
    if (!removed) return 0;
    unsigned switchedOff = 0;
    std::array<std::string, kSensorCount> vanished{};
    for (int s : {kAisPort, kMobPort, kGpsPort}) {
        if (ports.inputType(s) != InputType::Serial || !ports.portOpen(s)) continue;
        // A running scan moves on to the next port by itself.
        if (ports.scanPhase(s) == ScanPhase::Running) continue;
        const std::string path = ports.portPath(s);
        std::error_code error;
        if (std::filesystem::exists(path, error) || error) continue;
        ports.closePort(s);
        ports.setInUse(s, false);
        ports.setScanPhase(s, ScanPhase::Finished);
        ports.setLinkState(s, LinkState::Idle);
        if (s == kAisPort) ports.setDeviceKind(DeviceKind::None);
        vanished[static_cast<std::size_t>(s)] = path;
        switchedOff |= 1u << s;
    }
    // A GNSS receiver found behind the transponder's (or the controller's)
    // port has no port of its own: it goes with that port.
    for (int s = 0; s < kSensorCount; ++s) {
        if (ports.portOpen(s) || ports.linkState(s) != LinkState::Connected) continue;
        if (ports.inputType(s) != InputType::Serial) continue;
        const std::string stored = ports.storedPath(s);
        if (stored.empty()) continue;
        if (std::find(vanished.begin(), vanished.end(), stored) == vanished.end()) continue;
        ports.setScanPhase(s, ScanPhase::Finished);
        ports.setLinkState(s, LinkState::Idle);
        switchedOff |= 1u << s;
    }
    return switchedOff;
}

}  // namespace norq::comm
