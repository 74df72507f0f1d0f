#include "app/ShipListModel.h"

namespace norq::app {

ShipListModel::ShipListModel(QObject* parent) : QAbstractListModel(parent) {}

int ShipListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : size_;
}

QVariant ShipListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= size_) return {};
    const std::string_view text = line(index.row());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string_view ShipListModel::line(int index) const {
    return (index >= 0 && index < size_) ? lines_[index].view() : std::string_view();
}

void ShipListModel::setLine(int index, std::string_view line) {
    if (index < 0 || index > size_ || index >= ais::kTargetTableSize) return;
    if (index == size_) {
        beginInsertRows({}, index, index);
        lines_[index] = ais::ShipListText(line);
        ++size_;
        endInsertRows();
        return;
    }
    if (lines_[index] == line) return;
    lines_[index] = ais::ShipListText(line);
    changed_.set(static_cast<std::size_t>(index));
    anyChanged_ = true;
}

void ShipListModel::deleteLastLine() {
    if (size_ == 0) return;
    beginRemoveRows({}, size_ - 1, size_ - 1);
    --size_;
    changed_.reset(static_cast<std::size_t>(size_));
    endRemoveRows();
}

void ShipListModel::rebuild(const ais::TargetTable& table) {
    beginResetModel();
    size_ = table.count();
    for (int i = 0; i < size_; ++i)
        lines_[i] = ais::ShipListLine(table[i], i);
    changed_.reset();
    anyChanged_ = false;
    endResetModel();
}

void ShipListModel::flush() {
    if (!anyChanged_) return;
    // One report per changed line: the view repaints a single line's rectangle,
    // but the whole list for a report that spans several lines.
    for (int row = 0; row < size_; ++row) {
        if (changed_.test(static_cast<std::size_t>(row)))
            Q_EMIT dataChanged(index(row), index(row), {Qt::DisplayRole});
    }
    changed_.reset();
    anyChanged_ = false;
}

}  // namespace norq::app
