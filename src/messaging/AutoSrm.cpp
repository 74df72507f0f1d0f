#include "messaging/AutoSrm.h"

namespace norq::messaging {

bool AutoSrm::step(bool alarm, bool drill, bool checked, bool aisSerialConnected) {
    if (!alarm) {
        alarmSeen_ = false;
        return false;
    }
    if (!alarmSeen_) {
        alarmSeen_ = true;
        counter_ = kPeriodTicks;
    }
    bool sent = false;
    if (checked && aisSerialConnected && !drill && counter_ > kPeriodTicks - 1) {
        sent = srm_.SendSrm("MAN OVERBOARD");
    }
    if (--counter_ < 1) counter_ = kPeriodTicks;
    return sent;
}

}  // namespace norq::messaging
