// What the target logic asks of the windows and of the other subsystems.
// The main window, the chart and the later subsystems implement these; the
// tests implement them with recording fakes. Every method has a harmless
// default so that a subsystem that is not built yet can be left out.
#pragma once

#include <cstdint>
#include <string_view>

#include "ais/CpaAlarms.h"
#include "ais/TargetRecord.h"

namespace norq::ais {

// The ship list, the alphanumeric grid and the detail pages.
class TargetView {
  public:
    virtual ~TargetView() = default;
    // Ship-list line of an entry (same index as the entry); appends when the
    // index is the list's size.
    virtual void setShipListLine(int /*index*/, std::string_view /*line*/) {}
    virtual int shipListLineCount() const { return 0; }
    virtual void deleteLastShipListLine() {}
    // The grid row of the entry (row index + 1) must be redrawn.
    virtual void gridRowChanged(int /*index*/) {}
    // The group caption "SHIP LIST : n" and the vessel counter.
    virtual void setTargetCount(int /*targets*/) {}
    // The table changed as a whole (cleared, or a target aged out).
    virtual void rebuildLists() {}

    virtual bool targetMonitorChecked() const { return false; }
    virtual void setTargetMonitorChecked(bool) {}
    virtual int listSelection() const { return -1; }
    virtual void setListSelection(int /*index*/) {}
    virtual void setGridSelection(int /*index*/) {}
    // The AtoN tab is shown and active (true), or hidden with the vessel tab
    // active (false).
    virtual void showAtonTab(bool) {}
    // The dynamic and static panes show the entry.
    virtual void showDetails(int /*index*/) {}
    // The AtoN tab and the AtoN details window show the entry.
    virtual void showAtonDetails(int /*index*/) {}
    // A target aged out and the later entries moved down by one: every index
    // the view keeps (list and grid selection, the fixed "Target Monitor"
    // target, the entry whose details are shown) moves with them; a
    // selection of the removed entry itself is dropped.
    virtual void onTargetRemoved(int /*index*/) {}
};

// The chart: its own position, the target symbols and the highlight.
class ChartTargets {
  public:
    virtual ~ChartTargets() = default;
    struct OwnPosition {
        double longitude = 181.0;
        double latitude = 91.0;
        double course = 0.0;
    };
    // The own ship as the chart knows it (the manual position without a fix).
    virtual OwnPosition chartOwnPosition() const { return {}; }
    // Sets the chart's own ship (true-motion follow).
    virtual void setOwnShip(double /*lon*/, double /*lat*/, double /*cog*/) {}
    virtual void centreOn(double /*lon*/, double /*lat*/) {}
    // Switches the centre-view mode off and unchecks "Center View".
    virtual void stopCentreView() {}
    virtual void highlightTarget(int /*index*/) {}
    virtual void refreshSymbol(int /*index*/) {}
    virtual void setDangerous(int /*index*/, bool) {}
    // The graded CPA alarm's level below the alarm (None while grading is off).
    virtual void setCpaLevel(int /*index*/, CpaLevel) {}
    // Symbols from `count` on are no longer used.
    virtual void removeSymbolsFrom(int /*count*/) {}
    // A target aged out: the dangerous marks, the highlight and every other
    // per-target state from `index + 1` on move down by one; the removed
    // entry's own state goes.
    virtual void onTargetRemoved(int /*index*/) {}
};

// The top information strip and the detail pane of the own ship.
class OwnShipView {
  public:
    virtual ~OwnShipView() = default;
    virtual void ShowOwnShipTop(double /*lon*/, double /*lat*/, double /*sog*/, double /*cog*/) {}
    virtual void ShowOwnShipDetails(double /*lon*/, double /*lat*/, double /*sog*/,
                                    double /*cog*/) {}
    // Whether the own ship lets CPA and TCPA be computed, and if not, why
    // (no own position, no own SOG, no own COG while making way): the status
    // row says so. Called when it changes.
    virtual void showCpaStatus(CpaStatus) {}
};

// The AIS MOB and SART device list.
class AisMobList {
  public:
    virtual ~AisMobList() = default;
    // A device reports itself active; a registered one gets its name.
    virtual void ReportAisMobActive(int /*index*/, bool /*withPosition*/) {}
    // Copies a registered device's name into the entry.
    virtual void LookupAisMobName(int /*index*/) {}
};

// Message 22's channel region.
struct ChannelRegion {
    double longitude1 = 0.0;
    double latitude1 = 0.0;
    double longitude2 = 0.0;
    double latitude2 = 0.0;
    int channelA = 0;
    int channelB = 0;
};

// Follow-ups of other subsystems after a message was applied.
class TargetFollowUps {
  public:
    virtual ~TargetFollowUps() = default;
    virtual void appendTrackPoint(int /*index*/) {}
    virtual void ShowLanternStatus(int /*index*/) {}
    // A new safety related message (12 or 14) is in its mailbox.
    virtual void OnSafetyMessage(int /*type*/, bool /*fromOwnShip*/) {}
    virtual void AddChannelRegion(const ChannelRegion&) {}
    // A target aged out: per-target state from `index` on moves down by one.
    virtual void onTargetRemoved(int /*index*/) {}
};

}  // namespace norq::ais
