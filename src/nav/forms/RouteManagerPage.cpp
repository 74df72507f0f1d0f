#include "nav/forms/RouteManagerPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "nav/forms/NavFormTexts.h"

namespace norq::nav {

namespace {
using base::TextId;
constexpr int kColumns = 6;
}  // namespace

RouteManagerPage::RouteManagerPage(const base::TextStore& texts, const RouteStore& store,
                                   QWidget* parent)
    : QWidget(parent), texts_(texts), store_(store) {
    setObjectName(QStringLiteral("TabSheetRouteList"));
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("lblRouteList"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    grid_ = new QTableWidget(1, kColumns, this);
    grid_->setObjectName(QStringLiteral("StringGridRoute"));
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setAlternatingRowColors(true);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->horizontalHeader()->setStretchLastSection(true);
    const int widths[kColumns] = {36, 130, 110, 110, 150, 60};
    for (int c = 0; c < kColumns; ++c)
        grid_->setColumnWidth(c, widths[c]);
    btnLocate_ = new QPushButton(this);
    btnLocate_->setObjectName(QStringLiteral("btnRouteLocate"));
    btnProperties_ = new QPushButton(this);
    btnProperties_->setObjectName(QStringLiteral("btnRouteProperties"));
    btnDelete_ = new QPushButton(this);
    btnDelete_->setObjectName(QStringLiteral("btnRouteDelete"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnLocate_);
    buttons->addWidget(btnProperties_);
    buttons->addWidget(btnDelete_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    connect(btnLocate_, &QPushButton::clicked, this, [this] {
        if (rowShowsV(selectedRow())) Q_EMIT locateRequested(selectedRow());
    });
    connect(btnProperties_, &QPushButton::clicked, this, [this] {
        if (store_.valid(selectedRow())) Q_EMIT propertiesRequested(selectedRow());
    });
    connect(btnDelete_, &QPushButton::clicked, this, [this] {
        if (store_.valid(selectedRow())) Q_EMIT deleteRequested(selectedRow());
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (rowShowsV(row)) Q_EMIT locateRequested(row);
    });
    connect(grid_, &QTableWidget::itemSelectionChanged, this, &RouteManagerPage::updateButtons);
    connect(grid_, &QWidget::customContextMenuRequested, this, &RouteManagerPage::showPopup);
    retranslate();
    refill();
}

void RouteManagerPage::retranslate() {
    title_->setText(Tx(texts_, TextId::NavManagerRouteRouteList));
    btnLocate_->setText(Tx(texts_, TextId::NavManagerLocate));
    btnProperties_->setText(Tx(texts_, TextId::NavManagerEdit));
    btnDelete_->setText(Tx(texts_, TextId::NavManagerDelete));
    grid_->setHorizontalHeaderLabels(
        {Tx(texts_, TextId::NavManagerRouteNo), Tx(texts_, TextId::NavManagerRouteName),
         Tx(texts_, TextId::NavManagerRouteDepart), Tx(texts_, TextId::NavManagerRouteDestination),
         Tx(texts_, TextId::NavManagerRouteCreateTime),
         Tx(texts_, TextId::NavManagerRouteVisible)});
}

void RouteManagerPage::refill() {
    const int selected = selectedRow();
    grid_->clearContents();
    grid_->setRowCount(std::max(1, store_.count()));
    for (int row = 0; row < store_.count(); ++row) {
        const Route& r = store_.route(row);
        const QString cells[kColumns] = {
            QString::number(row + 1),
            Utf8(r.name),
            Utf8(r.depart),
            Utf8(r.destination),
            Utf8(r.createdTime),
            r.visible && store_.shown() ? QStringLiteral("V") : QString()};
        for (int c = 0; c < kColumns; ++c)
            grid_->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
    if (store_.count() > 0) selectRow(std::clamp(selected, 0, store_.count() - 1));
    updateButtons();
}

void RouteManagerPage::updateButtons() {
    const bool any = store_.count() > 0;
    btnLocate_->setEnabled(rowShowsV(selectedRow()));
    btnProperties_->setEnabled(any);
    btnDelete_->setEnabled(any);
}

int RouteManagerPage::selectedRow() const {
    const int row = grid_->currentRow();
    return store_.valid(row) ? row : -1;
}

void RouteManagerPage::selectRow(int row) {
    if (store_.valid(row)) grid_->selectRow(row);
    updateButtons();
}

bool RouteManagerPage::rowShowsV(int row) const {
    return store_.valid(row) && store_.shown() && store_.route(row).visible;
}

void RouteManagerPage::toggleVisible(int row) {
    if (!store_.valid(row) || !store_.shown()) return;
    Q_EMIT visibleRequested(row, !store_.route(row).visible);
}

void RouteManagerPage::showPopup(const QPoint& at) {
    const int row = grid_->rowAt(at.y());
    if (!store_.valid(row)) return;
    selectRow(row);
    QMenu menu(this);
    QAction* visible = menu.addAction(Tx(texts_, TextId::NavManagerVisible));
    visible->setObjectName(QStringLiteral("mnuRouteVisible"));
    visible->setCheckable(true);
    visible->setChecked(rowShowsV(row));
    visible->setEnabled(store_.shown());
    if (menu.exec(grid_->viewport()->mapToGlobal(at)) == visible) toggleVisible(row);
}

void RouteManagerPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Q_EMIT pageShown();
    refill();
}

void RouteManagerPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Q_EMIT pageHidden();
}

}  // namespace norq::nav
