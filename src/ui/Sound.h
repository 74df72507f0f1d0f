// The sound path: the alarm beep of the one-second step and the looping alarm
// sounds. This is a stub until the alarm sounds are built: it counts what it
// was asked to play, so that the timer steps can be tested, and plays nothing.
#pragma once

namespace norq::ui {

class SoundPlayer {
  public:
    // A tone of `hz` for `ms` milliseconds (the speaker beep).
    void beep(int hz, int ms);
    int beepCount() const { return beeps_; }

  private:
    int beeps_ = 0;
};

}  // namespace norq::ui
