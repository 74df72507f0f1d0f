// Decoding of AIS payloads: de-armouring into bits, layout selection and the
// generic table-driven unpacking engine. Pure: bits in, record out; nothing
// here knows of targets, time or windows, and nothing allocates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "ais/AisBitBuffer.h"
#include "ais/AisLayout.h"
#include "ais/AisMessage.h"

namespace norq::ais {

// Turns armoured 6-bit characters into bits. Fails on a character outside
// '0'-'W' and '`'-'w', a fill-bit count outside 0-5, or a payload longer than
// the bit buffer holds (kAisMaxPayloadChars).
bool DeArmourPayload(std::string_view payload, int fillBits, AisBitBuffer& bits);

// The layout a message's bits select: by message id, the part number of
// message 24 and the addressed flag of messages 25 and 26. None for message
// ids 0 and 28-63 and for message 24 with part number 2 or 3.
AisLayoutId SelectAisLayout(const AisBitBuffer& bits);

// The engine: clears `record`, then reads the layout's rows in order from bit
// 0 while the bit position is below the bit count. Returns the bit position
// reached. `record` must be the layout's record (layout.recordSize bytes).
std::size_t UnpackFields(const AisBitBuffer& bits, const AisLayout& layout,
                         std::span<std::byte> record);

template <class Record>
std::size_t UnpackFields(const AisBitBuffer& bits, const AisLayout& layout, Record& record) {
    static_assert(std::is_trivially_copyable_v<Record>);
    if (layout.recordSize != sizeof(Record)) return 0;
    return UnpackFields(bits, layout, std::as_writable_bytes(std::span(&record, 1)));
}

// The bit counts a message of `messageId` read with `layout` is decoded
// within: from the layout's minimumBits or the higher minimum of its type,
// up to the maximum of its type (0: no maximum).
struct AisLengthLimits {
    std::uint16_t minimum;
    std::uint16_t maximum;
};
AisLengthLimits AisLengthLimitsFor(std::uint32_t messageId, AisLayoutId layout);

// Decodes de-armoured bits into `message`. False, with `message` holding nothing usable,
// for a bit count of 1 or less, a message id without layout (0, 28-63, and
// message 24 with part number 2 or 3), a message that ends before its
// layout's minimumBits (its position, or its first field after the MMSI), or
// one outside the limits its message id keeps (docs/decode-json.md).
bool DecodeAisBits(const AisBitBuffer& bits, AisMessage& message);

// How much of the layout row that stores the member at byte `offset` of the
// record a message holds: all of it (Present), part of it (Cut: the message
// ends inside it, six bits or more after its start), or none (Absent: the
// message ends before it, or within the padding of its last character). Members no
// row of the layout stores and rows that take the rest of the message count
// as present; a text lacking only part of its last character too.
enum class AisFieldState : std::uint8_t { Present, Cut, Absent };
AisFieldState AisFieldStateAt(const AisMessage& message, std::size_t offset);

inline bool AisFieldPresentAt(const AisMessage& message, std::size_t offset) {
    return AisFieldStateAt(message, offset) == AisFieldState::Present;
}

template <class T>
bool AisFieldPresent(const AisMessage& message, const T& member) {
    const auto* base = reinterpret_cast<const char*>(&message);
    const auto* at = reinterpret_cast<const char*>(&member);
    return AisFieldPresentAt(message, static_cast<std::size_t>(at - base));
}

// De-armours and decodes the joined payload of a VDM/VDO message with the
// fill-bit count of its last sentence.
bool DecodeAisPayload(std::string_view payload, int fillBits, AisMessage& message);

// Station classes by MMSI.
enum class MmsiClass : std::uint8_t {
    CoastStation = 0,  // 2000000-7999999 (00MIDxxxx)
    AisSart = 5,       // 970xxxxxx
    ManOverboard = 6,  // 972xxxxxx
    EpirbAis = 7,      // 974xxxxxx
    Other = 8,         // vessels and everything else
};

MmsiClass ClassifyMmsi(std::uint32_t mmsi);

}  // namespace norq::ais
