// The sound path of the viewer: the registry of looping alarm sounds and the
// beep of the one-second step, one instance for the whole program.
#pragma once

#include "ui/ClassAlertSound.h"

namespace norq::ui {

class SoundPlayer {
  public:
    // A tone of `hz` for `ms` milliseconds (the speaker beep).
    void beep(int hz, int ms) { alerts_.beep(hz, ms); }
    int beepCount() const { return alerts_.beepCount(); }
    ClassAlertSound& alerts() { return alerts_; }
    const ClassAlertSound& alerts() const { return alerts_; }

  private:
    ClassAlertSound alerts_;
};

}  // namespace norq::ui
