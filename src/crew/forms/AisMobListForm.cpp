#include "crew/forms/AisMobListForm.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "crew/DrillReport.h"
#include "ui/ClassAlertSound.h"
#include "ui/Dialogs.h"
#include "ui/GridPalette.h"
#include "ui/Timers.h"

namespace norq::crew {

namespace {

using base::TextId;

constexpr int kColumns = 8;
constexpr std::array<int, kColumns> kWidths{68, 80, 74, 76, 60, 56, 140, 140};
constexpr std::array<TextId, kColumns> kHeaders{
    TextId::AisMobListMmsi,      TextId::AisMobListName,    TextId::AisMobListLat,
    TextId::AisMobListLon,       TextId::AisMobListRange,   TextId::AisMobListBearing,
    TextId::AisMobListFirstdate, TextId::AisMobListLastdate};
// The drill device repeats its report as a real one does, once a minute.
constexpr int kDrillReportTicks = 60;

QString Text(const base::TextStore& texts, TextId id) {
    return QString::fromStdString(texts.text(id));
}

}  // namespace

QString AlarmSilentText(const base::TextStore& texts, const ui::ClassAlertSound& sound) {
    switch (sound.silentCause()) {
        case ui::ClassAlertSound::SilentCause::NoOutput:
            return Text(texts, TextId::AisMobListNoAudio);
        case ui::ClassAlertSound::SilentCause::SoundFile:
            return Text(texts, TextId::AisMobListSoundFailed) + QLatin1Char(' ') +
                   sound.playingFile();
        case ui::ClassAlertSound::SilentCause::None:
            break;
    }
    return {};
}

// ---- Device edit dialog ---------------------------------------------------------

TfrmAISMOBDeviceEdit::TfrmAISMOBDeviceEdit(const base::TextStore& texts, const AisMobList& list,
                                           QWidget* parent)
    : QDialog(parent), texts_(texts), list_(list) {
    setObjectName(QStringLiteral("frmAISMOBDeviceEdit"));
    labelMmsi_ = new QLabel(QStringLiteral("MMSI"), this);
    labelName_ = new QLabel(QStringLiteral("Name"), this);
    labeledEditMmsi_ = new QLineEdit(this);
    labeledEditMmsi_->setObjectName(QStringLiteral("LabeledEditMMSI"));
    labeledEditMmsi_->setMaxLength(9);
    labeledEditName_ = new QLineEdit(this);
    labeledEditName_->setObjectName(QStringLiteral("LabeledEditName"));
    labeledEditName_->setMaxLength(kAisMobNameLength);
    // The name is kept in a comma-separated file: commas and line breaks would
    // break it, so they cannot be typed or pasted.
    labeledEditName_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^,\\r\\n\\t]*")), labeledEditName_));
    labelWarningText_ = new QLabel(this);
    labelWarningText_->setObjectName(QStringLiteral("LabelWarningText"));
    labelWarningText_->setStyleSheet(QStringLiteral("color: red"));
    labelWarningText_->setWordWrap(true);
    btnOk_ = new QPushButton(QStringLiteral("OK"), this);
    btnCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labelMmsi_);
    layout->addWidget(labeledEditMmsi_);
    layout->addWidget(labelName_);
    layout->addWidget(labeledEditName_);
    layout->addWidget(labelWarningText_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    layout->addLayout(buttons);
    connect(btnOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    timer_ = ui::MakeWindowTimer(this, "Timer1", 300, [this] { validate(); });
    retranslate();
}

void TfrmAISMOBDeviceEdit::retranslate() {
    setWindowTitle(Text(texts_, TextId::AisMobDeviceEditAisDeviceEdit));
    bits_ = -1;
}

void TfrmAISMOBDeviceEdit::validate() {
    const std::string mmsi = labeledEditMmsi_->text().toStdString();
    int bits = ValidateAisMobMmsi(mmsi, mmsiEditable_, list_);
    if (bits == bits_) return;
    bits_ = bits;
    const std::array<std::string, 5> messages{texts_.text(TextId::AisMobDeviceEditWarningMessage1),
                                              texts_.text(TextId::AisMobDeviceEditWarningMessage2),
                                              texts_.text(TextId::AisMobDeviceEditWarningMessage3),
                                              texts_.text(TextId::AisMobDeviceEditWarningMessage4),
                                              texts_.text(TextId::AisMobDeviceEditWarningMessage5)};
    labelWarningText_->setText(QString::fromStdString(AisMobWarningText(bits, messages)));
    btnOk_->setEnabled(bits == 0);
}

QString TfrmAISMOBDeviceEdit::warningText() const {
    return labelWarningText_->text();
}

bool TfrmAISMOBDeviceEdit::okEnabled() const {
    return btnOk_->isEnabled();
}

bool TfrmAISMOBDeviceEdit::edit(bool mmsiEditable, std::uint32_t& mmsi, std::string& name) {
    mmsiEditable_ = mmsiEditable;
    labeledEditMmsi_->setReadOnly(!mmsiEditable);
    labeledEditMmsi_->setText(QString::asprintf("%09u", mmsi));
    labeledEditName_->setText(QString::fromStdString(name));
    bits_ = -1;
    validate();
    timer_->start();
    const bool ok = exec() == QDialog::Accepted;
    timer_->stop();
    validate();
    if (!ok || bits_ != 0) return false;
    mmsi = labeledEditMmsi_->text().toUInt();
    name = labeledEditName_->text().toStdString();
    return NameAllowedInCsv(name);
}

// ---- List window --------------------------------------------------------------

TfrmAISMOBList::TfrmAISMOBList(const base::TextStore& texts, AisMobList& list,
                               ui::ClassAlertSound& sound, ui::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), texts_(texts), list_(list), sound_(sound), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmAISMOBList"));
    editor_ = new TfrmAISMOBDeviceEdit(texts, list, this);
    buildLayout();
    list_.setView(this);
    timer1_ = ui::MakeWindowTimer(this, "Timer1", 1000, [this] { Timer1Timer(); });
    timer1_->start();
    connect(&sound_, &ui::ClassAlertSound::audibilityChanged, this, [this] {
        if (list_.alarmRows() > 0) labelSound_->setText(AlarmSilentText(texts_, sound_));
    });
    retranslate();
    refillGrid();
    resize(760, 300);
}

