#include "comm/forms/SerialPortConfigDlg.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "comm/forms/ConnectionPicture.h"
#include "comm/forms/NetworkPages.h"

namespace norq::comm {

using base::TextId;

namespace {

QString SensorText(int sensor) {
    const std::string_view name = SensorName(sensor);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

TSerialPortConfigDlg::TSerialPortConfigDlg(PortDialogFlow& flow, DetectionPorts& ports,
                                           const base::TextStore& texts, QWidget* parent)
    : QDialog(parent),
      flow_(flow),
      ports_(ports),
      texts_(texts),
      picture_(new ConnectionPicture(this)),
      selectorRow_(new QWidget(this)),
      lblInputSensorPort_(new QLabel(selectorRow_)),
      cbxInputType_(new QComboBox(selectorRow_)),
      pages_(new QStackedWidget(this)),
      lblNote_(new QLabel(this)),
      lblNorqDevDetectMsg_(new QLabel(this)),
      btnConnect_(new QPushButton(this)),
      btnClose_(new QPushButton(this)) {
    setObjectName(QStringLiteral("SerialPortConfigDlg"));
    setModal(true);
    lblInputSensorPort_->setObjectName(QStringLiteral("lblInputSensorPort"));
    lblInputSensorPort_->installEventFilter(this);
    cbxInputType_->setObjectName(QStringLiteral("cbxInputType"));
    cbxInputType_->addItems({QString(), QString(), QString()});
    auto* selector = new QHBoxLayout(selectorRow_);
    selector->setContentsMargins(0, 0, 0, 0);
    selector->addWidget(lblInputSensorPort_);
    selector->addWidget(cbxInputType_);
    selector->addStretch(1);

    pages_->addWidget(buildSerialPage());
    pages_->addWidget(buildTcpPage());
    pages_->addWidget(buildUdpPage());

    lblNote_->setObjectName(QStringLiteral("lblNote"));
    lblNote_->setWordWrap(true);
    lblNorqDevDetectMsg_->setObjectName(QStringLiteral("lblNorqDevDetectMsg"));
    lblNorqDevDetectMsg_->setStyleSheet(QStringLiteral("color: #c62828; font-weight: bold;"));
    btnConnect_->setObjectName(QStringLiteral("btnConnect"));
    btnConnect_->setCheckable(true);
    btnConnect_->setMinimumWidth(110);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblNorqDevDetectMsg_);
    buttons->addStretch(1);
    buttons->addWidget(btnConnect_);
    buttons->addWidget(btnClose_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture_);
    layout->addWidget(selectorRow_);
    layout->addWidget(pages_);
    layout->addWidget(lblNote_);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    connect(cbxInputType_, &QComboBox::activated, this, [this](int index) {
        flow_.setInputType(static_cast<InputType>(index));
        render();
    });
    connect(btnConnect_, &QPushButton::clicked, this, [this] {
        flow_.connect(inputs());
        render();
    });
    connect(btnClose_, &QPushButton::clicked, this, &TSerialPortConfigDlg::reject);
    retranslate();
}

QWidget* TSerialPortConfigDlg::buildSerialPage() {
    auto* serial = new QGroupBox(pages_);
    serial->setObjectName(QStringLiteral("pageSerial"));
    lblPort_ = new QLabel(serial);
    lblRate_ = new QLabel(serial);
    cbxPort_ = new QComboBox(serial);
    cbxPort_->setObjectName(QStringLiteral("cbxSerialPort"));
    cbxPort_->setEditable(true);
    cbxPort_->setMinimumWidth(240);
    cbxRate_ = new QComboBox(serial);
    cbxRate_->setObjectName(QStringLiteral("cbxBaudRate"));
    for (int rate : kSixRates)
        cbxRate_->addItem(QString::number(rate));
    auto* serialForm = new QFormLayout(serial);
    lblPortDescription_ = new QLabel(serial);
    lblPortDescription_->setObjectName(QStringLiteral("lblPortDescription"));
    lblPortDescription_->setStyleSheet(QStringLiteral("color: #616161;"));
    serialForm->addRow(lblPort_, cbxPort_);
    serialForm->addRow(QString(), lblPortDescription_);
    connect(cbxPort_, &QComboBox::currentTextChanged, this, [this](const QString& port) {
        lblPortDescription_->setText(
            QString::fromStdString(ports_.portDescription(port.trimmed().toStdString())));
    });
    serialForm->addRow(lblRate_, cbxRate_);
    return serial;
}

QWidget* TSerialPortConfigDlg::buildTcpPage() {
    return BuildTcpPage(pages_, 48, lblTcpIp_, lblTcpPort_, edtOctets_, edtTcpPort_);
}

QWidget* TSerialPortConfigDlg::buildUdpPage() {
    udp_ = BuildUdpPage(pages_);
    return udp_.page;
}

QString TSerialPortConfigDlg::text(TextId id) const {
    return QString::fromStdString(texts_.text(id));
}

void TSerialPortConfigDlg::retranslate() {
    lblInputSensorPort_->setText(text(TextId::SensorPortInputSensorPort));
    cbxInputType_->setItemText(0, text(TextId::QuickStartInputSerial));
    cbxInputType_->setItemText(1, text(TextId::QuickStartInputTcp));
    cbxInputType_->setItemText(2, text(TextId::QuickStartInputUdp));
    lblPort_->setText(text(TextId::SensorPortSerialPort));
    lblRate_->setText(text(TextId::SensorPortBaudRate));
    lblTcpIp_->setText(text(TextId::QuickStartTcpIpAddress));
    lblTcpPort_->setText(text(TextId::QuickStartTcpPort));
    udp_.retranslate(texts_);
    lblNorqDevDetectMsg_->setText(text(TextId::SensorPortNorqDevDetectMsg));
    btnClose_->setText(text(TextId::QuickStartClose));
    render();
}

void TSerialPortConfigDlg::prepare() {
    const PortDialogState st = flow_.state();
    cbxPort_->clear();
    for (const std::string& path : ports_.presentPorts()) {
        cbxPort_->addItem(QString::fromStdString(path));
    }
    cbxPort_->setEditText(QString::fromStdString(st.port));
    cbxRate_->setCurrentIndex(st.ratePosition);
    const std::array<int, 4> address = ports_.storedTcpAddress();
    for (std::size_t i = 0; i < edtOctets_.size(); ++i) {
        edtOctets_[i]->setText(QString::number(address[i]));
    }
    edtTcpPort_->setText(QString::number(ports_.storedTcpPort()));
    udp_.show(ports_.storedUdp());
    render();
}

void TSerialPortConfigDlg::render() {
    if (rendering_) return;
    rendering_ = true;
    const PortDialogState st = flow_.state();
    static constexpr std::array<TextId, kSensorCount> kCaptions{
        TextId::ConfigAisSerialPortConfigAisSerialPort,
        TextId::ConfigAisSerialPortConfigGpsSerialPort,
        TextId::ConfigAisSerialPortConfigMobSerialPort};
    setWindowTitle(text(kCaptions[static_cast<std::size_t>(st.sensor)]));
    picture_->setDeviceName(SensorText(st.sensor));
    const LinkState link = ports_.linkState(st.sensor);
    picture_->setFrame(
        ConnectionPicture::FrameFor(ports_.linkHealth(st.sensor), link == LinkState::Connected ? 1
                                                                  : st.connectDown             ? 4
                                                                                   : 0));
    // GPS and MOB are serial only: no selector.
    selectorRow_->setVisible(st.selectorVisible);
    cbxInputType_->setCurrentIndex(static_cast<int>(st.page));
    cbxInputType_->setEnabled(st.inputsEnabled);
    pages_->setCurrentIndex(static_cast<int>(st.page));
    cbxPort_->setEnabled(st.inputsEnabled);
    cbxRate_->setEnabled(st.inputsEnabled);
    for (QLineEdit* field : edtOctets_)
        field->setEnabled(st.tcpFieldsEnabled);
    edtTcpPort_->setEnabled(st.tcpFieldsEnabled);
    udp_.setEnabled(st.inputsEnabled);
    lblNote_->setText(st.page == InputType::Serial ? text(TextId::ConfigAisSerialPortNote)
                      : st.page == InputType::Tcp  ? text(TextId::QuickStartTcpConnect2)
                                                   : text(TextId::QuickStartUdpConnect));
    lblNorqDevDetectMsg_->setVisible(st.detectingVisible);
    btnConnect_->setChecked(st.connectDown);
    btnConnect_->setText(
        text(st.connectDown ? TextId::QuickStartBtnDisconnect : TextId::QuickStartBtnConnect));
    btnClose_->setEnabled(st.closeEnabled);
    rendering_ = false;
}

PortDialogInputs TSerialPortConfigDlg::inputs() const {
    PortDialogInputs in;
    in.typedPort = cbxPort_->currentText().toStdString();
    in.ratePosition = cbxRate_->currentIndex();
    for (std::size_t i = 0; i < edtOctets_.size(); ++i) {
        in.tcp.octets[i] = edtOctets_[i]->text().toStdString();
    }
    in.tcp.port = edtTcpPort_->text().toStdString();
    in.udp = udp_.fields();
    return in;
}

void TSerialPortConfigDlg::reject() {
    if (!btnClose_->isEnabled()) return;
    flow_.setShowing(false);
    QDialog::reject();
}

bool TSerialPortConfigDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblInputSensorPort_ && event->type() == QEvent::MouseButtonDblClick) {
        flow_.labelDoubleClicked();
        render();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace norq::comm
