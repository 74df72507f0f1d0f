#include "comm/forms/WizardForm.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCommandLinkButton>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
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

constexpr int kScanIntervalMs = 1000;
constexpr int kAnimationIntervalMs = 200;

QLabel* NoteLabel(QWidget* parent, int index) {
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("lblNote%1").arg(index + 1));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

TfrmWizardStartup::TfrmWizardStartup(WizardFlow& flow, DetectionPorts& ports,
                                     const base::TextStore& texts, QWidget* parent)
    : QDialog(parent),
      flow_(flow),
      ports_(ports),
      texts_(texts),
      lblTitle_(new QLabel(this)),
      lblDeviceType_(new QLabel(this)),
      pages_(new QStackedWidget(this)),
      btnBack_(new QPushButton(this)),
      btnConnect_(new QPushButton(this)),
      btnNext_(new QPushButton(this)),
      btnClose_(new QPushButton(this)),
      timerScan_(new QTimer(this)),
      timerAnimation_(new QTimer(this)) {
    setObjectName(QStringLiteral("frmWizardStartup"));
    lblTitle_->setObjectName(QStringLiteral("lblDeviceWizard"));
    lblDeviceType_->setObjectName(QStringLiteral("lblDeviceType"));
    btnBack_->setObjectName(QStringLiteral("btnBack"));
    btnConnect_->setObjectName(QStringLiteral("btnConnect"));
    btnNext_->setObjectName(QStringLiteral("btnNext"));
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    timerScan_->setObjectName(QStringLiteral("TimerScan"));
    timerAnimation_->setObjectName(QStringLiteral("TimerAnimation"));
    timerScan_->setInterval(kScanIntervalMs);
    timerAnimation_->setInterval(kAnimationIntervalMs);

    QFont titleFont = lblTitle_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);
    QFont typeFont = lblDeviceType_->font();
    typeFont.setBold(true);
    typeFont.setPointSizeF(typeFont.pointSizeF() * 1.2);
    lblDeviceType_->setFont(typeFont);

    auto* header = new QHBoxLayout;
    header->addWidget(lblTitle_);
    header->addStretch(1);
    header->addWidget(lblDeviceType_);

    pages_->addWidget(buildStartPage());
    pages_->addWidget(buildConnectPage());

    btnConnect_->setCheckable(true);
    btnConnect_->setMinimumWidth(110);
    btnNext_->setVisible(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnBack_);
    buttons->addStretch(1);
    buttons->addWidget(btnConnect_);
    buttons->addWidget(btnNext_);
    buttons->addWidget(btnClose_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);

    connect(btnBack_, &QPushButton::clicked, this, [this] { setPage(Page::Start); });
    connect(btnConnect_, &QPushButton::clicked, this, [this] {
        flow_.connect(inputs());
        render();
        Q_EMIT connectPressed();
    });
    connect(btnNext_, &QPushButton::clicked, this, [this] {
        flow_.next();
        fillPortLists();
        render();
    });
    connect(btnClose_, &QPushButton::clicked, this, &TfrmWizardStartup::onClose);
    connect(timerScan_, &QTimer::timeout, this, [this] { flow_.scanTick(); });
    connect(timerAnimation_, &QTimer::timeout, this, [this] { flow_.animationTick(); });
    setMinimumSize(600, 560);
    resize(640, 600);
    retranslate();
}

QWidget* TfrmWizardStartup::buildStartPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("pageStart"));
    lblStartTitle_ = new QLabel(page);
    lblStartTitle_->setObjectName(QStringLiteral("lblStartTitle"));
    QFont f = lblStartTitle_->font();
    f.setPointSizeF(f.pointSizeF() * 1.15);
    lblStartTitle_->setFont(f);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblStartTitle_);
    const std::array<const char*, 3> names{"btnStartDevice", "btnStartRecording",
                                           "btnStartNetwork"};
    for (std::size_t i = 0; i < btnChoices_.size(); ++i) {
        auto* button = new QCommandLinkButton(page);
        button->setObjectName(QString::fromLatin1(names[i]));
        btnChoices_[i] = button;
        layout->addWidget(button);
        const auto choice = static_cast<StartChoice>(i);
        connect(button, &QCommandLinkButton::clicked, this, [this, choice] { onChoice(choice); });
    }
    lblRemember_ = new QLabel(page);
    lblRemember_->setObjectName(QStringLiteral("lblStartRemember"));
    lblRemember_->setWordWrap(true);
    layout->addStretch(1);
    layout->addWidget(lblRemember_);
    return page;
}

