// The binary application messages that are broadcast as message 8 (DAC 1):
// the area notice (FI 22) as a circle, a point, a polyline or a polygon, its
// cancellation, and the route information (FI 27). Distances and the radius
// are scaled into the few bits the messages allow; a polyline or polygon goes
// out as a point message at its first corner, a shape message with the first
// four segments and continuation messages of four segments each.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "ais/AisLayout.h"
#include "ais/BbmSender.h"

namespace norq::messaging {

inline constexpr std::uint32_t kRadiusLimit = 4095;    // 12-bit radius field
inline constexpr std::uint32_t kDistanceLimit = 1023;  // 10-bit segment distance
inline constexpr int kMaxSegments = 18;
inline constexpr int kMaxCorners = kMaxSegments + 1;
inline constexpr std::uint32_t kDefaultDuration = 262143;
inline constexpr std::uint8_t kCancelNotice = 126;
inline constexpr std::uint8_t kRouteCancelType = 31;
inline constexpr double kBearingNotAvailable = 361.0;

enum class AreaShape : std::uint8_t { Circle = 0, Polyline = 3, Polygon = 4 };

struct ScaleChoice {
    int scale = 0;              // 0-3: units of 10^scale metres; 4 on error
    std::uint32_t divisor = 1;  // 10^scale
    bool error = false;
};

// The smallest scale at which `metres` fits `limit` units.
ScaleChoice ChooseScale(double metres, std::uint32_t limit);

// "[ERROR] Radius > 4095000 metres" or "[ERROR] Distance > 1023000 metres".
std::string ScaleErrorText(std::uint32_t limit);

// Degrees true 0 <= b < 360 from the first to the second position, or 361
// when either is out of range; 0 for the same position.
double LegBearing(double lon1, double lat1, double lon2, double lat2);

// Metres along the great circle between two positions.
double LegMetres(double lon1, double lat1, double lon2, double lat2);

struct Corner {
    double longitude = 0;
    double latitude = 0;
};

// Date, time and numbering shared by every message of one notice or route.
struct NoticeHeader {
    std::uint16_t linkageId = 1;
    std::uint8_t noticeDescription = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint32_t duration = kDefaultDuration;
};

// One segment in transmission units, and the leg it came from.
struct SegmentPair {
    std::uint32_t angle = 0;     // half degrees 0-719
    std::uint32_t distance = 0;  // units of 10^scale metres 0-1023
    double bearing = 0;          // degrees
    double metres = 0;
};

struct SegmentList {
    std::array<SegmentPair, kMaxSegments> pairs{};
    int filled = 0;
    int scale = 0;
};

// Every message of one area notice, in sending order. A polyline of 18
// segments takes the point message, the shape message and four continuations.
struct NoticeSeries {
    std::array<ais::AreaNoticeRecord, 6> records{};
    int count = 0;
    std::string error;  // the scale error, when the notice could not be built

    std::span<const ais::AreaNoticeRecord> view() const {
        return {records.data(), static_cast<std::size_t>(count)};
    }
};

// The legs between consecutive corners (at most 18) scaled to one common
// scale; false with the error text when the longest leg does not fit.
bool BuildSegments(std::span<const Corner> corners, SegmentList& out, std::string& error);

// A circle (radius > 0) or point (radius 0) around `centre`.
NoticeSeries BuildCircleNotice(const NoticeHeader& header, Corner centre, double radiusMetres,
                               std::uint8_t precision = 4);
// A polyline or polygon through the corners (at least two).
NoticeSeries BuildShapeNotice(const NoticeHeader& header, AreaShape shape,
                              std::span<const Corner> corners);
// The cancellation of the notice with the header's linkage ID.
NoticeSeries BuildCancelNotice(const NoticeHeader& header);

// A route of at most 16 waypoints (more are cut); route type 31 with no
// waypoints cancels the route of that linkage ID.
ais::RouteInfoRecord BuildRoute(const NoticeHeader& header, std::uint8_t senderClass,
                                std::uint8_t routeType, std::span<const Corner> waypoints);

// Packs each record with its layout and sends it as BBM sentences on a
// channel item (0 default, 1 channel A, 2 channel B).
class BinaryMessageSender {
  public:
    explicit BinaryMessageSender(ais::BinaryBbmSender& bbm) : bbm_(bbm) {}

    // True only when every sentence of every message was written; an empty
    // series, or a record without layout, sends nothing and gives false.
    bool Send(const NoticeSeries& series, int channel);
    bool Send(const ais::RouteInfoRecord& route, int channel);
    int sentencesSent() const { return sentences_; }

  private:
    bool sendPacked(const ais::AisLayout* layout, const ais::AisBitBuffer& bits, int channel);

    ais::BinaryBbmSender& bbm_;
    int sentences_ = 0;  // of the last Send
};

}  // namespace norq::messaging
