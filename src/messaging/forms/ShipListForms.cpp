#include "messaging/forms/ShipListForms.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemDelegate>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>
#include <vector>

#include "ui/Dialogs.h"

namespace norq::messaging {

namespace {

using base::TextId;

QString Text(const base::TextStore& texts, TextId id) {
    return QString::fromStdString(texts.text(id));
}

// Editors of the friend grid: nine digits for the MMSI, one letter for the flag,
// and names without the commas and line breaks that would break buddy.csv.
class BuddyDelegate final : public QItemDelegate {
  public:
    using QItemDelegate::QItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* edit = new QLineEdit(parent);
        switch (index.column()) {
            case 1:
                edit->setInputMask(QStringLiteral("000000000;_"));
                break;
            case 4:
                edit->setInputMask(QStringLiteral(">L;_"));
                break;
            default:
                edit->setMaxLength(static_cast<int>(kFriendNameLength));
                edit->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(QStringLiteral("[^,\\r\\n\\t]*")), edit));
                break;
        }
        return edit;
    }
};

constexpr int kBuddyRows = 256;

}  // namespace

// ---- Monitored ship list ---------------------------------------------------------

TfrmMonitoredShipList::TfrmMonitoredShipList(const base::TextStore& texts,
                                             const ais::TargetTable& table, ShipMarks& marks,
                                             ui::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), texts_(texts), table_(table), marks_(marks), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmMonitoredShipList"));
    grid_ = new QTableWidget(1, 3, this);
    grid_->setObjectName(QStringLiteral("StringGridSelectedShipList"));
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setColumnWidth(0, 28);
    grid_->setColumnWidth(1, 80);
    grid_->horizontalHeader()->setStretchLastSection(true);
    btnDelete_ = new QPushButton(this);
    btnDelete_->setObjectName(QStringLiteral("btnDelete"));
    connect(btnDelete_, &QPushButton::clicked, this, &TfrmMonitoredShipList::onDelete);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addWidget(btnDelete_, 0, Qt::AlignRight);
    resize(320, 300);
    retranslate();
}

void TfrmMonitoredShipList::retranslate() {
    setWindowTitle(Text(texts_, TextId::MonitoredShipListMonitorTitle));
    grid_->setHorizontalHeaderLabels({Text(texts_, TextId::MonitoredShipListNo),
                                      Text(texts_, TextId::MonitoredShipListMmsi),
                                      Text(texts_, TextId::MonitoredShipListName)});
    btnDelete_->setText(Text(texts_, TextId::MonitoredShipListMonitorDelete));
}

void TfrmMonitoredShipList::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    rebuild();
}

void TfrmMonitoredShipList::rebuild() {
    grid_->clearContents();
    grid_->setRowCount(std::max(1, marks_.monitoredCount()));
    int row = 0;
    for (int i = 1; i < table_.count(); ++i) {
        if (!marks_.isMonitored(i)) continue;
        if (row >= grid_->rowCount()) grid_->setRowCount(row + 1);
        grid_->setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
        grid_->setItem(row, 1, new QTableWidgetItem(QString::number(table_[i].mmsi)));
        grid_->setItem(row, 2, new QTableWidgetItem(QString::fromUtf8(table_[i].name.data())));
        ++row;
    }
}

void TfrmMonitoredShipList::onDelete() {
    if (marks_.monitoredCount() < 1) return;
    const int row = std::max(0, grid_->currentRow());
    const QTableWidgetItem* mmsi = grid_->item(row, 1);
    if (mmsi == nullptr) return;
    const ui::MessageAnswer answer =
        dialogs_.message(this, QString::fromStdString(texts_.text(TextId::OtherMsgConfirm)),
                         Text(texts_, TextId::MonitoredShipListConfirmDelete),
                         ui::MessageIcon::Question, ui::MessageButtons::YesNo);
    if (answer == ui::MessageAnswer::No) return;
    marks_.removeMonitoredMmsi(mmsi->text().toUInt());
    rebuild();
}

