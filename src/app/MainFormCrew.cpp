// The crew watch in the main window (CrewWindows): its page, windows and
// timers, and the few places where the main window hands over to it.
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "app/AlarmWindows.h"
#include "app/CrewWindows.h"
#include "app/MainForm.h"
#include "chart/ChartModel.h"
#include "chart/forms/PaintChart.h"
#include "crew/forms/CrewWatchForms.h"
#include "ui/ClassAlertSound.h"

namespace norq::app {

std::int64_t CrewClockOverViewer::unixSeconds() const {
    return static_cast<std::int64_t>(std::time(nullptr));
}

CrewWindows::CrewWindows(TForm1& main, const ais::Clock& clock, ui::Dialogs& dialogs)
    : SensorControlCrewPort(main.sensorControl(), main.runState().codec),
      main_(main),
      clock_(clock),
      watch_(clock_),
      intake_(watch_, main.runState().codec, [this] { return ownPosition(); }),
      sound_(main.sound().alerts()) {
    page_ = std::make_unique<crew::TCrewWatchPage>(main.texts(), watch_, dialogs);
    eventLog_ = std::make_unique<crew::TfrmMobEventLog>(main.texts(), watch_, &main);
    guide_ = std::make_unique<crew::TfrmMobRescueGuide>(main.texts(), &main);
    popup_ = std::make_unique<crew::TfrmAlarmPopup>(main.texts(), watch_, &main);
    care_ = std::make_unique<crew::TfrmCare>(main.texts(), watch_, dialogs, &main);
    connect(page_.get(), &crew::TCrewWatchPage::careToggled, this, [this](bool shown) {
        if (shown) {
            care_->RefreshCareSlots();
            care_->show();
            care_->raise();
        } else {
            care_->close();
        }
    });
    connect(care_.get(), &crew::TfrmCare::closed, page_.get(), &crew::TCrewWatchPage::releaseCare);
    // "Auto SRM" is the settings file's [SRM] AutoSRM, written at exit.
    connect(page_.get(), &crew::TCrewWatchPage::autoSrmToggled, this,
            [this](bool on) { main_.settings().autoSrm = on; });
    // The crew page of the centre page control.
    if (auto* tab = main.findChild<QWidget*>(QStringLiteral("TabSheetMOBView"))) {
        tab->layout()->addWidget(page_.get());
    }
    connect(page_.get(), &crew::TCrewWatchPage::eventLoggerRequested, this, [this] {
        eventLog_->show();
        eventLog_->raise();
    });
    connect(page_.get(), &crew::TCrewWatchPage::rowClicked, this, [this](int row) {
        if (watch_.alarms().empty()) {
            guide_->hide();
        } else if (watch_.CrewRowClicked(row)) {
            refreshGuide();
            showRescueGuide(true);
        }
    });
    mute_ = main.findChild<QToolButton*>(QStringLiteral("SpeedButtonMute"));
    if (mute_ != nullptr) {
        mute_->setCheckable(true);
        connect(mute_, &QToolButton::toggled, this, [this](bool down) { watch_.SetMute(down); });
    }
    if (chart::TPaintChart* chart = main.chart()) {
        previousCommands_ = chart->commands();
        chart->setCommands(this);
    }
    connect(guide_.get(), &crew::TfrmMobRescueGuide::steerRequested, this,
            &CrewWindows::steerToSelectedAlarm);
    watch_.setView(this);
    watch_.setPort(this);
    watch_.setSound(&sound_);
}

CrewWindows::~CrewWindows() {
    if (chart::TPaintChart* chart = main_.chart()) {
        if (chart->commands() == this) chart->setCommands(previousCommands_);
    }
    watch_.setView(nullptr);
    watch_.setSound(nullptr);
}

crew::OwnPosition CrewWindows::ownPosition() const {
    const ais::ChartTargets::OwnPosition own = main_.chart()->chartOwnPosition();
    return {own.longitude, own.latitude};
}

void CrewWindows::start(const std::string& programFolder, const std::string& dataFolder) {
    main_.sound().alerts().Register(crew::kCrewAlarmSoundName,
                                    ProgramFilePath(programFolder, kAlarmSoundFile));
    watch_.LoadFiles(dataFolder + std::string(kCrewListFile),
                     dataFolder + std::string(kCrewEventFile));
    intake_.connect(main_.runState().intake);
    page_->setAutoSrm(main_.settings().autoSrm);
    page_->refreshAll();
}

void CrewWindows::showEntryPoints() {
    shown_ = true;
    for (const char* name : {"spbMobView", "SpeedButtonMute", "ImageStatusBarMOBConnedt",
                             "lblTopPassengerTitle", "lblTopPassenger"}) {
        if (auto* widget = main_.findChild<QWidget*>(QString::fromLatin1(name))) widget->show();
    }
    if (QAction* item = main_.action(QStringLiteral("mnuConnectMobPort"))) item->setVisible(true);
    for (const char* name : {"TimerMOB", "TimerBlinking"}) {
        if (auto* timer = main_.findChild<QTimer*>(QString::fromLatin1(name))) timer->start();
    }
}

void CrewWindows::retranslate() {
    page_->retranslate();
    eventLog_->retranslate();
    guide_->retranslate();
    popup_->retranslate();
    care_->retranslate();
    eventLog_->ShowCrewEvents();
}

void CrewWindows::shutdown() {
    watch_.SaveFiles();
}

void CrewWindows::TimerMOBTimer() {
    const ais::TargetRecord& own = main_.runState().tracker.table().own();
    const crew::OwnPosition chartOwn = ownPosition();
    crew::CrewTickInput in;
    in.ownLon = chartOwn.lon;
    in.ownLat = chartOwn.lat;
    in.ownShipPositionValid = own.ownPositionValid;
    in.ownShipLon = own.longitude;
    in.ownShipLat = own.latitude;
    watch_.TimerMOBTick(in);
    page_->refreshTimes();
    care_->RefreshCareSlots();
    placePendantSymbols();
    if (!watch_.alarms().empty()) refreshGuide();
}

void CrewWindows::placePendantSymbols() {
    chart::TPaintChart* chart = main_.chart();
    if (chart == nullptr) return;
    chart::ChartModel& model = chart->model();
    const crew::CrewAlarmList& alarms = watch_.alarms();
    const int selected = alarms.selected();
    for (int slot = 0; slot < chart::kPendantSlots; ++slot) {
        if (slot < alarms.count()) {
            const crew::CrewAlarm& e = alarms[slot];
            const bool placed = std::fabs(e.longitude) <= 180.0f && std::fabs(e.latitude) <= 90.0f;
            if (placed) {
                model.setPendant(slot, e.longitude, e.latitude, slot == selected,
                                 e.state == crew::CrewDeviceState::Lost);
            }
            const auto& id = e.deviceId.bytes;
            chart->setPendantHint(
                slot, QString::asprintf("Device ID:%03d:%03d:%03d\nRange:%5.1f", id[0], id[1],
                                        id[2], static_cast<double>(e.range)));
        } else if (model.pendant(slot).visible) {
            model.setPendant(slot, 181.0f, 91.0f, false, false);  // off the globe: hidden
        }
    }
    model.selectPendant(alarms.empty() ? -1 : selected);
    chart->repaintChart();
}

void CrewWindows::pendantClicked(int slot) {
    if (slot >= 0 && slot < watch_.alarms().count()) {
        watch_.SelectCrewAlarm(slot);
        showRescueGuide(true);
        placePendantSymbols();
    }
    if (previousCommands_ != nullptr) previousCommands_->pendantClicked(slot);
}

void CrewWindows::setManualPositionHere(double lon, double lat) {
    if (previousCommands_ != nullptr) previousCommands_->setManualPositionHere(lon, lat);
}

void CrewWindows::addDestinationHere(double lon, double lat) {
    if (previousCommands_ != nullptr) previousCommands_->addDestinationHere(lon, lat);
}

void CrewWindows::addMarkerHere(double lon, double lat) {
    if (previousCommands_ != nullptr) previousCommands_->addMarkerHere(lon, lat);
}

void CrewWindows::setMonitored(int slot, bool monitored) {
    if (previousCommands_ != nullptr) previousCommands_->setMonitored(slot, monitored);
}

bool CrewWindows::trackVisible(int slot) const {
    return previousCommands_ != nullptr && previousCommands_->trackVisible(slot);
}

void CrewWindows::setTrackVisible(int slot, bool visible) {
    if (previousCommands_ != nullptr) previousCommands_->setTrackVisible(slot, visible);
}

void CrewWindows::steerToSelectedAlarm() {
    const crew::CrewAlarmList& alarms = watch_.alarms();
    if (alarms.empty()) return;
    const crew::CrewAlarm& e = alarms[alarms.selected()];
    if (std::fabs(e.longitude) > 180.0f || std::fabs(e.latitude) > 90.0f) return;
    // The navigation objects' "Add destination here": the place where the alarm began.
    addDestinationHere(e.longitude, e.latitude);
}

void CrewWindows::TimerBlinkingTimer() {
    page_->showStatus(watch_.TimerBlinkingTick(main_.texts()));
}

void CrewWindows::refreshGuide() {
    if (watch_.alarms().empty()) return;
    const ais::ChartTargets::OwnPosition own = main_.chart()->chartOwnPosition();
    const double cog = main_.runState().tracker.table().own().cog;
    blink_ = !blink_;
    guide_->ShowRescueGuide(crew::MakeRescueGuide(watch_.alarms()[watch_.alarms().selected()],
                                                  watch_.table(), cog < 360.0 ? cog : own.course,
                                                  blink_, main_.texts()));
}

void CrewWindows::centrePageShown(bool crewPage) {
    if (!shown_) return;
    if (crewPage && watch_.table().count() == 0) guide_->hide();
    if (!crewPage && watch_.table().count() > 0 && !watch_.alarms().empty()) showRescueGuide(true);
}

void CrewWindows::saveScreenshots(const QString& prefix) {
    const auto save = [&](QWidget* widget, const char* name) {
        const QString file =
            prefix + QStringLiteral("-") + QLatin1String(name) + QStringLiteral(".png");
        if (!widget->grab().save(file, "PNG"))
            std::fprintf(stderr, "could not write %s\n", qPrintable(file));
    };
    main_.setCentrePage(CentrePage::Crew);
    // The status light in its lit phase.
    crew::CrewStatusDisplay status = watch_.TimerBlinkingTick(main_.texts());
    if (status.led == 0) status = watch_.TimerBlinkingTick(main_.texts());
    page_->showStatus(status);
    save(page_.get(), "crew-page");
    save(page_->grid(), "crew-list");
    eventLog_->show();
    save(eventLog_.get(), "event-log");
    if (guide_->isVisible()) save(guide_.get(), "rescue-guide");
    if (popup_->isVisible()) save(popup_.get(), "alarm-popup");
}

// ---- crew::CrewWatchView -------------------------------------------------

void CrewWindows::crewRowChanged(int row) {
    page_->refreshRow(row);
}

void CrewWindows::crewRowsChanged() {
    page_->refreshAll();
}

void CrewWindows::crewEventsChanged() {
    eventLog_->ShowCrewEvents();
}

void CrewWindows::crewCountsChanged() {
    page_->refreshTimes();
    // The top strip's passengers: those online of those online or in alarm ("3/4").
    if (auto* passengers = main_.findChild<QLabel*>(QStringLiteral("lblTopPassenger"))) {
        const crew::CrewCounts& c = watch_.counts();
        passengers->setText(QStringLiteral("%1/%2")
                                .arg(c.pendantsOnline)
                                .arg(c.pendantsOnline + c.pendantsInAlarm));
    }
}

void CrewWindows::crewAlarmsChanged() {
    refreshGuide();
}

void CrewWindows::firstCrewAlarm() {
    main_.setCentrePage(CentrePage::Chart);
}

void CrewWindows::showAlarmPopup() {
    popup_->showPopup();
}

void CrewWindows::showRescueGuide(bool shown) {
    if (!shown) {
        guide_->hide();
        return;
    }
    refreshGuide();
    guide_->adjustSize();
    if (!guide_->placed()) {
        // First showing: at the main window's right edge, just above its status row.
        const QRect frame = main_.geometry();
        const QWidget* status = main_.findChild<QWidget*>(QStringLiteral("PanelStatusBar"));
        const int bottom =
            status != nullptr ? status->mapTo(&main_, QPoint(0, 0)).y() : frame.height();
        guide_->move(frame.left() + frame.width() - guide_->width(),
                     frame.top() + bottom - guide_->height());
        guide_->setPlaced();
    }
    guide_->show();
    guide_->raise();
}

void CrewWindows::muteReleased() {
    if (mute_ == nullptr) return;
    const QSignalBlocker quiet(mute_);
    mute_->setChecked(false);
}

void CrewWindows::crewBeep() {
    main_.sound().beep(750, 300);
}

bool CrewWindows::autoSrmAllowed() const {
    const comm::TSysSensorControl& control = main_.sensorControl();
    return main_.settings().autoSrm &&
           control.inputType(comm::kAisPort) == comm::InputType::Serial &&
           control.linkState(comm::kAisPort) == comm::LinkState::Connected;
}

void CrewWindows::sendManOverboardSrm() {
    main_.alarms().safetyMessages().SendSrm("MAN OVERBOARD");
}

}  // namespace norq::app
