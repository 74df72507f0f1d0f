// The decoded AIS message: a fixed-size typed record filled by DecodeAisPayload.
//
// Every message starts with the common header (message id, repeat indicator,
// MMSI). The fields after the header live in one member of the union below,
// chosen by `layout`; each member is the record of one layout descriptor (see
// AisLayout.h, whose rows name these members). The record is zero-filled
// before unpacking, so texts are NUL-terminated. A message shorter than its
// layout keeps the fields it holds whole; a raw field it ends inside holds
// the bits there are (the missing low bits zero); the others read as their
// not-available value (positions, speeds, courses, headings, rate of turn)
// or zero. AisFieldStateAt (AisDecoder.h) tells which they are.
//
// Units: positions in degrees (east and north positive; 181 and 91 mean not
// available), speeds in knots (102.3 not available), courses in degrees (360
// not available), headings in whole degrees (511 not available), rate of
// turn in degrees per minute (9999 not available, +1001 / -1001 turning
// faster than 5 degrees in 30 seconds). Every other field is the raw value.
// Texts keep the 6-bit padding character '@'; readers strip it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace norq::ais {

// Largest payload the decoder accepts: 170 bytes of bits hold 226 characters.
inline constexpr std::size_t kAisBitBufferBytes = 170;
inline constexpr std::size_t kAisMaxPayloadChars = kAisBitBufferBytes * 8 / 6;
inline constexpr std::size_t kAisMaxPayloadBits = kAisMaxPayloadChars * 6;
// Capacity of the rest-of-message texts (message 14 is the longest: from bit 40).
inline constexpr std::size_t kAisMaxTextChars = (kAisMaxPayloadBits - 40) / 6 + 1;
// Capacity of the rest-of-message binary data (message 8, 25, 26: from bit 40).
inline constexpr std::size_t kAisMaxBinaryBytes = (kAisMaxPayloadBits - 40 + 7) / 8;

// Not-available values after scaling.
inline constexpr float kAisSpeedNotAvailable = 102.3f;
inline constexpr float kAisCourseNotAvailable = 360.0f;
inline constexpr std::uint16_t kAisHeadingNotAvailable = 511;
inline constexpr double kAisLonNotAvailable = 181.0;
inline constexpr double kAisLatNotAvailable = 91.0;
inline constexpr float kAisRotNotAvailable = 9999.0f;
inline constexpr float kAisRotFastRight = 1001.0f;
inline constexpr float kAisRotFastLeft = -1001.0f;

// Which layout (and so which union member) a decoded record holds.
enum class AisLayoutId : std::uint8_t {
    None = 0,
    PositionReport,       // 1, 2, 3       -> position
    BaseStation,          // 4, 11         -> baseStation
    StaticVoyage,         // 5             -> staticVoyage
    AddressedBinary,      // 6             -> addressedBinary
    Acknowledge,          // 7, 13         -> acknowledge
    BinaryBroadcast,      // 8             -> binaryBroadcast
    SarPosition,          // 9             -> sarPosition
    UtcInquiry,           // 10            -> utcInquiry
    AddressedSafety,      // 12            -> addressedSafety
    SafetyBroadcast,      // 14            -> safetyBroadcast
    Interrogation,        // 15            -> interrogation
    AssignmentCommand,    // 16            -> assignment
    Dgnss,                // 17            -> dgnss
    ClassBPosition,       // 18            -> classBPosition
    ClassBExtended,       // 19            -> classBExtended
    DataLinkManagement,   // 20            -> dataLink
    AidToNavigation,      // 21            -> aton
    ChannelManagement,    // 22            -> channelManagement
    GroupAssignment,      // 23            -> groupAssignment
    StaticDataA,          // 24 part A     -> staticA
    StaticDataB,          // 24 part B     -> staticB
    SlotBinaryBroadcast,  // 25, 26 broadcast -> slotBinary
    SlotBinaryAddressed,  // 25, 26 addressed -> slotBinary
    LongRange,            // 27            -> longRange
    Count,
};

