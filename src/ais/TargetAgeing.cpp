#include "ais/TargetAgeing.h"

#include <algorithm>

namespace norq::ais {

namespace {

int ClassAInterval(const TargetRecord& t) {
    const bool known = SogKnown(t.sog);
    const int status = t.navStatus();
    if (status == kNavStatusAtAnchor || status == kNavStatusMoored) {
        return known && t.sog <= 3.0f ? 180 : 10;
    }
    if (!known || t.sog <= 14.0f) return 10;
    if (t.sog <= 23.0f) return 6;
    return 2;
}

std::int64_t ByClass(const TargetRecord& t, int reports, std::int64_t legacy) {
    if (reports <= 0) return legacy;
    const int interval = ReportingIntervalSeconds(t);
    if (interval <= 0) return legacy;
    return static_cast<std::int64_t>(interval) * reports;
}

}  // namespace

int ReportingIntervalSeconds(const TargetRecord& target) {
    switch (target.kind) {
        case TargetKind::ClassA:
            return ClassAInterval(target);
        case TargetKind::ClassB:
            return SogKnown(target.sog) && target.sog <= 2.0f ? 180 : 30;
        case TargetKind::Base:
        case TargetKind::SarAircraft:
            return 10;
        case TargetKind::Aton:
            return 180;
        case TargetKind::Sart:
        case TargetKind::Mob:
        case TargetKind::Epirb:
        case TargetKind::Unknown:
            break;
    }
    return 0;
}

std::int64_t LostAfterSeconds(const TargetRecord& target, const AgeingSettings& settings) {
    return ByClass(target, settings.lostAfterReports, kLegacyLostSeconds);
}

std::int64_t RemoveAfterSeconds(const TargetRecord& target, const AgeingSettings& settings) {
    const std::int64_t remove = ByClass(target, settings.removeAfterReports, kLegacyRemoveSeconds);
    return std::max(remove, LostAfterSeconds(target, settings));
}

}  // namespace norq::ais
