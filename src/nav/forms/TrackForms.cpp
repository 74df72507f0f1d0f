#include "nav/forms/TrackForms.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ais/TargetTexts.h"
#include "nav/forms/NavFormTexts.h"
#include "ui/GridPalette.h"

namespace norq::nav {

namespace {

using base::TextId;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void SetCell(QTableWidget* grid, int row, int column, const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    grid->setItem(row, column, item);
}

// The grids' look: outline text on white and panel rows, white text on grey
// for the selection.
void StyleGrid(QTableWidget* grid) {
    const ui::GridPalette colours;
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->setStyleSheet(QStringLiteral("QTableWidget::item:selected { background: %1; color: %2 }")
                            .arg(colours.grey.name(), colours.whiteFill.name()));
}

void PaintStripes(QTableWidget* grid) {
    const ui::GridPalette colours;
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            if (QTableWidgetItem* item = grid->item(r, c)) {
                item->setBackground(r % 2 == 0 ? colours.whiteFill : colours.panel);
                item->setForeground(colours.outline);
            }
        }
    }
}

}  // namespace

// ---- Track page -----------------------------------------------------------------------

TrackManagerPage::TrackManagerPage(const base::TextStore& texts, const TrackList& list,
                                   TrackPageHost& host, QWidget* parent)
    : QWidget(parent), texts_(texts), list_(list), host_(host) {
    setObjectName(QStringLiteral("TabSheetTrackList"));
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("lblTrackList"));
    grid_ = new QTableWidget(1, 6, this);
    grid_->setObjectName(QStringLiteral("StringGridTrackList"));
    StyleGrid(grid_);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    const int widths[] = {28, 122, 150, 150, 100, 60};
    for (int c = 0; c < 6; ++c)
        grid_->setColumnWidth(c, widths[c]);
    grid_->horizontalHeader()->setStretchLastSection(true);

    btnLocate_ = new QPushButton(this);
    btnLocate_->setObjectName(QStringLiteral("btnTrackLocate"));
    btnProperties_ = new QPushButton(this);
    btnProperties_->setObjectName(QStringLiteral("btnTrackProperties"));
    btnDelete_ = new QPushButton(this);
    btnDelete_->setObjectName(QStringLiteral("btnTrackDelete"));
    showBox_ = new QCheckBox(this);
    showBox_->setObjectName(QStringLiteral("chkTrackShowBox"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showBox_);
    buttons->addStretch(1);
    buttons->addWidget(btnLocate_);
    buttons->addWidget(btnProperties_);
    buttons->addWidget(btnDelete_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(title_);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    connect(btnLocate_, &QPushButton::clicked, this, [this] {
        if (rowShowsVisible(selectedRow())) host_.locateTrack(selectedRow());
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (rowShowsVisible(row)) host_.locateTrack(row);
    });
    connect(btnProperties_, &QPushButton::clicked, this, [this] {
        if (list_.valid(selectedRow())) host_.showTrackProperties(selectedRow());
    });
    connect(btnDelete_, &QPushButton::clicked, this, [this] {
        if (list_.valid(selectedRow())) host_.deleteTrack(selectedRow());
    });
    connect(showBox_, &QCheckBox::toggled, this, [this](bool on) {
        if (on != host_.ownTracksShown()) host_.setOwnTracksShown(on);
    });
    connect(grid_, &QTableWidget::itemSelectionChanged, this, [this] { updateButtons(); });
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = grid_->rowAt(at.y());
        if (!list_.valid(row)) return;
        selectRow(row);
        QMenu* menu = buildPopup(row);
        menu->exec(grid_->viewport()->mapToGlobal(at));
        menu->deleteLater();
    });
    retranslate();
    refill();
}

