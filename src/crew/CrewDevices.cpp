#include "crew/CrewDevices.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace norq::crew {

namespace {

// Status codes of a single report.
constexpr int kSingleOnline = 1;
constexpr int kSingleSos = 2;
constexpr int kSingleLost = 3;
constexpr int kSingleRegistration = 4;
constexpr int kSingleOff = 8;
// Status codes (low four bits) of a list entry.
constexpr int kListOnline = 0;
constexpr int kListSos = 1;
constexpr int kListOff = 2;
// Command status codes.
constexpr int kCommandShutDown = 8;
constexpr int kCommandCancelSos = 10;
constexpr int kCommandUnmute = 11;
constexpr int kCommandMute = 12;
constexpr int kProbeKind = 60;
constexpr int kProbeStatus = 101;

constexpr int kLevelValues[4] = {200, 205, 215, 225};
constexpr int kLowBatteryLimit = 200;
constexpr int kEntryBytes = 4;

// The state a single report's code gives, or `keep` for a code that gives none.
CrewDeviceState SingleState(int status, CrewDeviceState keep) {
    switch (status) {
        case kSingleOnline:
        case kSingleRegistration:
            return CrewDeviceState::Online;
        case kSingleSos:
            return CrewDeviceState::Sos;
        case kSingleLost:
            return CrewDeviceState::Lost;
        default:
            return keep;
    }
}

CrewDeviceState ListState(int code) {
    if (code == kListOnline) return CrewDeviceState::Online;
    if (code == kListSos) return CrewDeviceState::Sos;
    return CrewDeviceState::ShutDown;
}

bool Utf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string CrewDeviceId::text(char separator) const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d%c%03d%c%03d", bytes[0], separator, bytes[1], separator,
                  bytes[2]);
    return buf;
}

std::string_view DefaultStateName(CrewDeviceState state) {
    switch (state) {
        case CrewDeviceState::Off:
            return "OFF";
        case CrewDeviceState::Online:
            return "ONLINE";
        case CrewDeviceState::Sos:
            return "SOS";
        case CrewDeviceState::LowBattery:
            return "LOW BATTERY";
        case CrewDeviceState::Lost:
            return "LOST";
        case CrewDeviceState::ShutDown:
            return "SHUT DOWN";
    }
    return "";
}

std::string_view DefaultTypeName(CrewDeviceType type) {
    switch (type) {
        case CrewDeviceType::Host:
            return "HOST";
        case CrewDeviceType::Pendant:
            return "PENDANT";
        case CrewDeviceType::Repeater:
            return "REPEATER";
        case CrewDeviceType::Display:
            return "DISPLAY";
        case CrewDeviceType::Unknown:
            return "UNKNOWN";
    }
    return "";
}

