#include "crew/AisMobList.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "ais/AisDecoder.h"
#include "ais/TargetTexts.h"
#include "base/Files.h"

namespace norq::crew {

namespace {

constexpr std::size_t kMaxFileBytes = 1024 * 1024;
constexpr std::size_t kMaxLineLength = 99;

void CopyName(std::string_view from, std::array<char, kAisMobNameLength + 1>& to) {
    to.fill('\0');
    const std::size_t n = std::min<std::size_t>(from.size(), kAisMobNameLength);
    if (n > 0) std::memcpy(to.data(), from.data(), n);
}

bool IsDistressDevice(std::uint32_t mmsi) {
    const ais::MmsiClass c = ais::ClassifyMmsi(mmsi);
    return c == ais::MmsiClass::AisSart || c == ais::MmsiClass::ManOverboard ||
           c == ais::MmsiClass::EpirbAis;
}

// A name as read from the file ends at its first control character, so that
// nothing read can break the file when it is written again.
std::string_view CleanName(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (static_cast<unsigned char>(s[i]) < 0x20 || s[i] == 0x7F) return s.substr(0, i);
    }
    return s;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

AisMobList::AisMobList(const ais::Clock& clock, ais::TargetTable& table)
    : clock_(clock), table_(table) {}

void AisMobList::setView(AisMobListView* view) {
    view_ = view != nullptr ? view : &nullView_;
}

int AisMobList::find(std::uint32_t mmsi) const {
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].mmsi == mmsi) return i;
    }
    return -1;
}

bool AisMobList::isRegistered(std::uint32_t mmsi) const {
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].mmsi == mmsi && entries_[i].registered) return true;
    }
    return false;
}

bool AisMobList::LookupAisMobName(std::uint32_t mmsi,
                                  char (&nameOut)[kAisMobNameLength + 1]) const {
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].mmsi != mmsi || !entries_[i].registered) continue;
        std::memcpy(nameOut, entries_[i].name.data(), sizeof nameOut);
        nameOut[kAisMobNameLength] = '\0';
        return false;
    }
    if (drillRunning_ && mmsi == kDrillMmsi) {
        std::snprintf(nameOut, sizeof nameOut, "%s", "TEST ALARM");
        return false;
    }
    return true;
}

void AisMobList::LookupAisMobName(int index) {
    if (!table_.valid(index)) return;
    ais::TargetRecord& t = table_[index];
    char name[kAisMobNameLength + 1] = {};
    if (LookupAisMobName(t.mmsi, name)) return;
    std::memset(t.name.data(), 0, t.name.size());
    std::memcpy(t.name.data(), name, std::min(t.name.size() - 1, std::strlen(name)));
}

void AisMobList::ReportAisMobActive(int index, bool withPosition) {
    if (table_.valid(index)) ReportAisMobActive(table_[index], withPosition);
}

int AisMobList::addUnregistered(const ais::TargetRecord& target) {
    if (count_ >= kMaxAisMobEntries) return -1;
    AisMobEntry& e = entries_[count_];
    e = AisMobEntry{};
    e.mmsi = target.mmsi;
    e.registered = false;
    e.drill = drillRunning_ && target.mmsi == kDrillMmsi;
    std::string_view name = target.name.data();
    if (e.drill) {
        name = "TEST ALARM";
    } else if (name.empty()) {
        // Nameless until its text arrives: say what kind of device it is.
        const ais::MmsiClass c = ais::ClassifyMmsi(target.mmsi);
        name = c == ais::MmsiClass::AisSart        ? "AIS-SART"
               : c == ais::MmsiClass::ManOverboard ? "AIS-MOB"
                                                   : "EPIRB-AIS";
    }
    CopyName(name, e.name);
    return count_++;
}

bool AisMobList::ReportAisMobActive(ais::TargetRecord& target, bool withPosition) {
    int i = find(target.mmsi);
    bool registered = i >= 0 && entries_[i].registered;
    if (i < 0) {
        // Another ship's man overboard or a liferaft: alarm all the same.
        const bool drill = drillRunning_ && target.mmsi == kDrillMmsi;
        if (!drill && !IsDistressDevice(target.mmsi)) return true;
        i = addUnregistered(target);
        if (i < 0) return true;
    }
    AisMobEntry& e = entries_[i];
    if (registered || e.drill) {
        std::memset(target.name.data(), 0, target.name.size());
        std::memcpy(target.name.data(), e.name.data(),
                    std::min(target.name.size() - 1, std::strlen(e.name.data())));
    } else if (target.name[0] != '\0') {
        CopyName(target.name.data(), e.name);
    }
    if (withPosition) {
        e.latitude = target.latitude;
        e.longitude = target.longitude;
        e.range = target.range;
        e.bearing = target.bearing;
    }
    const ais::LocalDateTime now = clock_.localNow();
    bool becameActive = false;
    if (e.status == MobStatus::Quiet) {
        e.firstDate = now.date;
        e.firstTime = now.time;
        e.status = MobStatus::Active;
        becameActive = true;
    }
    e.lastDate = now.date;
    e.lastTime = now.time;
    e.lastHeard = clock_.monotonicSeconds();
    if (becameActive) {
        Resort();
        changed_ = true;
    } else if (!changed_) {
        view_->rewriteRow(i);
    }
    return !registered;
}

