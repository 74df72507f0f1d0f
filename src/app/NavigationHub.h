// The navigation objects in the main window: markers, routes, tracks, the
// destination, the manual own position, the chart calibration and the ENC
// settings. The hub owns one part per kind of object; each part keeps its
// store, windows and chart drawing, and connects the main window's menu items
// and tool buttons to them by name (as the alarm windows do).
//
// The hub is the chart's popup-command handler: the commands that belong to the
// navigation objects go to their part; the others (monitored ships, crew-watch
// pendants) go on to the handler that was set before the hub.
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "ais/RunState.h"
#include "ais/TargetViews.h"
#include "app/BaseNames.h"
#include "base/LanguageTable.h"
#include "chart/ChartLayers.h"

namespace norq::ui {
class Dialogs;
}

namespace norq::app {

class TForm1;
class NavMarkers;
class NavRoutes;
class NavPositions;
class NavTracks;

// What every part gets: the main window (menus, chart, settings), the run state
// (tracker, own ship, codec), the texts and the message boxes.
struct NavContext {
    TForm1& main;
    ais::RunState& run;
    const TextStore& texts;
    ui::Dialogs& dialogs;
};

class NavigationHub final : public QObject,
                            public chart::ChartCommands,
                            public ais::TargetFollowUps {
    Q_OBJECT

  public:
    NavigationHub(TForm1& main, ais::RunState& run, const TextStore& texts, ui::Dialogs& dialogs);
    ~NavigationHub() override;

    NavMarkers& markers() { return *markers_; }
    NavRoutes& routes() { return *routes_; }
    NavPositions& positions() { return *positions_; }
    NavTracks& tracks() { return *tracks_; }
    const NavContext& context() const { return context_; }

    // First showing: the files below the data folder's NAV_Data/.
    void readFiles(const std::string& dataFolder);
    void retranslate();
    // The navigation objects' steps of the one-second timer.
    void stepSecond();
    // Shutdown: whatever is still to be written is written.
    void shutdown();

    // chart::ChartCommands
    void setManualPositionHere(double lon, double lat) override;
    void addDestinationHere(double lon, double lat) override;
    void addMarkerHere(double lon, double lat) override;
    void setMonitored(int slot, bool monitored) override;
    bool trackVisible(int slot) const override;
    void setTrackVisible(int slot, bool visible) override;
    void pendantClicked(int slot) override;

    // ais::TargetFollowUps: the per-target track rings.
    void appendTrackPoint(int index) override;
    void onTargetRemoved(int index) override;

  private:
    NavContext context_;
    chart::ChartCommands* previous_ = nullptr;
    std::unique_ptr<NavMarkers> markers_;
    std::unique_ptr<NavRoutes> routes_;
    std::unique_ptr<NavPositions> positions_;
    std::unique_ptr<NavTracks> tracks_;
};

}  // namespace norq::app
