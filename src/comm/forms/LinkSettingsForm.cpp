#include "comm/forms/LinkSettingsForm.h"

#include <arpa/inet.h>

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <cstring>

namespace norq::comm {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The dotted address as the four stored octets (TCP_Ip4 is the first).
bool ToOctets(const QString& host, std::array<int, 4>& octets) {
    in_addr address{};
    if (::inet_pton(AF_INET, host.toLatin1().constData(), &address) != 1) return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address.s_addr);
    for (int i = 0; i < 4; ++i)
        octets[static_cast<std::size_t>(3 - i)] = bytes[i];
    return true;
}

}  // namespace

TfrmLinkSettings::TfrmLinkSettings(TSysSensorControl& control, ui::Dialogs& dialogs,
                                   QWidget* parent)
    : QDialog(parent), control_(control), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmLinkSettings"));
    auto named = [this](auto* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    cbxInputType_ = named(new QComboBox(this), "cbxInputType");
    cbxInputType_->addItems(
        {QStringLiteral("Serial"), QStringLiteral("TCP/IP"), QStringLiteral("UDP")});
    pages_ = named(new QStackedWidget(this), "pagesInput");
    cbxPort_ = named(new QComboBox(this), "cbxPort");
    cbxPort_->setEditable(true);
    cbxPort_->setMinimumWidth(260);
    cbxRate_ = named(new QComboBox(this), "cbxRate");
    for (int rate : kSixRates)
        cbxRate_->addItem(QString::number(rate));
    edtTcpAddress_ = named(new QLineEdit(this), "edtTcpAddress");
    spnTcpPort_ = named(new QSpinBox(this), "spnTcpPort");
    spnTcpPort_->setRange(1, 65535);
    edtUdpAddress_ = named(new QLineEdit(this), "edtUdpAddress");
    edtUdpAddress_->setPlaceholderText(QStringLiteral("every local address"));
    spnUdpPort_ = named(new QSpinBox(this), "spnUdpPort");
    spnUdpPort_->setRange(1, 65535);
    lblNote_ = named(new QLabel(this), "lblNote");
    lblNote_->setWordWrap(true);
    lblStatus_ = named(new QLabel(this), "lblStatus");
    btnConnect_ = named(new QPushButton(this), "btnConnect");
    btnClose_ = named(new QPushButton(QStringLiteral("Close"), this), "btnClose");
    buildPages();
    auto* top = new QFormLayout;
    top->addRow(QStringLiteral("Input Sensor Port"), cbxInputType_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblStatus_, 1);
    buttons->addWidget(btnConnect_);
    buttons->addWidget(btnClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pages_);
    layout->addWidget(lblNote_);
    layout->addLayout(buttons);

    connect(cbxInputType_, &QComboBox::currentIndexChanged, this, [this](int index) {
        pages_->setCurrentIndex(index);
        const SensorControlTexts& t = control_.texts();
        if (index == 0) lblNote_->setText(Q(t.note));
        if (index == 1) lblNote_->setText(Q(t.tcpConnect2));
        if (index == 2) {
            lblNote_->setText(QStringLiteral(
                "Listens for UDP datagrams of NMEA sentences, as shore receivers and "
                "software-defined-radio decoders send them."));
        }
    });
    connect(btnConnect_, &QPushButton::clicked, this, &TfrmLinkSettings::toggleConnection);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::close);
}

// The serial, TCP/IP and UDP pages, in the order of the input types.
void TfrmLinkSettings::buildPages() {
    auto* serial = new QWidget(pages_);
    auto* serialForm = new QFormLayout(serial);
    serialForm->addRow(QStringLiteral("Serial Port"), cbxPort_);
    serialForm->addRow(QStringLiteral("Baud Rate"), cbxRate_);
    auto* tcp = new QWidget(pages_);
    auto* tcpForm = new QFormLayout(tcp);
    tcpForm->addRow(QStringLiteral("IP Address"), edtTcpAddress_);
    tcpForm->addRow(QStringLiteral("Port"), spnTcpPort_);
    auto* udp = new QWidget(pages_);
    auto* udpForm = new QFormLayout(udp);
    udpForm->addRow(QStringLiteral("Listen on"), edtUdpAddress_);
    udpForm->addRow(QStringLiteral("Port"), spnUdpPort_);
    pages_->addWidget(serial);
    pages_->addWidget(tcp);
    pages_->addWidget(udp);
}

