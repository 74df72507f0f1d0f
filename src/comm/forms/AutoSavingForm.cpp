#include "comm/forms/AutoSavingForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace norq::comm {

namespace {

constexpr std::array<base::TextId, kAutoSavingPeriodCount> kPeriods{
    base::TextId::AutosavingWindowPerdioc1, base::TextId::AutosavingWindowPerdioc2,
    base::TextId::AutosavingWindowPerdioc3, base::TextId::AutosavingWindowPerdioc4,
    base::TextId::AutosavingWindowPerdioc5, base::TextId::AutosavingWindowPerdioc6,
    base::TextId::AutosavingWindowPerdioc7};

constexpr std::array<base::TextId, 6> kChecks{
    base::TextId::AutosavingWindowStatusSucess, base::TextId::AutosavingWindowStatus1,
    base::TextId::AutosavingWindowStatus2,      base::TextId::AutosavingWindowStatus3,
    base::TextId::AutosavingWindowStatus4,      base::TextId::AutosavingWindowStatus5};

QDate ToQDate(const ais::DateStamp& d) {
    return {d.year, d.month, d.day};
}
QTime ToQTime(const ais::TimeStamp& t) {
    return {t.hour, t.minute, t.second};
}
ais::LocalDateTime FromPickers(const QDate& date, const QTime& time) {
    ais::LocalDateTime t;
    t.date = {static_cast<std::int16_t>(date.year()), static_cast<std::uint8_t>(date.month()),
              static_cast<std::uint8_t>(date.day())};
    t.time = {static_cast<std::uint8_t>(time.hour()), static_cast<std::uint8_t>(time.minute()),
              static_cast<std::uint8_t>(time.second())};
    return t;
}

}  // namespace

TfrmAutoSaving::TfrmAutoSaving(AutoSaving& saving, const ais::Clock& clock,
                               const base::TextStore& texts, ui::Dialogs& dialogs,
                               const QString& dataFolder, QWidget* parent)
    : QDialog(parent), saving_(saving), clock_(clock), texts_(texts), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmAutoSaving"));
    auto named = [this](auto* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    comboBoxRecordTime_ = named(new QComboBox(this), "ComboBoxRecordTime");
    startDate_ = named(new QDateEdit(this), "DateTimePickerStartDate");
    startTime_ = named(new QTimeEdit(this), "DateTimePickerStartTime");
    checkBoxStart_ = named(new QCheckBox(this), "CheckBoxStart");
    endDate_ = named(new QDateEdit(this), "DateTimePickerEndDate");
    endTime_ = named(new QTimeEdit(this), "DateTimePickerEndTime");
    checkBoxEnd_ = named(new QCheckBox(this), "CheckBoxEnd");
    editFileNameSetting_ = named(new QLineEdit(this), "EditFileNameSetting");
    btnBrowse_ = named(new QPushButton(QStringLiteral("..."), this), "btnBrowse");
    checkBoxAutoSave_ = named(new QCheckBox(this), "CheckBoxAutoSave");
    lblSummary_ = named(new QLabel(this), "lblSummary");
    btnOk_ = named(new QPushButton(this), "btnOK");
    btnCancel_ = named(new QPushButton(this), "btnCancel");
    for (QDateEdit* date : {startDate_, endDate_}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    }
    for (QTimeEdit* time : {startTime_, endTime_})
        time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    for (QLabel*& caption : captions_)
        caption = new QLabel(this);
    layOut();

    // Created once at start-up: today and tomorrow at the time of day.
    const ais::LocalDateTime now = clock_.localNow();
    startDate_->setDate(ToQDate(now.date));
    startTime_->setTime(ToQTime(now.time));
    endDate_->setDate(ToQDate(now.date).addDays(1));
    endTime_->setTime(ToQTime(now.time));
    editFileNameSetting_->setText(dataFolder + QStringLiteral("FileName"));
    retranslate();
    comboBoxRecordTime_->setCurrentIndex(kDefaultAutoSavingPeriod);
    connectControls();
    updateSummary();
}

