#include "CellCutter.h"

#define GEOS_USE_ONLY_R_API
#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace norq::worldchart {

namespace {

constexpr double kOnLine = 0.01;  // units: a point this close to a border or cut lies on it
constexpr int kMaxCutDepth = 48;

void IgnoreNotice(const char*, ...) {}

// Keeps GEOS's last error; it is reported only when a repaired retry fails too.
void KeepError(const char* message, void* userdata) {
    *static_cast<std::string*>(userdata) = message;
}

struct Box {
    double minX, minY, maxX, maxY;
    bool inside(const Box& outer) const {
        return minX >= outer.minX && maxX <= outer.maxX && minY >= outer.minY && maxY <= outer.maxY;
    }
    bool meets(const Box& other) const {
        return minX < other.maxX && maxX > other.minX && minY < other.maxY && maxY > other.minY;
    }
};

Box BoxOf(GEOSContextHandle_t ctx, const GEOSGeometry* g) {
    Box b{};
    GEOSGeom_getXMin_r(ctx, g, &b.minX);
    GEOSGeom_getYMin_r(ctx, g, &b.minY);
    GEOSGeom_getXMax_r(ctx, g, &b.maxX);
    GEOSGeom_getYMax_r(ctx, g, &b.maxY);
    return b;
}

// Appends every polygon inside a geometry (polygon, multi-polygon or collection).
void CollectPolygons(GEOSContextHandle_t ctx, const GEOSGeometry* g,
                     std::vector<const GEOSGeometry*>& out) {
    if (g == nullptr || GEOSisEmpty_r(ctx, g) != 0) return;
    const int type = GEOSGeomTypeId_r(ctx, g);
    if (type == GEOS_POLYGON) {
        out.push_back(g);
    } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
        const int n = GEOSGetNumGeometries_r(ctx, g);
        for (int i = 0; i < n; ++i)
            CollectPolygons(ctx, GEOSGetGeometryN_r(ctx, g, i), out);
    }
}

// A rounded ring point and whether the edge from it to the next is a break.
struct KeptPoint {
    std::int64_t x, y;
    bool breakAfter;
};

std::int64_t Apart(const KeptPoint& a, const KeptPoint& b) {
    return std::max(std::llabs(a.x - b.x), std::llabs(a.y - b.y));
}

// Merges each point closer than minimum to the last point kept before it. The
// merged edge keeps the break flag of the longer edge onwards; closing points
// near the first point are dropped likewise.
void MergeClosePoints(std::vector<KeptPoint>& points, std::int64_t minimum) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (kept > 0 && Apart(points[i], points[kept - 1]) < minimum) {
            points[kept - 1].breakAfter = points[i].breakAfter;
            continue;
        }
        points[kept++] = points[i];
    }
    points.resize(kept);
    while (points.size() > 1 && Apart(points.back(), points.front()) < minimum)
        points.pop_back();
}

}  // namespace

struct CellCutter::Piece {
    GEOSGeometry* geometry = nullptr;
    int level = 0;
    Box box{};
    bool owned = false;
};

// A straight cut the generator made through a polygon: x = at (vertical) or y = at.
struct CellCutter::Cut {
    bool vertical = true;
    double at = 0;
};

CellCutter::CellCutter(const GridSpec& grid) : ctx_(GEOS_init_r()), grid_(grid) {
    GEOSContext_setNoticeHandler_r(ctx_, IgnoreNotice);
    GEOSContext_setErrorMessageHandler_r(ctx_, KeepError, &lastError_);
}

CellCutter::~CellCutter() {
    for (Piece& p : pieces_)
        GEOSGeom_destroy_r(ctx_, p.geometry);
    GEOS_finish_r(ctx_);
}

void CellCutter::addRing(const ShoreRing& ring) {
    if (ring.points.size() < 3) return;
    std::int64_t minX = ring.points[0].x;
    std::int64_t maxX = minX;
    for (const UnitPoint& p : ring.points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
    }
    const std::int64_t turn = 360 * kUnitsPerDegree;
    const std::int64_t east = grid_.west + grid_.columns * grid_.cellSize;
    // The ring itself and each copy shifted by whole turns that reaches the grid.
    for (std::int64_t shift = -turn; shift <= turn; shift += turn) {
        if (maxX + shift > grid_.west && minX + shift < east) addPiece(ring, shift);
    }
}

