#include "app/nav/NavTracks.h"

#include "app/NavigationHub.h"

namespace norq::app {

NavTracks::NavTracks(NavigationHub& hub) : QObject(nullptr), hub_(hub) {}

NavTracks::~NavTracks() = default;

void NavTracks::readFiles(const std::string& /*dataFolder*/) {}

void NavTracks::retranslate() {}

void NavTracks::stepSecond() {}

void NavTracks::shutdown() {}

QWidget* NavTracks::managerPage() {
    return nullptr;
}

bool NavTracks::trackVisible(int /*slot*/) const {
    return false;
}

void NavTracks::setTrackVisible(int /*slot*/, bool /*visible*/) {}

void NavTracks::appendTrackPoint(int /*index*/) {}

void NavTracks::onTargetRemoved(int /*index*/) {}

}  // namespace norq::app
