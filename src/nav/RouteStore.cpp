#include "nav/RouteStore.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "ais/Geometry.h"
#include "base/Files.h"

namespace norq::nav {

namespace {

constexpr int kHitTolerance = 4;
// No leg on the globe is longer than half a circumference by plane sailing's
// measure with some margin; anything longer in a file is junk.
constexpr float kMaxLegNm = 21700.0f;

void PutLe64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFFu));
}
void PutLe32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFFu));
}
std::uint64_t GetLe64(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}
std::uint32_t GetLe32(const unsigned char* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}
void PutDouble(std::string& out, double d) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    PutLe64(out, bits);
}
void PutFloat(std::string& out, float f) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    PutLe32(out, bits);
}
double GetDouble(const unsigned char* p) {
    const std::uint64_t bits = GetLe64(p);
    double d = 0.0;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}
float GetFloat(const unsigned char* p) {
    const std::uint32_t bits = GetLe32(p);
    float f = 0.0f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

bool PositionUsable(double lon, double lat) {
    return std::isfinite(lon) && std::isfinite(lat) && std::fabs(lon) <= 180.0 &&
           std::fabs(lat) <= 90.0;
}

bool LegUsable(float distance, float bearing) {
    return std::isfinite(distance) && std::isfinite(bearing) && distance >= 0.0f &&
           distance <= kMaxLegNm && bearing >= 0.0f && bearing <= 360.0f;
}

// A waypoint file name of our own making: letters, digits, '_', '-', '.', no
// folder part and no "..", so an index line can never point outside the folder.
bool UsableFileName(std::string_view name) {
    if (name.empty() || name.size() > 64 || name.find("..") != std::string_view::npos) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-' || c == '.';
    });
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(start));
            break;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    return fields;
}

std::string TextField(std::string_view field) {
    return field == " " ? std::string() : CleanRouteText(field);
}

std::string WrittenText(const std::string& text) {
    return text.empty() ? std::string(" ") : text;
}

int TruncDistance(int dx, int dy) {
    return static_cast<int>(std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy));
}

bool Near(int px, int py, const Waypoint& w) {
    return std::abs(px - w.x) <= kHitTolerance && std::abs(py - w.y) <= kHitTolerance;
}

}  // namespace

double Route::totalDistance() const {
    double total = 0.0;
    for (const Waypoint& w : waypoints)
        total += w.legDistance;
    return total;
}

float LegDistanceNm(float lon1, float lat1, float lon2, float lat2) {
    // The shared plane sailing measures the longitude difference the short way.
    const auto km = static_cast<float>(ais::MidLatitudeKm(lon1, lat1, lon2, lat2));
    return static_cast<float>(km * kKmToNm);
}

float WaypointBearing(float lon1, float lat1, float lon2, float lat2) {
    auto east = static_cast<float>(ais::MidLatitudeKm(lon1, lat1, lon2, lat1));
    auto north = static_cast<float>(ais::MidLatitudeKm(lon1, lat1, lon1, lat2));
    // West when the short way round goes west (across 180 deg too).
    if (ais::LongitudeDifference(lon1, lon2) < 0.0) east = -east;
    if (lat2 - lat1 < 0.0f) north = -north;
    const auto radians = static_cast<float>(std::atan2(north, east));
    auto b = static_cast<float>(radians * -57.3 + 90.0);
    if (b > 360.0f) b -= 360.0f;
    if (b < 0.0f) b += 360.0f;
    return b;
}

void RecomputeLegs(std::vector<Waypoint>& waypoints) {
    for (std::size_t i = 0; i < waypoints.size(); ++i) {
        Waypoint& w = waypoints[i];
        if (i == 0) {
            w.legDistance = 0.0f;
            w.legBearing = 0.0f;
            continue;
        }
        const Waypoint& p = waypoints[i - 1];
        const auto lon1 = static_cast<float>(p.longitude);
        const auto lat1 = static_cast<float>(p.latitude);
        const auto lon2 = static_cast<float>(w.longitude);
        const auto lat2 = static_cast<float>(w.latitude);
        w.legDistance = LegDistanceNm(lon1, lat1, lon2, lat2);
        w.legBearing = WaypointBearing(lon1, lat1, lon2, lat2);
    }
}

