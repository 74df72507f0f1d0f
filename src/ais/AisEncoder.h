// Encoding: the descriptor tables run backwards (PackFields), the layouts of
// the binary application messages (SelectEncodeLayout) and the 6-bit armour.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "ais/AisBitBuffer.h"
#include "ais/AisLayout.h"
#include "ais/AisMessage.h"

namespace norq::ais {

// Sets the `width` (at most 32) bits at bit `pos` to the low bits of `value`,
// most significant first. Bits at or beyond `capacityBits` are dropped.
void WriteBits(std::uint8_t* bytes, std::size_t capacityBits, std::size_t pos, unsigned width,
               std::uint32_t value);

inline void WriteBits(AisBitBuffer& bits, std::size_t pos, unsigned width, std::uint32_t value) {
    WriteBits(bits.bytes.data(), kAisBitBufferBytes * 8, pos, width, value);
}

// Clears `bits` and writes the record's fields in the layout's order; returns
// the number of bits written (also left in bits.bitCount). A null layout (a
// refused application record) packs to no bits. Scaled values are rounded to
// the nearest step, so packing is the exact inverse of UnpackFields.
std::size_t PackFields(const AisLayout* layout, std::span<const std::byte> record,
                       AisBitBuffer& bits);

template <class Record>
std::size_t PackFields(const AisLayout* layout, const Record& record, AisBitBuffer& bits) {
    static_assert(std::is_trivially_copyable_v<Record>);
    if (layout != nullptr && layout->recordSize != sizeof(Record)) layout = nullptr;
    return PackFields(layout, std::as_bytes(std::span(&record, 1)), bits);
}

// The layout of a message record by its message id (and the part number of
// 24, the addressed flag of 25 and 26), as the decoder would select it.
AisLayoutId AisLayoutOf(const AisMessage& message);

// Packs a message record (any of messages 1-26); false for an id without
// layout. A record with a bit count (a decoded one) keeps its length when that
// is shorter than its layout, like the short forms of messages 7, 15, 16, 20.
bool PackAisMessage(const AisMessage& message, AisBitBuffer& bits);

// The layout of a binary application message: FI 22 with area shape 0 (circle
// or point), 3 (polyline) or 4 (polygon), and FI 27 (route). Null for every
// other combination, which is refused.
const AisLayout* SelectEncodeLayout(int fi, int areaShape);

// Armoured 6-bit characters of a bit buffer and the fill-bit count.
struct ArmouredPayload {
    std::array<char, kAisBitBufferBytes * 8 / 6 + 2> text;  // NUL-terminated
    std::uint16_t length;
    std::uint8_t fillBits;

    std::string_view view() const { return {text.data(), length}; }
};

ArmouredPayload ArmourPayload(const AisBitBuffer& bits);

}  // namespace norq::ais
