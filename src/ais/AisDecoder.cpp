#include "ais/AisDecoder.h"

#include <array>
#include <cstring>

namespace norq::ais {
namespace {

using K = AisFieldKind;

constexpr std::uint8_t kInvalidChar = 0x40;

// 6-bit value of each armoured character; kInvalidChar outside '0'-'W', '`'-'w'.
constexpr std::array<std::uint8_t, 256> kArmourValues = [] {
    std::array<std::uint8_t, 256> t{};
    for (unsigned c = 0; c < 256; ++c) {
        if (c >= 48 && c <= 87) {
            t[c] = static_cast<std::uint8_t>(c - 48);
        } else if (c >= 96 && c <= 119) {
            t[c] = static_cast<std::uint8_t>(c - 56);
        } else {
            t[c] = kInvalidChar;
        }
    }
    return t;
}();

// Layout of each message id 0-63; 24, 25 and 26 are refined by their bits.
constexpr std::array<AisLayoutId, 64> kLayoutById = [] {
    using L = AisLayoutId;
    std::array<L, 64> t{};
    t[1] = t[2] = t[3] = L::PositionReport;
    t[4] = t[11] = L::BaseStation;
    t[5] = L::StaticVoyage;
    t[6] = L::AddressedBinary;
    t[7] = t[13] = L::Acknowledge;
    t[8] = L::BinaryBroadcast;
    t[9] = L::SarPosition;
    t[10] = L::UtcInquiry;
    t[12] = L::AddressedSafety;
    t[14] = L::SafetyBroadcast;
    t[15] = L::Interrogation;
    t[16] = L::AssignmentCommand;
    t[17] = L::Dgnss;
    t[18] = L::ClassBPosition;
    t[19] = L::ClassBExtended;
    t[20] = L::DataLinkManagement;
    t[21] = L::AidToNavigation;
    t[22] = L::ChannelManagement;
    t[23] = L::GroupAssignment;
    t[24] = L::StaticDataA;
    t[25] = t[26] = L::SlotBinaryBroadcast;
    t[27] = L::LongRange;
    return t;
}();

// Limits by message id beyond the layout's own minimum (0: none), as gpsd
// keeps them: a group assignment (23) that ends before its
// reporting interval and quiet time commands nothing; a message 26 ends with
// its 20-bit communication state; longer than these maxima no message of
// its type is sent (one slot for 7, 13, 15, 16, 24, 25 and 27, the
// fixed blocks of 20 and 21, five slots for 6, 8, 12, 14, 17 and 26).
constexpr std::array<AisLengthLimits, 64> kLengthById = [] {
    std::array<AisLengthLimits, 64> t{};
    t[6] = t[8] = t[12] = t[14] = {0, 1008};
    t[7] = t[13] = t[15] = t[16] = t[24] = t[25] = t[27] = {0, 168};
    t[17] = {0, 816};
    t[20] = {0, 186};
    t[21] = {0, 368};
    t[23] = {160, 0};
    t[26] = {60, 1004};
    return t;
}();

template <class T>
void Store(std::byte* record, std::size_t offset, T value) {
    std::memcpy(record + offset, &value, sizeof value);
}

char SixBitChar(std::uint32_t v) {
    return static_cast<char>(v < 32 ? v + 64 : v);
}

float RateOfTurn(std::int32_t r) {
    if (r == -128) return kAisRotNotAvailable;
    if (r == 127) return kAisRotFastRight;
    if (r == -127) return kAisRotFastLeft;
    const double q = r / 4.733;
    return static_cast<float>(r < 0 ? -q * q : q * q);
}

// Text of `chars` characters into a member of `size` bytes (NUL kept).
void ReadText(const AisBitBuffer& bits, std::size_t pos, std::size_t chars, std::byte* dest,
              std::size_t size) {
    if (size == 0) return;
    if (chars > size - 1) chars = size - 1;
    char* out = reinterpret_cast<char*>(dest);
    for (std::size_t i = 0; i < chars; ++i)
        out[i] = SixBitChar(bits.read(pos + 6 * i, 6));
}

// Rows whose length depends on the message; returns the bits consumed.
std::size_t ReadVariable(const AisBitBuffer& bits, const AisField& f, std::size_t pos,
                         std::byte* record) {
    const std::size_t left = bits.bitCount - pos;
    std::byte* dest = record + f.offset;
    switch (f.kind) {
        case K::RestText: {
            std::size_t chars = left / 6;
            if (chars > std::size_t{f.size} - 1) chars = f.size - 1;
            ReadText(bits, pos, chars, dest, f.size);
            return chars * 6;
        }
        case K::RestBytes: {
            const std::size_t taken = left < std::size_t{f.size} * 8 ? left : f.size * 8;
            const std::size_t bytes = (taken + 7) / 8;
            for (std::size_t i = 0; i < bytes; ++i) {
                const std::size_t width = taken - 8 * i < 8 ? taken - 8 * i : 8;
                const auto v = bits.read(pos + 8 * i, static_cast<unsigned>(width));
                dest[i] = static_cast<std::byte>(v << (8 - width));
            }
            Store(record, f.aux, static_cast<std::uint16_t>(taken));
            return taken;
        }
        case K::PointList: {
            std::uint8_t count = 0;
            std::memcpy(&count, record + f.aux, 1);
            const std::size_t capacity = f.size / sizeof(AisPoint);
            if (count > capacity) count = static_cast<std::uint8_t>(capacity);
            for (std::size_t i = 0; i < count; ++i) {
                const std::size_t at = pos + 55 * i;
                const AisPoint p{
                    static_cast<float>(SignExtend(bits.read(at, 28), 28) * f.scale / 60.0),
                    static_cast<float>(SignExtend(bits.read(at + 28, 27), 27) * f.scale / 60.0)};
                Store(record, f.offset + i * sizeof(AisPoint), p);
            }
            return 55 * std::size_t{count};
        }
        case K::SkipToByte:
            return (8 - pos % 8) % 8;
        default:
            return 0;
    }
}

// Fixed-width rows.
void ReadFixed(const AisBitBuffer& bits, const AisField& f, std::size_t pos, std::byte* record) {
    const unsigned width = static_cast<unsigned>(f.width);
    const std::uint32_t raw = bits.read(pos, width);
    const std::size_t at = f.offset;
    switch (f.kind) {
        case K::Uint8:
            Store(record, at, static_cast<std::uint8_t>(raw));
            break;
        case K::Uint16:
            Store(record, at, static_cast<std::uint16_t>(raw));
            break;
        case K::Uint32:
            Store(record, at, raw);
            break;
        case K::Scaled:
        case K::Speed:
        case K::Course:
        case K::CappedScaled:
            Store(record, at, static_cast<float>(raw * f.scale));
            break;
        case K::SignedScaled:
            Store(record, at, static_cast<float>(SignExtend(raw, width) * f.scale));
            break;
        case K::RateOfTurn:
            Store(record, at, RateOfTurn(SignExtend(raw, width)));
            break;
        case K::Longitude:
        case K::Latitude:
            Store(record, at, SignExtend(raw, width) * f.scale / 60.0);
            break;
        case K::LongitudeFloat:
        case K::LatitudeFloat:
            Store(record, at, static_cast<float>(SignExtend(raw, width) * f.scale / 60.0));
            break;
        case K::Heading:
            Store(record, at,
                  static_cast<std::uint16_t>(raw < 360 ? raw : kAisHeadingNotAvailable));
            break;
        case K::FixedText:
            ReadText(bits, pos, width / 6, record + at, f.size);
            break;
        case K::FourPairs:
            for (std::size_t i = 0; i < 8; ++i) {
                Store(record, at + 4 * i, bits.read(pos + i * (width / 8), width / 8));
            }
            break;
        default:
            break;  // SkipBits
    }
}

// A fixed-width row the message ends inside or before: the value it would
// hold is not available.
void StoreMissing(const AisField& f, std::byte* record) {
    const std::size_t at = f.offset;
    switch (f.kind) {
        case K::Longitude:
            return Store(record, at, kAisLonNotAvailable);
        case K::Latitude:
            return Store(record, at, kAisLatNotAvailable);
        case K::LongitudeFloat:
            return Store(record, at, static_cast<float>(kAisLonNotAvailable));
        case K::LatitudeFloat:
            return Store(record, at, static_cast<float>(kAisLatNotAvailable));
        case K::Course:
            return Store(record, at, kAisCourseNotAvailable);
        case K::Heading:
            return Store(record, at, kAisHeadingNotAvailable);
        case K::RateOfTurn:
            return Store(record, at, kAisRotNotAvailable);
        case K::Speed: {
            const double allOnes = static_cast<double>((std::uint32_t{1} << f.width) - 1);
            return Store(record, at, static_cast<float>(allOnes * f.scale));
        }
        default:
            return;  // zero, as cleared
    }
}

bool IsRawBits(K kind) {
    return kind == K::Uint8 || kind == K::Uint16 || kind == K::Uint32;
}

bool IsVariable(K kind) {
    return kind == K::RestText || kind == K::RestBytes || kind == K::PointList ||
           kind == K::SkipToByte;
}

// Walks the rows without clearing the record first. A raw row the bits end
// inside keeps the bits there are; any other fixed row the bits do not hold
// whole stores its not-available value. Returns the position after
// the last row that began within the bits.
std::size_t ReadRows(const AisBitBuffer& bits, const AisLayout& layout, std::byte* record) {
    std::size_t pos = 0;
    std::size_t reached = 0;
    for (const AisField& f : layout.fields) {
        const bool within = pos < bits.bitCount;
        if (IsVariable(f.kind)) {
            if (within) pos += ReadVariable(bits, f, pos, record);
        } else {
            const auto width = static_cast<std::size_t>(f.width);
            if (pos + width <= bits.bitCount) {
                ReadFixed(bits, f, pos, record);
            } else if (pos < bits.bitCount && IsRawBits(f.kind)) {
                // The message ends inside a raw field: the bits it holds are
                // read and the missing low bits are zero (the communication
                // state of a message 1 a few bits short, the DGNSS header of
                // a short message 17). AisFieldStateAt reports it as cut.
                ReadFixed(bits, f, pos, record);
            } else if (f.kind == K::FixedText && pos + width < bits.bitCount + std::size_t{6}) {
                // Only its last character is cut (a message 5 of 420 bits, as
                // many transponders send it): the whole characters stand.
                ReadText(bits, pos, (bits.bitCount - pos) / 6, record + f.offset, f.size);
            } else {
                StoreMissing(f, record);
            }
            pos += width;
        }
        if (within) reached = pos;
    }
    return reached;
}

}  // namespace

bool DeArmourPayload(std::string_view payload, int fillBits, AisBitBuffer& bits) {
    const std::size_t n = payload.size();
    if (fillBits < 0 || fillBits > 5 || n > kAisMaxPayloadChars) return false;
    const auto* in = reinterpret_cast<const unsigned char*>(payload.data());
    std::uint8_t* out = bits.bytes.data();
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4, out += 3) {
        const std::uint32_t a = kArmourValues[in[i]], b = kArmourValues[in[i + 1]];
        const std::uint32_t c = kArmourValues[in[i + 2]], d = kArmourValues[in[i + 3]];
        if ((a | b | c | d) & kInvalidChar) return false;
        const std::uint32_t w = a << 18 | b << 12 | c << 6 | d;
        out[0] = static_cast<std::uint8_t>(w >> 16);
        out[1] = static_cast<std::uint8_t>(w >> 8);
        out[2] = static_cast<std::uint8_t>(w);
    }
    if (i < n) {
        // One to three characters after the last group fill the leading bits.
        std::uint32_t w = 0;
        const std::size_t rest = n - i;
        for (std::size_t k = 0; k < rest; ++k) {
            const std::uint32_t v = kArmourValues[in[i + k]];
            if (v & kInvalidChar) return false;
            w |= v << (18 - 6 * k);
        }
        for (std::size_t k = 0; k < (rest * 6 + 7) / 8; ++k) {
            out[k] = static_cast<std::uint8_t>(w >> (16 - 8 * k));
        }
    }
    const std::size_t total = n * 6;
    bits.bitCount =
        static_cast<std::uint16_t>(total > std::size_t(fillBits) ? total - fillBits : 0);
    return true;
}