// Messages 1, 2, 3: class A position report.
struct AisPositionReport {
    std::uint8_t navStatus;
    float rateOfTurn;
    float sog;
    std::uint8_t positionAccuracy;
    double longitude;
    double latitude;
    float cog;
    std::uint16_t heading;
    std::uint8_t timeStamp;
    std::uint8_t regional;  // manoeuvre indicator (high 2 bits) and spare
    std::uint8_t spare;
    std::uint8_t raim;
    std::uint32_t commState;
};

// Messages 4 and 11: base station report, UTC and date response.
struct AisBaseStationReport {
    std::uint16_t year;
    std::uint8_t month;
    std::uint8_t day;
    std::uint8_t hour;
    std::uint8_t minute;
    std::uint8_t second;
    std::uint8_t positionAccuracy;
    double longitude;
    double latitude;
    std::uint8_t epfdType;
    std::uint16_t spare;
    std::uint8_t raim;
    std::uint32_t commState;
};

// Message 5: static and voyage related data.
struct AisStaticVoyage {
    std::uint8_t aisVersion;
    std::uint32_t imo;
    std::array<char, 8> callSign;
    std::array<char, 21> name;
    std::uint8_t shipType;
    std::uint32_t dimensions;  // SplitDimensions()
    std::uint8_t epfdType;
    std::uint32_t eta;  // SplitEta()
    float draught;      // metres
    std::array<char, 21> destination;
    std::uint8_t dte;
    std::uint8_t spare;
};

// Message 6: addressed binary message. The data start with DAC (10 bits) and FI (6).
struct AisAddressedBinary {
    std::uint8_t sequence;
    std::uint32_t destinationMmsi;
    std::uint8_t retransmit;
    std::uint8_t spare;
    std::uint16_t dataBits;  // number of bits in data; whole bytes = dataBits / 8
    std::array<std::uint8_t, kAisMaxBinaryBytes> data;
};

// Messages 7 and 13: binary and safety acknowledge.
struct AisAcknowledge {
    std::uint8_t spare;
    std::uint32_t mmsi1;
    std::uint8_t sequence1;
    std::uint32_t mmsi2;
    std::uint8_t sequence2;
    std::uint32_t mmsi3;
    std::uint8_t sequence3;
    std::uint32_t mmsi4;
    std::uint8_t sequence4;
};

// Message 8: binary broadcast message. The data start with DAC (10 bits) and FI (6).
struct AisBinaryBroadcast {
    std::uint8_t spare;
    std::uint16_t dataBits;
    std::array<std::uint8_t, kAisMaxBinaryBytes> data;
};

// Message 9: standard SAR aircraft position report.
struct AisSarPosition {
    std::uint16_t altitude;  // metres; 4095 not available
    float sog;               // knots, whole; 1023 not available
    std::uint8_t positionAccuracy;
    double longitude;
    double latitude;
    float cog;
    std::uint8_t timeStamp;
    std::uint8_t regional;
    std::uint8_t dte;
    std::uint8_t spare;
    std::uint8_t assigned;
    std::uint8_t raim;
    std::uint8_t commStateSelector;
    std::uint32_t commState;
};

// Message 10: UTC and date inquiry.
struct AisUtcInquiry {
    std::uint8_t spare;
    std::uint32_t destinationMmsi;
    std::uint8_t spare2;
};

// Message 12: addressed safety related message.
struct AisAddressedSafety {
    std::uint8_t sequence;
    std::uint32_t destinationMmsi;
    std::uint8_t retransmit;
    std::uint8_t spare;
    std::array<char, kAisMaxTextChars + 1> text;
};

// Message 14: safety related broadcast message.
struct AisSafetyBroadcast {
    std::uint8_t spare;
    std::array<char, kAisMaxTextChars + 1> text;
};

// Message 15: interrogation.
struct AisInterrogation {
    std::uint8_t spare;
    std::uint32_t mmsi1;
    std::uint8_t messageId11;
    std::uint16_t slotOffset11;
    std::uint8_t spare2;
    std::uint8_t messageId12;
    std::uint16_t slotOffset12;
    std::uint8_t spare3;
    std::uint32_t mmsi2;
    std::uint8_t messageId21;
    std::uint16_t slotOffset21;
    std::uint8_t spare4;
};