std::int64_t SystemCrewClock::monotonicSeconds() const {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t SystemCrewClock::unixSeconds() const {
    return static_cast<std::int64_t>(std::time(nullptr));
}

int BatteryLevel(int battery) {
    int level = 0;
    for (int threshold : kLevelValues)
        level += battery > threshold ? 1 : 0;
    return level;
}

MobReport MakeMobReport(const codec::Mob& items) {
    MobReport r;
    r.deviceId.bytes = items.deviceId;
    r.isList = items.kind / 10 >= 1;
    r.deviceType = items.kind % 10;
    if (r.deviceType >= 4) r.deviceType = 4;
    r.status = items.status;
    r.batteryPresent = items.batteryPresent;
    r.battery = items.batteryPresent ? items.battery : 0;
    r.entryLength = std::clamp(items.payloadLength, 0, codec::kMobPayloadCapacity);
    for (int i = 0; i < r.entryLength; ++i)
        r.entries[static_cast<std::size_t>(i)] = items.payload[static_cast<std::size_t>(i)];
    // A zone of fewer than three bytes is no zone: the controller heard it.
    if (!r.isList && r.entryLength >= 3) {
        for (int i = 0; i < 3; ++i)
            r.zoneId.bytes[static_cast<std::size_t>(i)] = r.entries[static_cast<std::size_t>(i)];
    }
    return r;
}

int CrewDeviceTable::find(const CrewDeviceId& id) const {
    for (int i = 0; i < count_; ++i)
        if (rows_[static_cast<std::size_t>(i)].id == id) return i;
    return -1;
}

std::string_view CrewDeviceTable::nameOf(const CrewDeviceId& id) const {
    const int row = find(id);
    return row < 0 ? std::string_view{} : std::string_view{(*this)[row].name};
}

int CrewDeviceTable::ApplyMobReport(const MobReport& report, int* rowsOut) {
    return report.isList ? applyList(report, rowsOut) : applySingle(report, rowsOut);
}

void CrewDeviceTable::heard(CrewDevice& d, CrewDeviceState oldState) {
    const std::int64_t mono = clock_.monotonicSeconds();
    const std::int64_t now = clock_.unixSeconds();
    // A LOST report is no sign of life: the silence goes on counting.
    if (!(d.state == CrewDeviceState::Lost && oldState != CrewDeviceState::Off)) {
        d.lastHeard = now;
        d.lastHeardMono = mono;
    }
    if (oldState == CrewDeviceState::Off) {
        d.onlineSince = now;
        d.onlineSinceMono = mono;
    }
}

void CrewDeviceTable::track(const CrewDevice& d) {
    if (listener_ != nullptr) listener_->TrackCrewAlarm(d);
}

CrewDevice& CrewDeviceTable::appendNew(const CrewDeviceId& id, CrewDeviceType type) {
    CrewDevice& d = rows_[static_cast<std::size_t>(count_++)];
    d = CrewDevice{};
    d.id = id;
    d.type = type;
    d.state = CrewDeviceState::Online;
    d.lastHeard = d.onlineSince = clock_.unixSeconds();
    d.lastHeardMono = d.onlineSinceMono = clock_.monotonicSeconds();
    return d;
}

int CrewDeviceTable::applySingle(const MobReport& report, int* rowsOut) {
    if ((report.deviceType != 1 && report.deviceType != 2) || report.deviceId.isController()) {
        return -1;
    }
    const auto type = static_cast<CrewDeviceType>(report.deviceType);
    const auto battery = static_cast<std::uint8_t>(report.battery);
    const int row = find(report.deviceId);
    if (row >= 0) {
        CrewDevice& d = rows_[static_cast<std::size_t>(row)];
        rowsOut[0] = row;
        const CrewDeviceState old = d.state;
        if (old != CrewDeviceState::ShutDown) {
            d.state = SingleState(report.status, d.state);
            d.type = type;
            d.zoneId = report.zoneId;
            d.battery = battery;
            d.lowBattery = battery < kLowBatteryLimit;
        }
        if (report.status == kSingleOff) d.state = CrewDeviceState::Off;
        heard(d, old);
        track(d);
        return 1;
    }
    // Registration and online reports bring a new device; so does an SOS or a
    // LOST from a pendant the table does not know yet, which must not go unseen.
    const bool creates = report.status == kSingleOnline || report.status == kSingleRegistration ||
                         report.status == kSingleSos || report.status == kSingleLost;
    if (!creates || full()) return -1;
    const int newRow = count_;
    CrewDevice& d = appendNew(report.deviceId, type);
    d.state = SingleState(report.status, CrewDeviceState::Online);
    d.zoneId = report.zoneId;
    d.battery = battery;
    d.lowBattery = battery < kLowBatteryLimit;
    rowsOut[0] = newRow;
    if (d.inAlarm()) track(d);
    return 1;
}

int CrewDeviceTable::applyList(const MobReport& report, int* rowsOut) {
    if (report.entryLength <= 0) return -1;
    int touched = 0;
    // A last group shorter than four bytes is left out: its missing bytes are not known.
    for (int at = 0; at + kEntryBytes <= report.entryLength; at += kEntryBytes) {
        CrewDeviceId id;
        for (int i = 0; i < 3; ++i)
            id.bytes[static_cast<std::size_t>(i)] =
                report.entries[static_cast<std::size_t>(at + i)];
        if (id.isController()) continue;
        const int status = report.entries[static_cast<std::size_t>(at + 3)];
        const int code = status & 0x0F;
        const int level = (status >> 4) & 0x03;
        const auto battery = static_cast<std::uint8_t>(kLevelValues[level]);
        const int row = find(id);
        if (row >= 0) {
            CrewDevice& d = rows_[static_cast<std::size_t>(row)];
            rowsOut[touched++] = row;
            const CrewDeviceState old = d.state;
            if (old != CrewDeviceState::ShutDown) {
                d.state = ListState(code);
                d.type = CrewDeviceType::Pendant;
                d.battery = battery;
                d.lowBattery = level < 2;
            }
            if (code == kListOff) d.state = CrewDeviceState::Off;
            heard(d, old);
            track(d);
        } else if (!full()) {
            rowsOut[touched++] = count_;
            CrewDevice& d = appendNew(id, CrewDeviceType::Pendant);
            d.state = code == kListOff ? CrewDeviceState::Off : ListState(code);
            d.battery = battery;
            d.lowBattery = level < 2;
            if (d.inAlarm()) track(d);
        }
    }
    return touched;
}

bool CrewDeviceTable::AgeCrewDevices() {
    const std::int64_t mono = clock_.monotonicSeconds();
    bool lowBattery = false;
    for (int i = 0; i < count_; ++i) {
        CrewDevice& d = rows_[static_cast<std::size_t>(i)];
        if (d.state == CrewDeviceState::Off) {
            d.secondsSinceHeard = 0;
            continue;
        }
        d.secondsSinceHeard = mono - d.lastHeardMono;
        d.secondsOnline = mono - d.onlineSinceMono;
        if (d.secondsSinceHeard > kCrewSilenceLimit) {
            d.state = CrewDeviceState::Lost;
            track(d);
        }
        lowBattery = lowBattery || d.lowBattery;
    }
    return lowBattery;
}

void CrewDeviceTable::SetOff(int row) {
    if (row < 0 || row >= count_) return;
    CrewDevice& d = rows_[static_cast<std::size_t>(row)];
    d.state = CrewDeviceState::Off;
    track(d);
}

bool CrewDeviceTable::append(const CrewDevice& device) {
    if (full()) return false;
    rows_[static_cast<std::size_t>(count_++)] = device;
    return true;
}

bool CrewDeviceTable::remove(int row) {
    if (row < 0 || row >= count_) return false;
    for (int i = row; i + 1 < count_; ++i)
        rows_[static_cast<std::size_t>(i)] = std::move(rows_[static_cast<std::size_t>(i + 1)]);
    rows_[static_cast<std::size_t>(--count_)] = CrewDevice{};
    return true;
}

void CrewDeviceTable::clear() {
    for (int i = 0; i < count_; ++i)
        rows_[static_cast<std::size_t>(i)] = CrewDevice{};
    count_ = 0;
}

void CrewDeviceTable::reorder(const std::array<int, kMaxCrewDevices>& order) {
    std::array<CrewDevice, kMaxCrewDevices> old;
    for (int i = 0; i < count_; ++i)
        old[static_cast<std::size_t>(i)] = std::move(rows_[static_cast<std::size_t>(i)]);
    for (int i = 0; i < count_; ++i)
        rows_[static_cast<std::size_t>(i)] =
            std::move(old[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])]);
}

