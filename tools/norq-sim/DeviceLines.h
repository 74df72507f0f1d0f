// The three devices of the sensor ports and the lines they put out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Prng.h"

namespace norq::sim {

enum class Device : std::uint8_t { Transponder = 0, Gnss = 1, CrewWatch = 2 };
inline constexpr int kDeviceCount = 3;
const char* DeviceName(Device device);  // "ais", "gnss", "mob"
bool DeviceFromName(std::string_view name, Device& out);

struct TimedLine {
    double time = 0.0;  // seconds from the start
    Device device = Device::Transponder;
    std::string text;  // with CR LF
};
using LineBatch = std::vector<TimedLine>;

// Damages a sentence as a noisy line would: one character changed (the
// checksum no longer matches) or the line cut short.
std::string DamageLine(std::string_view line, Prng& rng);

}  // namespace norq::sim
