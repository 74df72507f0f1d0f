// Draws the world chart and its labels for one view into a QImage with the
// chart view's own sea-chart layer (SeaChart over CAxisData, drawn through
// QtChartCanvas), optionally with the cell borders of the chosen file dotted.
#pragma once

#include <QImage>
#include <string>

#include "chart/AxisData.h"
#include "chart/WorldChart.h"

namespace norq::tool {

struct RenderView {
    double centerLon = 0;
    double centerLat = 0;
    int scaleIndex = 7;
    int width = 800;
    int height = 600;
    int language = 0;
    bool cellGrid = false;  // draw the cell borders of the chosen file, dotted
};

// The chart view's projection of the view.
chart::CAxisData MakeFrame(const RenderView& view);

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
    void drawCellGrid(QImage& image, const chart::CAxisData& axis, chart::WorldChartLevel level);

    std::string folder_;
};

}  // namespace norq::tool
