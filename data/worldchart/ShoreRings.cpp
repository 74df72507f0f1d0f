#include "ShoreRings.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace norq::worldchart {

namespace {

constexpr std::int64_t kFullTurn = 360 * kUnitsPerDegree;
constexpr std::int64_t kHalfTurn = 180 * kUnitsPerDegree;

struct Piece {
    int level = 0;
    std::vector<UnitPoint> points;
};

std::uint64_t PointKey(UnitPoint p) {
    std::int64_t x = p.x;
    while (x <= -kHalfTurn)
        x += kFullTurn;
    while (x > kHalfTurn)
        x -= kFullTurn;
    return (static_cast<std::uint64_t>(x + 2 * kHalfTurn) << 32) ^
           static_cast<std::uint64_t>(p.y + kHalfTurn);
}

bool ParseNumber(const char*& p, const char* end, double& value) {
    while (p < end && (*p == ' ' || *p == '\t' || *p == ','))
        ++p;
    auto [next, ec] = std::from_chars(p, end, value);
    if (ec != std::errc()) return false;
    p = next;
    return true;
}

int ParseLevel(const char* line) {
    const char* level = std::strstr(line, "Level");
    return level != nullptr ? std::atoi(level + 5) : 0;
}

std::vector<Piece> ReadPieces(std::FILE* in, ShoreStats& stats) {
    std::vector<Piece> pieces;
    char line[512];
    while (std::fgets(line, sizeof line, in) != nullptr) {
        if (line[0] == '>') {
            pieces.push_back({ParseLevel(line), {}});
            continue;
        }
        if (pieces.empty() || line[0] == '#') continue;
        const char* p = line;
        const char* end = line + std::strlen(line);
        double lon = 0;
        double lat = 0;
        if (!ParseNumber(p, end, lon) || !ParseNumber(p, end, lat)) continue;
        const UnitPoint point{std::llround(lon * kUnitsPerDegree),
                              std::llround(lat * kUnitsPerDegree)};
        auto& points = pieces.back().points;
        if (points.empty() || !(points.back() == point)) points.push_back(point);
        ++stats.points;
    }
    stats.pieces = pieces.size();
    return pieces;
}

// Turns a ring that went once around the globe (its last point is its first
// moved by d = ±360°) into a polygon: it is rotated to start on the antimeridian
// and closed along the meridian ±180° and the parallel of the pole it encircles.
void CloseAroundPole(ShoreRing& ring, std::int64_t d) {
    auto& pts = ring.points;
    std::size_t k = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        if (PointKey(pts[i]) >> 32 == static_cast<std::uint64_t>(3 * kHalfTurn)) {
            k = i;
            break;
        }
    }
    std::vector<UnitPoint> rotated(pts.begin() + static_cast<std::ptrdiff_t>(k), pts.end());
    for (std::size_t i = 0; i < k; ++i)
        rotated.push_back({pts[i].x + d, pts[i].y});
    const std::int64_t shift = (d > 0 ? -kHalfTurn : kHalfTurn) - rotated[0].x;
    for (UnitPoint& p : rotated)
        p.x += shift;
    double latSum = 0;
    for (const UnitPoint& p : rotated)
        latSum += static_cast<double>(p.y);
    const std::int64_t pole = latSum < 0 ? -90 * kUnitsPerDegree : 90 * kUnitsPerDegree;
    const UnitPoint first = rotated.front();
    const UnitPoint wrapped{first.x + d, first.y};
    rotated.push_back(wrapped);
    rotated.push_back({wrapped.x, pole});
    rotated.push_back({first.x, pole});
    pts = std::move(rotated);
}

}  // namespace

std::vector<ShoreRing> ReadShoreRings(std::FILE* in, ShoreStats& stats) {
    std::vector<Piece> pieces = ReadPieces(in, stats);
    std::vector<ShoreRing> rings;
    std::unordered_map<std::uint64_t, std::size_t> startOf;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto& pts = pieces[i].points;
        if (pts.size() >= 2 && !(pts.front() == pts.back())) startOf.emplace(PointKey(pts[0]), i);
    }
    std::vector<bool> used(pieces.size(), false);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (used[i] || pieces[i].points.size() < 2) continue;
        used[i] = true;
        ShoreRing ring{pieces[i].level, pieces[i].points};
        std::int64_t turn = 0;
        if (ring.points.front() == ring.points.back()) {
            ring.points.pop_back();
        } else {
            while (true) {
                const UnitPoint end = ring.points.back();
                const UnitPoint start = ring.points.front();
                if (PointKey(end) == PointKey(start)) {
                    turn = end.x - start.x;
                    ring.points.pop_back();
                    break;
                }
                auto next = startOf.find(PointKey(end));
                if (next == startOf.end() || used[next->second]) {
                    ++stats.brokenChains;  // close it straight; GSHHG has none
                    break;
                }
                used[next->second] = true;
                const auto& more = pieces[next->second].points;
                const std::int64_t shift = end.x - more[0].x;
                for (std::size_t k = 1; k < more.size(); ++k) {
                    ring.points.push_back({more[k].x + shift, more[k].y});
                }
            }
        }
        if (turn != 0) {
            CloseAroundPole(ring, turn);
            ++stats.polarRings;
        }
        if (ring.points.size() >= 3) rings.push_back(std::move(ring));
    }
    stats.rings = rings.size();
    return rings;
}

}  // namespace norq::worldchart
