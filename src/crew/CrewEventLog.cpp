#include "crew/CrewEventLog.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/Files.h"
#include "crew/CrewDeviceFile.h"

namespace norq::crew {

namespace {

constexpr std::size_t kMaxFileBytes = 1u << 20;

// "%11.6f" without the C library, whose decimal point follows the user's locale.
std::string Fixed6(double value) {
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
    std::string text(buf, r.ptr);
    if (text.size() < 11) text.insert(0, 11 - text.size(), ' ');
    return text;
}

bool TakeField(std::string_view& rest, std::string_view& field) {
    if (rest.empty()) return false;
    const std::size_t comma = rest.find(',');
    field = rest.substr(0, comma);
    rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
    return true;
}

std::string_view SkipSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

template <typename T>
bool ReadValue(std::string_view field, T& out) {
    field = SkipSpaces(field);
    if (field.empty()) return false;
    const auto r = std::from_chars(field.data(), field.data() + field.size(), out);
    return r.ec == std::errc{} && r.ptr == field.data() + field.size();
}

bool ReadIdText(std::string_view text, CrewDeviceId& id) {
    for (int i = 0; i < 3; ++i) {
        const std::size_t colon = text.find(':');
        if (i < 2 && colon == std::string_view::npos) return false;
        const std::string_view part = i < 2 ? text.substr(0, colon) : text;
        int value = 0;
        if (part.empty() || part.front() == ' ' || !ReadValue(part, value) || value < 0 ||
            value > 255) {
            return false;
        }
        id.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
        if (i < 2) text.remove_prefix(colon + 1);
    }
    return true;
}

bool ReadEventLine(std::string_view line, CrewEvent& e) {
    std::string_view rest = line, time, id, type, lon, lat, zoneName, zoneId;
    if (!TakeField(rest, time) || time.empty() || time.front() == ' ') return false;
    if (!ReadValue(time, e.time) || e.time < 0) return false;
    if (!TakeField(rest, id) || id.empty() || id.front() == ' ') return false;
    for (std::string_view* f : {&type, &lon, &lat}) {
        if (!TakeField(rest, *f) || *f == " " || f->empty()) return false;
    }
    int typeValue = 0;
    if (!ReadValue(type, typeValue) || typeValue < 0 || typeValue > 3) return false;
    e.type = static_cast<CrewEventType>(typeValue);
    if (!ReadValue(lon, e.longitude) || !ReadValue(lat, e.latitude) ||
        !std::isfinite(e.longitude) || !std::isfinite(e.latitude)) {
        return false;
    }
    // A zone name of a single character is a name like any other.
    const bool haveName = TakeField(rest, zoneName) && !zoneName.empty() && zoneName.front() != ' ';
    e.zoneName = haveName ? LimitCharacters(zoneName, kCrewNameLength) : std::string(" ");
    const bool haveId = TakeField(rest, zoneId) && !zoneId.empty() && zoneId.front() != ' ';
    e.zoneIdText = haveId ? std::string(zoneId.substr(0, 11)) : std::string(" ");
    return ReadIdText(id, e.deviceId);
}

}  // namespace

std::string_view CrewEventName(CrewEventType type) {
    switch (type) {
        case CrewEventType::GpsFixed:
            return "GPS FIXED";
        case CrewEventType::GpsLost:
            return "GPS LOST";
        case CrewEventType::MobLost:
            return "MOB LOST";
        case CrewEventType::MobSos:
            return "MOB SOS";
    }
    return "";
}

const CrewEvent& CrewEventLog::newest(int n) const {
    const int slot = ((writeIndex_ - 1 - n) % kCrewEventSlots + kCrewEventSlots) % kCrewEventSlots;
    return slots_[static_cast<std::size_t>(slot)];
}

bool CrewEventLog::takeNewEvent() {
    const bool was = newEvent_;
    newEvent_ = false;
    return was;
}

void CrewEventLog::push(CrewEvent event) {
    slots_[static_cast<std::size_t>(writeIndex_)] = std::move(event);
    writeIndex_ = (writeIndex_ + 1) % kCrewEventSlots;
    if (count_ < kCrewEventSlots) ++count_;
}

void CrewEventLog::RecordMobEvent(const CrewAlarm& alarm, const CrewDeviceTable& table) {
    CrewEvent e;
    e.type = alarm.state == CrewDeviceState::Sos ? CrewEventType::MobSos : CrewEventType::MobLost;
    e.deviceId = alarm.deviceId;
    e.time = alarm.alarmTime;
    e.longitude = alarm.longitude;
    e.latitude = alarm.latitude;
    e.name = std::string(table.nameOf(alarm.deviceId));
    if (alarm.zoneId.isController()) {
        e.zoneName = "Controller";
        e.zoneIdText = "000.000.000";
    } else {
        const std::string_view zoneName = table.nameOf(alarm.zoneId);
        e.zoneName = zoneName.empty() ? std::string(" ") : std::string(zoneName);
        e.zoneIdText = alarm.zoneId.text();
    }
    push(std::move(e));
    newEvent_ = true;
}

void CrewEventLog::RecordGpsEvent(bool valid, double lon, double lat, std::int64_t now) {
    CrewEvent e;
    e.type = valid ? CrewEventType::GpsFixed : CrewEventType::GpsLost;
    e.time = now;
    e.longitude = static_cast<float>(lon);
    e.latitude = static_cast<float>(lat);
    push(std::move(e));
}

void CrewEventLog::clear() {
    slots_ = {};
    writeIndex_ = 0;
    count_ = 0;
    newEvent_ = false;
}

std::string CrewEventLog::FileText() const {
    std::string text;
    for (int n = 0; n < count_; ++n) {
        const CrewEvent& e = newest(n);
        char type[8];
        std::snprintf(type, sizeof type, "%02d", static_cast<int>(e.type));
        text += std::to_string(e.time) + ',' + e.deviceId.text(':') + ',' + type + ',' +
                Fixed6(e.longitude) + ',' + Fixed6(e.latitude) + ',' + e.zoneName + ',' +
                e.zoneIdText + ",\n";
    }
    return text;
}

void CrewEventLog::ParseFile(std::string_view text, const CrewDeviceTable& table) {
    clear();
    // The file lists the newest event first: the lines go into the ring from the
    // last to the first, so a save and a reload keep the order.
    std::vector<CrewEvent> read;
    read.reserve(kCrewEventSlots);
    ForEachLine(text, [&](std::string_view line) {
        if (static_cast<int>(read.size()) >= kCrewEventSlots) return;
        CrewEvent e;
        if (!ReadEventLine(line, e)) return;
        if (!e.isGps()) e.name = std::string(table.nameOf(e.deviceId));
        read.push_back(std::move(e));
    });
    for (auto it = read.rbegin(); it != read.rend(); ++it)
        push(std::move(*it));
}

bool CrewEventLog::Load(const std::string& path, const CrewDeviceTable& table) {
    const auto bytes = base::ReadFileLimited(path, kMaxFileBytes);
    if (!bytes) {
        clear();
        return false;
    }
    ParseFile(*bytes, table);
    return true;
}

bool CrewEventLog::Save(const std::string& path) const {
    return base::WriteFileAtomically(path, FileText());
}

}  // namespace norq::crew
