#include "nav/forms/NavManagerForm.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ais/TargetTexts.h"
#include "ui/Dialogs.h"
#include "ui/GridPalette.h"

namespace norq::nav {

namespace {

using base::TextId;

QString Text(const base::TextStore& texts, TextId id) {
    return QString::fromStdString(texts.text(id));
}

constexpr int kGridHeight = 300;

QPushButton* Button(const char* name, QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TfrmNavManager::TfrmNavManager(const base::TextStore& texts, ui::Dialogs& dialogs,
                               MarkerList& markers, MarkerExchange& exchange,
                               MarkerManagerHost& host, QWidget* parent)
    : QDialog(parent),
      texts_(texts),
      dialogs_(dialogs),
      markers_(markers),
      exchange_(exchange),
      host_(host) {
    setObjectName(QStringLiteral("frmNavManager"));
    pages_ = new QStackedWidget(this);
    markerPage_ = buildMarkerPage();
    routePage_ = new QWidget(this);
    trackPage_ = new QWidget(this);
    pages_->addWidget(markerPage_);
    pages_->addWidget(routePage_);
    pages_->addWidget(trackPage_);
    btnClose_ = Button("btnClose", this);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(bottom);
    retranslate();
}

TfrmNavManager::~TfrmNavManager() = default;

QWidget* TfrmNavManager::buildMarkerPage() {
    auto* page = new QWidget(this);
    lblViewer_ = new QLabel(page);
    lblDevice_ = new QLabel(page);
    viewerGrid_ = makeGrid("StringGridMarkList");
    deviceGrid_ = makeGrid("StringGridDeviceMarkList");
    btnToDevice_ = Button("btnToDevice", page);
    btnToDevice_->setText(QStringLiteral(">>"));
    btnToViewer_ = Button("btnToViewer", page);
    btnToViewer_->setText(QStringLiteral("<<"));

    auto* viewer = new QVBoxLayout;
    viewer->addWidget(lblViewer_);
    viewer->addWidget(viewerGrid_);
    devicePanel_ = new QWidget(page);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(btnToDevice_);
    arrows->addWidget(btnToViewer_);
    arrows->addStretch();
    auto* device = new QVBoxLayout;
    device->addWidget(lblDevice_);
    device->addWidget(deviceGrid_);
    auto* deviceRow = new QHBoxLayout(devicePanel_);
    deviceRow->setContentsMargins(0, 0, 0, 0);
    deviceRow->addLayout(arrows);
    deviceRow->addLayout(device);
    auto* lists = new QHBoxLayout;
    lists->addLayout(viewer);
    lists->addWidget(devicePanel_);

    btnLocate_ = Button("btnLocate", page);
    btnProperties_ = Button("btnProperties", page);
    btnDelete_ = Button("btnDelete", page);
    btnRefresh_ = Button("btnRefresh", page);
    markerButtons_ = new QWidget(page);
    auto* buttons = new QHBoxLayout(markerButtons_);
    buttons->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {btnLocate_, btnProperties_, btnDelete_, btnRefresh_})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(lists);
    layout->addWidget(markerButtons_);

    connect(btnLocate_, &QPushButton::clicked, this, &TfrmNavManager::onLocate);
    connect(btnProperties_, &QPushButton::clicked, this, &TfrmNavManager::onProperties);
    connect(btnDelete_, &QPushButton::clicked, this, &TfrmNavManager::onDelete);
    connect(btnRefresh_, &QPushButton::clicked, this, &TfrmNavManager::onRefresh);
    connect(btnToDevice_, &QPushButton::clicked, this, &TfrmNavManager::onToDevice);
    connect(btnToViewer_, &QPushButton::clicked, this, &TfrmNavManager::onToViewer);
    for (const auto& [grid, side] :
         {std::pair{viewerGrid_, MarkerSide::Viewer}, std::pair{deviceGrid_, MarkerSide::Device}}) {
        const MarkerSide s = side;
        connect(grid, &QTableWidget::cellClicked, this,
                [this, s](int row, int) { selectRow(s, row); });
        connect(grid, &QTableWidget::currentCellChanged, this, [this, s, grid](int row, int) {
            if (grid->hasFocus()) selectRow(s, row);
        });
        connect(grid, &QTableWidget::cellDoubleClicked, this, [this, s](int row, int) {
            selectRow(s, row);
            onLocate();
        });
    }
    return page;
}

QTableWidget* TfrmNavManager::makeGrid(const char* name) {
    auto* grid = new QTableWidget(1, 4, this);
    grid->setObjectName(QString::fromLatin1(name));
    grid->verticalHeader()->hide();
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Narrower than the coordinates need at this font, the described widths
    // (25, 100, 65, 65) would cut the seconds and the hemisphere letter off.
    QFont font = grid->font();
    font.setPointSize(8);
    grid->setFont(font);
    grid->horizontalHeader()->setFont(font);
    grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
    const int coordinate =
        QFontMetrics(font).horizontalAdvance(QStringLiteral("000\u00B000'00\"W")) + 8;
    grid->setColumnWidth(0, 25);
    grid->setColumnWidth(1, std::max(60, 262 - 25 - 2 * coordinate));
    grid->setColumnWidth(2, coordinate);
    grid->setColumnWidth(3, coordinate);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setMinimumHeight(kGridHeight);
    grid->setMinimumWidth(270);
    grid->setWordWrap(false);
    return grid;
}

void TfrmNavManager::setPages(QWidget* routes, QWidget* tracks) {
    const auto replace = [this](QWidget*& slot, QWidget* page) {
        if (page == nullptr) return;
        const int at = pages_->indexOf(slot);
        pages_->removeWidget(slot);
        slot->deleteLater();
        slot = page;
        pages_->insertWidget(at, page);
    };
    replace(routePage_, routes);
    replace(trackPage_, tracks);
}

void TfrmNavManager::retranslate() {
    setWindowTitle(Text(texts_, TextId::NavManagerMarkerManager));
    lblViewer_->setText(Text(texts_, TextId::NavManagerMarkMarkListViewer));
    lblDevice_->setText(Text(texts_, TextId::NavManagerMarkMarkListDevice));
    const QStringList titles{
        Text(texts_, TextId::NavManagerMarkNo), Text(texts_, TextId::NavManagerMarkLabel),
        Text(texts_, TextId::NavManagerMarkLat), Text(texts_, TextId::NavManagerMarkLon)};
    viewerGrid_->setHorizontalHeaderLabels(titles);
    deviceGrid_->setHorizontalHeaderLabels(titles);
    btnLocate_->setText(Text(texts_, TextId::NavManagerLocate));
    btnProperties_->setText(Text(texts_, TextId::NavManagerEdit));
    btnDelete_->setText(Text(texts_, TextId::NavManagerDelete));
    btnRefresh_->setText(Text(texts_, TextId::NavManagerRefresh));
    btnClose_->setText(Text(texts_, TextId::NavManagerClose));
    if (isVisible() || page_ == ManagerPage::Markers) {
        refillViewer();
        refillDevice();
    }
}

void TfrmNavManager::prepare(ManagerPage page) {
    page_ = page;
    exchange_.clearDevice();
    viewerGrid_->setRowCount(1);
    deviceGrid_->setRowCount(1);
    pages_->setCurrentIndex(static_cast<int>(page));
    markerButtons_->setVisible(page == ManagerPage::Markers);
    if (page != ManagerPage::Markers) {
        setFixedWidth(kWideWidth);
        return;
    }
    side_ = MarkerSide::Viewer;
    deviceShown_ = host_.deviceKeepsMarkers();
    devicePanel_->setVisible(deviceShown_);
    btnRefresh_->setVisible(deviceShown_);
    refillViewer();
    refillDevice();
    selectRow(MarkerSide::Viewer, 0);
    setFixedWidth(deviceShown_ ? kWideWidth : kNarrowWidth);
    if (deviceShown_ && !exchange_.queryList()) host_.commandNotSent();
}

int TfrmNavManager::openModal(ManagerPage page) {
    prepare(page);
    return exec();
}

void TfrmNavManager::done(int result) {
    QDialog::done(result);
    host_.managerClosed();
}

void TfrmNavManager::fillGrid(QTableWidget* grid, int count,
                              const std::function<const MarkerRecord&(int)>& record) {
    const int row = grid->currentRow();
    grid->clearContents();
    grid->setRowCount(std::max(1, count));
    const ui::GridPalette colours;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QString cells[4];
        if (r < count) {
            const MarkerRecord& m = record(r);
            const ais::LonLatTexts pos = ais::FormatLonLatPair(m.longitude, m.latitude, 2);
            cells[0] = QString::number(r + 1);
            cells[1] = QString::fromUtf8(m.name);
            cells[2] = QString::fromUtf8(pos.latitude.c_str());
            cells[3] = QString::fromUtf8(pos.longitude.c_str());
        }
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setForeground(colours.outline);
            if (c > 0) item->setBackground(r % 2 == 0 ? colours.whiteFill : colours.panel);
            grid->setItem(r, c, item);
        }
    }
    if (row >= 0) grid->setCurrentCell(std::min(row, grid->rowCount() - 1), 0);
}

