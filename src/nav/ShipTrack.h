// The targets' tracks: a ring of the last 720 reported positions per target slot
// (CShipTrack), the fixed store of the 501 rings with their track-visible bytes
// that follows the target table, and the chart layer that draws them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "chart/ChartLayers.h"

namespace norq::chart {
class ChartModel;
}

namespace norq::nav {

inline constexpr int kTrackRingSize = 720;  // the ring holds at most 719 points
inline constexpr int kTrackSlots = 501;     // target table entries 0..500

struct TrackPoint {
    float lon = 0.0f;
    float lat = 0.0f;
};

// A ring of positions: head is the oldest point, tail where the next one goes;
// head == tail means empty. Appending is constant-time and allocates nothing.
class CShipTrack {
  public:
    // Ignored (false) beyond 180.1° longitude or 90.1° latitude. When the ring is
    // full the oldest point is dropped.
    bool append(float lon, float lat);
    void clear() { head_ = tail_ = 0; }
    bool empty() const { return head_ == tail_; }
    int size() const { return (tail_ - head_ + kTrackRingSize) % kTrackRingSize; }
    int head() const { return head_; }
    int tail() const { return tail_; }
    // The point at a ring index (0 <= index < 720).
    const TrackPoint& slot(int index) const { return points_[static_cast<std::size_t>(index)]; }
    // The i-th point from the oldest (0 <= i < size()).
    const TrackPoint& at(int i) const {
        return points_[static_cast<std::size_t>((head_ + i) % kTrackRingSize)];
    }

  private:
    std::array<TrackPoint, kTrackRingSize> points_{};
    int head_ = 0;
    int tail_ = 0;
};

// One ring per target slot with its track-visible byte and the MMSI of the target
// whose positions it holds. Allocated once (about 2.9 MB).
class ShipTrackStore {
  public:
    ShipTrackStore();

    // Appends the slot's position. A slot that now holds another target (its MMSI
    // changed: the table reused the slot) starts an empty, hidden ring first.
    void append(int slot, std::uint32_t mmsi, float lon, float lat);
    void clear(int slot);
    void clearAll();
    bool visible(int slot) const;
    void setVisible(int slot, bool on);
    // The same for the target with this MMSI: a slot that held another target
    // starts an empty ring first, so the next position does not hide it again.
    void setVisible(int slot, std::uint32_t mmsi, bool on);
    // A target left the table at `index`; `countAfter` entries remain. Every
    // following slot's ring (and visible byte) moves down by one, the first slot
    // past the new end is cleared.
    void onTargetRemoved(int index, int countAfter);

    const CShipTrack& ring(int slot) const { return slots_->at(Index(slot)).ring; }
    std::uint32_t owner(int slot) const { return slots_->at(Index(slot)).mmsi; }
    static bool ValidSlot(int slot) { return slot >= 0 && slot < kTrackSlots; }

  private:
    struct Slot {
        CShipTrack ring;
        std::uint32_t mmsi = 0;
        bool visible = false;
    };
    static std::size_t Index(int slot) { return static_cast<std::size_t>(slot); }
    std::unique_ptr<std::array<Slot, kTrackSlots>> slots_;
};

// Draws the visible target tracks (layer TargetTracks, drawn only while the
// chart's tracks are shown): pen in the track colour, solid, width 2. Slots
// without a position on the chart, hidden ones and, with "Show Monitored Ships
// Only", unmonitored ones are left out. Points are projected without the
// antimeridian wrap; consecutive points on the same pixel are drawn once and
// runs of points outside the view on one side are cut out of the line.
class TargetTrackLayer final : public chart::ChartLayerHook {
  public:
    TargetTrackLayer(const ShipTrackStore& store, const chart::ChartModel& chart);
    void drawLayer(const chart::LayerContext& context) override;
    // Points handed to the canvas in the last drawing (tests, benchmark).
    int lastDrawnPoints() const { return lastDrawnPoints_; }

  private:
    void drawRing(const chart::LayerContext& context, const CShipTrack& ring);

    const ShipTrackStore& store_;
    const chart::ChartModel& chart_;
    std::array<chart::PixelXY, kTrackRingSize> line_{};
    int lastDrawnPoints_ = 0;
};

}  // namespace norq::nav
