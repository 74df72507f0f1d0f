// norq-worldchart-gen: writes one world-chart file from a GSHHG shoreline dump.
//
//   gmt coast -R-180/180/-90/90 -Df -M -W | norq-worldchart-gen --cell 0.25 --output FILE
//
// Options: --input FILE (default standard input), --cell DEGREES (cell size),
// --region WEST/EAST/SOUTH/NORTH (whole degrees, default the whole world).
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CellCutter.h"
#include "ShoreRings.h"
#include "WorldChartWriter.h"

namespace {

using norq::worldchart::kUnitsPerDegree;

int Usage() {
    std::fprintf(stderr,
                 "usage: norq-worldchart-gen --cell DEGREES --output FILE [--input FILE]\n"
                 "                           [--region WEST/EAST/SOUTH/NORTH]\n");
    return 2;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Reads the options into the grid; false on a usage error.
bool ParseOptions(int argc, char** argv, std::string& input, std::string& output,
                  norq::worldchart::GridSpec& grid) {
    double cell = 0;
    double west = -180, east = 180, south = -90, north = 90;
    if (argc % 2 == 0) return false;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--input") {
            input = value;
        } else if (option == "--output") {
            output = value;
        } else if (option == "--cell") {
            cell = std::atof(value);
        } else if (option != "--region" ||
                   std::sscanf(value, "%lf/%lf/%lf/%lf", &west, &east, &south, &north) != 4) {
            return false;
        }
    }
    if (output.empty() || !(cell > 0) || !(east > west) || !(north > south)) return false;
    grid.cellSize = std::llround(cell * kUnitsPerDegree);
    grid.west = std::llround(west * kUnitsPerDegree);
    grid.north = std::llround(north * kUnitsPerDegree);
    grid.columns = static_cast<int>(std::llround((east - west) * kUnitsPerDegree) / grid.cellSize);
    grid.rows = static_cast<int>(std::llround((north - south) * kUnitsPerDegree) / grid.cellSize);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string input = "-";
    std::string output;
    norq::worldchart::GridSpec grid;
    if (!ParseOptions(argc, argv, input, output, grid)) return Usage();

    const auto start = std::chrono::steady_clock::now();
    std::FILE* in = input == "-" ? stdin : std::fopen(input.c_str(), "r");
    if (in == nullptr) {
        std::fprintf(stderr, "norq-worldchart-gen: cannot open %s\n", input.c_str());
        return 1;
    }
    norq::worldchart::ShoreStats shore;
    auto rings = norq::worldchart::ReadShoreRings(in, shore);
    if (in != stdin) std::fclose(in);
    std::fprintf(stderr, "read %zu pieces, %zu points -> %zu rings (%zu polar, %zu broken) %.1fs\n",
                 shore.pieces, shore.points, shore.rings, shore.polarRings, shore.brokenChains,
                 Seconds(start));

    norq::worldchart::CellCutter cutter(grid);
    for (const auto& ring : rings)
        cutter.addRing(ring);
    rings.clear();
    rings.shrink_to_fit();
    norq::worldchart::WorldChartWriter writer(grid);
    cutter.run([&](int row, int column, norq::worldchart::CellResult&& result) {
        writer.setCell(row, column, std::move(result));
    });
    const auto& s = cutter.stats();
    std::fprintf(stderr,
                 "%d x %d cells: %zu land, %zu coastal; %zu polygons, %zu points (max %zu); "
                 "%zu hole cuts, %zu size cuts, %zu repairs %.1fs\n",
                 grid.rows, grid.columns, s.landCells, s.coastCells, s.polygons, s.points,
                 s.maxPolygonPoints, s.holeCuts, s.sizeCuts, s.repairs, Seconds(start));
    std::string error;
    if (!writer.write(output, error)) {
        std::fprintf(stderr, "norq-worldchart-gen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
