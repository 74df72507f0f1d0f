// The latitude/longitude grid of the chart view: which lines a frame shows, at
// which pixel, and their labels. Every loop is bounded, whatever the frame.
#pragma once

#include <array>

#include "ais/TargetTexts.h"
#include "chart/AxisData.h"

namespace norq::chart {

inline constexpr int kMaxGridLines = 400;

struct GridLine {
    double value = 0.0;  // degrees
    int pixel = 0;       // y of a latitude line, x of a longitude line
};

struct GridLines {
    std::array<GridLine, kMaxGridLines> latitudes{};
    std::array<GridLine, kMaxGridLines> longitudes{};
    int latitudeCount = 0;
    int longitudeCount = 0;
};

// The lines of a north-up frame, north to south and west to east.
void ComputeGridLines(const CAxisData& axis, GridLines& lines);

// The longitude grid step at the frame's scale (doubled near the poles).
double LongitudeGridStep(const CAxisData& axis);

// "ddd°mm'N" (style 1 below scale index 4) or "ddd°mm'ss\"N" (style 2).
ais::CoordinateText GridLatitudeLabel(double value, int scaleIndex);
// As above with E/W; values beyond ±180 are labelled from the other side.
ais::CoordinateText GridLongitudeLabel(double value, int scaleIndex);

}  // namespace norq::chart