void TrackManagerPage::retranslate() {
    title_->setText(Q(texts_.text(TextId::NavManagerTrackTrackList)));
    grid_->setHorizontalHeaderLabels({Q(texts_.text(TextId::NavManagerTrackNo)),
                                      Q(texts_.text(TextId::NavManagerTrackName)),
                                      Q(texts_.text(TextId::NavManagerTrackStarttime)),
                                      Q(texts_.text(TextId::NavManagerTrackStoptime)),
                                      Q(texts_.text(TextId::NavManagerTrackRecordtime)),
                                      Q(texts_.text(TextId::NavManagerTrackVisible))});
    btnLocate_->setText(Q(texts_.text(TextId::NavManagerLocate)));
    btnProperties_->setText(Q(texts_.text(TextId::NavManagerEdit)));
    btnDelete_->setText(Q(texts_.text(TextId::NavManagerDelete)));
    showBox_->setText(Q(texts_.text(TextId::NavManagerTrackTrackShowBox)));
}

void TrackManagerPage::refill() {
    const int keep = selectedRow();
    const QSignalBlocker block(grid_);
    grid_->clearContents();
    grid_->setRowCount(std::max(1, list_.count()));
    const bool shown = host_.ownTracksShown();
    for (int i = 0; i < list_.count(); ++i) {
        const TrackEntry& e = list_[i];
        SetCell(grid_, i, 0, QString::number(i + 1));
        SetCell(grid_, i, 1, Q(e.name));
        SetCell(grid_, i, 2, Q(e.startTime));
        SetCell(grid_, i, 3, Q(e.stopTime));
        SetCell(grid_, i, 4, Q(FormatRecordTime(e.recordedSeconds)));
        SetCell(grid_, i, 5, e.visible && shown ? QStringLiteral("V") : QString());
    }
    if (list_.count() == 0) {
        for (int c = 0; c < 6; ++c)
            SetCell(grid_, 0, c, QString());
    }
    paintRows();
    {
        const QSignalBlocker blockBox(showBox_);
        showBox_->setChecked(shown);
    }
    selectRow(std::clamp(keep, 0, std::max(0, list_.count() - 1)));
    updateButtons();
}

void TrackManagerPage::showEvent(QShowEvent* event) {
    refill();
    QWidget::showEvent(event);
}

void TrackManagerPage::paintRows() {
    PaintStripes(grid_);
}

int TrackManagerPage::selectedRow() const {
    const QList<QTableWidgetItem*> items = grid_->selectedItems();
    return items.isEmpty() ? (grid_->currentRow() >= 0 ? grid_->currentRow() : 0)
                           : items.front()->row();
}

void TrackManagerPage::selectRow(int row) {
    if (row < 0 || row >= grid_->rowCount()) return;
    grid_->selectRow(row);
    grid_->setCurrentCell(row, 0);
    updateButtons();
}

bool TrackManagerPage::rowShowsVisible(int row) const {
    return list_.valid(row) && list_[row].visible && host_.ownTracksShown();
}

void TrackManagerPage::updateButtons() {
    const bool any = list_.count() > 0;
    btnLocate_->setEnabled(rowShowsVisible(selectedRow()));
    btnProperties_->setEnabled(any);
    btnDelete_->setEnabled(any);
}

QMenu* TrackManagerPage::buildPopup(int row) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenuTrackGrid"));
    QAction* visible = menu->addAction(Q(texts_.text(TextId::NavManagerVisible)));
    visible->setObjectName(QStringLiteral("mnuTrackVisible"));
    visible->setCheckable(true);
    visible->setChecked(rowShowsVisible(row));
    visible->setEnabled(host_.ownTracksShown() && list_.valid(row));
    connect(visible, &QAction::triggered, this, [this, row] { host_.toggleTrackVisible(row); });
    return menu;
}

// ---- Track properties -----------------------------------------------------------------