void TfrmNavManager::refillViewer() {
    fillGrid(viewerGrid_, markers_.count(),
             [this](int i) -> const MarkerRecord& { return markers_.at(i); });
    updateButtons();
}

void TfrmNavManager::refillDevice() {
    fillGrid(deviceGrid_, exchange_.deviceCount(),
             [this](int i) -> const MarkerRecord& { return exchange_.device(i).record; });
    updateButtons();
}

void TfrmNavManager::onReport(const MarkerReportResult& result) {
    if (result.listComplete) {
        refillViewer();
        refillDevice();
    } else if (result.deviceChanged) {
        refillDevice();
    }
}

void TfrmNavManager::selectRow(MarkerSide side, int row) {
    side_ = side;
    QTableWidget* grid = side == MarkerSide::Viewer ? viewerGrid_ : deviceGrid_;
    if (row >= 0 && row < grid->rowCount()) grid->setCurrentCell(row, 0);
    paintSelection();
    updateButtons();
}

int TfrmNavManager::selectedRow() const {
    const QTableWidget* grid = side_ == MarkerSide::Viewer ? viewerGrid_ : deviceGrid_;
    return grid->currentRow();
}

// The selected row in white on grey, in the grid of the active list only.
void TfrmNavManager::paintSelection() {
    const ui::GridPalette colours;
    for (QTableWidget* grid : {viewerGrid_, deviceGrid_}) {
        const bool active = (grid == viewerGrid_) == (side_ == MarkerSide::Viewer);
        QPalette p = grid->palette();
        p.setColor(QPalette::Highlight, active ? colours.grey : QColor(Qt::transparent));
        p.setColor(QPalette::HighlightedText, active ? colours.whiteFill : colours.outline);
        p.setColor(QPalette::Inactive, QPalette::Highlight,
                   active ? colours.grey : QColor(Qt::transparent));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   active ? colours.whiteFill : colours.outline);
        grid->setPalette(p);
    }
}

