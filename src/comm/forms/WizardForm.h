// The device wizard "Quick Start" (TfrmWizardStartup): a start page that
// offers the ways to begin (connect a device, replay a recording, connect to
// a network source), and the connection page with the serial (Manual / Auto
// scan), TCP/IP and UDP inputs, the notes, the result list of the detection,
// the connecting animation and the Connect toggle.
//
// The window is thin: it renders WizardFlow::state() and forwards its
// controls to the flow; the timers call the flow's steps.
#pragma once

#include <QDialog>
#include <array>

#include "base/LanguageTable.h"
#include "comm/WizardFlow.h"
#include "comm/forms/NetworkPages.h"

class QButtonGroup;
class QComboBox;
class QCommandLinkButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTimer;

namespace norq::comm {

class ConnectionPicture;

class TfrmWizardStartup final : public QDialog {
    Q_OBJECT

  public:
    enum class Page { Start = 0, Connect = 1 };
    // The ways to begin on the start page, as remembered in the settings.
    enum class StartChoice { Device = 0, Recording = 1, Network = 2 };

    TfrmWizardStartup(WizardFlow& flow, DetectionPorts& ports, const base::TextStore& texts,
                      QWidget* parent = nullptr);

    void retranslate();
    // Shows the state of the flow and of the ports.
    void render();
    void setPage(Page page);
    Page page() const;
    // The start page's choice that the viewer remembered (its button is the
    // default one).
    void setRememberedChoice(int choice);
    // The port lists of the Manual page, from the ports' lists.
    void fillPortLists();

    // What the detection reports.
    void addResultLine(const QString& line);
    void showResultList();
    void showAutoFields(const QString& port, const QString& rate);
    void selectScanPort(int freeIndex);
    void selectScanRate(int ratePosition);
    void setScanTimer(bool running);
    void setAnimationTimer(bool running);

    QTimer* scanTimer() const { return timerScan_; }
    QTimer* animationTimer() const { return timerAnimation_; }
    // The connect inputs as typed.
    WizardInputs inputs() const;

  Q_SIGNALS:
    // A start-page button was pressed.
    void startChoiceMade(int choice);
    // The Connect toggle was pressed (after the flow ran).
    void connectPressed();
    // The wizard was closed (its button, the window's close box or Esc).
    void wizardClosed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildStartPage();
    QWidget* buildConnectPage();
    QWidget* buildSerialPage();
    QWidget* buildTcpPage();
    QWidget* buildUdpPage();
    void onChoice(StartChoice choice);
    void onInputTypeChanged(int index);
    void onClose();
    QString text(base::TextId id) const;
    QString noteText(WizardNote note) const;
    void renderStatus(const WizardState& st);

    WizardFlow& flow_;
    DetectionPorts& ports_;
    const base::TextStore& texts_;
    bool rendering_ = false;

    QLabel* lblTitle_;
    QLabel* lblDeviceType_;
    QStackedWidget* pages_;
    // Start page.
    QLabel* lblStartTitle_;
    std::array<QCommandLinkButton*, 3> btnChoices_{};
    QLabel* lblRemember_;
    // Connection page.
    ConnectionPicture* picture_;
    QLabel* lblInputSensorPort_;
    QComboBox* cbxInputType_;
    QStackedWidget* inputPages_;
    QRadioButton* rbManual_;
    QRadioButton* rbAuto_;
    QStackedWidget* modePages_;
    QLabel* lblManualPort_;
    QLabel* lblManualRate_;
    QComboBox* cbxPort_;
    QComboBox* cbxRate_;
    QLabel* lblPortDescription_;
    QLabel* lblAutoPort_;
    QLabel* lblAutoRate_;
    QLineEdit* edtAutoPort_;
    QLineEdit* edtAutoRate_;
    QLabel* lblTcpIp_;
    QLabel* lblTcpPort_;
    std::array<QLineEdit*, 4> edtOctets_{};
    QLineEdit* edtTcpPort_;
    UdpPage udp_;
    std::array<QLabel*, 4> lblNotes_{};
    QLabel* lblNorqDevDetectMsg_;
    QLabel* lblResults_;
    QListWidget* lstResults_;
    QLabel* lblStatus_;
    QPushButton* btnBack_;
    QPushButton* btnConnect_;
    QPushButton* btnNext_;
    QPushButton* btnClose_;
    QTimer* timerScan_;
    QTimer* timerAnimation_;
};

}  // namespace norq::comm