QWidget* TfrmWizardStartup::buildConnectPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("pageConnect"));
    picture_ = new ConnectionPicture(page);
    lblInputSensorPort_ = new QLabel(page);
    lblInputSensorPort_->setObjectName(QStringLiteral("lblInputSensorPort"));
    lblInputSensorPort_->installEventFilter(this);
    cbxInputType_ = new QComboBox(page);
    cbxInputType_->setObjectName(QStringLiteral("cbxInputType"));
    cbxInputType_->addItems({QString(), QString(), QString()});
    auto* selector = new QHBoxLayout;
    selector->addWidget(lblInputSensorPort_);
    selector->addWidget(cbxInputType_);
    selector->addStretch(1);

    inputPages_ = new QStackedWidget(page);
    inputPages_->addWidget(buildSerialPage());
    inputPages_->addWidget(buildTcpPage());
    inputPages_->addWidget(buildUdpPage());
    inputPages_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    auto* notes = new QVBoxLayout;
    notes->setSpacing(4);
    for (std::size_t i = 0; i < lblNotes_.size(); ++i) {
        lblNotes_[i] = NoteLabel(page, static_cast<int>(i));
        notes->addWidget(lblNotes_[i]);
    }
    lblNorqDevDetectMsg_ = new QLabel(page);
    lblNorqDevDetectMsg_->setObjectName(QStringLiteral("lblNorqDevDetectMsg"));
    lblNorqDevDetectMsg_->setStyleSheet(QStringLiteral("color: #c62828; font-weight: bold;"));
    lblResults_ = new QLabel(page);
    lblResults_->setObjectName(QStringLiteral("lblResults"));
    lstResults_ = new QListWidget(page);
    lstResults_->setObjectName(QStringLiteral("ListBoxResult"));
    lstResults_->setMinimumHeight(110);
    lstResults_->setSelectionMode(QAbstractItemView::NoSelection);
    lblResults_->setVisible(false);
    lstResults_->setVisible(false);
    lblStatus_ = new QLabel(page);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    QFont statusFont = lblStatus_->font();
    statusFont.setBold(true);
    lblStatus_->setFont(statusFont);
    auto* status = new QHBoxLayout;
    status->addWidget(lblNorqDevDetectMsg_);
    status->addStretch(1);
    status->addWidget(lblStatus_);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture_);
    layout->addLayout(selector);
    layout->addWidget(inputPages_);
    layout->addLayout(notes);
    layout->addWidget(lblResults_);
    layout->addWidget(lstResults_, 1);
    layout->addStretch(0);
    layout->addLayout(status);
    connect(cbxInputType_, &QComboBox::activated, this, &TfrmWizardStartup::onInputTypeChanged);
    return page;
}

