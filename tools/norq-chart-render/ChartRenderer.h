// Draws the world chart and its labels for one view into a QImage, the way the
// chart's sea-chart layer does: sea, land cells, land polygons with their
// coastline outside the breaks, the wrapped side of the antimeridian, and the
// scale-filtered, decluttered labels.
#pragma once

#include <QImage>
#include <array>
#include <string>

#include "chart/Gazetteer.h"
#include "chart/GazetteerLabels.h"
#include "chart/WorldChart.h"

namespace norq::tool {

// The ring distances of the chart's fifteen scales, nautical miles per 60 pixels.
inline constexpr std::array<float, 15> kRingDistances = {
    800, 400, 200, 96, 48, 24, 12, 6, 3, 1.5f, 0.75f, 0.5f, 0.25f, 0.125f, 0.05f};

struct RenderView {
    double centerLon = 0;
    double centerLat = 0;
    int scaleIndex = 7;
    int width = 800;
    int height = 600;
    int language = 0;
    bool cellGrid = false;  // draw the cell borders of the chosen file, dotted
};

// Plain north-up projection of the view (degrees to pixels).
struct ViewFrame {
    double top = 0, bottom = 0, left = 0, right = 0;
    double xScale = 0, yScale = 0;
    QPointF project(double lon, double lat) const {
        return {(lon - left) * xScale, (top - lat) * yScale};
    }
};

ViewFrame MakeFrame(const RenderView& view);

struct RenderCounts {
    int landCells = 0;
    int polygons = 0;
    int points = 0;
    int invalidPasses = 0;
    int labelsCollected = 0;
    int labelsDrawn = 0;
};

class ChartRenderer {
  public:
    // folder: the program folder holding VORN_Bin/ and GEO_Bin/.
    explicit ChartRenderer(std::string folder) : folder_(std::move(folder)) {}
    QImage render(const RenderView& view, chart::WorldChartLevel level, RenderCounts& counts);

  private:
    void drawLand(QPainter& painter, const ViewFrame& frame, const RenderView& view,
                  chart::WorldChartLevel level, RenderCounts& counts);
    void drawLabels(QPainter& painter, const ViewFrame& frame, const RenderView& view,
                    RenderCounts& counts);

    std::string folder_;
    chart::GazetteerLabels labels_;
};

}  // namespace norq::tool
