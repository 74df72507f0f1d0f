// The order of the target grid's rows: by any column (a click on its title), and
// optionally with the dangerous targets first. Only the rows move: every entry
// keeps its index in the target table, and the grid's selection, the ship list
// and the rest of the program address targets by that index as before. The own
// ship stays the first row, and empty values ("N/A", "Pass") come after every
// value, in either direction.
#pragma once

#include <QSortFilterProxyModel>
#include <functional>

namespace norq::app {

class TargetGridModel;

class TargetGridSort final : public QSortFilterProxyModel {
    Q_OBJECT

  public:
    TargetGridSort(TargetGridModel* grid, QObject* parent = nullptr);

    // Whether the entry of a table index is dangerous (CPA and TCPA inside the
    // limits).
    void setDangerousTest(std::function<bool(int)> dangerous) { dangerous_ = std::move(dangerous); }
    void setDangerousFirst(bool first);
    bool dangerousFirst() const { return dangerousFirst_; }
    // The column the user sorts by (-1: entry order) and its direction.
    void sortByColumn(int column, Qt::SortOrder order);
    int sortColumnChosen() const { return column_; }
    Qt::SortOrder sortOrderChosen() const { return order_; }

    int entryOfRow(int row) const;
    int rowOfEntry(int entry) const;

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    void applySort();

    TargetGridModel* grid_;
    std::function<bool(int)> dangerous_;
    bool dangerousFirst_ = false;
    int column_ = -1;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};

}  // namespace norq::app
