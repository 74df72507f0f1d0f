#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "crew/forms/CrewWatchForms.h"
#include "ui/Dialogs.h"
#include "ui/GridPalette.h"

namespace norq::crew {

using base::TextId;

namespace {

constexpr int kColumns = 12;
constexpr std::array<int, kColumns> kWidths = {32, 116, 86, 100, 0, 0, 76, 0, 124, 0, 0, 270};
constexpr std::array<TextId, kColumns> kTitles = {
    TextId::MobViewNo,      TextId::MobViewId,         TextId::MobViewName,
    TextId::MobViewState,   TextId::MobViewBattery,    TextId::MobViewType,
    TextId::MobViewRptName, TextId::MobViewOnlineTime, TextId::MobViewLostTime,
    TextId::MobViewRptId,   TextId::MobViewRxQuality,  TextId::MobViewSpecialNotes};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QIcon BatteryIcon(int level) {
    return QIcon(CrewBatteryPixmap(level));
}

}  // namespace

QPixmap CrewBatteryPixmap(int level) {
    QPixmap pixmap(26, 14);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(40, 40, 40));
    p.drawRect(1, 1, 21, 11);
    p.fillRect(22, 4, 3, 5, QColor(40, 40, 40));
    const QColor fill = level <= 1 ? QColor(0xD0, 0x20, 0x20) : QColor(0x20, 0xA0, 0x30);
    for (int i = 0; i < level; ++i)
        p.fillRect(3 + i * 5, 3, 4, 8, fill);
    return pixmap;
}

namespace {

// The care toggle's picture: a person with a cross, the one to look after.
QIcon CareIcon() {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x50, 0x90));
    p.drawEllipse(4, 1, 7, 7);
    p.drawRoundedRect(2, 9, 11, 10, 3, 3);
    p.setBrush(QColor(0xD0, 0x20, 0x20));
    p.drawRect(14, 8, 2, 8);
    p.drawRect(11, 11, 8, 2);
    return QIcon(pixmap);
}

// The status light: 0 dark, 1 normal, 2 warning, 3 alarm.
QPixmap Led(int image) {
    static const std::array<QColor, 4> colours = {
        QColor(0x50, 0x50, 0x50), QColor(0x20, 0xC0, 0x30), QColor(0xF0, 0xA0, 0x10),
        QColor(0xF0, 0x10, 0x10)};
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colours[static_cast<std::size_t>(std::clamp(image, 0, 3))]);
    p.setPen(QColor(30, 30, 30));
    p.drawEllipse(2, 2, 16, 16);
    return pixmap;
}

QColor RoleColour(chart::PaletteRole role) {
    switch (role) {
        case chart::PaletteRole::Alarm:
            return QColor(0xFF, 0x00, 0x00);
        case chart::PaletteRole::Maroon:
            return QColor(0x80, 0x00, 0x00);
        case chart::PaletteRole::SelectedLeg:
            return QColor(0x00, 0x80, 0x00);
        default:
            return QColor(0xC0, 0xC0, 0xC0);
    }
}

// Names refuse the device file's separator; notes its braces; neither a line break.
QValidator* TextValidator(const char* refused, QObject* parent) {
    return new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^%1\\r\\n]*").arg(QLatin1String(refused))), parent);
}

}  // namespace

// ---- TfrmRenameDlg -------------------------------------------------------

