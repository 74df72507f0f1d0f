// "Connection": connects or disconnects one sensor port over its serial line
// (a listed port or a typed device path, and a rate), or the AIS sensor over
// TCP/IP or a UDP input. The device wizard's dialogs drive the same control
// with their own flows; this window is the plain way in.
#pragma once

#include <QDialog>

#include "comm/TSysSensorControl.h"
#include "ui/Dialogs.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace norq::comm {

class TfrmLinkSettings final : public QDialog {
    Q_OBJECT

  public:
    TfrmLinkSettings(TSysSensorControl& control, ui::Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the window for a sensor (0 AIS, 1 GPS, 2 MOB).
    void showFor(int sensor);
    int sensor() const { return sensor_; }
    // Brings the controls up to date with the sensor's state.
    void refresh();
    // The Connect / Disconnect button. True when the sensor's link is up afterwards.
    bool toggleConnection();

    // What the user would type or choose (the tests set them this way too).
    void setInputType(InputType type);
    void setSerialPort(const QString& portText, int rateIndex);
    void setTcpAddress(const QString& host, int port);
    void setUdpAddress(const QString& address, int port);
    QString statusText() const;

  private:
    bool linkUp() const;
    bool connectSerial();
    bool connectTcp();
    bool connectUdp();
    void disconnectSensor();
    void fillPorts();
    InputType chosenType() const;

    TSysSensorControl& control_;
    ui::Dialogs& dialogs_;
    int sensor_ = kAisPort;
    QComboBox* cbxInputType_;
    QStackedWidget* pages_;
    QComboBox* cbxPort_;
    QComboBox* cbxRate_;
    QLineEdit* edtTcpAddress_;
    QSpinBox* spnTcpPort_;
    QLineEdit* edtUdpAddress_;
    QSpinBox* spnUdpPort_;
    QLabel* lblNote_;
    QLabel* lblStatus_;
    QPushButton* btnConnect_;
    QPushButton* btnClose_;
};

}  // namespace norq::comm
