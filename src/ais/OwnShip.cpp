#include "ais/OwnShip.h"

#include <cstdio>

namespace norq::ais {

namespace {

constexpr double kKnotsPerKmh = 1.0 / 1.852;

using codec::DateValid;
using codec::GgaQualityIsFix;
using codec::PositionPresent;
using codec::StatusIsFix;
using codec::TimeOfDayValid;

bool SogUsable(double sog) {
    return sog >= 0.0 && sog <= kMaxSog;
}

bool CogUsable(double cog) {
    return cog >= 0.0 && cog < 360.0;
}

// A GNS gives one mode letter per constellation: the position is a fix when any of
// them is autonomous, differential, precise, RTK fixed or float, or estimated, and the
// navigational status (NMEA 4.1 on) does not call it not valid.
bool GnsIsFix(const codec::Gns& g) {
    if (g.navStatus == 'V') return false;
    for (char mode : g.mode) {
        if (mode == '\0') break;
        switch (mode) {
            case 'A':
            case 'D':
            case 'P':
            case 'R':
            case 'F':
            case 'E':
                return true;
            default:
                break;
        }
    }
    return false;
}

// Ages an item; true when it has just gone stale.
bool Expire(GnssItem& item, std::int64_t now) {
    if (!item.valid || now - item.at <= kGnssStaleSeconds) return false;
    item.valid = false;
    return true;
}

}  // namespace

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
    const codec::SentenceRecord& record = codec_.received();
    const std::int64_t now = tracker_.clock().monotonicSeconds();
    lastGnssAt_ = now;
    const Carried carried = takeReport(record, now);

    if (carried.time) {
        char text[32];
        if (gnssDate_.month >= 1 && gnssDate_.month <= 12) {
            std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d",
                          gnssDate_.year % 10000, gnssDate_.month % 100, gnssDate_.day % 100,
                          gnssTime_.hour % 100, gnssTime_.minute % 100, gnssTime_.second % 100);
        } else {
            // A time without a date yet (GGA or GNS before the first RMC or
            // ZDA): the time alone, never a date of zeros.
            std::snprintf(text, sizeof text, "%02d:%02d:%02d", gnssTime_.hour % 100,
                          gnssTime_.minute % 100, gnssTime_.second % 100);
        }
        view_->setUtcText(text);
    }

    if (position_.valid) {
        // Only a sentence with a position or a motion changes the own ship.
        if (carried.position || carried.motion) updatePosition(carried.position, now);
    } else {
        const ChartTargets::OwnPosition chart = chart_->chartOwnPosition();
        showNoFix(chart.longitude, chart.latitude);
    }

    const std::string_view talker = record.talkerText();
    if (const codec::Gsa* gsa = record.as<codec::Gsa>()) {
        satellites_.onGsa(talker, *gsa, now);
    } else if (const codec::Gsv* gsv = record.as<codec::Gsv>()) {
        if (satellites_.onGsv(talker, *gsv, now) && view_->satelliteWindowShowing()) {
            view_->showSatellites(satellites());
        }
    }
    showFixIndicator();
}