void TfrmAISMOBList::buildLayout() {
    grid_ = new QTableWidget(1, kColumns, this);
    grid_->setObjectName(QStringLiteral("StringGrid_MOBList"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(20);
    for (int c = 0; c < kColumns; ++c)
        grid_->setColumnWidth(c, kWidths[c]);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { selectRow(row); });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TfrmAISMOBList::onHeaderClicked);

    panelInformation_ = new QWidget(this);
    panelInformation_->setObjectName(QStringLiteral("PanelInformation"));
    auto* info = new QHBoxLayout(panelInformation_);
    labelAlert_ = new QLabel(panelInformation_);
    labelAlert_->setObjectName(QStringLiteral("LabelAlert"));
    labelAlert_->setStyleSheet(QStringLiteral("color: red; font-weight: bold; font-size: 16px"));
    info->addWidget(labelAlert_);
    panelInformation_->hide();

    labelSound_ = new QLabel(this);
    labelSound_->setObjectName(QStringLiteral("LabelSoundState"));
    labelSound_->setStyleSheet(QStringLiteral("color: red"));
    btnTestAlarm_ = new QPushButton(this);
    btnTestAlarm_->setObjectName(QStringLiteral("btnTestAlarm"));
    connect(btnTestAlarm_, &QPushButton::clicked, this, &TfrmAISMOBList::onTestAlarm);
    auto* top = new QHBoxLayout;
    top->addWidget(panelInformation_, 1);
    top->addWidget(labelSound_);
    top->addWidget(btnTestAlarm_);

    buttonBar_ = new QWidget(this);
    buttonBar_->setMinimumHeight(36);
    auto button = [this](const char* name, void (TfrmAISMOBList::*slot)()) {
        auto* b = new QPushButton(buttonBar_);
        b->setObjectName(QString::fromLatin1(name));
        b->resize(88, 28);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    btnAdd_ = button("btnAdd", &TfrmAISMOBList::onAdd);
    btnEdit_ = button("btnEdit", &TfrmAISMOBList::onEdit);
    btnDelete_ = button("btnDelete", &TfrmAISMOBList::onDelete);
    btnConfirm_ = button("btnConfirm", &TfrmAISMOBList::onSilent);

    popup_ = new QMenu(this);
    menuAdd_ = popup_->addAction(QString(), this, &TfrmAISMOBList::onAdd);
    menuAdd_->setObjectName(QStringLiteral("menuAdd"));
    menuEdit_ = popup_->addAction(QString(), this, &TfrmAISMOBList::onEdit);
    menuEdit_->setObjectName(QStringLiteral("menuEdit"));
    menuDelete_ = popup_->addAction(QString(), this, &TfrmAISMOBList::onDelete);
    menuDelete_->setObjectName(QStringLiteral("menuDelete"));
    menuConfirm_ = popup_->addAction(QString(), this, &TfrmAISMOBList::onSilent);
    menuConfirm_->setObjectName(QStringLiteral("menuConfirm"));
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(grid_->viewport()->mapToGlobal(at)); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addWidget(buttonBar_);
}

void TfrmAISMOBList::retranslate() {
    setWindowTitle(Text(texts_, TextId::AisMobListAisMobList));
    QStringList headers;
    for (TextId id : kHeaders)
        headers << Text(texts_, id);
    grid_->setHorizontalHeaderLabels(headers);
    btnAdd_->setText(Text(texts_, TextId::AisMobListAdd));
    btnEdit_->setText(Text(texts_, TextId::AisMobListEdit));
    btnDelete_->setText(Text(texts_, TextId::AisMobListDelete));
    btnConfirm_->setText(Text(texts_, TextId::AisMobListSilent));
    menuAdd_->setText(btnAdd_->text());
    menuEdit_->setText(btnEdit_->text());
    menuDelete_->setText(btnDelete_->text());
    menuConfirm_->setText(btnConfirm_->text());
    drillButtonState_ = list_.drillRunning() ? 1 : list_.anyDrill() ? 2 : 0;
    btnTestAlarm_->setText(Text(texts_, drillButtonState_ == 1   ? TextId::AisMobListStopTest
                                        : drillButtonState_ == 2 ? TextId::AisMobListEndTest
                                                                 : TextId::AisMobListTestAlarm));
    editor_->retranslate();
    // The rows' marks and the caution are texts of the language too.
    refillGrid();
    if (panelInformation_->isVisible())
        showCaution(true, labelAlert_->property("cautionShown").toBool());
}

void TfrmAISMOBList::loadFile() {
    if (!file_.empty()) list_.Load(file_);
    refillGrid();
}

void TfrmAISMOBList::Timer1Timer() {
    if (list_.drillRunning() && ++drillReports_ >= kDrillReportTicks) {
        drillReports_ = 0;
        feedDrillReport();
    }
    list_.Timer1Tick();
    // The drill's alarm may have expired: the button follows.
    const int state = list_.drillRunning() ? 1 : list_.anyDrill() ? 2 : 0;
    if (state != drillButtonState_) retranslate();
}

void TfrmAISMOBList::refillGrid() {
    grid_->setRowCount(std::max(1, list_.count()));
    for (int row = 0; row < grid_->rowCount(); ++row)
        fillRow(row);
    colourRows();
    // The designed widths, widened where this font needs more room.
    for (int c = 0; c < kColumns; ++c) {
        grid_->resizeColumnToContents(c);
        if (grid_->columnWidth(c) < kWidths[c]) grid_->setColumnWidth(c, kWidths[c]);
    }
}

void TfrmAISMOBList::rewriteRow(int entry) {
    if (entry >= grid_->rowCount()) {
        refillGrid();
        return;
    }
    fillRow(entry);
    colourRows();
}

void TfrmAISMOBList::fillRow(int row) {
    for (int c = 0; c < kColumns; ++c) {
        QString text;
        if (row < list_.count()) {
            const AisMobEntry& e = list_.entry(row);
            text = QString::fromStdString(AisMobCellText(e, c, datePattern_));
            // Rows the file does not hold say why they are listed.
            if (c == 1 && e.drill)
                text = Text(texts_, TextId::AisMobListMarkTest) + QLatin1Char(' ') + text;
            if (c == 1 && !e.registered && !e.drill)
                text = Text(texts_, TextId::AisMobListMarkUnregistered) + QLatin1Char(' ') + text;
        }
        QTableWidgetItem* item = grid_->item(row, c);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            grid_->setItem(row, c, item);
        }
        if (item->text() != text) item->setText(text);
    }
}

