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
inline constexpr int kMaxSignalBars = ais::kMaxSatellites;
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
    ais::GnssSystem system = ais::GnssSystem::Unknown;
};

// The bars and markers of the last complete set of satellites in view, of
// every constellation. A satellite tracked on two signals has a bar per signal
// but one marker in the sky plot.
class SatelliteSet {
  public:
    // Rebuilds from the GNSS state's list; a satellite without a current signal
    // value keeps the one it reported last (per constellation, PRN and signal).
    void rebuild(std::span<const ais::SatelliteEntry> satellites);
    int size() const { return count_; }
    const SignalBar& bar(int i) const { return bars_[static_cast<std::size_t>(i)]; }
    const ais::SatelliteEntry& satellite(int i) const {
        return satellites_[static_cast<std::size_t>(i)];
    }
    // True for the first entry of its constellation and PRN (the one the sky
    // plot shows).
    bool firstOfItsSatellite(int i) const;

  private:
    struct LastSignal {
        ais::GnssSystem system = ais::GnssSystem::Unknown;
        int prn = 0;
        int signal = 0;
        int snr = 0;
    };
    int lastSnr(const ais::SatelliteEntry& s) const;
    void rememberSnr(const ais::SatelliteEntry& s);

    std::array<SignalBar, kMaxSignalBars> bars_{};
    std::array<ais::SatelliteEntry, kMaxSignalBars> satellites_{};
    int count_ = 0;
    // The last known signal of every satellite and signal seen (oldest dropped).
    std::array<LastSignal, 2 * kMaxSignalBars> last_{};
    int lastCount_ = 0;
};

// "%8.2f m", or "N/A" for a negative altitude.
std::string AltitudeText(double altitude);
// "%dD" for a 2D or 3D fix, else "Fixed" or "Lost".
std::string FixModeText(int fixMode, bool fixed);
// "%d/%d": satellites used and in view.
std::string SatelliteCountText(int used, int inView);
// The bar's label: the PRN, with the constellation's letter when it is not GPS
// ("R12" GLONASS, "E5" Galileo, "C21" BeiDou, "J3" QZSS, "I4" NavIC).
std::string SatelliteLabel(ais::GnssSystem system, int prn);

}  // namespace norq::chart
