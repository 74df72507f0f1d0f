#include "chart/LandRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace norq::chart {

void LandRaster::fillPolygons(std::span<const PixelXY> points, std::span<const int> counts,
                              std::uint32_t colour) {
    if (!valid()) return;
    std::size_t at = 0;
    for (int n : counts) {
        if (n <= 0 || at + static_cast<std::size_t>(n) > points.size()) break;
        if (n >= 3) fillPolygon(points.subspan(at, static_cast<std::size_t>(n)), colour);
        at += static_cast<std::size_t>(n);
    }
}

void LandRaster::span(int y, int from, int to, std::uint32_t colour) {
    from = std::max(from, 0);
    to = std::min(to, width_);
    if (from >= to) return;
    std::uint32_t* row = pixels_ + static_cast<std::ptrdiff_t>(y) * stride_;
    std::fill(row + from, row + to, colour);
}

// The polygon's non-horizontal edges, clipped to the image's rows.
void LandRaster::buildEdges(std::span<const PixelXY> polygon) {
    edges_.clear();
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PixelXY a = polygon[i];
        const PixelXY b = polygon[(i + 1) % n];
        if (a.y == b.y) continue;
        const PixelXY lo = a.y < b.y ? a : b;
        const PixelXY hi = a.y < b.y ? b : a;
        // Rows whose centre y + 0.5 lies in [lo.y, hi.y).
        Edge e{lo.y, hi.y, 0.0, static_cast<double>(hi.x - lo.x) / (hi.y - lo.y)};
        e.x = lo.x + 0.5 * e.dx;
        if (e.top < 0) {
            e.x += -e.top * e.dx;
            e.top = 0;
        }
        e.bottom = std::min(e.bottom, height_);
        if (e.top < e.bottom) edges_.push_back(e);
    }
}

// Scanline fill with an active edge list: each edge is met only on the rows it
// crosses, so a polygon costs its edges plus its crossings, whatever its size.
void LandRaster::fillPolygon(std::span<const PixelXY> polygon, std::uint32_t colour) {
    int minY = polygon[0].y, maxY = polygon[0].y, minX = polygon[0].x, maxX = polygon[0].x;
    for (const PixelXY& p : polygon) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
    }
    if (maxY <= 0 || minY >= height_ || maxX < 0 || minX > width_) return;
    buildEdges(polygon);
    if (edges_.empty()) return;
    std::sort(edges_.begin(), edges_.end(),
              [](const Edge& l, const Edge& r) { return l.top < r.top; });
    active_.clear();
    std::size_t next = 0;
    const int first = edges_.front().top;
    const int last = std::min(maxY, height_);
    for (int y = first; y < last; ++y) {
        while (next < edges_.size() && edges_[next].top == y)
            active_.push_back(&edges_[next++]);
        active_.erase(std::remove_if(active_.begin(), active_.end(),
                                     [y](const Edge* e) { return e->bottom <= y; }),
                      active_.end());
        if (active_.empty()) {
            if (next >= edges_.size()) break;
            continue;
        }
        crossings_.clear();
        for (Edge* e : active_) {
            crossings_.push_back(e->x);
            e->x += e->dx;
        }
        // Few crossings per row: an insertion sort is the quickest.
        for (std::size_t i = 1; i < crossings_.size(); ++i) {
            const double v = crossings_[i];
            std::size_t j = i;
            for (; j > 0 && crossings_[j - 1] > v; --j)
                crossings_[j] = crossings_[j - 1];
            crossings_[j] = v;
        }
        for (std::size_t i = 0; i + 1 < crossings_.size(); i += 2) {
            // Pixels whose centre px + 0.5 lies in [a, b).
            const double a = std::clamp(crossings_[i], -1.0, width_ + 1.0);
            const double b = std::clamp(crossings_[i + 1], -1.0, width_ + 1.0);
            span(y, static_cast<int>(std::ceil(a - 0.5)), static_cast<int>(std::ceil(b - 0.5)),
                 colour);
        }
    }
}

void LandRaster::lines(std::span<const PixelXY> pairs, std::uint32_t colour) {
    if (!valid()) return;
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2)
        line(pairs[i], pairs[i + 1], colour);
}

void LandRaster::points(std::span<const PixelXY> pixels, std::uint32_t colour) {
    if (!valid()) return;
    for (const PixelXY& p : pixels) {
        if (p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_) {
            pixels_[static_cast<std::ptrdiff_t>(p.y) * stride_ + p.x] = colour;
        }
    }
}

void LandRaster::line(PixelXY a, PixelXY b, std::uint32_t colour) {
    // Both ends on the same side outside the image: nothing to draw.
    if ((a.x < 0 && b.x < 0) || (a.y < 0 && b.y < 0) || (a.x >= width_ && b.x >= width_) ||
        (a.y >= height_ && b.y >= height_)) {
        return;
    }
    // Very long lines (far outside) are cut to the image before stepping.
    const long long span = std::max(std::llabs(static_cast<long long>(b.x) - a.x),
                                    std::llabs(static_cast<long long>(b.y) - a.y));
    if (span > 4LL * (width_ + height_)) {
        double t0 = 0.0, t1 = 1.0;
        const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {static_cast<double>(a.x), width_ - 1.0 - a.x, static_cast<double>(a.y),
                             height_ - 1.0 - a.y};
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0.0) {
                if (q[i] < 0.0) return;
                continue;
            }
            const double r = q[i] / p[i];
            if (p[i] < 0.0) {
                t0 = std::max(t0, r);
            } else {
                t1 = std::min(t1, r);
            }
            if (t0 > t1) return;
        }
        const PixelXY c{static_cast<int>(std::lround(a.x + t0 * dx)),
                        static_cast<int>(std::lround(a.y + t0 * dy))};
        b = {static_cast<int>(std::lround(a.x + t1 * dx)),
             static_cast<int>(std::lround(a.y + t1 * dy))};
        a = c;
    }
    int x = a.x, y = a.y;
    const int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
    const int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
            pixels_[static_cast<std::ptrdiff_t>(y) * stride_ + x] = colour;
        }
        if (x == b.x && y == b.y) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

}  // namespace norq::chart
