#include "nav/RouteTool.h"

namespace norq::nav {

namespace {
bool LatitudeUsable(double lat) {
    return lat >= -90.0 && lat <= 90.0;
}
}  // namespace

double WrapOnce(double lon) {
    if (lon > 180.0) return lon - 360.0;
    if (lon < -180.0) return lon + 360.0;
    return lon;
}

bool RouteTool::press(const chart::ChartPointer& pointer) {
    store_.setHighlighted(-1);
    moves_ = 0;
    if (pointer.button == chart::PointerButton::Left && LatitudeUsable(pointer.position.lat))
        state_ = RouteToolState::Armed;
    return false;
}

bool RouteTool::move(const chart::ChartPointer& /*pointer*/, bool pressed) {
    if (!pressed || state_ != RouteToolState::Armed) return false;
    // Small movements of a click are not a drag: the chart must not pan yet.
    if (++moves_ > kDragMoves) {
        state_ = RouteToolState::Pending;
        return false;
    }
    return true;
}

bool RouteTool::release(const chart::ChartPointer& pointer) {
    if (pointer.button == chart::PointerButton::Right) {
        // Whatever the state, so that "End Route" is always within reach.
        const RouteHit hit = store_.hitTest(pointer.pixel.x, pointer.pixel.y);
        host_.routeChanged();
        host_.routePopup(hit, pointer.pixel);
        return true;
    }
    if (pointer.button != chart::PointerButton::Left) return false;
    if (state_ == RouteToolState::Pending) {
        state_ = RouteToolState::Released;
        return false;  // the chart ends its pan
    }
    if (state_ != RouteToolState::Armed) return false;
    state_ = RouteToolState::Released;
    const double lon = WrapOnce(pointer.position.lon);
    const double lat = pointer.position.lat;
    if (!LatitudeUsable(lat)) return true;
    if (appendRoute_ >= 0) {
        if (!store_.valid(appendRoute_)) {
            appendRoute_ = -1;
            return true;
        }
        host_.routeAppended(appendRoute_, store_.appendWaypoint(appendRoute_, lon, lat));
        host_.routeChanged();
        return true;
    }
    if (store_.addWaypoint(pointer.pixel.x, pointer.pixel.y, lon, lat) == AddWaypointResult::Full) {
        state_ = RouteToolState::Idle;
        host_.routeStoreFull();
        return true;
    }
    host_.routeChanged();
    return true;
}

}  // namespace norq::nav