void TfrmAutoSaving::layOut() {
    auto* grid = new QGridLayout;
    grid->addWidget(captions_[0], 0, 0);
    grid->addWidget(comboBoxRecordTime_, 0, 1, 1, 3);
    grid->addWidget(captions_[1], 1, 0);
    grid->addWidget(startDate_, 1, 1);
    grid->addWidget(startTime_, 1, 2);
    grid->addWidget(checkBoxStart_, 1, 3);
    grid->addWidget(captions_[2], 2, 0);
    grid->addWidget(endDate_, 2, 1);
    grid->addWidget(endTime_, 2, 2);
    grid->addWidget(checkBoxEnd_, 2, 3);
    grid->addWidget(captions_[3], 3, 0);
    grid->addWidget(editFileNameSetting_, 3, 1, 1, 2);
    grid->addWidget(btnBrowse_, 3, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(checkBoxAutoSave_);
    buttons->addStretch(1);
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(lblSummary_);
    layout->addLayout(buttons);
    lblSummary_->setWordWrap(true);
}

void TfrmAutoSaving::connectControls() {
    connect(checkBoxStart_, &QCheckBox::toggled, this, [this](bool on) {
        startDate_->setEnabled(!on);
        startTime_->setEnabled(!on);
        updateSummary();
    });
    connect(checkBoxEnd_, &QCheckBox::toggled, this, [this](bool on) {
        endDate_->setEnabled(!on);
        endTime_->setEnabled(!on);
        updateSummary();
    });
    for (QDateEdit* date : {startDate_, endDate_})
        connect(date, &QDateEdit::dateChanged, this, &TfrmAutoSaving::updateSummary);
    for (QTimeEdit* time : {startTime_, endTime_})
        connect(time, &QTimeEdit::timeChanged, this, &TfrmAutoSaving::updateSummary);
    connect(editFileNameSetting_, &QLineEdit::textChanged, this, &TfrmAutoSaving::updateSummary);
    connect(comboBoxRecordTime_, &QComboBox::currentIndexChanged, this,
            &TfrmAutoSaving::updateSummary);
    connect(checkBoxAutoSave_, &QCheckBox::toggled, this, &TfrmAutoSaving::updateSummary);
    connect(btnBrowse_, &QPushButton::clicked, this, &TfrmAutoSaving::browse);
    connect(btnOk_, &QPushButton::clicked, this, [this] {
        if (accept_()) accept();
    });
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAutoSaving::retranslate() {
    auto t = [this](base::TextId id) { return QString::fromStdString(texts_.text(id)); };
    setWindowTitle(t(base::TextId::AutosavingWindowAutoSaving));
    const int period = comboBoxRecordTime_->currentIndex();
    comboBoxRecordTime_->blockSignals(true);
    comboBoxRecordTime_->clear();
    for (base::TextId id : kPeriods)
        comboBoxRecordTime_->addItem(t(id));
    comboBoxRecordTime_->setCurrentIndex(period < 0 ? kDefaultAutoSavingPeriod : period);
    comboBoxRecordTime_->blockSignals(false);
    captions_[0]->setText(t(base::TextId::AutosavingWindowRecordTime));
    captions_[1]->setText(t(base::TextId::AutosavingWindowStartTime));
    captions_[2]->setText(t(base::TextId::AutosavingWindowEndTime));
    captions_[3]->setText(t(base::TextId::AutosavingWindowFileName));
    checkBoxStart_->setText(t(base::TextId::AutosavingWindowNow));
    checkBoxEnd_->setText(t(base::TextId::AutosavingWindowForever));
    checkBoxAutoSave_->setText(t(base::TextId::AutosavingWindowEnabled));
    btnOk_->setText(t(base::TextId::AutosavingWindowOk));
    btnCancel_->setText(t(base::TextId::AutosavingWindowCancel));
    updateSummary();
}

AutoSavingForm TfrmAutoSaving::form() const {
    AutoSavingForm f;
    f.periodIndex = comboBoxRecordTime_->currentIndex();
    f.startNow = checkBoxStart_->isChecked();
    f.start = FromPickers(startDate_->date(), startTime_->time());
    f.forever = checkBoxEnd_->isChecked();
    f.end = FromPickers(endDate_->date(), endTime_->time());
    f.fileName = editFileNameSetting_->text().toStdString();
    f.enabled = checkBoxAutoSave_->isChecked();
    return f;
}

AutoSavingCheck TfrmAutoSaving::check() const {
    return CheckAutoSavingForm(form(), clock_.localNow());
}

QString TfrmAutoSaving::summaryText() const {
    return lblSummary_->text();
}

void TfrmAutoSaving::updateSummary() {
    if (lblSummary_ == nullptr || comboBoxRecordTime_->count() == 0) return;
    const AutoSavingCheck result = check();
    lblSummary_->setText(QString::fromStdString(texts_.text(kChecks[static_cast<int>(result)])));
    QPalette palette = lblSummary_->palette();
    palette.setColor(QPalette::WindowText, result == AutoSavingCheck::Ok
                                               ? this->palette().color(QPalette::WindowText)
                                               : QColor(Qt::red));
    lblSummary_->setPalette(palette);
}

void TfrmAutoSaving::browse() {
    const QString file = dialogs_.saveFileName(this, QString(), QStringLiteral("Text Log (*.TXT)"),
                                               QStringLiteral("TXT"));
    if (!file.isEmpty()) editFileNameSetting_->setText(file);
}

bool TfrmAutoSaving::accept_() {
    auto t = [this](base::TextId id) { return QString::fromStdString(texts_.text(id)); };
    if (check() != AutoSavingCheck::Ok) {
        dialogs_.message(this, t(base::TextId::OtherMsgWarning),
                         t(base::TextId::AutosavingWindowShowMessage2), ui::MessageIcon::Warning,
                         ui::MessageButtons::Ok);
        return false;
    }
    if (!checkBoxAutoSave_->isChecked()) {
        const ui::MessageAnswer answer =
            dialogs_.message(this, t(base::TextId::AutosavingWindowShowTitle1),
                             t(base::TextId::AutosavingWindowShowMessage1),
                             ui::MessageIcon::Question, ui::MessageButtons::OkCancel);
        if (answer != ui::MessageAnswer::Ok) return false;
    }
    saving_.apply(form());
    return true;
}

}  // namespace norq::comm