void TfrmLinkSettings::showFor(int sensor) {
    sensor_ = sensor >= 0 && sensor < kSensorCount ? sensor : kAisPort;
    control_.setCurrentSensor(sensor_);
    setWindowTitle(Q(control_.texts().configCaption[static_cast<std::size_t>(sensor_)]));
    fillPorts();
    const base::SensorPortSettings& s = control_.portSettings(sensor_);
    cbxPort_->setEditText(Q(control_.DevicePath(sensor_)));
    cbxRate_->setCurrentIndex(SixRateIndex(s.serialBaudRate));
    edtTcpAddress_->setText(QStringLiteral("%1.%2.%3.%4")
                                .arg(s.tcpIp[3])
                                .arg(s.tcpIp[2])
                                .arg(s.tcpIp[1])
                                .arg(s.tcpIp[0]));
    spnTcpPort_->setValue(s.tcpPort);
    edtUdpAddress_->setText(Q(s.udpAddress));
    spnUdpPort_->setValue(s.udpPort);
    // Only the AIS sensor reaches its device otherwise than over its serial line.
    cbxInputType_->setVisible(sensor_ == kAisPort);
    cbxInputType_->setCurrentIndex(static_cast<int>(control_.inputType(sensor_)));
    refresh();
    show();
    raise();
}

void TfrmLinkSettings::fillPorts() {
    control_.EnumeratePorts();
    const QString typed = cbxPort_->currentText();
    cbxPort_->clear();
    for (const PortInfo& port : control_.presentPorts()) {
        const bool free = std::find(control_.freePorts().begin(), control_.freePorts().end(),
                                    port) != control_.freePorts().end();
        QString label = Q(port.path);
        if (!port.description.empty()) label += QStringLiteral("  ") + Q(port.description);
        if (!free) label += QStringLiteral("  (in use)");
        cbxPort_->addItem(label, Q(port.path));
    }
    cbxPort_->setEditText(typed);
}

InputType TfrmLinkSettings::chosenType() const {
    return sensor_ == kAisPort ? static_cast<InputType>(cbxInputType_->currentIndex())
                               : InputType::Serial;
}

bool TfrmLinkSettings::linkUp() const {
    if (sensor_ != kAisPort) return control_.port(sensor_).Connected();
    return control_.aisLinkOpen();
}

void TfrmLinkSettings::refresh() {
    const SensorControlTexts& t = control_.texts();
    const bool up = linkUp();
    btnConnect_->setText(Q(up ? t.btnDisconnect : t.btnConnect));
    cbxInputType_->setEnabled(!up);
    pages_->setEnabled(!up);
    const LinkState state = control_.linkState(sensor_);
    QString status = Q(up ? t.connected : t.disconnect);
    if (up && state == LinkState::IdentificationPending) status = Q(t.devDetecting);
    if (up && sensor_ == kAisPort && control_.tcpThread() != nullptr &&
        !control_.tcpThread()->connected()) {
        status = Q(t.connecting);
    }
    lblStatus_->setText(status);
}

QString TfrmLinkSettings::statusText() const {
    return lblStatus_->text();
}

void TfrmLinkSettings::setInputType(InputType type) {
    cbxInputType_->setCurrentIndex(static_cast<int>(type));
}

void TfrmLinkSettings::setSerialPort(const QString& portText, int rateIndex) {
    cbxPort_->setEditText(portText);
    cbxRate_->setCurrentIndex(rateIndex);
}

void TfrmLinkSettings::setTcpAddress(const QString& host, int port) {
    edtTcpAddress_->setText(host);
    spnTcpPort_->setValue(port);
}

void TfrmLinkSettings::setUdpAddress(const QString& address, int port) {
    edtUdpAddress_->setText(address);
    spnUdpPort_->setValue(port);
}

