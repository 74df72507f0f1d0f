#include "app/ViewerLinks.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <cstring>

#include "app/MainForm.h"
#include "comm/forms/AutoSavingForm.h"
#include "comm/forms/ExportForm.h"
#include "comm/forms/MsgLogForm.h"
#include "comm/forms/QtPortEnumerator.h"
#include "comm/forms/SourceHealthForm.h"
#include "ui/SvgIcons.h"

namespace norq::app {

namespace {

constexpr int kStatusImageSize = 20;

}  // namespace

ViewerLinks::ViewerLinks(TForm1& main, ais::RunState& run, const ais::Clock& clock,
                         ui::Dialogs& dialogs)
    : main_(main), run_(run), dialogs_(dialogs) {
    setObjectName(QStringLiteral("ViewerLinks"));
    control_ = std::make_unique<comm::TSysSensorControl>(poster_, run_.intake, log_);
    autoSaving_ = std::make_unique<comm::AutoSaving>(control_->recording(), clock);
    enumerator_ = std::make_unique<comm::QtPortEnumerator>();
    control_->setView(this);
    control_->setPortEnumerator(enumerator_.get());
    autoSaving_->setReport(this);
}

ViewerLinks::~ViewerLinks() {
    control_->setView(nullptr);
    control_->CloseAll();
    // The windows show the log and the control, which go with this object.
    delete msgLog_;
    delete autoSavingForm_;
    delete export_;
    delete sourceHealth_;
}

QString ViewerLinks::text(TextId id) const {
    return texts_ != nullptr ? QString::fromStdString(texts_->text(id)) : QString();
}

void ViewerLinks::createWindows(const TextStore& texts, const std::string& dataFolder) {
    texts_ = &texts;
    msgLog_ = new comm::TfrmMsgLog(log_, texts, dialogs_, &main_);
    msgLog_->setSavedHandler([this](const QString& file) { main_.showLogFileName(file); });
    autoSavingForm_ = new comm::TfrmAutoSaving(*autoSaving_, run_.tracker.clock(), texts, dialogs_,
                                               QString::fromStdString(dataFolder), &main_);
    export_ = new comm::TfrmExportAisInfo(run_.tracker.table(), dialogs_, &main_);
    export_->setSources([this] { return main_.exportTextOptions(); },
                        [this] { return main_.gridColumnTitles(); });
    sourceHealth_ = new comm::TfrmSourceHealth(*control_, texts, &main_);
    wireMenus();
    retranslate(texts);
}

void ViewerLinks::wireMenus() {
    auto item = [this](const char* name) { return main_.action(QString::fromLatin1(name)); };
    connect(item("mnuViewLogWindow"), &QAction::triggered, this, &ViewerLinks::showLogWindow);
    connect(item("mnuAutoSaving"), &QAction::triggered, this, &ViewerLinks::showAutoSaving);
    connect(item("mnuExportAISInfo"), &QAction::triggered, this, &ViewerLinks::showExport);
    connect(item("mnuViewSourceHealth"), &QAction::triggered, this, &ViewerLinks::showSourceHealth);
    // The connection items and a click on a port image open the port dialog
    // (the main window's device connections wire them).
    const std::array<const char*, comm::kSensorCount> images{
        "ImageStatusBarAISConnect", "ImageStatusBarGPSConnect", "ImageStatusBarMOBConnedt"};
    for (std::size_t i = 0; i < images.size(); ++i) {
        images_[i] = main_.findChild<QLabel*>(QString::fromLatin1(images[i]));
    }
    // Beside the port images: what is wrong with a link, while something is.
    if (auto* row = images_[0] != nullptr && images_[0]->parentWidget() != nullptr
                        ? qobject_cast<QHBoxLayout*>(images_[0]->parentWidget()->layout())
                        : nullptr) {
        lblStatusBarLink_ = new QLabel(images_[0]->parentWidget());
        lblStatusBarLink_->setObjectName(QStringLiteral("lblStatusBarLink"));
        lblStatusBarLink_->setStyleSheet(QStringLiteral("font-weight: bold; color: #b71c1c;"));
        lblStatusBarLink_->hide();
        row->insertWidget(row->indexOf(images_[0]), lblStatusBarLink_);
        lblStatusBarHealth_ = new QLabel(images_[0]->parentWidget());
        lblStatusBarHealth_->setObjectName(QStringLiteral("lblStatusBarHealth"));
        lblStatusBarHealth_->setCursor(Qt::PointingHandCursor);
        lblStatusBarHealth_->hide();
        lblStatusBarHealth_->installEventFilter(this);
        row->insertWidget(row->indexOf(lblStatusBarLink_), lblStatusBarHealth_);
    }
    imgMissMsgReceive_ = main_.findChild<QLabel*>(QStringLiteral("imgMissMsgReceive"));
    if (imgMissMsgReceive_ != nullptr) imgMissMsgReceive_->installEventFilter(this);
}

bool ViewerLinks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == lblStatusBarHealth_) {
            showSourceHealth();
            return true;
        }
        if (watched == imgMissMsgReceive_) {
            dialogs_.message(&main_, text(TextId::OtherMsgWarning),
                             text(TextId::AisGnStrGnMissMsgReceive), ui::MessageIcon::Warning,
                             ui::MessageButtons::Ok);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ViewerLinks::retranslate(const TextStore& texts) {
    texts_ = &texts;
    auto t = [&texts](TextId id) { return texts.text(id); };
    comm::SensorControlTexts s;
    s.configCaption = {t(TextId::ConfigAisSerialPortConfigAisSerialPort),
                       t(TextId::ConfigAisSerialPortConfigGpsSerialPort),
                       t(TextId::ConfigAisSerialPortConfigMobSerialPort)};
    s.portOpenError = t(TextId::OtherMsgPortOpenError);
    s.portNoAccess = t(TextId::OtherMsgPortNoAccess);
    s.portBusy = t(TextId::OtherMsgPortBusy);
    s.portMissing = t(TextId::OtherMsgPortMissing);
    s.cmdSendFail = t(TextId::OtherMsgCmdSendFail);
    s.connectPortFirst = t(TextId::OtherMsgConnectPortFirst);
    s.noSerialPortExist = t(TextId::OtherMsgNoSerialPortExist);
    s.autoDetectTimeOut = t(TextId::OtherMsgAutoDetectTimeOut);
    s.manualConnectTimeOut = t(TextId::OtherMsgManualConnectTimeOut);
    s.checkPortError = t(TextId::OtherMsgCheckPortError);
    s.note = t(TextId::ConfigAisSerialPortNote);
    s.autoManualConnect = t(TextId::QuickStartAutoManualConnect);
    s.autoConnect = t(TextId::QuickStartAutoConnect);
    s.manualConnect = t(TextId::QuickStartManualConnect);
    s.autoConnectNote1 = t(TextId::QuickStartAutoConnectNote1);
    s.autoConnectNote2 = t(TextId::QuickStartAutoConnectNote2);
    s.manualConnectNote = t(TextId::QuickStartManualConnectNote);
    s.tcpConnect1 = t(TextId::QuickStartTcpConnect1);
    s.tcpConnect2 = t(TextId::QuickStartTcpConnect2);
    s.tcpIpAddress = t(TextId::QuickStartTcpIpAddress);
    s.tcpPort = t(TextId::QuickStartTcpPort);
    s.connecting = t(TextId::QuickStartConnecting);
    s.connected = t(TextId::QuickStartConnected);
    s.disconnect = t(TextId::QuickStartDisconnect);
    s.disconnecting = t(TextId::QuickStartDisconnecting);
    s.devDetecting = t(TextId::QuickStartDevDetecting);
    s.btnConnect = t(TextId::QuickStartBtnConnect);
    s.btnDisconnect = t(TextId::QuickStartBtnDisconnect);
    s.warning = t(TextId::OtherMsgWarning);
    s.error = t(TextId::OtherMsgError);
    s.statusConnected = t(TextId::StatusBarConnected);
    s.statusDisconnect = t(TextId::StatusBarDisConnect);
    control_->setTexts(s);
    if (msgLog_ != nullptr) msgLog_->retranslate();
    if (autoSavingForm_ != nullptr) autoSavingForm_->retranslate();
    if (sourceHealth_ != nullptr) sourceHealth_->retranslate();
    if (lblStatusBarHealth_ != nullptr)
        lblStatusBarHealth_->setToolTip(text(TextId::SourceHealthHint));
    if (export_ != nullptr) {
        export_->setTexts(text(TextId::MenuFileExportCurrentAisInfo), text(TextId::OtherMsgError));
    }
    shownHealth_ = {-1, -1, -1};
    refreshStatus();
}

void ViewerLinks::loadSettings(const Settings& settings) {
    for (int s = 0; s < comm::kSensorCount; ++s)
        control_->setPortSettings(s, settings.sensors[static_cast<std::size_t>(s)]);
}

void ViewerLinks::saveSettings(Settings& settings) const {
    for (int s = 0; s < comm::kSensorCount; ++s)
        settings.sensors[static_cast<std::size_t>(s)] = control_->portSettings(s);
}

// ---- Start-up ---------------------------------------------------------------------

bool ViewerLinks::connectAtStart() {
    if (!startupSource_.isEmpty()) {
        comm::LinkSource source;
        std::string error;
        if (!comm::ParseLinkSource(startupSource_.toStdString(), source, error)) {
            showSensorMessage(comm::MessageCaption::Error,
                              startupSource_.toStdString() + ": " + error);
            return true;
        }
        connectSource(source);
        return true;
    }
    const base::SensorPortSettings& ais = control_->portSettings(comm::kAisPort);
    if (ais.serialConnection) {
        // As if the port dialog's Connect had been pressed on its serial page.
        comm::LinkSource source;
        source.kind = comm::LinkSource::Kind::Serial;
        source.device = control_->DevicePath(comm::kAisPort);
        connectSource(source);
        return true;
    }
    if (ais.udpConnection) {
        comm::LinkSource source;
        source.kind = comm::LinkSource::Kind::Udp;
        source.host = ais.udpGroup.empty() ? ais.udpAddress : ais.udpGroup;
        source.interfaceName = ais.udpGroup.empty() ? std::string() : ais.udpInterface;
        source.port = ais.udpPort;
        connectSource(source);
        return true;
    }
    control_->setTcpOwner(comm::TcpOwner::Wizard);
    return false;
}

bool ViewerLinks::connectSource(const comm::LinkSource& source) {
    comm::TSysSensorControl& c = *control_;
    switch (source.kind) {
        case comm::LinkSource::Kind::Serial: {
            c.setInputType(comm::kAisPort, comm::InputType::Serial);
            c.ApplyPortSettings(c.port(comm::kAisPort), comm::kAisPort);
            comm::TBaudRate rate{};
            if (source.baud > 0 && comm::BaudRateFromValue(source.baud, rate))
                c.port(comm::kAisPort).SetBaudRate(rate);
            if (!c.OpenSensorPort(comm::kAisPort, source.device, -1)) {
                showSensorMessage(comm::MessageCaption::Error,
                                  c.portOpenErrorMessage(comm::kAisPort));
                return false;
            }
            c.setLinkState(comm::kAisPort, comm::LinkState::IdentificationPending);
            break;
        }
        case comm::LinkSource::Kind::Tcp:
            c.setInputType(comm::kAisPort, comm::InputType::Tcp);
            c.setSendType(comm::InputType::Tcp);
            c.setTcpOwner(comm::TcpOwner::PortDialog);
            if (!c.ConnectTcpTo(source.host, source.port)) {
                showSensorMessage(comm::MessageCaption::Error, c.texts().tcpConnectError);
                return false;
            }
            c.setTcpFlags(true, true);
            c.setLinkState(comm::kAisPort, comm::LinkState::IdentificationPending);
            break;
        case comm::LinkSource::Kind::Udp: {
            const comm::UdpEndpoint endpoint = comm::UdpEndpointOf(source);
            if (!c.ListenUdpOn(endpoint)) {
                const std::string what =
                    endpoint.group.empty()
                        ? "UDP port " + std::to_string(source.port) + " cannot be opened: "
                        : "Multicast group " + endpoint.group + " port " +
                              std::to_string(source.port) + " cannot be joined" +
                              (endpoint.interfaceName.empty() ? std::string()
                                                              : " on " + endpoint.interfaceName) +
                              ": ";
                showSensorMessage(comm::MessageCaption::Error,
                                  what + std::strerror(c.udpOpenError()));
                return false;
            }
            c.setInputType(comm::kAisPort, comm::InputType::Udp);
            c.setLinkState(comm::kAisPort, comm::LinkState::Connected);
            break;
        }
    }
    c.setInUse(comm::kAisPort, true);
    return true;
}

// ---- One-second step ------------------------------------------------------------------

void ViewerLinks::stepSensorStatus() {
    comm::TSysSensorControl& c = *control_;
    // The silence counter and the indicator run for whatever device is on the link.
    c.StepMissingMessage();
    if (imgMissMsgReceive_ != nullptr) imgMissMsgReceive_->setVisible(c.missingMessageShown());
    // A link that went silent shows in the status row and the dialogs.
    c.StepLinkHealth();
    refreshStatus();
    refreshHealthSummary();
    if (sourceHealth_ != nullptr) sourceHealth_->refresh();
    if (c.deviceKind() == comm::DeviceKind::None) return;
    // The transmit counts belong to the identified devices.
    const ais::TargetTracker& tracker = run_.tracker;
    const QString counts = QStringLiteral("%1: %2 / %3 (%4)")
                               .arg(text(TextId::StatusBarTxCount))
                               .arg(tracker.ownMessagesOnA())
                               .arg(tracker.ownMessagesOnB())
                               .arg(tracker.ownMessagesOnA() + tracker.ownMessagesOnB());
    main_.setStatusPanel(6, counts);
    if (auto* label = main_.findChild<QLabel*>(QStringLiteral("lblStatusBarTxCount")))
        label->setText(counts);
    if (c.linkState(comm::kAisPort) == comm::LinkState::Connected) {
        c.StepTcpIdentificationQuery();
        return;
    }
    for (const char* name : {"mnuTxOnOff", "mmuSRM"}) {
        if (QAction* item = main_.action(QString::fromLatin1(name))) item->setVisible(false);
    }
    if (imgMissMsgReceive_ != nullptr) imgMissMsgReceive_->hide();
}

void ViewerLinks::stepAutoSaving() {
    if (autoSaving_->enabled()) autoSaving_->step();
}

void ViewerLinks::stepTcpSupervision() {
    control_->SuperviseTcp();
}

bool ViewerLinks::anySensorInUse() const {
    for (int s = 0; s < comm::kSensorCount; ++s)
        if (control_->inUse(s)) return true;
    return false;
}

bool ViewerLinks::aisInUse() const {
    return control_->inUse(comm::kAisPort);
}

void ViewerLinks::shutdown() {
    control_->CloseAll();
}

void ViewerLinks::sendTransmitterSwitch(bool on) {
    if (control_->linkState(comm::kAisPort) != comm::LinkState::Connected) return;
    codec::Dbg& dbg = run_.codec.proprietary().dbg;
    dbg.pairs[0] = {30, on ? 1 : 0};
    for (std::size_t i = 1; i < dbg.pairs.size(); ++i)
        dbg.pairs[i] = {999, -100000};
    control_->SendSentence(comm::kAisPort, "P", "DBG");
}

// ---- Windows ------------------------------------------------------------------------

void ViewerLinks::showLogWindow() {
    if (msgLog_ == nullptr) return;
    const QRect frame = main_.frameGeometry();
    msgLog_->showAt(frame.bottomRight());
}

void ViewerLinks::showAutoSaving() {
    if (autoSavingForm_ == nullptr) return;
    autoSavingForm_->adjustSize();
    const QRect frame = main_.frameGeometry();
    autoSavingForm_->move(frame.center() - autoSavingForm_->rect().center());
    autoSavingForm_->show();
    autoSavingForm_->raise();
}

void ViewerLinks::showExport() {
    if (export_ != nullptr) export_->showExport();
}

void ViewerLinks::showSourceHealth() {
    if (sourceHealth_ == nullptr) return;
    sourceHealth_->show();
    sourceHealth_->raise();
}

void ViewerLinks::refreshHealthSummary() {
    if (lblStatusBarHealth_ == nullptr) return;
    const comm::HealthSummary summary = comm::SourceHealthSummary(*control_);
    if (lblStatusBarHealth_->text() != summary.text) lblStatusBarHealth_->setText(summary.text);
    const bool shown = !summary.text.isEmpty();
    if (lblStatusBarHealth_->isVisible() != shown) lblStatusBarHealth_->setVisible(shown);
    const int level = static_cast<int>(summary.worst);
    if (level == shownHealthLevel_) return;
    shownHealthLevel_ = level;
    // Bold colours on the level: green, amber, red.
    static constexpr const char* kStyles[] = {"color: #606060;", "color: #006400;",
                                              "color: #8a5a00; font-weight: bold;",
                                              "color: #b71c1c; font-weight: bold;"};
    lblStatusBarHealth_->setStyleSheet(QString::fromLatin1(kStyles[level]));
}

// ---- Reports of the logic --------------------------------------------------------------

void ViewerLinks::showSensorMessage(comm::MessageCaption caption, const std::string& message) {
    const bool error = caption == comm::MessageCaption::Error;
    dialogs_.message(&main_, text(error ? TextId::OtherMsgError : TextId::OtherMsgWarning),
                     QString::fromStdString(message),
                     error ? ui::MessageIcon::Error : ui::MessageIcon::Warning,
                     ui::MessageButtons::Ok);
}

void ViewerLinks::onSensorStateChanged(int) {
    refreshStatus();
}

void ViewerLinks::recordingFailed(const std::string& path, int error) {
    dialogs_.message(
        &main_, text(TextId::OtherMsgError),
        QStringLiteral("The recording file %1 cannot be written (%2). Auto saving "
                       "tries again with a new file at the next period.")
            .arg(QString::fromStdString(path), QString::fromLocal8Bit(std::strerror(error))),
        ui::MessageIcon::Error, ui::MessageButtons::Ok);
}

namespace {

QString SensorLabel(int sensor) {
    const std::string_view name = comm::SensorName(sensor);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString PortImageName(comm::LinkHealth health) {
    switch (health) {
        case comm::LinkHealth::Receiving:
            return QStringLiteral("port-connected");
        case comm::LinkHealth::Silent:
            return QStringLiteral("port-silent");
        case comm::LinkHealth::Lost:
        case comm::LinkHealth::Reconnecting:
            return QStringLiteral("port-lost");
        default:
            return QStringLiteral("port-disconnected");
    }
}

}  // namespace

QString ViewerLinks::linkTroubleText() const {
    QStringList troubles;
    for (int s = 0; s < comm::kSensorCount; ++s) {
        QLabel* image = images_[static_cast<std::size_t>(s)];
        // A port whose image the feature configuration hides is not reported.
        if (image != nullptr && image->isHidden()) continue;
        switch (control_->linkHealth(s)) {
            case comm::LinkHealth::Silent:
                troubles << text(TextId::StatusBarLinkSilent)
                                .arg(SensorLabel(s))
                                .arg(control_->linkSilentSeconds(s));
                break;
            case comm::LinkHealth::Lost:
                troubles << text(TextId::StatusBarLinkLost).arg(SensorLabel(s));
                break;
            case comm::LinkHealth::Reconnecting:
                troubles << text(TextId::StatusBarLinkReconnecting).arg(SensorLabel(s));
                break;
            default:
                break;
        }
    }
    return troubles.join(QStringLiteral("  "));
}

void ViewerLinks::refreshStatus() {
    bool changed = false;
    for (int s = 0; s < comm::kSensorCount; ++s) {
        main_.setStatusPanel(s, QString::fromStdString(control_->StatusPanelText(s)));
        const comm::LinkHealth health = control_->linkHealth(s);
        auto& shown = shownHealth_[static_cast<std::size_t>(s)];
        if (shown == static_cast<int>(health)) continue;
        changed = changed || shown >= 0;
        shown = static_cast<int>(health);
        QLabel* image = images_[static_cast<std::size_t>(s)];
        if (image == nullptr) continue;
        // Redrawn only when what it shows changed.
        image->setPixmap(ui::SvgPixmap(PortImageName(health), kStatusImageSize, kStatusImageSize));
        QString hint = QString::fromStdString(control_->StatusHintText(s));
        if (health == comm::LinkHealth::Silent) {
            hint =
                text(TextId::StatusBarLinkSilent).arg(SensorLabel(s)).arg(comm::kSilentLinkSeconds);
        } else if (health == comm::LinkHealth::Lost) {
            hint = text(TextId::StatusBarLinkLost).arg(SensorLabel(s));
        } else if (health == comm::LinkHealth::Reconnecting) {
            hint = text(TextId::StatusBarLinkReconnecting).arg(SensorLabel(s));
        }
        image->setToolTip(hint);
    }
    if (lblStatusBarLink_ != nullptr) {
        const QString trouble = linkTroubleText();
        lblStatusBarLink_->setText(trouble);
        lblStatusBarLink_->setVisible(!trouble.isEmpty());
    }
    if (changed && linkHealthChanged_) linkHealthChanged_();
}

}  // namespace norq::app
