#include "AisPayload.h"

#include "ais/AisDecoder.h"
#include "ais/AisEncoder.h"

namespace norq::sim {

bool EncodeAisPayload(const ais::AisMessage& message, ArmouredText& out) {
    ais::AisBitBuffer bits{};
    if (!ais::PackAisMessage(message, bits) || bits.bitCount == 0) return false;
    const ais::ArmouredPayload armoured = ais::ArmourPayload(bits);
    out.chars.assign(armoured.view());
    out.fillBits = armoured.fillBits;
    return !out.chars.empty();
}

bool DearmourPayload(std::string_view chars, int fillBits, ais::AisBitBuffer& bits) {
    return ais::DeArmourPayload(chars, fillBits, bits);
}

std::string SixBitText(const ais::AisBitBuffer& bits) {
    std::string text;
    for (std::size_t pos = 0; pos + 6 <= bits.bitCount; pos += 6) {
        const auto v = static_cast<int>(bits.read(pos, 6));
        text.push_back(static_cast<char>(v < 32 ? v + 64 : v));
    }
    while (!text.empty() && (text.back() == '@' || text.back() == ' '))
        text.pop_back();
    return text;
}

}  // namespace norq::sim
