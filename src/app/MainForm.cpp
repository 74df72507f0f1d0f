// The main window's creation, first showing, close request and shutdown, in the
// order the viewer comes up and goes down. Steps that belong to subsystems not
// built yet are kept as marked empty steps in their place.
#include "app/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QTabWidget>
#include <QTimer>
#include <cmath>

#include "app/AlarmWindows.h"
#include "app/BroadcastWindows.h"
#include "app/ChartMeasure.h"
#include "app/CpaAlarmPanel.h"
#include "app/CrewWindows.h"
#include "app/DetailPanes.h"
#include "app/NavigationHub.h"
#include "app/RegionWindows.h"
#include "app/ShipListModel.h"
#include "app/TargetGridModel.h"
#include "app/ViewerLinks.h"
#include "app/forms/AboutForm.h"
#include "app/forms/CpaSettingForm.h"
#include "app/forms/SmallForms.h"
#include "chart/forms/PaintChart.h"
#include "comm/forms/DeviceConnections.h"
#include "ui/PageControl.h"

namespace norq::app {

namespace {

ais::CpaGrading CpaGradingFromSettings(const CpaGradingSettings& s) {
    ais::CpaGrading g;
    g.graded = s.graded;
    g.cautionCpa = s.cautionCpa;
    g.cautionTcpa = s.cautionTcpa;
    g.warningCpa = s.warningCpa;
    g.warningTcpa = s.warningTcpa;
    g.quietWhenMoored = s.quietWhenMoored;
    g.acknowledgeSeconds = s.acknowledgeMinutes * 60;
    return g;
}

}  // namespace

TForm1::TForm1(const ViewerPaths& paths, const ais::Clock& clock, ui::Dialogs& dialogs,
               QWidget* parent)
    : QMainWindow(parent), paths_(paths), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("NORQ AIS Viewer"));
    // The window as designed: its widgets, menus and timers exist before the
    // creation steps run, as in the form's design.
    run_ = std::make_unique<ais::RunState>(clock);
    replaySink_ = std::make_unique<comm::IntakeReplaySink>(run_->intake);
    buildLayout();
    buildMenus();
    createTimers();

    // 1-2. The sensor port control with its receive handlers, and the alarm
    //      sound registry (the sound path) with the windows of the alarms and
    //      messages, which exist from start-up and send through the AIS port.
    links_ = std::make_unique<ViewerLinks>(*this, *run_, clock, dialogs_);
    replaySink_->setLog(&links_->log());
    alarms_ = std::make_unique<AlarmWindows>(*this, *run_, texts_, sound_, dialogs_);
    alarms_->connectSensorControl(&sensorControl());
    followUps_.add(alarms_.get());
    // The navigation objects take the chart's popup commands after the alarms,
    // passing on those that are not theirs.
    nav_ = std::make_unique<NavigationHub>(*this, *run_, texts_, dialogs_);
    followUps_.add(nav_.get());
    broadcasts_ = std::make_unique<BroadcastWindows>(*this, *run_, *alarms_, texts_, dialogs_);
    // The region list keeps the regions of received messages 22 whether or not
    // it is shown; the traffic counter fills the daily count files.
    regions_ = std::make_unique<RegionWindows>(*this, texts_, paths_.folders.dataFolder);
    followUps_.add(regions_.get());
    measure_ = std::make_unique<ChartMeasure>(*this, *chart_, texts_);
    crew_ = std::make_unique<CrewWindows>(*this, clock, dialogs_);
    // 3. The user's short date format, used by every time stamp. Month names
    //    become numbers and day names are left out, so that every stamp is
    //    numeric and of one width, with a four-digit year.
    dateFormat_ = userShortDateFormat();
    datePattern_ = dateFormat_.toStdString();
    alarms_->setDatePattern(datePattern_);
    // 4. Run-state reset.
    statusPanels_[6].clear();
    lblStatusBarTxCount_->clear();
    tickCount_ = 0;
    noOwnTxCount_ = 0;
    demoCount_ = 0;
    // 5. Target table with one entry for the own ship; the decoder's tables,
    //    markers and monitored ships are initialised by their owners.
    connectRunState(true);
    run_->tracker.ClearTargets();
    // 6. Line accumulator, log file name, replay and raw recording handles.
    logFileName_.clear();
    // 7. The shipped feature configuration.
    applyShippedFeatureConfiguration();
    // 8. Sound file registered as "AIS MOB ALARM"; the manual's path.
    alarms_->registerAlarmSound(paths_.programFolder);
    // 9. Settings, the built-in texts, then the data files.
    LoadViewerSettingsFile(paths_.settingsFile, settings_);
    settings_.language = NormalisedLanguage(settings_.language);
    if (settings_.allFeatures) showAllFeatures();
    placeWindow();
    texts_.resetToBuiltIn();
    loadTexts();
    links_->loadSettings(settings_);
    links_->createWindows(texts_, paths_.folders.dataFolder);
    createConnections();
    readDataFiles();
    run_->tracker.setCpaSettings({settings_.cpaLimit, settings_.tcpaLimit});
    run_->tracker.table().setAgeing({settings_.lostAfterReports, settings_.removeAfterReports});
    run_->tracker.setCpaGrading(CpaGradingFromSettings(settings_.cpaGrading));
    // 10. Window font; the vessel tab hidden but active with its DYNAMIC page.
    setFont(QFont(QStringLiteral("Arial"), font().pointSize()));
    pageControlDevInfo_->setTabVisible(0, false);
    pageControlDevInfo_->setActivePage(0);
    pageControlVessel_->setCurrentIndex(0);
    // 11. The chart view with its scale, the grid with its titles, the own
    //     ship's ship-list line, then the chart page active and the SRM label
    //     emptied.
    applyChartStartup();
    setupGrid();
    buildWatchAdditions();
    shipListModel_->rebuild(run_->tracker.table());
    gridModel_->resetRows();
    setCentrePage(CentrePage::Chart);
    lblSrmSentMsg_->clear();
    // 12. Bearing mode texts: true bearing at start.
    showBearingModeText();
    // 13. Port images: nothing connected; transmit state not reported.
    links_->refreshStatus();
    txStateReported_ = false;
    setTargetCount(run_->tracker.table().count() - 1);
    flushViews();
}

