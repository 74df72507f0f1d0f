#include "messaging/ShipMarks.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "base/Files.h"

namespace norq::messaging {

namespace {

constexpr std::size_t kMaxFileBytes = 1024 * 1024;
constexpr std::size_t kMaxLineLength = 99;

void CopyName(std::string_view from, std::array<char, kFriendNameLength + 1>& to) {
    to.fill('\0');
    if (!from.empty())
        std::memcpy(to.data(), from.data(), std::min(from.size(), kFriendNameLength));
}

bool NameFits(std::string_view name) {
    return std::none_of(name.begin(), name.end(),
                        [](unsigned char c) { return c == ',' || c < 0x20 || c == 0x7F; });
}

// A name as read from the file ends at its first control character.
std::string_view CleanName(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (static_cast<unsigned char>(s[i]) < 0x20 || s[i] == 0x7F) return s.substr(0, i);
    }
    return s;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// A decimal number; 0 when the text is none.
std::uint32_t Number(std::string_view s, std::uint32_t empty) {
    s = Trim(s);
    if (s.empty()) return empty;
    std::uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return 0;
        v = v * 10 + static_cast<unsigned>(c - '0');
        if (v > 999999999) return 0;
    }
    return static_cast<std::uint32_t>(v);
}

std::string_view Field(std::string_view line, int n) {
    for (int i = 0; i < n; ++i) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) return {};
        line.remove_prefix(comma + 1);
    }
    return line.substr(0, line.find(','));
}

}  // namespace

bool FriendList::IsFriend(std::uint32_t mmsi) const {
    for (int i = 0; i < count_; ++i) {
        if (items_[i].mmsi == mmsi) return items_[i].friendFlag == 1;
    }
    return false;
}

bool FriendList::setFromRows(const FriendRow* rows, int rowCount) {
    for (int r = 0; r < rowCount; ++r) {
        if (!NameFits(rows[r].englishName) || !NameFits(rows[r].localName)) return false;
    }
    count_ = 0;
    for (int r = 0; r < rowCount && count_ < kMaxFriendShips; ++r) {
        const std::uint32_t mmsi = Number(rows[r].mmsi, 0);
        if (mmsi == 0) continue;
        FriendShip& f = items_[count_++];
        f = FriendShip{};
        f.mmsi = mmsi;
        CopyName(rows[r].englishName, f.englishName);
        CopyName(rows[r].localName, f.localName);
        f.friendFlag = Trim(rows[r].friendFlag) == "Y" ? 1 : 0;
    }
    return true;
}

std::string FriendList::FileText() const {
    std::string text;
    char line[80];
    for (int i = 0; i < count_; ++i) {
        const FriendShip& f = items_[i];
        std::snprintf(line, sizeof line, "%09u,%s,%s,%d\n", f.mmsi, f.englishName.data(),
                      f.localName.data(), f.friendFlag);
        text += line;
    }
    return text;
}

void FriendList::ParseFile(std::string_view text) {
    count_ = 0;
    std::size_t at = 0;
    while (at < text.size() && count_ < kMaxFriendShips) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();  // a last line without LF counts
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.size() > kMaxLineLength) break;
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty()) continue;
        FriendShip& f = items_[count_++];
        f = FriendShip{};
        f.mmsi = Number(Field(line, 0), 999999999);
        auto name = [](std::string_view s) {
            s = CleanName(s);
            return s == " " ? std::string_view() : s;
        };
        CopyName(name(Field(line, 1)), f.englishName);
        CopyName(name(Field(line, 2)), f.localName);
        // An empty or missing flag reads as not a friend.
        f.friendFlag = Number(Field(line, 3), 0) == 1 ? 1 : 0;
    }
}

bool FriendList::Load(const std::string& path) {
    bool missing = false;
    const auto text = base::ReadFileLimited(path, kMaxFileBytes, &missing);
    if (!text) return missing;
    ParseFile(*text);
    return true;
}

bool FriendList::Save(const std::string& path) const {
    return base::WriteFileAtomically(path, FileText());
}

std::string NormalisedMmsiCell(std::string_view cell) {
    char text[16];
    std::snprintf(text, sizeof text, "%09u", Number(cell, 0));
    return text;
}

std::string NormalisedFriendCell(std::string_view cell) {
    cell = Trim(cell);
    return cell == "Y" || cell == "y" ? "Y" : "N";
}

ShipMarks::ShipMarks(ais::TargetTable& table, const FriendList& friends)
    : table_(table), friends_(friends) {}

void ShipMarks::recount() {
    // Recounted from the table, so that the count can never drift from the marks.
    monitoredCount_ = 0;
    for (int i = 1; i < table_.count(); ++i)
        monitoredCount_ += table_[i].monitored == 1 ? 1 : 0;
}

void ShipMarks::addMonitored(int index) {
    if (index <= 0 || !table_.valid(index)) return;
    table_[index].monitored = 1;
    recount();
}

void ShipMarks::removeMonitored(int index) {
    if (index <= 0 || !table_.valid(index)) return;
    table_[index].monitored = 0;
    recount();
}

void ShipMarks::removeMonitoredMmsi(std::uint32_t mmsi) {
    for (int i = 1; i < table_.count(); ++i) {
        if (table_[i].mmsi == mmsi && table_[i].monitored == 1) removeMonitored(i);
    }
}

bool ShipMarks::isMonitored(int index) const {
    return index > 0 && table_.valid(index) && table_[index].monitored == 1;
}

bool ShipMarks::isFriend(int index) const {
    if (index <= 0 || !table_.valid(index)) return false;
    FriendMark& mark = marks_[static_cast<std::size_t>(index)];
    // A new target at this index (or a reused entry) takes its mark now.
    if (mark.mmsi != table_[index].mmsi) {
        mark.mmsi = table_[index].mmsi;
        mark.isFriend = friends_.IsFriend(mark.mmsi);
    }
    return mark.isFriend;
}

void ShipMarks::refreshFriendMarks() {
    for (int i = 1; i < ais::kTargetTableSize; ++i) {
        const bool used = table_.valid(i);
        marks_[static_cast<std::size_t>(i)] = {used ? table_[i].mmsi : 0,
                                               used && friends_.IsFriend(table_[i].mmsi)};
    }
}

chart::TargetMarks ShipMarks::targetMarks(int slot, std::uint32_t mmsi) const {
    if (!table_.valid(slot) || table_[slot].mmsi != mmsi) return {};
    return {isFriend(slot), isMonitored(slot)};
}

std::string ShipMarks::symbolHint(int index) const {
    if (!table_.valid(index)) return {};
    const ais::TargetRecord& t = table_[index];
    char hint[96];
    std::snprintf(hint, sizeof hint, "MMSI:%09u\nName:%s\nMonitored:%s", t.mmsi, t.name.data(),
                  isMonitored(index) ? "Monitored" : "Not Monitored");
    return hint;
}

void ShipMarks::onTargetRemoved(int index) {
    if (index <= 0 || index >= ais::kTargetTableSize) return;
    std::move(marks_.begin() + index + 1, marks_.end(), marks_.begin() + index);
    marks_.back() = FriendMark{};
    recount();
}

}  // namespace norq::messaging
