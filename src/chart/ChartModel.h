// The logic of the chart view (TPaintChart without its widget): the view's
// projection, the own-ship reference point with true-motion follow and Center
// View, the per-slot target symbols and pendants with their placement and hit
// boxes, the layer flags, the orientation, and the registered layer hooks.
// It draws the layers drawn on every repaint (grid, rings, hooks, symbols)
// through a ChartCanvas; the sea chart is drawn by SeaChart.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ais/CpaAlarms.h"
#include "chart/AxisData.h"
#include "chart/ChartCanvas.h"
#include "chart/ChartLayers.h"
#include "chart/ChartPalette.h"
#include "chart/ChartSymbols.h"

namespace norq::chart {

enum class Orientation : std::uint8_t { NorthUp = 0, HeadUp = 1, CourseUp = 2 };

// The rotation angle that brings the own heading (head-up) or course (course-up)
// to the top of the screen; 0 for north-up or when the value is not available.
float OrientationAngle(Orientation orientation, float heading, float course);

struct OwnReference {
    double lon = 181.0;
    double lat = 91.0;
    double course = 0.0;
};

struct TargetSlot {
    float lon = 181.0f;
    float lat = 91.0f;
    ShipSymbol symbol;
    bool monitored = false;
    bool visible = false;
    PixelXY topLeft{-100, -100};
};

struct PendantSlot {
    float lon = 181.0f;
    float lat = 91.0f;
    PendantSymbol symbol;
    bool visible = false;
    PixelXY topLeft{-100, -100};
};

// Where a pointer position lies: a target symbol, a pendant symbol, or the chart.
struct ChartHit {
    enum class Kind : std::uint8_t { Chart, Target, Pendant } kind = Kind::Chart;
    int slot = -1;
};

class ChartModel {
  public:
    ChartModel();

    // ---- Frame ----------------------------------------------------------------
    // Pixel rectangle and size of the view; marks the layers stale.
    void resize(int width, int height);
    void setScaleIndex(int index);
    int scaleIndex() const { return axis_.scaleIndex(); }
    float ringDistance() const { return axis_.ringDistance(); }
    // False for a latitude outside [-90, 90]; the latitude is clamped to the
    // scale's limit. Marks the layers stale.
    bool setCentre(double lon, double lat);
    GeoPoint centre() const { return {axis_.centreLon(), axis_.centreLat()}; }
    const CAxisData& axis() const { return axis_; }
    int width() const { return axis_.width(); }
    int height() const { return axis_.height(); }

    // ---- Own ship reference point ----------------------------------------------
    // Stores the reference point and slot 0's position; with follow, re-centres
    // when the point left the view or came within 10% of an edge. Returns true when
    // the view must be repainted (moved more than 2 pixels, or re-centred).
    bool setOwnPosition(double lon, double lat, double course, bool follow);
    const OwnReference& ownReference() const { return own_; }
    // The reference point as the manual position (no fix): the start-up position.
    // `known` false: the position was never set (a first start); the own-ship symbol
    // is not drawn there until a fix or a manual position comes.
    void setManualPosition(double lon, double lat, double course, bool known = true);
    bool ownReferenceKnown() const { return ownKnown_; }

    // Center View: stores the flag and, when on, runs it at once.
    void setCenterView(bool on, bool follow);
    bool centerView() const { return centerView_; }
    // Centres on the own ship, or (without an own position) on the middle of the
    // fleet. The own-ship reference point moves only with a valid own position:
    // without one, ranges and bearings stay measured from the manual position.
    bool runCenterView(bool follow);

    // ---- Flags -----------------------------------------------------------------
    void markStale() { stale_ = true; }
    bool stale() const { return stale_; }
    void clearStale() { stale_ = false; }
    // Set by the overlay's owners after an edit; the overlay is redrawn once.
    void markOverlayDirty() { overlayDirty_ = true; }
    // The target tracks changed in a way the operator asked for (shown, hidden,
    // monitored only): the next frame draws them anew rather than from the
    // image that is refreshed at most once a second.
    void markTracksDirty() { tracksDirty_ = true; }
    bool tracksDirty() const { return tracksDirty_; }
    void clearTracksDirty() { tracksDirty_ = false; }
    bool overlayDirty() const { return overlayDirty_; }
    void clearOverlayDirty() { overlayDirty_ = false; }
    void showRangeRings(bool on) { ringsShown_ = on; }
    bool rangeRingsShown() const { return ringsShown_; }
    void showGrid(bool on) { gridShown_ = on; }
    bool gridShown() const { return gridShown_; }
    void hideGridLines(bool on) { gridLinesHidden_ = on; }
    bool gridLinesHidden() const { return gridLinesHidden_; }
    void showTracks(bool on) {
        tracksShown_ = on;
        tracksDirty_ = true;
    }
    bool tracksShown() const { return tracksShown_; }
    void setMonitoredOnly(bool on);
    bool monitoredOnly() const { return monitoredOnly_; }

