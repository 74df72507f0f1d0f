// The logic of the GNSS status window: the sky plot's geometry (centre, radius,
// elevation circles, where a satellite sits), the signal bars with the last known
// signal of a satellite whose current value is missing, and the field texts.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "ais/OwnShip.h"
#include "chart/AxisData.h"

namespace norq::chart {

inline constexpr int kMaxSkyMarkers = 32;
inline constexpr int kSatelliteMarkerSize = 20;
inline constexpr int kMaxSignalBars = 64;
inline constexpr int kSignalAxisMaxDb = 58;

struct SkyPlotGeometry {
    int cx = 0;
    int cy = 0;
    int radius = 0;
    // Radii of the elevation circles: k, 2k, ... below the radius (k = R / 3).
    std::array<int, 3> circles{};
    int circleCount = 0;
};
SkyPlotGeometry SkyPlotFor(int width, int height);

// Top-left corner of a satellite's 20 x 20 marker: elevation 90 at the centre,
// 0 on the outer circle, azimuth clockwise from north.
PixelXY SatelliteMarkerTopLeft(const SkyPlotGeometry& plot, int azimuth, int elevation);

struct SignalBar {
    int prn = 0;
    int snr = 0;  // dB, the last known value when the current one is missing
    bool used = false;
};

// The bars and markers of the last complete set of satellites in view.
class SatelliteSet {
  public:
    // Rebuilds from the GNSS state's list; a satellite without a current signal
    // value keeps the one it reported last.
    void rebuild(std::span<const ais::SatelliteEntry> satellites);
    int size() const { return count_; }
    const SignalBar& bar(int i) const { return bars_[static_cast<std::size_t>(i)]; }
    const ais::SatelliteEntry& satellite(int i) const {
        return satellites_[static_cast<std::size_t>(i)];
    }

  private:
    std::array<SignalBar, kMaxSignalBars> bars_{};
    std::array<ais::SatelliteEntry, kMaxSignalBars> satellites_{};
    int count_ = 0;
    // Last known signal per PRN (0..255).
    std::array<std::int16_t, 256> lastSnr_ = [] {
        std::array<std::int16_t, 256> a{};
        a.fill(-1);
        return a;
    }();
};

// "%8.2f m", or "N/A" for a negative altitude.
std::string AltitudeText(double altitude);
// "%dD" for a 2D or 3D fix, else "Fixed" or "Lost".
std::string FixModeText(int fixMode, bool fixed);
// "%d/%d": satellites used and in view.
std::string SatelliteCountText(int used, int inView);

}  // namespace norq::chart
