// Paints the chart of a ChartModel: the sea-chart layer and the overlay layer
// as off-screen images rebuilt only when the frame is stale (or the overlay is
// dirty), then the grid, rings, symbols and the hooks' layers over them. The
// same renderer paints the widget, a PNG (tests, screenshots) and the frames
// of the benchmark.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPoint>

#include "chart/ChartModel.h"
#include "chart/ChartPalette.h"
#include "chart/SeaChart.h"
#include "chart/paint/SymbolSprites.h"

namespace norq::chart {

class ChartRenderer : private ChartModel::TrackComposer {
  public:
    // The target tracks of 500 targets take longer to draw than the rest of a
    // frame, and a new point moves a track by a pixel or two: a repaint composes
    // them from an image redrawn when the frame changes, when the operator
    // changes what is shown, and otherwise at most this often.
    static constexpr int kTrackRefreshMs = 1000;

    ChartRenderer(ChartModel& model, const ChartPalette& palette, SeaChart& seaChart)
        : model_(model), palette_(palette), seaChart_(seaChart), sprites_(palette) {}

    // Rebuilds the layers that need it; returns true when the sea chart was redrawn.
    bool updateLayers();
    // Redraws the sea-chart layer now, whatever the flags (the benchmark).
    void redrawSeaChart();
    // The land through QPainter instead of straight into the pixels (for the
    // benchmark's comparison; the pictures are the same).
    void setDirectLand(bool on) { directLand_ = on; }
    // One frame. While a drag is in progress, offset moves the finished frame
    // with the pointer without redrawing any layer.
    void paint(QPainter& painter, QPoint offset = {});
    // True when the last paint composed target tracks older than a new redraw
    // would give: the view repaints again within kTrackRefreshMs.
    bool tracksPending() const { return tracksPending_; }
    // The next paint draws the target tracks anew (tests, pictures).
    void invalidateTracks() { tracksValid_ = false; }
    // updateLayers() and paint() into a new image of the view's size.
    QImage render();

    const SeaChartCounts& lastSeaChartCounts() const { return counts_; }
    const QImage& seaChartLayer() const { return sea_; }

  private:
    void redrawOverlay();
    void redrawTargetTracks();
    void composeBase();
    void composeTargetTracks() override;

    ChartModel& model_;
    const ChartPalette& palette_;
    SeaChart& seaChart_;
    QImage sea_;
    QImage overlay_;
    QImage base_;  // sea_ with overlay_ drawn on it
    bool baseStale_ = true;
    bool overlayEmpty_ = true;
    QImage tracks_;
    QElapsedTimer tracksAge_;
    bool tracksValid_ = false;
    bool tracksPending_ = false;
    QPainter* composing_ = nullptr;
    bool directLand_ = true;
    SeaChartCounts counts_;
    SymbolSprites sprites_;
};

}  // namespace norq::chart