// Message 16: assigned mode command.
struct AisAssignmentCommand {
    std::uint8_t spare;
    std::uint32_t mmsiA;
    std::uint16_t offsetA;
    std::uint16_t incrementA;
    std::uint32_t mmsiB;
    std::uint16_t offsetB;
    std::uint16_t incrementB;
    std::uint8_t spare2;
};

// Message 17: GNSS broadcast binary message.
struct AisDgnssBroadcast {
    std::uint8_t spare;
    double longitude;  // 1/10 minute resolution
    double latitude;
    std::uint8_t spare2;
    std::uint8_t dgnssType;
    std::uint16_t stationId;
    std::uint16_t zCount;
    std::uint8_t sequence;
    std::uint8_t wordCount;
    std::uint8_t health;
    std::uint16_t dataBits;  // correction data words after the DGNSS header
    std::array<std::uint8_t, kAisMaxBinaryBytes> data;
};

// Message 18: class B position report.
struct AisClassBPosition {
    std::uint8_t regionalReserved;
    float sog;
    std::uint8_t positionAccuracy;
    double longitude;
    double latitude;
    float cog;
    std::uint16_t heading;
    std::uint8_t timeStamp;
    std::uint8_t regional;
    std::uint8_t csUnit;
    std::uint8_t display;
    std::uint8_t dsc;
    std::uint8_t band;
    std::uint8_t message22;
    std::uint8_t assigned;
    std::uint8_t raim;
    std::uint8_t commStateSelector;
    std::uint32_t commState;
};

// Message 19: extended class B position report.
struct AisClassBExtended {
    std::uint8_t regionalReserved;
    float sog;
    std::uint8_t positionAccuracy;
    double longitude;
    double latitude;
    float cog;
    std::uint16_t heading;
    std::uint8_t timeStamp;
    std::uint8_t regional;
    std::array<char, 21> name;
    std::uint8_t shipType;
    std::uint32_t dimensions;
    std::uint8_t epfdType;
    std::uint8_t raim;
    std::uint8_t dte;
    std::uint8_t assigned;
    std::uint8_t spare;
};

// One reservation block of message 20.
struct AisSlotReservation {
    std::uint16_t offset;
    std::uint8_t slots;
    std::uint8_t timeout;
    std::uint16_t increment;
};

// Message 20: data link management.
struct AisDataLinkManagement {
    std::uint8_t spare;
    AisSlotReservation blocks[4];  // a plain array: layout rows name blocks[i] members
};

// Message 21: aid to navigation report.
struct AisAidToNavigation {
    std::uint8_t aidType;
    std::array<char, 21> name;
    std::uint8_t positionAccuracy;
    double longitude;
    double latitude;
    std::uint32_t dimensions;
    std::uint8_t epfdType;
    std::uint8_t timeStamp;
    std::uint8_t offPosition;
    std::uint8_t regional;
    std::uint8_t raim;
    std::uint8_t virtualAton;
    std::uint8_t assigned;
    std::uint8_t spare;
    std::array<char, 15> nameExtension;  // up to 14 characters
};

// Message 22: channel management. With the addressed flag set, bits 69-98 and
// 104-133 carry two destination MMSIs; the corner fields then hold the same
// bits read as positions.
struct AisChannelManagement {
    std::uint8_t spare;
    std::uint16_t channelA;
    std::uint16_t channelB;
    std::uint8_t txRxMode;
    std::uint8_t power;
    double longitude1;  // north-east corner, 1/10 minute resolution
    double latitude1;
    double longitude2;  // south-west corner
    double latitude2;
    std::uint8_t addressed;
    std::uint8_t bandwidthA;
    std::uint8_t bandwidthB;
    std::uint8_t zoneSize;
    std::uint32_t spare2;
    std::uint32_t destinationMmsi1;  // only with addressed = 1
    std::uint32_t destinationMmsi2;
};

// Message 23: group assignment command.
struct AisGroupAssignment {
    std::uint8_t spare;
    double longitude1;
    double latitude1;
    double longitude2;
    double latitude2;
    std::uint8_t stationType;
    std::uint8_t shipType;
    std::uint32_t spare2;
    std::uint8_t txRxMode;
    std::uint8_t reportingInterval;
    std::uint8_t quietTime;
    std::uint8_t spare3;
};

