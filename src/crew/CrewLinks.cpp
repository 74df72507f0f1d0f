#include "crew/CrewLinks.h"

namespace norq::crew {

void CrewIntake::connect(ais::SentenceIntake& intake) {
    if (connected_) return;
    ais::IntakeConnections connections = intake.connections();
    previous_ = connections.proprietary;
    connections.proprietary = this;
    intake.connect(connections);
    connected_ = true;
}

void CrewIntake::OnMobSentence() {
    const OwnPosition own = ownPosition_ ? ownPosition_() : OwnPosition{};
    watch_.OnMobSentence(codec_.proprietary().mob, own.lon, own.lat);
    if (previous_ != nullptr) previous_->OnMobSentence();
}

void CrewIntake::OnMarkerSentence() {
    if (previous_ != nullptr) previous_->OnMarkerSentence();
}

bool SensorControlCrewPort::sendCrewCommand(const codec::Mob& items) {
    codec_.proprietary().mob = items;
    return control_.SendSentence(comm::kMobPort, "P", "MOB");
}

}  // namespace norq::crew
