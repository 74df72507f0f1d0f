// The port dialog "Config Serial Port" (TSerialPortConfigDlg): connects one
// sensor port over a serial line with a listed or typed port and rate, or the
// AIS port over TCP/IP or UDP. Modal; thin over PortDialogFlow.
#pragma once

#include <QDialog>
#include <array>

#include "base/LanguageTable.h"
#include "comm/PortDialogFlow.h"
#include "comm/forms/NetworkPages.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace norq::comm {

class ConnectionPicture;

class TSerialPortConfigDlg final : public QDialog {
    Q_OBJECT

  public:
    TSerialPortConfigDlg(PortDialogFlow& flow, DetectionPorts& ports, const base::TextStore& texts,
                         QWidget* parent = nullptr);

    void retranslate();
    // Sets the dialog up for the flow's sensor (lists, preselected port and rate).
    void prepare();
    void render();
    PortDialogInputs inputs() const;
    // "Close" (also Esc and the close box), unless the identification is pending.
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildSerialPage();
    QWidget* buildTcpPage();
    QWidget* buildUdpPage();
    QString text(base::TextId id) const;

    PortDialogFlow& flow_;
    DetectionPorts& ports_;
    const base::TextStore& texts_;
    bool rendering_ = false;

    ConnectionPicture* picture_;
    QWidget* selectorRow_;
    QLabel* lblInputSensorPort_;
    QComboBox* cbxInputType_;
    QStackedWidget* pages_;
    QLabel* lblPort_;
    QLabel* lblRate_;
    QComboBox* cbxPort_;
    QComboBox* cbxRate_;
    QLabel* lblPortDescription_;
    QLabel* lblTcpIp_;
    QLabel* lblTcpPort_;
    std::array<QLineEdit*, 4> edtOctets_{};
    QLineEdit* edtTcpPort_;
    UdpPage udp_;
    QLabel* lblNote_;
    QLabel* lblNorqDevDetectMsg_;
    QPushButton* btnConnect_;
    QPushButton* btnClose_;
};

}  // namespace norq::comm