void CellCutter::addPiece(const ShoreRing& ring, std::int64_t shift) {
    const unsigned n = static_cast<unsigned>(ring.points.size());
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(ctx_, n + 1, 2);
    for (unsigned i = 0; i <= n; ++i) {
        const UnitPoint& p = ring.points[i % n];
        GEOSCoordSeq_setXY_r(ctx_, seq, i, static_cast<double>(p.x + shift),
                             static_cast<double>(p.y));
    }
    GEOSGeometry* shell = GEOSGeom_createLinearRing_r(ctx_, seq);
    if (shell == nullptr) return;
    GEOSGeometry* polygon = GEOSGeom_createPolygon_r(ctx_, shell, nullptr, 0);
    if (polygon == nullptr) return;
    pieces_.push_back({polygon, ring.level, BoxOf(ctx_, polygon), true});
}

void CellCutter::run(const Sink& sink) {
    if (grid_.rows <= 0 || grid_.columns <= 0) return;
    subdivide(pieces_, 0, grid_.rows - 1, 0, grid_.columns - 1, sink);
}

void CellCutter::subdivide(std::vector<Piece>& pieces, int r0, int r1, int c0, int c1,
                           const Sink& sink) {
    if (pieces.empty()) return;
    const double s = static_cast<double>(grid_.cellSize);
    const double west = static_cast<double>(grid_.west);
    const double north = static_cast<double>(grid_.north);
    auto boxOf = [&](int ra, int rb, int ca, int cb) {
        return Box{west + ca * s, north - (rb + 1) * s, west + (cb + 1) * s, north - ra * s};
    };
    // Split the longer side at a cell border; a single cell is finished.
    int halves[2][4] = {{r0, r1, c0, c1}, {r0, r1, c0, c1}};
    const bool single = r0 == r1 && c0 == c1;
    if (!single) {
        if (c1 - c0 >= r1 - r0) {
            const int mid = c0 + (c1 - c0) / 2;
            halves[0][3] = mid;
            halves[1][2] = mid + 1;
        } else {
            const int mid = r0 + (r1 - r0) / 2;
            halves[0][1] = mid;
            halves[1][0] = mid + 1;
        }
    }
    for (int h = 0; h < (single ? 1 : 2); ++h) {
        const int* q = halves[h];
        const Box box = boxOf(q[0], q[1], q[2], q[3]);
        std::vector<Piece> part;
        for (const Piece& p : pieces) {
            if (!p.box.meets(box)) continue;
            if (p.box.inside(box)) {
                part.push_back({p.geometry, p.level, p.box, false});
                continue;
            }
            GEOSGeometry* clipped =
                GEOSClipByRect_r(ctx_, p.geometry, box.minX, box.minY, box.maxX, box.maxY);
            if (clipped == nullptr) continue;
            if (GEOSisEmpty_r(ctx_, clipped) != 0) {
                GEOSGeom_destroy_r(ctx_, clipped);
                continue;
            }
            part.push_back({clipped, p.level, BoxOf(ctx_, clipped), true});
        }
        if (single) {
            finishCell(part, r0, c0, sink);
        } else {
            subdivide(part, q[0], q[1], q[2], q[3], sink);
        }
        for (Piece& p : part) {
            if (p.owned) GEOSGeom_destroy_r(ctx_, p.geometry);
        }
    }
}