bool TfrmLinkSettings::toggleConnection() {
    if (linkUp()) {
        disconnectSensor();
        refresh();
        return false;
    }
    bool up = false;
    switch (chosenType()) {
        case InputType::Serial:
            up = connectSerial();
            break;
        case InputType::Tcp:
            up = connectTcp();
            break;
        case InputType::Udp:
            up = connectUdp();
            break;
    }
    refresh();
    return up;
}

bool TfrmLinkSettings::connectSerial() {
    // A port chosen from the list carries its path; a typed one is taken as typed.
    QString portText = cbxPort_->currentText().trimmed();
    const int listed = cbxPort_->findText(portText);
    if (listed >= 0) portText = cbxPort_->itemData(listed).toString();
    control_.setInputType(sensor_, InputType::Serial);
    control_.setScanPhase(sensor_, ScanPhase::Finished);
    control_.ApplyPortSettings(control_.port(sensor_), sensor_);
    if (!control_.OpenSensorPort(sensor_, portText.toStdString(), cbxRate_->currentIndex())) {
        control_.setInUse(sensor_, false);
        control_.setLinkState(sensor_, LinkState::Idle);
        dialogs_.message(this, Q(control_.texts().error), Q(control_.portOpenErrorMessage(sensor_)),
                         ui::MessageIcon::Error, ui::MessageButtons::Ok);
        return false;
    }
    // The port that opened is the one kept for the next start.
    base::SensorPortSettings& s = control_.portSettings(sensor_);
    s.serialDevice = control_.port(sensor_).DeviceName();
    s.serialBaudRate = static_cast<int>(control_.port(sensor_).BaudRate());
    control_.setInUse(sensor_, true);
    control_.setLinkState(
        sensor_, sensor_ == kAisPort ? LinkState::IdentificationPending : LinkState::Connected);
    return true;
}

bool TfrmLinkSettings::connectTcp() {
    base::SensorPortSettings& s = control_.portSettings(kAisPort);
    std::array<int, 4> octets{};
    if (!ToOctets(edtTcpAddress_->text().trimmed(), octets)) {
        dialogs_.message(this, Q(control_.texts().error),
                         QStringLiteral("Please input an IP address such as 192.168.2.1."),
                         ui::MessageIcon::Error, ui::MessageButtons::Ok);
        return false;
    }
    s.tcpIp = octets;
    s.tcpPort = spnTcpPort_->value();
    control_.setInputType(kAisPort, InputType::Tcp);
    control_.setSendType(InputType::Tcp);
    control_.setTcpOwner(TcpOwner::PortDialog);
    if (!control_.ConnectTcp()) return false;
    control_.setTcpFlags(true, true);
    control_.setScanPhase(kAisPort, ScanPhase::Finished);
    control_.setLinkState(kAisPort, LinkState::IdentificationPending);
    control_.setInUse(kAisPort, true);
    return true;
}

bool TfrmLinkSettings::connectUdp() {
    base::SensorPortSettings& s = control_.portSettings(kAisPort);
    const std::string address = edtUdpAddress_->text().trimmed().toStdString();
    if (!control_.ListenUdpOn(address, spnUdpPort_->value())) {
        dialogs_.message(this, Q(control_.texts().error),
                         QStringLiteral("UDP port %1 cannot be opened: %2")
                             .arg(spnUdpPort_->value())
                             .arg(QString::fromLocal8Bit(std::strerror(control_.udpOpenError()))),
                         ui::MessageIcon::Error, ui::MessageButtons::Ok);
        return false;
    }
    s.udpAddress = address;
    s.udpPort = spnUdpPort_->value();
    control_.setInputType(kAisPort, InputType::Udp);
    // A UDP input only receives: there is no device to identify.
    control_.setInUse(kAisPort, true);
    control_.setLinkState(kAisPort, LinkState::Connected);
    return true;
}

void TfrmLinkSettings::disconnectSensor() {
    if (sensor_ == kAisPort) {
        control_.DisconnectTcp();
        control_.setTcpFlags(false, false);
        control_.CloseUdp();
        control_.setDeviceKind(DeviceKind::None);
    }
    if (control_.port(sensor_).Connected()) control_.port(sensor_).Close();
    control_.setInUse(sensor_, false);
    control_.setLinkState(sensor_, LinkState::Idle);
}

}  // namespace norq::comm