QWidget* TfrmWizardStartup::buildSerialPage() {
    auto* page = new QGroupBox(this);
    page->setObjectName(QStringLiteral("pageSerial"));
    rbManual_ = new QRadioButton(page);
    rbManual_->setObjectName(QStringLiteral("rbManual"));
    rbAuto_ = new QRadioButton(page);
    rbAuto_->setObjectName(QStringLiteral("rbAuto"));
    auto* group = new QButtonGroup(page);
    group->addButton(rbManual_);
    group->addButton(rbAuto_);
    auto* modes = new QHBoxLayout;
    modes->addWidget(rbManual_);
    modes->addWidget(rbAuto_);
    modes->addStretch(1);

    modePages_ = new QStackedWidget(page);
    auto* manual = new QWidget(modePages_);
    lblManualPort_ = new QLabel(manual);
    lblManualRate_ = new QLabel(manual);
    cbxPort_ = new QComboBox(manual);
    cbxPort_->setObjectName(QStringLiteral("cbxSerialPort"));
    cbxPort_->setEditable(true);
    cbxPort_->setMinimumWidth(260);
    cbxRate_ = new QComboBox(manual);
    cbxRate_->setObjectName(QStringLiteral("cbxBaudRate"));
    for (int rate : kSixRates)
        cbxRate_->addItem(QString::number(rate));
    lblPortDescription_ = new QLabel(manual);
    lblPortDescription_->setObjectName(QStringLiteral("lblPortDescription"));
    lblPortDescription_->setStyleSheet(QStringLiteral("color: #616161;"));
    auto* manualForm = new QFormLayout(manual);
    manualForm->addRow(lblManualPort_, cbxPort_);
    manualForm->addRow(QString(), lblPortDescription_);
    manualForm->addRow(lblManualRate_, cbxRate_);
    // What the machine calls the port shows under it.
    connect(cbxPort_, &QComboBox::currentTextChanged, this, [this](const QString& port) {
        lblPortDescription_->setText(
            QString::fromStdString(ports_.portDescription(port.trimmed().toStdString())));
    });

    auto* automatic = new QWidget(modePages_);
    lblAutoPort_ = new QLabel(automatic);
    lblAutoRate_ = new QLabel(automatic);
    edtAutoPort_ = new QLineEdit(automatic);
    edtAutoPort_->setObjectName(QStringLiteral("edtAutoPort"));
    edtAutoPort_->setReadOnly(true);
    edtAutoPort_->setFocusPolicy(Qt::NoFocus);
    edtAutoPort_->setMinimumWidth(260);
    edtAutoRate_ = new QLineEdit(automatic);
    edtAutoRate_->setObjectName(QStringLiteral("edtAutoRate"));
    edtAutoRate_->setReadOnly(true);
    edtAutoRate_->setFocusPolicy(Qt::NoFocus);
    auto* autoForm = new QFormLayout(automatic);
    autoForm->addRow(lblAutoPort_, edtAutoPort_);
    autoForm->addRow(lblAutoRate_, edtAutoRate_);
    modePages_->addWidget(manual);
    modePages_->addWidget(automatic);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(modes);
    layout->addWidget(modePages_);
    connect(rbManual_, &QRadioButton::clicked, this, [this] {
        flow_.setAutoMode(false);
        render();
    });
    connect(rbAuto_, &QRadioButton::clicked, this, [this] {
        flow_.setAutoMode(true);
        render();
    });
    return page;
}

QWidget* TfrmWizardStartup::buildTcpPage() {
    return BuildTcpPage(this, 52, lblTcpIp_, lblTcpPort_, edtOctets_, edtTcpPort_);
}

QWidget* TfrmWizardStartup::buildUdpPage() {
    udp_ = BuildUdpPage(this);
    return udp_.page;
}

QString TfrmWizardStartup::text(TextId id) const {
    return QString::fromStdString(texts_.text(id));
}

void TfrmWizardStartup::retranslate() {
    setWindowTitle(text(TextId::QuickStartQuickStart));
    lblTitle_->setText(text(TextId::QuickStartDeviceWizard));
    lblStartTitle_->setText(text(TextId::QuickStartStartTitle));
    btnChoices_[0]->setText(text(TextId::QuickStartStartScan));
    btnChoices_[0]->setDescription(text(TextId::QuickStartStartScanNote));
    btnChoices_[1]->setText(text(TextId::QuickStartStartReplay));
    btnChoices_[1]->setDescription(text(TextId::QuickStartStartReplayNote));
    btnChoices_[2]->setText(text(TextId::QuickStartStartNetwork));
    btnChoices_[2]->setDescription(text(TextId::QuickStartStartNetworkNote));
    lblRemember_->setText(text(TextId::QuickStartStartRemember));
    lblInputSensorPort_->setText(text(TextId::SensorPortInputSensorPort));
    cbxInputType_->setItemText(0, text(TextId::QuickStartInputSerial));
    cbxInputType_->setItemText(1, text(TextId::QuickStartInputTcp));
    cbxInputType_->setItemText(2, text(TextId::QuickStartInputUdp));
    rbManual_->setText(text(TextId::QuickStartManual));
    rbAuto_->setText(text(TextId::QuickStartAuto));
    lblManualPort_->setText(text(TextId::SensorPortSerialPort));
    lblManualRate_->setText(text(TextId::SensorPortBaudRate));
    lblAutoPort_->setText(text(TextId::SensorPortSerialPort));
    lblAutoRate_->setText(text(TextId::SensorPortBaudRate));
    lblTcpIp_->setText(text(TextId::QuickStartTcpIpAddress));
    lblTcpPort_->setText(text(TextId::QuickStartTcpPort));
    udp_.retranslate(texts_);
    lblNorqDevDetectMsg_->setText(text(TextId::SensorPortNorqDevDetectMsg));
    lblResults_->setText(text(TextId::QuickStartResults));
    btnBack_->setText(text(TextId::QuickStartBack));
    btnNext_->setText(text(TextId::QuickStartNext));
    btnClose_->setText(text(TextId::QuickStartClose));
    render();
}