// Land of one nesting step in the cell: the pieces of a land level minus the
// pieces of the water level inside it (level 1 minus lakes, 3 minus ponds).
GEOSGeometry* CellCutter::landOfLevels(const std::vector<Piece>& pieces, int landLevel) {
    auto unionOf = [&](int level, bool repair) -> GEOSGeometry* {
        std::vector<GEOSGeometry*> parts;
        for (const Piece& p : pieces) {
            if (p.level != level) continue;
            parts.push_back(repair ? GEOSMakeValid_r(ctx_, p.geometry)
                                   : GEOSGeom_clone_r(ctx_, p.geometry));
            if (parts.back() == nullptr) parts.pop_back();
        }
        if (parts.empty()) return nullptr;
        GEOSGeometry* all = GEOSGeom_createCollection_r(ctx_, GEOS_GEOMETRYCOLLECTION, parts.data(),
                                                        static_cast<unsigned>(parts.size()));
        GEOSGeometry* merged = GEOSUnaryUnion_r(ctx_, all);
        GEOSGeom_destroy_r(ctx_, all);
        return merged;
    };
    bool any = false;
    for (const Piece& p : pieces)
        any = any || p.level == landLevel;
    if (!any) return nullptr;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const bool repair = attempt == 1;
        if (repair) ++stats_.repairs;
        GEOSGeometry* land = unionOf(landLevel, repair);
        if (land == nullptr) continue;
        GEOSGeometry* water = unionOf(landLevel + 1, repair);
        if (water == nullptr) return land;
        GEOSGeometry* result = GEOSDifference_r(ctx_, land, water);
        GEOSGeom_destroy_r(ctx_, land);
        GEOSGeom_destroy_r(ctx_, water);
        if (result != nullptr) return result;
    }
    std::fprintf(stderr, "norq-worldchart-gen: land of level %d left out of a cell: %s\n",
                 landLevel, lastError_.c_str());
    return nullptr;
}

void CellCutter::finishCell(const std::vector<Piece>& pieces, int row, int column,
                            const Sink& sink) {
    bool hasWater = false;
    for (const Piece& p : pieces)
        hasWater = hasWater || p.level % 2 == 0;
    std::vector<GEOSGeometry*> owned;
    std::vector<const GEOSGeometry*> polygons;
    if (!hasWater) {
        for (const Piece& p : pieces)
            CollectPolygons(ctx_, p.geometry, polygons);
    } else {
        for (int level : {1, 3}) {
            GEOSGeometry* land = landOfLevels(pieces, level);
            if (land == nullptr) continue;
            owned.push_back(land);
            CollectPolygons(ctx_, land, polygons);
        }
    }
    CellResult result;
    const double cellArea = static_cast<double>(grid_.cellSize) * grid_.cellSize;
    double area = 0;
    if (polygons.size() == 1 && GEOSGetNumInteriorRings_r(ctx_, polygons[0]) == 0 &&
        GEOSArea_r(ctx_, polygons[0], &area) != 0 && area >= cellArea * (1 - 1e-9)) {
        result.wholeLand = true;
        ++stats_.landCells;
    } else {
        std::vector<Cut> cuts;
        for (const GEOSGeometry* polygon : polygons) {
            emitPolygon(polygon, cuts, row, column, result, 0);
        }
        if (!result.polygons.empty()) ++stats_.coastCells;
    }
    for (GEOSGeometry* g : owned)
        GEOSGeom_destroy_r(ctx_, g);
    if (result.wholeLand || !result.polygons.empty()) sink(row, column, std::move(result));
}

