#include "DeviceLines.h"

namespace norq::sim {

const char* DeviceName(Device device) {
    switch (device) {
        case Device::Transponder:
            return "ais";
        case Device::Gnss:
            return "gnss";
        case Device::CrewWatch:
            return "mob";
    }
    return "?";
}

bool DeviceFromName(std::string_view name, Device& out) {
    for (int i = 0; i < kDeviceCount; ++i) {
        if (name == DeviceName(static_cast<Device>(i))) {
            out = static_cast<Device>(i);
            return true;
        }
    }
    return false;
}

std::string DamageLine(std::string_view line, Prng& rng) {
    std::string out(line);
    const std::size_t star = out.rfind('*');
    if (star == std::string::npos || star < 8) return out;
    if (rng.chance(0.7)) {
        // Change one character between the address field and the checksum.
        const auto at =
            static_cast<std::size_t>(rng.integer(7, static_cast<std::int64_t>(star) - 1));
        const char old = out[at];
        char replacement = static_cast<char>(rng.integer(48, 87));
        if (replacement == old) replacement = old == '0' ? '1' : '0';
        out[at] = replacement;
    } else {
        const auto keep = static_cast<std::size_t>(rng.integer(6, static_cast<std::int64_t>(star)));
        out = out.substr(0, keep) + "\r\n";
    }
    return out;
}

}  // namespace norq::sim
