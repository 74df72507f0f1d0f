#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "messaging/forms/BroadcastForms.h"

namespace norq::messaging {

using base::TextId;

namespace {
constexpr std::array<int, 9> kColumnWidths{25, 140, 40, 160, 100, 0, 130, 55, 40};
}  // namespace

TfrmBinmsgFairwayDataManagement::TfrmBinmsgFairwayDataManagement(const base::TextStore& texts,
                                                                 FairwayList& list,
                                                                 BinaryMessageSender& sender,
                                                                 QWidget* parent)
    : QDialog(parent), texts_(texts), list_(list), sender_(sender) {
    setObjectName(QStringLiteral("frmBinmsgFairwayDataManagement"));
    setWindowTitle(text(TextId::BroadcastManagerCaption));
    grid_ = new QTableWidget(0, 9, this);
    grid_->setObjectName(QStringLiteral("strGridBinWPMangRouteList"));
    grid_->setHorizontalHeaderLabels(text(TextId::BroadcastColumns).split(QLatin1Char(',')));
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    for (int c = 0; c < 9; ++c)
        grid_->setColumnWidth(c, kColumnWidths[c]);
    grid_->setColumnHidden(5, true);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row) { selectRow(row); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        selectRow(row);
        if (hooks_.locate && list_.selectedFairway() && list_.selectedFairway()->visible)
            hooks_.locate(static_cast<std::size_t>(row));
    });
    auto make = [this](const char* name, TextId id) {
        auto* b = new QPushButton(text(id), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    locate_ = make("btnLocate", TextId::BroadcastLocate);
    properties_ = make("btnProperties", TextId::BroadcastPropertiesButton);
    delete_ = make("btnDelete", TextId::BroadcastDelete);
    visible_ = make("btnVisible", TextId::BroadcastVisible);
    tx_ = make("btnMsgTx", TextId::BroadcastTx);
    withdraw_ = make("btnMsgCancel", TextId::BroadcastWithdraw);
    QPushButton* close = make("btnClose", TextId::BroadcastClose);
    connect(locate_, &QPushButton::clicked, this, [this] {
        if (hooks_.locate && list_.selected() >= 0) hooks_.locate(std::size_t(list_.selected()));
    });
    connect(properties_, &QPushButton::clicked, this, [this] {
        if (hooks_.properties && list_.selected() >= 0) {
            hooks_.properties(std::size_t(list_.selected()));
            refresh();
        }
    });
    connect(delete_, &QPushButton::clicked, this, &TfrmBinmsgFairwayDataManagement::onDelete);
    connect(visible_, &QPushButton::clicked, this, &TfrmBinmsgFairwayDataManagement::onVisible);
    connect(tx_, &QPushButton::clicked, this, &TfrmBinmsgFairwayDataManagement::onBroadcast);
    connect(withdraw_, &QPushButton::clicked, this, &TfrmBinmsgFairwayDataManagement::onWithdraw);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* row1 = new QHBoxLayout;
    for (QPushButton* b : {locate_, properties_, visible_, delete_})
        row1->addWidget(b);
    auto* row2 = new QHBoxLayout;
    for (QPushButton* b : {tx_, withdraw_})
        row2->addWidget(b);
    row2->addStretch();
    row2->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(row1);
    layout->addLayout(row2);
    resize(680, 360);
}

QString TfrmBinmsgFairwayDataManagement::text(TextId id) const {
    return QString::fromStdString(texts_.text(id));
}

void TfrmBinmsgFairwayDataManagement::showEvent(QShowEvent* event) {
    refresh();
    QDialog::showEvent(event);
}

void TfrmBinmsgFairwayDataManagement::refresh() {
    const QSignalBlocker block(grid_);
    const int rows = static_cast<int>(list_.count());
    grid_->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const Fairway& f = list_[static_cast<std::size_t>(r)];
        const QStringList cells{QString::number(r + 1),
                                QString::fromStdString(f.name),
                                QString::number(f.linkageId),
                                FairwayTypeName(texts_, f),
                                FairwayShapeName(texts_, f),
                                QString::number(f.noticeDescription),
                                QString::fromStdString(f.created),
                                f.visible ? QStringLiteral("V") : QString(),
                                f.broadcast ? QStringLiteral("V") : QString()};
        for (int c = 0; c < cells.size(); ++c)
            grid_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    if (list_.selected() >= 0) grid_->selectRow(list_.selected());
    updateButtons();
}

void TfrmBinmsgFairwayDataManagement::selectRow(int row) {
    list_.select(row);
    updateButtons();
}

void TfrmBinmsgFairwayDataManagement::updateButtons() {
    const Fairway* f = list_.selectedFairway();
    locate_->setEnabled(f && f->visible);
    properties_->setEnabled(f != nullptr);
    visible_->setEnabled(f != nullptr);
    // A fairway on the air is withdrawn before it may be deleted.
    delete_->setEnabled(f && !f->broadcast);
    tx_->setEnabled(f && f->linkageId > 0);
    withdraw_->setEnabled(f && f->linkageId > 0 && f->broadcast);
}

void TfrmBinmsgFairwayDataManagement::onVisible() {
    Fairway* f = list_.selectedFairway();
    if (!f) return;
    f->visible = !f->visible;
    refresh();
    if (hooks_.changed) hooks_.changed();
}

void TfrmBinmsgFairwayDataManagement::onBroadcast() {
    if (!list_.selectedFairway() || !hooks_.broadcast) return;
    hooks_.broadcast(static_cast<std::size_t>(list_.selected()));
    refresh();
    if (hooks_.changed) hooks_.changed();
}

void TfrmBinmsgFairwayDataManagement::onWithdraw() {
    Fairway* f = list_.selectedFairway();
    if (!f || f->linkageId <= 0) return;
    // Channel "Default": the transponder alternates.
    if (WithdrawFairway(*f, sender_, 0) != BroadcastResult::Sent && notify_) {
        notify_(texts_.text(TextId::BroadcastPortFailed));
    }
    refresh();
    if (hooks_.changed) hooks_.changed();
}

void TfrmBinmsgFairwayDataManagement::onDelete() {
    const Fairway* f = list_.selectedFairway();
    if (!f || f->broadcast) return;
    if (askDelete_ && !askDelete_()) return;
    list_.Remove(static_cast<std::size_t>(list_.selected()));
    list_.select(-1);
    refresh();
    if (hooks_.changed) hooks_.changed();
}

}  // namespace norq::messaging