QString TfrmWizardStartup::noteText(WizardNote note) const {
    switch (note) {
        case WizardNote::None:
            return {};
        case WizardNote::AutoManualConnect:
            return text(TextId::QuickStartAutoManualConnect);
        case WizardNote::AutoConnect:
            return text(TextId::QuickStartAutoConnect);
        case WizardNote::ManualConnect:
            return text(TextId::QuickStartManualConnect);
        case WizardNote::AutoConnectNote1:
            return text(TextId::QuickStartAutoConnectNote1);
        case WizardNote::AutoConnectNote2:
            return text(TextId::QuickStartAutoConnectNote2);
        case WizardNote::ManualConnectNote:
            return text(TextId::QuickStartManualConnectNote);
        case WizardNote::TcpConnect1:
            return QStringLiteral("1. ") + text(TextId::QuickStartTcpConnect1);
        case WizardNote::TcpConnect2:
            return QStringLiteral("2. ") + text(TextId::QuickStartTcpConnect2);
        case WizardNote::UdpConnect:
            return QStringLiteral("2. ") + text(TextId::QuickStartUdpConnect);
    }
    return {};
}

// ---- Rendering ----------------------------------------------------------------

void TfrmWizardStartup::render() {
    if (rendering_) return;
    rendering_ = true;
    const WizardState st = flow_.state();
    const bool onStart = page() == Page::Start;
    lblDeviceType_->setText(onStart ? QString() : SensorText(st.sensor));
    picture_->setDeviceName(SensorText(st.sensor));
    picture_->setFrame(ConnectionPicture::FrameFor(ports_.linkHealth(st.sensor), st.imageFrame));
    cbxInputType_->setCurrentIndex(static_cast<int>(st.page));
    cbxInputType_->setEnabled(st.selectorEnabled);
    cbxInputType_->setVisible(st.sensor == kAisPort);
    inputPages_->setCurrentIndex(static_cast<int>(st.page));
    rbManual_->setChecked(!st.autoMode);
    rbAuto_->setChecked(st.autoMode);
    modePages_->setCurrentIndex(st.autoMode || st.connectDown ? 1 : 0);
    for (QWidget* w : {static_cast<QWidget*>(rbManual_), static_cast<QWidget*>(rbAuto_),
                       static_cast<QWidget*>(cbxPort_), static_cast<QWidget*>(cbxRate_)}) {
        w->setEnabled(st.inputsEnabled);
    }
    for (QLineEdit* field : edtOctets_)
        field->setEnabled(st.tcpFieldsEnabled);
    edtTcpPort_->setEnabled(st.tcpFieldsEnabled);
    udp_.setEnabled(st.inputsEnabled);
    for (std::size_t i = 0; i < lblNotes_.size(); ++i) {
        const QString note = noteText(st.notes[i]);
        lblNotes_[i]->setText(note);
        lblNotes_[i]->setVisible(!note.isEmpty());
    }
    lblNorqDevDetectMsg_->setVisible(st.detectingVisible);
    btnConnect_->setChecked(st.connectDown);
    btnConnect_->setText(
        text(st.connectDown ? TextId::QuickStartBtnDisconnect : TextId::QuickStartBtnConnect));
    btnConnect_->setVisible(!onStart);
    btnBack_->setVisible(!onStart);
    btnBack_->setEnabled(!st.connectDown);
    btnNext_->setVisible(st.nextVisible && !onStart);
    btnNext_->setEnabled(st.nextEnabled);
    btnClose_->setEnabled(st.closeEnabled);
    renderStatus(st);
    rendering_ = false;
}

void TfrmWizardStartup::renderStatus(const WizardState& st) {
    switch (st.status) {
        case WizardStatus::Disconnect:
            lblStatus_->setText(text(TextId::QuickStartDisconnect));
            lblStatus_->setStyleSheet(QStringLiteral("color: #616161;"));
            break;
        case WizardStatus::Connecting:
            lblStatus_->setText(text(TextId::QuickStartConnecting));
            lblStatus_->setStyleSheet(st.firstBlinkColour ? QStringLiteral("color: #e65100;")
                                                          : QStringLiteral("color: #9e9e9e;"));
            break;
        case WizardStatus::Connected:
            lblStatus_->setText(text(TextId::QuickStartConnected));
            lblStatus_->setStyleSheet(QStringLiteral("color: #2e7d32;"));
            break;
    }
}

void TfrmWizardStartup::setPage(Page page) {
    pages_->setCurrentIndex(static_cast<int>(page));
    render();
}

