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

void SatelliteSet::rebuild(std::span<const ais::SatelliteEntry> satellites) {
    count_ = 0;
    for (const ais::SatelliteEntry& s : satellites) {
        if (count_ >= kMaxSignalBars) break;
        const bool known = s.prn >= 0 && s.prn < static_cast<int>(lastSnr_.size());
        int snr = s.snr;
        const bool current = snr >= 0 && snr <= 99;
        if (known && current)
            lastSnr_[static_cast<std::size_t>(s.prn)] = static_cast<std::int16_t>(snr);
        if (!current) snr = known ? std::max<int>(lastSnr_[static_cast<std::size_t>(s.prn)], 0) : 0;
        bars_[static_cast<std::size_t>(count_)] = {s.prn, snr, s.used};
        satellites_[static_cast<std::size_t>(count_)] = s;
        ++count_;
    }
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
