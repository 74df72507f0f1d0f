#include "messaging/ChannelRegions.h"

#include <algorithm>

#include "ais/TargetTexts.h"

namespace norq::messaging {

namespace {

std::int16_t Channel(int value) {
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

std::string LatLonText(double lat, double lon, std::string_view degree) {
    std::string text(ais::ChartLatitudeText(lat, degree).view());
    text += ", ";
    text += ais::ChartLongitudeText(lon, degree).view();
    return text;
}

}  // namespace

bool ChannelRegionList::AddChannelRegion(const ais::ChannelRegion& r, std::string_view updateTime) {
    for (int i = 0; i < count_; ++i) {
        const ChannelRegion& s = regions_[i];
        if (s.longitude1 == r.longitude1 && s.longitude2 == r.longitude2 &&
            s.latitude1 == r.latitude1 && s.latitude2 == r.latitude2) {
            return false;
        }
    }
    if (count_ == kCapacity) {
        std::move(regions_.begin() + 1, regions_.end(), regions_.begin());
        --count_;
    }
    ChannelRegion& place = regions_[count_++];
    place.longitude1 = r.longitude1;
    place.latitude1 = r.latitude1;
    place.longitude2 = r.longitude2;
    place.latitude2 = r.latitude2;
    place.channelA = Channel(r.channelA);
    place.channelB = Channel(r.channelB);
    place.updateTime = std::string(updateTime.substr(0, kUpdateTimeLength));
    return true;
}

bool ChannelRegionList::remove(int row) {
    if (count_ <= 1) {
        const bool had = count_ == 1;
        count_ = 0;
        return had;
    }
    if (row < 0 || row >= count_) return false;
    std::move(regions_.begin() + row + 1, regions_.begin() + count_, regions_.begin() + row);
    --count_;
    return true;
}

RegionRowTexts RegionRow(const ChannelRegion& region, int row, std::string_view degree) {
    RegionRowTexts t;
    t.cells[0] = std::to_string(row + 1);
    t.cells[1] = LatLonText(region.latitude1, region.longitude1, degree);
    t.cells[2] = LatLonText(region.latitude2, region.longitude2, degree);
    t.cells[3] = std::to_string(region.channelA);
    t.cells[4] = std::to_string(region.channelB);
    t.cells[5] = region.updateTime;
    return t;
}

}  // namespace norq::messaging