TfrmWizardStartup::Page TfrmWizardStartup::page() const {
    return pages_->currentIndex() == 0 ? Page::Start : Page::Connect;
}

void TfrmWizardStartup::setRememberedChoice(int choice) {
    for (std::size_t i = 0; i < btnChoices_.size(); ++i) {
        const bool remembered = static_cast<int>(i) == choice;
        btnChoices_[i]->setDefault(remembered);
        if (remembered) btnChoices_[i]->setFocus();
    }
}

void TfrmWizardStartup::fillPortLists() {
    const int s = flow_.state().sensor;
    const QString typed = cbxPort_->currentText();
    cbxPort_->clear();
    const std::span<const std::string> present = ports_.presentPorts();
    for (const std::string& path : present)
        cbxPort_->addItem(QString::fromStdString(path));
    const std::string stored = ports_.storedPath(s);
    if (present.empty() && stored.empty()) {
        cbxPort_->setEditText(QString::fromLatin1(DeviceDetection::kNotAvailable.data()));
    } else {
        cbxPort_->setEditText(stored.empty() ? (typed.isEmpty() ? cbxPort_->itemText(0) : typed)
                                             : QString::fromStdString(stored));
    }
    cbxRate_->setCurrentIndex(SixRateIndex(ports_.storedRate(s)));
    const std::array<int, 4> address = ports_.storedTcpAddress();
    for (std::size_t i = 0; i < edtOctets_.size(); ++i) {
        edtOctets_[i]->setText(QString::number(address[i]));
    }
    edtTcpPort_->setText(QString::number(ports_.storedTcpPort()));
    udp_.show(ports_.storedUdp());
}

// ---- Reports of the detection ---------------------------------------------------

void TfrmWizardStartup::addResultLine(const QString& line) {
    // The list shows from its first line on, so that a scan shows its progress.
    showResultList();
    lstResults_->addItem(line);
    lstResults_->scrollToBottom();
}

void TfrmWizardStartup::showResultList() {
    lblResults_->setVisible(true);
    lstResults_->setVisible(true);
}

void TfrmWizardStartup::showAutoFields(const QString& port, const QString& rate) {
    edtAutoPort_->setText(port);
    edtAutoRate_->setText(rate);
}

void TfrmWizardStartup::selectScanPort(int freeIndex) {
    const std::span<const std::string> free = ports_.freePorts();
    if (freeIndex < 0 || freeIndex >= static_cast<int>(free.size())) return;
    cbxPort_->setEditText(QString::fromStdString(free[static_cast<std::size_t>(freeIndex)]));
}

void TfrmWizardStartup::selectScanRate(int ratePosition) {
    cbxRate_->setCurrentIndex(ratePosition);
}

void TfrmWizardStartup::setScanTimer(bool running) {
    if (running) {
        timerScan_->start();
    } else {
        timerScan_->stop();
    }
}

void TfrmWizardStartup::setAnimationTimer(bool running) {
    if (running) {
        timerAnimation_->start();
    } else {
        timerAnimation_->stop();
    }
}

WizardInputs TfrmWizardStartup::inputs() const {
    WizardInputs in;
    in.typedPort = cbxPort_->currentText().toStdString();
    in.ratePosition = cbxRate_->currentIndex();
    for (std::size_t i = 0; i < edtOctets_.size(); ++i) {
        in.tcp.octets[i] = edtOctets_[i]->text().toStdString();
    }
    in.tcp.port = edtTcpPort_->text().toStdString();
    in.udp = udp_.fields();
    return in;
}

// ---- User actions -------------------------------------------------------------------

void TfrmWizardStartup::onChoice(StartChoice choice) {
    Q_EMIT startChoiceMade(static_cast<int>(choice));
}

void TfrmWizardStartup::onInputTypeChanged(int index) {
    flow_.setInputType(static_cast<InputType>(index));
    render();
}

void TfrmWizardStartup::onClose() {
    flow_.close();
    hide();
    Q_EMIT wizardClosed();
}

void TfrmWizardStartup::reject() {
    if (btnClose_->isEnabled()) onClose();
}

void TfrmWizardStartup::closeEvent(QCloseEvent* event) {
    if (!btnClose_->isEnabled()) {
        event->ignore();
        return;
    }
    flow_.close();
    Q_EMIT wizardClosed();
    QDialog::closeEvent(event);
}

bool TfrmWizardStartup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblInputSensorPort_ && event->type() == QEvent::MouseButtonDblClick) {
        flow_.labelDoubleClicked();
        render();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace norq::comm
