// Where the overlay draws a longitude near the antimeridian: markers, routes
// and track files are kept in -180..180, and a view that shows 180 has one edge
// beyond it; a point on the far side of that edge is moved by 360 degrees, with
// the view's edges truncated to whole degrees.
#pragma once

#include "chart/AxisData.h"

namespace norq::nav {

double OverlayLongitude(const chart::CAxisData& axis, double lon);

}  // namespace norq::nav
