#include "ais/AisJson.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <string_view>

#include "ais/AisBitBuffer.h"
#include "ais/AisDecoder.h"
#include "ais/AisEncoder.h"

namespace norq::ais {
namespace {

// How one JSON value is taken from the record.
enum class JsonFormat : std::uint8_t {
    Uint8,
    Uint16,
    Uint32,
    Bool,         // uint8, false / true
    Speed,        // float knots, one decimal; null at 102.3
    SpeedWhole,   // float knots, whole (message 9); null at 1023
    Altitude,     // uint16 metres; null at 4095
    Course,       // float degrees, one decimal; null at 360 and above
    Heading,      // uint16 degrees; null at 511
    Longitude,    // double degrees, six decimals; null at 181
    Latitude,     // double degrees, six decimals; null at 91
    Turn,         // float degrees per minute, three decimals; null, "fastright", "fastleft"
    Tenths,       // float, one decimal
    Text,         // 6-bit text up to the first '@', trailing spaces removed
    Maneuver,     // uint8 regional bits, the high two
    Radio,        // uint8 selector, aux: uint32 state; selector << 19 | state
    WholeSpeed,   // uint8 knots (message 27); null at 63
    WholeCourse,  // uint16 degrees (message 27); null at 511
    // The formats from here on write their own keys or compose several members.
    Timestamp,         // base station report: "YYYY-MM-DDTHH:MM:SSZ"
    Eta,               // uint32 packed ETA: "MM-DDTHH:MMZ"
    Dimensions,        // uint32 packed: to_bow, to_stern, to_port, to_starboard
    ApplicationData,   // bytes, aux: uint16 bit count; dac, fid and the data after them
    DgnssData,         // message 17: the data from bit 80
    AtonName,          // message 21: name and name extension
    PartA,             // "part":"A"
    PartB,             // "part":"B"
    VendorId,          // message 24 B: vendorid, model, serial
    ShipOrMothership,  // message 24 B: dimensions, or the mothership of an auxiliary craft
    ChannelArea,       // message 22: dest1, dest2 when addressed, else the corners
    SlotBinary,        // messages 25, 26: addressed, structured, dest_mmsi, app_id, data (radio)
};

struct JsonField {
    const char* name;
    std::uint16_t offset;
    JsonFormat format;
    std::uint16_t aux;
};

#define J(name, member, format)                                                               \
    JsonField {                                                                               \
        name, static_cast<std::uint16_t>(offsetof(AisMessage, member)), JsonFormat::format, 0 \
    }
#define J2(name, member, format, aux)                                                       \
    JsonField {                                                                             \
        name, static_cast<std::uint16_t>(offsetof(AisMessage, member)), JsonFormat::format, \
            static_cast<std::uint16_t>(offsetof(AisMessage, aux))                           \
    }

constexpr JsonField kPositionReport[] = {
    J("status", position.navStatus, Uint8),  J("turn", position.rateOfTurn, Turn),
    J("speed", position.sog, Speed),         J("accuracy", position.positionAccuracy, Bool),
    J("lon", position.longitude, Longitude), J("lat", position.latitude, Latitude),
    J("course", position.cog, Course),       J("heading", position.heading, Heading),
    J("second", position.timeStamp, Uint8),  J("maneuver", position.regional, Maneuver),
    J("raim", position.raim, Bool),          J("radio", position.commState, Uint32),
};

constexpr JsonField kBaseStation[] = {
    J("timestamp", baseStation.second, Timestamp),
    J("accuracy", baseStation.positionAccuracy, Bool),
    J("lon", baseStation.longitude, Longitude),
    J("lat", baseStation.latitude, Latitude),
    J("epfd", baseStation.epfdType, Uint8),
    J("raim", baseStation.raim, Bool),
    J("radio", baseStation.commState, Uint32),
};

constexpr JsonField kStaticVoyage[] = {
    J("imo", staticVoyage.imo, Uint32),          J("ais_version", staticVoyage.aisVersion, Uint8),
    J("callsign", staticVoyage.callSign, Text),  J("shipname", staticVoyage.name, Text),
    J("shiptype", staticVoyage.shipType, Uint8), J("", staticVoyage.dimensions, Dimensions),
    J("epfd", staticVoyage.epfdType, Uint8),     J("eta", staticVoyage.eta, Eta),
    J("draught", staticVoyage.draught, Tenths),  J("destination", staticVoyage.destination, Text),
    J("dte", staticVoyage.dte, Uint8),
};

constexpr JsonField kAddressedBinary[] = {
    J("seqno", addressedBinary.sequence, Uint8),
    J("dest_mmsi", addressedBinary.destinationMmsi, Uint32),
    J("retransmit", addressedBinary.retransmit, Bool),
    J2("", addressedBinary.data, ApplicationData, addressedBinary.dataBits),
};

constexpr JsonField kAcknowledge[] = {
    J("mmsi1", acknowledge.mmsi1, Uint32),
    J("mmsi2", acknowledge.mmsi2, Uint32),
    J("mmsi3", acknowledge.mmsi3, Uint32),
    J("mmsi4", acknowledge.mmsi4, Uint32),
};

constexpr JsonField kBinaryBroadcast[] = {
    J2("", binaryBroadcast.data, ApplicationData, binaryBroadcast.dataBits),
};

constexpr JsonField kSarPosition[] = {
    J("alt", sarPosition.altitude, Altitude),
    J("speed", sarPosition.sog, SpeedWhole),
    J("accuracy", sarPosition.positionAccuracy, Bool),
    J("lon", sarPosition.longitude, Longitude),
    J("lat", sarPosition.latitude, Latitude),
    J("course", sarPosition.cog, Course),
    J("second", sarPosition.timeStamp, Uint8),
    J("regional", sarPosition.regional, Uint8),
    J("dte", sarPosition.dte, Uint8),
    J("raim", sarPosition.raim, Bool),
    J2("radio", sarPosition.commStateSelector, Radio, sarPosition.commState),
    J("assigned", sarPosition.assigned, Bool),
};

constexpr JsonField kUtcInquiry[] = {
    J("dest_mmsi", utcInquiry.destinationMmsi, Uint32),
};

constexpr JsonField kAddressedSafety[] = {
    J("seqno", addressedSafety.sequence, Uint8),
    J("dest_mmsi", addressedSafety.destinationMmsi, Uint32),
    J("retransmit", addressedSafety.retransmit, Bool),
    J("text", addressedSafety.text, Text),
};

constexpr JsonField kSafetyBroadcast[] = {
    J("text", safetyBroadcast.text, Text),
};

constexpr JsonField kInterrogation[] = {
    J("mmsi1", interrogation.mmsi1, Uint32),
    J("type1_1", interrogation.messageId11, Uint8),
    J("offset1_1", interrogation.slotOffset11, Uint16),
    J("type1_2", interrogation.messageId12, Uint8),
    J("offset1_2", interrogation.slotOffset12, Uint16),
    J("mmsi2", interrogation.mmsi2, Uint32),
    J("type2_1", interrogation.messageId21, Uint8),
    J("offset2_1", interrogation.slotOffset21, Uint16),
};

constexpr JsonField kAssignmentCommand[] = {
    J("mmsi1", assignment.mmsiA, Uint32),           J("offset1", assignment.offsetA, Uint16),
    J("increment1", assignment.incrementA, Uint16), J("mmsi2", assignment.mmsiB, Uint32),
    J("offset2", assignment.offsetB, Uint16),       J("increment2", assignment.incrementB, Uint16),
};

constexpr JsonField kDgnss[] = {
    J("lon", dgnss.longitude, Longitude),
    J("lat", dgnss.latitude, Latitude),
    J("data", dgnss, DgnssData),
};

constexpr JsonField kClassBPosition[] = {
    J("reserved", classBPosition.regionalReserved, Uint8),
    J("speed", classBPosition.sog, Speed),
    J("accuracy", classBPosition.positionAccuracy, Bool),
    J("lon", classBPosition.longitude, Longitude),
    J("lat", classBPosition.latitude, Latitude),
    J("course", classBPosition.cog, Course),
    J("heading", classBPosition.heading, Heading),
    J("second", classBPosition.timeStamp, Uint8),
    J("regional", classBPosition.regional, Uint8),
    J("cs", classBPosition.csUnit, Bool),
    J("display", classBPosition.display, Bool),
    J("dsc", classBPosition.dsc, Bool),
    J("band", classBPosition.band, Bool),
    J("msg22", classBPosition.message22, Bool),
    J("raim", classBPosition.raim, Bool),
    J2("radio", classBPosition.commStateSelector, Radio, classBPosition.commState),
    J("assigned", classBPosition.assigned, Bool),
};

constexpr JsonField kClassBExtended[] = {
    J("reserved", classBExtended.regionalReserved, Uint8),
    J("speed", classBExtended.sog, Speed),
    J("accuracy", classBExtended.positionAccuracy, Bool),
    J("lon", classBExtended.longitude, Longitude),
    J("lat", classBExtended.latitude, Latitude),
    J("course", classBExtended.cog, Course),
    J("heading", classBExtended.heading, Heading),
    J("second", classBExtended.timeStamp, Uint8),
    J("regional", classBExtended.regional, Uint8),
    J("shipname", classBExtended.name, Text),
    J("shiptype", classBExtended.shipType, Uint8),
    J("", classBExtended.dimensions, Dimensions),
    J("epfd", classBExtended.epfdType, Uint8),
    J("raim", classBExtended.raim, Bool),
    J("dte", classBExtended.dte, Uint8),
    J("assigned", classBExtended.assigned, Bool),
};

#define BLOCK(n, i)                                         \
    J("offset" #n, dataLink.blocks[i].offset, Uint16),      \
        J("number" #n, dataLink.blocks[i].slots, Uint8),    \
        J("timeout" #n, dataLink.blocks[i].timeout, Uint8), \
        J("increment" #n, dataLink.blocks[i].increment, Uint16)

constexpr JsonField kDataLinkManagement[] = {BLOCK(1, 0), BLOCK(2, 1), BLOCK(3, 2), BLOCK(4, 3)};

#undef BLOCK

constexpr JsonField kAidToNavigation[] = {
    J("aid_type", aton.aidType, Uint8),
    J("name", aton.name, AtonName),
    J("lon", aton.longitude, Longitude),
    J("lat", aton.latitude, Latitude),
    J("accuracy", aton.positionAccuracy, Bool),
    J("", aton.dimensions, Dimensions),
    J("epfd", aton.epfdType, Uint8),
    J("second", aton.timeStamp, Uint8),
    J("regional", aton.regional, Uint8),
    J("off_position", aton.offPosition, Bool),
    J("raim", aton.raim, Bool),
    J("virtual_aid", aton.virtualAton, Bool),
    J("assigned", aton.assigned, Bool),
};

constexpr JsonField kChannelManagement[] = {
    J("channel_a", channelManagement.channelA, Uint16),
    J("channel_b", channelManagement.channelB, Uint16),
    J("txrx", channelManagement.txRxMode, Uint8),
    J("power", channelManagement.power, Bool),
    J("", channelManagement, ChannelArea),
    J("addressed", channelManagement.addressed, Bool),
    J("band_a", channelManagement.bandwidthA, Bool),
    J("band_b", channelManagement.bandwidthB, Bool),
    J("zonesize", channelManagement.zoneSize, Uint8),
};

constexpr JsonField kGroupAssignment[] = {
    J("ne_lon", groupAssignment.longitude1, Longitude),
    J("ne_lat", groupAssignment.latitude1, Latitude),
    J("sw_lon", groupAssignment.longitude2, Longitude),
    J("sw_lat", groupAssignment.latitude2, Latitude),
    J("stationtype", groupAssignment.stationType, Uint8),
    J("shiptype", groupAssignment.shipType, Uint8),
    J("interval", groupAssignment.reportingInterval, Uint8),
    J("quiet", groupAssignment.quietTime, Uint8),
    J("txrx", groupAssignment.txRxMode, Uint8),
};

constexpr JsonField kStaticDataA[] = {
    J("part", staticA, PartA),
    J("shipname", staticA.name, Text),
};

constexpr JsonField kStaticDataB[] = {
    J("part", staticB, PartB),
    J("shiptype", staticB.shipType, Uint8),
    J("vendorid", staticB.vendorId, VendorId),
    J("callsign", staticB.callSign, Text),
    J("", staticB.dimensions, ShipOrMothership),
};

constexpr JsonField kSlotBinary[] = {
    J("", slotBinary, SlotBinary),
};

constexpr JsonField kLongRange[] = {
    J("status", longRange.navStatus, Uint8),  J("accuracy", longRange.positionAccuracy, Bool),
    J("lon", longRange.longitude, Longitude), J("lat", longRange.latitude, Latitude),
    J("speed", longRange.sog, WholeSpeed),    J("course", longRange.cog, WholeCourse),
    J("raim", longRange.raim, Bool),          J("gnss", longRange.gnss, Bool),
};

#undef J2
#undef J

// Indexed by AisLayoutId.
constexpr std::array<std::span<const JsonField>, static_cast<std::size_t>(AisLayoutId::Count)>
    kJsonLayouts = {
        std::span<const JsonField>{},
        kPositionReport,
        kBaseStation,
        kStaticVoyage,
        kAddressedBinary,
        kAcknowledge,
        kBinaryBroadcast,
        kSarPosition,
        kUtcInquiry,
        kAddressedSafety,
        kSafetyBroadcast,
        kInterrogation,
        kAssignmentCommand,
        kDgnss,
        kClassBPosition,
        kClassBExtended,
        kDataLinkManagement,
        kAidToNavigation,
        kChannelManagement,
        kGroupAssignment,
        kStaticDataA,
        kStaticDataB,
        kSlotBinary,
        kSlotBinary,
        kLongRange,
};

// Appends to a caller's buffer; once full it stops and reports failure.
class JsonOut {
  public:
    explicit JsonOut(std::span<char> out) : p_(out.data()), end_(out.data() + out.size()) {}

    bool ok() const { return ok_; }
    char* position() const { return p_; }

    void raw(std::string_view s) {
        if (!ok_ || static_cast<std::size_t>(end_ - p_) < s.size()) {
            ok_ = false;
            return;
        }
        std::memcpy(p_, s.data(), s.size());
        p_ += s.size();
    }
    void key(std::string_view name) {
        raw(",\"");
        raw(name);
        raw("\":");
    }
    void number(std::uint64_t v) {
        char buf[24];
        raw({buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, v).ptr - buf)});
    }
    void padded(unsigned v, unsigned digits) {
        char buf[16];
        char* end = std::to_chars(buf, buf + sizeof buf, v).ptr;
        for (auto n = static_cast<unsigned>(end - buf); n < digits; ++n)
            raw("0");
        raw({buf, static_cast<std::size_t>(end - buf)});
    }
    void fixed(double v, int decimals) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
        if (r.ec != std::errc{}) return raw("null");
        raw({buf, static_cast<std::size_t>(r.ptr - buf)});
    }
    void boolean(bool v) { raw(v ? "true" : "false"); }

    // A 6-bit text: it ends at the first '@' (the padding character), trailing
    // spaces are removed; '"' and '\' are escaped.
    void textBody(const char* s, std::size_t capacity) {
        std::size_t n = 0;
        while (n < capacity && s[n] != '\0' && s[n] != '@')
            ++n;
        while (n > 0 && s[n - 1] == ' ')
            --n;
        for (std::size_t i = 0; i < n; ++i) {
            const char c = s[i];
            if (c == '"' || c == '\\') raw("\\");
            if (static_cast<unsigned char>(c) < 0x20) {
                raw("?");
            } else {
                raw({&c, 1});
            }
        }
    }

    // "<bits>:<hex>" of `bytes` from bit `from` to bit `bitCount`.
    void bitsAsHex(const std::uint8_t* bytes, std::size_t bitCount, std::size_t from) {
        static constexpr char kHex[] = "0123456789abcdef";
        const std::size_t count = bitCount > from ? bitCount - from : 0;
        raw("\"");
        number(count);
        raw(":");
        for (std::size_t i = 0; 8 * i < count; ++i) {
            const auto b = ReadBits(bytes, bitCount, from + 8 * i, 8);
            const char pair[2] = {kHex[b >> 4], kHex[b & 0xF]};
            raw({pair, 2});
        }
        raw("\"");
    }

  private:
    char* p_;
    char* end_;
    bool ok_ = true;
};

template <class T>
T Load(const AisMessage& m, std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(&m) + offset, sizeof value);
    return value;
}

void WriteDimensions(JsonOut& out, std::uint32_t packed) {
    const AisDimensions d = SplitDimensions(packed);
    out.key("to_bow");
    out.number(d.toBow);
    out.key("to_stern");
    out.number(d.toStern);
    out.key("to_port");
    out.number(d.toPort);
    out.key("to_starboard");
    out.number(d.toStarboard);
}

void WriteText(JsonOut& out, const char* text, std::size_t capacity) {
    out.raw("\"");
    out.textBody(text, capacity);
    out.raw("\"");
}

void WriteTimestamp(JsonOut& out, const AisBaseStationReport& b) {
    out.raw("\"");
    out.padded(b.year, 4);
    out.raw("-");
    out.padded(b.month, 2);
    out.raw("-");
    out.padded(b.day, 2);
    out.raw("T");
    out.padded(b.hour, 2);
    out.raw(":");
    out.padded(b.minute, 2);
    out.raw(":");
    out.padded(b.second, 2);
    out.raw("Z\"");
}

void WriteEta(JsonOut& out, std::uint32_t packed) {
    const AisEta e = SplitEta(packed);
    out.raw("\"");
    out.padded(e.month, 2);
    out.raw("-");
    out.padded(e.day, 2);
    out.raw("T");
    out.padded(e.hour, 2);
    out.raw(":");
    out.padded(e.minute, 2);
    out.raw("Z\"");
}

// Binary data of messages 6 and 8: DAC (10 bits) and FI (6), then the rest.
void WriteApplicationData(JsonOut& out, const std::uint8_t* data, std::size_t bits) {
    out.key("dac");
    out.number(ReadBits(data, bits, 0, 10));
    out.key("fid");
    out.number(ReadBits(data, bits, 10, 6));
    out.key("data");
    out.bitsAsHex(data, bits, 16);
}

// Message 17 data as sent: the DGNSS header of 40 bits, then the data words;
// only as many bits as the message holds after bit 80.
void WriteDgnssData(JsonOut& out, const AisMessage& m) {
    const AisDgnssBroadcast& d = m.dgnss;
    std::array<std::uint8_t, 5 + kAisMaxBinaryBytes> bytes{};
    const std::size_t capacity = bytes.size() * 8;
    std::size_t pos = 0;
    const std::pair<unsigned, std::uint32_t> header[] = {{6, d.dgnssType}, {10, d.stationId},
                                                         {13, d.zCount},   {3, d.sequence},
                                                         {5, d.wordCount}, {3, d.health}};
    for (auto [width, value] : header) {
        WriteBits(bytes.data(), capacity, pos, width, value);
        pos += width;
    }
    for (std::size_t i = 0; 8 * i < d.dataBits && i < d.data.size(); ++i) {
        WriteBits(bytes.data(), capacity, pos + 8 * i, 8, d.data[i]);
    }
    const std::size_t present = m.bitCount > 80 ? m.bitCount - 80u : 0u;
    out.bitsAsHex(bytes.data(), std::min<std::size_t>(pos + d.dataBits, present), 0);
}

// The name of an aid to navigation continues in the extension when all
// twenty characters of the name are used.
void WriteAtonName(JsonOut& out, const AisAidToNavigation& a) {
    std::array<char, 21 + 15> full{};
    std::size_t n = 0;
    while (n < 20 && a.name[n] != '\0' && a.name[n] != '@') {
        full[n] = a.name[n];
        ++n;
    }
    if (n == 20) {
        for (std::size_t i = 0; i < a.nameExtension.size() && a.nameExtension[i] != '\0'; ++i) {
            full[n++] = a.nameExtension[i];
        }
    }
    WriteText(out, full.data(), n);
}

// 6-bit value of a decoded text character.
std::uint32_t SixBitValue(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 64 ? u - 64 : u) & 0x3F;
}

// Vendor id; its last four characters also carry the unit model (4 bits) and
// serial number (20 bits).
void WriteVendorId(JsonOut& out, const AisStaticDataB& b) {
    WriteText(out, b.vendorId.data(), 7);
    std::uint32_t tail = 0;
    for (std::size_t i = 3; i < 7; ++i)
        tail = tail << 6 | SixBitValue(b.vendorId[i]);
    out.key("model");
    out.number(tail >> 20);
    out.key("serial");
    out.number(tail & 0xFFFFF);
}

void WriteChannelArea(JsonOut& out, const AisChannelManagement& c) {
    if (c.addressed) {
        out.key("dest1");
        out.number(c.destinationMmsi1);
        out.key("dest2");
        out.number(c.destinationMmsi2);
        return;
    }
    const std::pair<const char*, double> corners[] = {{"ne_lon", c.longitude1},
                                                      {"ne_lat", c.latitude1},
                                                      {"sw_lon", c.longitude2},
                                                      {"sw_lat", c.latitude2}};
    for (std::size_t i = 0; i < 4; ++i) {
        out.key(corners[i].first);
        const double v = corners[i].second;
        const bool missing = i % 2 == 0 ? v == kAisLonNotAvailable : v == kAisLatNotAvailable;
        missing ? out.raw("null") : out.fixed(v, 6);
    }
}

// Messages 25 and 26: structured data begin with a 16-bit application id;
// message 26 ends with a 20-bit communication state.
void WriteSlotBinary(JsonOut& out, const AisSlotBinary& s, bool multiSlot) {
    out.key("addressed");
    out.boolean(s.addressed);
    out.key("structured");
    out.boolean(s.structured);
    out.key("dest_mmsi");
    out.number(s.destinationMmsi);
    const std::size_t from = s.structured ? 16 : 0;
    std::size_t end = s.dataBits;
    std::uint32_t radio = 0;
    if (multiSlot) {
        end = end >= from + 20 ? end - 20 : from;
        radio = ReadBits(s.data.data(), s.dataBits, end, 20);
    }
    out.key("app_id");
    out.number(s.structured ? ReadBits(s.data.data(), s.dataBits, 0, 16) : 0);
    out.key("data");
    out.bitsAsHex(s.data.data(), end, from);
    if (multiSlot) {
        out.key("radio");
        out.number(radio);
    }
}

void WriteTurn(JsonOut& out, float v) {
    if (v == kAisRotNotAvailable) return out.raw("null");
    if (v == kAisRotFastRight) return out.raw("\"fastright\"");
    if (v == kAisRotFastLeft) return out.raw("\"fastleft\"");
    // Three decimals: every raw rate 0 ... +-126 reads back as itself
    // (raw 1 is 0.045 degrees per minute).
    out.fixed(v, 3);
}

// The keys of a field the message ends before, each null.
void WriteMissing(JsonOut& out, const AisMessage& m, const JsonField& f) {
    switch (f.format) {
        case JsonFormat::Dimensions:
        case JsonFormat::ShipOrMothership:
            if (f.format == JsonFormat::ShipOrMothership && m.mmsi / 10000000 == 98) {
                out.key("mothership_mmsi");
                return out.raw("null");
            }
            for (const char* k : {"to_bow", "to_stern", "to_port", "to_starboard"}) {
                out.key(k);
                out.raw("null");
            }
            return;
        case JsonFormat::VendorId:
            for (const char* k : {"vendorid", "model", "serial"}) {
                out.key(k);
                out.raw("null");
            }
            return;
        default:
            out.key(f.name);
            return out.raw("null");
    }
}

// Messages 7, 13, 15, 16 and 20 have a variable number of destinations or
// blocks: the ones they do not carry at all are 0, as gpsd prints them.
bool HasOptionalGroups(AisLayoutId id) {
    return id == AisLayoutId::Acknowledge || id == AisLayoutId::Interrogation ||
           id == AisLayoutId::AssignmentCommand || id == AisLayoutId::DataLinkManagement;
}

// Formats that print the raw bits of one field: a field the message ends
// inside prints the bits there are, as gpsd does.
bool IsRawFormat(JsonFormat format) {
    return format == JsonFormat::Uint8 || format == JsonFormat::Uint16 ||
           format == JsonFormat::Uint32 || format == JsonFormat::Bool ||
           format == JsonFormat::Maneuver || format == JsonFormat::Radio;
}

enum class Shown : std::uint8_t { Value, Zero, Null };

// What a message that does not hold every field of its layout shows for `f`.
Shown ShownFor(const AisMessage& m, const JsonField& f) {
    // These write the bits the message holds, whatever its length.
    if (f.format == JsonFormat::ApplicationData || f.format == JsonFormat::ChannelArea ||
        f.format == JsonFormat::SlotBinary || f.format == JsonFormat::DgnssData) {
        return Shown::Value;
    }
    AisFieldState state = AisFieldStateAt(m, f.offset);
    // The selector and the state after it: as the state once the selector stands.
    if (f.format == JsonFormat::Radio && state == AisFieldState::Present) {
        state = AisFieldStateAt(m, f.aux);
    }
    switch (state) {
        case AisFieldState::Present:
            return Shown::Value;
        case AisFieldState::Cut:
            return IsRawFormat(f.format) ? Shown::Value : Shown::Null;
        case AisFieldState::Absent:
        default:
            return HasOptionalGroups(m.layout) ? Shown::Zero : Shown::Null;
    }
}

void WriteComposite(JsonOut& out, const AisMessage& m, const JsonField& f) {
    const auto* at = reinterpret_cast<const char*>(&m) + f.offset;
    switch (f.format) {
        case JsonFormat::Dimensions:
            return WriteDimensions(out, Load<std::uint32_t>(m, f.offset));
        case JsonFormat::ApplicationData:
            return WriteApplicationData(out, reinterpret_cast<const std::uint8_t*>(at),
                                        Load<std::uint16_t>(m, f.aux));
        case JsonFormat::ChannelArea:
            return WriteChannelArea(out, m.channelManagement);
        case JsonFormat::SlotBinary:
            return WriteSlotBinary(out, m.slotBinary, m.messageId == 26);
        case JsonFormat::ShipOrMothership: {
            const std::uint32_t packed = Load<std::uint32_t>(m, f.offset);
            if (m.mmsi / 10000000 != 98) return WriteDimensions(out, packed);
            out.key("mothership_mmsi");
            return out.number(packed);
        }
        default:
            break;
    }
    out.key(f.name);
    switch (f.format) {
        case JsonFormat::Timestamp:
            return WriteTimestamp(out, m.baseStation);
        case JsonFormat::Eta:
            return WriteEta(out, Load<std::uint32_t>(m, f.offset));
        case JsonFormat::DgnssData:
            return WriteDgnssData(out, m);
        case JsonFormat::AtonName:
            return WriteAtonName(out, m.aton);
        case JsonFormat::PartA:
            return out.raw("\"A\"");
        case JsonFormat::PartB:
            return out.raw("\"B\"");
        case JsonFormat::VendorId:
            return WriteVendorId(out, m.staticB);
        default:
            return;
    }
}

// `whole`: the message holds every fixed field of its layout.
void WriteField(JsonOut& out, const AisMessage& m, const JsonField& f, bool whole) {
    if (!whole) {
        switch (ShownFor(m, f)) {
            case Shown::Null:
                return WriteMissing(out, m, f);
            case Shown::Zero:
                return out.key(f.name), out.number(0);
            case Shown::Value:
                break;
        }
    }
    const std::size_t at = f.offset;
    switch (f.format) {
        case JsonFormat::Uint8:
            return out.key(f.name), out.number(Load<std::uint8_t>(m, at));
        case JsonFormat::Uint16:
            return out.key(f.name), out.number(Load<std::uint16_t>(m, at));
        case JsonFormat::Uint32:
            return out.key(f.name), out.number(Load<std::uint32_t>(m, at));
        case JsonFormat::Bool:
            return out.key(f.name), out.boolean(Load<std::uint8_t>(m, at) != 0);
        default:
            break;
    }
    if (f.format >= JsonFormat::Timestamp) return WriteComposite(out, m, f);
    out.key(f.name);
    switch (f.format) {
        case JsonFormat::Speed: {
            const float v = Load<float>(m, at);
            return v >= kAisSpeedNotAvailable ? out.raw("null") : out.fixed(v, 1);
        }
        case JsonFormat::SpeedWhole: {
            const float v = Load<float>(m, at);
            return v >= 1023.0f ? out.raw("null") : out.fixed(v, 0);
        }
        case JsonFormat::Altitude: {
            const auto v = Load<std::uint16_t>(m, at);
            return v == 4095 ? out.raw("null") : out.number(v);
        }
        case JsonFormat::Course: {
            const float v = Load<float>(m, at);
            return v >= kAisCourseNotAvailable ? out.raw("null") : out.fixed(v, 1);
        }
        case JsonFormat::Heading: {
            const auto v = Load<std::uint16_t>(m, at);
            return v >= 360 ? out.raw("null") : out.number(v);
        }
        case JsonFormat::Longitude:
        case JsonFormat::Latitude: {
            const double v = Load<double>(m, at);
            const double missing =
                f.format == JsonFormat::Longitude ? kAisLonNotAvailable : kAisLatNotAvailable;
            return v == missing ? out.raw("null") : out.fixed(v, 6);
        }
        case JsonFormat::Turn:
            return WriteTurn(out, Load<float>(m, at));
        case JsonFormat::Tenths:
            return out.fixed(Load<float>(m, at), 1);
        case JsonFormat::Text: {
            const auto* text = reinterpret_cast<const char*>(&m) + at;
            return WriteText(out, text, sizeof(AisMessage) - at);
        }
        case JsonFormat::Maneuver:
            return out.number(Load<std::uint8_t>(m, at) >> 2);
        case JsonFormat::Radio:
            return out.number(std::uint32_t{Load<std::uint8_t>(m, at)} << 19 |
                              Load<std::uint32_t>(m, f.aux));
        case JsonFormat::WholeSpeed: {
            const auto v = Load<std::uint8_t>(m, at);
            return v == kAisLongRangeSpeedNotAvailable ? out.raw("null") : out.number(v);
        }
        case JsonFormat::WholeCourse: {
            const auto v = Load<std::uint16_t>(m, at);
            return v >= kAisLongRangeCourseNotAvailable ? out.raw("null") : out.number(v);
        }
        default:
            return;
    }
}

// "YYYY-MM-DDTHH:MM:SSZ" of Unix seconds.
void WriteUtc(JsonOut& out, std::int64_t unixSeconds) {
    const auto t = static_cast<std::time_t>(unixSeconds);
    std::tm utc{};
    if (gmtime_r(&t, &utc) == nullptr || utc.tm_year + 1900 > 9999 || utc.tm_year + 1900 < 0) {
        return out.raw("null");
    }
    out.raw("\"");
    out.padded(static_cast<unsigned>(utc.tm_year + 1900), 4);
    out.raw("-");
    out.padded(static_cast<unsigned>(utc.tm_mon + 1), 2);
    out.raw("-");
    out.padded(static_cast<unsigned>(utc.tm_mday), 2);
    out.raw("T");
    out.padded(static_cast<unsigned>(utc.tm_hour), 2);
    out.raw(":");
    out.padded(static_cast<unsigned>(utc.tm_min), 2);
    out.raw(":");
    out.padded(static_cast<unsigned>(utc.tm_sec), 2);
    out.raw("Z\"");
}

}  // namespace

std::size_t WriteAisJson(const AisMessage& message, std::span<char> out, std::int64_t receiveTime) {
    JsonOut json(out);
    json.raw("{\"class\":\"AIS\",\"type\":");
    json.number(message.messageId);
    json.key("repeat");
    json.number(message.repeat);
    json.key("mmsi");
    json.number(message.mmsi);
    json.raw(",\"scaled\":true");
    const auto layout = static_cast<std::size_t>(message.layout);
    if (layout < kJsonLayouts.size()) {
        const bool whole = message.bitCount >= AisLayoutFor(message.layout).fullBits;
        for (const JsonField& f : kJsonLayouts[layout])
            WriteField(json, message, f, whole);
    }
    if (receiveTime >= 0) {
        json.key("rxtime");
        WriteUtc(json, receiveTime);
    }
    json.raw("}\n");
    return json.ok() ? static_cast<std::size_t>(json.position() - out.data()) : 0;
}

}  // namespace norq::ais
