// The channel-management regions heard from base stations (message 22): up to
// ten regions, each kept once with the time it was first heard.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ais/TargetViews.h"

namespace norq::messaging {

// One stored region: the corners and channels as decoded, and the update time
// text (up to 20 characters) of its first reception.
struct ChannelRegion {
    double longitude1 = 0.0;
    double latitude1 = 0.0;
    double longitude2 = 0.0;
    double latitude2 = 0.0;
    std::int16_t channelA = 0;
    std::int16_t channelB = 0;
    std::string updateTime;
};

class ChannelRegionList {
  public:
    static constexpr int kCapacity = 10;
    static constexpr std::size_t kUpdateTimeLength = 20;

    // Stores the region unless one with exactly the same four corner values is
    // stored already. With all ten places taken the oldest region gives way, so
    // the list always shows the regions heard last. True when stored.
    bool AddChannelRegion(const ais::ChannelRegion& region, std::string_view updateTime);
    // The grid's "Remove" on a row (0 = first data row): with one region or
    // none the list is emptied; otherwise the row's region goes and the later
    // ones move up. False when nothing changed.
    bool remove(int row);
    void clear() { count_ = 0; }

    int count() const { return count_; }
    // Rows the grid shows: at least one, empty while no region is stored.
    int rowCount() const { return count_ == 0 ? 1 : count_; }
    const ChannelRegion& operator[](int index) const { return regions_[index]; }

  private:
    std::array<ChannelRegion, kCapacity> regions_{};
    int count_ = 0;
};

// The grid's cells of a stored region: "No", "Ambit A", "Ambit B", "Ch1", "Ch2",
// "Update Time". The coordinate texts are the main window's latitude and
// longitude texts.
struct RegionRowTexts {
    std::array<std::string, 6> cells;
};
RegionRowTexts RegionRow(const ChannelRegion& region, int row, std::string_view degree);

}  // namespace norq::messaging
