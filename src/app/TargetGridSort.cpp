#include "app/TargetGridSort.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "ais/TargetTexts.h"
#include "app/TargetGridModel.h"

namespace norq::app {

namespace {

using ais::GridColumn;

bool IsTextColumn(int column) {
    switch (static_cast<GridColumn>(column)) {
        case GridColumn::Class:
        case GridColumn::Name:
        case GridColumn::CallSign:
        case GridColumn::Destination:
            return true;
        default:
            return false;
    }
}

// The number a numeric cell starts with ("(70) Cargo ship" gives 70); none for
// "N/A", "Pass" and empty cells. Coordinates carry their hemisphere letter and
// minutes, so that south and west read as negative.
std::optional<double> CellNumber(const QString& text, int column) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("N/A")) ||
        trimmed.startsWith(QLatin1String("Pass"))) {
        return std::nullopt;
    }
    const QByteArray bytes = trimmed.toUtf8();
    const char* p = bytes.constData();
    while (*p == '(' || *p == ' ' || *p == '>')
        ++p;
    char* end = nullptr;
    const double value = std::strtod(p, &end);
    if (end == p) return std::nullopt;
    const auto kind = static_cast<GridColumn>(column);
    if (kind == GridColumn::Eta) {
        // "month/day hh:mm", in the order of the year.
        int month = 0, day = 0, hour = 0, minute = 0;
        if (std::sscanf(p, "%d/%d %d:%d", &month, &day, &hour, &minute) != 4) return std::nullopt;
        return ((month * 100.0 + day) * 100.0 + hour) * 100.0 + minute;
    }
    if (kind != GridColumn::Lat && kind != GridColumn::Lon) return value;
    // "ddd°mm.mmm'H": whole degrees, then the minutes after the degree sign.
    double minutes = 0.0;
    const char* q = end;
    while (*q != '\0' && (*q < '0' || *q > '9'))
        ++q;
    if (*q != '\0') minutes = std::strtod(q, nullptr);
    const double degrees = std::abs(value) + minutes / 60.0;
    const QChar letter = trimmed.back();
    return (letter == QLatin1Char('S') || letter == QLatin1Char('W')) ? -degrees : degrees;
}

}  // namespace

TargetGridSort::TargetGridSort(TargetGridModel* grid, QObject* parent)
    : QSortFilterProxyModel(parent), grid_(grid) {
    setSourceModel(grid);
    setDynamicSortFilter(true);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

void TargetGridSort::setDangerousFirst(bool first) {
    if (first == dangerousFirst_) return;
    dangerousFirst_ = first;
    applySort();
}

void TargetGridSort::sortByColumn(int column, Qt::SortOrder order) {
    column_ = (column >= 0 && column < static_cast<int>(ais::kGridColumnCount)) ? column : -1;
    order_ = order;
    applySort();
}

void TargetGridSort::applySort() {
    // Entry order with the dangerous targets first is the order by "NO".
    if (column_ < 0 && dangerousFirst_) {
        sort(0, Qt::AscendingOrder);
    } else if (column_ < 0) {
        sort(-1);
    } else {
        sort(column_, order_);
    }
    // The same column again with another rule (dangerous first) sorts anew.
    invalidate();
}

int TargetGridSort::entryOfRow(int row) const {
    return mapToSource(index(row, 0)).row();
}

int TargetGridSort::rowOfEntry(int entry) const {
    return mapFromSource(grid_->index(entry, 0)).row();
}

bool TargetGridSort::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    // The proxy reverses the answer for a descending sort; pinned rows undo that.
    const bool descending = sortOrder() == Qt::DescendingOrder;
    auto pinned = [descending](bool leftFirst) { return descending ? !leftFirst : leftFirst; };
    const int a = left.row();
    const int b = right.row();
    if (a == 0 || b == 0) return pinned(a == 0 && b != 0);
    if (dangerousFirst_ && dangerous_) {
        const bool da = dangerous_(a);
        const bool db = dangerous_(b);
        if (da != db) return pinned(da);
    }
    const int column = left.column();
    const QString ta = grid_->cellText(a, column);
    const QString tb = grid_->cellText(b, column);
    if (IsTextColumn(column)) {
        const QString sa = ta.trimmed();
        const QString sb = tb.trimmed();
        const bool ea = sa.isEmpty() || sa == QLatin1String("N/A");
        const bool eb = sb.isEmpty() || sb == QLatin1String("N/A");
        if (ea != eb) return pinned(!ea);
        const int order = sa.compare(sb, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : pinned(a < b);
    }
    const std::optional<double> na = CellNumber(ta, column);
    const std::optional<double> nb = CellNumber(tb, column);
    if (na.has_value() != nb.has_value()) return pinned(na.has_value());
    if (!na.has_value()) {
        // "Pass" before "N/A", then entry order.
        const bool pa = ta.trimmed().startsWith(QLatin1String("Pass"));
        const bool pb = tb.trimmed().startsWith(QLatin1String("Pass"));
        if (pa != pb) return pinned(pa);
        return pinned(a < b);
    }
    if (*na != *nb) return *na < *nb;
    return pinned(a < b);
}

}  // namespace norq::app
