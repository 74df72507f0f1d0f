// Decoding of real and hand-built payloads, field by field.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "ais/AisDecoder.h"
#include "ais/AisEncoder.h"

namespace norq::ais {
namespace {

struct Armoured {
    std::string text;
    int fill = 0;
};

AisMessage Decode(const Armoured& payload) {
    AisMessage m{};
    EXPECT_TRUE(DecodeAisPayload(payload.text, payload.fill, m)) << payload.text;
    return m;
}

bool Decodes(const Armoured& payload) {
    AisMessage m{};
    return DecodeAisPayload(payload.text, payload.fill, m);
}

// Builds a payload from (width, value) pairs written one after the other.
Armoured Payload(std::initializer_list<std::pair<unsigned, std::uint32_t>> fields,
                 std::size_t totalBits) {
    AisBitBuffer bits{};
    std::size_t pos = 0;
    for (auto [width, value] : fields) {
        WriteBits(bits, pos, width, value);
        pos += width;
    }
    bits.bitCount = static_cast<std::uint16_t>(totalBits);
    const ArmouredPayload a = ArmourPayload(bits);
    return {std::string(a.view()), a.fillBits};
}

// !AIVDM,1,1,,A,13HOI:0P0000VOHLCnHQKwvL05Ip,0*23
TEST(AisDecode, PositionReportClassA) {
    const AisMessage m = Decode({"13HOI:0P0000VOHLCnHQKwvL05Ip"});
    EXPECT_EQ(m.messageId, 1);
    EXPECT_EQ(m.repeat, 0);
    EXPECT_EQ(m.mmsi, 227006760u);
    EXPECT_EQ(m.bitCount, 168);
    ASSERT_EQ(m.layout, AisLayoutId::PositionReport);
    const AisPositionReport& p = m.position;
    EXPECT_EQ(p.navStatus, 0);
    EXPECT_EQ(p.rateOfTurn, kAisRotNotAvailable);
    EXPECT_EQ(p.sog, 0.0f);
    EXPECT_EQ(p.positionAccuracy, 0);
    EXPECT_NEAR(p.longitude, 0.131380, 1e-6);
    EXPECT_NEAR(p.latitude, 49.475577, 1e-6);
    EXPECT_FLOAT_EQ(p.cog, 36.7f);
    EXPECT_EQ(p.heading, 511);
    EXPECT_EQ(p.timeStamp, 14);
    EXPECT_EQ(p.raim, 0);
    EXPECT_EQ(p.commState, 22136u);
}

// !AIVDM,2,1,1,A,55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp8,0*1C
// !AIVDM,2,2,1,A,88888888880,2*25   (two fill bits in the second sentence)
TEST(AisDecode, StaticVoyageWithFillBitsInSecondSentence) {
    const AisMessage m =
        Decode({"55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp888888888880", 2});
    EXPECT_EQ(m.bitCount, 424);
    EXPECT_EQ(m.mmsi, 351759000u);
    ASSERT_EQ(m.layout, AisLayoutId::StaticVoyage);
    const AisStaticVoyage& s = m.staticVoyage;
    EXPECT_EQ(s.imo, 9134270u);
    EXPECT_STREQ(s.callSign.data(), "3FOF8  ");
    EXPECT_STREQ(s.name.data(), "EVER DIADEM         ");
    EXPECT_EQ(s.shipType, 70);
    const AisDimensions d = SplitDimensions(s.dimensions);
    EXPECT_EQ(d.toBow, 225);
    EXPECT_EQ(d.toStern, 70);
    EXPECT_EQ(d.toPort, 1);
    EXPECT_EQ(d.toStarboard, 31);
    EXPECT_EQ(s.epfdType, 1);
    const AisEta eta = SplitEta(s.eta);
    EXPECT_EQ(eta.month, 5);
    EXPECT_EQ(eta.day, 15);
    EXPECT_EQ(eta.hour, 14);
    EXPECT_EQ(eta.minute, 0);
    EXPECT_FLOAT_EQ(s.draught, 12.2f);
    EXPECT_STREQ(s.destination.data(), "NEW YORK            ");
    EXPECT_EQ(s.dte, 0);
}

TEST(AisDecode, SignedPositionsAndHeadingAboveRange) {
    // West 74.0 degrees, south 40.5 degrees, heading 400.
    const auto lon = static_cast<std::uint32_t>(-74 * 600000);
    const auto lat = static_cast<std::uint32_t>(-405 * 60000);
    const Armoured p = Payload({{6, 1},
                                {2, 0},
                                {30, 123456789},
                                {4, 0},
                                {8, 0},
                                {10, 55},
                                {1, 1},
                                {28, lon},
                                {27, lat},
                                {12, 3599},
                                {9, 400}},
                               168);
    const AisMessage m = Decode(p);
    EXPECT_DOUBLE_EQ(m.position.longitude, -74.0);
    EXPECT_DOUBLE_EQ(m.position.latitude, -40.5);
    EXPECT_FLOAT_EQ(m.position.sog, 5.5f);
    EXPECT_FLOAT_EQ(m.position.cog, 359.9f);
    EXPECT_EQ(m.position.heading, kAisHeadingNotAvailable);
    EXPECT_EQ(m.position.positionAccuracy, 1);
}

TEST(AisDecode, NotAvailableValuesAfterScaling) {
    const Armoured p = Payload({{6, 3},
                                {2, 0},
                                {30, 1},
                                {4, 15},
                                {8, 0x80},
                                {10, 1023},
                                {1, 0},
                                {28, 181 * 600000},
                                {27, 91 * 600000},
                                {12, 3600},
                                {9, 511}},
                               168);
    const AisMessage m = Decode(p);
    EXPECT_EQ(m.position.rateOfTurn, kAisRotNotAvailable);
    EXPECT_EQ(m.position.sog, kAisSpeedNotAvailable);
    EXPECT_EQ(m.position.longitude, kAisLonNotAvailable);
    EXPECT_EQ(m.position.latitude, kAisLatNotAvailable);
    EXPECT_EQ(m.position.cog, kAisCourseNotAvailable);
    EXPECT_EQ(m.position.heading, kAisHeadingNotAvailable);
}

TEST(AisDecode, RateOfTurn) {
    auto rot = [](std::uint32_t raw) {
        return Decode(Payload({{6, 1}, {2, 0}, {30, 1}, {4, 0}, {8, raw}}, 168))
            .position.rateOfTurn;
    };
    EXPECT_EQ(rot(127), kAisRotFastRight);
    EXPECT_EQ(rot(0x81), kAisRotFastLeft);  // -127
    EXPECT_EQ(rot(0), 0.0f);
    EXPECT_NEAR(rot(10), (10 / 4.733) * (10 / 4.733), 1e-4);
    EXPECT_NEAR(rot(0xF6), -(10 / 4.733) * (10 / 4.733), 1e-4);  // -10: turning left
    EXPECT_NEAR(rot(126), 708.7, 0.1);
}

TEST(AisDecode, NamesKeepTheirPaddingCharacters) {
    // Message 5 whose name field is all zeros: twenty '@'.
    const AisMessage m = Decode(Payload({{6, 5}, {2, 0}, {30, 2}}, 424));
    EXPECT_EQ(std::string(m.staticVoyage.name.data()), std::string(20, '@'));
    EXPECT_EQ(std::string(m.staticVoyage.callSign.data()), std::string(7, '@'));
}

TEST(AisDecode, MessageTwentyFourPartSelection) {
    auto part = [](std::uint32_t number) {
        return Decode(Payload({{6, 24}, {2, 0}, {30, 3}, {2, number}, {6, 1}}, 168)).layout;
    };
    EXPECT_EQ(part(0), AisLayoutId::StaticDataA);
    EXPECT_EQ(part(1), AisLayoutId::StaticDataB);
    // Part numbers 2 and 3 are not defined: read as part A they would put a
    // name of "O" or "V" in place of the ship's own.
    EXPECT_FALSE(Decodes(Payload({{6, 24}, {2, 0}, {30, 3}, {2, 2}, {6, 1}}, 168)));
    EXPECT_FALSE(Decodes(Payload({{6, 24}, {2, 0}, {30, 3}, {2, 3}, {6, 1}}, 160)));
    // Real ones, from a class B transponder (2023): part A, then part 3.
    AisMessage m{};
    ASSERT_TRUE(DecodeAisPayload("H3KLehQ=DtddT00000000000000", 0, m));
    EXPECT_EQ(std::string(m.staticA.name.data()).substr(0, 6), "SUOKKI");
    EXPECT_FALSE(DecodeAisPayload("H3KLehdt00000000?6ekkjm000000", 0, m));
}

TEST(AisDecode, SingleSlotBinaryAddressedAndBroadcast) {
    const AisMessage addressed =
        Decode(Payload({{6, 25}, {2, 0}, {30, 4}, {1, 1}, {1, 0}, {30, 987654321}, {8, 0xA5}}, 78));
    EXPECT_EQ(addressed.layout, AisLayoutId::SlotBinaryAddressed);
    EXPECT_EQ(addressed.slotBinary.destinationMmsi, 987654321u);
    EXPECT_EQ(addressed.slotBinary.dataBits, 8);
    EXPECT_EQ(addressed.slotBinary.data[0], 0xA5);

    const AisMessage broadcast =
        Decode(Payload({{6, 25}, {2, 0}, {30, 4}, {1, 0}, {1, 0}, {8, 0x3C}, {4, 0xF}}, 52));
    EXPECT_EQ(broadcast.layout, AisLayoutId::SlotBinaryBroadcast);
    EXPECT_EQ(broadcast.slotBinary.destinationMmsi, 0u);
    EXPECT_EQ(broadcast.slotBinary.dataBits, 12);
    EXPECT_EQ(broadcast.slotBinary.data[0], 0x3C);  // data from bit 40
    EXPECT_EQ(broadcast.slotBinary.data[1], 0xF0);  // last partial byte left-aligned
}

TEST(AisDecode, ChannelManagementAddressedCarriesTwoDestinations) {
    const Armoured p = Payload({{6, 22},
                                {2, 0},
                                {30, 5},
                                {2, 0},
                                {12, 2087},
                                {12, 2088},
                                {4, 0},
                                {1, 0},
                                {30, 111111111},
                                {5, 0},
                                {30, 222222222},
                                {5, 0},
                                {1, 1}},
                               168);
    const AisMessage m = Decode(p);
    EXPECT_EQ(m.channelManagement.channelA, 2087);
    EXPECT_EQ(m.channelManagement.addressed, 1);
    EXPECT_EQ(m.channelManagement.destinationMmsi1, 111111111u);
    EXPECT_EQ(m.channelManagement.destinationMmsi2, 222222222u);
    // The corners keep the same bits read as positions.
    EXPECT_NE(m.channelManagement.longitude1, 0.0);

    const Armoured broadcast = Payload({{6, 22}, {2, 0}, {30, 5}, {2, 0}, {12, 2087}}, 168);
    EXPECT_EQ(Decode(broadcast).channelManagement.destinationMmsi1, 0u);
}

TEST(AisDecode, RefusedMessages) {
    AisMessage m{};
    EXPECT_FALSE(Decodes(Payload({{6, 28}, {2, 0}, {30, 1}}, 96)));
    EXPECT_FALSE(Decodes(Payload({{6, 0}, {2, 0}, {30, 1}}, 168)));
    EXPECT_FALSE(Decodes(Payload({{6, 63}}, 168)));
    EXPECT_FALSE(DecodeAisPayload("1", 5, m));  // one bit
    EXPECT_FALSE(DecodeAisPayload("", 0, m));
    EXPECT_FALSE(DecodeAisPayload("@", 4, m));  // two bits: no field after the MMSI
    EXPECT_FALSE(DecodeAisPayload("13HOI:0P0000VOHLCnHQKwvL05Ip", 6, m));
    EXPECT_FALSE(DecodeAisPayload("13HOI:0P0000VOHLCnHQKwvL05Ip", -1, m));
}

TEST(AisDecode, InvalidCharactersFailTheMessage) {
    AisMessage m{};
    EXPECT_FALSE(DecodeAisPayload("13HOI:0PX000VOHLCnHQKwvL05Ip", 0, m));   // 'X' in a group
    EXPECT_FALSE(DecodeAisPayload("13HOI:0P0000VOHLCnHQKwvL05I ", 0, m));   // last group
    EXPECT_FALSE(DecodeAisPayload("13HOI:0P0000VOHLCnHQKwvL05Ipx", 0, m));  // after the groups
    EXPECT_FALSE(DecodeAisPayload(std::string(kAisMaxPayloadChars + 1, '1'), 0, m));
    std::string longest(kAisMaxPayloadChars, '8');
    longest[0] = '5';  // message 5: no type maximum
    EXPECT_TRUE(DecodeAisPayload(longest, 0, m));
    EXPECT_EQ(m.bitCount, kAisMaxPayloadBits);
}

TEST(AisDecode, ShortMessagesKeepOnlyTheFieldsTheyHold) {
    // A message 1 cut after its speed has no position: it is refused, and so
    // is the 36-bit one a receiver handed over as "15M67F".
    EXPECT_FALSE(Decodes(Payload({{6, 1}, {2, 0}, {30, 7}, {4, 5}, {8, 0}, {10, 99}}, 60)));
    AisMessage cut{};
    EXPECT_FALSE(DecodeAisPayload("15M67F", 0, cut));
    // Cut four bits into its course: the position stands, the rest is not available.
    const AisMessage m = Decode(Payload(
        {{6, 1}, {2, 0}, {30, 7}, {4, 5}, {8, 0}, {10, 99}, {1, 1}, {28, 600000}, {27, 1200000}},
        120));
    EXPECT_EQ(m.position.navStatus, 5);
    EXPECT_FLOAT_EQ(m.position.sog, 9.9f);
    EXPECT_DOUBLE_EQ(m.position.longitude, 1.0);
    EXPECT_DOUBLE_EQ(m.position.latitude, 2.0);
    EXPECT_EQ(m.position.cog, kAisCourseNotAvailable);
    EXPECT_EQ(m.position.heading, kAisHeadingNotAvailable);
    EXPECT_TRUE(AisFieldPresent(m, m.position.latitude));
    EXPECT_FALSE(AisFieldPresent(m, m.position.cog));
    EXPECT_FALSE(AisFieldPresent(m, m.position.commState));
}

TEST(AisDecode, ReadBitsNeverReachesBeyondTheBitCount) {
    const std::uint8_t bytes[2] = {0xFF, 0xFF};
    EXPECT_EQ(ReadBits(bytes, 16, 0, 16), 0xFFFFu);
    EXPECT_EQ(ReadBits(bytes, 12, 8, 8), 0xF0u);  // four present bits, four zeros
    EXPECT_EQ(ReadBits(bytes, 12, 12, 8), 0u);    // wholly beyond
    EXPECT_EQ(ReadBits(bytes, 16, 4, 32), 0xFFF00000u);
    EXPECT_EQ(SignExtend(0x7FFFFFF, 27), -1);
    EXPECT_EQ(SignExtend(0x3FFFFFF, 27), (1 << 26) - 1);
    EXPECT_EQ(SignExtend(0x4000000, 27), -(1 << 26));
}

TEST(AisDecode, ClassifyMmsi) {
    EXPECT_EQ(ClassifyMmsi(970000000), MmsiClass::AisSart);
    EXPECT_EQ(ClassifyMmsi(970999999), MmsiClass::AisSart);
    EXPECT_EQ(ClassifyMmsi(969999999), MmsiClass::Other);
    EXPECT_EQ(ClassifyMmsi(972123456), MmsiClass::ManOverboard);
    EXPECT_EQ(ClassifyMmsi(971999999), MmsiClass::Other);
    EXPECT_EQ(ClassifyMmsi(974000001), MmsiClass::EpirbAis);
    EXPECT_EQ(ClassifyMmsi(2000000), MmsiClass::CoastStation);
    EXPECT_EQ(ClassifyMmsi(7999999), MmsiClass::CoastStation);
    EXPECT_EQ(ClassifyMmsi(8000000), MmsiClass::Other);
    EXPECT_EQ(ClassifyMmsi(227006760), MmsiClass::Other);
}

}  // namespace
}  // namespace norq::ais