codec::Mob ComposeCrewCommand(CrewCommand command, const CrewDevice* device,
                              const codec::Mob& previous) {
    codec::Mob m;
    const int deviceKind = device != nullptr ? static_cast<int>(device->type) : 1;
    if (device != nullptr) m.deviceId = device->id.bytes;
    switch (command) {
        case CrewCommand::ShutDownOne:
            m.kind = deviceKind;
            m.status = kCommandShutDown;
            break;
        case CrewCommand::ShutDownAll:
            m.deviceId = {};
            m.kind = 1;
            m.status = kCommandShutDown;
            break;
        case CrewCommand::CancelSos:
            m.kind = deviceKind;
            m.status = kCommandCancelSos;
            break;
        case CrewCommand::Mute:
        case CrewCommand::Unmute:
            m.deviceId = {};
            m.kind = 0;
            m.status = command == CrewCommand::Mute ? kCommandMute : kCommandUnmute;
            break;
        case CrewCommand::Probe:
            m.deviceId = previous.deviceId;
            m.kind = kProbeKind;
            m.status = kProbeStatus;
            break;
    }
    return m;
}

bool IsAcceptableCrewName(std::string_view text) {
    return text.find_first_of(",\r\n") == std::string_view::npos;
}

bool IsAcceptableCrewNotes(std::string_view text) {
    return text.find_first_of("{}\r\n") == std::string_view::npos;
}

std::string LimitCharacters(std::string_view text, int characters) {
    std::size_t at = 0;
    for (int n = 0; at < text.size() && n < characters; ++n) {
        ++at;
        while (at < text.size() && Utf8Continuation(text[at]))
            ++at;
    }
    return std::string(text.substr(0, at));
}

}  // namespace norq::crew
