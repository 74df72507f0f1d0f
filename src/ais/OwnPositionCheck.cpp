#include "ais/OwnPositionCheck.h"

#include <cmath>

#include "ais/Geometry.h"

namespace norq::ais {

namespace {
bool Fresh(const TimedPosition& p, std::int64_t now) {
    return p.valid && std::fabs(p.longitude) <= 180.0 && std::fabs(p.latitude) <= 90.0 &&
           now - p.at <= kOwnPositionCheckAge && now >= p.at;
}
}  // namespace

double OwnPositionSeparationMetres(const TimedPosition& gnss, const TimedPosition& vdo,
                                   std::int64_t now) {
    if (!Fresh(gnss, now) || !Fresh(vdo, now)) return -1.0;
    return GreatCircleKm(gnss.longitude, gnss.latitude, vdo.longitude, vdo.latitude) * 1000.0;
}

std::int64_t SilentForSeconds(std::int64_t lastHeard, std::int64_t now, int limit) {
    if (limit <= 0 || lastHeard < 0 || now < lastHeard) return 0;
    const std::int64_t silent = now - lastHeard;
    return silent > limit ? silent : 0;
}

}  // namespace norq::ais
