// The crew watch in the main window: its logic on the MOB port, the crew page,
// the event log, the rescue guide, the alarm popup and the mute button, the
// two crew timers, the files at start-up and at exit. The main window creates
// it, hands it the crew timers' ticks and otherwise leaves it alone.
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "ais/Clock.h"
#include "app/BaseNames.h"
#include "chart/ChartLayers.h"
#include "crew/CrewLinks.h"
#include "crew/CrewWatch.h"
#include "crew/forms/AlertSoundAdapter.h"

class QToolButton;

namespace norq::ui {
class Dialogs;
}

namespace norq::crew {
class TCrewWatchPage;
class TfrmAlarmPopup;
class TfrmCare;
class TfrmMobEventLog;
class TfrmMobRescueGuide;
}  // namespace norq::crew

namespace norq::app {

class TForm1;

// The crew watch's clocks: the viewer's monotonic clock, and the calendar.
class CrewClockOverViewer final : public crew::CrewClock {
  public:
    explicit CrewClockOverViewer(const ais::Clock& clock) : clock_(clock) {}
    std::int64_t monotonicSeconds() const override { return clock_.monotonicSeconds(); }
    std::int64_t unixSeconds() const override;

  private:
    const ais::Clock& clock_;
};

class CrewWindows final : public QObject,
                          public crew::CrewWatchView,
                          public crew::SensorControlCrewPort,
                          public chart::ChartCommands {
    Q_OBJECT

  public:
    CrewWindows(TForm1& main, const ais::Clock& clock, ui::Dialogs& dialogs);
    ~CrewWindows() override;

    // Start-up: the crew alarm sound, MOB.csv then MOB_Event.csv, the MOB port's reports.
    void start(const std::string& programFolder, const std::string& dataFolder);
    // Shows the entry points the shipped configuration hides and runs the crew timers.
    void showEntryPoints();
    bool entryPointsShown() const { return shown_; }
    void retranslate();
    // Exit: whatever changed since the last write.
    void shutdown();

    void TimerMOBTimer();
    void TimerBlinkingTimer();
    // The centre page changed to the crew or the chart page.
    void centrePageShown(bool crewPage);
    // PNGs of the crew page, its list, the event log, the rescue guide and the
    // alarm popup (the last two only while shown), as PREFIX-<window>.png.
    void saveScreenshots(const QString& prefix);

    crew::CrewWatch& watch() { return watch_; }
    crew::TCrewWatchPage& page() { return *page_; }
    crew::TfrmMobEventLog& eventLog() { return *eventLog_; }
    crew::TfrmMobRescueGuide& rescueGuide() { return *guide_; }
    crew::TfrmAlarmPopup& popup() { return *popup_; }
    crew::TfrmCare& care() { return *care_; }

    // crew::CrewWatchView
    void crewRowChanged(int row) override;
    void crewRowsChanged() override;
    void crewEventsChanged() override;
    void crewCountsChanged() override;
    void crewAlarmsChanged() override;
    void firstCrewAlarm() override;
    void showAlarmPopup() override;
    void showRescueGuide(bool shown) override;
    void muteReleased() override;
    void crewBeep() override;
    // crew::CrewCommandPort
    bool autoSrmAllowed() const override;
    void sendManOverboardSrm() override;
    // chart::ChartCommands: a click on a pendant symbol selects its alarm; the
    // other commands go on to whoever took them before.
    void pendantClicked(int slot) override;
    void setManualPositionHere(double lon, double lat) override;
    void addDestinationHere(double lon, double lat) override;
    void addMarkerHere(double lon, double lat) override;
    void setMonitored(int slot, bool monitored) override;
    bool trackVisible(int slot) const override;
    void setTrackVisible(int slot, bool visible) override;
    // The selected alarm's position becomes the destination.
    void steerToSelectedAlarm();

  private:
    void refreshGuide();
    // The pendant symbols of the chart: one per alarm entry (at most 50).
    void placePendantSymbols();
    crew::OwnPosition ownPosition() const;

    TForm1& main_;
    CrewClockOverViewer clock_;
    crew::CrewWatch watch_;
    crew::CrewIntake intake_;
    crew::AlertSoundAdapter sound_;
    std::unique_ptr<crew::TCrewWatchPage> page_;
    std::unique_ptr<crew::TfrmMobEventLog> eventLog_;
    std::unique_ptr<crew::TfrmMobRescueGuide> guide_;
    std::unique_ptr<crew::TfrmAlarmPopup> popup_;
    std::unique_ptr<crew::TfrmCare> care_;
    QToolButton* mute_ = nullptr;
    chart::ChartCommands* previousCommands_ = nullptr;
    bool shown_ = false;
    bool blink_ = false;
};

}  // namespace norq::app
