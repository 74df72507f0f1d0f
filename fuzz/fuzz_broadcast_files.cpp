// Arbitrary bytes as the fairway list's lines, as a fairway waypoint file and
// as a daily traffic count file, read with their checks and written back. What
// was read once must write and read again unchanged, every waypoint read must
// lie on the globe, and an inquiry over hostile count files stays in bounds.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "messaging/FairwayList.h"
#include "messaging/TrafficStatistics.h"

namespace {

using namespace norq::messaging;

void ListLines(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = bytes.substr(0, end);
        Fairway f;
        if (ParseFairwayListLine(line, f)) {
            if (f.linkageId < 0 || f.linkageId > kMaxLinkageId) __builtin_trap();
            const std::string written = FairwayListLine(f);
            Fairway again;
            std::string_view text = written;
            if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
            if (!ParseFairwayListLine(text, again) || FairwayListLine(again) != written)
                __builtin_trap();
        }
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
}

void Waypoints(std::string_view bytes) {
    const std::vector<FairwayWaypoint> read = DecodeWaypoints(bytes);
    for (const FairwayWaypoint& w : read) {
        if (!(std::fabs(w.latitude) <= 90.0 && std::fabs(w.longitude) <= 180.0)) __builtin_trap();
    }
    const std::string written = EncodeWaypoints(read);
    if (EncodeWaypoints(DecodeWaypoints(written)) != written) __builtin_trap();
}

void Counts(std::string_view bytes) {
    DayCounts counts{};
    if (DecodeDayCounts(bytes, counts) == CountFileStatus::Ok && EncodeDayCounts(counts) != bytes)
        __builtin_trap();
    // The same bytes as every day's file of a two-day inquiry.
    InquiryRequest request;
    request.from = {2011, 11, 8};
    request.to = {2011, 11, 9};
    request.interval = bytes.empty() ? 5 : 5 * (1 + static_cast<unsigned char>(bytes[0]) % 12);
    const InquiryResult result = ShowTrafficStatistics(
        request, [&](const CivilDate&, DayCounts& day) { return DecodeDayCounts(bytes, day); });
    if (result.points.size() > 2 * kSlotsPerDay) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ListLines(bytes);
    Waypoints(bytes);
    Counts(bytes);
    return 0;
}