    // ---- Orientation -----------------------------------------------------------
    void setOrientation(Orientation orientation) { orientation_ = orientation; }
    Orientation orientation() const { return orientation_; }
    // Rotates the frame (axis and every symbol) by an angle in degrees; marks
    // the layers stale when it changed.
    void setRotation(float angle);
    float rotation() const { return axis_.rotation(); }

    // ---- Target symbols (slot = target table index, 0 the own ship) --------------
    // Ignored above 500. A slot with a position off the globe is hidden (slot 0
    // then shows at the own-ship reference point).
    void setTarget(int slot, float lon, float lat, float course, float heading,
                   const SymbolFlags& flags, bool monitored);
    void setFriend(int slot, bool on);
    void setLost(int slot, bool on);
    // The lower levels of the graded CPA alarm, drawn as a ring.
    void setCpaLevel(int slot, ais::CpaLevel level);
    ais::CpaLevel cpaLevel(int slot) const;
    void setOwnPositionUnknown(bool on);
    // Stored only: it shows at the symbol's next placement or repaint.
    void setDangerous(int slot, bool on);
    bool dangerous(int slot) const;
    void clearTarget(int slot);
    void selectTarget(int slot);
    int selectedTarget() const { return selected_; }
    // A target left the table at index: the slots behind it move down by one and
    // the last used slot (count before the removal - 1) is cleared.
    void removeTarget(int index, int countBefore);
    // Slots from count on are cleared.
    void clearTargetsFrom(int count);
    const TargetSlot& target(int slot) const { return targets_[static_cast<std::size_t>(slot)]; }
    void repositionSymbols(int from = 0);

    // ---- Pendant symbols -------------------------------------------------------
    void setPendant(int slot, float lon, float lat, bool selected, bool lost);
    void selectPendant(int slot);
    int selectedPendant() const { return selectedPendant_; }
    const PendantSlot& pendant(int slot) const { return pendants_[static_cast<std::size_t>(slot)]; }

    // The symbol under a pixel (drawn last is on top), else the chart.
    ChartHit hitTest(int x, int y) const;

    // ---- Interaction -----------------------------------------------------------
    // The centre after a drag from press to release (pixels), clamped; the pixel
    // delta is turned back through the rotation. False without a move.
    bool panCentre(PixelXY press, PixelXY release, GeoPoint& centre) const;
    // One westward (or eastward) step of the automatic map cruise: two thirds of
    // the view's spans, wrapping at the antimeridian and the poles.
    GeoPoint cruiseStep(bool east) const;

    // ---- Hooks -----------------------------------------------------------------
    void addLayerHook(ChartLayer layer, ChartLayerHook* hook);
    void removeLayerHook(ChartLayerHook* hook);
    void setTargetMarkSource(const TargetMarkSource* source) { marks_ = source; }
    const TargetMarkSource* targetMarkSource() const { return marks_; }
    // True when any hook draws into the overlay bitmap.
    bool hasOverlayHooks() const;

    // ---- Drawing ---------------------------------------------------------------
    // The hooks of one layer.
    void drawHooks(ChartLayer layer, ChartCanvas& canvas, const ChartPalette& palette,
                   const CAxisData& axis) const;
    // Own-ship tracks, markers, routes and the pending marker, into the overlay.
    void drawOverlay(ChartCanvas& canvas, const ChartPalette& palette) const;
    // Grid, own-ship cross and rings, target tracks, symbols, alarm marks,
    // destination and measure, as every repaint draws them over the layers.
    // With `tracks`, the target tracks are composed by it (from a finished image)
    // instead of being drawn by their hooks.
    struct TrackComposer {
        virtual ~TrackComposer() = default;
        virtual void composeTargetTracks() = 0;
    };
    void drawVectorLayers(ChartCanvas& canvas, const ChartPalette& palette,
                          SymbolDrawer* drawer = nullptr, TrackComposer* tracks = nullptr);
    bool hasTargetTrackHooks() const {
        return !hooks_[static_cast<std::size_t>(ChartLayer::TargetTracks)].empty();
    }
    void drawGrid(ChartCanvas& canvas) const;
    void drawRangeRings(ChartCanvas& canvas);
    void drawSymbols(ChartCanvas& canvas, SymbolDrawer* drawer = nullptr) const;

  private:
    void placeTarget(int slot);
    void placePendant(int slot);
    bool followOwnShip(double lon, double lat);

    CAxisData axis_;
    OwnReference own_;
    bool ownKnown_ = true;
    PixelXY drawnOwn_{-1, -1};
    std::array<TargetSlot, kSymbolSlots> targets_{};
    std::array<PendantSlot, kPendantSlots> pendants_{};
    int selected_ = 0;
    int selectedPendant_ = -1;
    bool stale_ = true;
    bool overlayDirty_ = false;
    bool tracksDirty_ = true;
    bool centerView_ = false;
    bool ringsShown_ = true;
    bool gridShown_ = true;
    bool gridLinesHidden_ = false;
    bool tracksShown_ = false;
    bool monitoredOnly_ = false;
    Orientation orientation_ = Orientation::NorthUp;
    std::array<std::vector<ChartLayerHook*>, kChartLayerCount> hooks_{};
    const TargetMarkSource* marks_ = nullptr;
};

}  // namespace norq::chart
