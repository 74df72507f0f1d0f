#include "crew/CrewDeviceFile.h"

#include <charconv>
#include <cstdio>

#include "base/Files.h"

namespace norq::crew {

namespace {

// Far more than 200 lines with long photo paths; a larger file is not a device file.
constexpr std::size_t kMaxFileBytes = 16u << 20;

bool ReadNumber(std::string_view field, int& out) {
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    if (field.empty()) return false;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), out);
    return ec == std::errc{} && end == field.data() + field.size();
}

// Takes the text up to the next comma off `rest`; false when there is no comma.
bool TakeField(std::string_view& rest, std::string_view& field) {
    const std::size_t comma = rest.find(',');
    if (comma == std::string_view::npos) return false;
    field = rest.substr(0, comma);
    rest.remove_prefix(comma + 1);
    return true;
}

// A single space stands for an empty text.
std::string_view Blank(std::string_view field) {
    return field == " " ? std::string_view{} : field;
}

bool ReadDeviceId(std::string_view text, CrewDeviceId& id) {
    for (int i = 0; i < 3; ++i) {
        const std::size_t colon = text.find(':');
        const std::string_view part = i < 2 ? text.substr(0, colon) : text;
        if (i < 2 && colon == std::string_view::npos) return false;
        int value = 0;
        if (!ReadNumber(part, value) || value < 0 || value > 255) return false;
        id.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
        if (i < 2) text.remove_prefix(colon + 1);
    }
    return true;
}

// One line; false when a part is missing.
bool ReadLine(std::string_view line, CrewDevice& d, int& slot, std::string_view& photo) {
    std::string_view rest = line;
    std::string_view idText, typeText, name, slotText;
    if (!TakeField(rest, idText) || !TakeField(rest, typeText) || !TakeField(rest, name) ||
        !TakeField(rest, slotText)) {
        return false;
    }
    int type = 0;
    if (!ReadNumber(typeText, type) || !ReadNumber(slotText, slot)) return false;
    // The photo path runs to the comma before the notes' opening brace, so a
    // path with commas in it still reads back.
    const std::size_t open = rest.rfind(",{");
    const std::size_t close = rest.rfind('}');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return false;
    }
    photo = Blank(rest.substr(0, open));
    const std::string_view notes = rest.substr(open + 2, close - open - 2);
    if (!ReadDeviceId(idText, d.id)) return false;
    d.type = static_cast<CrewDeviceType>(type < 0 ? 4 : (type > 4 ? 4 : type));
    d.name = LimitCharacters(Blank(name), kCrewNameLength);
    d.notes = LimitCharacters(notes, kCrewNotesLength);
    return true;
}

}  // namespace

void CareRowRemoved(CareSlots& slots, int row) {
    for (CareSlot& s : slots) {
        if (s.row == row) {
            s = CareSlot{};
        } else if (s.row > row) {
            --s.row;
        }
    }
}

void CareRowsReordered(CareSlots& slots, const std::array<int, kMaxCrewDevices>& order, int count) {
    for (CareSlot& s : slots) {
        if (s.row < 0) continue;
        for (int i = 0; i < count; ++i) {
            if (order[static_cast<std::size_t>(i)] == s.row) {
                s.row = i;
                break;
            }
        }
    }
}

std::string CrewDeviceFileText(const CrewDeviceTable& table, const CareSlots& slots) {
    std::string text;
    for (int row = 0; row < table.count(); ++row) {
        const CrewDevice& d = table[row];
        int slot = -1;
        for (int s = 0; s < kCareSlots; ++s)
            if (slots[static_cast<std::size_t>(s)].row == row) slot = s;
        const std::string& photo =
            slot >= 0 ? slots[static_cast<std::size_t>(slot)].photoPath : std::string{};
        char head[32];
        std::snprintf(head, sizeof head, "%s,%02d,", d.id.text(':').c_str(),
                      static_cast<int>(d.type));
        text += head;
        text += d.name.empty() ? std::string(" ") : d.name;
        text += ',' + std::to_string(slot) + ',';
        text += photo.empty() ? std::string(" ") : photo;
        text += ",{" + d.notes + "}\n";
    }
    return text;
}

void ParseCrewDeviceFile(std::string_view text, CrewDeviceTable& table, CareSlots& slots) {
    table.clear();
    slots = CareSlots{};
    ForEachLine(text, [&](std::string_view line) {
        if (table.full()) return;
        CrewDevice d;
        int slot = -1;
        std::string_view photo;
        if (!ReadLine(line, d, slot, photo)) return;
        const int row = table.count();
        if (!table.append(d)) return;
        if (slot >= 0 && slot < kCareSlots) {
            slots[static_cast<std::size_t>(slot)].row = row;
            slots[static_cast<std::size_t>(slot)].photoPath = std::string(photo);
        }
    });
}

bool LoadCrewDevices(const std::string& path, CrewDeviceTable& table, CareSlots& slots) {
    const auto bytes = base::ReadFileLimited(path, kMaxFileBytes);
    if (!bytes) {
        table.clear();
        slots = CareSlots{};
        return false;
    }
    ParseCrewDeviceFile(*bytes, table, slots);
    return true;
}

bool SaveCrewDevices(const std::string& path, const CrewDeviceTable& table,
                     const CareSlots& slots) {
    return base::WriteFileAtomically(path, CrewDeviceFileText(table, slots));
}

}  // namespace norq::crew