TfrmTrackProperties::TfrmTrackProperties(const base::TextStore& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
    setObjectName(QStringLiteral("TfrmTrackProperties"));
    nameLabel_ = new QLabel(this);
    nameEdit_ = new QLineEdit(this);
    nameEdit_->setObjectName(QStringLiteral("edtTrackName"));
    nameEdit_->setMaxLength(200);
    // Commas and control characters would break the list file's line.
    nameEdit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^,\\x00-\\x1f\\x7f]*")), nameEdit_));
    startLabel_ = new QLabel(this);
    startTime_ = new QLabel(this);
    startTime_->setObjectName(QStringLiteral("lblTrackStartTime"));
    grid_ = new QTableWidget(1, 7, this);
    grid_->setObjectName(QStringLiteral("StringGridTrackPoints"));
    StyleGrid(grid_);
    const int widths[] = {40, 70, 110, 110, 60, 70, 60};
    for (int c = 0; c < 7; ++c)
        grid_->setColumnWidth(c, widths[c]);

    auto* top = new QGridLayout;
    top->addWidget(nameLabel_, 0, 0);
    top->addWidget(nameEdit_, 0, 1);
    top->addWidget(startLabel_, 1, 0);
    top->addWidget(startTime_, 1, 1);
    const OkCancelRow buttonRow = MakeOkCancelRow(this);
    btnOk_ = buttonRow.ok;
    btnCancel_ = buttonRow.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttonRow.row);
    resize(580, 420);

    connect(btnOk_, &QPushButton::clicked, this, &TfrmTrackProperties::onOk);
    retranslate();
}

void TfrmTrackProperties::retranslate() {
    setWindowTitle(Q(texts_.text(TextId::TrackPropertyCaption)));
    nameLabel_->setText(Q(texts_.text(TextId::TrackPropertyName)));
    startLabel_->setText(Q(texts_.text(TextId::TrackPropertyStartTime)));
    grid_->setHorizontalHeaderLabels(
        {Q(texts_.text(TextId::TrackPropertyNo)), Q(texts_.text(TextId::TrackPropertyTime)),
         Q(texts_.text(TextId::TrackPropertyLon)), Q(texts_.text(TextId::TrackPropertyLat)),
         Q(texts_.text(TextId::TrackPropertyCog)), Q(texts_.text(TextId::TrackPropertySog)),
         Q(texts_.text(TextId::TrackPropertyHdg))});
    btnOk_->setText(Q(texts_.text(TextId::TrackPropertyOk)));
    btnCancel_->setText(Q(texts_.text(TextId::TrackPropertyCancel)));
}

void TfrmTrackProperties::load(const TrackEntry& entry, const std::string& path) {
    nameEdit_->setText(Q(entry.name));
    startTime_->setText(Q(entry.startTime));
    grid_->clearContents();
    grid_->setRowCount(1);
    TrackFileReader reader(path, entry.pointCount);
    const int total = reader.total();
    grid_->setRowCount(std::max(1, (total + 5) / 6));
    int index = 0;
    char text[64];
    for (auto block = reader.nextBlock(); !block.empty(); block = reader.nextBlock()) {
        for (const TrackRecord& r : block) {
            if (index % 6 == 0) {
                const int row = index / 6;
                const ais::LonLatTexts pos = ais::FormatLonLatPair(r.lon, r.lat, 2);
                SetCell(grid_, row, 0, QString::number(row + 1));
                SetCell(
                    grid_, row, 1,
                    QString::fromUtf8(r.timeText().data(), static_cast<int>(r.timeText().size())));
                SetCell(grid_, row, 2, QString::fromUtf8(pos.longitude.c_str()));
                SetCell(grid_, row, 3, QString::fromUtf8(pos.latitude.c_str()));
                std::snprintf(text, sizeof text, "%.1f%s", static_cast<double>(r.course),
                              ais::kDegreeSign.data());
                SetCell(grid_, row, 4, QString::fromUtf8(text));
                std::snprintf(text, sizeof text, "%.2f Kn", static_cast<double>(r.speed));
                SetCell(grid_, row, 5, QString::fromUtf8(text));
                if (r.heading == kTrackHeadingNotAvailable) {
                    SetCell(grid_, row, 6, QStringLiteral("N/A"));
                } else {
                    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(r.heading));
                    SetCell(grid_, row, 6, QString::fromUtf8(text));
                }
            }
            ++index;
        }
    }
    PaintStripes(grid_);
}

std::string TfrmTrackProperties::name() const {
    return nameEdit_->text().toStdString();
}

void TfrmTrackProperties::onOk() {
    if (!TrackNameAcceptable(name())) {
        Q_EMIT nameRefused();
        return;
    }
    Q_EMIT nameConfirmed(nameEdit_->text());
    accept();
}

}  // namespace norq::nav