OwnShip::Carried OwnShip::takeReport(const codec::SentenceRecord& r, std::int64_t now) {
    Carried c;
    if (const codec::Gga* g = r.as<codec::Gga>()) {
        c.position = true;
        const bool fix = GgaQualityIsFix(g->quality) && PositionPresent(g->pos);
        reportPosition(fix, g->pos, now);
        if (g->quality != codec::kEmptyByte) {
            quality_ = {true, now};
            qualityValue_ = g->quality;
        }
        if (g->satellites != codec::kEmptyByte) ggaSatellites_ = g->satellites;
        if (fix && TimeOfDayValid(g->time)) {
            reportTime(g->time, now);
            c.time = true;
        }
    } else if (const codec::Gll* l = r.as<codec::Gll>()) {
        c.position = true;
        reportPosition(StatusIsFix(l->status, l->mode) && PositionPresent(l->pos), l->pos, now);
    } else if (const codec::Rmc* m = r.as<codec::Rmc>()) {
        c.position = true;
        c.motion = true;
        const bool fix = StatusIsFix(m->status, m->mode);
        reportPosition(fix && PositionPresent(m->pos), m->pos, now);
        if (fix) reportMotion(m->sog, m->cog, now);
        if (fix && TimeOfDayValid(m->time) && DateValid(m->date)) {
            gnssDate_ = m->date;
            reportTime(m->time, now);
            c.time = true;
        }
    } else if (const codec::Gns* n = r.as<codec::Gns>()) {
        c.position = true;
        const bool fix = GnsIsFix(*n) && PositionPresent(n->pos);
        reportPosition(fix, n->pos, now);
        if (fix && TimeOfDayValid(n->time)) {
            reportTime(n->time, now);
            c.time = true;
        }
    } else if (const codec::Vtg* v = r.as<codec::Vtg>()) {
        c.motion = true;
        if (v->mode != 'N') {
            const double sog = SogUsable(v->sogKnots) ? v->sogKnots
                               : v->sogKmh >= 0.0     ? v->sogKmh * kKnotsPerKmh
                                                      : codec::kEmptyFloat;
            reportMotion(sog, v->cogTrue, now);
        }
    }
    return c;
}

void OwnShip::reportPosition(bool fix, const codec::LatLon& pos, std::int64_t now) {
    if (!fix) {
        position_.valid = false;
        return;
    }
    position_ = {true, now};
    latitude_ = pos.lat;
    longitude_ = pos.lon;
}

void OwnShip::reportMotion(double sog, double cog, std::int64_t now) {
    if (SogUsable(sog)) {
        sog_ = {true, now};
        sogValue_ = sog;
    }
    if (CogUsable(cog)) {
        cog_ = {true, now};
        cogValue_ = cog;
    }
}

void OwnShip::reportTime(const codec::TimeOfDay& time, std::int64_t now) {
    time_ = {true, now};
    gnssTime_ = time;
    // A receiver without RMC gives no date: the last one stands.
    if (gnssDate_.year == 0) gnssDate_ = codec_.gnss().date;
}

