// The target-list export: a header row of the 23 column titles, then one row
// per table entry (the own ship first), every cell followed by a comma, CR LF
// line ends, UTF-8. Cells holding a comma or a double quote are quoted.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ais/TargetTable.h"
#include "ais/TargetTexts.h"

namespace norq::ais {

using ColumnTitles = std::array<std::string_view, kGridColumnCount>;

// The built-in English titles.
ColumnTitles DefaultColumnTitles();

// The whole file as text.
std::string FormatTargetExport(const TargetTable& table, const TextOptions& options,
                               const ColumnTitles& titles);

// Writes the file atomically; false (and the old file untouched) on failure.
bool WriteTargetExport(const std::string& path, const TargetTable& table,
                       const TextOptions& options, const ColumnTitles& titles);

}  // namespace norq::ais
