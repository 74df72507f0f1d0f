#include "ais/TargetRecord.h"

namespace norq::ais {

const char* TargetKindLabel(TargetKind kind) {
    switch (kind) {
        case TargetKind::Base:
            return "[BASE]";
        case TargetKind::SarAircraft:
            return "[SAR]";
        case TargetKind::Aton:
            return "[AtoN]";
        case TargetKind::ClassA:
            return "[A]";
        case TargetKind::ClassB:
            return "[B]";
        case TargetKind::Sart:
            return "[SART]";
        case TargetKind::Mob:
            return "[MOB]";
        case TargetKind::Epirb:
            return "[EPIRB]";
        case TargetKind::Unknown:
            break;
    }
    // Unknown, and any byte that is not a kind.
    return "[N/A]";
}

}  // namespace norq::ais