TfrmRenameDlg::TfrmRenameDlg(const base::TextStore& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
    setObjectName(QStringLiteral("frmRenameDlg"));
    auto* grid = new QGridLayout(this);
    labelId_ = new QLabel(this);
    labelName_ = new QLabel(this);
    labelNotes_ = new QLabel(this);
    lblId_ = new QLabel(this);
    lblEdtName_ = new QLineEdit(this);
    lblEdtName_->setObjectName(QStringLiteral("lblEdtName"));
    lblEdtName_->setMaxLength(kCrewNameLength);
    lblEdtName_->setValidator(TextValidator(",", lblEdtName_));
    lblEdtSpecialNotes_ = new QLineEdit(this);
    lblEdtSpecialNotes_->setObjectName(QStringLiteral("lblEdtSpecialNotes"));
    lblEdtSpecialNotes_->setMaxLength(kCrewNotesLength);
    lblEdtSpecialNotes_->setValidator(TextValidator("{}", lblEdtSpecialNotes_));
    grid->addWidget(labelId_, 0, 0);
    grid->addWidget(lblId_, 0, 1);
    grid->addWidget(labelName_, 1, 0);
    grid->addWidget(lblEdtName_, 1, 1);
    grid->addWidget(labelNotes_, 2, 0);
    grid->addWidget(lblEdtSpecialNotes_, 2, 1);
    labelState_ = new QLabel(this);
    lblState_ = new QLabel(this);
    battery_ = new QLabel(this);
    labelZone_ = new QLabel(this);
    lblZone_ = new QLabel(this);
    labelOnline_ = new QLabel(this);
    lblMobDtConnectTime_ = new QLabel(this);
    lblMobDtConnectTime_->setObjectName(QStringLiteral("lblMobDtConnectTime"));
    auto* state = new QHBoxLayout;
    state->addWidget(battery_);
    state->addWidget(lblState_, 1);
    grid->addWidget(labelState_, 3, 0);
    grid->addLayout(state, 3, 1);
    grid->addWidget(labelZone_, 4, 0);
    grid->addWidget(lblZone_, 4, 1);
    grid->addWidget(labelOnline_, 5, 0);
    grid->addWidget(lblMobDtConnectTime_, 5, 1);
    auto* buttons = new QDialogButtonBox(this);
    btnOk_ = buttons->addButton(Q(texts.text(TextId::MobCareSelOk)), QDialogButtonBox::AcceptRole);
    btnCancel_ =
        buttons->addButton(Q(texts.text(TextId::MobCareSelCancle)), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 6, 0, 1, 2);
    setMinimumWidth(360);
    retranslate();
}

void TfrmRenameDlg::retranslate() {
    setWindowTitle(Q(texts_.text(TextId::MobEditEditWindow)));
    labelId_->setText(Q(texts_.text(TextId::MobEditId)));
    labelName_->setText(Q(texts_.text(TextId::MobEditName)));
    labelNotes_->setText(Q(texts_.text(TextId::MobEditSpecialNotes)));
    btnOk_->setText(Q(texts_.text(TextId::MobCareSelOk)));
    btnCancel_->setText(Q(texts_.text(TextId::MobCareSelCancle)));
    labelState_->setText(Q(texts_.text(TextId::MobDetailState)));
    labelZone_->setText(Q(texts_.text(TextId::MobDetailNearestRpt)));
    labelOnline_->setText(Q(texts_.text(TextId::MobDetailOnlineTime)));
}

void TfrmRenameDlg::fill(const CrewDeviceTable& table, int row, bool editable) {
    if (row < 0 || row >= table.count()) return;
    row_ = row;
    const CrewDevice& device = table[row];
    const bool off = device.state == CrewDeviceState::Off;
    lblState_->setText(Q(CrewStateName(device.state, texts_)));
    if (off) {
        battery_->clear();
    } else {
        battery_->setPixmap(CrewBatteryPixmap(BatteryLevel(device.battery)));
    }
    if (!device.zoneId.isController()) {
        lblZone_->setText(QStringLiteral("(%1) %2").arg(
            Q(device.zoneId.text()), Q(std::string(table.nameOf(device.zoneId)))));
    } else {
        lblZone_->setText(off ? QStringLiteral("N/A")
                              : Q(texts_.text(TextId::MobGnStrGnController)));
    }
    refreshOnline(table);
    lblId_->setText(Q(device.id.text(':')));
    lblEdtName_->setText(Q(device.name));
    lblEdtSpecialNotes_->setText(Q(device.notes));
    lblEdtName_->setReadOnly(!editable);
    lblEdtSpecialNotes_->setReadOnly(!editable);
    btnOk_->setVisible(editable);
}

void TfrmRenameDlg::refreshOnline(const CrewDeviceTable& table) {
    if (row_ < 0 || row_ >= table.count()) return;
    lblMobDtConnectTime_->setText(Q(CrewDuration(table[row_].secondsOnline)));
}

std::string TfrmRenameDlg::name() const {
    return lblEdtName_->text().toStdString();
}

std::string TfrmRenameDlg::notes() const {
    return lblEdtSpecialNotes_->text().toStdString();
}

// ---- TCrewWatchPage ------------------------------------------------------

TCrewWatchPage::TCrewWatchPage(const base::TextStore& texts, CrewWatch& watch, ui::Dialogs& dialogs,
                               QWidget* parent)
    : QWidget(parent), texts_(texts), watch_(watch), dialogs_(dialogs) {
    setObjectName(QStringLiteral("CrewWatchPage"));
    editor_ = new TfrmRenameDlg(texts, this);
    buildLayout();
    retranslate();
    refreshAll();
}

