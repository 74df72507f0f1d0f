#include "comm/forms/DeviceConnections.h"

#include <QSerialPortInfo>
#include <QTimer>
#include <QWidget>
#include <filesystem>

#include "comm/forms/SerialPortConfigDlg.h"
#include "comm/forms/WizardForm.h"

namespace norq::comm {

using base::TextId;

namespace {

QStringList MachinePorts() {
    QStringList paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        paths << info.systemLocation();
    }
    paths.sort();
    return paths;
}

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

DeviceConnections::DeviceConnections(TSysSensorControl& control, const base::TextStore& texts,
                                     ui::Dialogs& dialogs, ConnectionHost host, QWidget* mainWindow)
    : DeviceConnections(std::make_unique<SensorControlPorts>(control), nullptr, texts, dialogs,
                        std::move(host), mainWindow) {
    control_ = &control;
    lineHook_ = std::make_unique<DetectionLineHook>(detection_);
    control.addLineHook(lineHook_.get());
}

DeviceConnections::DeviceConnections(DetectionPorts& ports, const base::TextStore& texts,
                                     ui::Dialogs& dialogs, ConnectionHost host, QWidget* mainWindow)
    : DeviceConnections(nullptr, &ports, texts, dialogs, std::move(host), mainWindow) {}

DeviceConnections::DeviceConnections(std::unique_ptr<SensorControlPorts> own, DetectionPorts* ports,
                                     const base::TextStore& texts, ui::Dialogs& dialogs,
                                     ConnectionHost host, QWidget* mainWindow)
    : QObject(mainWindow),
      ownPorts_(std::move(own)),
      ports_(ports != nullptr ? *ports : *ownPorts_),
      texts_(texts),
      dialogs_(dialogs),
      host_(std::move(host)),
      mainWindow_(mainWindow),
      detection_(ports_, *this),
      wizardFlow_(ports_, detection_, *this),
      dialogFlow_(ports_, detection_, *this),
      wizard_(new TfrmWizardStartup(wizardFlow_, ports_, texts, mainWindow)),
      portDialog_(new TSerialPortConfigDlg(dialogFlow_, ports_, texts, mainWindow)),
      portPoll_(new QTimer(this)),
      openPortCheck_(new QTimer(this)) {
    detection_.setOwner(&wizardFlow_);
    portPoll_->setObjectName(QStringLiteral("TimerPortPoll"));
    portPoll_->setInterval(kPortPollMs);
    openPortCheck_->setObjectName(QStringLiteral("TimerOpenPortCheck"));
    openPortCheck_->setInterval(kOpenPortCheckMs);
    connect(portPoll_, &QTimer::timeout, this, &DeviceConnections::pollPorts);
    connect(openPortCheck_, &QTimer::timeout, this, &DeviceConnections::checkOpenPorts);
    connect(wizard_, &TfrmWizardStartup::startChoiceMade, this, &DeviceConnections::onStartChoice);
    connect(wizard_, &TfrmWizardStartup::connectPressed, this, [this] {
        const InputType type = ports_.inputType(kAisPort);
        const bool on = ports_.tcpSwitchedOn() || ports_.udpListening();
        if (on && type != InputType::Serial && wizardFlow_.state().sensor == kAisPort &&
            host_.rememberNetworkInput) {
            host_.rememberNetworkInput(static_cast<int>(type));
        }
    });
    connect(wizard_, &TfrmWizardStartup::wizardClosed, this, [this] {
        updatePolling();
        refreshStatus();
    });
    openPortCheck_->start();
}

DeviceConnections::~DeviceConnections() {
    if (control_ != nullptr) control_->removeLineHook(lineHook_.get());
    // The windows show the flows that go with this object.
    delete wizard_;
    delete portDialog_;
}

// ---- Start-up and menu actions ---------------------------------------------------

void DeviceConnections::startUp(bool connectAtStart, int rememberedChoice,
                                const QString& lastRecording, int networkInput) {
    lastRecording_ = lastRecording;
    if (connectAtStart) {
        dialogFlow_.connectAtStart();
        return;
    }
    // A remembered network source comes back on the input it was connected on.
    if (rememberedChoice == 2 && ports_.inputType(kAisPort) == InputType::Serial &&
        !ports_.inUse(kAisPort)) {
        ports_.setInputType(kAisPort, networkInput == 2 ? InputType::Udp : InputType::Tcp);
    }
    wizardFlow_.show();
    wizard_->fillPortLists();
    wizard_->setRememberedChoice(rememberedChoice);
    // A remembered device or network choice goes straight to its page; the
    // first start and a remembered recording show the start page.
    const bool straight = rememberedChoice == 0 || rememberedChoice == 2;
    if (straight && rememberedChoice == 0 && !ports_.inUse(kAisPort)) {
        wizardFlow_.setAutoMode(true);
    }
    wizard_->setPage(straight ? TfrmWizardStartup::Page::Connect : TfrmWizardStartup::Page::Start);
    showWizard(false);
}

void DeviceConnections::dismissStartWizard() {
    if (!wizard_->isVisible() || wizard_->isModal()) return;
    if (wizardFlow_.state().connectDown) return;
    wizardFlow_.close();
    wizard_->hide();
    updatePolling();
}

void DeviceConnections::openWizard() {
    wizardFlow_.show();
    wizard_->fillPortLists();
    wizard_->setPage(TfrmWizardStartup::Page::Connect);
    showWizard(true);
}

void DeviceConnections::showWizard(bool modal) {
    wizard_->render();
    updatePolling();
    lastPorts_ = MachinePorts();
    if (modal) {
        wizard_->exec();
    } else {
        wizard_->setModal(false);
        wizard_->show();
        wizard_->raise();
    }
    updatePolling();
}

void DeviceConnections::openPortDialog(int sensor) {
    if (sensor == kAisPort && wizard_->isVisible()) {
        wizardFlow_.close();
        wizard_->hide();
    }
    dialogFlow_.open(sensor);
    portDialog_->prepare();
    if (mainWindow_ != nullptr) {
        portDialog_->move(mainWindow_->geometry().topLeft() + QPoint(50, 80));
    }
    lastPorts_ = MachinePorts();
    updatePolling();
    portDialog_->exec();
    dialogFlow_.setShowing(false);
    updatePolling();
    refreshStatus();
}

void DeviceConnections::linkStateChanged() {
    if (wizard_->isVisible() || portDialog_->isVisible()) refreshPages();
}

void DeviceConnections::onStartChoice(int choice) {
    using Choice = TfrmWizardStartup::StartChoice;
    switch (static_cast<Choice>(choice)) {
        case Choice::Device:
            if (!ports_.inUse(kAisPort)) {
                wizardFlow_.setInputType(InputType::Serial);
                wizardFlow_.setAutoMode(true);
            }
            wizard_->setPage(TfrmWizardStartup::Page::Connect);
            if (host_.rememberChoice) host_.rememberChoice(choice, QString());
            break;
        case Choice::Network:
            if (ports_.inputType(kAisPort) == InputType::Serial) {
                wizardFlow_.setInputType(InputType::Tcp);
            }
            wizard_->setPage(TfrmWizardStartup::Page::Connect);
            if (host_.rememberChoice) host_.rememberChoice(choice, QString());
            break;
        case Choice::Recording: {
            const QString file = dialogs_.openFileName(
                wizard_, QString(), QStringLiteral("Log File (*.TXT *.txt *.nmea *.log)"));
            if (file.isEmpty()) return;
            lastRecording_ = file;
            if (host_.rememberChoice) host_.rememberChoice(choice, file);
            wizardFlow_.close();
            wizard_->hide();
            updatePolling();
            if (host_.startReplay) host_.startReplay(file);
            break;
        }
    }
    wizard_->render();
}

void DeviceConnections::onTcpDisconnected() {
    wizardFlow_.onTcpDisconnected();
    refreshPages();
}

void DeviceConnections::retranslate() {
    wizard_->retranslate();
    portDialog_->retranslate();
}

// ---- Ports that come and go ------------------------------------------------------

void DeviceConnections::updatePolling() {
    const bool dialogShown = wizard_->isVisible() || portDialog_->isVisible();
    if (dialogShown && !portPoll_->isActive()) {
        lastPorts_ = MachinePorts();
        portPoll_->start();
    } else if (!dialogShown) {
        portPoll_->stop();
    }
}

void DeviceConnections::pollPorts() {
    const QStringList now = MachinePorts();
    if (now == lastPorts_) return;
    bool removed = false;
    for (const QString& path : lastPorts_)
        removed = removed || !now.contains(path);
    lastPorts_ = now;
    if (dialogFlow_.showing()) {
        dialogFlow_.portsChanged(removed);
        portDialog_->prepare();
    } else {
        wizardFlow_.portsChanged(removed);
    }
    wizard_->fillPortLists();
    refreshPages();
}

void DeviceConnections::checkOpenPorts() {
    // A link that ended by itself (a TCP/IP link dropped) shows in the dialogs.
    if (wizard_->isVisible() || portDialog_->isVisible()) refreshPages();
    // Without a dialog the machine's list is not read; an unplugged device
    // still shows as its open port's device path disappearing.
    for (int s = 0; s < kSensorCount; ++s) {
        if (!ports_.portOpen(s) || ports_.inputType(s) != InputType::Serial) continue;
        std::error_code error;
        if (std::filesystem::exists(ports_.portPath(s), error) || error) continue;
        wizardFlow_.portsChanged(true);
        refreshPages();
        return;
    }
}

// ---- DetectionView -------------------------------------------------------------------

bool DeviceConnections::showMessage(DetectionMessage message) {
    TextId textId = TextId::OtherMsgPortOpenError;
    TextId caption = TextId::OtherMsgError;
    ui::MessageIcon icon = ui::MessageIcon::Error;
    ui::MessageButtons buttons = ui::MessageButtons::Ok;
    switch (message) {
        case DetectionMessage::PortOpenError:
            break;
        case DetectionMessage::NoSerialPortExist:
            textId = TextId::OtherMsgNoSerialPortExist;
            caption = TextId::OtherMsgWarning;
            icon = ui::MessageIcon::Warning;
            break;
        case DetectionMessage::AutoDetectTimeOut:
            textId = TextId::OtherMsgAutoDetectTimeOut;
            break;
        case DetectionMessage::ManualConnectTimeOut:
            textId = TextId::OtherMsgManualConnectTimeOut;
            break;
        case DetectionMessage::CheckPortError:
            textId = TextId::OtherMsgCheckPortError;
            caption = TextId::OtherMsgWarning;
            icon = ui::MessageIcon::Warning;
            buttons = ui::MessageButtons::OkCancel;
            break;
        case DetectionMessage::TcpSettingsInvalid:
            textId = TextId::OtherMsgTcpSettingsError;
            break;
        case DetectionMessage::UdpPortInvalid:
            textId = TextId::OtherMsgUdpPortError;
            break;
        case DetectionMessage::UdpOpenError:
            textId = TextId::OtherMsgUdpOpenError;
            break;
        case DetectionMessage::UdpGroupInvalid:
            textId = TextId::OtherMsgUdpGroupError;
            break;
        case DetectionMessage::UdpJoinError:
            textId = TextId::OtherMsgUdpJoinError;
            break;
    }
    QWidget* parent = portDialog_->isVisible() ? static_cast<QWidget*>(portDialog_)
                      : wizard_->isVisible()   ? static_cast<QWidget*>(wizard_)
                                               : mainWindow_;
    std::string body = texts_.text(textId);
    if (message == DetectionMessage::PortOpenError) {
        // What the system said of the port: no access (and how to get it), in use, not there.
        const std::string reason = ports_.portOpenReason(detection_.currentSensor());
        if (!reason.empty()) body += "\n\n" + reason;
    }
    const ui::MessageAnswer answer =
        dialogs_.message(parent, QString::fromStdString(texts_.text(caption)),
                         QString::fromStdString(body), icon, buttons);
    return answer == ui::MessageAnswer::Ok;
}

void DeviceConnections::addResultLine(std::string_view line) {
    wizard_->addResultLine(FromView(line));
}

void DeviceConnections::showResultList() {
    wizard_->showResultList();
}

void DeviceConnections::showAutoFields(std::string_view port, std::string_view rate) {
    wizard_->showAutoFields(FromView(port), FromView(rate));
}

void DeviceConnections::selectScanPort(int freeIndex) {
    wizard_->selectScanPort(freeIndex);
}

void DeviceConnections::selectScanRate(int ratePosition) {
    wizard_->selectScanRate(ratePosition);
}

void DeviceConnections::setScanTimer(bool running) {
    wizard_->setScanTimer(running);
}

void DeviceConnections::setAnimationTimer(bool running) {
    wizard_->setAnimationTimer(running);
}

void DeviceConnections::refreshPages() {
    wizard_->render();
    portDialog_->render();
}

void DeviceConnections::refreshStatus() {
    if (host_.refreshStatus) host_.refreshStatus();
}

void DeviceConnections::reloadLanguage() {
    if (host_.reloadLanguage) host_.reloadLanguage();
}

}  // namespace norq::comm
