// One word for how a link is doing, from its state and its figures: what the
// status row's indicator and the health window colour a link by.
#pragma once

#include <cstdint>

#include "ais/SourceHealth.h"
#include "comm/SensorTypes.h"

namespace norq::comm {

enum class HealthLevel : std::uint8_t {
    Off,       // not switched on
    Good,      // receiving, nothing refused or lost in the last minute
    Doubtful,  // receiving, but with rejects or lost fragments, or still opening
    Bad,       // silent, lost or being made again
};

inline HealthLevel LevelOf(LinkHealth link, const ais::HealthFigures& f) {
    switch (link) {
        case LinkHealth::Off:
            return HealthLevel::Off;
        case LinkHealth::Opening:
            return HealthLevel::Doubtful;
        case LinkHealth::Silent:
        case LinkHealth::Lost:
        case LinkHealth::Reconnecting:
            return HealthLevel::Bad;
        case LinkHealth::Receiving:
            break;
    }
    const bool faults =
        f.checksumPerMinute > 0 || f.framingPerMinute > 0 || f.fragmentsLostPerMinute > 0;
    return faults ? HealthLevel::Doubtful : HealthLevel::Good;
}

}  // namespace norq::comm
