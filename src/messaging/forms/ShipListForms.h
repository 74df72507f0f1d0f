// The monitored ship list (TfrmMonitoredShipList) and the friend ship dialog
// (TfrmBuddyDlg).
#pragma once

#include <QDialog>

#include "base/LanguageTable.h"
#include "messaging/ShipMarks.h"

class QPushButton;
class QTableWidget;

namespace norq::ui {
class Dialogs;
}

namespace norq::messaging {

class TfrmMonitoredShipList final : public QDialog {
    Q_OBJECT

  public:
    TfrmMonitoredShipList(const base::TextStore& texts, const ais::TargetTable& table,
                          ShipMarks& marks, ui::Dialogs& dialogs, QWidget* parent = nullptr);
    void retranslate();
    // Rebuilds the grid from the table's monitored entries.
    void rebuild();
    // "Delete": asks, then the selected row's MMSI loses its mark.
    void onDelete();
    QTableWidget* grid() const { return grid_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    const base::TextStore& texts_;
    const ais::TargetTable& table_;
    ShipMarks& marks_;
    ui::Dialogs& dialogs_;
    QTableWidget* grid_;
    QPushButton* btnDelete_;
};

class TfrmBuddyDlg final : public QDialog {
    Q_OBJECT

  public:
    TfrmBuddyDlg(const base::TextStore& texts, QWidget* parent = nullptr);
    void retranslate();
    // Fills the grid from the list; on OK the list takes the grid's rows.
    bool edit(FriendList& list);
    void fill(const FriendList& list);
    // The grid's rows as typed, with the cell rules applied.
    bool takeRows(FriendList& list);
    QTableWidget* grid() const { return grid_; }

  private:
    void normaliseCell(int row, int column);

    const base::TextStore& texts_;
    QTableWidget* grid_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
};

}  // namespace norq::messaging
