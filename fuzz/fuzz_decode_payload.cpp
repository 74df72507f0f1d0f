// DecodeAisPayload and the JSON line on arbitrary bytes. The first byte picks
// the fill-bit count (including invalid ones); the rest is the payload. A
// decoded message is also packed again and must decode to the same fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "ais/AisDecoder.h"
#include "ais/AisEncoder.h"
#include "ais/AisJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace norq::ais;
    if (size == 0) return 0;
    const int fill = static_cast<int>(data[0] % 8) - 1;  // -1 to 6
    const std::string_view payload(reinterpret_cast<const char*>(data + 1), size - 1);
    AisMessage message;
    std::memset(&message, 0x5A, sizeof message);  // decoding must not depend on old contents
    if (!DecodeAisPayload(payload, fill, message)) return 0;

    char json[kAisJsonMaxLength];
    const std::size_t n = WriteAisJson(message, json);
    if (n == 0 || json[n - 1] != '\n') std::abort();  // every decoded message fits
    char small[64];
    WriteAisJson(message, small);  // too small for most: must stay inside

    AisBitBuffer bits{};
    if (!PackAisMessage(message, bits)) std::abort();
    const ArmouredPayload armoured = ArmourPayload(bits);
    AisMessage again{};
    if (bits.bitCount > 1 && !DecodeAisPayload(armoured.view(), armoured.fillBits, again)) {
        std::abort();
    }
    return 0;
}
