// The visible fairways on the chart, in the overlay above the routes: a
// polyline or route as a line through its waypoints, a polygon closed and
// cross-hatched, a circle around its first waypoint through its second, each
// labelled with its name and linkage ID at the first waypoint.
#pragma once

#include "chart/ChartLayers.h"
#include "messaging/FairwayList.h"

namespace norq::messaging {

class FairwayLayer final : public chart::ChartLayerHook {
  public:
    explicit FairwayLayer(const FairwayList& list) : list_(list) {}
    void drawLayer(const chart::LayerContext& context) override;

  private:
    const FairwayList& list_;
};

}  // namespace norq::messaging