TForm1::~TForm1() {
    // Neither the logic nor the views' own signals may reach widgets that are
    // being destroyed.
    shutDown_ = true;
    applyingSelection_ = true;
    if (viewFlush_ != nullptr) viewFlush_->stop();
    if (run_) connectRunState(false);
}

void TForm1::connectRunState(bool toWindows) {
    ais::TrackerConnections tracker;
    if (toWindows) {
        tracker.view = this;
        tracker.chart = chart_;
        tracker.ownShipView = this;
        tracker.mobList = &alarms_->mobList();
        // Subsystems that keep per-target state (tracks, alarms) add their
        // follow-ups to this fan-out; the chart hears of removals as ChartTargets.
        tracker.followUps = &followUps_;
        tracker.cpaAlarms = cpaAlarmPanel_;
    }
    run_->tracker.connect(tracker);
    if (toWindows) {
        run_->ownShip.connect(this, chart_, this, this);
    } else {
        run_->ownShip.connect(nullptr, nullptr, nullptr, nullptr);
    }
    // The proprietary sentences (the crew watch) are connected by their owner
    // and kept when the window connects again; they go when the window does.
    ais::IntakeConnections intake;
    if (toWindows) intake.proprietary = run_->intake.connections().proprietary;
    intake.ais = &run_->tracker;
    intake.gnss = &run_->ownShip;
    intake.transmitter = toWindows ? this : nullptr;
    intake.identification = toWindows && connections_ ? &connections_->detection() : nullptr;
    run_->intake.connect(intake);
}

void TForm1::readDataFiles() {
    // The crew list "MOB.csv" and the crew events "MOB_Event.csv" (the markers
    // "Markers.csv" are read by the navigation objects at the first showing).
    // The files are read whether or not the crew watch is shown.
    crew_->start(paths_.programFolder, paths_.folders.dataFolder);
    if (settings_.crewWatchShown) crew_->showEntryPoints();
}

void TForm1::showCrewWatch() {
    settings_.crewWatchShown = true;
    crew_->showEntryPoints();
}

void TForm1::attachWindows(const SubWindows& windows) {
    windows_ = windows;
    if (windows_.options != nullptr) {
        // The transmitter switch sends the debug query while the AIS port is connected.
        windows_.options->setTransmitHandler(
            [this](bool on) { links_->sendTransmitterSwitch(on); });
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!firstShown_) {
        firstShown_ = true;
        firstShowing();
    }
}

