#include "Motion.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace norq::sim {

namespace {
// A rate of turn at or above this counts as changing course for the
// reporting interval of a class A station (degrees per minute).
constexpr double kTurningRate = 5.0;
}  // namespace

MovingBody::MovingBody(GeoPoint start, double course, double speedKn, std::vector<GeoPoint> route,
                       bool loop, double maxRateOfTurn)
    : position_(start),
      course_(NormalizeCourse(course)),
      speed_(speedKn),
      maxRateOfTurn_(maxRateOfTurn > 0.5 ? maxRateOfTurn : 0.5),
      route_(std::move(route)),
      loop_(loop) {
    if (loop_ && !route_.empty()) route_.push_back(start);
}

bool MovingBody::turning() const {
    return std::fabs(rateOfTurn_) >= kTurningRate;
}

void MovingBody::step(double dt) {
    if (dt <= 0.0) return;
    rateOfTurn_ = 0.0;
    if (next_ < route_.size() && speed_ > 0.05) {
        const GeoPoint target = route_[next_];
        // Turning circle radius in nautical miles at the maximum rate of turn.
        const double radius = (speed_ / 60.0) / (maxRateOfTurn_ * kDegToRad);
        const double distance = DistanceNm(position_, target);
        if (distance < std::max(0.05, std::min(radius, 1.5))) {
            ++next_;
            if (next_ >= route_.size() && loop_) next_ = 0;
        }
        if (next_ < route_.size()) {
            const double wanted = BearingDeg(position_, route_[next_]);
            const double diff = CourseDifference(course_, wanted);
            const double limit = maxRateOfTurn_ * dt / 60.0;
            const double change = std::clamp(diff, -limit, limit);
            course_ = NormalizeCourse(course_ + change);
            rateOfTurn_ = change * 60.0 / dt;
        }
    }
    position_ = Destination(position_, course_, speed_ * dt / 3600.0);
}

GeoPoint MovingBody::extrapolate(double dt) const {
    if (dt <= 0.0 || speed_ <= 0.0) return position_;
    return Destination(position_, course_, speed_ * dt / 3600.0);
}

}  // namespace norq::sim
