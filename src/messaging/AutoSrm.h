// The automatic SRM of the crew alarms: while an alarm lasts, "MAN OVERBOARD"
// goes out at the alarm's first tick and then every 61 ticks, whenever the
// "Auto SRM" box is checked and the AIS serial link is connected at that tick.
// The drill never sends: a test alarm must not reach the transponder.
#pragma once

#include "messaging/SafetyMessages.h"

namespace norq::messaging {

class AutoSrm {
  public:
    static constexpr int kPeriodTicks = 61;

    explicit AutoSrm(SafetyMessages& srm) : srm_(srm) {}

    // One tick of the alarm timer. True when an SRM was written.
    bool step(bool alarm, bool drill, bool checked, bool aisSerialConnected);
    int counter() const { return counter_; }

  private:
    SafetyMessages& srm_;
    bool alarmSeen_ = false;
    int counter_ = kPeriodTicks;
};

}  // namespace norq::messaging
