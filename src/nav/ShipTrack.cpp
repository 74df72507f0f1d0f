#include "nav/ShipTrack.h"

#include <cmath>

#include "chart/ChartModel.h"

namespace norq::nav {

bool CShipTrack::append(float lon, float lat) {
    if (!(std::fabs(lon) <= 180.1f) || !(std::fabs(lat) <= 90.1f)) return false;
    points_[static_cast<std::size_t>(tail_)] = {lon, lat};
    tail_ = (tail_ + 1) % kTrackRingSize;
    if (tail_ == head_) head_ = (head_ + 1) % kTrackRingSize;
    return true;
}

ShipTrackStore::ShipTrackStore() : slots_(std::make_unique<std::array<Slot, kTrackSlots>>()) {}

void ShipTrackStore::append(int slot, std::uint32_t mmsi, float lon, float lat) {
    if (!ValidSlot(slot)) return;
    Slot& s = slots_->at(Index(slot));
    if (s.mmsi != mmsi) {
        s.ring.clear();
        s.visible = false;
        s.mmsi = mmsi;
    }
    s.ring.append(lon, lat);
}

void ShipTrackStore::clear(int slot) {
    if (!ValidSlot(slot)) return;
    slots_->at(Index(slot)) = Slot{};
}

void ShipTrackStore::clearAll() {
    for (Slot& s : *slots_)
        s = Slot{};
}

bool ShipTrackStore::visible(int slot) const {
    return ValidSlot(slot) && slots_->at(Index(slot)).visible;
}

void ShipTrackStore::setVisible(int slot, bool on) {
    if (ValidSlot(slot)) slots_->at(Index(slot)).visible = on;
}

void ShipTrackStore::setVisible(int slot, std::uint32_t mmsi, bool on) {
    if (!ValidSlot(slot)) return;
    Slot& s = slots_->at(Index(slot));
    if (s.mmsi != mmsi) {
        s.ring.clear();
        s.mmsi = mmsi;
    }
    s.visible = on;
}

void ShipTrackStore::onTargetRemoved(int index, int countAfter) {
    if (!ValidSlot(index)) return;
    const int end =
        countAfter < index ? index : (countAfter > kTrackSlots - 1 ? kTrackSlots - 1 : countAfter);
    for (int j = index; j < end; ++j)
        slots_->at(Index(j)) = slots_->at(Index(j + 1));
    clear(end);
}

// ---- Drawing -------------------------------------------------------------------------

namespace {

// Cohen-Sutherland region of a pixel against the view widened by a margin: a
// segment whose ends share a bit lies wholly outside.
int Region(chart::PixelXY p, int width, int height) {
    constexpr int kMargin = 4;
    int code = 0;
    if (p.x < -kMargin) code |= 1;
    if (p.x > width + kMargin) code |= 2;
    if (p.y < -kMargin) code |= 4;
    if (p.y > height + kMargin) code |= 8;
    return code;
}

// True when c continues the segment a-b forwards within a pixel of its line.
bool Straight(chart::PixelXY a, chart::PixelXY b, chart::PixelXY c) {
    const std::int64_t dx = b.x - a.x;
    const std::int64_t dy = b.y - a.y;
    const std::int64_t ex = c.x - b.x;
    const std::int64_t ey = c.y - b.y;
    if (dx * ex + dy * ey < 0) return false;  // turning back
    const std::int64_t cross = dx * (c.y - a.y) - dy * (c.x - a.x);
    return cross * cross <= dx * dx + dy * dy;  // distance of c from a-b at most 1
}

}  // namespace

TargetTrackLayer::TargetTrackLayer(const ShipTrackStore& store, const chart::ChartModel& chart)
    : store_(store), chart_(chart) {}

void TargetTrackLayer::drawLayer(const chart::LayerContext& c) {
    lastDrawnPoints_ = 0;
    if (!c.tracksShown) return;
    bool penSet = false;
    for (int slot = 0; slot < kTrackSlots; ++slot) {
        if (!store_.visible(slot)) continue;
        const chart::TargetSlot& target = chart_.target(slot);
        if (chart_.monitoredOnly() && !target.monitored) continue;
        if (target.lon > 180.0f || target.lat > 90.0f) continue;
        const CShipTrack& ring = store_.ring(slot);
        if (ring.size() < 2) continue;
        if (!penSet) {
            c.canvas.setPen(chart::PaletteRole::Track, 2, chart::PenStyle::Solid);
            c.canvas.setBrush(chart::PaletteRole::Track, chart::BrushStyle::None);
            penSet = true;
        }
        drawRing(c, ring);
    }
}

// The line through the projected points. A point on the pixel of the one before
// it adds nothing; a run of points that stays within a pixel of one straight line
// is drawn as that line; a segment wholly outside the view on one side ends the
// line, and the next one starts after it. North-up, the sides are found from the
// degrees, so points far outside the view are never projected, and a point less
// than a pixel from the last one drawn is passed over (the newest is always drawn).
void TargetTrackLayer::drawRing(const chart::LayerContext& c, const CShipTrack& ring) {
    const chart::CAxisData& axis = c.axis;
    const bool geoSides = !axis.rotated() && axis.xScale() > 0.0 && axis.yScale() > 0.0;
    const double marginLon = geoSides ? 4.0 / axis.xScale() : 0.0;
    const double marginLat = geoSides ? 4.0 / axis.yScale() : 0.0;
    const int width = axis.width();
    const int height = axis.height();
    auto project = [&](const TrackPoint& q) { return axis.geoToPixel(q.lon, q.lat); };
    auto sides = [&](const TrackPoint& q) {
        if (!geoSides) return Region(project(q), width, height);
        int code = 0;
        if (q.lon < axis.left() - marginLon) code |= 1;
        if (q.lon > axis.right() + marginLon) code |= 2;
        if (q.lat > axis.top() + marginLat) code |= 4;
        if (q.lat < axis.bottom() - marginLat) code |= 8;
        return code;
    };
    auto flush = [&](int n) {
        if (n < 2) return;
        c.canvas.polyline(
            std::span<const chart::PixelXY>(line_.data(), static_cast<std::size_t>(n)));
        lastDrawnPoints_ += n;
    };
    const double pixelLon = geoSides ? 1.0 / axis.xScale() : 0.0;
    const double pixelLat = geoSides ? 1.0 / axis.yScale() : 0.0;
    TrackPoint prevPoint = ring.slot(ring.head());
    int prevSides = sides(prevPoint);
    chart::PixelXY prev{};
    bool prevProjected = false;
    int n = 0;
    const int newest = ring.tail() == 0 ? kTrackRingSize - 1 : ring.tail() - 1;
    for (int at = ring.head(); at != newest;) {
        at = at + 1 == kTrackRingSize ? 0 : at + 1;
        const TrackPoint& point = ring.slot(at);
        if (prevProjected && at != newest && std::fabs(point.lon - prevPoint.lon) < pixelLon &&
            std::fabs(point.lat - prevPoint.lat) < pixelLat) {
            continue;
        }
        const int pointSides = sides(point);
        if ((pointSides & prevSides) != 0) {
            flush(n);
            n = 0;
            prevPoint = point;
            prevSides = pointSides;
            prevProjected = false;
            continue;
        }
        if (!prevProjected) {
            prev = project(prevPoint);
            prevProjected = true;
            line_[0] = prev;
            n = 1;
        }
        const chart::PixelXY p = project(point);
        if (p == prev) continue;
        if (n >= 2 && Straight(line_[static_cast<std::size_t>(n - 2)], prev, p))
            --n;  // p extends the segment that ends at prev
        line_[static_cast<std::size_t>(n++)] = p;
        prev = p;
        prevPoint = point;
        prevSides = pointSides;
    }
    flush(n);
}

}  // namespace norq::nav