void AisMobList::Resort() {
    // A stable partition: active, then acknowledged, then quiet.
    std::stable_sort(
        entries_.begin(), entries_.begin() + count_,
        [](const AisMobEntry& a, const AisMobEntry& b) {
            auto rank = [](MobStatus s) {
                return s == MobStatus::Active ? 0 : s == MobStatus::Acknowledged ? 1 : 2;
            };
            return rank(a.status) < rank(b.status);
        });
}

void AisMobList::removeAt(int i) {
    std::move(entries_.begin() + i + 1, entries_.begin() + count_, entries_.begin() + i);
    --count_;
    entries_[count_] = AisMobEntry{};
}

void AisMobList::Expire() {
    const std::int64_t now = clock_.monotonicSeconds();
    bool expired = false;
    for (int i = 0; i < count_; ++i) {
        AisMobEntry& e = entries_[i];
        if (e.status == MobStatus::Quiet || now - e.lastHeard <= kAisMobExpirySeconds) continue;
        e.status = MobStatus::Quiet;
        expired = true;
    }
    if (!expired) return;
    // Unregistered devices were only listed for their alarm.
    for (int i = count_ - 1; i >= 0; --i) {
        if (!entries_[i].registered && entries_[i].status == MobStatus::Quiet) removeAt(i);
    }
    Resort();
    changed_ = true;
}

void AisMobList::activate(std::string_view name) {
    if (sound_ != nullptr) sound_->Activate(name);
}

void AisMobList::Timer1Tick() {
    ++tick_;
    Expire();
    if (changed_) {
        view_->refillGrid();
        changed_ = false;
    }
    int alarms = 0;
    bool unacknowledged = false;
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].status == MobStatus::Quiet) continue;
        ++alarms;
        unacknowledged = unacknowledged || entries_[i].status == MobStatus::Active;
    }
    if (alarms != seenAlarmCount_) {
        if (unacknowledged) activate(kAisMobAlarmName);
        seenAlarmCount_ = alarms;
        alarmRows_ = alarms;
        view_->alarmRowsChanged(alarms);
    }
    if (alarmRows_ > 0) {
        // Without an audio output the caution stays on instead of blinking.
        view_->showCaution(true, cautionSteady() || tick_ % 2 == 0);
    } else {
        view_->showCaution(false, false);
        if (sound_ != nullptr) sound_->Deactivate(kAisMobAlarmName);
    }
}

void AisMobList::Silent() {
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].status == MobStatus::Active) entries_[i].status = MobStatus::Acknowledged;
    }
    if (sound_ != nullptr) sound_->Deactivate(kAisMobAlarmName);
}

bool AisMobList::anyUnacknowledged() const {
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].status == MobStatus::Active) return true;
    }
    return false;
}

bool AisMobList::anyDrill() const {
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].drill && entries_[i].status != MobStatus::Quiet) return true;
    }
    return false;
}

MobEditResult AisMobList::Add(std::uint32_t mmsi, std::string_view name) {
    if (!NameAllowedInCsv(name)) return MobEditResult::BadName;
    // An unregistered device in alarm becomes registered and keeps its alarm.
    const int listed = find(mmsi);
    if (listed >= 0 && !entries_[listed].registered) {
        entries_[listed].registered = true;
        entries_[listed].drill = false;
        CopyName(name, entries_[listed].name);
        changed_ = true;
        return MobEditResult::Done;
    }
    if (count_ >= kMaxAisMobEntries) return MobEditResult::Full;
    AisMobEntry& e = entries_[count_++];
    e = AisMobEntry{};
    e.mmsi = mmsi;
    CopyName(name, e.name);
    changed_ = true;
    return MobEditResult::Done;
}

MobEditResult AisMobList::Edit(int entry, std::uint32_t mmsi, std::string_view name) {
    if (entry < 0 || entry >= count_) return MobEditResult::BadRow;
    if (entries_[entry].status != MobStatus::Quiet) return MobEditResult::AlarmRow;
    if (!NameAllowedInCsv(name)) return MobEditResult::BadName;
    entries_[entry].mmsi = mmsi;
    CopyName(name, entries_[entry].name);
    view_->rewriteRow(entry);
    return MobEditResult::Done;
}

MobEditResult AisMobList::Delete(int entry) {
    if (entry < 0 || entry >= count_) return MobEditResult::BadRow;
    if (entries_[entry].status != MobStatus::Quiet) return MobEditResult::AlarmRow;
    removeAt(entry);
    changed_ = true;
    return MobEditResult::Done;
}

bool AisMobList::SortByColumn(int column, std::string_view datePattern) {
    if (alarmRows_ > 0) return false;
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].status != MobStatus::Quiet) return false;
    }
    auto key = [&](const AisMobEntry& e) {
        std::string text = AisMobCellText(e, column, datePattern);
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        return text;
    };
    std::stable_sort(entries_.begin(), entries_.begin() + count_,
                     [&](const AisMobEntry& a, const AisMobEntry& b) { return key(a) < key(b); });
    // Rebuilt from the grid: MMSI and name only.
    for (int i = 0; i < count_; ++i) {
        AisMobEntry& e = entries_[i];
        const AisMobEntry kept = e;
        e = AisMobEntry{};
        e.mmsi = kept.mmsi;
        e.name = kept.name;
    }
    changed_ = true;
    return true;
}

