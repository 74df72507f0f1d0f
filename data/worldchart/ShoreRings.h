// Shoreline rings rebuilt from a dump of GMT's binned GSHHG shorelines
// (`gmt coast -M -W`): the dump holds one piece per bin, each headed
// "> Shore Bin # n, Level l"; pieces meet end to start across bin borders.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace norq::worldchart {

inline constexpr std::int64_t kUnitsPerDegree = 1000000;

// A point in units of 1/1,000,000 degree; x is longitude, y latitude.
struct UnitPoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
    bool operator==(const UnitPoint&) const = default;
};

// One closed shoreline ring. Level 1 is land, 2 a lake, 3 an island in a lake,
// 4 a pond on such an island. Longitudes are continuous along the ring, so a
// ring across the antimeridian may run beyond ±180°. A ring around a pole is
// closed along the pole's parallel.
struct ShoreRing {
    int level = 0;
    std::vector<UnitPoint> points;  // first point not repeated at the end
};

struct ShoreStats {
    std::size_t pieces = 0;
    std::size_t points = 0;
    std::size_t rings = 0;
    std::size_t polarRings = 0;
    std::size_t brokenChains = 0;  // pieces that never met their start again
};

// Reads the dump and joins its pieces into rings. Pieces of a ring are found by
// exact match of end and start point (to the unit, with -180° equal to 180°).
std::vector<ShoreRing> ReadShoreRings(std::FILE* in, ShoreStats& stats);

}  // namespace norq::worldchart
