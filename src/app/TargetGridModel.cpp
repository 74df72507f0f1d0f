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
      rows_(table.count()),
      reportedTexts_(ais::kTargetTableSize),
      reportedLevels_(ais::kTargetTableSize, ais::CpaLevel::None) {}

int TargetGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TargetGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ais::kGridColumnCount);
}

ais::CellText TargetGridModel::gridText(int row, int column) const {
    if (row < 0 || row >= table_.count() || column < 0 ||
        column >= static_cast<int>(ais::kGridColumnCount)) {
        return {};
    }
    return ais::GridCellText(table_[row], row, static_cast<ais::GridColumn>(column), options_);
}

QString TargetGridModel::cellText(int row, int column) const {
    const ais::CellText text = gridText(row, column);
    return QString::fromUtf8(text.c_str(), static_cast<qsizetype>(text.size()));
}

QVariant TargetGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row();
    const bool reported = row < ais::kTargetTableSize && reported_.test(row);
    // A text or level the view gets that differs from the one last reported
    // (the table changed since): the row is reported again at the next flush.
    auto checkShown = [&](bool same) {
        if (!reported || same) return;
        mismatched_.set(row);
        changed_.set(row);
        anyChanged_ = true;
    };
    switch (role) {
        case Qt::DisplayRole: {
            const ais::CellText text = gridText(row, index.column());
            checkShown(text == reportedTexts_[row][index.column()].view());
            return QString::fromUtf8(text.c_str(), static_cast<qsizetype>(text.size()));
        }
        case Qt::BackgroundRole:
            if (level_) {
                const ais::CpaLevel level = level_(row);
                checkShown(level == reportedLevels_[row]);
                switch (level) {
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
            return (row % 2 == 0) ? palette_.whiteFill : palette_.panel;
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
        forgetRows(count);
    }
    if (!anyChanged_) return;
    const int last = columnCount() - 1;
    for (int row = 0; row < rows_; ++row) {
        if (changed_.test(static_cast<std::size_t>(row))) reportRow(row, last);
    }
    changed_.reset();
    anyChanged_ = false;
}

void TargetGridModel::reportRow(int row, int lastColumn) {
    ais::GridRow& texts = reportedTexts_[row];
    const ais::CpaLevel level = level_ ? level_(row) : ais::CpaLevel::None;
    // A row not reported before, shown otherwise or with a new fill: every cell.
    const bool whole =
        !reported_.test(row) || mismatched_.test(row) || reportedLevels_[row] != level;
    bool any = false;
    for (int column = 0; column <= lastColumn; ++column) {
        const ais::CellText text = gridText(row, column);
        if (!whole && texts[column] == text.view()) continue;
        texts[column] = text;
        any = true;
        if (!whole) Q_EMIT dataChanged(index(row, column), index(row, column), {Qt::DisplayRole});
    }
    reportedLevels_[row] = level;
    reported_.set(row);
    mismatched_.reset(row);
    if (whole && any) Q_EMIT dataChanged(index(row, 0), index(row, lastColumn), {Qt::DisplayRole});
}

void TargetGridModel::forgetRows(int from) {
    for (int row = from; row < ais::kTargetTableSize; ++row) {
        reported_.reset(row);
        mismatched_.reset(row);
    }
}

void TargetGridModel::resetRows() {
    beginResetModel();
    rows_ = table_.count();
    changed_.reset();
    anyChanged_ = false;
    forgetRows(0);
    endResetModel();
}

void TargetGridModel::titlesChanged() {
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

}  // namespace norq::app
