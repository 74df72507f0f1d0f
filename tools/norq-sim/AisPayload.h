// The simulator's road to and from the 6-bit payloads: the core's encoder for
// what the stations transmit, and its de-armouring for what the viewer sends
// in BBM and ABM sentences.
#pragma once

#include <string>
#include <string_view>

#include "ais/AisBitBuffer.h"
#include "ais/AisMessage.h"

namespace norq::sim {

struct ArmouredText {
    std::string chars;
    int fillBits = 0;
};

// Packs and armours one message; false when it cannot be encoded.
bool EncodeAisPayload(const ais::AisMessage& message, ArmouredText& out);

// Reads armoured characters back into bits; false on a character outside
// the armour alphabet or a payload too long for the buffer.
bool DearmourPayload(std::string_view chars, int fillBits, ais::AisBitBuffer& bits);

// The text carried by 6-bit characters, as messages 12 and 14 carry it
// (trailing '@' padding and spaces removed).
std::string SixBitText(const ais::AisBitBuffer& bits);

}  // namespace norq::sim
