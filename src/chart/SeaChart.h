// TDrawSeaChart: the sea-chart layer of the chart view. It draws the sea, the
// land of the world-chart file chosen by the scale (whole-land cells and land
// polygons, with coastline only off the break edges, the far side of the
// antimeridian as its own pass) and the place names of the gazetteer, filtered
// by scale and decluttered, through a ChartCanvas for one frame.
//
// The chart files stay mapped read-only between redraws; a missing file is
// looked for again at the next redraw.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "chart/AxisData.h"
#include "chart/ChartCanvas.h"
#include "chart/Gazetteer.h"
#include "chart/GazetteerLabels.h"
#include "chart/WorldChart.h"

namespace norq::chart {

// The land data's own position correction (degrees), for chart data that needs it.
inline constexpr double kBuiltInLatitudeOffset = -0.003;
inline constexpr double kBuiltInLongitudeOffset = 0.0056374;

struct SeaChartSettings {
    // The built-in correction is applied only to data that was made with it; the
    // generated world chart is on WGS 84 like the AIS positions.
    bool builtInOffset = false;
    bool suppressOffset = false;  // "Disable Sea Chart Calibration"
    bool calibrationActive = false;
    double calibrationLatitude = 0.0;
    double calibrationLongitude = 0.0;
    int language = 0;        // the names' language (0 English, 1 and 2 Chinese)
    bool showLabels = true;  // the text tool button
};

// What one redraw drew.
struct SeaChartCounts {
    int passes = 0;
    int landCells = 0;
    int polygons = 0;
    int points = 0;
    int invalidPasses = 0;
    int labelsCollected = 0;
    int labelsDrawn = 0;
    bool chartFileFound = false;
    bool gazetteerFound = false;
};

// The latitude and longitude offsets the land is drawn with.
struct LandOffsets {
    double latitude = 0.0;
    double longitude = 0.0;
};
LandOffsets OffsetsFor(const SeaChartSettings& settings);

class SeaChart {
  public:
    // programFolder holds VORN_Bin/ and GEO_Bin/ (ends with '/' or is empty).
    explicit SeaChart(std::string programFolder = {});
    ~SeaChart();
    SeaChart(const SeaChart&) = delete;
    SeaChart& operator=(const SeaChart&) = delete;

    void setProgramFolder(std::string folder);
    void setSettings(const SeaChartSettings& settings) { settings_ = settings; }
    const SeaChartSettings& settings() const { return settings_; }

    // The whole layer for a frame: sea, land, coastline, labels.
    SeaChartCounts draw(ChartCanvas& canvas, const CAxisData& axis);

    // Reads bytes the caller keeps alive instead of the files (tests).
    void useBytes(WorldChartLevel level, std::span<const std::uint8_t> chart);
    void useGazetteerBytes(std::span<const std::uint8_t> gazetteer);

  private:
    struct Buffers;
    const WorldChartReader* chartReader(WorldChartLevel level);
    const GazetteerReader* gazetteer();
    void drawLand(ChartCanvas& canvas, const CAxisData& axis, SeaChartCounts& counts);
    void drawLabels(ChartCanvas& canvas, const CAxisData& axis, SeaChartCounts& counts);

    std::string folder_;
    SeaChartSettings settings_;
    std::array<WorldChartReader, 3> readers_;
    std::array<bool, 3> fixedBytes_{};
    GazetteerReader gazetteer_;
    bool fixedGazetteer_ = false;
    std::unique_ptr<Buffers> buffers_;
};

}  // namespace norq::chart
