#include "ais/AisEncoder.h"

#include <cmath>
#include <cstring>

namespace norq::ais {
namespace {

using K = AisFieldKind;

template <class T>
T Load(const std::byte* record, std::size_t offset) {
    T value;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
}

// Nearest whole step of `x`, kept inside the 32-bit range (NaN packs as 0).
std::uint32_t ToRaw(double x) {
    if (!(x == x)) return 0;
    if (x > 4294967295.0) x = 4294967295.0;
    if (x < -2147483648.0) x = -2147483648.0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(std::llround(x)));
}

std::uint32_t AllOnes(unsigned width) {
    return width >= 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << width) - 1;
}

std::uint32_t RateOfTurnRaw(float v) {
    if (!(v == v) || v >= kAisRotNotAvailable) return 0x80;  // -128
    if (v >= kAisRotFastRight) return 127;
    if (v <= kAisRotFastLeft) return static_cast<std::uint32_t>(-127);
    const double r = std::sqrt(std::fabs(double{v})) * 4.733;
    const std::int64_t q = std::llround(r > 126.0 ? 126.0 : r);
    return static_cast<std::uint32_t>(v < 0 ? -q : q);
}

// Degrees to a position field; positions beyond the limit (181, 91) pack as
// the not-available value of the field's scale.
std::uint32_t PositionRaw(double degrees, double limit, double scale) {
    if (degrees > limit + 0.5) degrees = limit + 1.0;
    return ToRaw(degrees * 60.0 / scale);
}

char SixBits(char c) {
    const auto u = static_cast<unsigned char>(c);
    return static_cast<char>((u >= 64 ? u - 64 : u) & 0x3F);
}

class Packer {
  public:
    Packer(const std::byte* record, AisBitBuffer& bits) : record_(record), bits_(bits) {}

    std::size_t run(const AisLayout& layout) {
        for (const AisField& f : layout.fields) {
            if (!writeRow(f)) pos_ += static_cast<std::size_t>(f.width);
        }
        return pos_;
    }

  private:
    void put(unsigned width, std::uint32_t value) {
        WriteBits(bits_, pos_, width, value);
        pos_ += width;
    }

    // Writes a row; true when it advanced the position itself.
    bool writeRow(const AisField& f) {
        const unsigned width = static_cast<unsigned>(f.width);
        const std::size_t at = f.offset;
        std::uint32_t raw = 0;
        switch (f.kind) {
            case K::Uint8:
                raw = Load<std::uint8_t>(record_, at);
                break;
            case K::Uint16:
                raw = Load<std::uint16_t>(record_, at);
                break;
            case K::Uint32:
                raw = Load<std::uint32_t>(record_, at);
                break;
            case K::Scaled:
            case K::Speed:
            case K::SignedScaled:
                raw = ToRaw(Load<float>(record_, at) / f.scale);
                break;
            case K::Course: {
                const float v = Load<float>(record_, at);
                raw = ToRaw((v > 359.999999 ? 360.0 : v) / f.scale);
                break;
            }
            case K::CappedScaled: {
                const double v = Load<float>(record_, at) / f.scale;
                raw = v >= AllOnes(width) ? AllOnes(width) : ToRaw(v);
                break;
            }
            case K::RateOfTurn:
                raw = RateOfTurnRaw(Load<float>(record_, at));
                break;
            case K::Longitude:
                raw = PositionRaw(Load<double>(record_, at), 180.0, f.scale);
                break;
            case K::Latitude:
                raw = PositionRaw(Load<double>(record_, at), 90.0, f.scale);
                break;
            case K::LongitudeFloat:
            case K::LatitudeFloat:
                raw = ToRaw(Load<float>(record_, at) * 60.0 / f.scale);
                break;
            case K::Heading: {
                const auto h = Load<std::uint16_t>(record_, at);
                raw = h < 360 ? h : kAisHeadingNotAvailable;
                break;
            }
            case K::FixedText:
                writeText(f, width / 6, true);
                return true;
            case K::RestText:
                writeText(f, f.size - 1u, false);
                return true;
            case K::RestBytes:
                writeBytes(f);
                return true;
            case K::PointList:
                writePoints(f);
                return true;
            case K::FourPairs:
                for (std::size_t i = 0; i < 8; ++i) {
                    put(width / 8, Load<std::uint32_t>(record_, at + 4 * i));
                }
                return true;
            case K::SkipToByte:
                pos_ = (pos_ + 7) / 8 * 8;
                return true;
            case K::SkipBits:
                return false;
        }
        put(width, raw);
        return true;
    }

    // A fixed text pads with '@' (0) after its NUL; a rest text stops there and
    // then advances to at least its start plus its width.
    void writeText(const AisField& f, std::size_t chars, bool padded) {
        const auto* text = reinterpret_cast<const char*>(record_ + f.offset);
        const std::size_t start = pos_;
        bool ended = false;
        for (std::size_t i = 0; i < chars && i < f.size; ++i) {
            ended = ended || text[i] == '\0';
            if (ended && !padded) break;
            put(6, ended ? 0 : static_cast<std::uint32_t>(SixBits(text[i])));
        }
        if (padded) pos_ = start + 6 * chars;
        if (!padded && f.width > 0 && pos_ < start + f.width) pos_ = start + f.width;
    }

    void writeBytes(const AisField& f) {
        std::size_t count = Load<std::uint16_t>(record_, f.aux);
        if (count > std::size_t{f.size} * 8) count = std::size_t{f.size} * 8;
        const auto* data = reinterpret_cast<const std::uint8_t*>(record_ + f.offset);
        for (std::size_t i = 0; 8 * i < count; ++i) {
            const unsigned width = count - 8 * i < 8 ? static_cast<unsigned>(count - 8 * i) : 8;
            put(width, static_cast<std::uint32_t>(data[i] >> (8 - width)));
        }
    }

