// Cost of the tracks on the chart at 1920 x 1080 over the generated chart files:
// a plain repaint of 500 targets with their tracks hidden, the same repaint with
// all 500 target tracks shown (719 points each, the full ring), and a rebuild of
// the overlay with ten own-ship track files of 2,000 points and a recording of
// 720 points, against the rebuild without them; then all navigation objects at
// once (200 markers and 200 routes added). Same scene, same run.
//
// Run with --benchmark_repetitions=20 --benchmark_report_aggregates_only=true
// for the medians. NORQ_CHART_FRAMES=DIR writes the frames as PNG.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "ChartBenchScene.h"
#include "base/Files.h"
#include "chart/ChartModel.h"
#include "chart/SeaChart.h"
#include "chart/paint/ChartRenderer.h"
#include "nav/MarkerLayer.h"
#include "nav/Markmanage.h"
#include "nav/OwnTrackLayer.h"
#include "nav/RouteLayer.h"
#include "nav/RouteStore.h"
#include "nav/ShipTrack.h"
#include "nav/TrackList.h"
#include "nav/TrackRecorder.h"

namespace {

using namespace norq::chart;
using namespace norq::nav;

using namespace norq::bench;

constexpr double kPi = 3.14159265358979323846;

std::string TrackFolder() {
    const std::string folder =
        (std::filesystem::temp_directory_path() / "norq-bench-tracks/").string();
    std::filesystem::create_directories(folder);
    return folder;
}

struct Scene {
    ChartModel model;
    ChartPalette palette;
    SeaChart sea{ChartFolder()};
    ChartRenderer renderer{model, palette, sea};
    ShipTrackStore store;
    TargetTrackLayer targetLayer{store, model};
    TrackList list;
    TrackRecorder recorder{list};
    OwnTrackLayer ownLayer{list, recorder};
    MarkerList markers;
    MarkerDrawState markerState;
    MarkerLayer markerLayer{markers, markerState};
    RouteStore routes;
    RouteLayer routeLayer{routes};

    Scene(int scale, bool ownTracks) {
        model.resize(kWidth, kHeight);
        model.setScaleIndex(scale);
        model.setCentre(kCentreLon, kCentreLat);
        model.setOwnPosition(kCentreLon, kCentreLat, 45.0, false);
        const double lonSpan = model.axis().longitudeSpan();
        const double latSpan = model.axis().latitudeSpan();
        const double cosLat = std::cos(kCentreLat * kPi / 180.0);
        for (int i = 1; i <= kTargets; ++i) {
            const double course = (i * 13) % 360;
            const float lon =
                static_cast<float>(model.axis().left() + lonSpan * ((i * 37) % 100) / 100.0);
            const float lat =
                static_cast<float>(model.axis().bottom() + latSpan * ((i * 61) % 100) / 100.0);
            model.setTarget(i, lon, lat, static_cast<float>(course), static_cast<float>(course), {},
                            false);
            // Two hours of reports every 10 s at 5 to 20 knots, ending at the target,
            // with a slow turn.
            const double knots = 5.0 + (i * 7) % 16;
            const double stepNm = knots * 10.0 / 3600.0;
            for (int p = 719; p >= 0; --p) {
                const double c = (course + p * 0.05) * kPi / 180.0;
                const double back = p * stepNm / 60.0;
                store.append(i, 1000u + static_cast<unsigned>(i),
                             static_cast<float>(lon - back * std::sin(c) / cosLat),
                             static_cast<float>(lat - back * std::cos(c)));
            }
            store.setVisible(i, true);
        }
        model.addLayerHook(ChartLayer::TargetTracks, &targetLayer);
        if (ownTracks) addOwnTracks(cosLat);
    }

    void addOwnTracks(double cosLat) {
        list.setFolder(TrackFolder());
        for (int t = 0; t < 10; ++t) {
            std::vector<TrackRecord> points(2000);
            for (int p = 0; p < 2000; ++p) {
                points[static_cast<std::size_t>(p)].lat = kCentreLat - 0.3 + t * 0.06 + p * 0.0001;
                points[static_cast<std::size_t>(p)].lon =
                    kCentreLon - 0.4 + p * 0.0004 / cosLat + 0.02 * std::sin(p / 100.0);
            }
            TrackEntry e;
            e.fileName = "bench" + std::to_string(t) + ".trk";
            e.pointCount = 2000;
            norq::base::WriteFileAtomically(list.folder() + e.fileName, EncodeTrackFile(points));
            list.add(e);
        }
        const norq::ais::LocalDateTime at{{2026, 12, 9}, {8, 0, 0}};
        for (int s = 0; s < 7200; ++s) {
            const OwnFix fix{kCentreLon - 0.2 + s * 0.00004, kCentreLat - 0.1 + s * 0.00002, 60.0f,
                             11.0f, 60.0f};
            recorder.step(&fix, 1000 + s, at, "2026/12/09 08:00:00");
        }
        model.addLayerHook(ChartLayer::OwnTracks, &ownLayer);
    }

