#include "messaging/AreaNotice.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ais/AisEncoder.h"
#include "ais/Geometry.h"

namespace norq::messaging {
namespace {

ais::AreaNoticeRecord Header(const NoticeHeader& h, AreaShape shape, int scale) {
    ais::AreaNoticeRecord r{};
    r.dac = 1;
    r.fi = 22;
    r.linkageId = h.linkageId;
    r.noticeDescription = h.noticeDescription;
    r.month = h.month;
    r.day = h.day;
    r.hour = h.hour;
    r.minute = h.minute;
    r.duration = h.duration;
    r.areaShape = static_cast<std::uint8_t>(shape);
    r.scaleFactor = static_cast<std::uint8_t>(scale);
    return r;
}

ais::AreaNoticeRecord PointRecord(const NoticeHeader& h, Corner at) {
    ais::AreaNoticeRecord r = Header(h, AreaShape::Circle, 0);
    r.longitude = static_cast<float>(at.longitude);
    r.latitude = static_cast<float>(at.latitude);
    r.precision = 4;
    return r;
}

bool OutOfRange(double lon, double lat) {
    return !(std::fabs(lon) <= 180.0) || !(std::fabs(lat) <= 90.0);
}

}  // namespace

ScaleChoice ChooseScale(double metres, std::uint32_t limit) {
    ScaleChoice c;
    if (!(metres >= 0.0)) metres = 0.0;
    while (metres / c.divisor > limit) {
        ++c.scale;
        c.divisor *= 10;
        if (c.scale > 3) {
            c.error = true;
            break;
        }
    }
    return c;
}

std::string ScaleErrorText(std::uint32_t limit) {
    return limit == kRadiusLimit ? "[ERROR] Radius > 4095000 metres"
                                 : "[ERROR] Distance > 1023000 metres";
}

double LegBearing(double lon1, double lat1, double lon2, double lat2) {
    if (OutOfRange(lon1, lat1) || OutOfRange(lon2, lat2)) return kBearingNotAvailable;
    if (lon1 == lon2 && lat1 == lat2) return 0.0;
    double east = ais::GreatCircleKm(lon1, lat1, lon2, lat1);
    double north = ais::GreatCircleKm(lon1, lat1, lon1, lat2);
    // East or west by the shorter way round, across the 180th meridian too.
    if (ais::LongitudeDifference(lon1, lon2) < 0.0) east = -east;
    if (lat2 < lat1) north = -north;
    double b = 90.0 - std::atan2(north, east) * 180.0 / std::numbers::pi;
    if (b >= 360.0) b -= 360.0;
    if (b < 0.0) b += 360.0;
    return b > 359.99 ? 0.0 : b;
}

double LegMetres(double lon1, double lat1, double lon2, double lat2) {
    return ais::GreatCircleKm(lon1, lat1, lon2, lat2) * 1000.0;
}

bool BuildSegments(std::span<const Corner> corners, SegmentList& out, std::string& error) {
    out = SegmentList{};
    const std::size_t legs = corners.size() < 2 ? 0 : std::min<std::size_t>(corners.size() - 1, 18);
    double longest = 0.0;
    for (std::size_t i = 0; i < legs; ++i) {
        const Corner a = corners[i];
        const Corner b = corners[i + 1];
        SegmentPair& p = out.pairs[i];
        p.bearing = LegBearing(a.longitude, a.latitude, b.longitude, b.latitude);
        if (p.bearing == kBearingNotAvailable) return false;
        p.metres = LegMetres(a.longitude, a.latitude, b.longitude, b.latitude);
        longest = std::max(longest, p.metres);
    }
    const ScaleChoice scale = ChooseScale(longest, kDistanceLimit);
    if (scale.error) {
        error = ScaleErrorText(kDistanceLimit);
        return false;
    }
    out.scale = scale.scale;
    for (std::size_t i = 0; i < legs; ++i) {
        SegmentPair& p = out.pairs[i];
        // 359.75 degrees and above round to 720 half degrees: that is north.
        p.angle = static_cast<std::uint32_t>(std::trunc(p.bearing * 2.0 + 0.5)) % 720;
        p.distance = static_cast<std::uint32_t>(std::trunc(p.metres / scale.divisor + 0.5));
        if (p.distance > kDistanceLimit) return false;
    }
    out.filled = static_cast<int>(legs);
    return legs > 0;
}

NoticeSeries BuildCircleNotice(const NoticeHeader& header, Corner centre, double radiusMetres,
                               std::uint8_t precision) {
    NoticeSeries s;
    if (OutOfRange(centre.longitude, centre.latitude)) return s;
    const ScaleChoice scale = ChooseScale(radiusMetres, kRadiusLimit);
    if (scale.error) {
        s.error = ScaleErrorText(kRadiusLimit);
        return s;
    }
    ais::AreaNoticeRecord r = Header(header, AreaShape::Circle, scale.scale);
    r.longitude = static_cast<float>(centre.longitude);
    r.latitude = static_cast<float>(centre.latitude);
    r.precision = precision;
    r.radius = static_cast<std::uint32_t>(std::trunc(std::max(radiusMetres, 0.0) / scale.divisor));
    s.records[0] = r;
    s.count = 1;
    return s;
}

NoticeSeries BuildShapeNotice(const NoticeHeader& header, AreaShape shape,
                              std::span<const Corner> corners) {
    NoticeSeries s;
    SegmentList list;
    if (shape == AreaShape::Circle || !BuildSegments(corners, list, s.error)) return s;
    s.records[s.count++] = PointRecord(header, corners[0]);
    for (int first = 0; first < list.filled; first += 4) {
        ais::AreaNoticeRecord r = Header(header, shape, list.scale);
        for (int k = 0; k < 4 && first + k < list.filled; ++k) {
            r.segments[2 * k] = list.pairs[first + k].angle;
            r.segments[2 * k + 1] = list.pairs[first + k].distance;
        }
        s.records[s.count++] = r;
    }
    return s;
}

NoticeSeries BuildCancelNotice(const NoticeHeader& header) {
    NoticeHeader h;
    h.linkageId = header.linkageId;
    h.noticeDescription = kCancelNotice;
    h.duration = 0;
    NoticeSeries s;
    s.records[0] = PointRecord(h, Corner{181.0, 91.0});
    s.count = 1;
    return s;
}

ais::RouteInfoRecord BuildRoute(const NoticeHeader& header, std::uint8_t senderClass,
                                std::uint8_t routeType, std::span<const Corner> waypoints) {
    ais::RouteInfoRecord r{};
    r.dac = 1;
    r.fi = 27;
    r.linkageId = header.linkageId;
    r.senderClass = senderClass;
    r.routeType = routeType;
    r.month = header.month;
    r.day = header.day;
    r.hour = header.hour;
    r.minute = header.minute;
    r.duration = header.duration;
    const std::size_t n = std::min(waypoints.size(), ais::kRouteMaxWaypoints);
    r.waypointCount = static_cast<std::uint8_t>(n);
    for (std::size_t i = 0; i < n; ++i) {
        r.waypoints[i] = {static_cast<float>(waypoints[i].longitude),
                          static_cast<float>(waypoints[i].latitude)};
    }
    return r;
}

bool BinaryMessageSender::sendPacked(const ais::AisLayout* layout, const ais::AisBitBuffer& bits,
                                     int channel) {
    if (layout == nullptr || bits.bitCount == 0) return false;
    const ais::ArmouredPayload payload = ais::ArmourPayload(bits);
    const std::size_t n = payload.length;
    if (n == 0 || n > ais::kMaxBbmPayload) return false;
    const int expected =
        static_cast<int>((n + ais::kMaxBbmSentencePayload - 1) / ais::kMaxBbmSentencePayload);
    const int sent = bbm_.SendBinaryBbm(payload, channel);
    sentences_ += sent;
    return sent == expected;
}

bool BinaryMessageSender::Send(const NoticeSeries& series, int channel) {
    sentences_ = 0;
    if (series.count == 0) return false;
    for (const ais::AreaNoticeRecord& r : series.view()) {
        const ais::AisLayout* layout = ais::SelectEncodeLayout(r.fi, r.areaShape);
        ais::AisBitBuffer bits{};
        ais::PackFields(layout, r, bits);
        if (!sendPacked(layout, bits, channel)) return false;
    }
    return true;
}

bool BinaryMessageSender::Send(const ais::RouteInfoRecord& route, int channel) {
    sentences_ = 0;
    const ais::AisLayout* layout = ais::SelectEncodeLayout(route.fi, 0);
    ais::AisBitBuffer bits{};
    ais::PackFields(layout, route, bits);
    return sendPacked(layout, bits, channel);
}

}  // namespace norq::messaging
