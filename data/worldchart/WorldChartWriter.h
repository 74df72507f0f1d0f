// Lays out a world-chart file: the header, the row-major cell index, then the
// polygon blocks of the coastal cells in the order of their cells.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CellCutter.h"

namespace norq::worldchart {

class WorldChartWriter {
  public:
    explicit WorldChartWriter(const GridSpec& grid);
    void setCell(int row, int column, CellResult&& result);
    // The whole file; empty when it would not fit 32-bit offsets.
    std::vector<std::uint8_t> bytes() const;
    // Writes the file through a temporary file in the same folder.
    bool write(const std::string& path, std::string& error) const;

  private:
    GridSpec grid_;
    std::vector<CellResult> cells_;
};

}  // namespace norq::worldchart