void TfrmNavManager::updateButtons() {
    const bool viewerSide = side_ == MarkerSide::Viewer;
    const int entries = viewerSide ? markers_.count() : exchange_.deviceCount();
    const int row = selectedRow();
    const bool any = entries > 0;
    btnProperties_->setEnabled(any);
    btnDelete_->setEnabled(any);
    if (viewerSide) {
        btnLocate_->setEnabled(any && host_.markersShown());
        btnToViewer_->setEnabled(false);
        btnToDevice_->setEnabled(any && exchange_.canSendToDevice(std::max(row, 0)));
    } else {
        btnLocate_->setEnabled(false);
        btnToDevice_->setEnabled(false);
        btnToViewer_->setEnabled(any && !markers_.full());
    }
}

void TfrmNavManager::moveToNextRow() {
    QTableWidget* grid = side_ == MarkerSide::Viewer ? viewerGrid_ : deviceGrid_;
    const int row = grid->currentRow();
    if (row + 1 < grid->rowCount()) selectRow(side_, row + 1);
}

void TfrmNavManager::onLocate() {
    const int row = selectedRow();
    if (side_ != MarkerSide::Viewer || !markers_.valid(row) || !host_.markersShown()) return;
    host_.locateMarker(row);
}

void TfrmNavManager::onProperties() {
    const int row = selectedRow();
    if (side_ == MarkerSide::Viewer) {
        if (markers_.valid(row)) host_.editMarker(row);
    } else if (exchange_.deviceValid(row)) {
        host_.editDeviceMarker(row);
    }
}

void TfrmNavManager::onDelete() {
    const int row = selectedRow();
    const bool viewerSide = side_ == MarkerSide::Viewer;
    if (viewerSide ? !markers_.valid(row) : !exchange_.deviceValid(row)) return;
    const ui::MessageAnswer answer =
        dialogs_.message(this, Text(texts_, TextId::NavManagerWarning),
                         Text(texts_, TextId::NavManagerConfirmDelete), ui::MessageIcon::Warning,
                         ui::MessageButtons::YesNo);
    if (answer != ui::MessageAnswer::Yes) return;
    if (viewerSide) {
        markers_.remove(row);
        host_.markersChanged();
        refillViewer();
    } else if (!exchange_.deleteOnDevice(row)) {
        // The device removes the marker from its list when it reports the deletion.
        host_.commandNotSent();
    }
}

void TfrmNavManager::onRefresh() {
    if (!exchange_.queryList()) host_.commandNotSent();
    refillDevice();
}

void TfrmNavManager::onToDevice() {
    const int row = selectedRow();
    if (side_ != MarkerSide::Viewer || !exchange_.canSendToDevice(row)) return;
    if (!exchange_.sendToDevice(row)) {
        host_.commandNotSent();
        return;
    }
    moveToNextRow();
}

void TfrmNavManager::onToViewer() {
    const int row = selectedRow();
    if (side_ != MarkerSide::Device || !exchange_.deviceValid(row)) return;
    if (exchange_.copyToViewer(row) < 0) return;
    host_.markersChanged();
    refillViewer();
    moveToNextRow();
}

QPushButton* TfrmNavManager::button(const char* name) const {
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

}  // namespace norq::nav
