// The markers on the chart's overlay: a small circle and the name of every
// marker in view, the marker "Locate" picked in bold for one drawing, and the
// glyph of a marker being placed.
#pragma once

#include "chart/ChartLayers.h"
#include "nav/Markmanage.h"
#include "nav/OverlayLongitude.h"

namespace norq::nav {

// What the marker drawing shares with the windows.
struct MarkerDrawState {
    bool shown = true;     // "Show Markers"
    int highlighted = -1;  // set by "Locate", cleared by the drawing that shows it
    bool pending = false;  // a new marker is being placed
    double pendingLon = 0.0;
    double pendingLat = 0.0;
};

// Draws the markers (ChartLayer::Markers) and the pending glyph
// (ChartLayer::PendingMarker) of one list.
class MarkerLayer final : public chart::ChartLayerHook {
  public:
    MarkerLayer(const MarkerList& markers, MarkerDrawState& state)
        : markers_(markers), state_(state) {}

    void drawLayer(const chart::LayerContext& context) override;

  private:
    void drawMarkers(const chart::LayerContext& context);
    void drawPending(const chart::LayerContext& context) const;

    const MarkerList& markers_;
    MarkerDrawState& state_;
};

}  // namespace norq::nav
