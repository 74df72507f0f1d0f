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

}  // namespace

TargetTrackLayer::TargetTrackLayer(const ShipTrackStore& store, const chart::ChartModel& chart)
    : store_(store), chart_(chart) {}

void TargetTrackLayer::drawLayer(const chart::LayerContext& c) {
    lastDrawnPoints_ = 0;
    if (!c.tracksShown) return;
    const int width = c.axis.width();
    const int height = c.axis.height();
    bool penSet = false;
    for (int slot = 0; slot < kTrackSlots; ++slot) {
        if (!store_.visible(slot)) continue;
        const chart::TargetSlot& target = chart_.target(slot);
        if (chart_.monitoredOnly() && !target.monitored) continue;
        if (target.lon > 180.0f || target.lat > 90.0f) continue;
        const CShipTrack& ring = store_.ring(slot);
        const int size = ring.size();
        if (size < 2) continue;
        if (!penSet) {
            c.canvas.setPen(chart::PaletteRole::Track, 2, chart::PenStyle::Solid);
            c.canvas.setBrush(chart::PaletteRole::Track, chart::BrushStyle::None);
            penSet = true;
        }
        auto flush = [&](int n) {
            if (n >= 2) {
                c.canvas.polyline(
                    std::span<const chart::PixelXY>(line_.data(), static_cast<std::size_t>(n)));
                lastDrawnPoints_ += n;
            }
        };
        chart::PixelXY prev = c.axis.geoToPixel(ring.at(0).lon, ring.at(0).lat);
        int prevRegion = Region(prev, width, height);
        line_[0] = prev;
        int n = 1;
        for (int i = 1; i < size; ++i) {
            const TrackPoint& point = ring.at(i);
            const chart::PixelXY p = c.axis.geoToPixel(point.lon, point.lat);
            if (p == prev) continue;
            const int region = Region(p, width, height);
            if ((region & prevRegion) != 0) {
                flush(n);
                n = 0;
            }
            line_[static_cast<std::size_t>(n++)] = p;
            prev = p;
            prevRegion = region;
        }
        flush(n);
    }
}

}  // namespace norq::nav