void TCrewWatchPage::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    // The page must not widen the main window: the centre pages share one size.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    auto* top = new QHBoxLayout;
    const auto countBox = [this](const char* name, std::array<QLabel*, 3>& fields) {
        auto* box = new QGroupBox(this);
        box->setObjectName(QString::fromLatin1(name));
        auto* row = new QHBoxLayout(box);
        const std::array<QColor, 3> colours = {QColor(0x00, 0x80, 0x00), QColor(0xFF, 0x00, 0x00),
                                               QColor(0x60, 0x60, 0x60)};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            fields[i] = new QLabel(QStringLiteral("0"), box);
            fields[i]->setAlignment(Qt::AlignCenter);
            fields[i]->setMinimumWidth(44);
            fields[i]->setStyleSheet(QStringLiteral("QLabel { border: 1px solid #888; color: %1; "
                                                    "font-weight: bold; background: white; }")
                                         .arg(colours[i].name()));
            row->addWidget(fields[i]);
        }
        return box;
    };
    gbxPendantCnt_ = countBox("gbxPendantCnt", pendantCounts_);
    gbxRepeaterCnt_ = countBox("gbxRepeaterCnt", repeaterCounts_);
    top->addWidget(gbxPendantCnt_);
    top->addWidget(gbxRepeaterCnt_);
    imageMobSysStatusLed_ = new QLabel(this);
    imageMobSysStatusLed_->setObjectName(QStringLiteral("ImageMobSysStatusLed"));
    imageMobSysStatusLed_->setPixmap(Led(1));
    lblMobSysStatusValue_ = new QLabel(this);
    lblMobSysStatusValue_->setObjectName(QStringLiteral("lblMobSysStatusValue"));
    QFont bold = lblMobSysStatusValue_->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    lblMobSysStatusValue_->setFont(bold);
    top->addSpacing(12);
    top->addWidget(imageMobSysStatusLed_);
    top->addWidget(lblMobSysStatusValue_, 1);
    layout->addLayout(top);

    grid_ = new QTableWidget(0, kColumns, this);
    grid_->setObjectName(QStringLiteral("StringGridMOBList"));
    grid_->verticalHeader()->hide();
    grid_->setWordWrap(false);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < kColumns; ++c) {
        if (kWidths[static_cast<std::size_t>(c)] == 0) {
            grid_->setColumnHidden(c, true);
        } else {
            grid_->setColumnWidth(c, kWidths[static_cast<std::size_t>(c)]);
        }
    }
    layout->addWidget(grid_, 1);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        watch_.SortByColumn(column);
        refreshAll();
    });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (row >= watch_.table().count()) return;
        if (editor_->isVisible()) editor_->fill(watch_.table(), row, false);
        Q_EMIT rowClicked(row);
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= watch_.table().count()) return;
        editor_->fill(watch_.table(), row, false);
        editor_->exec();
    });

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, void (TCrewWatchPage::*slot)()) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    btnEdit_ = button("SpeedButtonMobCmdEdit", &TCrewWatchPage::onEdit);
    btnRemove_ = button("SpeedButtonMobCmdRemove", &TCrewWatchPage::onRemove);
    btnShutDown_ = button("SpeedButtonMobCmdShutdown", &TCrewWatchPage::onShutDown);
    btnCancelSos_ = button("SpeedButtonMobCmdCancelSOS", &TCrewWatchPage::onCancelSos);
    btnLogger_ = new QPushButton(this);
    btnLogger_->setObjectName(QStringLiteral("SpeedButtonMobCmdLogger"));
    connect(btnLogger_, &QPushButton::clicked, this, [this] { Q_EMIT eventLoggerRequested(); });
    buttons->addWidget(btnLogger_);
    cbxAutoSrm_ = new QCheckBox(this);
    cbxAutoSrm_->setObjectName(QStringLiteral("cbxAutoSRM"));
    connect(cbxAutoSrm_, &QCheckBox::toggled, this, &TCrewWatchPage::autoSrmToggled);
    buttons->addWidget(cbxAutoSrm_);
    btnCare_ = new QPushButton(this);
    btnCare_->setObjectName(QStringLiteral("SpeedButtonCare"));
    btnCare_->setCheckable(true);
    btnCare_->setIcon(CareIcon());
    btnCare_->setIconSize(QSize(20, 20));
    connect(btnCare_, &QPushButton::toggled, this, [this](bool on) { Q_EMIT careToggled(on); });
    buttons->addWidget(btnCare_);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    popupMenuMob_ = new QMenu(this);
    popupMenuMob_->setObjectName(QStringLiteral("PopupMenuMob"));
    const std::array<std::pair<const char*, void (TCrewWatchPage::*)()>, 5> items = {{
        {"mnuMobEdit", &TCrewWatchPage::onEdit},
        {"mnuRemove", &TCrewWatchPage::onRemove},
        {"mnuShutDownSelected", &TCrewWatchPage::onShutDown},
        {"mnuShutDownAll", &TCrewWatchPage::onShutDownAll},
        {"mnuCancelSOS", &TCrewWatchPage::onCancelSos},
    }};
    for (std::size_t i = 0; i < items.size(); ++i) {
        menuItems_[i] = popupMenuMob_->addAction(QString());
        menuItems_[i]->setObjectName(QString::fromLatin1(items[i].first));
        connect(menuItems_[i], &QAction::triggered, this, items[i].second);
    }
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popupMenuMob_->popup(grid_->viewport()->mapToGlobal(at)); });
}

