// Arbitrary bytes as a route waypoint file and as a route index file: read with
// their checks, written back and read again. What was read once must write and
// read again unchanged, and every waypoint read must lie on the globe.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "nav/RouteStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const norq::nav::WaypointReadResult read = norq::nav::DecodeWaypoints(bytes);
    for (const norq::nav::Waypoint& w : read.waypoints) {
        if (!(std::fabs(w.latitude) <= 90.0 && std::fabs(w.longitude) <= 180.0)) __builtin_trap();
    }
    const std::string written = norq::nav::EncodeWaypoints(read.waypoints);
    const norq::nav::WaypointReadResult again = norq::nav::DecodeWaypoints(written);
    if (again.damaged || norq::nav::EncodeWaypoints(again.waypoints) != written) __builtin_trap();

    std::vector<norq::nav::Route> routes = norq::nav::DecodeRouteIndex(bytes);
    if (routes.size() > static_cast<std::size_t>(norq::nav::kMaxRoutes)) __builtin_trap();
    const std::string index = norq::nav::EncodeRouteIndex(routes);
    if (norq::nav::EncodeRouteIndex(norq::nav::DecodeRouteIndex(index)) != index) __builtin_trap();
    return 0;
}
