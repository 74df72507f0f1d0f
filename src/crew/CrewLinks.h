// The crew watch on the sensor links: the MOB sentences the intake stores go
// to the crew watch, and its commands go out on the MOB port.
#pragma once

#include <functional>

#include "ais/IntakeInterfaces.h"
#include "ais/SentenceIntake.h"
#include "codec/SentenceCodec.h"
#include "comm/TSysSensorControl.h"
#include "crew/CrewWatch.h"

namespace norq::crew {

struct OwnPosition {
    double lon = 181.0;
    double lat = 91.0;
};

// Takes the intake's proprietary reports; MRK (and whatever else) still
// reaches the handler that had them before.
class CrewIntake final : public ais::ProprietaryHandler {
  public:
    CrewIntake(CrewWatch& watch, const codec::SentenceCodec& codec,
               std::function<OwnPosition()> ownPosition)
        : watch_(watch), codec_(codec), ownPosition_(std::move(ownPosition)) {}

    void connect(ais::SentenceIntake& intake);

    void OnMobSentence() override;
    void OnMarkerSentence() override;

  private:
    CrewWatch& watch_;
    const codec::SentenceCodec& codec_;
    std::function<OwnPosition()> ownPosition_;
    ais::ProprietaryHandler* previous_ = nullptr;
    bool connected_ = false;
};

// The MOB port of the sensor port control.
class SensorControlCrewPort : public CrewCommandPort {
  public:
    SensorControlCrewPort(comm::TSysSensorControl& control, codec::SentenceCodec& codec)
        : control_(control), codec_(codec) {}

    bool crewPortInUse() const override { return control_.inUse(comm::kMobPort); }
    bool sendCrewCommand(const codec::Mob& items) override;

  private:
    comm::TSysSensorControl& control_;
    codec::SentenceCodec& codec_;
};

}  // namespace norq::crew
