// The own ship from the GNSS sentences: entry 0 of the target table, the top
// information strip, the GNSS status window's data, the fix indicator and the
// satellite list, and the staleness of every item.
//
// Each item the receiver reports (position, SOG, COG, heading, time, fix
// quality) is valid only while a sentence that carries it has reported a
// usable value within the last kGnssStaleSeconds on the monotonic clock. A
// sentence refreshes only the items it carries: a GSV or ZDA keeps nothing
// alive. An empty or not-available field refreshes nothing and never enters
// entry 0 as a number; a sentence that says there is no fix (GGA quality 0 or
// 6-8, RMC or GLL status V or mode N) ends the position at once.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "ais/IntakeInterfaces.h"
#include "ais/OwnShipSatellites.h"
#include "ais/TargetTracker.h"
#include "codec/SentenceCodec.h"

namespace norq::ais {

inline constexpr std::int64_t kGnssStaleSeconds = 60;

struct GnssFixData {
    double longitude = 181.0;
    double latitude = 91.0;
    double altitude = 0.0;  // metres; codec::kEmptyFloat when the GGA gave none
    int fixType = 0;
    int satellitesUsed = 0;  // over every constellation
    int satellitesInView = 0;
    bool valid = false;
    // Added for receivers of several constellations and RTK: the GGA quality
    // (0 when no GGA is current; 4 RTK fixed, 5 RTK float) and the satellites
    // in use of each constellation, indexed by GnssSystem.
    int quality = 0;
    std::array<int, kGnssSystemCount> usedBySystem{};
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
    // A GSV cycle of one constellation is complete, or a constellation went
    // silent: the window redraws its bars and sky view from the list of every
    // constellation (see SatelliteEntry::system and signalId).
    virtual void showSatellites(std::span<const SatelliteEntry>) {}
};

// One item of the own ship as the receiver last reported it.
struct GnssItem {
    bool valid = false;
    std::int64_t at = 0;  // monotonic seconds of the last report with a value
};

class OwnShip final : public GnssHandler {
  public:
    OwnShip(codec::SentenceCodec& codec, TargetTracker& tracker, GnssView* view = nullptr,
            ChartTargets* chart = nullptr, OwnShipView* ownView = nullptr,
            TargetView* targetView = nullptr);

    void connect(GnssView* view, ChartTargets* chart, OwnShipView* ownView, TargetView* targetView);

    void UpdateOwnShipFromGnss() override;
    // HDT: the own heading.
    void onHeadingSentence() override;

    // Once a second: every item goes stale 60 s after its last report, and
    // the own position 60 s after entry 0's last update (GNSS or VDO). With
    // the rule on (the viewer always runs it so), entry 0 then loses its own
    // position too, and every CPA is recomputed; with it off only the own
    // position flag is cleared.
    void checkStaleness(bool anySensorPortInUse);

    // The top strip for a position; without a valid own position the given
    // (manual) position becomes entry 0's.
    void showOwnShipTop(double lon, double lat, double sog, double cog);
    // Without a fix: entry 0 takes the stand-in position (the manual or the last known
    // one) as the reference of the chart and the geometry, but the top strip shows no
    // position, speed or course: a stand-in is no measurement. Only a position the
    // operator has set as the manual one is shown, until the next fix.
    void showNoFix(double lon, double lat);
    // The operator set the manual position: it is shown while there is no fix.
    void setManualPosition(double lon, double lat, double cog);
    bool manualPositionShown() const { return manualInForce_; }

    const codec::TimeOfDay& gnssTime() const { return gnssTime_; }
    const codec::CalendarDate& gnssDate() const { return gnssDate_; }
    bool gnssTimeValid() const { return time_.valid; }
    // The satellites of every constellation as last shown.
    std::span<const SatelliteEntry> satellites() const { return satellites_.list(); }
    bool prnUsed(int prn) const { return satellites_.usedInAnySystem(prn); }
    bool prnUsed(GnssSystem system, int prn) const { return satellites_.used(system, prn); }
    const OwnShipSatellites& satelliteState() const { return satellites_; }

    const GnssItem& positionItem() const { return position_; }
    // The GNSS receiver's own fix (without the chart calibration's bias).
    // Monotonic seconds of the last GNSS sentence taken; -1 before the first.
    std::int64_t lastGnssSentenceAt() const { return lastGnssAt_; }
    TimedPosition gnssPosition() const {
        return {position_.valid, longitude_, latitude_, position_.at};
    }
    const GnssItem& sogItem() const { return sog_; }
    const GnssItem& cogItem() const { return cog_; }
    const GnssItem& headingItem() const { return heading_; }
    const GnssItem& timeItem() const { return time_; }
    const GnssItem& qualityItem() const { return quality_; }
    int quality() const { return quality_.valid ? qualityValue_ : 0; }
    // The HDT heading while current, else 511 (not available).
    double heading() const { return heading_.valid ? headingValue_ : kHeadingNotAvailable; }

  private:
    // What the sentence just received carried.
    struct Carried {
        bool position = false;
        bool motion = false;  // SOG or COG
        bool time = false;    // a valid time was reported
    };
    Carried takeReport(const codec::SentenceRecord& record, std::int64_t now);
    void reportPosition(bool fix, const codec::LatLon& pos, std::int64_t now);
    void reportMotion(double sog, double cog, std::int64_t now);
    void reportTime(const codec::TimeOfDay& time, std::int64_t now);
    void updatePosition(bool positionReported, std::int64_t now);
    void showFixIndicator();
    GnssFixData fixData(const TargetRecord& own) const;
    bool expireItems(std::int64_t now);

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

    GnssItem position_;
    GnssItem sog_;
    GnssItem cog_;
    GnssItem heading_;
    GnssItem time_;
    GnssItem quality_;
    std::int64_t lastGnssAt_ = -1;
    double latitude_ = codec::kEmptyLat;
    double longitude_ = codec::kEmptyLon;
    double sogValue_ = 0.0;
    double cogValue_ = 0.0;
    double headingValue_ = 0.0;
    int qualityValue_ = 0;
    int ggaSatellites_ = -1;
    bool manualInForce_ = false;
    codec::TimeOfDay gnssTime_;
    codec::CalendarDate gnssDate_;
    OwnShipSatellites satellites_;
};

}  // namespace norq::ais
