// Monitored and friend ships: two operator-kept marks on AIS targets.
//
// A monitored ship is flagged in its target table entry (the entry's
// `monitored` byte, which moves with the entry). A friend ship is an MMSI of
// the friend list (buddy.csv) with its friend flag; the chart's friend mark of
// each target is kept here, per table index, and moves down with the table
// when a target ages out. The chart reads both marks as its TargetMarkSource.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ais/TargetTable.h"
#include "ais/TargetViews.h"
#include "chart/ChartLayers.h"

namespace norq::messaging {

inline constexpr int kMaxFriendShips = 256;
inline constexpr std::size_t kFriendNameLength = 20;

struct FriendShip {
    std::uint32_t mmsi = 0;
    std::array<char, kFriendNameLength + 1> englishName{};
    std::array<char, kFriendNameLength + 1> localName{};
    std::uint8_t friendFlag = 0;
};

// One row of the friend dialog's grid, as typed.
struct FriendRow {
    std::string mmsi;
    std::string englishName;
    std::string localName;
    std::string friendFlag;
};

class FriendList {
  public:
    bool IsFriend(std::uint32_t mmsi) const;
    int count() const { return count_; }
    const FriendShip& operator[](int i) const { return items_[i]; }

    // OK of the dialog: rows with a non-zero MMSI, in grid order. False (and
    // nothing changed) when a name holds a comma or a line break.
    bool setFromRows(const FriendRow* rows, int rowCount);
    // "%09d,%s,%s,%d\n" per entry.
    std::string FileText() const;
    void ParseFile(std::string_view text);
    bool Load(const std::string& path);
    bool Save(const std::string& path) const;

  private:
    std::array<FriendShip, kMaxFriendShips> items_{};
    int count_ = 0;
};

// The grid's cell rules: an MMSI cell becomes "%09d" of its number (0 when it
// is not one); a Friend cell becomes "Y" or "N".
std::string NormalisedMmsiCell(std::string_view cell);
std::string NormalisedFriendCell(std::string_view cell);

class ShipMarks final : public ais::TargetFollowUps, public chart::TargetMarkSource {
  public:
    ShipMarks(ais::TargetTable& table, const FriendList& friends);

    // The chart's popup menu items on a target.
    void addMonitored(int index);
    void removeMonitored(int index);
    // "Delete" in the monitored list: every entry with the MMSI loses its mark.
    void removeMonitoredMmsi(std::uint32_t mmsi);
    int monitoredCount() const { return monitoredCount_; }
    void setMonitoredOnly(bool on) { monitoredOnly_ = on; }

    // After the friend list changed: every target's friend mark again.
    void refreshFriendMarks();

    bool isMonitored(int index) const;
    bool isFriend(int index) const;
    // "Show Monitored Ships Only".
    bool monitoredOnly() const { return monitoredOnly_; }
    // The symbol's hint with the monitored line.
    std::string symbolHint(int index) const;

    // chart::TargetMarkSource
    chart::TargetMarks targetMarks(int slot, std::uint32_t mmsi) const override;

    // ais::TargetFollowUps
    void onTargetRemoved(int index) override;

  private:
    void recount();
    struct FriendMark {
        std::uint32_t mmsi = 0;  // the MMSI the mark was taken for
        bool isFriend = false;
    };
    ais::TargetTable& table_;
    const FriendList& friends_;
    mutable std::array<FriendMark, ais::kTargetTableSize> marks_{};
    int monitoredCount_ = 0;
    bool monitoredOnly_ = false;
};

}  // namespace norq::messaging