// ---- Friend ship dialog ----------------------------------------------------------

TfrmBuddyDlg::TfrmBuddyDlg(const base::TextStore& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
    setObjectName(QStringLiteral("frmBuddyDlg"));
    grid_ = new QTableWidget(kBuddyRows, 5, this);
    grid_->setObjectName(QStringLiteral("StringGridBuddy"));
    grid_->verticalHeader()->hide();
    grid_->setItemDelegate(new BuddyDelegate(grid_));
    grid_->setColumnWidth(0, 28);
    grid_->setColumnWidth(1, 80);
    grid_->setColumnWidth(2, 150);
    grid_->setColumnWidth(3, 150);
    grid_->setColumnWidth(4, 80);
    for (int r = 0; r < kBuddyRows; ++r) {
        auto* number = new QTableWidgetItem(QString::number(r + 1));
        number->setFlags(number->flags() & ~Qt::ItemIsEditable);
        grid_->setItem(r, 0, number);
    }
    connect(grid_, &QTableWidget::cellChanged, this, &TfrmBuddyDlg::normaliseCell);
    btnOk_ = new QPushButton(this);
    btnCancel_ = new QPushButton(this);
    connect(btnOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    layout->addLayout(buttons);
    resize(520, 420);
    retranslate();
}

void TfrmBuddyDlg::retranslate() {
    setWindowTitle(Text(texts_, TextId::FriendShipListFriendShipList));
    grid_->setHorizontalHeaderLabels({Text(texts_, TextId::FriendShipListNo),
                                      Text(texts_, TextId::FriendShipListMmsi),
                                      Text(texts_, TextId::FriendShipListShipNameEnglish),
                                      Text(texts_, TextId::FriendShipListShipNameLocal),
                                      Text(texts_, TextId::FriendShipListFriend)});
    btnOk_->setText(Text(texts_, TextId::FriendShipListOk));
    btnCancel_->setText(Text(texts_, TextId::FriendShipListCancel));
}

void TfrmBuddyDlg::normaliseCell(int row, int column) {
    QTableWidgetItem* item = grid_->item(row, column);
    if (item == nullptr || (column != 1 && column != 4)) return;
    const std::string text = item->text().toStdString();
    if (column == 1 && text.empty()) return;
    const std::string rule = column == 1 ? NormalisedMmsiCell(text) : NormalisedFriendCell(text);
    if (rule != text) item->setText(QString::fromStdString(rule));
}

void TfrmBuddyDlg::fill(const FriendList& list) {
    const QSignalBlocker blocker(grid_);
    for (int r = 0; r < kBuddyRows; ++r) {
        for (int c = 1; c < 5; ++c) {
            QString text;
            if (r < list.count()) {
                const FriendShip& f = list[r];
                text = c == 1   ? QString::asprintf("%09u", f.mmsi)
                       : c == 2 ? QString::fromUtf8(f.englishName.data())
                       : c == 3 ? QString::fromUtf8(f.localName.data())
                                : QString::fromLatin1(f.friendFlag == 1 ? "Y" : "N");
            }
            grid_->setItem(r, c, new QTableWidgetItem(text));
        }
    }
}

bool TfrmBuddyDlg::takeRows(FriendList& list) {
    std::vector<FriendRow> rows(kBuddyRows);
    for (int r = 0; r < kBuddyRows; ++r) {
        auto cell = [&](int c) {
            const QTableWidgetItem* item = grid_->item(r, c);
            return item == nullptr ? std::string() : item->text().toStdString();
        };
        rows[static_cast<std::size_t>(r)] = {cell(1), cell(2), cell(3), cell(4)};
    }
    if (!list.setFromRows(rows.data(), kBuddyRows)) return false;
    fill(list);
    return true;
}

bool TfrmBuddyDlg::edit(FriendList& list) {
    fill(list);
    if (parentWidget() != nullptr) move(parentWidget()->pos() + QPoint(50, 80));
    if (exec() != QDialog::Accepted) return false;
    return takeRows(list);
}

}  // namespace norq::messaging