void TCrewWatchPage::setAutoSrm(bool on) {
    const QSignalBlocker quiet(cbxAutoSrm_);
    cbxAutoSrm_->setChecked(on);
}

void TCrewWatchPage::retranslate() {
    for (int c = 0; c < kColumns; ++c) {
        grid_->setHorizontalHeaderItem(
            c, new QTableWidgetItem(Q(texts_.text(kTitles[static_cast<std::size_t>(c)]))));
    }
    btnEdit_->setText(Q(texts_.text(TextId::MobCmdButtonEdit)));
    btnRemove_->setText(Q(texts_.text(TextId::MobCmdButtonRemove)));
    btnShutDown_->setText(Q(texts_.text(TextId::MobCmdButtonShutDown)));
    btnCancelSos_->setText(Q(texts_.text(TextId::MobCmdButtonCancelSos)));
    btnLogger_->setText(Q(texts_.text(TextId::MobCmdButtonViewLog)));
    btnCare_->setToolTip(Q(texts_.text(TextId::MobCountCareMonitor)));
    cbxAutoSrm_->setText(Q(texts_.text(TextId::SrmAutoSrm)));
    const std::array<TextId, 5> menuTexts = {
        TextId::MobPopupMenuEdit, TextId::MobPopupMenuRemove, TextId::MobPopupMenuShutDownSelected,
        TextId::MobPopupMenuShutDownAll, TextId::MobPopupMenuCancelSos};
    for (std::size_t i = 0; i < menuItems_.size(); ++i)
        menuItems_[i]->setText(Q(texts_.text(menuTexts[i])));
    editor_->retranslate();
    refreshAll();
}

void TCrewWatchPage::refreshRow(int row) {
    const CrewDeviceTable& table = watch_.table();
    if (row < 0 || row >= table.count()) return;
    if (grid_->rowCount() < table.count()) grid_->setRowCount(table.count());
    const CrewDevice& d = table[row];
    const bool off = d.state == CrewDeviceState::Off;
    std::array<QString, kColumns> cells;
    cells[0] = QString::number(row + 1);
    cells[1] = Q(d.id.text());
    cells[2] = Q(d.name);
    cells[3] = Q(CrewStateName(d.state, texts_));
    cells[4] =
        off ? QStringLiteral("-1")
            : (d.state == CrewDeviceState::Lost ? QStringLiteral("1") : QString::number(d.battery));
    cells[5] = Q(CrewTypeName(d.type, texts_));
    if (!d.zoneId.isController()) {
        cells[9] = Q(d.zoneId.text());
        cells[6] = Q(std::string(table.nameOf(d.zoneId)));
    } else {
        cells[6] = cells[9] =
            off ? QStringLiteral("N/A") : Q(texts_.text(TextId::MobGnStrGnController));
    }
    cells[7] = Q(CrewDuration(d.secondsOnline));
    cells[8] = d.state == CrewDeviceState::Lost ? Q(CrewDuration(d.secondsSinceHeard)) : QString();
    cells[11] = Q(d.notes);
    for (int c = 0; c < kColumns; ++c) {
        auto* item = new QTableWidgetItem(cells[static_cast<std::size_t>(c)]);
        if (c == 3 && !off) item->setIcon(BatteryIcon(BatteryLevel(d.battery)));
        grid_->setItem(row, c, item);
    }
    colourRow(row);
}