void CellCutter::emitPolygon(const GEOSGeometry* polygon, std::vector<Cut>& cuts, int row,
                             int column, CellResult& out, int depth) {
    double area = 0;
    if (GEOSArea_r(ctx_, polygon, &area) == 0 || area < 1.0) return;
    const Box box = BoxOf(ctx_, polygon);
    Cut cut;
    if (GEOSGetNumInteriorRings_r(ctx_, polygon) > 0) {
        // Open the first hole with a vertical cut through its middle.
        const Box hole = BoxOf(ctx_, GEOSGetInteriorRingN_r(ctx_, polygon, 0));
        cut.at = std::round((hole.minX + hole.maxX) / 2);
        if (!(cut.at > hole.minX && cut.at < hole.maxX)) cut.at = (hole.minX + hole.maxX) / 2;
        ++stats_.holeCuts;
    } else {
        const GEOSGeometry* shell = GEOSGetExteriorRing_r(ctx_, polygon);
        const int n = GEOSGetNumCoordinates_r(ctx_, shell);
        if (n > 0 && static_cast<std::size_t>(n) <= kMaxPoints) {
            std::vector<CellPoint> ring;
            if (!emitRing(shell, cuts, row, column, ring)) return;
            if (ring.size() <= kMaxPoints) {
                stats_.points += ring.size();
                stats_.maxPolygonPoints = std::max(stats_.maxPolygonPoints, ring.size());
                ++stats_.polygons;
                out.polygons.push_back(std::move(ring));
                return;
            }
        }
        // Too many points for one polygon: halve it across its longer side.
        cut.vertical = box.maxX - box.minX >= box.maxY - box.minY;
        cut.at = std::round(cut.vertical ? (box.minX + box.maxX) / 2 : (box.minY + box.maxY) / 2);
        ++stats_.sizeCuts;
    }
    if (depth >= kMaxCutDepth) {
        std::fprintf(stderr, "norq-worldchart-gen: cell %d/%d: polygon left uncut\n", row, column);
        return;
    }
    const Box halves[2] = {
        cut.vertical ? Box{box.minX - 1, box.minY - 1, cut.at, box.maxY + 1}
                     : Box{box.minX - 1, box.minY - 1, box.maxX + 1, cut.at},
        cut.vertical ? Box{cut.at, box.minY - 1, box.maxX + 1, box.maxY + 1}
                     : Box{box.minX - 1, cut.at, box.maxX + 1, box.maxY + 1},
    };
    cuts.push_back(cut);
    for (const Box& half : halves) {
        GEOSGeometry* part =
            GEOSClipByRect_r(ctx_, polygon, half.minX, half.minY, half.maxX, half.maxY);
        if (part == nullptr) continue;
        std::vector<const GEOSGeometry*> parts;
        CollectPolygons(ctx_, part, parts);
        for (const GEOSGeometry* p : parts)
            emitPolygon(p, cuts, row, column, out, depth + 1);
        GEOSGeom_destroy_r(ctx_, part);
    }
    cuts.pop_back();
}

bool CellCutter::emitRing(const GEOSGeometry* ring, const std::vector<Cut>& cuts, int row,
                          int column, std::vector<CellPoint>& out) {
    const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(ctx_, ring);
    unsigned size = 0;
    if (seq == nullptr || GEOSCoordSeq_getSize_r(ctx_, seq, &size) == 0 || size < 4) return false;
    const unsigned m = size - 1;  // the ring repeats its first point at the end
    std::vector<double> xs(m), ys(m);
    for (unsigned i = 0; i < m; ++i)
        GEOSCoordSeq_getXY_r(ctx_, seq, i, &xs[i], &ys[i]);

    const double s = static_cast<double>(grid_.cellSize);
    const double west = static_cast<double>(grid_.west) + column * s;
    const double north = static_cast<double>(grid_.north) - row * s;
    const double lines[4][2] = {{1, west}, {1, west + s}, {0, north}, {0, north - s}};
    auto on = [](double v, double at) { return std::fabs(v - at) < kOnLine; };
    auto isBreak = [&](unsigned a, unsigned b) {
        for (const auto& line : lines) {
            const bool vertical = line[0] != 0;
            if (vertical ? on(xs[a], line[1]) && on(xs[b], line[1])
                         : on(ys[a], line[1]) && on(ys[b], line[1])) {
                return true;
            }
        }
        for (const Cut& c : cuts) {
            if (c.vertical ? on(xs[a], c.at) && on(xs[b], c.at)
                           : on(ys[a], c.at) && on(ys[b], c.at)) {
                return true;
            }
        }
        return false;
    };

    std::vector<KeptPoint> kept;
    kept.reserve(m);
    for (unsigned i = 0; i < m; ++i) {
        kept.push_back({std::llround(xs[i]), std::llround(ys[i]), isBreak(i, (i + 1) % m)});
    }
    MergeClosePoints(kept, kMinSeparation);
    if (kept.size() < 3) return false;
    out.clear();
    out.reserve(2 * kept.size() + 1);
    for (const KeptPoint& k : kept) {
        const CellPoint p{static_cast<std::int32_t>(k.y), static_cast<std::int32_t>(k.x)};
        out.push_back(p);
        if (k.breakAfter) out.push_back(p);
    }
    out.push_back(out.front());
    return true;
}

}  // namespace norq::worldchart
