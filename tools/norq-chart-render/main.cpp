// norq-chart-render: renders a region of the delivered world chart and gazetteer to a PNG.
//
//   norq-chart-render --data FOLDER --center LON,LAT --scale INDEX --output FILE.png
//                     [--size WxH] [--level detailed|medium|coarse] [--language 0|1|2]
//                     [--cell-grid]
//
// The scale index (0..14) picks the ring distance; without --level the file is
// chosen by it as the chart does (up to 24 nm detailed, up to 200 nm medium).
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ChartRenderer.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: norq-chart-render --data FOLDER --center LON,LAT --scale INDEX "
                 "--output FILE.png\n"
                 "                         [--size WxH] [--level detailed|medium|coarse]\n"
                 "                         [--language 0|1|2] [--cell-grid]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    std::string folder, output;
    norq::tool::RenderView view;
    int level = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--cell-grid") {
            view.cellGrid = true;
            continue;
        }
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        if (option == "--data") {
            folder = value;
        } else if (option == "--output") {
            output = value;
        } else if (option == "--center") {
            if (std::sscanf(value, "%lf,%lf", &view.centerLon, &view.centerLat) != 2)
                return Usage();
        } else if (option == "--scale") {
            view.scaleIndex = std::atoi(value);
        } else if (option == "--size") {
            if (std::sscanf(value, "%dx%d", &view.width, &view.height) != 2) return Usage();
        } else if (option == "--language") {
            view.language = std::atoi(value);
        } else if (option == "--level") {
            level = std::strcmp(value, "detailed") == 0 ? 0
                    : std::strcmp(value, "medium") == 0 ? 1
                    : std::strcmp(value, "coarse") == 0 ? 2
                                                        : -2;
            if (level == -2) return Usage();
        } else {
            return Usage();
        }
    }
    if (folder.empty() || output.empty() || view.scaleIndex < 0 || view.scaleIndex > 14 ||
        view.width <= 0 || view.height <= 0 || view.width > 8000 || view.height > 8000) {
        return Usage();
    }
    const float ring = norq::chart::kRingDistanceNm[static_cast<std::size_t>(view.scaleIndex)];
    const auto chosen = level >= 0 ? static_cast<norq::chart::WorldChartLevel>(level)
                                   : norq::chart::WorldChartLevelForRingDistance(ring);
    norq::tool::ChartRenderer renderer(folder);
    norq::tool::RenderCounts counts;
    const QImage image = renderer.render(view, chosen, counts);
    if (!image.save(QString::fromStdString(output), "PNG")) {
        std::fprintf(stderr, "norq-chart-render: cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf(
        "%s: %s, ring %g nm; %d land cells, %d polygons, %d points, %d invalid passes; "
        "labels %d collected, %d drawn\n",
        output.c_str(), std::string(norq::chart::WorldChartFileName(chosen)).c_str(),
        static_cast<double>(ring), counts.landCells, counts.polygons, counts.points,
        counts.invalidPasses, counts.labelsCollected, counts.labelsDrawn);
    return 0;
}
