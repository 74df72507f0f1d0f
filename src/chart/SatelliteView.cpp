#include "chart/SatelliteView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace norq::chart {

SkyPlotGeometry SkyPlotFor(int width, int height) {
    SkyPlotGeometry g;
    g.cx = width / 2;
    g.cy = height / 2;
    g.radius = std::max(0, std::min((width - 16) / 2, (height - 16) / 2));
    // Below a radius of 3 the plot is too small for any circle.
    const int k = g.radius / 3;
    if (k >= 1) {
        for (int r = k; r < g.radius && g.circleCount < 3; r += k)
            g.circles[static_cast<std::size_t>(g.circleCount++)] = r;
    }
    return g;
}

PixelXY SatelliteMarkerTopLeft(const SkyPlotGeometry& plot, int azimuth, int elevation) {
    int a = 450 - azimuth;
    if (a < 0) a += 360;
    if (a > 360) a -= 360;
    const double r = plot.radius - plot.radius * elevation / 90.0;
    const double angle = a * 0.0174533;
    const int x = static_cast<int>(std::trunc(r * std::cos(angle) + plot.cx));
    const int y = static_cast<int>(std::trunc(plot.cy - r * std::sin(angle)));
    return {x - kSatelliteMarkerSize / 2, y - kSatelliteMarkerSize / 2};
}

int SatelliteSet::lastSnr(const ais::SatelliteEntry& s) const {
    for (int i = 0; i < lastCount_; ++i) {
        const LastSignal& l = last_[static_cast<std::size_t>(i)];
        if (l.system == s.system && l.prn == s.prn && l.signal == s.signalId) return l.snr;
    }
    return 0;
}

void SatelliteSet::rememberSnr(const ais::SatelliteEntry& s) {
    for (int i = 0; i < lastCount_; ++i) {
        LastSignal& l = last_[static_cast<std::size_t>(i)];
        if (l.system == s.system && l.prn == s.prn && l.signal == s.signalId) {
            l.snr = s.snr;
            return;
        }
    }
    if (lastCount_ == static_cast<int>(last_.size())) {
        // Full: the oldest goes.
        std::copy(last_.begin() + 1, last_.end(), last_.begin());
        --lastCount_;
    }
    last_[static_cast<std::size_t>(lastCount_++)] = {s.system, s.prn, s.signalId, s.snr};
}

void SatelliteSet::rebuild(std::span<const ais::SatelliteEntry> satellites) {
    count_ = 0;
    for (const ais::SatelliteEntry& s : satellites) {
        if (count_ >= kMaxSignalBars) break;
        const bool current = s.snr >= 0 && s.snr <= 99;
        if (current) rememberSnr(s);
        const int snr = current ? s.snr : lastSnr(s);
        bars_[static_cast<std::size_t>(count_)] = {s.prn, snr, s.used, s.system};
        satellites_[static_cast<std::size_t>(count_)] = s;
        ++count_;
    }
}

bool SatelliteSet::firstOfItsSatellite(int i) const {
    const ais::SatelliteEntry& s = satellite(i);
    for (int j = 0; j < i; ++j) {
        const ais::SatelliteEntry& t = satellite(j);
        if (t.system == s.system && t.prn == s.prn) return false;
    }
    return true;
}

std::string SatelliteLabel(ais::GnssSystem system, int prn) {
    const char* letter = "";
    switch (system) {
        case ais::GnssSystem::Glonass:
            letter = "R";
            break;
        case ais::GnssSystem::Galileo:
            letter = "E";
            break;
        case ais::GnssSystem::BeiDou:
            letter = "C";
            break;
        case ais::GnssSystem::Qzss:
            letter = "J";
            break;
        case ais::GnssSystem::NavIc:
            letter = "I";
            break;
        case ais::GnssSystem::Gps:
        case ais::GnssSystem::Unknown:
            break;
    }
    return letter + std::to_string(prn);
}

std::string AltitudeText(double altitude) {
    if (!(altitude >= 0.0)) return "N/A";
    char text[32];
    std::snprintf(text, sizeof text, "%8.2f m", std::min(altitude, 1.0e9));
    return text;
}

std::string FixModeText(int fixMode, bool fixed) {
    if (fixMode == 2 || fixMode == 3) return std::to_string(fixMode) + "D";
    return fixed ? "Fixed" : "Lost";
}

std::string SatelliteCountText(int used, int inView) {
    return std::to_string(used) + "/" + std::to_string(inView);
}

}  // namespace norq::chart
