// The connection windows and the device detection as the main window sees
// them: it owns the detection, the flows of the wizard and the port dialog,
// and their two windows; it shows what the detection reports, watches the
// machine's serial ports while the viewer runs, and offers the start-up step
// (connect at once, or open the wizard) and the menu actions.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

#include "base/LanguageTable.h"
#include "comm/DetectionInterfaces.h"
#include "comm/DeviceDetection.h"
#include "comm/PortDialogFlow.h"
#include "comm/SensorControlPorts.h"
#include "comm/WizardFlow.h"
#include "ui/Dialogs.h"

class QTimer;
class QWidget;

namespace norq::comm {

class TfrmWizardStartup;
class TSerialPortConfigDlg;

// What the connection windows need of the main window.
struct ConnectionHost {
    // The status bar panels and port images.
    std::function<void()> refreshStatus;
    // Loads the current language again (the device kind changed).
    std::function<void()> reloadLanguage;
    // Replays a recorded file (the start page's "Replay a recording").
    std::function<void(const QString& file)> startReplay;
    // The start page's choice was made: remember it (0 device, 1 recording,
    // 2 network) with the recording chosen, if any.
    std::function<void(int choice, const QString& recording)> rememberChoice;
    // A network input was connected from the wizard (1 TCP/IP, 2 UDP).
    std::function<void(int input)> rememberNetworkInput;
};

class DeviceConnections final : public QObject, private DetectionView {
    Q_OBJECT

  public:
    // How often the machine's port list is read while a dialog shows, and how
    // often the open ports are checked otherwise.
    static constexpr int kPortPollMs = 1000;
    static constexpr int kOpenPortCheckMs = 2000;

    DeviceConnections(DetectionPorts& ports, const base::TextStore& texts, ui::Dialogs& dialogs,
                      ConnectionHost host, QWidget* mainWindow);
    // Over the viewer's sensor port control: the detection sees every line of
    // its links.
    DeviceConnections(TSysSensorControl& control, const base::TextStore& texts,
                      ui::Dialogs& dialogs, ConnectionHost host, QWidget* mainWindow);
    ~DeviceConnections() override;

    DeviceDetection& detection() { return detection_; }
    WizardFlow& wizardFlow() { return wizardFlow_; }
    PortDialogFlow& portDialogFlow() { return dialogFlow_; }
    TfrmWizardStartup& wizard() { return *wizard_; }
    TSerialPortConfigDlg& portDialog() { return *portDialog_; }

    // The first showing of the main window: the AIS port connects at once
    // when it is set to, otherwise the wizard opens (not modal) on the start
    // page, or on the page of the choice remembered from an earlier start.
    void startUp(bool connectAtStart, int rememberedChoice, const QString& lastRecording,
                 int networkInput = 1);
    // The wizard shown at start-up closes when another source was chosen (a
    // replay), unless the user is connecting something in it.
    void dismissStartWizard();
    // "Device Wizard(&W)": the wizard, modal.
    void openWizard();
    // "Connect AIS(&A)", "Connect GPS  Receiver(&G)", "Connect MOB Controller(&M)"
    // and the port images: the port dialog for the sensor, modal.
    void openPortDialog(int sensor);
    // A link's state changed by itself (it went silent, dropped, came back):
    // the dialogs that show show it at once.
    void linkStateChanged();
    // The identification step of the one-second timer.
    void identificationTick() { detection_.identificationTick(); }
    // The TCP/IP link ended by itself.
    void onTcpDisconnected();
    void retranslate();
    // Compares the machine's ports with the last look and reports a change.
    void pollPorts();

  private:
    DeviceConnections(std::unique_ptr<SensorControlPorts> own, DetectionPorts* ports,
                      const base::TextStore& texts, ui::Dialogs& dialogs, ConnectionHost host,
                      QWidget* mainWindow);

    // DetectionView
    bool showMessage(DetectionMessage message) override;
    void addResultLine(std::string_view line) override;
    void showResultList() override;
    void showAutoFields(std::string_view port, std::string_view rate) override;
    void selectScanPort(int freeIndex) override;
    void selectScanRate(int ratePosition) override;
    void setScanTimer(bool running) override;
    void setAnimationTimer(bool running) override;
    void refreshPages() override;
    void refreshStatus() override;
    void reloadLanguage() override;

    void onStartChoice(int choice);
    void showWizard(bool modal);
    void checkOpenPorts();
    void updatePolling();

    std::unique_ptr<SensorControlPorts> ownPorts_;
    TSysSensorControl* control_ = nullptr;
    DetectionPorts& ports_;
    const base::TextStore& texts_;
    ui::Dialogs& dialogs_;
    ConnectionHost host_;
    QWidget* mainWindow_;
    DeviceDetection detection_;
    WizardFlow wizardFlow_;
    PortDialogFlow dialogFlow_;
    TfrmWizardStartup* wizard_;
    TSerialPortConfigDlg* portDialog_;
    QTimer* portPoll_;
    QTimer* openPortCheck_;
    std::unique_ptr<DetectionLineHook> lineHook_;
    QStringList lastPorts_;
    QString lastRecording_;
};

}  // namespace norq::comm
