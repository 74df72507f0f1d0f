// Layout descriptors: one constexpr table of rows per message layout, read by
// the one generic engine (UnpackFields in AisDecoder.h) and run backwards by
// the encoder (PackFields in AisEncoder.h).
//
// A row names the bits (0-based start, width), how they are read and stored
// (kind, scale) and the member of the record that holds the value (byte
// offset and size within the record). The engine walks the rows in order and
// advances the bit position by what each row reads; `start` documents where a
// row begins and is checked against that walk at compile time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "ais/AisMessage.h"

namespace norq::ais {

// How a row's bits are read and stored. The numbers are the kind codes of the
// descriptor tables; the storage type is fixed by the kind.
enum class AisFieldKind : std::uint8_t {
    Uint8 = 0,            // uint8, raw bits
    Uint16 = 1,           // uint16, raw bits
    Uint32 = 3,           // uint32, raw bits
    SignedScaled = 5,     // float, two's complement x scale
    Scaled = 6,           // float, raw x scale
    FixedText = 7,        // char[width / 6 + 1], 6-bit text
    RestText = 9,         // char[], every remaining whole 6-bit character
    RestBytes = 10,       // uint8[], every remaining bit, 8 per byte; aux: uint16 bit count
    SkipBits = 11,        // nothing stored; zeros when encoding
    SkipToByte = 12,      // nothing stored; advances to the next byte boundary
    RateOfTurn = 13,      // float, degrees per minute (9999 not available, +-1001 fast turns)
    Longitude = 15,       // double degrees, two's complement x scale / 60; 181 when packing > 180.5
    Latitude = 16,        // double degrees, two's complement x scale / 60; 91 when packing > 90.5
    Course = 17,          // float, raw x scale; 360 when packing > 359.999999
    Heading = 18,         // uint16, raw below 360, else 511
    CappedScaled = 23,    // float, raw x scale; all ones when packing >= all ones x scale
    PointList = 25,       // float (lon, lat) pairs, 28 + 27 bits; aux: uint8 point count
    FourPairs = 26,       // four pairs of uint32, 10 bits each (width 80)
    LongitudeFloat = 27,  // float degrees, two's complement x scale / 60
    LatitudeFloat = 28,   // float degrees, two's complement x scale / 60
    Speed = 29,           // float, raw x scale; all ones (not available) when missing
};

struct AisField {
    std::int16_t start;  // first bit; -1 after a field of variable length
    std::int16_t width;  // bits; 0 for the kinds that take the rest of the message
    AisFieldKind kind;
    double scale;          // double: 0.0001 as a float is off by 5e-8, 9e-6 degrees at 180
    std::uint16_t offset;  // of the member within the record
    std::uint16_t size;    // of the member; the capacity of texts, bytes and lists
    std::uint16_t aux;     // RestBytes, PointList: offset of the count member
};

struct AisLayout {
    const char* name;
    std::span<const AisField> fields;
    std::uint16_t recordSize;
    // A message that ends before this bit does not decode: the end of its
    // position (the first latitude row), or for layouts without one the end
    // of the first row after the header.
    std::uint16_t minimumBits = 0;
    // The end of the last fixed-width row: a message of this many bits holds
    // every fixed field.
    std::uint16_t fullBits = 0;
};

// One row of a descriptor table for member `member` of record type `Record`.
#define NORQ_AIS_FIELD(Record, start, width, kind, scale, member)                        \
    ::norq::ais::AisField {                                                              \
        start, width, ::norq::ais::AisFieldKind::kind, scale,                            \
            static_cast<std::uint16_t>(offsetof(Record, member)),                        \
            static_cast<std::uint16_t>(sizeof(static_cast<Record*>(nullptr)->member)), 0 \
    }
// A row that stores nothing (spare bits, padding).
#define NORQ_AIS_SKIP(start, width)                                     \
    ::norq::ais::AisField {                                             \
        start, width, ::norq::ais::AisFieldKind::SkipBits, 1.0, 0, 0, 0 \
    }
// A row whose count lives in a second member (RestBytes, PointList).
#define NORQ_AIS_COUNTED(Record, start, width, kind, scale, member, count)             \
    ::norq::ais::AisField {                                                            \
        start, width, ::norq::ais::AisFieldKind::kind, scale,                          \
            static_cast<std::uint16_t>(offsetof(Record, member)),                      \
            static_cast<std::uint16_t>(sizeof(static_cast<Record*>(nullptr)->member)), \
            static_cast<std::uint16_t>(offsetof(Record, count))                        \
    }

// The layout of a decoded message record (AisMessage); None has no layout.
const AisLayout& AisLayoutFor(AisLayoutId id);
// Message 22 with the addressed flag: the two destination MMSIs, read after
// the main layout from bits 69 and 104.
const AisLayout& AisChannelManagementAddressees();

// Inputs of the binary application messages sent as message 8 (DAC 1).
struct AisPoint {
    float longitude;
    float latitude;
};

// Area notice (FI 22). Shape 0 uses the position fields, shapes 3 and 4 the segments.
struct AreaNoticeRecord {
    std::uint8_t dac;
    std::uint8_t fi;
    std::uint16_t linkageId;  // 10 bits: fairways number their notices up to 499
    std::uint8_t noticeDescription;
    std::uint8_t month;
    std::uint8_t day;
    std::uint8_t hour;
    std::uint8_t minute;
    std::uint32_t duration;  // minutes
    std::uint8_t areaShape;
    std::uint8_t scaleFactor;
    float longitude;
    float latitude;
    std::uint8_t precision;
    std::uint32_t radius;
    std::array<std::uint32_t, 8> segments;  // four (angle, distance) pairs
};

inline constexpr std::size_t kRouteMaxWaypoints = 16;

// Route information (FI 27).
struct RouteInfoRecord {
    std::uint8_t dac;
    std::uint8_t fi;
    std::uint16_t linkageId;
    std::uint8_t senderClass;
    std::uint8_t routeType;
    std::uint8_t month;
    std::uint8_t day;
    std::uint8_t hour;
    std::uint8_t minute;
    std::uint32_t duration;
    std::uint8_t waypointCount;
    std::array<AisPoint, kRouteMaxWaypoints> waypoints;
};

const AisLayout& AreaNoticeCircleLayout();    // FI 22, shape 0
const AisLayout& AreaNoticePolylineLayout();  // FI 22, shapes 3 and 4
const AisLayout& RouteInfoLayout();           // FI 27

}  // namespace norq::ais
