// The alarms and messages of the main window: the AIS MOB list and its alarm,
// the safety related messages, the AtoN details and lantern control, the
// monitored and friend ships. It owns their logic and windows, connects the
// main window's menu items and tool buttons to them by name, and runs their
// steps of the one-second timer (alarm beep, SRM alert).
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "ais/BbmSender.h"
#include "ais/RunState.h"
#include "app/BaseNames.h"
#include "base/LanguageTable.h"
#include "chart/ChartLayers.h"
#include "crew/AisMobChartMarks.h"
#include "crew/AisMobList.h"
#include "crew/forms/AlertSoundAdapter.h"
#include "messaging/SafetyMessages.h"
#include "messaging/ShipMarks.h"

class QLabel;
class QWidget;

namespace norq::ui {
class ClassAlertSound;
class Dialogs;
class SoundPlayer;
}  // namespace norq::ui

namespace norq::comm {
class TSysSensorControl;
}
namespace norq::crew {
class TfrmAISMOBList;
}
namespace norq::messaging {
class TfrmAtonDetails;
class TfrmBuddyDlg;
class TfrmLanternCtrl;
class TfrmMonitoredShipList;
class TfrmSRM;
class TfrmSRMAlertDialog;
class TfrmSRMRecordBox;
}  // namespace norq::messaging

namespace norq::app {

class TForm1;

class AlarmWindows final : public QObject,
                           public ais::TargetFollowUps,
                           public messaging::SafetyMessageView,
                           public messaging::AisPortWriter,
                           public ais::SentenceSender,
                           public chart::ChartCommands {
    Q_OBJECT

  public:
    AlarmWindows(TForm1& main, ais::RunState& run, const TextStore& texts, ui::SoundPlayer& sound,
                 ui::Dialogs& dialogs);
    ~AlarmWindows() override;

    // Start-up: the "AIS MOB ALARM" sound below the program folder.
    void registerAlarmSound(const std::string& programFolder);
    // First showing: buddy.csv and AIS_MOB_List.csv from the data folder.
    void readFiles(const std::string& dataFolder);
    void setDatePattern(const std::string& pattern);
    void retranslate();

    // One-second step 12: the beep while an alarm sound is active, or while
    // another alarm (the graded CPA alarm) asks for it.
    void stepAlarmBeep(bool otherAlarm = false);
    // One-second step 13: the SRM alert dialog while alerts wait.
    void stepSrmAlert();
    // The transmitter state reported by the transponder ($PKRV,R,...,30,0,<0|1>).
    // Returns 1 for Tx on, 0 for silent, -1 when the report is not about it.
    int transmitterReport() const;

    // ais::TargetFollowUps
    void ShowLanternStatus(int index) override;
    void OnSafetyMessage(int type, bool fromOwnShip) override;
    void onTargetRemoved(int index) override;
    // The AtoN selected in the ship list.
    void CopyAtonDetails(int index);

    // messaging::SafetyMessageView
    void inBoxChanged() override;
    void outBoxChanged() override;
    void alertChanged(int count, std::string_view note) override;
    void showMessage(std::string_view caption, std::string_view text) override;
    void setSentLabel(std::string_view text) override;
    // messaging::AisPortWriter and ais::SentenceSender: the AIS port. Until the
    // sensor port control is connected, nothing can be written.
    bool writeToAisPort(std::string_view line) override;
    bool SendSentence(int sensor, std::string_view talker, std::string_view formatter) override;
    void setPortSender(ais::SentenceSender* sender, messaging::AisPortWriter* writer);
    // chart::ChartCommands: "Add to / Remove from Monitored Ship List".
    void setMonitored(int slot, bool monitored) override;
    // The real send path: the AIS port of the sensor port control.
    void connectSensorControl(comm::TSysSensorControl* control);

    crew::AisMobList& mobList() { return mobList_; }
    messaging::SafetyMessages& safetyMessages() { return srm_; }
    messaging::FriendList& friendList() { return friends_; }
    messaging::ShipMarks& shipMarks() { return marks_; }
    crew::TfrmAISMOBList& mobListWindow() { return *mobWindow_; }
    messaging::TfrmSRM& srmWindow() { return *srmWindow_; }
    messaging::TfrmSRMRecordBox& srmLog() { return *srmLog_; }
    messaging::TfrmSRMAlertDialog& srmAlert() { return *srmAlert_; }
    messaging::TfrmAtonDetails& atonDetails() { return *atonDetails_; }
    messaging::TfrmLanternCtrl& lanternControl() { return *lantern_; }
    messaging::TfrmMonitoredShipList& monitoredList() { return *monitored_; }
    messaging::TfrmBuddyDlg& buddyDialog() { return *buddy_; }
    // The status row's alarm note (the alarm cannot be heard).
    QString statusNote() const;

    // Menu commands.
    void onAisMobList();
    void onMonitoredShipList();
    void onFriendShips();
    void onSrmLog();
    void onSrm(bool modal);
    void onShowMonitoredOnly(bool on);
    void onAtonDetail();

  private:
    void connectMenus();
    void updateStatusNote();

    TForm1& main_;
    ais::RunState& run_;
    const TextStore& texts_;
    ui::SoundPlayer& sound_;
    ui::Dialogs& dialogs_;
    std::string dataFolder_;
    ais::SentenceSender* portSender_ = nullptr;
    messaging::AisPortWriter* portWriter_ = nullptr;
    std::unique_ptr<messaging::AisPortWriter> controlPort_;

    crew::AlertSoundAdapter mobSound_;
    crew::AisMobList mobList_;
    messaging::SafetyMessages srm_;
    messaging::FriendList friends_;
    messaging::ShipMarks marks_;
    crew::AisMobChartMarks chartMarks_;
    int atonIndex_ = -1;
    int drawnAlarms_ = 0;

    // Windows, destroyed before the logic they show.
    std::unique_ptr<crew::TfrmAISMOBList> mobWindow_;
    std::unique_ptr<messaging::TfrmSRMRecordBox> srmLog_;
    std::unique_ptr<messaging::TfrmSRMAlertDialog> srmAlert_;
    std::unique_ptr<messaging::TfrmSRM> srmWindow_;
    std::unique_ptr<messaging::TfrmLanternCtrl> lantern_;
    std::unique_ptr<messaging::TfrmAtonDetails> atonDetails_;
    std::unique_ptr<messaging::TfrmMonitoredShipList> monitored_;
    std::unique_ptr<messaging::TfrmBuddyDlg> buddy_;
    QLabel* statusNote_ = nullptr;
};

}  // namespace norq::app