void TCrewWatchPage::colourRow(int row) {
    const ui::GridPalette palette;
    const bool alarm = watch_.table()[row].inAlarm();
    const QColor fill = alarm ? palette.alarm : (row % 2 == 0 ? palette.whiteFill : palette.panel);
    const QColor text = alarm ? palette.whiteFill : palette.outline;
    for (int c = 0; c < kColumns; ++c) {
        if (QTableWidgetItem* item = grid_->item(row, c)) {
            item->setBackground(fill);
            item->setForeground(text);
        }
    }
}

void TCrewWatchPage::refreshAll() {
    const int count = watch_.table().count();
    // The list keeps one empty data row while the table is empty.
    grid_->setRowCount(std::max(1, count));
    if (count == 0) {
        for (int c = 0; c < kColumns; ++c)
            grid_->setItem(0, c, new QTableWidgetItem());
    }
    for (int row = 0; row < count; ++row)
        refreshRow(row);
    refreshTimes();
}

void TCrewWatchPage::refreshTimes() {
    const CrewDeviceTable& table = watch_.table();
    for (int row = 0; row < table.count() && row < grid_->rowCount(); ++row) {
        const CrewDevice& d = table[row];
        if (QTableWidgetItem* item = grid_->item(row, 7))
            item->setText(Q(CrewDuration(d.secondsOnline)));
        if (QTableWidgetItem* item = grid_->item(row, 8)) {
            item->setText(d.state == CrewDeviceState::Lost ? Q(CrewDuration(d.secondsSinceHeard))
                                                           : QString());
        }
        if (QTableWidgetItem* item = grid_->item(row, 3))
            item->setText(Q(CrewStateName(d.state, texts_)));
        colourRow(row);
    }
    if (editor_->isVisible()) editor_->refreshOnline(table);
    const CrewCounts& c = watch_.counts();
    gbxPendantCnt_->setTitle(pendantCaption());
    gbxRepeaterCnt_->setTitle(Q(texts_.text(TextId::MobCountTotalRepeater)) + QStringLiteral(":") +
                              QString::number(c.repeaters));
    const std::array<int, 3> pendants = {c.pendantsOnline, c.pendantsInAlarm, c.pendantsOff};
    const std::array<int, 3> repeaters = {c.repeatersOnline, c.repeatersInAlarm, c.repeatersOff};
    for (std::size_t i = 0; i < 3; ++i) {
        pendantCounts_[i]->setText(QString::number(pendants[i]));
        repeaterCounts_[i]->setText(QString::number(repeaters[i]));
    }
}

void TCrewWatchPage::releaseCare() {
    const QSignalBlocker quiet(btnCare_);
    btnCare_->setChecked(false);
}

QString TCrewWatchPage::pendantCaption() const {
    return Q(texts_.text(TextId::MobCountTotalPendant)) + QStringLiteral(":") +
           QString::number(watch_.counts().pendants);
}

void TCrewWatchPage::showStatus(const CrewStatusDisplay& status) {
    imageMobSysStatusLed_->setPixmap(Led(status.led));
    lblMobSysStatusValue_->setText(Q(status.text));
    QPalette p = lblMobSysStatusValue_->palette();
    p.setColor(QPalette::WindowText, RoleColour(status.colour));
    lblMobSysStatusValue_->setPalette(p);
    lblMobSysStatusValue_->show();
}

QString TCrewWatchPage::statusText() const {
    return lblMobSysStatusValue_->text();
}

