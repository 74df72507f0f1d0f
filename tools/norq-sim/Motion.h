// The motion of one station: steering along its waypoints with a limited rate
// of turn, at constant speed, on a spherical earth.
#pragma once

#include <cstddef>
#include <vector>

#include "GeoMath.h"

namespace norq::sim {

class MovingBody {
  public:
    MovingBody() = default;
    MovingBody(GeoPoint start, double course, double speedKn, std::vector<GeoPoint> route,
               bool loop, double maxRateOfTurn);

    // Moves `dt` seconds on: turns towards the next waypoint (no faster than
    // the maximum rate of turn), then advances at the present course and speed.
    void step(double dt);
    // Where the body will be `dt` seconds from now if it keeps course and speed.
    GeoPoint extrapolate(double dt) const;

    GeoPoint position() const { return position_; }
    double course() const { return course_; }
    double speed() const { return speed_; }
    // Present rate of turn in degrees per minute, positive to starboard.
    double rateOfTurn() const { return rateOfTurn_; }
    bool turning() const;
    bool routeFinished() const { return next_ >= route_.size(); }

    void setSpeed(double knots) { speed_ = knots; }
    void setCourse(double degrees) { course_ = NormalizeCourse(degrees); }

  private:
    GeoPoint position_;
    double course_ = 0.0;
    double speed_ = 0.0;
    double rateOfTurn_ = 0.0;
    double maxRateOfTurn_ = 20.0;
    std::vector<GeoPoint> route_;
    std::size_t next_ = 0;
    bool loop_ = false;
};

}  // namespace norq::sim
