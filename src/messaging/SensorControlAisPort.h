// The AIS port of the sensor port control as the safety messages write to it:
// the composed sentence goes out unchanged, without the message log.
#pragma once

#include "ais/BbmSender.h"
#include "comm/TSysSensorControl.h"
#include "messaging/SafetyMessages.h"

namespace norq::messaging {

class SensorControlAisPort final : public AisPortWriter {
  public:
    explicit SensorControlAisPort(comm::TSysSensorControl& control) : control_(control) {}
    bool writeToAisPort(std::string_view line) override {
        return control_.SendBytes(ais::kAisSensor, line.data(), static_cast<int>(line.size()));
    }

  private:
    comm::TSysSensorControl& control_;
};

}  // namespace norq::messaging
