// The device file MOB.csv, which keeps the registered crew-watch devices and
// the care slots between runs, one line per table row:
//
//   147:250:047,01,Deck 1,2, ,{Diabetic}
//
// ID, type, name (a single space when empty), the care slot holding the row
// (-1 for none), that slot's photo path (a single space when none) and the
// notes between braces. State, battery, zone and times are not kept: a loaded
// device is OFF until the controller reports it. Lines may be of any length;
// the photo path and the notes may hold commas (names cannot: the crew list
// refuses them).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "crew/CrewDevices.h"

namespace norq::crew {

inline constexpr int kCareSlots = 4;

// One slot of the care window: the table row shown (-1 when empty) and a photo.
struct CareSlot {
    int row = -1;
    std::string photoPath;
};
using CareSlots = std::array<CareSlot, kCareSlots>;

// Table row `row` was removed: the slot that showed it is emptied and the
// slots of later rows follow their devices up by one.
void CareRowRemoved(CareSlots& slots, int row);
// The table was put in a new order (order[i] is the old row of new row i).
void CareRowsReordered(CareSlots& slots, const std::array<int, kMaxCrewDevices>& order, int count);

std::string CrewDeviceFileText(const CrewDeviceTable& table, const CareSlots& slots);
// Empties the table and the slots, then reads the devices (at most 200).
void ParseCrewDeviceFile(std::string_view text, CrewDeviceTable& table, CareSlots& slots);

// A missing or unreadable file leaves the table empty.
bool LoadCrewDevices(const std::string& path, CrewDeviceTable& table, CareSlots& slots);
// Written to a temporary file and renamed over the old one.
bool SaveCrewDevices(const std::string& path, const CrewDeviceTable& table, const CareSlots& slots);

// Splits text into lines at LF, of any length; a last line without LF counts.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        f(line);
        if (lf == std::string_view::npos) break;
        text.remove_prefix(lf + 1);
    }
}

}  // namespace norq::crew
