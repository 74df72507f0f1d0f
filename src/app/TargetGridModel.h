// The alphanumeric target grid as a table model: one row per table entry (the own
// ship first), 23 columns. Cells are formatted on demand from the target table when
// the view paints them, so 500 rows cost nothing until they are seen; the logic
// only marks rows changed, and the changes are reported to the view in one batch
// per pass of the event loop. A changed row reports only the cells whose text is
// not the one reported before, so the view repaints those cells and not the page.
#pragma once

#include <QAbstractTableModel>
#include <bitset>
#include <functional>
#include <vector>

#include "ais/CpaAlarms.h"
#include "ais/TargetTable.h"
#include "ais/TargetTexts.h"
#include "app/BaseNames.h"
#include "base/LanguageTable.h"
#include "ui/GridPalette.h"

namespace norq::app {

class TargetGridModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    TargetGridModel(const ais::TargetTable& table, const ais::TextOptions& options,
                    const TextStore& texts, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setPalette(const ui::GridPalette& palette);
    // The CPA level of an entry; a row at a level is filled in its colour.
    void setLevelSource(std::function<ais::CpaLevel(int)> level) { level_ = std::move(level); }
    // The row of the entry must be redrawn (reported at the next flush).
    void markRowChanged(int index);
    // Rows to match the table's count, and the changed rows to the view.
    void flush();
    // Every row anew (the table changed as a whole, or the language).
    void resetRows();
    void titlesChanged();

    // One cell's text as the view shows it.
    QString cellText(int row, int column) const;

  private:
    ais::CellText gridText(int row, int column) const;
    void reportRow(int row, int lastColumn);
    void forgetRows(int from);

    const ais::TargetTable& table_;
    const ais::TextOptions& options_;
    const TextStore& texts_;
    ui::GridPalette palette_;
    std::function<ais::CpaLevel(int)> level_;
    int rows_ = 0;
    // Marked by markRowChanged and by data() when the view is handed a text other
    // than the one last reported, so that row is reported again as a whole.
    mutable std::bitset<ais::kTargetTableSize> changed_;
    mutable bool anyChanged_ = false;
    // The texts and level last reported of every row with `reported_` set.
    std::vector<ais::GridRow> reportedTexts_;
    std::vector<ais::CpaLevel> reportedLevels_;
    std::bitset<ais::kTargetTableSize> reported_;
    mutable std::bitset<ais::kTargetTableSize> mismatched_;
};

}  // namespace norq::app