AisLayoutId SelectAisLayout(const AisBitBuffer& bits) {
    const std::uint32_t id = bits.read(0, 6);
    switch (id) {
        case 24:
            // Part numbers 2 and 3 are not defined: such a message is not read as
            // either part (it would overwrite a ship's name with garbage).
            switch (bits.read(38, 2)) {
                case 0:
                    return AisLayoutId::StaticDataA;
                case 1:
                    return AisLayoutId::StaticDataB;
                default:
                    return AisLayoutId::None;
            }
        case 25:
        case 26:
            return bits.read(38, 1) == 1 ? AisLayoutId::SlotBinaryAddressed
                                         : AisLayoutId::SlotBinaryBroadcast;
        default:
            return kLayoutById[id];
    }
}

std::size_t UnpackFields(const AisBitBuffer& bits, const AisLayout& layout,
                         std::span<std::byte> record) {
    if (record.size() < layout.recordSize) return 0;
    std::memset(record.data(), 0, record.size());
    return ReadRows(bits, layout, record.data());
}

AisLengthLimits AisLengthLimitsFor(std::uint32_t messageId, AisLayoutId layout) {
    const AisLengthLimits byId = kLengthById[messageId & 0x3F];
    const std::uint16_t own = AisLayoutFor(layout).minimumBits;
    return {byId.minimum > own ? byId.minimum : own, byId.maximum};
}

