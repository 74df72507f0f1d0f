// The ship list: one line per table entry, kept as the logic writes it. Lines are
// stored inline (no allocation per message); the view is told about changed lines
// in one batch per pass of the event loop.
#pragma once

#include <QAbstractListModel>
#include <array>
#include <bitset>
#include <string_view>

#include "ais/TargetTable.h"
#include "ais/TargetTexts.h"

namespace norq::app {

class ShipListModel final : public QAbstractListModel {
    Q_OBJECT

  public:
    explicit ShipListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Rewrites the line of an entry; the list's size appends it. An index beyond
    // the size is ignored (lines are written in entry order).
    void setLine(int index, std::string_view line);
    int lineCount() const { return size_; }
    void deleteLastLine();
    // Empties the list and writes every entry's line anew.
    void rebuild(const ais::TargetTable& table);
    // Reports the changed lines to the view.
    void flush();

    std::string_view line(int index) const;

  private:
    std::array<ais::ShipListText, ais::kTargetTableSize> lines_{};
    int size_ = 0;
    std::bitset<ais::kTargetTableSize> changed_;
    bool anyChanged_ = false;
};

}  // namespace norq::app