double PlanSpeedKnots(std::string_view text) {
    double speed = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, speed);
    if (ec != std::errc() || ptr != end || !std::isfinite(speed) || speed <= 0.0)
        return kDefaultPlanSpeedKn;
    return speed;
}

std::int64_t RouteTimeSeconds(double distanceNm, double speedKn) {
    if (!std::isfinite(distanceNm) || distanceNm < 0.0) return 0;
    if (!std::isfinite(speedKn) || speedKn <= 0.0) speedKn = kDefaultPlanSpeedKn;
    const double seconds = std::trunc(distanceNm / speedKn * 3600.0);
    // About 3 million years: a bound, not a voyage.
    return static_cast<std::int64_t>(std::min(seconds, 1e14));
}

std::string FormatRouteTime(std::int64_t seconds, std::string_view hourUnit,
                            std::string_view minuteUnit) {
    if (seconds < 0) seconds = 0;
    const std::string hours = std::string(hourUnit);
    const std::string minutes = std::string(minuteUnit);
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%3lld %s  %2lld %s",
                  static_cast<long long>(seconds / 3600), hours.c_str(),
                  static_cast<long long>(seconds % 3600 / 60), minutes.c_str());
    return buffer;
}

std::string FilterPlanSpeed(std::string_view previous, std::string_view typed) {
    int points = 0;
    for (char c : typed) {
        if (c == '.') {
            if (++points > 1) return std::string(previous);
        } else if (c < '0' || c > '9') {
            return std::string(previous);
        }
    }
    return std::string(typed);
}

std::string CleanRouteText(std::string_view text) {
    std::string out;
    std::size_t characters = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool continuation = (byte & 0xC0u) == 0x80u;
        if (!continuation) {
            if (characters == kRouteTextLimit) break;
            ++characters;
        }
        out.push_back(c == ',' || byte < 0x20 ? ' ' : c);
    }
    return out;
}

std::string EncodeWaypoints(const std::vector<Waypoint>& waypoints) {
    std::string out;
    out.reserve(waypoints.size() * kWaypointRecordBytes);
    for (const Waypoint& w : waypoints) {
        PutDouble(out, w.latitude);
        PutDouble(out, w.longitude);
        PutFloat(out, w.legDistance);
        PutFloat(out, w.legBearing);
    }
    return out;
}

WaypointReadResult DecodeWaypoints(std::string_view bytes) {
    WaypointReadResult result;
    std::size_t records = bytes.size() / kWaypointRecordBytes;
    result.damaged = bytes.size() % kWaypointRecordBytes != 0;
    if (records > kMaxWaypoints) {
        records = kMaxWaypoints;
        result.damaged = true;
    }
    bool legsSound = true;
    const auto* base = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < records; ++i) {
        const unsigned char* p = base + i * kWaypointRecordBytes;
        Waypoint w;
        w.latitude = GetDouble(p);
        w.longitude = GetDouble(p + 8);
        w.legDistance = GetFloat(p + 16);
        w.legBearing = GetFloat(p + 20);
        if (!PositionUsable(w.longitude, w.latitude)) {
            result.damaged = true;
            continue;
        }
        if (!LegUsable(w.legDistance, w.legBearing)) legsSound = false;
        result.waypoints.push_back(w);
    }
    // A lost record changes the following leg; junk legs are measured again.
    if (result.damaged || !legsSound) {
        if (!legsSound) result.damaged = true;
        RecomputeLegs(result.waypoints);
    }
    return result;
}

std::string EncodeRouteIndex(const std::vector<Route>& routes) {
    std::string out;
    for (const Route& r : routes) {
        out += WrittenText(r.name);
        out += ',';
        out += r.fileName;
        out += ',';
        out += WrittenText(r.depart);
        out += ',';
        out += WrittenText(r.destination);
        out += ',';
        out += r.createdTime;
        out += ',';
        out += std::to_string(r.waypoints.size());
        out += ',';
        out += r.visible ? '1' : '0';
        out += ",\n";
    }
    return out;
}

