// Cost of the chart view at 1920 x 1080 over the generated chart files: a full
// redraw of the sea-chart layer at every scale index, a plain repaint of the
// finished frame with 500 targets (the layers are only copied), and a frame
// while the chart is dragged (the finished frame moved with the pointer).
//
// Needs the files of scripts/make-chart-data.sh in data/generated (or the folder
// in NORQ_CHART_DATA). Run with --benchmark_repetitions=20
// --benchmark_report_aggregates_only=true for the medians.
// NORQ_CHART_FRAMES=DIR also writes the frame of every scale as a PNG.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <memory>
#include <string>

#include "ChartBenchScene.h"
#include "chart/ChartModel.h"
#include "chart/SeaChart.h"
#include "chart/paint/ChartRenderer.h"

namespace {

using namespace norq::chart;
using namespace norq::bench;

struct Scene {
    ChartModel model;
    ChartPalette palette;
    SeaChart sea{ChartFolder()};
    ChartRenderer renderer{model, palette, sea};

    explicit Scene(int scale) {
        model.resize(kWidth, kHeight);
        model.setScaleIndex(scale);
        model.setCentre(kCentreLon, kCentreLat);
        model.setOwnPosition(kCentreLon, kCentreLat, 45.0, false);
        // 500 targets spread over the view, a few dangerous, lost and selected.
        const double lonSpan = model.axis().longitudeSpan();
        const double latSpan = model.axis().latitudeSpan();
        for (int i = 1; i <= kTargets; ++i) {
            SymbolFlags flags;
            flags.dangerous = i % 37 == 0;
            flags.lost = i % 53 == 0;
            flags.baseStation = i % 97 == 0;
            const float lon =
                static_cast<float>(model.axis().left() + lonSpan * ((i * 37) % 100) / 100.0);
            const float lat =
                static_cast<float>(model.axis().bottom() + latSpan * ((i * 61) % 100) / 100.0);
            model.setTarget(i, lon, lat, static_cast<float>((i * 13) % 360),
                            static_cast<float>((i * 13) % 360), flags, false);
        }
        model.selectTarget(7);
    }
};

void BM_SeaChartRedraw(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    Scene scene(scale);
    for (auto _ : state) {
        scene.renderer.redrawSeaChart();
        benchmark::DoNotOptimize(scene.renderer.seaChartLayer().constBits());
    }
    const SeaChartCounts& c = scene.renderer.lastSeaChartCounts();
    state.counters["ring_nm"] = scene.model.ringDistance();
    state.counters["polygons"] = c.polygons;
    state.counters["points"] = c.points;
    state.counters["land_cells"] = c.landCells;
    state.counters["filled"] = c.filledPolygons;
    state.counters["drawn_points"] = c.drawnPoints;
    state.counters["labels"] = c.labelsDrawn;
    if (!c.chartFileFound)
        state.SkipWithError("chart files not found (scripts/make-chart-data.sh)");
    if (const char* dir = std::getenv("NORQ_CHART_FRAMES")) {
        scene.renderer.render().save(QString::fromUtf8(dir) +
                                     QStringLiteral("/scale-%1.png").arg(scale));
    }
}
BENCHMARK(BM_SeaChartRedraw)->DenseRange(0, kScaleCount - 1)->Unit(benchmark::kMillisecond);

// The same redraw with the land drawn through QPainter, a call per polygon.
void BM_SeaChartRedrawQPainter(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    scene.renderer.setDirectLand(false);
    for (auto _ : state) {
        scene.renderer.redrawSeaChart();
        benchmark::DoNotOptimize(scene.renderer.seaChartLayer().constBits());
    }
}
BENCHMARK(BM_SeaChartRedrawQPainter)->Arg(0)->Arg(2)->Arg(5)->Unit(benchmark::kMillisecond);

// A plain repaint: the finished layers copied, grid, rings and 500 symbols drawn.
void BM_PlainRepaint(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    scene.renderer.updateLayers();
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&frame);
        scene.renderer.paint(painter);
    }
}
BENCHMARK(BM_PlainRepaint)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

// A frame of a drag: the finished frame drawn at the pointer's offset.
void BM_DragPanFrame(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    scene.renderer.updateLayers();
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        QPainter painter(&frame);
        scene.renderer.paint(painter, QPoint(step % 200, step % 120));
        ++step;
    }
}
BENCHMARK(BM_DragPanFrame)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