    // 200 markers and 200 routes of ten waypoints spread over the view.
    void addMarkersAndRoutes() {
        const double lonSpan = model.axis().longitudeSpan();
        const double latSpan = model.axis().latitudeSpan();
        const double left = model.axis().left();
        const double bottom = model.axis().bottom();
        for (int i = 0; i < 200; ++i) {
            markers.add(MakeMarker("MARK " + std::to_string(i),
                                   left + lonSpan * ((i * 53) % 100) / 100.0,
                                   bottom + latSpan * ((i * 29) % 100) / 100.0));
        }
        const std::string folder = TrackFolder() + "routes/";
        std::filesystem::create_directories(folder);
        routes.setFolder(folder);
        for (int r = 0; r < 200; ++r) {
            for (int w = 0; w < 10; ++w) {
                const double lon = left + lonSpan * (((r * 17) % 90) + w) / 100.0;
                const double lat = bottom + latSpan * (((r * 31) % 80) + 2 * w) / 100.0;
                const PixelXY p = model.axis().geoToPixel(lon, lat);
                routes.addWaypoint(p.x, p.y, lon, lat);
            }
            routes.finishRoute("2026-12-09 08:00:00");
        }
        model.addLayerHook(ChartLayer::Markers, &markerLayer);
        model.addLayerHook(ChartLayer::Routes, &routeLayer);
    }
};

// The finished layers copied, grid, rings and 500 symbols; tracks hidden.
void BM_PlainRepaint(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), false);
    scene.renderer.updateLayers();
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&frame);
        scene.renderer.paint(painter);
    }
}
BENCHMARK(BM_PlainRepaint)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

// The same with "Tracks(&T)" checked and every target's track visible: the
// tracks come from their finished image.
void BM_RepaintWith500Tracks(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), false);
    scene.model.showTracks(true);
    scene.renderer.updateLayers();
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&frame);
        scene.renderer.paint(painter);
    }
    state.counters["drawn_points"] = scene.targetLayer.lastDrawnPoints();
    if (const char* dir = std::getenv("NORQ_CHART_FRAMES")) {
        frame.save(QString::fromUtf8(dir) + QStringLiteral("/tracks-%1.png").arg(state.range(0)));
    }
}
BENCHMARK(BM_RepaintWith500Tracks)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

// The repaint that also draws the 500 target tracks anew, as the first frame
// after a pan or zoom does and as the view does once a second while tracks are
// shown (between those, repaints compose the finished track image as above).
void BM_RepaintRedrawing500Tracks(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), false);
    scene.model.showTracks(true);
    scene.renderer.updateLayers();
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        scene.model.markTracksDirty();
        QPainter painter(&frame);
        scene.renderer.paint(painter);
    }
}
BENCHMARK(BM_RepaintRedrawing500Tracks)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

// Everything the navigation objects draw at once: 200 markers, 200 routes, ten
// own-track files with the recording (the overlay) and the 500 target tracks.
void BM_RepaintWithAllNavigation(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), true);
    scene.addMarkersAndRoutes();
    scene.model.showTracks(true);
    scene.renderer.updateLayers();
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&frame);
        scene.renderer.paint(painter);
    }
    state.counters["routes"] = scene.routes.count();
    state.counters["markers"] = scene.markers.count();
    if (const char* dir = std::getenv("NORQ_CHART_FRAMES")) {
        frame.save(QString::fromUtf8(dir) + QStringLiteral("/all-nav-%1.png").arg(state.range(0)));
    }
}
BENCHMARK(BM_RepaintWithAllNavigation)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

// The overlay rebuilt with the markers, routes and own tracks (after a pan or a
// zoom, or a change to any of them).
void BM_OverlayRebuildAllNavigation(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), true);
    scene.addMarkersAndRoutes();
    scene.renderer.updateLayers();
    for (auto _ : state) {
        scene.model.markOverlayDirty();
        scene.renderer.updateLayers();
    }
}
BENCHMARK(BM_OverlayRebuildAllNavigation)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

// Rebuilding the overlay (after a pan, a zoom or a new recorded point), with
// and without the own tracks.
void BM_OverlayRebuild(benchmark::State& state) {
    const bool own = state.range(1) != 0;
    Scene scene(static_cast<int>(state.range(0)), own);
    scene.renderer.updateLayers();
    for (auto _ : state) {
        scene.model.markOverlayDirty();
        scene.renderer.updateLayers();
    }
}
BENCHMARK(BM_OverlayRebuild)
    ->Args({5, 0})
    ->Args({5, 1})
    ->Args({10, 0})
    ->Args({10, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
