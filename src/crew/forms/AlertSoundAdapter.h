// The crew alarms' sound registry over the viewer's alert sounds: the crew logic
// asks for its looping alarm by name, the platform layer plays it.
#pragma once

#include <string_view>

#include "crew/AisMobList.h"
#include "ui/ClassAlertSound.h"

namespace norq::crew {

class AlertSoundAdapter final : public AlarmSound {
  public:
    explicit AlertSoundAdapter(ui::ClassAlertSound& alerts) : alerts_(alerts) {}
    void Activate(std::string_view name) override { alerts_.Activate(name); }
    void Deactivate(std::string_view name) override { alerts_.Deactivate(name); }
    bool AnyActive() const override { return alerts_.AnyActive(); }
    bool audible() const override { return alerts_.audible(); }

  private:
    ui::ClassAlertSound& alerts_;
};

}  // namespace norq::crew