std::vector<Route> DecodeRouteIndex(std::string_view text) {
    std::vector<Route> routes;
    std::size_t start = 0;
    while (start < text.size() && routes.size() < static_cast<std::size_t>(kMaxRoutes)) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string_view> f = SplitFields(line);
        if (f.size() < 7 || !UsableFileName(f[1])) continue;
        // Two routes never share a waypoint file.
        if (std::any_of(routes.begin(), routes.end(),
                        [&](const Route& r) { return r.fileName == f[1]; })) {
            continue;
        }
        Route r;
        r.name = TextField(f[0]);
        r.fileName = std::string(f[1]);
        r.depart = TextField(f[2]);
        r.destination = TextField(f[3]);
        r.createdTime = CleanRouteText(f[4]);
        r.visible = f[6] == "1";
        routes.push_back(std::move(r));
    }
    return routes;
}

// ---- RouteStore -----------------------------------------------------------------

int RouteStore::load() {
    routes_.clear();
    selectedRoute_ = selectedWaypoint_ = highlighted_ = -1;
    const std::optional<std::string> index = base::ReadFileLimited(indexPath(), kMaxIndexFileBytes);
    if (!index) return 0;
    int damaged = 0;
    for (Route& r : DecodeRouteIndex(*index)) {
        const std::optional<std::string> bytes = base::ReadFileLimited(
            folder_ + r.fileName, kMaxWaypoints * kWaypointRecordBytes + kWaypointRecordBytes);
        WaypointReadResult read;
        if (bytes) read = DecodeWaypoints(*bytes);
        if (!bytes || read.damaged) ++damaged;
        if (read.waypoints.empty()) continue;
        r.waypoints = std::move(read.waypoints);
        routes_.push_back(std::move(r));
    }
    return damaged;
}

bool RouteStore::saveIndex() const {
    return base::WriteFileAtomically(indexPath(), EncodeRouteIndex(routes_));
}

bool RouteStore::saveWaypoints(int index) const {
    if (!valid(index)) return false;
    const Route& r = route(index);
    return base::WriteFileAtomically(folder_ + r.fileName, EncodeWaypoints(r.waypoints));
}

AddWaypointResult RouteStore::addWaypoint(int x, int y, double lon, double lat) {
    if (count() >= kMaxRoutes) return AddWaypointResult::Full;
    Waypoint w;
    w.x = x;
    w.y = y;
    w.longitude = lon;
    w.latitude = lat;
    if (!building_.empty()) {
        const Waypoint& p = building_.back();
        const auto lon1 = static_cast<float>(p.longitude);
        const auto lat1 = static_cast<float>(p.latitude);
        w.legDistance = LegDistanceNm(lon1, lat1, static_cast<float>(lon), static_cast<float>(lat));
        w.legBearing =
            WaypointBearing(lon1, lat1, static_cast<float>(lon), static_cast<float>(lat));
    }
    building_.push_back(w);
    return AddWaypointResult::Added;
}

std::string RouteStore::uniqueFileName() const {
    for (int n = 1;; ++n) {
        std::string name = "Route" + std::to_string(n) + ".wpt";
        const bool used = std::any_of(routes_.begin(), routes_.end(),
                                      [&](const Route& r) { return r.fileName == name; });
        if (!used) return name;
    }
}

int RouteStore::finishRoute(std::string_view createdTime, bool* written) {
    if (written != nullptr) *written = false;
    if (building_.empty() || count() >= kMaxRoutes) return -1;
    Route r;
    r.name = "Route" + std::to_string(count() + 1);
    r.fileName = uniqueFileName();
    r.createdTime = CleanRouteText(createdTime);
    r.visible = true;
    r.waypoints = std::move(building_);
    building_.clear();
    routes_.push_back(std::move(r));
    const int index = count() - 1;
    const bool ok = saveWaypoints(index) && saveIndex();
    if (written != nullptr) *written = ok;
    return index;
}

