// Encoding: the layouts run backwards, the armour, the binary application
// layouts, and the round trip of random records of every message type.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "../../tools/ais-testgen/AisTestGenerator.h"
#include "ais/AisDecoder.h"
#include "ais/AisEncoder.h"

namespace norq::ais {
namespace {

AisMessage DecodeArmoured(const AisBitBuffer& bits) {
    const ArmouredPayload a = ArmourPayload(bits);
    AisMessage m{};
    EXPECT_TRUE(DecodeAisPayload(a.view(), a.fillBits, m)) << a.view();
    return m;
}

// The record fields, without the bit count of the message they came from.
bool SameFields(AisMessage a, AisMessage b) {
    a.bitCount = b.bitCount = 0;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

float* CourseOf(AisMessage& m) {
    switch (m.layout) {
        case AisLayoutId::PositionReport:
            return &m.position.cog;
        case AisLayoutId::SarPosition:
            return &m.sarPosition.cog;
        case AisLayoutId::ClassBPosition:
            return &m.classBPosition.cog;
        case AisLayoutId::ClassBExtended:
            return &m.classBExtended.cog;
        default:
            return nullptr;
    }
}

TEST(AisEncode, RandomRecordsOfEveryTypeSurviveThePackingRoundTrip) {
    tools::AisTestGenerator gen(77);
    for (int round = 0; round < 300; ++round) {
        for (int type = 1; type <= 26; ++type) {
            AisBitBuffer original = gen.makeBits(type);
            AisMessage record{};
            ASSERT_TRUE(DecodeAisBits(original, record));
            // Courses above 360 are not available and pack as 360.
            if (float* cog = CourseOf(record); cog != nullptr && *cog > 360) {
                *cog = kAisCourseNotAvailable;
            }
            AisBitBuffer packed{};
            ASSERT_TRUE(PackAisMessage(record, packed));
            const AisMessage back = DecodeArmoured(packed);
            ASSERT_TRUE(SameFields(record, back))
                << "type " << type << " round " << round << " payload "
                << ArmourPayload(original).view() << " repacked " << ArmourPayload(packed).view();
            EXPECT_LE(packed.bitCount, record.bitCount);
        }
    }
}

TEST(AisEncode, PackingIsTheExactInverseOfScaledFields) {
    AisMessage m{};
    m.messageId = 1;
    m.mmsi = 244123456;
    m.position.sog = kAisSpeedNotAvailable;  // 102.3 / 0.1 is 1022.9999 as a float
    m.position.cog = 36.7f;
    m.position.longitude = 179.9999983;
    m.position.latitude = -89.5;
    m.position.rateOfTurn = -(25 / 4.733f) * (25 / 4.733f);
    m.position.heading = 400;
    AisBitBuffer bits{};
    ASSERT_TRUE(PackAisMessage(m, bits));
    EXPECT_EQ(bits.bitCount, 168);
    EXPECT_EQ(bits.read(50, 10), 1023u);
    EXPECT_EQ(bits.read(116, 12), 367u);
    EXPECT_EQ(SignExtend(bits.read(61, 28), 28), 107999999);
    EXPECT_EQ(SignExtend(bits.read(89, 27), 27), -53700000);
    EXPECT_EQ(SignExtend(bits.read(42, 8), 8), -25);
    EXPECT_EQ(bits.read(128, 9), 511u);
}

TEST(AisEncode, NotAvailableAndOutOfRangeValuesPackAsTheirSentinels) {
    AisMessage m{};
    m.messageId = 1;
    m.position.longitude = 180.6;  // above 180.5: not available
    m.position.latitude = 95.0;
    m.position.cog = 361.0f;
    m.position.rateOfTurn = kAisRotNotAvailable;
    AisBitBuffer bits{};
    PackAisMessage(m, bits);
    EXPECT_EQ(bits.read(61, 28), 108600000u);  // 181 degrees in 1/10000 minutes
    EXPECT_EQ(bits.read(89, 27), 54600000u);   // 91 degrees
    EXPECT_EQ(bits.read(116, 12), 3600u);
    EXPECT_EQ(bits.read(42, 8), 0x80u);
    m.position.rateOfTurn = kAisRotFastRight;
    PackAisMessage(m, bits);
    EXPECT_EQ(bits.read(42, 8), 127u);
    m.position.rateOfTurn = kAisRotFastLeft;
    PackAisMessage(m, bits);
    EXPECT_EQ(bits.read(42, 8), 0x81u);
    m.position.rateOfTurn = 900.0f;  // beyond 126 steps but not "fast": the largest step
    PackAisMessage(m, bits);
    EXPECT_EQ(bits.read(42, 8), 126u);
}

TEST(AisEncode, ArmourCountsCharactersAndFillBits) {
    AisBitBuffer bits{};
    bits.bitCount = 168;
    EXPECT_EQ(ArmourPayload(bits).length, 28);
    EXPECT_EQ(ArmourPayload(bits).fillBits, 0);
    bits.bitCount = 170;
    EXPECT_EQ(ArmourPayload(bits).length, 29);
    EXPECT_EQ(ArmourPayload(bits).fillBits, 4);
    bits.bitCount = 0;
    EXPECT_EQ(ArmourPayload(bits).length, 0);
    EXPECT_EQ(ArmourPayload(bits).fillBits, 0);

    // Values 0-39 become '0'-'W', 40-63 '`'-'w'.
    for (std::uint32_t v : {0u, 39u, 40u, 63u}) {
        AisBitBuffer one{};
        WriteBits(one, 0, 6, v);
        one.bitCount = 6;
        const char expected = static_cast<char>(v < 40 ? v + 48 : v + 56);
        EXPECT_EQ(ArmourPayload(one).text[0], expected) << v;
    }
}

TEST(AisEncode, SafetyTextPacksAsSixBitValues) {
    AisMessage m{};
    m.messageId = 14;
    std::strcpy(m.safetyBroadcast.text.data(), "TEST");
    AisBitBuffer bits{};
    PackAisMessage(m, bits);
    EXPECT_EQ(bits.bitCount, 40 + 24);
    EXPECT_EQ(bits.read(40, 6), 20u);
    EXPECT_EQ(bits.read(46, 6), 5u);
    EXPECT_EQ(bits.read(52, 6), 19u);
    EXPECT_EQ(bits.read(58, 6), 20u);
}

TEST(AisEncode, WriteBitsStraddlesBytesAndStaysInsideTheBuffer) {
    std::uint8_t bytes[5] = {0xFF, 0, 0, 0, 0xFF};
    WriteBits(bytes, 40, 4, 32, 0x12345678);
    EXPECT_EQ(bytes[0], 0xF1);
    EXPECT_EQ(bytes[1], 0x23);
    EXPECT_EQ(bytes[4], 0x8F);
    WriteBits(bytes, 40, 36, 8, 0xFF);  // the last four bits fall outside
    EXPECT_EQ(bytes[4], 0x8F);
    WriteBits(bytes, 40, 0, 4, 0);  // writing clears as well as sets
    EXPECT_EQ(bytes[0], 0x01);
}

TEST(AisEncode, SelectEncodeLayoutRefusesOtherShapesAndFunctions) {
    EXPECT_EQ(SelectEncodeLayout(22, 0), &AreaNoticeCircleLayout());
    EXPECT_EQ(SelectEncodeLayout(22, 3), &AreaNoticePolylineLayout());
    EXPECT_EQ(SelectEncodeLayout(22, 4), &AreaNoticePolylineLayout());
    EXPECT_EQ(SelectEncodeLayout(27, 0), &RouteInfoLayout());
    for (auto [fi, shape] : {std::pair{22, 1}, {22, 2}, {22, 5}, {0, 0}, {23, 0}}) {
        EXPECT_EQ(SelectEncodeLayout(fi, shape), nullptr) << fi << "/" << shape;
    }
    AisBitBuffer bits{};
    bits.bytes.fill(0xAA);
    const AreaNoticeRecord record{};
    EXPECT_EQ(PackFields(SelectEncodeLayout(22, 1), record, bits), 0u);
    EXPECT_EQ(bits.bitCount, 0);
    EXPECT_EQ(bits.bytes[0], 0);
}

TEST(AisEncode, AreaNoticeCircleRoundTripsThroughTheSameEngine) {
    AreaNoticeRecord r{};
    r.dac = 1;
    r.fi = 22;
    r.linkageId = 3;
    r.noticeDescription = 126;
    r.month = 6;
    r.day = 11;
    r.hour = 23;
    r.minute = 59;
    r.duration = 262143;
    r.scaleFactor = 1;
    r.longitude = -122.4183f;
    r.latitude = 37.8083f;
    r.precision = 4;
    r.radius = 500;
    const AisLayout* layout = SelectEncodeLayout(r.fi, r.areaShape);
    AisBitBuffer bits{};
    EXPECT_EQ(PackFields(layout, r, bits), 158u);
    EXPECT_EQ(bits.read(0, 10), 1u);
    EXPECT_EQ(bits.read(10, 6), 22u);
    EXPECT_EQ(SignExtend(bits.read(76, 25), 25), -7345098);  // 1/1000 minutes
    EXPECT_EQ(bits.read(128, 12), 500u);
    EXPECT_EQ(bits.read(140, 18), 0u);  // spare

    AreaNoticeRecord back{};
    EXPECT_EQ(UnpackFields(bits, *layout, back), 158u);
    EXPECT_EQ(back.linkageId, 3);
    EXPECT_EQ(back.duration, 262143u);
    EXPECT_NEAR(back.longitude, -122.4183, 1e-5);
    EXPECT_NEAR(back.latitude, 37.8083, 1e-5);
    EXPECT_EQ(back.radius, 500u);
}

TEST(AisEncode, CancelledNoticeCarriesPositionNotAvailable) {
    AreaNoticeRecord r{};
    r.dac = 1;
    r.fi = 22;
    r.noticeDescription = 126;
    r.longitude = 181.0f;
    r.latitude = 91.0f;
    r.precision = 4;
    AisBitBuffer bits{};
    PackFields(SelectEncodeLayout(22, 0), r, bits);
    EXPECT_EQ(bits.read(76, 25), 181u * 60000u);
    EXPECT_EQ(bits.read(101, 24), 91u * 60000u);
}

TEST(AisEncode, PolylineSegmentsAreTenBitPairs) {
    AreaNoticeRecord r{};
    r.dac = 1;
    r.fi = 22;
    r.areaShape = 3;
    r.segments = {90, 150, 719, 1023, 0, 0, 0, 0};
    AisBitBuffer bits{};
    EXPECT_EQ(PackFields(SelectEncodeLayout(22, 3), r, bits), 158u);
    EXPECT_EQ(bits.read(71, 3), 3u);
    EXPECT_EQ(bits.read(76, 10), 90u);
    EXPECT_EQ(bits.read(86, 10), 150u);
    EXPECT_EQ(bits.read(96, 10), 719u);
    EXPECT_EQ(bits.read(106, 10), 1023u);
    AreaNoticeRecord back{};
    UnpackFields(bits, AreaNoticePolylineLayout(), back);
    EXPECT_EQ(back.segments, r.segments);
}

TEST(AisEncode, RouteOfSixteenWaypoints) {
    RouteInfoRecord r{};
    r.dac = 1;
    r.fi = 27;
    r.routeType = 31;
    r.waypointCount = 16;
    for (std::size_t i = 0; i < kRouteMaxWaypoints; ++i) {
        r.waypoints[i] = {static_cast<float>(-10.0 + i * 0.5), static_cast<float>(50.0 + i * 0.25)};
    }
    AisBitBuffer bits{};
    EXPECT_EQ(PackFields(SelectEncodeLayout(27, 0), r, bits), 77u + 16 * 55);
    EXPECT_EQ(bits.read(72, 5), 16u);
    EXPECT_EQ(SignExtend(bits.read(77, 28), 28), -6000000);
    RouteInfoRecord back{};
    UnpackFields(bits, RouteInfoLayout(), back);
    EXPECT_EQ(back.waypointCount, 16);
    for (std::size_t i = 0; i < kRouteMaxWaypoints; ++i) {
        EXPECT_NEAR(back.waypoints[i].longitude, r.waypoints[i].longitude, 1e-5);
        EXPECT_NEAR(back.waypoints[i].latitude, r.waypoints[i].latitude, 1e-5);
    }
    // A count beyond the list is held to the list's capacity.
    r.waypointCount = 31;
    EXPECT_EQ(PackFields(SelectEncodeLayout(27, 0), r, bits), 77u + 16 * 55);
}

TEST(AisEncode, ShortFormsKeepTheirLength) {
    AisMessage m{};
    m.messageId = 16;
    m.assignment.mmsiA = 123456789;
    AisBitBuffer bits{};
    PackAisMessage(m, bits);
    EXPECT_EQ(bits.bitCount, 148);  // the whole layout
    m.bitCount = 96;                // one destination only
    PackAisMessage(m, bits);
    EXPECT_EQ(bits.bitCount, 96);
    m.messageId = 28;
    EXPECT_FALSE(PackAisMessage(m, bits));
    EXPECT_EQ(bits.bitCount, 0);
}

}  // namespace
}  // namespace norq::ais
