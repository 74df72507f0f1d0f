#include "ui/Sound.h"

namespace norq::ui {

void SoundPlayer::beep(int /*hz*/, int /*ms*/) {
    ++beeps_;
}

}  // namespace norq::ui