RouteHit RouteStore::hitTest(int x, int y) {
    if (!shown_) return RouteHit::Nothing;
    for (int i = 0; i < count(); ++i) {
        const Route& r = route(i);
        // Only what is drawn can be hit: a hidden route's pixels are stale.
        if (!r.visible) continue;
        const std::vector<Waypoint>& w = r.waypoints;
        RouteHit hit = RouteHit::Nothing;
        int at = 0;
        if (w.size() == 1) {
            if (Near(x, y, w[0])) hit = RouteHit::SingleWaypoint;
        } else {
            for (std::size_t k = 0; k + 1 < w.size() && hit == RouteHit::Nothing; ++k) {
                const Waypoint& a = w[k];
                const Waypoint& b = w[k + 1];
                if (x < std::min(a.x, b.x) - kHitTolerance ||
                    x > std::max(a.x, b.x) + kHitTolerance ||
                    y < std::min(a.y, b.y) - kHitTolerance ||
                    y > std::max(a.y, b.y) + kHitTolerance) {
                    continue;
                }
                at = static_cast<int>(k);
                if (Near(x, y, a) || Near(x, y, b)) {
                    hit = RouteHit::Waypoint;
                } else {
                    const int pa = TruncDistance(x - a.x, y - a.y);
                    const int pb = TruncDistance(x - b.x, y - b.y);
                    const int ab = TruncDistance(b.x - a.x, b.y - a.y);
                    if (std::abs(pa + pb - ab) <= 1) hit = RouteHit::Leg;
                }
            }
        }
        if (hit != RouteHit::Nothing) {
            selectedRoute_ = i;
            selectedWaypoint_ = at;
            highlighted_ = i;
            return hit;
        }
    }
    return RouteHit::Nothing;
}

bool RouteStore::deleteRoute(int index) {
    if (!valid(index)) return true;
    std::error_code ignored;
    std::filesystem::remove(folder_ + route(index).fileName, ignored);
    routes_.erase(routes_.begin() + index);
    highlighted_ = -1;
    selectedRoute_ = -1;
    selectedWaypoint_ = -1;
    if (routes_.empty()) {
        building_.clear();
        std::filesystem::remove(indexPath(), ignored);
        return true;
    }
    return saveIndex();
}

bool RouteStore::reverseRoute(int index) {
    if (!valid(index)) return true;
    std::vector<Waypoint>& w = route(index).waypoints;
    std::reverse(w.begin(), w.end());
    // Each leg is measured again in the new direction: the old bearings would
    // all point the opposite way.
    RecomputeLegs(w);
    return saveWaypoints(index);
}

bool RouteStore::insertWaypoint(int index, int after, double lon, double lat) {
    if (!valid(index) || !(lat >= -90.0 && lat <= 90.0) || !std::isfinite(lon)) return true;
    std::vector<Waypoint>& w = route(index).waypoints;
    if (after < 0 || after >= static_cast<int>(w.size()) || w.size() >= kMaxWaypoints) return true;
    Waypoint added;
    added.longitude = std::remainder(lon, 360.0);  // the chart's longitudes run past 180
    added.latitude = lat;
    w.insert(w.begin() + after + 1, added);
    RecomputeLegs(w);
    return saveWaypoints(index);
}

bool RouteStore::appendWaypoint(int index, double lon, double lat) {
    if (!valid(index)) return true;
    const auto size = static_cast<int>(route(index).waypoints.size());
    if (size == 0) return true;
    return insertWaypoint(index, size - 1, lon, lat);
}

bool RouteStore::deleteWaypoint(int index, int waypoint) {
    if (!valid(index)) return true;
    std::vector<Waypoint>& w = route(index).waypoints;
    if (waypoint < 0 || waypoint >= static_cast<int>(w.size()) || w.size() <= 1) return true;
    w.erase(w.begin() + waypoint);
    // The leg into the next waypoint now starts at the one before.
    RecomputeLegs(w);
    if (selectedWaypoint_ >= static_cast<int>(w.size())) selectedWaypoint_ = -1;
    return saveWaypoints(index);
}

int RouteStore::waypointAt(int index, int x, int y) const {
    if (!valid(index)) return -1;
    const std::vector<Waypoint>& w = route(index).waypoints;
    for (std::size_t k = 0; k < w.size(); ++k)
        if (Near(x, y, w[k])) return static_cast<int>(k);
    return -1;
}

bool RouteStore::setVisible(int index, bool visible) {
    if (!valid(index)) return true;
    route(index).visible = visible;
    return saveIndex();
}

bool RouteStore::setTexts(int index, std::string_view name, std::string_view depart,
                          std::string_view destination) {
    if (!valid(index)) return true;
    Route& r = route(index);
    r.name = CleanRouteText(name);
    r.depart = CleanRouteText(depart);
    r.destination = CleanRouteText(destination);
    const bool index_ok = saveIndex();
    return saveWaypoints(index) && index_ok;
}

}  // namespace norq::nav
