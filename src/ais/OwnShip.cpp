#include "ais/OwnShip.h"

#include <cstdio>

namespace norq::ais {

OwnShip::OwnShip(codec::SentenceCodec& codec, TargetTracker& tracker, GnssView* view,
                 ChartTargets* chart, OwnShipView* ownView, TargetView* targetView)
    : codec_(codec), tracker_(tracker) {
    connect(view, chart, ownView, targetView);
}

void OwnShip::connect(GnssView* view, ChartTargets* chart, OwnShipView* ownView,
                      TargetView* targetView) {
    view_ = view != nullptr ? view : &nullGnss_;
    chart_ = chart != nullptr ? chart : &nullChart_;
    ownView_ = ownView != nullptr ? ownView : &nullOwn_;
    targetView_ = targetView != nullptr ? targetView : &nullTargets_;
}

void OwnShip::UpdateOwnShipFromGnss() {
    const codec::GnssStore& g = codec_.gnss();
    if (g.timeValid) {
        char text[32];
        std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", g.date.year % 10000,
                      g.date.month % 100, g.date.day % 100, g.fixTime.hour % 100,
                      g.fixTime.minute % 100, g.fixTime.second % 100);
        view_->setUtcText(text);
        gnssTime_ = g.fixTime;
        gnssDate_ = g.date;
        gnssTimeValid_ = true;
    }

    if (g.positionValid) {
        updatePosition();
    } else {
        const ChartTargets::OwnPosition chart = chart_->chartOwnPosition();
        showOwnShipTop(chart.longitude, chart.latitude, 103.0, 361.0);
    }

    if (g.fixType == 2 || g.fixType == 3) {
        view_->setFixIndicator(g.fixType == 3 ? FixIndicator::Fix3D : FixIndicator::Fixed);
    } else {
        view_->setFixIndicator(tracker_.ownPositionFlag() ? FixIndicator::Fixed
                                                          : FixIndicator::Lost);
    }

    if (const codec::Gsv* gsv = codec_.received().as<codec::Gsv>()) updateSatellites(*gsv);
}

void OwnShip::updatePosition() {
    const codec::GnssStore& g = codec_.gnss();
    TargetTable& table = tracker_.table();
    TargetRecord& own = table.own();
    tracker_.setOwnPositionFlag(true);
    own.ownPositionValid = 1;
    own.monitored = 1;
    own.lastUpdate = tracker_.clock().monotonicSeconds();
    const PositionBias& bias = tracker_.positionBias();
    own.longitude = static_cast<float>(g.longitude + bias.longitude);
    own.latitude = static_cast<float>(g.latitude + bias.latitude);
    own.sog = static_cast<float>(g.sog);
    if (g.cogValid) own.cog = static_cast<float>(g.cogTrue);

    ownView_->ShowOwnShipTop(own.longitude, own.latitude, own.sog, own.cog);
    view_->setFixData({own.longitude, own.latitude, g.altitude, g.fixType, g.satellitesUsed,
                       g.satellitesInView, true});
    targetView_->gridRowChanged(0);
    if (targetView_->listSelection() == 0) {
        ownView_->ShowOwnShipDetails(own.longitude, own.latitude, own.sog, own.cog);
    }
    chart_->setOwnShip(own.longitude, own.latitude, own.cog);
    chart_->stopCentreView();
    tracker_.refreshSelection();
    chart_->refreshSymbol(0);
    tracker_.UpdateAllTargetGeometry({own.longitude, own.latitude, own.cog});
}

void OwnShip::showOwnShipTop(double lon, double lat, double sog, double cog) {
    TargetRecord& own = tracker_.table().own();
    if (!own.ownPositionValid) {
        own.longitude = static_cast<float>(lon);
        own.latitude = static_cast<float>(lat);
    }
    ownView_->ShowOwnShipTop(lon, lat, sog, cog);
}

void OwnShip::checkStaleness(bool anySensorPortInUse) {
    TargetRecord& own = tracker_.table().own();
    if (tracker_.clock().monotonicSeconds() - own.lastUpdate <= 60) return;
    tracker_.setOwnPositionFlag(false);
    if (anySensorPortInUse && own.ownPositionValid) {
        own.ownPositionValid = 0;
        chart_->refreshSymbol(0);
    }
}

bool OwnShip::prnUsed(int prn) const {
    if (prn <= 0) return false;
    for (int used : codec_.gnss().usedPrn) {
        if (used == prn) return true;
    }
    return false;
}

void OwnShip::updateSatellites(const codec::Gsv& gsv) {
    const bool newCycle =
        gsv.total != previousGsvTotal_ || gsv.number < previousGsvNumber_ || gsv.total == 1;
    if (newCycle) {
        for (std::size_t i = 0; i < listSize_; ++i)
            list_[i].used = prnUsed(list_[i].prn);
        if (view_->satelliteWindowShowing()) view_->showSatellites(satellites());
        listSize_ = 0;
    }
    for (int i = 0; i < gsv.count && i < 4; ++i) {
        const codec::SatelliteInView& s = gsv.satellites[i];
        if (s.prn <= 0 || s.prn == codec::kEmptyByte) continue;
        SatelliteEntry entry{s.prn, s.elevation, s.azimuth, s.snr, false};
        std::size_t at = 0;
        while (at < listSize_ && list_[at].prn != s.prn)
            ++at;
        if (at < listSize_) {
            if (entry.snr == codec::kEmptyByte) entry.snr = list_[at].snr;
            list_[at] = entry;
        } else if (listSize_ < list_.size()) {
            list_[listSize_++] = entry;
        }
    }
    previousGsvTotal_ = gsv.total;
    previousGsvNumber_ = gsv.number;
}

}  // namespace norq::ais
