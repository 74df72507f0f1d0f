#include "chart/OrientationFollow.h"

#include <cmath>

namespace norq::chart {

float AngleBetween(float a, float b) {
    const float d = std::fmod(std::fabs(a - b), 360.0f);
    return d > 180.0f ? 360.0f - d : d;
}

void OrientationFollow::restart(float heading, float course) {
    heading_ = heading;
    course_ = course;
    skips_ = 0;
    armed_ = true;
}

bool OrientationFollow::step(bool headUp, float heading, float course) {
    if (!armed_) return false;
    armed_ = false;
    float threshold = kTurnThreshold;
    if (skips_ >= kSkipLimit) {
        skips_ = 0;
        threshold = kSlowTurnThreshold;
    }
    const float moved = headUp ? AngleBetween(heading, heading_) : AngleBetween(course, course_);
    if (moved < threshold) {
        armed_ = true;
        ++skips_;
        return false;
    }
    skips_ = 0;
    heading_ = heading;
    course_ = course;
    return true;
}

}  // namespace norq::chart