std::vector<int> TCrewWatchPage::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : grid_->selectionModel()->selectedRows())
        if (index.row() < watch_.table().count()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool TCrewWatchPage::confirm(const QString& text) {
    return dialogs_.message(this, Q(texts_.text(TextId::MobGnStrGnWarning)), text,
                            ui::MessageIcon::Warning,
                            ui::MessageButtons::YesNo) == ui::MessageAnswer::Yes;
}

void TCrewWatchPage::refuse(TextId text) {
    dialogs_.message(this, QString(), Q(texts_.text(text)), ui::MessageIcon::None,
                     ui::MessageButtons::Ok);
}

QString TCrewWatchPage::question(TextId one, TextId many, TextId oneTail, TextId manyTail,
                                 int count) const {
    if (count <= 1) return Q(texts_.text(one) + texts_.text(oneTail));
    return QStringLiteral("%1 %2 %3")
        .arg(Q(texts_.text(many)))
        .arg(count)
        .arg(Q(texts_.text(manyTail)));
}

void TCrewWatchPage::onEdit() {
    const std::vector<int> rows = selectedRows();
    if (watch_.table().count() == 0) return;
    if (rows.size() != 1) {
        refuse(TextId::MobGnStrGnShowMsgPleaseSelectPendantFirst);
        return;
    }
    editor_->fill(watch_.table(), rows[0], true);
    const QPoint corner = window()->geometry().topLeft();
    editor_->move(corner + QPoint(50, 80));
    if (editor_->exec() == QDialog::Accepted) {
        watch_.EditDevice(rows[0], editor_->name(), editor_->notes());
        refreshRow(rows[0]);
    }
}

void TCrewWatchPage::onRemove() {
    if (watch_.table().count() == 0) return;
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) return refuse(TextId::MobGnStrGnShowMsgPleaseSelectPendantFirst);
    for (int row : rows) {
        if (watch_.table()[row].state != CrewDeviceState::Off) {
            grid_->clearSelection();
            return refuse(TextId::MobGnStrGnShowMsgOnlyOfflinePendantsCouldBeRemoved);
        }
    }
    if (!confirm(question(TextId::MobGnStrGnShowMsgReallyWantToRemoveThis,
                          TextId::MobGnStrGnShowMsgReallyWantToRemoveThese,
                          TextId::MobGnStrGnShowMsgDevice, TextId::MobGnStrGnShowMsgDevices,
                          static_cast<int>(rows.size())))) {
        return;
    }
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        watch_.RemoveDevice(*it);
    grid_->clearSelection();
    refreshAll();
}

void TCrewWatchPage::onShutDown() {
    const int count = watch_.table().count();
    if (count == 0) return;
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) return refuse(TextId::MobGnStrGnShowMsgPleaseSelectPendantFirst);
    if (static_cast<int>(rows.size()) == count && count > 1) return onShutDownAll();
    for (int row : rows) {
        const CrewDevice& d = watch_.table()[row];
        if (d.type != CrewDeviceType::Pendant || d.state == CrewDeviceState::Off) {
            grid_->clearSelection();
            return refuse(TextId::MobGnStrGnShowMsgOnlyOnlinePendantsCouldBeShutdown);
        }
    }
    if (!confirm(question(TextId::MobGnStrGnShowMsgReallyWantToShutdownThis,
                          TextId::MobGnStrGnShowMsgReallyWantToShutdownThese,
                          TextId::MobGnStrGnShowMsgDevice, TextId::MobGnStrGnShowMsgDevices,
                          static_cast<int>(rows.size())))) {
        return;
    }
    for (int row : rows) {
        watch_.ShutDownDevice(row);
        refreshRow(row);
    }
    grid_->clearSelection();
}

void TCrewWatchPage::onShutDownAll() {
    // Every pendant on board is switched off: that is asked first, whichever way it was chosen.
    if (!confirm(Q(texts_.text(TextId::MobGnStrGnShowMsgReallyWantToShutdownAllDevices)))) return;
    watch_.ShutDownAllDevices();
    grid_->clearSelection();
    refreshAll();
}

void TCrewWatchPage::onCancelSos() {
    if (watch_.table().count() == 0) return;
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) return refuse(TextId::MobGnStrGnShowMsgPleaseSelectPendantFirst);
    for (int row : rows) {
        if (watch_.table()[row].state != CrewDeviceState::Sos) {
            grid_->clearSelection();
            return refuse(TextId::MobGnStrGnShowMsgOnlyPendantsIssuingSOSCouldBeCancelled);
        }
    }
    if (!confirm(question(TextId::MobGnStrGnShowMsgReallyWantToCancelSOSrequest,
                          TextId::MobGnStrGnShowMsgReallyWantToCancelTheSOSrequest,
                          TextId::MobGnStrGnShowMsgForThisDevice,
                          TextId::MobGnStrGnShowMsgForTheseDevices,
                          static_cast<int>(rows.size())))) {
        return;
    }
    for (int row : rows)
        watch_.SendCrewCommand(CrewCommand::CancelSos, row);
    grid_->clearSelection();
}

}  // namespace norq::crew