    void writePoints(const AisField& f) {
        std::size_t count = Load<std::uint8_t>(record_, f.aux);
        if (count > f.size / sizeof(AisPoint)) count = f.size / sizeof(AisPoint);
        for (std::size_t i = 0; i < count; ++i) {
            const auto p = Load<AisPoint>(record_, f.offset + i * sizeof(AisPoint));
            put(28, PositionRaw(p.longitude, 180.0, f.scale));
            put(27, PositionRaw(p.latitude, 90.0, f.scale));
        }
    }

    const std::byte* record_;
    AisBitBuffer& bits_;
    std::size_t pos_ = 0;
};

}  // namespace

void WriteBits(std::uint8_t* bytes, std::size_t capacityBits, std::size_t pos, unsigned width,
               std::uint32_t value) {
    if (width > 32) width = 32;
    for (unsigned i = 0; i < width; ++i) {
        const std::size_t bit = pos + i;
        if (bit >= capacityBits) return;
        const auto mask = static_cast<std::uint8_t>(0x80u >> (bit & 7));
        if ((value >> (width - 1 - i)) & 1u) {
            bytes[bit >> 3] |= mask;
        } else {
            bytes[bit >> 3] &= static_cast<std::uint8_t>(~mask);
        }
    }
}

std::size_t PackFields(const AisLayout* layout, std::span<const std::byte> record,
                       AisBitBuffer& bits) {
    bits.bytes.fill(0);
    bits.bitCount = 0;
    if (layout == nullptr || record.size() < layout->recordSize) return 0;
    const std::size_t end = Packer(record.data(), bits).run(*layout);
    const std::size_t capacity = kAisBitBufferBytes * 8;
    bits.bitCount = static_cast<std::uint16_t>(end < capacity ? end : capacity);
    return bits.bitCount;
}

AisLayoutId AisLayoutOf(const AisMessage& message) {
    switch (message.messageId) {
        case 1:
        case 2:
        case 3:
            return AisLayoutId::PositionReport;
        case 4:
        case 11:
            return AisLayoutId::BaseStation;
        case 5:
            return AisLayoutId::StaticVoyage;
        case 6:
            return AisLayoutId::AddressedBinary;
        case 7:
        case 13:
            return AisLayoutId::Acknowledge;
        case 8:
            return AisLayoutId::BinaryBroadcast;
        case 9:
            return AisLayoutId::SarPosition;
        case 10:
            return AisLayoutId::UtcInquiry;
        case 12:
            return AisLayoutId::AddressedSafety;
        case 14:
            return AisLayoutId::SafetyBroadcast;
        case 15:
            return AisLayoutId::Interrogation;
        case 16:
            return AisLayoutId::AssignmentCommand;
        case 17:
            return AisLayoutId::Dgnss;
        case 18:
            return AisLayoutId::ClassBPosition;
        case 19:
            return AisLayoutId::ClassBExtended;
        case 20:
            return AisLayoutId::DataLinkManagement;
        case 21:
            return AisLayoutId::AidToNavigation;
        case 22:
            return AisLayoutId::ChannelManagement;
        case 23:
            return AisLayoutId::GroupAssignment;
        case 24:
            return message.staticA.partNumber == 1 ? AisLayoutId::StaticDataB
                                                   : AisLayoutId::StaticDataA;
        case 25:
        case 26:
            return message.slotBinary.addressed == 1 ? AisLayoutId::SlotBinaryAddressed
                                                     : AisLayoutId::SlotBinaryBroadcast;
        case 27:
            return AisLayoutId::LongRange;
        default:
            return AisLayoutId::None;
    }
}

bool PackAisMessage(const AisMessage& message, AisBitBuffer& bits) {
    const AisLayoutId id = AisLayoutOf(message);
    if (id == AisLayoutId::None) {
        PackFields(nullptr, message, bits);
        return false;
    }
    std::size_t count = PackFields(&AisLayoutFor(id), message, bits);
    if (message.bitCount > 0 && message.bitCount < count) count = message.bitCount;
    bits.bitCount = static_cast<std::uint16_t>(count);
    if (id == AisLayoutId::ChannelManagement && message.channelManagement.addressed == 1) {
        // The destination MMSIs take the place of the corner bits they share.
        Packer(reinterpret_cast<const std::byte*>(&message), bits)
            .run(AisChannelManagementAddressees());
    }
    return true;
}

const AisLayout* SelectEncodeLayout(int fi, int areaShape) {
    if (fi == 22 && areaShape == 0) return &AreaNoticeCircleLayout();
    if (fi == 22 && (areaShape == 3 || areaShape == 4)) return &AreaNoticePolylineLayout();
    if (fi == 27) return &RouteInfoLayout();
    return nullptr;
}

ArmouredPayload ArmourPayload(const AisBitBuffer& bits) {
    ArmouredPayload out{};
    const std::size_t count = bits.bitCount;
    const std::size_t chars = (count + 5) / 6;
    for (std::size_t i = 0; i < chars && i + 1 < out.text.size(); ++i) {
        const std::uint32_t v = bits.read(6 * i, 6);
        out.text[i] = static_cast<char>(v < 40 ? v + 48 : v + 56);
        out.length = static_cast<std::uint16_t>(i + 1);
    }
    out.fillBits = static_cast<std::uint8_t>((6 - count % 6) % 6);
    return out;
}

}  // namespace norq::ais
