#include "messaging/forms/SrmForms.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "ais/TargetTexts.h"
#include "ui/Timers.h"

namespace norq::messaging {

namespace {

using base::TextId;

QString Text(const base::TextStore& texts, TextId id) {
    return QString::fromStdString(texts.text(id));
}

QTableWidget* MakeGrid(QWidget* parent, const char* name, std::initializer_list<int> widths) {
    auto* grid = new QTableWidget(0, static_cast<int>(widths.size()), parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    int c = 0;
    for (int w : widths)
        grid->setColumnWidth(c++, w);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QString StateText(const base::TextStore& texts, SrmState s) {
    switch (s) {
        case SrmState::Sent:
            return Text(texts, TextId::SrmStateSent);
        case SrmState::Failed:
            return Text(texts, TextId::SrmStateFailed);
        case SrmState::Confirmed:
            return Text(texts, TextId::SrmStateConfirmed);
        case SrmState::ReceivedTest:
            return Text(texts, TextId::SrmStateTest);
        case SrmState::Received:
            break;
    }
    return {};
}

// The designed widths, widened where this font needs more room.
void Widen(QTableWidget* grid, std::initializer_list<int> widths) {
    int c = 0;
    for (int w : widths) {
        grid->resizeColumnToContents(c);
        if (grid->columnWidth(c) < w) grid->setColumnWidth(c, w);
        ++c;
    }
    grid->resizeRowsToContents();
}

}  // namespace

// ---- SRM log -----------------------------------------------------------------

TfrmSRMRecordBox::TfrmSRMRecordBox(const base::TextStore& texts, const SafetyMessages& srm,
                                   QWidget* parent)
    : QDialog(parent), texts_(texts), srm_(srm) {
    setObjectName(QStringLiteral("frmSRMRecordBox"));
    pageControlMailBox_ = new QStackedWidget(this);
    pageControlMailBox_->setObjectName(QStringLiteral("PageControlMailBox"));
    inBox_ = MakeGrid(this, "StringGridInBox", {28, 70, 70, 70, 150});
    // The out-box says whether each message went out: sent, failed or confirmed.
    outBox_ = MakeGrid(this, "StringGridOutBox", {28, 70, 70, 150, 80});
    pageControlMailBox_->addWidget(inBox_);
    pageControlMailBox_->addWidget(outBox_);
    speedButtonClose_ = new QPushButton(this);
    speedButtonClose_->setObjectName(QStringLiteral("SpeedButtonClose"));
    connect(speedButtonClose_, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pageControlMailBox_, 1);
    layout->addWidget(speedButtonClose_, 0, Qt::AlignRight);
    resize(460, 320);
    retranslate();
}

void TfrmSRMRecordBox::retranslate() {
    setWindowTitle(Text(texts_, TextId::SrmSrmRecordDialog));
    inBox_->setHorizontalHeaderLabels({Text(texts_, TextId::SrmNo), Text(texts_, TextId::SrmDate),
                                       Text(texts_, TextId::SrmTime), Text(texts_, TextId::SrmMmsi),
                                       Text(texts_, TextId::SrmMessage)});
    outBox_->setHorizontalHeaderLabels(
        {Text(texts_, TextId::SrmNo), Text(texts_, TextId::SrmDate), Text(texts_, TextId::SrmTime),
         Text(texts_, TextId::SrmMessage), Text(texts_, TextId::SrmStatus)});
    speedButtonClose_->setText(Text(texts_, TextId::SrmBuutonClose));
}

void TfrmSRMRecordBox::fillRow(QTableWidget* grid, int row, const SrmMessage& m, bool withMmsi) {
    const ais::CellText stamp = ais::DateTimeText(m.date, m.time, datePattern_);
    const QString dateTime = QString::fromUtf8(stamp.c_str());
    const int split = dateTime.lastIndexOf(QLatin1Char(' '));
    QStringList cells{QString::number(row + 1), dateTime.left(split), dateTime.mid(split + 1)};
    if (withMmsi) cells << QString::asprintf("%09u", m.mmsi);
    QString text = QString::fromUtf8(m.text.data());
    if (m.state == SrmState::ReceivedTest)
        text = Text(texts_, TextId::SrmMarkTest) + QLatin1Char(' ') + text;
    cells << text;
    if (!withMmsi) cells << StateText(texts_, m.state);
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        if (m.state == SrmState::ReceivedTest) item->setForeground(Qt::darkGray);
        if (m.state == SrmState::Failed) item->setForeground(Qt::red);
        grid->setItem(row, c, item);
    }
}

void TfrmSRMRecordBox::refreshInBox() {
    const SrmBox& box = srm_.inBox();
    inBox_->setRowCount(box.count());
    for (int i = 0; i < box.count(); ++i)
        fillRow(inBox_, i, box[i], true);
    Widen(inBox_, {28, 70, 70, 70, 150});
}

void TfrmSRMRecordBox::refreshOutBox() {
    const SrmBox& box = srm_.outBox();
    outBox_->setRowCount(box.count());
    for (int i = 0; i < box.count(); ++i)
        fillRow(outBox_, i, box[i], false);
    Widen(outBox_, {28, 70, 70, 150, 80});
}

void TfrmSRMRecordBox::showPage(int page) {
    refreshInBox();
    refreshOutBox();
    pageControlMailBox_->setCurrentIndex(page);
    show();
    raise();
}

int TfrmSRMRecordBox::currentPage() const {
    return pageControlMailBox_->currentIndex();
}

// ---- Alert dialog --------------------------------------------------------------

TfrmSRMAlertDialog::TfrmSRMAlertDialog(const base::TextStore& texts, SafetyMessages& srm,
                                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), texts_(texts), srm_(srm) {
    setObjectName(QStringLiteral("frmSRMAlertDialog"));
    lblAlramTextMsg_ = new QLabel(this);
    lblAlramTextMsg_->setObjectName(QStringLiteral("lblAlramTextMsg"));
    lblAlramTextMsg_->setAlignment(Qt::AlignCenter);
    lblAlramTextMsg_->setStyleSheet(
        QStringLiteral("color: red; font-size: 22px; font-weight: bold"));
    lblAlramTextNote_ = new QLabel(this);
    lblAlramTextNote_->setObjectName(QStringLiteral("lblAlramTextNote"));
    lblAlramTextNote_->setWordWrap(true);
    lblAlramTextNote_->setMinimumWidth(320);
    btnOpen_ = new QPushButton(this);
    btnOpen_->setObjectName(QStringLiteral("btnOpen"));
    btnClose_ = new QPushButton(this);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    connect(btnOpen_, &QPushButton::clicked, this, &TfrmSRMAlertDialog::onOpen);
    connect(btnClose_, &QPushButton::clicked, this, &TfrmSRMAlertDialog::onClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblAlramTextMsg_);
    layout->addWidget(lblAlramTextNote_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnOpen_);
    buttons->addWidget(btnClose_);
    layout->addLayout(buttons);
    timer_ = ui::MakeWindowTimer(this, "Timer1", 1000, [this] { TimerBlinkTimer(); });
    retranslate();
}

void TfrmSRMAlertDialog::retranslate() {
    setWindowTitle(Text(texts_, TextId::AisSrmAlertDialogSrmAlert));
    lblAlramTextMsg_->setText(Text(texts_, TextId::AisSrmAlertDialogSrmAlert));
    btnClose_->setText(Text(texts_, TextId::AisSrmAlertDialogClose));
    setAlert(count_, lblAlramTextNote_->text().toStdString());
}

void TfrmSRMAlertDialog::setAlert(int count, std::string_view note) {
    count_ = count;
    lblAlramTextNote_->setText(QString::fromUtf8(note.data(), static_cast<qsizetype>(note.size())));
    btnOpen_->setText(
        QStringLiteral("%1  %2").arg(Text(texts_, TextId::AisSrmAlertDialogOpen)).arg(count));
}

void TfrmSRMAlertDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    blink_ = 0;
    lblAlramTextMsg_->setVisible(true);
    timer_->start();
}

void TfrmSRMAlertDialog::TimerBlinkTimer() {
    blink_ = (blink_ + 1) % 10;
    lblAlramTextMsg_->setVisible(blink_ % 2 == 0);
}

bool TfrmSRMAlertDialog::alertTextShown() const {
    return lblAlramTextMsg_->isVisibleTo(this);
}

QString TfrmSRMAlertDialog::noteText() const {
    return lblAlramTextNote_->text();
}

QString TfrmSRMAlertDialog::openText() const {
    return btnOpen_->text();
}

void TfrmSRMAlertDialog::onOpen() {
    timer_->stop();
    srm_.clearAlert();
    if (onOpen_) onOpen_();
    close();
}

void TfrmSRMAlertDialog::onClose() {
    timer_->stop();
    srm_.clearAlert();
    close();
}

// ---- Send dialog ---------------------------------------------------------------

TfrmSRM::TfrmSRM(const base::TextStore& texts, SafetyMessages& srm, QWidget* parent)
    : QDialog(parent), texts_(texts), srm_(srm) {
    setObjectName(QStringLiteral("frmSRM"));
    lblSelectMsg_ = new QLabel(this);
    lblSelectMsg_->setObjectName(QStringLiteral("lblSelectMsg"));
    lblSelectMsg_->setWordWrap(true);
    lstboxSrmMsg_ = new QListWidget(this);
    lstboxSrmMsg_->setObjectName(QStringLiteral("lstboxSRM_Msg"));
    for (std::string_view text : kPredefinedSrm)
        lstboxSrmMsg_->addItem(QString::fromLatin1(text.data(), static_cast<int>(text.size())));
    edtSrmMsg_ = new QLineEdit(this);
    edtSrmMsg_->setObjectName(QStringLiteral("edtSRM_Msg"));
    edtSrmMsg_->setMaxLength(static_cast<int>(kSrmSendLength));
    // The six-bit character set of AIS text: letters, digits and punctuation.
    edtSrmMsg_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[ -_a-z]*")), edtSrmMsg_));
    bitBtnSendMsg_ = new QPushButton(this);
    bitBtnSendMsg_->setObjectName(QStringLiteral("BitBtnSendMsg"));
    bitBtnCancel_ = new QPushButton(this);
    bitBtnCancel_->setObjectName(QStringLiteral("BitBtnCancel"));
    labelWarningInfo_ = new QLabel(this);
    labelWarningInfo_->setObjectName(QStringLiteral("LabelWarningInfo"));
    labelWarningInfo_->setWordWrap(true);
    labelWarningInfo_->setStyleSheet(QStringLiteral("color: #a00000"));
    connect(lstboxSrmMsg_, &QListWidget::currentTextChanged, edtSrmMsg_, &QLineEdit::setText);
    connect(bitBtnSendMsg_, &QPushButton::clicked, this, &TfrmSRM::onSend);
    connect(bitBtnCancel_, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSelectMsg_);
    layout->addWidget(lstboxSrmMsg_, 1);
    layout->addWidget(edtSrmMsg_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bitBtnSendMsg_);
    buttons->addWidget(bitBtnCancel_);
    layout->addLayout(buttons);
    layout->addWidget(labelWarningInfo_);
    lstboxSrmMsg_->setCurrentRow(0);
    resize(380, 420);
    retranslate();
}

void TfrmSRM::retranslate() {
    setWindowTitle(Text(texts_, TextId::SrmDialogCaption));
    lblSelectMsg_->setText(Text(texts_, TextId::SrmPrompt));
    bitBtnSendMsg_->setText(Text(texts_, TextId::SrmSendMessage));
    bitBtnCancel_->setText(Text(texts_, TextId::SrmExit));
    labelWarningInfo_->setText(Text(texts_, TextId::SrmWarningInfo));
}

void TfrmSRM::onSend() {
    srm_.SendFromDialog(edtSrmMsg_->text().toStdString());
    if (onSent_) onSent_();
}

}  // namespace norq::messaging
