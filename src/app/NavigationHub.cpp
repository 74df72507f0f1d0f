#include "app/NavigationHub.h"

#include "app/MainForm.h"
#include "app/nav/NavMarkers.h"
#include "app/nav/NavPositions.h"
#include "app/nav/NavRoutes.h"
#include "app/nav/NavTracks.h"
#include "chart/forms/PaintChart.h"

namespace norq::app {

NavigationHub::NavigationHub(TForm1& main, ais::RunState& run, const TextStore& texts,
                             ui::Dialogs& dialogs)
    : QObject(&main), context_{main, run, texts, dialogs} {
    if (chart::TPaintChart* chart = main.chart()) {
        previous_ = chart->commands();
        chart->setCommands(this);
    }
    // Tracks and positions first: the manager window of the markers part shows
    // the route and track pages of the other parts.
    tracks_ = std::make_unique<NavTracks>(*this);
    positions_ = std::make_unique<NavPositions>(*this);
    routes_ = std::make_unique<NavRoutes>(*this);
    markers_ = std::make_unique<NavMarkers>(*this);
}

NavigationHub::~NavigationHub() {
    if (chart::TPaintChart* chart = context_.main.chart()) {
        if (chart->commands() == this) chart->setCommands(previous_);
    }
    markers_.reset();
    routes_.reset();
    positions_.reset();
    tracks_.reset();
}

void NavigationHub::readFiles(const std::string& dataFolder) {
    tracks_->readFiles(dataFolder);
    positions_->readFiles(dataFolder);
    routes_->readFiles(dataFolder);
    markers_->readFiles(dataFolder);
}

void NavigationHub::retranslate() {
    tracks_->retranslate();
    positions_->retranslate();
    routes_->retranslate();
    markers_->retranslate();
}

void NavigationHub::stepSecond() {
    tracks_->stepSecond();
    positions_->stepSecond();
    routes_->stepSecond();
    markers_->stepSecond();
}

void NavigationHub::shutdown() {
    tracks_->shutdown();
    positions_->shutdown();
    routes_->shutdown();
    markers_->shutdown();
}

void NavigationHub::setManualPositionHere(double lon, double lat) {
    positions_->setManualPositionHere(lon, lat);
}

void NavigationHub::addDestinationHere(double lon, double lat) {
    positions_->addDestinationHere(lon, lat);
}

void NavigationHub::addMarkerHere(double lon, double lat) {
    markers_->addMarkerHere(lon, lat);
}

void NavigationHub::setMonitored(int slot, bool monitored) {
    if (previous_ != nullptr) previous_->setMonitored(slot, monitored);
}

bool NavigationHub::trackVisible(int slot) const {
    return tracks_->trackVisible(slot);
}

void NavigationHub::setTrackVisible(int slot, bool visible) {
    tracks_->setTrackVisible(slot, visible);
}

void NavigationHub::pendantClicked(int slot) {
    if (previous_ != nullptr) previous_->pendantClicked(slot);
}

void NavigationHub::appendTrackPoint(int index) {
    tracks_->appendTrackPoint(index);
}

void NavigationHub::onTargetRemoved(int index) {
    tracks_->onTargetRemoved(index);
}

}  // namespace norq::app
