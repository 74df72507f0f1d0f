// The own ship from the GNSS sentences: entry 0 of the target table, the top
// information strip, the GNSS status window's data, the fix indicator and the
// satellite list, and the staleness of the own position.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "ais/IntakeInterfaces.h"
#include "ais/TargetTracker.h"
#include "codec/SentenceCodec.h"

namespace norq::ais {

// One satellite of the GNSS status window's list.
struct SatelliteEntry {
    int prn = 0;
    int elevation = codec::kEmptyByte;
    int azimuth = codec::kEmptyInt16;
    int snr = codec::kEmptyByte;
    bool used = false;  // among the PRNs of the last GSA
};

inline constexpr int kMaxSatellites = 24;

struct GnssFixData {
    double longitude = 181.0;
    double latitude = 91.0;
    double altitude = 0.0;
    int fixType = 0;
    int satellitesUsed = 0;
    int satellitesInView = 0;
    bool valid = false;
};

enum class FixIndicator { Lost = 0, Fixed = 1, Fix3D = 2 };

// The GNSS status window and the fix indicator of the main window.
class GnssView {
  public:
    virtual ~GnssView() = default;
    virtual void setUtcText(std::string_view /*text*/) {}
    virtual void setFixData(const GnssFixData&) {}
    virtual void setFixIndicator(FixIndicator) {}
    virtual bool satelliteWindowShowing() const { return false; }
    // A GSV cycle is complete: the window redraws its bars and sky view.
    virtual void showSatellites(std::span<const SatelliteEntry>) {}
};

class OwnShip final : public GnssHandler {
  public:
    OwnShip(codec::SentenceCodec& codec, TargetTracker& tracker, GnssView* view = nullptr,
            ChartTargets* chart = nullptr, OwnShipView* ownView = nullptr,
            TargetView* targetView = nullptr);

    void connect(GnssView* view, ChartTargets* chart, OwnShipView* ownView, TargetView* targetView);

    void UpdateOwnShipFromGnss() override;

    // Once a second: the own position goes stale 60 s after its last update;
    // with a sensor port in use, entry 0 then loses its own position too.
    void checkStaleness(bool anySensorPortInUse);

    // The top strip for a position; without a valid own position the given
    // (manual) position becomes entry 0's.
    void showOwnShipTop(double lon, double lat, double sog, double cog);

    const codec::TimeOfDay& gnssTime() const { return gnssTime_; }
    const codec::CalendarDate& gnssDate() const { return gnssDate_; }
    bool gnssTimeValid() const { return gnssTimeValid_; }
    std::span<const SatelliteEntry> satellites() const { return {list_.data(), listSize_}; }
    bool prnUsed(int prn) const;

  private:
    void updatePosition();
    void updateSatellites(const codec::Gsv& gsv);

    codec::SentenceCodec& codec_;
    TargetTracker& tracker_;
    GnssView nullGnss_;
    ChartTargets nullChart_;
    OwnShipView nullOwn_;
    TargetView nullTargets_;
    GnssView* view_ = &nullGnss_;
    ChartTargets* chart_ = &nullChart_;
    OwnShipView* ownView_ = &nullOwn_;
    TargetView* targetView_ = &nullTargets_;

    codec::TimeOfDay gnssTime_;
    codec::CalendarDate gnssDate_;
    bool gnssTimeValid_ = false;
    std::array<SatelliteEntry, kMaxSatellites> list_{};
    std::size_t listSize_ = 0;
    int previousGsvTotal_ = 0;
    int previousGsvNumber_ = 0;
};

}  // namespace norq::ais
