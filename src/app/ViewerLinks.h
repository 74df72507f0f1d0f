// The viewer's links: the sensor port control with its log, raw recording and
// auto-saving, the windows of the links (message log, auto-saving, export),
// the main window's status fields for the ports, and the
// link parts of the one-second step. The main window owns one and forwards
// its menu items, timer steps, start-up and shutdown to it.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "ais/Clock.h"
#include "ais/RunState.h"
#include "app/BaseNames.h"
#include "base/LanguageTable.h"
#include "base/Settings.h"
#include "comm/AutoSaving.h"
#include "comm/LinkSource.h"
#include "comm/MessageLog.h"
#include "comm/TSysSensorControl.h"
#include "ui/Dialogs.h"
#include "ui/WindowPoster.h"

class QLabel;

namespace norq::comm {
class QtPortEnumerator;
class TfrmAutoSaving;
class TfrmExportAisInfo;
class TfrmMsgLog;
class TfrmSourceHealth;
}  // namespace norq::comm

namespace norq::app {

class TForm1;

class ViewerLinks final : public QObject,
                          public comm::SensorControlView,
                          public comm::AutoSavingReport {
    Q_OBJECT

  public:
    ViewerLinks(TForm1& main, ais::RunState& run, const ais::Clock& clock, ui::Dialogs& dialogs);
    ~ViewerLinks() override;

    comm::TSysSensorControl& control() { return *control_; }
    comm::MessageLog& log() { return log_; }
    comm::AutoSaving& autoSaving() { return *autoSaving_; }
    comm::TfrmMsgLog* msgLogWindow() { return msgLog_; }
    comm::TfrmAutoSaving* autoSavingWindow() { return autoSavingForm_; }
    comm::TfrmExportAisInfo* exportWindow() { return export_; }
    comm::TfrmSourceHealth* sourceHealthWindow() { return sourceHealth_; }

    // Creation: the windows (after the settings and texts are loaded) and the
    // menu items, tool buttons and status images that open them.
    void createWindows(const TextStore& texts, const std::string& dataFolder);
    void retranslate(const TextStore& texts);
    void loadSettings(const Settings& settings);
    void saveSettings(Settings& settings) const;

    // A live source to connect the AIS sensor to at the first showing instead
    // of the stored start-up connection ("tcp://HOST:PORT", "udp://[HOST]:PORT",
    // "/dev/ttyX[:RATE]").
    void setStartupSource(const QString& source) { startupSource_ = source; }
    // First showing: connects the AIS sensor as set up; false when nothing was
    // set to connect (the device wizard is then due).
    bool connectAtStart();
    // Connects the AIS sensor to a live source; false (with a message) when it
    // cannot be made.
    bool connectSource(const comm::LinkSource& source);

    // One-second step: 8 (transmit counts, missing-message indicator,
    // identification query), 11 (auto-saving) and 14 (TCP/IP supervision).
    void stepSensorStatus();
    void stepAutoSaving();
    void stepTcpSupervision();
    bool anySensorInUse() const;
    bool aisInUse() const;
    // Shutdown: every port and link closed, the recording closed.
    void shutdown();
    // Sends the transmitter switch (Options window) while the AIS port is connected.
    void sendTransmitterSwitch(bool on);

    // Menu items.
    void showLogWindow();
    void showAutoSaving();
    void showExport();
    void showSourceHealth();

    // comm::SensorControlView
    void showSensorMessage(comm::MessageCaption caption, const std::string& text) override;
    void onSensorStateChanged(int sensor) override;
    // comm::AutoSavingReport
    void recordingFailed(const std::string& path, int error) override;

    void refreshStatus();
    // Called when a link's health changed by itself (the dialogs show it).
    void setLinkHealthHandler(std::function<void()> handler) {
        linkHealthChanged_ = std::move(handler);
    }
    // The status row's text of the links that are silent or lost; empty while all is well.
    QString linkTroubleText() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void wireMenus();
    void refreshHealthSummary();
    QString text(TextId id) const;

    TForm1& main_;
    ais::RunState& run_;
    ui::Dialogs& dialogs_;
    const TextStore* texts_ = nullptr;
    // The poster outlives the links that post through it.
    ui::QtWindowPoster poster_;
    comm::MessageLog log_;
    std::unique_ptr<comm::TSysSensorControl> control_;
    std::unique_ptr<comm::AutoSaving> autoSaving_;
    std::unique_ptr<comm::QtPortEnumerator> enumerator_;
    comm::TfrmMsgLog* msgLog_ = nullptr;
    comm::TfrmAutoSaving* autoSavingForm_ = nullptr;
    comm::TfrmExportAisInfo* export_ = nullptr;
    comm::TfrmSourceHealth* sourceHealth_ = nullptr;
    // The compact health of every link in use, beside the port images.
    QLabel* lblStatusBarHealth_ = nullptr;
    int shownHealthLevel_ = -1;
    std::array<QLabel*, comm::kSensorCount> images_{};
    std::array<int, comm::kSensorCount> shownHealth_{-1, -1, -1};
    QLabel* lblStatusBarLink_ = nullptr;
    std::function<void()> linkHealthChanged_;
    QLabel* imgMissMsgReceive_ = nullptr;
    QString startupSource_;
};

}  // namespace norq::app
