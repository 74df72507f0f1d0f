#include "app/AlarmWindows.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QToolButton>

#include "app/BaseNames.h"
#include "app/MainForm.h"
#include "base/DataFolder.h"
#include "chart/forms/PaintChart.h"
#include "crew/forms/AisMobListForm.h"
#include "messaging/SensorControlAisPort.h"
#include "messaging/forms/AtonForms.h"
#include "messaging/forms/ShipListForms.h"
#include "messaging/forms/SrmForms.h"
#include "ui/Dialogs.h"
#include "ui/Sound.h"

namespace norq::app {

namespace {
constexpr int kBeepHz = 1000;
constexpr int kBeepMs = 600;
}  // namespace

AlarmWindows::AlarmWindows(TForm1& main, ais::RunState& run, const TextStore& texts,
                           ui::SoundPlayer& sound, ui::Dialogs& dialogs)
    : QObject(&main),
      main_(main),
      run_(run),
      texts_(texts),
      sound_(sound),
      dialogs_(dialogs),
      mobSound_(sound.alerts()),
      mobList_(run.tracker.clock(), run.tracker.table()),
      srm_(run.tracker.clock(), run.tracker),
      marks_(run.tracker.table(), friends_),
      chartMarks_(mobList_, run.tracker.table()) {
    mobList_.setSound(&mobSound_);
    srm_.setNames(&mobList_);
    srm_.setView(this);
    srm_.setWriter(this);

    mobWindow_ =
        std::make_unique<crew::TfrmAISMOBList>(texts, mobList_, sound_.alerts(), dialogs, &main);
    crew::TfrmAISMOBList::Hooks hooks;
    hooks.feedLine = [this](const std::string& line) {
        // A replayed line: the drill never reaches a port or the transponder.
        run_.ReceiveLine(line, false);
        main_.flushViews();
    };
    hooks.drillPosition = [this] {
        const ais::ReferencePosition ref = run_.tracker.referencePosition();
        return std::pair<double, double>{ref.longitude, ref.latitude};
    };
    mobWindow_->setHooks(std::move(hooks));

    srmLog_ = std::make_unique<messaging::TfrmSRMRecordBox>(texts, srm_, &main);
    srmAlert_ = std::make_unique<messaging::TfrmSRMAlertDialog>(texts, srm_, &main);
    srmAlert_->setOpenHandler([this] { srmLog_->showPage(0); });
    srmWindow_ = std::make_unique<messaging::TfrmSRM>(texts, srm_, &main);
    srmWindow_->setSentHandler([this] { srmLog_->showPage(1); });
    lantern_ = std::make_unique<messaging::TfrmLanternCtrl>(texts, run.codec, &main);
    lantern_->setSender(this);
    atonDetails_ =
        std::make_unique<messaging::TfrmAtonDetails>(texts, run.tracker.table(), *lantern_, &main);
    monitored_ = std::make_unique<messaging::TfrmMonitoredShipList>(texts, run.tracker.table(),
                                                                    marks_, dialogs, &main);
    buddy_ = std::make_unique<messaging::TfrmBuddyDlg>(texts, &main);

    if (auto* row = main.findChild<QWidget*>(QStringLiteral("PanelStatusBar"))) {
        statusNote_ = new QLabel(row);
        statusNote_->setObjectName(QStringLiteral("lblStatusBarAlarm"));
        statusNote_->setStyleSheet(QStringLiteral("color: white; background: red; padding: 0 4px"));
        statusNote_->hide();
        row->layout()->addWidget(statusNote_);
    }
    connect(&sound_.alerts(), &ui::ClassAlertSound::audibilityChanged, this,
            &AlarmWindows::updateStatusNote);
    connectMenus();
    if (chart::TPaintChart* chart = main.chart()) {
        chart->setTargetMarkSource(&marks_);
        chart->addLayerHook(chart::ChartLayer::AlarmMarks, &chartMarks_);
        // The monitored-ship items of the target popup; the other commands
        // belong to the navigation objects.
        if (chart->commands() == nullptr) chart->setCommands(this);
    }
}

AlarmWindows::~AlarmWindows() {
    if (chart::TPaintChart* chart = main_.chart()) {
        chart->removeLayerHook(&chartMarks_);
        chart->setTargetMarkSource(nullptr);
        if (chart->commands() == this) chart->setCommands(nullptr);
    }
    mobList_.setView(nullptr);
    srm_.setView(nullptr);
}

void AlarmWindows::connectMenus() {
    auto onAction = [this](const char* name, auto slot) {
        if (QAction* a = main_.action(QString::fromLatin1(name)))
            connect(a, &QAction::triggered, this, slot);
    };
    auto onButton = [this](const char* name, auto slot) {
        if (auto* b = main_.findChild<QAbstractButton*>(QString::fromLatin1(name)))
            connect(b, &QAbstractButton::clicked, this, slot);
    };
    onAction("mnuConfigAISMOBList1", [this] { onAisMobList(); });
    onButton("spbEcsIconBarAISMOBList", [this] { onAisMobList(); });
    onAction("mmuShowShipList", [this] { onMonitoredShipList(); });
    onAction("mnuBuddy", [this] { onFriendShips(); });
    onAction("mnuSRMLog", [this] { onSrmLog(); });
    onAction("mmuSRM", [this] { onSrm(false); });
    onButton("SpeedButtonSRM", [this] { onSrm(true); });
    onAction("mnuViewSelectShip", [this](bool on) { onShowMonitoredOnly(on); });
    onButton("ButtonAtonDetail", [this] { onAtonDetail(); });
}

void AlarmWindows::registerAlarmSound(const std::string& programFolder) {
    const std::string file = ProgramFilePath(programFolder, kAlarmSoundFile);
    if (sound_.alerts().Register(crew::kAisMobAlarmName, file) == -2) {
        dialogs_.message(&main_, QString(), QStringLiteral("Alarm sound path is too long!!"),
                         ui::MessageIcon::None, ui::MessageButtons::Ok);
    }
}

void AlarmWindows::readFiles(const std::string& dataFolder) {
    dataFolder_ = dataFolder;
    friends_.Load(dataFolder + std::string(kFriendShipFile));
    marks_.refreshFriendMarks();
    mobWindow_->setFile(dataFolder + std::string(kAisMobListFile));
    mobWindow_->loadFile();
}

void AlarmWindows::setDatePattern(const std::string& pattern) {
    mobWindow_->setDatePattern(pattern);
    srmLog_->setDatePattern(pattern);
    atonDetails_->setDatePattern(pattern);
}

void AlarmWindows::retranslate() {
    mobWindow_->retranslate();
    srmLog_->retranslate();
    srmAlert_->retranslate();
    srmWindow_->retranslate();
    lantern_->retranslate();
    atonDetails_->retranslate();
    monitored_->retranslate();
    buddy_->retranslate();
}

void AlarmWindows::stepAlarmBeep(bool otherAlarm) {
    if (sound_.alerts().AnyActive() || otherAlarm) sound_.beep(kBeepHz, kBeepMs);
    updateStatusNote();
    // The chart's alarm marks follow the list.
    const int alarms = mobList_.alarmRows();
    if ((alarms > 0 || alarms != drawnAlarms_) && main_.chart() != nullptr) {
        main_.chart()->repaintChart();
    }
    drawnAlarms_ = alarms;
}

void AlarmWindows::setMonitored(int slot, bool monitored) {
    if (monitored) {
        marks_.addMonitored(slot);
    } else {
        marks_.removeMonitored(slot);
    }
    if (main_.chart() != nullptr) main_.chart()->refreshSymbol(slot);
}

void AlarmWindows::stepSrmAlert() {
    if (srm_.alertCount() > 0 && !srmAlert_->isVisible()) {
        srmAlert_->setAlert(srm_.alertCount(), srm_.alertNote());
        srmAlert_->show();
        srmAlert_->raise();
    }
}

void AlarmWindows::updateStatusNote() {
    if (statusNote_ == nullptr) return;
    const bool alarm = mobList_.alarmRows() > 0 || sound_.alerts().AnyActive();
    const QString note = alarm ? crew::AlarmSilentText(texts_, sound_.alerts()) : QString();
    statusNote_->setText(note);
    statusNote_->setVisible(!note.isEmpty());
}

QString AlarmWindows::statusNote() const {
    return statusNote_ != nullptr && statusNote_->isVisibleTo(&main_) ? statusNote_->text()
                                                                      : QString();
}

int AlarmWindows::transmitterReport() const {
    const codec::ProprietaryStore& p = run_.codec.proprietary();
    if (p.krvSubtype != 'R' || p.krv.numbers[0] != 30) return -2;
    if (p.krv.numbers[1] != 0) return -1;
    if (p.krv.numbers[2] == 0) return 1;
    if (p.krv.numbers[2] == 1) return 0;
    return -1;
}

void AlarmWindows::ShowLanternStatus(int index) {
    atonDetails_->ShowLanternStatus(index);
}

void AlarmWindows::OnSafetyMessage(int type, bool fromOwnShip) {
    srm_.OnSafetyMessage(type, fromOwnShip);
}

void AlarmWindows::onTargetRemoved(int index) {
    marks_.onTargetRemoved(index);
    if (atonIndex_ == index) atonIndex_ = -1;
    if (atonIndex_ > index) --atonIndex_;
}

void AlarmWindows::CopyAtonDetails(int index) {
    atonIndex_ = index;
    atonDetails_->CopyAtonDetails(index);
    atonDetails_->ShowLanternStatus(index);
}

void AlarmWindows::inBoxChanged() {
    srmLog_->refreshInBox();
}

void AlarmWindows::outBoxChanged() {
    srmLog_->refreshOutBox();
}

void AlarmWindows::alertChanged(int count, std::string_view note) {
    srmAlert_->setAlert(count, note);
}

void AlarmWindows::showMessage(std::string_view caption, std::string_view text) {
    dialogs_.message(&main_, QString::fromUtf8(caption.data(), static_cast<int>(caption.size())),
                     QString::fromUtf8(text.data(), static_cast<int>(text.size())),
                     ui::MessageIcon::None, ui::MessageButtons::Ok);
}

void AlarmWindows::setSentLabel(std::string_view text) {
    if (auto* label = main_.findChild<QLabel*>(QStringLiteral("lblSRM_SentMsg")))
        label->setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

void AlarmWindows::setPortSender(ais::SentenceSender* sender, messaging::AisPortWriter* writer) {
    portSender_ = sender;
    portWriter_ = writer;
}

void AlarmWindows::connectSensorControl(comm::TSysSensorControl* control) {
    if (control == nullptr) {
        setPortSender(nullptr, nullptr);
        controlPort_.reset();
        return;
    }
    controlPort_ = std::make_unique<messaging::SensorControlAisPort>(*control);
    setPortSender(control, controlPort_.get());
}

bool AlarmWindows::writeToAisPort(std::string_view line) {
    return portWriter_ != nullptr && portWriter_->writeToAisPort(line);
}

bool AlarmWindows::SendSentence(int sensor, std::string_view talker, std::string_view formatter) {
    return portSender_ != nullptr && portSender_->SendSentence(sensor, talker, formatter);
}

void AlarmWindows::onAisMobList() {
    mobWindow_->show();
    mobWindow_->raise();
    mobWindow_->activateWindow();
}

void AlarmWindows::onMonitoredShipList() {
    monitored_->exec();
    // Afterwards every target's symbol is refreshed and the chart redrawn.
    if (main_.chart() != nullptr) main_.chart()->refreshAllSymbols();
    main_.flushViews();
}

void AlarmWindows::onFriendShips() {
    if (!buddy_->edit(friends_)) return;
    if (!dataFolder_.empty() && !friends_.Save(dataFolder_ + std::string(kFriendShipFile))) {
        dialogs_.message(&main_, QString(), QStringLiteral("File save error!"),
                         ui::MessageIcon::Error, ui::MessageButtons::Ok);
    }
    marks_.refreshFriendMarks();
    if (main_.chart() != nullptr) main_.chart()->refreshAllSymbols();
    main_.flushViews();
}

void AlarmWindows::onSrmLog() {
    srmLog_->showPage(0);
}

void AlarmWindows::onSrm(bool modal) {
    if (modal) {
        srmWindow_->exec();
        if (auto* b = main_.findChild<QToolButton*>(QStringLiteral("SpeedButtonSRM")))
            b->setChecked(false);
    } else {
        srmWindow_->show();
        srmWindow_->raise();
    }
}

void AlarmWindows::onShowMonitoredOnly(bool on) {
    marks_.setMonitoredOnly(on);
    main_.flushViews();
}

void AlarmWindows::onAtonDetail() {
    if (atonIndex_ >= 0) CopyAtonDetails(atonIndex_);
    atonDetails_->showDetails();
}

}  // namespace norq::app
