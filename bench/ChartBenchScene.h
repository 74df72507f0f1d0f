// What the chart benchmarks share: the frame size, the place and the folder of
// the generated chart files (NORQ_CHART_DATA overrides it).
#pragma once

#include <cstdlib>
#include <string>

namespace norq::bench {

inline constexpr int kWidth = 1920;
inline constexpr int kHeight = 1080;
inline constexpr int kTargets = 500;
// The Strait of Dover: coast on both sides, dense land data at every scale.
inline constexpr double kCentreLon = 1.45;
inline constexpr double kCentreLat = 51.0;

inline std::string ChartFolder() {
    if (const char* folder = std::getenv("NORQ_CHART_DATA")) return folder;
    return std::string(NORQ_SOURCE_DIR) + "/data/generated";
}

}  // namespace norq::bench
