#include "nav/OverlayLongitude.h"

namespace norq::nav {

double OverlayLongitude(const chart::CAxisData& axis, double lon) {
    const int left = static_cast<int>(axis.left());
    const int right = static_cast<int>(axis.right());
    if (left < -180) {
        if (lon > right || lon < -180.0) return lon - 360.0;
    } else if (right > 180) {
        if (lon < left || lon > 180.0) return lon + 360.0;
    }
    return lon;
}

}  // namespace norq::nav
