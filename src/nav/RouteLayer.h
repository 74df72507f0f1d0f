// The chart's route layer: the route under construction and every visible saved
// route, each waypoint ringed and numbered, the legs joining them; the route
// the navigation manager located is drawn in the selected colours.
#pragma once

#include "chart/ChartLayers.h"
#include "nav/OverlayLongitude.h"
#include "nav/RouteStore.h"

namespace norq::nav {

class RouteLayer final : public chart::ChartLayerHook {
  public:
    explicit RouteLayer(RouteStore& store) : store_(store) {}
    void drawLayer(const chart::LayerContext& context) override;

  private:
    RouteStore& store_;
};

}  // namespace norq::nav
