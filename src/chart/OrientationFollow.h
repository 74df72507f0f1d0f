// When a head-up or course-up chart turns with the own ship. The chart is turned
// again only once the heading (head up) or the course (course up) has moved by
// 10° from where it was last turned to; after 20 steps without a turn the next
// step takes a 5° move, so a slow, steady swing still reaches the picture. A step
// runs only after the guard was armed (by the one-second step or a redraw), so
// steps that come faster than the chart is drawn do nothing.
#pragma once

namespace norq::chart {

class OrientationFollow {
  public:
    static constexpr float kTurnThreshold = 10.0f;     // degrees
    static constexpr float kSlowTurnThreshold = 5.0f;  // degrees, after kSkipLimit steps
    static constexpr int kSkipLimit = 20;

    // The chart was turned to (heading, course) anew, for example at a change of the
    // orientation mode: the counting starts again and the guard is armed.
    void restart(float heading, float course);
    // Arms the guard: the next step() looks at the own ship again.
    void arm() { armed_ = true; }
    // One step of the orientation timer: true when the chart must be turned to
    // (heading, course) now; the turn is then taken as done, and the guard stays down
    // until the caller has turned the chart and calls arm().
    bool step(bool headUp, float heading, float course);

    bool armed() const { return armed_; }

  private:
    float heading_ = 0.0f;
    float course_ = 0.0f;
    int skips_ = 0;
    bool armed_ = true;
};

// The smaller angle between two directions in degrees, 0 … 180.
float AngleBetween(float a, float b);

}  // namespace norq::chart
