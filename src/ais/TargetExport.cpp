#include "ais/TargetExport.h"

#include "base/Files.h"

namespace norq::ais {

namespace {

void AppendCell(std::string& out, std::string_view cell) {
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += cell;
    } else {
        out += '"';
        for (char c : cell) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    out += ',';
}

}  // namespace

ColumnTitles DefaultColumnTitles() {
    ColumnTitles titles{};
    for (std::size_t i = 0; i < kGridColumnCount; ++i)
        titles[i] = kGridColumnTitles[i].builtIn;
    return titles;
}

std::string FormatTargetExport(const TargetTable& table, const TextOptions& options,
                               const ColumnTitles& titles) {
    std::string out;
    out.reserve(static_cast<std::size_t>(table.count() + 1) * 200);
    for (std::string_view title : titles)
        AppendCell(out, title);
    out += "\r\n";
    GridRow row;
    for (int i = 0; i < table.count(); ++i) {
        FillGridRow(table[i], i, options, row);
        for (const CellText& cell : row)
            AppendCell(out, cell.view());
        out += "\r\n";
    }
    return out;
}

bool WriteTargetExport(const std::string& path, const TargetTable& table,
                       const TextOptions& options, const ColumnTitles& titles) {
    return base::WriteFileAtomically(path, FormatTargetExport(table, options, titles));
}

}  // namespace norq::ais
