#include "app/TargetGridModel.h"

#include <array>

namespace norq::app {

namespace {

constexpr std::array<TextId, ais::kGridColumnCount> kColumnTitles{
    TextId::AlphaViewNo,       TextId::AlphaViewMmsi,        TextId::AlphaViewClass,
    TextId::AlphaViewRxCount,  TextId::AlphaViewRxMsgId,     TextId::AlphaViewName,
    TextId::AlphaViewCallsign, TextId::AlphaViewRange,       TextId::AlphaViewBearing,
    TextId::AlphaViewSog,      TextId::AlphaViewCog,         TextId::AlphaViewHeading,
    TextId::AlphaViewCpa,      TextId::AlphaViewTcpa,        TextId::AlphaViewLat,
    TextId::AlphaViewLon,      TextId::AlphaViewRot,         TextId::AlphaViewLength,
    TextId::AlphaViewBeam,     TextId::AlphaViewDestination, TextId::AlphaViewEta,
    TextId::AlphaViewShiptype, TextId::AlphaViewCargo,
};

}  // namespace

TargetGridModel::TargetGridModel(const ais::TargetTable& table, const ais::TextOptions& options,
                                 const TextStore& texts, QObject* parent)
    : QAbstractTableModel(parent),
      table_(table),
      options_(options),
      texts_(texts),
      rows_(table.count()) {}

int TargetGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TargetGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ais::kGridColumnCount);
}

QString TargetGridModel::cellText(int row, int column) const {
    if (row < 0 || row >= table_.count() || column < 0 ||
        column >= static_cast<int>(ais::kGridColumnCount)) {
        return {};
    }
    const ais::CellText text =
        ais::GridCellText(table_[row], row, static_cast<ais::GridColumn>(column), options_);
    return QString::fromUtf8(text.c_str(), static_cast<qsizetype>(text.size()));
}

QVariant TargetGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return cellText(index.row(), index.column());
        case Qt::BackgroundRole:
            if (level_) {
                switch (level_(index.row())) {
                    case ais::CpaLevel::Alarm:
                        return palette_.dangerousFill;
                    case ais::CpaLevel::Warning:
                        return palette_.warningFill;
                    case ais::CpaLevel::Caution:
                        return palette_.cautionFill;
                    case ais::CpaLevel::None:
                        break;
                }
            }
            // Below the title row, odd rows (the own ship is row 1) are white.
            return (index.row() % 2 == 0) ? palette_.whiteFill : palette_.panel;
        case Qt::ForegroundRole:
            return palette_.outline;
        default:
            return {};
    }
}

QVariant TargetGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(kColumnTitles.size())) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromStdString(texts_.text(kColumnTitles[section]));
}

void TargetGridModel::setPalette(const ui::GridPalette& palette) {
    palette_ = palette;
    if (rows_ > 0) Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
}

void TargetGridModel::markRowChanged(int index) {
    if (index < 0 || index >= ais::kTargetTableSize) return;
    changed_.set(static_cast<std::size_t>(index));
    anyChanged_ = true;
}

void TargetGridModel::flush() {
    const int count = table_.count();
    if (count > rows_) {
        beginInsertRows({}, rows_, count - 1);
        rows_ = count;
        endInsertRows();
    } else if (count < rows_) {
        beginRemoveRows({}, count, rows_ - 1);
        rows_ = count;
        endRemoveRows();
    }
    if (!anyChanged_) return;
    // One report per run of changed rows.
    const int last = columnCount() - 1;
    int runStart = -1;
    for (int row = 0; row <= rows_; ++row) {
        const bool changed = row < rows_ && changed_.test(static_cast<std::size_t>(row));
        if (changed && runStart < 0) runStart = row;
        if (!changed && runStart >= 0) {
            Q_EMIT dataChanged(index(runStart, 0), index(row - 1, last), {Qt::DisplayRole});
            runStart = -1;
        }
    }
    changed_.reset();
    anyChanged_ = false;
}

void TargetGridModel::resetRows() {
    beginResetModel();
    rows_ = table_.count();
    changed_.reset();
    anyChanged_ = false;
    endResetModel();
}

void TargetGridModel::titlesChanged() {
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

}  // namespace norq::app