void AisMobList::setDrillRunning(bool running) {
    drillRunning_ = running;
}

void AisMobList::endDrill() {
    drillRunning_ = false;
    bool removed = false;
    for (int i = count_ - 1; i >= 0; --i) {
        if (!entries_[i].drill) continue;
        removeAt(i);
        removed = true;
    }
    if (removed) changed_ = true;
}

std::string AisMobList::FileText() const {
    std::string text;
    char line[16 + kAisMobNameLength + 2];
    for (int i = 0; i < count_; ++i) {
        const AisMobEntry& e = entries_[i];
        if (!e.registered) continue;
        std::snprintf(line, sizeof line, "%09u,%s\n", e.mmsi, e.name.data());
        text += line;
    }
    return text;
}

void AisMobList::ParseFile(std::string_view text) {
    count_ = 0;
    std::size_t at = 0;
    while (at < text.size() && count_ < kMaxAisMobEntries) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();  // a last line without LF counts
        const std::string_view raw = text.substr(at, end - at);
        at = end + 1;
        if (raw.size() > kMaxLineLength) break;
        const std::string_view line = Trimmed(raw);
        if (line.empty() || line[0] == '\0' || line[0] == '\r') continue;
        const std::size_t comma = line.find(',');
        const std::string_view mmsiField = line.substr(0, comma);
        std::string_view nameField =
            comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
        nameField = CleanName(nameField.substr(0, nameField.find(',')));
        if (nameField == " ") nameField = {};
        // A number of more than nine digits is no MMSI: it reads as the empty value.
        std::uint64_t mmsi = mmsiField.empty() ? 999999999 : 0;
        for (char c : mmsiField) {
            if (c < '0' || c > '9') break;
            mmsi = mmsi * 10 + static_cast<std::uint64_t>(c - '0');
            if (mmsi > 999999999) {
                mmsi = 999999999;
                break;
            }
        }
        AisMobEntry& e = entries_[count_++];
        e = AisMobEntry{};
        e.mmsi = static_cast<std::uint32_t>(mmsi);
        CopyName(nameField, e.name);
    }
    changed_ = true;
}

bool AisMobList::Load(const std::string& path) {
    bool missing = false;
    const auto text = base::ReadFileLimited(path, kMaxFileBytes, &missing);
    if (!text) return missing;
    ParseFile(*text);
    return true;
}

bool AisMobList::Save(const std::string& path) const {
    return base::WriteFileAtomically(path, FileText());
}

std::string AisMobCellText(const AisMobEntry& e, int column, std::string_view datePattern) {
    char buffer[32];
    if (column == 0) {
        std::snprintf(buffer, sizeof buffer, "%09u", e.mmsi);
        return buffer;
    }
    if (column == 1) return std::string(e.nameView());
    if (e.status == MobStatus::Quiet) return {};
    const bool valid = e.latitude < 90.0f && e.longitude < 180.0f;
    switch (column) {
        case 2:
            if (!valid) return "N/A";
            return std::string(
                ais::FormatCoordinate(e.latitude, ais::CoordinateAxis::Latitude, 3).view());
        case 3:
            if (!valid) return "N/A";
            return std::string(
                ais::FormatCoordinate(e.longitude, ais::CoordinateAxis::Longitude, 3).view());
        case 4:
            return valid ? std::string(ais::RangeText(e.range).view()) : "N/A";
        case 5:
            return valid ? std::string(ais::BearingText(e.bearing).view()) : "N/A";
        case 6:
            return std::string(ais::DateTimeText(e.firstDate, e.firstTime, datePattern).view());
        case 7:
            return std::string(ais::DateTimeText(e.lastDate, e.lastTime, datePattern).view());
        default:
            return {};
    }
}

int ValidateAisMobMmsi(std::string_view text, bool mmsiEditable, const AisMobList& list) {
    int bits = 0;
    if (text.size() != 9) bits |= 1;
    for (std::size_t i = 0; i < 9; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') {
            bits |= 2;
            break;
        }
    }
    if (bits != 0) return bits;
    std::uint32_t value = 0;
    for (char c : text)
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    if (value == 0) return 4;
    if (mmsiEditable && list.isRegistered(value)) bits |= 8;
    const std::uint32_t prefix = value / 1000000;
    if (prefix != 972 && prefix != 970) bits |= 16;
    return bits;
}

std::string AisMobWarningText(int bits, const std::array<std::string, 5>& messages) {
    std::string text;
    for (int i = 0; i < 5; ++i) {
        if ((bits & (1 << i)) == 0) continue;
        if (!text.empty()) text += ", ";
        text += messages[i];
    }
    return text;
}

bool NameAllowedInCsv(std::string_view name) {
    for (unsigned char c : name) {
        if (c == ',' || c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

}  // namespace norq::crew
