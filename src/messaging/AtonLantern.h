// AtoN details and lantern control: the texts of the AtoN details window's own
// fields and of its lantern group, and the lantern mode command (DBG 300).
#pragma once

#include <string>

#include "ais/BbmSender.h"
#include "ais/TargetRecord.h"
#include "codec/SentenceCodec.h"

namespace norq::messaging {

struct LanternTexts {
    std::string mode;     // AUTO, FORCED OFF, FORCED ON or empty
    std::string light;    // ON/OFF with ",Error" and ",Low Voltage"
    std::string voltage;  // "%5.3f"
    std::string current;  // "%5.3f"
};
LanternTexts LanternStatusTexts(const ais::TargetRecord& target);

// The details window's fields that are not copied from the AtoN tab.
struct AtonOwnFields {
    std::string status;             // "Good health" / "Alarm"
    std::string positionIndicator;  // "On position" / "Off position"
    std::string dimensionA, dimensionB, dimensionC, dimensionD;
};
AtonOwnFields AtonOwnFieldTexts(const ais::TargetRecord& target);

// The lantern modes as the station takes them in command 300.
enum class LanternMode { ForcedOn = 1, ForcedOff = 2, Auto = 3 };

// Sets the DBG items (300 and the mode, the other three pairs empty with
// -100000) and sends $PDBG to the AIS port. True when it was written.
bool SendLanternCommand(codec::SentenceCodec& codec, ais::SentenceSender& sender, LanternMode mode);

}  // namespace norq::messaging
