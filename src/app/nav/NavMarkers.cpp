#include "app/nav/NavMarkers.h"

#include "app/NavigationHub.h"

namespace norq::app {

NavMarkers::NavMarkers(NavigationHub& hub) : QObject(nullptr), hub_(hub) {}

NavMarkers::~NavMarkers() = default;

void NavMarkers::readFiles(const std::string& /*dataFolder*/) {}

void NavMarkers::retranslate() {}

void NavMarkers::stepSecond() {}

void NavMarkers::shutdown() {}

void NavMarkers::addMarkerHere(double /*lon*/, double /*lat*/) {}

}  // namespace norq::app