void OwnShip::updatePosition(bool positionReported, std::int64_t now) {
    TargetTable& table = tracker_.table();
    TargetRecord& own = table.own();
    manualInForce_ = false;
    tracker_.setOwnPositionFlag(true);
    own.ownPositionValid = 1;
    own.monitored = 1;
    if (positionReported) own.lastUpdate = now;
    const PositionBias& bias = tracker_.positionBias();
    own.longitude = static_cast<float>(longitude_ + bias.longitude);
    own.latitude = static_cast<float>(latitude_ + bias.latitude);
    own.sog = sog_.valid ? static_cast<float>(sogValue_) : kSogNotAvailable;
    own.cog = cog_.valid ? static_cast<float>(cogValue_) : kCogReset;

    ownView_->ShowOwnShipTop(own.longitude, own.latitude, own.sog, own.cog);
    view_->setFixData(fixData(own));
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

GnssFixData OwnShip::fixData(const TargetRecord& own) const {
    const codec::GnssStore& g = codec_.gnss();
    GnssFixData d;
    d.longitude = own.longitude;
    d.latitude = own.latitude;
    d.altitude = g.altitude;
    d.fixType = satellites_.fixType();
    const int used = satellites_.usedCount();
    d.satellitesUsed =
        used >= 0 ? used : (quality_.valid && ggaSatellites_ > 0 ? ggaSatellites_ : 0);
    // The GSV's own count is that of its constellation only: with several
    // constellations the list tells how many are in view.
    const int inView = satellites_.inViewCount();
    d.satellitesInView = inView > 0 ? inView : g.satellitesInView;
    d.valid = position_.valid;
    d.quality = quality();
    for (int s = 0; s < kGnssSystemCount; ++s)
        d.usedBySystem[static_cast<std::size_t>(s)] =
            satellites_.usedCount(static_cast<GnssSystem>(s));
    return d;
}

void OwnShip::showFixIndicator() {
    const int fixType = satellites_.fixType();
    if (fixType == 2 || fixType == 3) {
        view_->setFixIndicator(fixType == 3 ? FixIndicator::Fix3D : FixIndicator::Fixed);
    } else {
        view_->setFixIndicator(tracker_.ownPositionFlag() ? FixIndicator::Fixed
                                                          : FixIndicator::Lost);
    }
}

void OwnShip::onHeadingSentence() {
    // GNS arrives with the heading group, but it is a position report like GGA.
    if (codec_.received().as<codec::Gns>() != nullptr) {
        UpdateOwnShipFromGnss();
        return;
    }
    const codec::Hdt* h = codec_.received().as<codec::Hdt>();
    if (h == nullptr || !(h->heading >= 0.0 && h->heading < 360.0)) return;
    heading_ = {true, tracker_.clock().monotonicSeconds()};
    headingValue_ = h->heading;
    tracker_.table().own().heading = static_cast<float>(h->heading);
}

void OwnShip::showOwnShipTop(double lon, double lat, double sog, double cog) {
    TargetRecord& own = tracker_.table().own();
    if (!own.ownPositionValid) {
        own.longitude = static_cast<float>(lon);
        own.latitude = static_cast<float>(lat);
    }
    ownView_->ShowOwnShipTop(lon, lat, sog, cog);
}

void OwnShip::showNoFix(double lon, double lat) {
    if (manualInForce_) {
        showOwnShipTop(lon, lat, 103.0, 361.0);
        return;
    }
    TargetRecord& own = tracker_.table().own();
    if (!own.ownPositionValid) {
        own.longitude = static_cast<float>(lon);
        own.latitude = static_cast<float>(lat);
    }
    ownView_->ShowOwnShipTop(kLonNotAvailable, kLatNotAvailable, 103.0, 361.0);
}

void OwnShip::setManualPosition(double lon, double lat, double cog) {
    if (!tracker_.table().own().ownPositionValid) manualInForce_ = true;
    showOwnShipTop(lon, lat, 103.0, cog);
}

bool OwnShip::expireItems(std::int64_t now) {
    TargetRecord& own = tracker_.table().own();
    bool changed = Expire(position_, now);
    if (Expire(sog_, now)) {
        own.sog = kSogNotAvailable;
        changed = true;
    }
    if (Expire(cog_, now)) {
        own.cog = kCogReset;
        changed = true;
    }
    if (Expire(heading_, now)) own.heading = kHeadingNotAvailable;
    Expire(time_, now);
    changed |= Expire(quality_, now);
    return changed;
}

void OwnShip::checkStaleness(bool anySensorPortInUse) {
    const std::int64_t now = tracker_.clock().monotonicSeconds();
    TargetRecord& own = tracker_.table().own();
    bool changed = expireItems(now);
    if (satellites_.expire(now, kGnssStaleSeconds)) {
        changed = true;
        if (view_->satelliteWindowShowing()) view_->showSatellites(satellites());
    }
    if (now - own.lastUpdate > kGnssStaleSeconds) {
        tracker_.setOwnPositionFlag(false);
        if (anySensorPortInUse && own.ownPositionValid) {
            own.ownPositionValid = 0;
            own.monitored = 0;
            chart_->refreshSymbol(0);
            changed = true;
        }
    }
    if (!changed) return;
    if (own.ownPositionValid) {
        ownView_->ShowOwnShipTop(own.longitude, own.latitude, own.sog, own.cog);
    } else {
        const ChartTargets::OwnPosition chart = chart_->chartOwnPosition();
        showNoFix(chart.longitude, chart.latitude);
    }
    view_->setFixData(fixData(own));
    showFixIndicator();
    targetView_->gridRowChanged(0);
    tracker_.UpdateAllTargetGeometry(tracker_.referencePosition());
}

}  // namespace norq::ais
