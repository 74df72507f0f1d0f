// The chart's route layer: the route under construction and every visible saved
// route, each waypoint ringed and numbered, the legs joining them; the route
// the navigation manager located is drawn in the selected colours.
#pragma once

#include "chart/ChartLayers.h"
#include "nav/RouteStore.h"

namespace norq::nav {

// The overlay's rule at the antimeridian, with the view's edges truncated to
// whole degrees: a longitude beyond the edge that shows 180 is moved by 360.
double OverlayLongitude(const chart::CAxisData& axis, double lon);

class RouteLayer final : public chart::ChartLayerHook {
  public:
    explicit RouteLayer(RouteStore& store) : store_(store) {}
    void drawLayer(const chart::LayerContext& context) override;

  private:
    RouteStore& store_;
};

}  // namespace norq::nav