void TfrmAISMOBList::colourRows() {
    const ui::GridPalette palette;
    const int alarms = list_.alarmRows();
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const bool alarm = row < list_.count() && list_.entry(row).status != MobStatus::Quiet;
        const bool drill = alarm && list_.entry(row).drill;
        QColor back = row % 2 == 0 ? palette.whiteFill : palette.panel;
        QColor fore = palette.outline;
        if (alarm || row < alarms) {
            // A drill row is striped orange, so that it never passes for a real alarm.
            back = drill ? QColor(0xFF, 0x8C, 0x00) : palette.alarm;
            fore = palette.whiteFill;
        }
        for (int c = 0; c < kColumns; ++c) {
            QTableWidgetItem* item = grid_->item(row, c);
            if (item == nullptr) continue;
            item->setBackground(back);
            item->setForeground(fore);
        }
    }
    grid_->setStyleSheet(QStringLiteral("QTableWidget::item:selected { background: %1; color: %2 }")
                             .arg(palette.grey.name(), palette.whiteFill.name()));
}

void TfrmAISMOBList::alarmRowsChanged(int) {
    colourRows();
    updateButtons();
}

void TfrmAISMOBList::showCaution(bool panel, bool label) {
    panelInformation_->setVisible(panel);
    QString text = Text(texts_, TextId::AisMobListAlert);
    if (list_.anyDrill() && list_.alarmRows() == 1)
        text = Text(texts_, TextId::AisMobListMarkTest) + QLatin1Char(' ') + text;
    if (labelAlert_->text() != text) labelAlert_->setText(text);
    // Hidden by emptying, so that the panel keeps its height while it blinks.
    labelAlert_->setStyleSheet(
        label ? QStringLiteral("color: red; font-weight: bold; font-size: 16px")
              : QStringLiteral("color: transparent; font-weight: bold; font-size: 16px"));
    labelAlert_->setProperty("cautionShown", label);
    labelSound_->setText(panel ? AlarmSilentText(texts_, sound_) : QString());
    // An alarm that cannot be heard must at least be seen.
    if (panel && !sound_.audible() && list_.anyUnacknowledged() && !isVisible()) {
        show();
        raise();
    }
}

