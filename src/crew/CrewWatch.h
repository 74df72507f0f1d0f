// The crew watch as one piece of run-state: the device table, the alarm list,
// the event log, the care slots and their two files, driven by the controller's
// reports, the crew timer and the operator's commands.
//
// What must never be missed:
// - every new person in the water brings the alarm popup back and releases
//   the mute (the controller is told so), as does the alarm list running empty;
// - the device file and the event log are written after each change, to a
//   temporary file renamed over the old one, so a crash loses no incident;
// - silence and elapsed times run on the monotonic clock.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "chart/ChartPalette.h"
#include "codec/SentenceBodies.h"
#include "crew/AisMobList.h"
#include "crew/CrewAlarms.h"
#include "crew/CrewDeviceFile.h"
#include "crew/CrewDevices.h"
#include "crew/CrewEventLog.h"

namespace norq::base {
class TextStore;
}

namespace norq::crew {

// The looping alarm sound of the crew watch in the alarm sound registry.
inline constexpr std::string_view kCrewAlarmSoundName = "CREW MOB ALARM";
// The controller counts as gone after this many crew timer ticks without a MOB sentence.
inline constexpr int kControllerSilenceTicks = 10;
// Ticks between two automatic "MAN OVERBOARD" safety messages.
inline constexpr int kAutoSrmTicks = 61;

// The MOB port, as the crew watch writes to it.
class CrewCommandPort {
  public:
    virtual ~CrewCommandPort() = default;
    virtual bool crewPortInUse() const = 0;
    // Composes the MOB sentence from these items and sends it to the controller.
    virtual bool sendCrewCommand(const codec::Mob& items) = 0;
    // The automatic safety message: checked, and the AIS serial link connected.
    virtual bool autoSrmAllowed() const { return false; }
    virtual void sendManOverboardSrm() {}
};

// What the crew windows are told.
class CrewWatchView {
  public:
    virtual ~CrewWatchView() = default;
    virtual void crewRowChanged(int /*row*/) {}
    virtual void crewRowsChanged() {}
    virtual void crewEventsChanged() {}
    virtual void crewCountsChanged() {}
    // The alarm list or its selection changed: the rescue guide and the chart follow.
    virtual void crewAlarmsChanged() {}
    // The first alarm after a quiet spell: the chart page comes up.
    virtual void firstCrewAlarm() {}
    virtual void showAlarmPopup() {}
    virtual void showRescueGuide(bool /*shown*/) {}
    // The mute button must be released.
    virtual void muteReleased() {}
    // The warning beep of one crew timer tick.
    virtual void crewBeep() {}
};

struct CrewCounts {
    int pendants = 0, pendantsOnline = 0, pendantsInAlarm = 0, pendantsOff = 0;
    int repeaters = 0, repeatersOnline = 0, repeatersInAlarm = 0, repeatersOff = 0;
};

// What the crew timer needs of the rest of the system at each tick.
struct CrewTickInput {
    double ownLon = 181.0;  // the chart's own position
    double ownLat = 91.0;
    bool ownShipPositionValid = false;  // the own ship's fix, for the GPS events
    double ownShipLon = 181.0;
    double ownShipLat = 91.0;
};

// The crew status light and text of one blinking tick.
struct CrewStatusDisplay {
    int led = 1;  // 0 dark, 1 normal, 2 warning, 3 alarm
    std::string text;
    chart::PaletteRole colour = chart::PaletteRole::SelectedLeg;
    bool pendantPictureShown = true;
    bool repeaterPictureShown = true;
    bool selectedSymbolShown = true;
};

class CrewWatch final : private CrewStateListener {
  public:
    explicit CrewWatch(const CrewClock& clock);
    CrewWatch(const CrewWatch&) = delete;
    CrewWatch& operator=(const CrewWatch&) = delete;

    void setView(CrewWatchView* view) { view_ = view; }
    void setPort(CrewCommandPort* port) { port_ = port; }
    void setSound(AlarmSound* sound) { sound_ = sound; }

    const CrewDeviceTable& table() const { return table_; }
    const CrewAlarmList& alarms() const { return alarms_; }
    const CrewEventLog& events() const { return events_; }
    const CareSlots& care() const { return care_; }
    const CrewCounts& counts() const { return counts_; }
    bool controllerAlive() const { return controllerAlive_; }
    bool lowBattery() const { return lowBattery_; }
    bool repeaterAlarm() const { return repeaterAlarm_; }
    bool muted() const { return muted_; }
    bool firstAlarmSeen() const { return firstAlarm_; }
    int srmCounter() const { return srmCounter_; }

    // ---- Files -------------------------------------------------------------
    // Reads both files (the devices first: the events take their names from
    // them) and remembers where later changes are written.
    void LoadFiles(const std::string& deviceFile, const std::string& eventFile);
    // Writes whichever file's content changed since it was last written.
    void SaveFiles();

    // ---- Controller --------------------------------------------------------
    // A MOB sentence from the controller; own position as the chart has it.
    void OnMobSentence(const codec::Mob& items, double ownLon, double ownLat);
    // Sends a command; false when the port is not in use or the write failed.
    bool SendCrewCommand(CrewCommand command, int row = -1);

    // ---- Timers ------------------------------------------------------------
    void TimerMOBTick(const CrewTickInput& in);
    CrewStatusDisplay TimerBlinkingTick(const base::TextStore& texts);

    // ---- Operator ----------------------------------------------------------
    // The mute button pressed (down) or released (up).
    void SetMute(bool down);
    void SelectCrewAlarm(int index);
    // A plain click on crew list row `row`: its alarm, if any, is selected.
    // Returns whether the rescue guide is to be shown.
    bool CrewRowClicked(int row);

    // Name and notes of a device; false (nothing stored) for a refused text.
    bool EditDevice(int row, std::string_view name, std::string_view notes);
    bool RemoveDevice(int row);
    // The operator's shut-down: OFF at once when the controller cannot answer
    // (silent) or the device is LOST; then the command, when the port is in use.
    void ShutDownDevice(int row);
    // Every device (or every LOST one while the controller is alive) OFF, and one command.
    void ShutDownAllDevices();
    void SetCareSlot(int slot, int row);
    void SetCarePhoto(int slot, std::string_view path);
    // Sorts by a crew list column (2 name, 3 state, 4 battery, 5 type); the same
    // column again reverses the order.
    void SortByColumn(int column);
    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return sortAscending_; }

  private:
    void TrackCrewAlarm(const CrewDevice& device) override;
    void newPersonInWater();
    void releaseMute();
    void countDevices();
    void updateSound();

    const CrewClock& clock_;
    CrewDeviceTable table_;
    CrewAlarmList alarms_;
    CrewEventLog events_;
    CareSlots care_{};
    CrewCounts counts_;
    CrewWatchView* view_ = nullptr;
    CrewCommandPort* port_ = nullptr;
    AlarmSound* sound_ = nullptr;
    codec::Mob lastItems_;
    double ownLon_ = 181.0;
    double ownLat_ = 91.0;
    int silence_ = 0;
    bool controllerAlive_ = false;
    bool lowBattery_ = false;
    bool repeaterAlarm_ = false;
    bool firstAlarm_ = false;
    bool popupPending_ = false;
    bool muted_ = false;
    bool soundOn_ = false;
    bool gpsValid_ = false;
    bool blinkOn_ = true;
    int srmCounter_ = 0;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    std::string deviceFile_;
    std::string eventFile_;
    std::string savedDevices_;
    std::string savedEvents_;
};

}  // namespace norq::crew