void TForm1::firstShowing() {
    // 1. The own ship at the manual (or last known) position, and the chart calibration.
    // Until a fix comes that position is only the chart's reference: the top strip says
    // N/A, and a position never set at all (0°/0°) draws no own-ship symbol.
    chart_->setManualPosition(settings_.ownLongitude, settings_.ownLatitude, 0.0,
                              settings_.ownLongitude != 0.0 || settings_.ownLatitude != 0.0);
    run_->ownShip.showNoFix(settings_.ownLongitude, settings_.ownLatitude);
    chart_->refreshSymbol(0);
    LoadChartCalibrationFile(paths_.settingsFile, settings_.calibration);
    applyChartCalibration();
    // 2. The friend list and the AIS MOB list; the ENC settings: their subsystem.
    alarms_->readFiles(paths_.folders.dataFolder);
    nav_->readFiles(paths_.folders.dataFolder);
    broadcasts_->readFiles(paths_.folders.dataFolder);
    // 3. Connecting the AIS port; when nothing is set to connect, the device
    //    wizard (with the wizard as the TCP owner) is due.
    if (!links_->connectAtStart()) {
        connections_->startUp(false, settings_.wizard.startChoice,
                              QString::fromStdString(settings_.wizard.lastRecording),
                              settings_.wizard.networkInput);
    }
    // 4. The first line of the ship list.
    setListSelection(0);
    run_->tracker.SelectTarget(0, false);
    // 5. The timers.
    startFirstTimers();
    flushViews();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (shutDown_) {
        event->accept();
        return;
    }
    if (exitQuery_) {
        const ui::MessageAnswer answer = dialogs_.message(
            this, text(TextId::ExitQueryExitCaption), text(TextId::ExitQueryQueryExit),
            ui::MessageIcon::Question, ui::MessageButtons::OkCancel);
        if (answer != ui::MessageAnswer::Ok) {
            event->ignore();
            return;
        }
    }
    shutdown();
    event->accept();
}

void TForm1::shutdown() {
    shutDown_ = true;
    for (QTimer* timer :
         {timer1_, timerPlayLog_, timerRefreshFreq_, timerShipCheck_, timerCruiseMap_,
          timerOrientChart_, timerMob_, timerBlinking_, timerTrack_, viewFlush_}) {
        timer->stop();
    }
    replay_.stop();
    // The AIS, GPS and MOB ports and the TCP/IP and UDP links are closed.
    links_->shutdown();
    nav_->shutdown();
    writeSettings();
    // "MOB.csv" and "MOB_Event.csv" (also written after every change).
    crew_->shutdown();
    Q_EMIT closed();
}

void TForm1::writeSettings() {
    keepWindowPlace();
    const ais::CpaSettings& cpa = run_->tracker.cpaSettings();
    settings_.cpaLimit = cpa.cpaLimit;
    settings_.tcpaLimit = cpa.tcpaLimit;
    // The own position at exit: the chart's (the fix while there is one, else
    // the manual position); a position off the globe keeps the stored one.
    const ais::ChartTargets::OwnPosition own = chart_->chartOwnPosition();
    if (std::abs(own.longitude) <= 180.0 && std::abs(own.latitude) <= 90.0) {
        settings_.ownLongitude = own.longitude;
        settings_.ownLatitude = own.latitude;
    }
    settings_.scaleId = chart_->scaleIndex();
    settings_.language = NormalisedLanguage(settings_.language);
    links_->saveSettings(settings_);
    SaveViewerSettingsFile(paths_.settingsFile, settings_);
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) followWindowState(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && pageControlDevInfo_) {
        // Activating the window brings back the vessel's DYNAMIC page.
        pageControlDevInfo_->setActivePage(0);
        pageControlVessel_->setCurrentIndex(0);
    }
}

void TForm1::showMessage(const QString& message, TextId caption, ui::MessageIcon icon) {
    dialogs_.message(this, text(caption), message, icon, ui::MessageButtons::Ok);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && watched == shipListHeadings_[0]) {
        onClearTargets();
        return true;
    }
    // A click on the fix image shows the GNSS status window (satellite view).
    if (event->type() == QEvent::MouseButtonRelease && watched == imgFix_) showGpsStatus();
    // The scale panel keeps to the chart's bottom-right corner.
    if (event->type() == QEvent::Resize && watched == chart_) showScaleLabel();
    return QMainWindow::eventFilter(watched, event);
}

QAction* TForm1::action(const QString& name) const {
    return findChild<QAction*>(name);
}

}  // namespace norq::app