QString TfrmAISMOBList::cautionText() const {
    return labelAlert_->text();
}

bool TfrmAISMOBList::cautionShown() const {
    return panelInformation_->isVisibleTo(this) && labelAlert_->property("cautionShown").toBool();
}

QString TfrmAISMOBList::statusText() const {
    return labelSound_->text();
}

void TfrmAISMOBList::selectRow(int row) {
    selectedRow_ = std::max(0, row);
    updateButtons();
}

void TfrmAISMOBList::updateButtons() {
    const int alarms = list_.alarmRows();
    const bool onAlarm = alarms > 0 && selectedRow_ < alarms;
    for (QWidget* w : {static_cast<QWidget*>(btnConfirm_)})
        w->setEnabled(onAlarm);
    menuConfirm_->setEnabled(onAlarm);
    btnEdit_->setEnabled(!onAlarm);
    btnDelete_->setEnabled(!onAlarm);
    menuEdit_->setEnabled(!onAlarm);
    menuDelete_->setEnabled(!onAlarm);
}

void TfrmAISMOBList::save() {
    if (file_.empty() || list_.Save(file_)) return;
    dialogs_.message(this, QString(), QStringLiteral("File save error!"), ui::MessageIcon::Error,
                     ui::MessageButtons::Ok);
}

void TfrmAISMOBList::onAdd() {
    if (list_.count() >= kMaxAisMobEntries) {
        dialogs_.message(this, QString(), QStringLiteral("AIS MOB list is full (500 devices)."),
                         ui::MessageIcon::Warning, ui::MessageButtons::Ok);
        return;
    }
    std::uint32_t mmsi = 0;
    std::string name;
    if (!editor_->edit(true, mmsi, name)) return;
    if (list_.Add(mmsi, name) != MobEditResult::Done) return;
    refillGrid();
    grid_->setCurrentCell(list_.count() - 1, 0);
    save();
}

void TfrmAISMOBList::onEdit() {
    const int row = selectedRow_;
    if (row >= list_.count()) return;
    std::uint32_t mmsi = list_.entry(row).mmsi;
    std::string name(list_.entry(row).nameView());
    if (!editor_->edit(false, mmsi, name)) return;
    if (list_.Edit(row, mmsi, name) != MobEditResult::Done) return;
    save();
}

void TfrmAISMOBList::onDelete() {
    if (list_.Delete(selectedRow_) != MobEditResult::Done) return;
    refillGrid();
    save();
}

void TfrmAISMOBList::onSilent() {
    list_.Silent();
    colourRows();
}

void TfrmAISMOBList::onHeaderClicked(int column) {
    if (!list_.SortByColumn(column, datePattern_)) return;
    refillGrid();
    save();
}

void TfrmAISMOBList::feedDrillReport() {
    if (!hooks_.feedLine) return;
    const auto [lon, lat] =
        hooks_.drillPosition ? hooks_.drillPosition() : std::pair<double, double>{181.0, 91.0};
    hooks_.feedLine(DrillReportLine(lon, lat));
}

void TfrmAISMOBList::onTestAlarm() {
    if (list_.drillRunning()) {
        // The simulated device falls silent; its alarm now expires as a real one would.
        list_.setDrillRunning(false);
    } else if (list_.anyDrill()) {
        list_.endDrill();
    } else {
        list_.setDrillRunning(true);
        drillReports_ = 0;
        // The first report makes the target; the second is the device's active report.
        feedDrillReport();
        feedDrillReport();
    }
    list_.Timer1Tick();
    retranslate();
}

void TfrmAISMOBList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = buttonBar_->width();
    int i = 1;
    for (QPushButton* b : {btnAdd_, btnEdit_, btnDelete_, btnConfirm_}) {
        b->move(w * i / 5 - b->width() / 2, (buttonBar_->height() - b->height()) / 2);
        ++i;
    }
}

void TfrmAISMOBList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (positioned_) return;
    positioned_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(std::max(0, desk.width() - width()), desk.top());
    }
}

}  // namespace norq::crew