bool DecodeAisBits(const AisBitBuffer& bits, AisMessage& message) {
    if (bits.bitCount <= 1) return false;
    const AisLayoutId id = SelectAisLayout(bits);
    if (id == AisLayoutId::None) return false;
    const AisLayout& layout = AisLayoutFor(id);
    // A message cut before its position (or before its first field) is refused
    // rather than shown with values it does not hold; so is one of a length
    // its type is never sent with.
    const AisLengthLimits limits = AisLengthLimitsFor(bits.read(0, 6), id);
    if (bits.bitCount < limits.minimum) return false;
    if (limits.maximum != 0 && bits.bitCount > limits.maximum) return false;
    UnpackFields(bits, layout, message);
    message.bitCount = bits.bitCount;
    message.layout = id;
    if (id == AisLayoutId::ChannelManagement && message.channelManagement.addressed == 1) {
        ReadRows(bits, AisChannelManagementAddressees(), reinterpret_cast<std::byte*>(&message));
    }
    return true;
}

bool DecodeAisPayload(std::string_view payload, int fillBits, AisMessage& message) {
    AisBitBuffer bits;
    return DeArmourPayload(payload, fillBits, bits) && DecodeAisBits(bits, message);
}

AisFieldState AisFieldStateAt(const AisMessage& message, std::size_t offset) {
    const AisLayout& layout = AisLayoutFor(message.layout);
    if (message.bitCount >= layout.fullBits) return AisFieldState::Present;
    for (const AisField& f : layout.fields) {
        if (f.offset != offset || f.kind == K::SkipBits || f.kind == K::SkipToByte) continue;
        if (f.start < 0 || IsVariable(f.kind)) return AisFieldState::Present;
        // A text whose last character alone is cut keeps its other characters.
        const std::size_t slack = f.kind == K::FixedText ? 5 : 0;
        const auto start = static_cast<std::size_t>(f.start);
        if (start + static_cast<std::size_t>(f.width) <= message.bitCount + slack) {
            return AisFieldState::Present;
        }
        // Up to five bits after the last whole field are padding to a whole
        // character (short forms of messages 15, 16 and 20 end so), not a cut field.
        return start + 6 <= message.bitCount ? AisFieldState::Cut : AisFieldState::Absent;
    }
    return AisFieldState::Present;
}

MmsiClass ClassifyMmsi(std::uint32_t mmsi) {
    if (mmsi > 969999999 && mmsi <= 970999999) return MmsiClass::AisSart;
    if (mmsi > 971999999 && mmsi <= 972999999) return MmsiClass::ManOverboard;
    if (mmsi > 973999999 && mmsi <= 974999999) return MmsiClass::EpirbAis;
    if (mmsi >= 2000000 && mmsi <= 7999999) return MmsiClass::CoastStation;
    return MmsiClass::Other;
}

}  // namespace norq::ais
