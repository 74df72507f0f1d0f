// Messages of lengths other than their layout's: which lengths decode, and
// what a message that ends inside a field keeps of it.
#include <gtest/gtest.h>

#include <string>

#include "ais/AisDecoder.h"
#include "ais/AisJson.h"

namespace norq::ais {
namespace {

// `count` bits of message `id`: bit i after the header is 1 when i % 3 == 0.
AisBitBuffer Bits(unsigned id, std::size_t count) {
    AisBitBuffer b{};
    for (std::size_t i = 0; i < count; ++i) {
        const bool one = i < 6 ? (id >> (5 - i)) & 1 : (i >= 38 && i % 3 == 0);
        if (one) b.bytes[i / 8] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
    }
    b.bitCount = static_cast<std::uint16_t>(count);
    return b;
}

std::string Json(const AisMessage& m) {
    char buf[kAisJsonMaxLength];
    return std::string(buf, WriteAisJson(m, buf));
}

// The hex of bits [from, to) of `b`, the last byte filled with zero bits.
std::string Hex(const AisBitBuffer& b, std::size_t from, std::size_t to) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string s = std::to_string(to - from) + ":";
    for (std::size_t at = from; at < to; at += 8) {
        const unsigned width = to - at < 8 ? static_cast<unsigned>(to - at) : 8;
        const auto v = b.read(at, width) << (8 - width);
        s += kHex[v >> 4];
        s += kHex[v & 0xF];
    }
    return s;
}

TEST(AisLengths, EachTypeDecodesWithinItsLimitsOnly) {
    struct Case {
        unsigned id;
        std::size_t shortest;
        std::size_t longest;  // 0: no maximum below the bit buffer
    };
    const Case cases[] = {
        {1, 116, 0},    {5, 40, 0},    {6, 40, 1008},  {7, 40, 168},  {8, 40, 1008}, {12, 40, 1008},
        {14, 40, 1008}, {15, 40, 168}, {16, 40, 168},  {17, 75, 816}, {20, 40, 186}, {21, 219, 368},
        {23, 160, 0},   {25, 39, 168}, {26, 60, 1004}, {27, 79, 168},
    };
    for (const Case& c : cases) {
        AisMessage m{};
        const std::string name = "type " + std::to_string(c.id);
        EXPECT_FALSE(DecodeAisBits(Bits(c.id, c.shortest - 1), m)) << name;
        EXPECT_TRUE(DecodeAisBits(Bits(c.id, c.shortest), m)) << name;
        if (c.longest != 0) {
            EXPECT_TRUE(DecodeAisBits(Bits(c.id, c.longest), m)) << name;
            EXPECT_FALSE(DecodeAisBits(Bits(c.id, c.longest + 1), m)) << name;
        } else {
            EXPECT_TRUE(DecodeAisBits(Bits(c.id, kAisMaxPayloadBits), m)) << name;
        }
    }
}

TEST(AisLengths, DgnssDataKeepEveryBitTheMessageHolds) {
    // Ends inside the DGNSS header, at its end, inside a data byte, in a long message.
    for (std::size_t count : {81, 85, 100, 119, 120, 125, 376, 816}) {
        AisMessage m{};
        const AisBitBuffer b = Bits(17, count);
        ASSERT_TRUE(DecodeAisBits(b, m)) << count;
        const std::string want = "\"data\":\"" + Hex(b, 80, count) + "\"";
        EXPECT_NE(Json(m).find(want), std::string::npos) << count << " " << Json(m);
    }
}

TEST(AisLengths, InterrogationWithSecondRequestOrSecondStation) {
    AisMessage m{};
    const AisBitBuffer two = Bits(15, 110);  // second request of the first station
    ASSERT_TRUE(DecodeAisBits(two, m));
    EXPECT_EQ(m.interrogation.messageId12, two.read(90, 6));
    EXPECT_EQ(m.interrogation.slotOffset12, two.read(96, 12));
    EXPECT_NE(m.interrogation.slotOffset12, 0);
    EXPECT_NE(Json(m).find("\"mmsi2\":0,\"type2_1\":0,\"offset2_1\":0}"), std::string::npos);

    const AisBitBuffer three = Bits(15, 160);  // and a request to a second station
    ASSERT_TRUE(DecodeAisBits(three, m));
    EXPECT_EQ(m.interrogation.mmsi2, three.read(110, 30));
    EXPECT_EQ(m.interrogation.messageId21, three.read(140, 6));
    EXPECT_EQ(m.interrogation.slotOffset21, three.read(146, 12));
    EXPECT_NE(m.interrogation.slotOffset21, 0);

    // Ending inside the second station's slot offset: the bits there are.
    const AisBitBuffer cut = Bits(15, 152);
    ASSERT_TRUE(DecodeAisBits(cut, m));
    EXPECT_EQ(m.interrogation.slotOffset21, cut.read(146, 12));
    EXPECT_EQ(AisFieldStateAt(m, offsetof(AisMessage, interrogation.slotOffset21)),
              AisFieldState::Cut);
    const std::string offset = "\"offset2_1\":" + std::to_string(cut.read(146, 12)) + "}";
    EXPECT_NE(Json(m).find(offset), std::string::npos) << Json(m);
}

TEST(AisLengths, PositionReportShortOfItsSlotKeepsItsRadioBits) {
    AisMessage m{};
    const AisBitBuffer b = Bits(1, 163);
    ASSERT_TRUE(DecodeAisBits(b, m));
    // The 14 bits of the communication state there are, at their place.
    EXPECT_EQ(m.position.commState, b.read(149, 19));
    EXPECT_EQ(m.position.commState & 0x1F, 0u);
    EXPECT_NE(m.position.commState, 0u);
    const std::string radio = "\"radio\":" + std::to_string(m.position.commState) + "}";
    EXPECT_NE(Json(m).find(radio), std::string::npos) << Json(m);
    // The viewer still takes the state as not whole.
    EXPECT_FALSE(AisFieldPresent(m, m.position.commState));
    // A field with fewer than six of its bits is padding: not available.
    ASSERT_TRUE(DecodeAisBits(Bits(1, 153), m));
    EXPECT_NE(Json(m).find("\"radio\":null"), std::string::npos) << Json(m);
}

}  // namespace
}  // namespace norq::ais
