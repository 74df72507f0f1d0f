#include "messaging/FairwayBroadcast.h"

#include <algorithm>
#include <vector>

namespace norq::messaging {
namespace {

std::vector<Corner> Corners(const Fairway& f, std::size_t limit) {
    std::vector<Corner> out;
    for (std::size_t i = 0; i < f.waypoints.size() && i < limit; ++i) {
        out.push_back({f.waypoints[i].longitude, f.waypoints[i].latitude});
    }
    return out;
}

std::uint8_t Clamp(int v, int hi) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, hi));
}

}  // namespace

NoticeHeader FairwayHeader(const Fairway& f) {
    NoticeHeader h;
    h.linkageId = static_cast<std::uint16_t>(std::clamp(f.linkageId, 0, kMaxLinkageId));
    h.noticeDescription = Clamp(f.noticeDescription, 127);
    h.month = Clamp(f.month, 12);
    h.day = Clamp(f.day, 31);
    h.hour = Clamp(f.hour, 24);
    h.minute = Clamp(f.minute, 60);
    h.duration = static_cast<std::uint32_t>(std::clamp(f.duration, 0, kFairwayMaxDuration));
    return h;
}

NoticeSeries FairwayNotice(const Fairway& f) {
    const std::vector<Corner> corners = Corners(f, kMaxCorners);
    if (f.fi != 22 || corners.empty()) return {};
    if (f.areaShape == 0) {
        const double radius = corners.size() < 2
                                  ? 0.0
                                  : LegMetres(corners[0].longitude, corners[0].latitude,
                                              corners[1].longitude, corners[1].latitude);
        return BuildCircleNotice(FairwayHeader(f), corners[0], radius);
    }
    if (f.areaShape != 3 && f.areaShape != 4) return {};
    return BuildShapeNotice(FairwayHeader(f), static_cast<AreaShape>(f.areaShape), corners);
}

ais::RouteInfoRecord FairwayRoute(const Fairway& f) {
    const std::vector<Corner> points = Corners(f, ais::kRouteMaxWaypoints);
    return BuildRoute(FairwayHeader(f), 1, 1, points);
}

BroadcastResult BroadcastFairway(Fairway& f, BinaryMessageSender& sender, int channel,
                                 std::string& error) {
    bool sent = false;
    if (f.fi == 27) {
        if (f.waypoints.empty()) return BroadcastResult::NotBuilt;
        sent = sender.Send(FairwayRoute(f), channel);
    } else {
        const NoticeSeries series = FairwayNotice(f);
        error = series.error;
        if (series.count == 0) return BroadcastResult::NotBuilt;
        sent = sender.Send(series, channel);
    }
    if (!sent) return BroadcastResult::PortFailed;
    f.broadcast = true;
    return BroadcastResult::Sent;
}

BroadcastResult WithdrawFairway(Fairway& f, BinaryMessageSender& sender, int channel) {
    NoticeHeader h;
    h.linkageId = FairwayHeader(f).linkageId;
    bool sent = false;
    if (f.fi == 27) {
        h.duration = 0;
        sent = sender.Send(BuildRoute(h, 1, kRouteCancelType, {}), channel);
    } else {
        sent = sender.Send(BuildCancelNotice(h), channel);
    }
    if (!sent) return BroadcastResult::PortFailed;
    f.broadcast = false;
    return BroadcastResult::Sent;
}

}  // namespace norq::messaging
