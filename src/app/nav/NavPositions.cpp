#include "app/nav/NavPositions.h"

#include "app/NavigationHub.h"

namespace norq::app {

NavPositions::NavPositions(NavigationHub& hub) : QObject(nullptr), hub_(hub) {}

NavPositions::~NavPositions() = default;

void NavPositions::readFiles(const std::string& /*dataFolder*/) {}

void NavPositions::retranslate() {}

void NavPositions::stepSecond() {}

void NavPositions::shutdown() {}

void NavPositions::setManualPositionHere(double /*lon*/, double /*lat*/) {}

void NavPositions::addDestinationHere(double /*lon*/, double /*lat*/) {}

}  // namespace norq::app
