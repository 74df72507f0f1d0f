// Bits of an AIS message, most significant bit first: bit 0 is the highest bit
// of the first byte (and of the first 6-bit payload character).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "ais/AisMessage.h"

namespace norq::ais {

// Reads `width` (at most 32) bits starting at bit `pos` of `bytes` and returns
// them as an unsigned number. Bits at or beyond `bitCount` read as zero; no
// byte at or beyond (bitCount + 7) / 8 is touched, so the caller's array only
// has to hold bitCount bits.
constexpr std::uint32_t ReadBits(const std::uint8_t* bytes, std::size_t bitCount, std::size_t pos,
                                 unsigned width) {
    if (width == 0 || pos >= bitCount) return 0;
    if (width > 32) width = 32;
    const std::size_t end = pos + width;
    const std::size_t present = end < bitCount ? end : bitCount;  // bits [pos, present) exist
    const std::size_t first = pos >> 3;
    const std::size_t last = (present - 1) >> 3;
    std::uint64_t acc = 0;
    for (std::size_t i = first; i <= last; ++i)
        acc = (acc << 8) | bytes[i];
    acc >>= (last + 1) * 8 - present;
    acc &= (std::uint64_t{1} << (present - pos)) - 1;
    return static_cast<std::uint32_t>(acc << (end - present));
}

// The value of a `width`-bit two's complement field.
constexpr std::int32_t SignExtend(std::uint32_t raw, unsigned width) {
    if (width == 0 || width >= 32) return static_cast<std::int32_t>(raw);
    const std::uint32_t sign = std::uint32_t{1} << (width - 1);
    raw &= (sign << 1) - 1;
    return static_cast<std::int32_t>(raw ^ sign) - static_cast<std::int32_t>(sign);
}

struct AisBitBuffer {
    std::array<std::uint8_t, kAisBitBufferBytes> bytes;
    std::uint16_t bitCount;

    constexpr std::uint32_t read(std::size_t pos, unsigned width) const {
        return ReadBits(bytes.data(), bitCount, pos, width);
    }
};

}  // namespace norq::ais
