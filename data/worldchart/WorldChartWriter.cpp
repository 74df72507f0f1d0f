#include "WorldChartWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

namespace norq::worldchart {

namespace {

void PutI32(std::vector<std::uint8_t>& out, std::int64_t value) {
    const auto v = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 24));
}

void SetI32(std::vector<std::uint8_t>& out, std::size_t at, std::int64_t value) {
    const auto v = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

WorldChartWriter::WorldChartWriter(const GridSpec& grid)
    : grid_(grid), cells_(static_cast<std::size_t>(grid.rows) * grid.columns) {}

void WorldChartWriter::setCell(int row, int column, CellResult&& result) {
    cells_[static_cast<std::size_t>(row) * grid_.columns + column] = std::move(result);
}

std::vector<std::uint8_t> WorldChartWriter::bytes() const {
    std::vector<std::uint8_t> out;
    PutI32(out, kUnitsPerDegree);
    PutI32(out, grid_.north);
    PutI32(out, grid_.north - grid_.rows * grid_.cellSize);
    PutI32(out, grid_.west + grid_.columns * grid_.cellSize);
    PutI32(out, grid_.west);
    PutI32(out, grid_.cellSize);
    PutI32(out, grid_.cellSize);
    PutI32(out, grid_.rows);
    PutI32(out, grid_.columns);
    const std::size_t index = out.size();
    out.resize(index + 4 * cells_.size(), 0);
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const CellResult& cell = cells_[i];
        if (cell.wholeLand) {
            SetI32(out, index + 4 * i, 1);
            continue;
        }
        if (cell.polygons.empty()) continue;
        if (out.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
            return {};
        }
        SetI32(out, index + 4 * i, static_cast<std::int64_t>(out.size()));
        PutI32(out, static_cast<std::int64_t>(cell.polygons.size()));
        for (const auto& polygon : cell.polygons) {
            PutI32(out, static_cast<std::int64_t>(polygon.size()));
            for (const CellPoint& p : polygon) {
                PutI32(out, p.lat);
                PutI32(out, p.lon);
            }
        }
    }
    return out;
}

bool WorldChartWriter::write(const std::string& path, std::string& error) const {
    const std::vector<std::uint8_t> data = bytes();
    if (data.empty()) {
        error = "the file would exceed 2 GB";
        return false;
    }
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr) {
        error = temp + ": " + std::strerror(errno);
        return false;
    }
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    if (std::fclose(f) != 0 || !ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace norq::worldchart
