// The route tool on the chart: a left click adds a waypoint to the route under
// construction where it was pressed (a press that turns into a drag pans the
// chart instead); a right click asks for the tool's popup menu, with the hit
// test on the saved routes deciding which commands it offers.
#pragma once

#include "chart/ChartLayers.h"
#include "nav/RouteStore.h"

namespace norq::nav {

class RouteToolHost {
  public:
    virtual ~RouteToolHost() = default;
    // 200 routes are saved: the warning is shown and the tool released.
    virtual void routeStoreFull() = 0;
    // A waypoint was added: the overlay is redrawn.
    virtual void routeChanged() = 0;
    // A waypoint was appended to a saved route; written is false when its
    // file could not be written.
    virtual void routeAppended(int /*route*/, bool /*written*/) {}
    // The right button was released: "End Route" for RouteHit::Nothing, else
    // "Delete Route", "Reverse Route" and "Properties" for the selected route.
    virtual void routePopup(RouteHit hit, chart::PixelXY pixel) = 0;
};

class RouteTool final : public chart::ChartPointerTool {
  public:
    // More pointer moves than this while pressed make the press a drag.
    static constexpr int kDragMoves = 10;

    RouteTool(RouteStore& store, RouteToolHost& host) : store_(store), host_(host) {}

    bool press(const chart::ChartPointer& pointer) override;
    bool move(const chart::ChartPointer& pointer, bool pressed) override;
    bool release(const chart::ChartPointer& pointer) override;

    RouteToolState state() const { return state_; }
    void setState(RouteToolState state) { state_ = state; }
    // While set (a saved route's index), clicks append waypoints to that
    // route instead of building a new one; -1 builds.
    void setAppendRoute(int route) { appendRoute_ = route; }
    int appendRoute() const { return appendRoute_; }

  private:
    RouteStore& store_;
    RouteToolHost& host_;
    RouteToolState state_ = RouteToolState::Idle;
    int moves_ = 0;
    int appendRoute_ = -1;
};

// A longitude brought back by one turn when it lies beyond +-180.
double WrapOnce(double lon);

}  // namespace norq::nav