// Message 24 part A (part number 0). Part numbers 2 and 3 are not defined
// and do not decode.
struct AisStaticDataA {
    std::uint8_t partNumber;
    std::array<char, 21> name;
};

// Message 24 part B (part number 1).
struct AisStaticDataB {
    std::uint8_t partNumber;
    std::uint8_t shipType;
    std::array<char, 8> vendorId;
    std::array<char, 8> callSign;
    std::uint32_t dimensions;  // of an auxiliary craft (MMSI 98xxxxxxx): mothership MMSI
    std::uint8_t spare;
};

// Messages 25 and 26: single and multiple slot binary message. Structured
// data start with a 16-bit application id; message 26 data end with a 20-bit
// communication state.
struct AisSlotBinary {
    std::uint8_t addressed;
    std::uint8_t structured;
    std::uint32_t destinationMmsi;  // 0 when broadcast
    std::uint16_t dataBits;
    std::array<std::uint8_t, kAisMaxBinaryBytes> data;
};

// Message 27: long-range AIS broadcast. Position in 1/10 minute; speed and
// course are the raw whole knots and degrees.
struct AisLongRange {
    std::uint8_t positionAccuracy;
    std::uint8_t raim;
    std::uint8_t navStatus;
    double longitude;
    double latitude;
    std::uint8_t sog;   // knots; 63 not available
    std::uint16_t cog;  // degrees; 511 not available
    std::uint8_t gnss;  // position latency flag: 1 older than 5 seconds
    std::uint8_t spare;
};

inline constexpr std::uint8_t kAisLongRangeSpeedNotAvailable = 63;
inline constexpr std::uint16_t kAisLongRangeCourseNotAvailable = 511;

struct AisMessage {
    std::uint8_t messageId;
    std::uint8_t repeat;
    std::uint32_t mmsi;
    std::uint16_t bitCount;  // number of payload bits decoded
    AisLayoutId layout;
    union {
        AisPositionReport position;
        AisBaseStationReport baseStation;
        AisStaticVoyage staticVoyage;
        AisAddressedBinary addressedBinary;
        AisAcknowledge acknowledge;
        AisBinaryBroadcast binaryBroadcast;
        AisSarPosition sarPosition;
        AisUtcInquiry utcInquiry;
        AisAddressedSafety addressedSafety;
        AisSafetyBroadcast safetyBroadcast;
        AisInterrogation interrogation;
        AisAssignmentCommand assignment;
        AisDgnssBroadcast dgnss;
        AisClassBPosition classBPosition;
        AisClassBExtended classBExtended;
        AisDataLinkManagement dataLink;
        AisAidToNavigation aton;
        AisChannelManagement channelManagement;
        AisGroupAssignment groupAssignment;
        AisStaticDataA staticA;
        AisStaticDataB staticB;
        AisSlotBinary slotBinary;
        AisLongRange longRange;
    };
};

// The 30-bit dimension field: to bow (9 bits, highest), to stern (9), to port (6),
// to starboard (6, lowest), in metres.
struct AisDimensions {
    std::uint16_t toBow;
    std::uint16_t toStern;
    std::uint8_t toPort;
    std::uint8_t toStarboard;
};

constexpr AisDimensions SplitDimensions(std::uint32_t packed) {
    return {static_cast<std::uint16_t>((packed >> 21) & 0x1FF),
            static_cast<std::uint16_t>((packed >> 12) & 0x1FF),
            static_cast<std::uint8_t>((packed >> 6) & 0x3F),
            static_cast<std::uint8_t>(packed & 0x3F)};
}

// The 20-bit ETA field: month (4 bits, highest), day (5), hour (5), minute (6, lowest).
struct AisEta {
    std::uint8_t month;
    std::uint8_t day;
    std::uint8_t hour;
    std::uint8_t minute;
};

constexpr AisEta SplitEta(std::uint32_t packed) {
    return {static_cast<std::uint8_t>((packed >> 16) & 0x0F),
            static_cast<std::uint8_t>((packed >> 11) & 0x1F),
            static_cast<std::uint8_t>((packed >> 6) & 0x1F),
            static_cast<std::uint8_t>(packed & 0x3F)};
}

}  // namespace norq::ais
