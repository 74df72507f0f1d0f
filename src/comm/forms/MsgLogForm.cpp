#include "comm/forms/MsgLogForm.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace norq::comm {

namespace {
constexpr int kRefreshMs = 100;
constexpr int kTimeStampMs = 60000;
}  // namespace

TfrmMsgLog::TfrmMsgLog(MessageLog& log, const base::TextStore& texts, ui::Dialogs& dialogs,
                       QWidget* parent)
    : QDialog(parent), log_(log), texts_(texts), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmMsgLog"));
    setWindowFlag(Qt::Window);
    setModal(false);
    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setReadOnly(true);
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo1_->setMaximumBlockCount(static_cast<int>(MessageLog::kMaxLines));
    memo1_->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 9));
    cbxEnableLog_ = new QCheckBox(this);
    cbxEnableLog_->setObjectName(QStringLiteral("cbxEnableLog"));
    cbxAddTimeStamp_ = new QCheckBox(this);
    cbxAddTimeStamp_->setObjectName(QStringLiteral("cbxAddTimeStamp"));
    cbxAddTimeStamp_->hide();
    btnSaveLog_ = new QPushButton(this);
    btnSaveLog_->setObjectName(QStringLiteral("btnSaveLog"));
    btnClearLog_ = new QPushButton(this);
    btnClearLog_->setObjectName(QStringLiteral("btnClearLog"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cbxEnableLog_);
    buttons->addWidget(cbxAddTimeStamp_);
    buttons->addStretch(1);
    buttons->addWidget(btnSaveLog_);
    buttons->addWidget(btnClearLog_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo1_, 1);
    layout->addLayout(buttons);
    resize(560, 380);

    timeStampTimer_ = new QTimer(this);
    timeStampTimer_->setObjectName(QStringLiteral("Timer1"));
    timeStampTimer_->setInterval(kTimeStampMs);
    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(kRefreshMs);

    connect(cbxEnableLog_, &QCheckBox::toggled, this, [this](bool on) {
        log_.setEnabled(on);
        if (on && cbxAddTimeStamp_->isChecked()) addTimeStamp();
    });
    connect(cbxAddTimeStamp_, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) {
            timeStampTimer_->stop();
            return;
        }
        if (cbxEnableLog_->isChecked()) addTimeStamp();
        timeStampTimer_->start();
    });
    connect(timeStampTimer_, &QTimer::timeout, this, [this] {
        if (cbxEnableLog_->isChecked()) addTimeStamp();
    });
    connect(refreshTimer_, &QTimer::timeout, this, &TfrmMsgLog::refresh);
    connect(btnSaveLog_, &QPushButton::clicked, this, &TfrmMsgLog::saveLog);
    connect(btnClearLog_, &QPushButton::clicked, this, &TfrmMsgLog::clearLog);
    log_.setView(this);
    retranslate();
}

TfrmMsgLog::~TfrmMsgLog() {
    log_.setView(nullptr);
}

void TfrmMsgLog::retranslate() {
    auto t = [this](base::TextId id) { return QString::fromStdString(texts_.text(id)); };
    setWindowTitle(t(base::TextId::LogWindowLogWindow));
    cbxEnableLog_->setText(t(base::TextId::LogWindowEnableLog));
    cbxAddTimeStamp_->setText(t(base::TextId::LogWindowAddTimeStamp));
    btnSaveLog_->setText(t(base::TextId::LogWindowSave));
    btnClearLog_->setText(t(base::TextId::LogWindowClear));
}

void TfrmMsgLog::showAt(const QPoint& bottomRight) {
    const QSize size = frameGeometry().size();
    move(bottomRight.x() - size.width(), bottomRight.y() - size.height());
    showNormal();
    raise();
    refresh();
}

void TfrmMsgLog::onLogChanged() {
    if (!refreshTimer_->isActive()) refreshTimer_->start();
}

void TfrmMsgLog::refresh() {
    std::uint64_t fresh = log_.added() - shownAdded_;
    if (log_.clears() != shownClears_) {
        // Cleared since: the text starts again with what the log holds now.
        memo1_->clear();
        fresh = log_.size();
    }
    const std::size_t first =
        fresh >= log_.size() ? 0 : log_.size() - static_cast<std::size_t>(fresh);
    if (first < log_.size()) {
        QString text;
        for (std::size_t i = first; i < log_.size(); ++i) {
            if (!text.isEmpty()) text += QLatin1Char('\n');
            text +=
                QString::fromUtf8(log_.line(i).data(), static_cast<qsizetype>(log_.line(i).size()));
        }
        QScrollBar* bar = memo1_->verticalScrollBar();
        const bool atEnd = bar->value() == bar->maximum();
        memo1_->appendPlainText(text);
        if (atEnd) bar->setValue(bar->maximum());
    }
    shownAdded_ = log_.added();
    shownClears_ = log_.clears();
}

QString TfrmMsgLog::shownText() const {
    return memo1_->toPlainText();
}

void TfrmMsgLog::addTimeStamp() {
    log_.add(QDateTime::currentDateTime().toString(stampFormat_).toStdString());
}

void TfrmMsgLog::saveLog() {
    const QString file = dialogs_.saveFileName(
        this, QString(),
        QStringLiteral("Debug Log File (*.TXT);;Test Log File (*.PTS);;GPS Log File (*.PTS)"),
        QStringLiteral("TXT"));
    if (file.isEmpty()) return;
    if (QFileInfo::exists(file)) {
        const ui::MessageAnswer answer =
            dialogs_.message(this, QStringLiteral("WARNING"),
                             QStringLiteral("File already exists. Do you want to overwrite?"),
                             ui::MessageIcon::Warning, ui::MessageButtons::YesNo);
        if (answer != ui::MessageAnswer::Yes) return;
    }
    if (!log_.saveTo(file.toStdString())) {
        dialogs_.message(this, QString::fromStdString(texts_.text(base::TextId::OtherMsgError)),
                         QStringLiteral("The log could not be written to ") + file,
                         ui::MessageIcon::Error, ui::MessageButtons::Ok);
        return;
    }
    if (onSaved_) onSaved_(file);
}

void TfrmMsgLog::clearLog() {
    const ui::MessageAnswer answer = dialogs_.message(
        this, QStringLiteral("Warning"), QStringLiteral("Are you sure to clear log?"),
        ui::MessageIcon::Warning, ui::MessageButtons::OkCancel);
    if (answer != ui::MessageAnswer::Ok) return;
    log_.clear();
    refresh();
}

}  // namespace norq::comm
