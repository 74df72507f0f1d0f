// The main window's timers: the one-second step (Timer1) with its sub-steps in
// their order, and the replay (TimerPlayLog, the replay menu items).
#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "app/AlarmWindows.h"
#include "app/CpaAlarmPanel.h"
#include "app/CrewWindows.h"
#include "app/MainForm.h"
#include "app/NavigationHub.h"
#include "app/ViewerLinks.h"
#include "chart/forms/PaintChart.h"
#include "comm/forms/DeviceConnections.h"
#include "ui/Timers.h"

namespace norq::app {

namespace {
constexpr int kDemoPageTicks = 10;
constexpr int kSilentAfterTicks = 4;
}  // namespace

void TForm1::createTimers() {
    timer1_ = ui::MakeWindowTimer(this, "Timer1", 1000, [this] { Timer1Timer(); });
    timerPlayLog_ = ui::MakeWindowTimer(this, "TimerPlayLog", 100, [this] { TimerPlayLogTimer(); });
    // The two checks below have nothing to do; they run as the window's design has them.
    timerRefreshFreq_ = ui::MakeWindowTimer(this, "TimerRefreshFreq", 100, [] {});
    timerShipCheck_ = ui::MakeWindowTimer(this, "TimerShipCheck", 2000, [] {});
    // Map cruise and chart orientation (MainFormChart.cpp); the crew timers and the
    // track step: their subsystems fill these handlers.
    timerCruiseMap_ =
        ui::MakeWindowTimer(this, "TimerCruiseMap", 2000, [this] { stepMapCruise(); });
    timerOrientChart_ =
        ui::MakeWindowTimer(this, "TimerOrientChart", 1000, [this] { stepOrientation(); });
    timerMob_ = ui::MakeWindowTimer(this, "TimerMOB", 1000, [this] {
        if (crew_) crew_->TimerMOBTimer();
    });
    timerBlinking_ = ui::MakeWindowTimer(this, "TimerBlinking", 1000, [this] {
        if (crew_) crew_->TimerBlinkingTimer();
    });
    timerTrack_ = ui::MakeWindowTimer(this, "TimerTrack", 1000, [] {});
    // Reports of the logic are gathered and shown together (scheduleFlush).
    viewFlush_ = new QTimer(this);
    viewFlush_->setObjectName(QStringLiteral("TimerViewFlush"));
    viewFlush_->setSingleShot(true);
    viewFlush_->setTimerType(Qt::PreciseTimer);
    connect(viewFlush_, &QTimer::timeout, this, &TForm1::flushViews);
}

void TForm1::startFirstTimers() {
    for (QTimer* timer : {timer1_, timerShipCheck_, timerPlayLog_, timerRefreshFreq_})
        timer->start();
}

void TForm1::Timer1Timer() {
    // 1. Focus to the chart's scale bar: comes with the chart interaction.
    // 2. Local date and time in panel 3 and the time label.
    const QDateTime now = QDateTime::currentDateTime();
    const QString stamp = QLocale::system().toString(now.date(), dateFormat_) +
                          now.time().toString(QStringLiteral(" hh:mm:ss"));
    statusPanels_[3] = stamp;
    lblStatusBarTime_->setText(stamp);
    // 3. Counters.
    ++tickCount_;
    ++noOwnTxCount_;
    // 4. Staleness of the own ship's items and position, with the rule on:
    //    a lost or replayed fix must not stay marked valid.
    run_->ownShip.checkStaleness(true);
    // 5. Ageing: at most one target per tick; the tracker rebuilds the lists
    //    through the target view and moves the chart's symbols down. Then every
    //    target silent for longer than its lost time is crossed out on the chart.
    run_->tracker.AgeTargets();
    chart_->markLostTargets(run_->tracker.clock().monotonicSeconds());
    // 6. Repaint the chart when its layers are stale.
    if (chart_->layersStale()) chart_->repaintLayers();
    // 7. Demo mode.
    stepDemoMode();
    // 8. Missing-message indicator; transmit counts and the identification query
    //    on a silent TCP/IP link while an AIS device kind is known.
    links_->stepSensorStatus();
    // 9. Transmit indicator.
    stepTransmitIndicator();
    // 10. AIS identification queries and time-out.
    connections_->identificationTick();
    // 11. Auto-saving step: raw recording.
    links_->stepAutoSaving();
    // 12. Alarm beep while an alert of the alarm sound registry is active, or
    //     while a graded CPA alarm waits for its acknowledgement.
    const bool cpaAlarm = cpaAlarmPanel_ != nullptr && cpaAlarmPanel_->step();
    const bool sourceAlarm = stepSourceChecks();
    alarms_->stepAlarmBeep(cpaAlarm || sourceAlarm);
    // 13. Safety message alerts waiting and their dialog not showing: show it.
    alarms_->stepSrmAlert();
    // Navigation objects: own-ship track recording, destination.
    nav_->stepSecond();
    // 14. TCP/IP supervision.
    links_->stepTcpSupervision();
    scheduleFlush();
}

bool TForm1::stepSourceChecks() {
    const std::int64_t now = run_->tracker.clock().monotonicSeconds();
    const int limit = settings_.ownPositionMismatchMetres;
    const double apart = ais::OwnPositionSeparationMetres(run_->ownShip.gnssPosition(),
                                                          run_->tracker.ownVdoPosition(), now);
    const std::int64_t aisSilent =
        ais::SilentForSeconds(run_->tracker.lastAisMessageAt(), now, settings_.aisSilentSeconds);
    const std::int64_t gnssSilent =
        ais::SilentForSeconds(run_->ownShip.lastGnssSentenceAt(), now, settings_.gnssSilentSeconds);
    auto with = [this](TextId id, long long value) {
        return text(id).replace(QStringLiteral("%d"), QString::number(value));
    };
    QStringList notes;
    if (limit > 0 && apart > limit)
        notes << with(TextId::StatusBarOwnPositionMismatch, static_cast<long long>(apart));
    if (aisSilent > 0) notes << with(TextId::StatusBarAisSilent, aisSilent);
    if (gnssSilent > 0) notes << with(TextId::StatusBarGnssSilent, gnssSilent);
    const bool alarm = !notes.isEmpty();
    const QString note = notes.join(QStringLiteral("  "));
    if (lblStatusBarSourceCheck_->text() != note) lblStatusBarSourceCheck_->setText(note);
    if (lblStatusBarSourceCheck_->isHidden() == alarm) lblStatusBarSourceCheck_->setVisible(alarm);
    return alarm;
}

void TForm1::stepDemoMode() {
    if (!mnuDemo_->isChecked()) return;
    if (tickCount_ - demoPageTick_ < kDemoPageTicks) return;
    demoPageTick_ = tickCount_;
    ++demoCount_;
    setCentrePage(centrePage() == CentrePage::Chart ? CentrePage::Alpha : CentrePage::Chart);
}

void TForm1::stepTransmitIndicator() {
    if (!txStateReported_ && noOwnTxCount_ > kSilentAfterTicks) {
        mnuTxOffSilentMode1_->setChecked(true);
    }
    const bool silent = mnuTxOffSilentMode1_->isChecked();
    const QString label = text(silent ? TextId::SrmTxOff : TextId::SrmTxOn);
    if (labelTxOnOff_->text() != label) labelTxOnOff_->setText(label);
    labelTxOnOff_->setToolTip(silent ? QStringLiteral("Silent") : QString());
    labelTxOnOff_->setBackgroundRole(silent ? QPalette::Highlight : QPalette::Window);
    // While the AIS port is not in use the indicator, the safety message button
    // and the TX title are hidden.
    const bool aisPortInUse = links_->aisInUse();
    labelTxOnOff_->setVisible(aisPortInUse);
    lblTxTitle_->setVisible(aisPortInUse);
    if (auto* srm = findChild<QToolButton*>(QStringLiteral("SpeedButtonSRM"))) {
        if (!aisPortInUse) srm->hide();
    }
}

void TForm1::OnOwnShipReport() {
    noOwnTxCount_ = 0;
    if (!txStateReported_) {
        mnuTxOn1_->setChecked(true);
    }
}

void TForm1::OnTransmitterReport() {
    // $PKRV,R with first number 30: the transponder reports its transmitter.
    const int state = alarms_->transmitterReport();
    if (state == -2) return;
    txStateReported_ = true;
    if (state == 1) mnuTxOn1_->setChecked(true);
    if (state == 0) mnuTxOffSilentMode1_->setChecked(true);
}

// ---- Replay ------------------------------------------------------------------

void TForm1::TimerPlayLogTimer() {
    int elapsedMs = comm::LogReplay::kTickMs;
    if (replayTickTimer_.isValid()) {
        elapsedMs = static_cast<int>(
            std::min<qint64>(replayTickTimer_.restart(), comm::LogReplay::kMaxTickMs));
    } else {
        replayTickTimer_.start();
    }
    const comm::LogReplay::TickResult result =
        replay_.tick(settings_.playLog, *replaySink_, elapsedMs);
    if (result.ended) {
        replayEnded_ = true;
        setLogFileName(QString());
        updateReplayMenus();
    }
    if (result.linesHanded > 0) scheduleFlush();
}

void TForm1::startReplay(const QString& file) {
    // A replay asked for (the command line, the wizard) is the source chosen.
    connections_->dismissStartWizard();
    if (replay_.playState() != comm::PlayState::Stopped) stopReplay();
    setLogFileName(file);
    onPlayLog();
}

void TForm1::onPlayLog() {
    comm::LogReplay& replay = replay_;
    if (replay.playState() != comm::PlayState::Stopped) {
        stopReplay();
        return;
    }
    replay.requestStart();
    if (logFileName_.isEmpty()) {
        const QString file = askReplayFile();
        if (file.isEmpty()) {
            replay.cancelStart();
            updateReplayMenus();
            return;
        }
        mnuOpenLog_->setVisible(true);
        if (!QFileInfo::exists(file)) {
            // Nothing plays until the next click.
            updateReplayMenus();
            return;
        }
        setLogFileName(file);
    }
    mnuOpenLog_->setVisible(true);
    if (replay.open(logFileName_.toStdString()) != comm::LogReplay::OpenResult::Opened) {
        updateReplayMenus();
        dialogs_.message(
            this, QStringLiteral("WARNING"),
            QStringLiteral("Log File:") + logFileName_ + QStringLiteral(" fail to open!"),
            ui::MessageIcon::Warning, ui::MessageButtons::Ok);
        return;
    }
    mnuOpenLog_->setToolTip(QStringLiteral("Pause playing log file"));
    settings_.window.lastReplayFolder = QFileInfo(logFileName_).absolutePath().toStdString();
    replayEnded_ = false;
    updateReplayMenus();
    setTargetMonitorChecked(false);
}

void TForm1::onOpenLog() {
    comm::LogReplay& replay = replay_;
    if (replay.pauseState() == comm::PauseState::Hidden) return;
    const bool continued = replay.togglePause();
    mnuOpenLog_->setToolTip(continued ? QStringLiteral("Pause play")
                                      : QStringLiteral("Continue playing"));
    if (continued) setTargetMonitorChecked(false);
    updateReplayMenus();
}

void TForm1::stopReplay() {
    replayEnded_ = false;
    replay_.stop();
    setLogFileName(QString());
    updateReplayMenus();
}

void TForm1::updateReplayMenus() {
    const comm::LogReplay& replay = replay_;
    const bool stopped = replay.playState() == comm::PlayState::Stopped;
    mnuPlayLog_->setText(text(stopped ? TextId::MenuFilePlayLog : TextId::MenuFileStopPlay));
    mnuPlayLog_->setToolTip(stopped ? QStringLiteral("Play log file")
                                    : QStringLiteral("Stop playing log file"));
    switch (replay.pauseState()) {
        case comm::PauseState::Hidden:
            mnuOpenLog_->setText(text(TextId::MenuFileOpenLog));
            break;
        case comm::PauseState::Playing:
            mnuOpenLog_->setText(text(TextId::MenuFilePausePlay));
            break;
        case comm::PauseState::Paused:
            mnuOpenLog_->setText(text(TextId::MenuFileContinuousPlay));
            break;
    }
    if (stopped) mnuOpenLog_->setVisible(false);
    showReplayState();
}

void TForm1::setLogFileName(const QString& name) {
    logFileName_ = name;
    const QString shown =
        text(TextId::StatusBarLog) + QLatin1Char(':') + QFileInfo(name).fileName();
    statusPanels_[7] = shown;
    lblStatusBarLog_->setText(shown);
}

}  // namespace norq::app
