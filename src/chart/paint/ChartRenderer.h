// Paints the chart of a ChartModel: the sea-chart layer and the overlay layer
// as off-screen images rebuilt only when the frame is stale (or the overlay is
// dirty), then the grid, rings, symbols and the hooks' layers over them. The
// same renderer paints the widget, a PNG (tests, screenshots) and the frames
// of the benchmark.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPoint>

#include "chart/ChartModel.h"
#include "chart/ChartPalette.h"
#include "chart/SeaChart.h"

namespace norq::chart {

class ChartRenderer {
  public:
    ChartRenderer(ChartModel& model, const ChartPalette& palette, SeaChart& seaChart)
        : model_(model), palette_(palette), seaChart_(seaChart) {}

    // Rebuilds the layers that need it; returns true when the sea chart was redrawn.
    bool updateLayers();
    // Redraws the sea-chart layer now, whatever the flags (the benchmark).
    void redrawSeaChart();
    // One frame. While a drag is in progress, offset moves the finished frame
    // with the pointer without redrawing any layer.
    void paint(QPainter& painter, QPoint offset = {});
    // updateLayers() and paint() into a new image of the view's size.
    QImage render();

    const SeaChartCounts& lastSeaChartCounts() const { return counts_; }
    const QImage& seaChartLayer() const { return sea_; }

  private:
    void redrawOverlay();

    ChartModel& model_;
    const ChartPalette& palette_;
    SeaChart& seaChart_;
    QImage sea_;
    QImage overlay_;
    bool overlayEmpty_ = true;
    SeaChartCounts counts_;
};

}  // namespace norq::chart
