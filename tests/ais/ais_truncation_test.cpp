// Messages cut short by a receiver: every type cut at every 6 bits. A message
// that ends before its position (or, without a position, before its first
// field after the MMSI) is refused; otherwise every field it holds whole
// reads as in the full message and every field it lacks is not available.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "../../tools/ais-testgen/AisTestGenerator.h"
#include "ais/AisDecoder.h"
#include "ais/AisJson.h"

namespace norq::ais {
namespace {

using K = AisFieldKind;

bool IsFixed(const AisField& f) {
    return f.start >= 0 && f.width > 0 && f.kind != K::SkipBits && f.kind != K::RestText &&
           f.kind != K::RestBytes && f.kind != K::PointList && f.kind != K::SkipToByte;
}

template <class T>
T At(const AisMessage& m, std::size_t offset) {
    T v;
    std::memcpy(&v, reinterpret_cast<const char*>(&m) + offset, sizeof v);
    return v;
}

// The not-available value a missing row holds, where its kind has one.
void ExpectNotAvailable(const AisMessage& m, const AisField& f, const std::string& where) {
    switch (f.kind) {
        case K::Longitude:
            EXPECT_EQ(At<double>(m, f.offset), kAisLonNotAvailable) << where;
            break;
        case K::Latitude:
            EXPECT_EQ(At<double>(m, f.offset), kAisLatNotAvailable) << where;
            break;
        case K::Course:
            EXPECT_EQ(At<float>(m, f.offset), kAisCourseNotAvailable) << where;
            break;
        case K::Heading:
            EXPECT_EQ(At<std::uint16_t>(m, f.offset), kAisHeadingNotAvailable) << where;
            break;
        case K::RateOfTurn:
            EXPECT_EQ(At<float>(m, f.offset), kAisRotNotAvailable) << where;
            break;
        case K::Speed:
            EXPECT_NEAR(At<float>(m, f.offset), ((1u << f.width) - 1) * f.scale, 1e-3) << where;
            break;
        default:
            break;
    }
}

void CheckCuts(const AisBitBuffer& full, const std::string& name) {
    AisMessage whole{};
    ASSERT_TRUE(DecodeAisBits(full, whole)) << name;
    const AisLayout& layout = AisLayoutFor(whole.layout);
    for (std::size_t cut = 6; cut < full.bitCount; cut += 6) {
        AisBitBuffer bits = full;
        bits.bitCount = static_cast<std::uint16_t>(cut);
        AisMessage m{};
        const bool decoded = DecodeAisBits(bits, m);
        const std::string where = name + " cut at " + std::to_string(cut);
        ASSERT_EQ(decoded, cut >= AisLengthLimitsFor(whole.messageId, whole.layout).minimum)
            << where;
        if (!decoded) continue;
        ASSERT_EQ(m.layout, whole.layout) << where;
        for (const AisField& f : layout.fields) {
            if (!IsFixed(f)) continue;
            const auto end = static_cast<std::size_t>(f.start + f.width);
            // A text may lack its last character alone; its other characters stand.
            const bool text = f.kind == K::FixedText;
            const bool whole_ = end <= cut || (text && end < cut + 6);
            const std::string row = where + ", row at bit " + std::to_string(f.start);
            EXPECT_EQ(AisFieldPresentAt(m, f.offset), whole_) << row;
            if (whole_) {
                const std::size_t bytes =
                    text ? (std::min(end, cut) - static_cast<std::size_t>(f.start)) / 6 : f.size;
                EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(&m) + f.offset,
                                      reinterpret_cast<const char*>(&whole) + f.offset, bytes),
                          0)
                    << row;
            } else {
                ExpectNotAvailable(m, f, row);
            }
        }
        char json[kAisJsonMaxLength];
        const std::size_t n = WriteAisJson(m, json);
        ASSERT_GT(n, 0u) << where;
        const std::string text(json, n);
        for (const AisField& f : layout.fields) {
            if (static_cast<std::size_t>(f.start + f.width) <= cut) continue;
            // A value the message does not hold is null, never 0 or its raw bits.
            const char* key = f.kind == K::Course    ? "\"course\":null"
                              : f.kind == K::Heading ? "\"heading\":null"
                              : f.kind == K::Speed   ? "\"speed\":null"
                                                     : nullptr;
            if (key != nullptr) {
                EXPECT_NE(text.find(key), std::string::npos) << text;
            }
        }
    }
}

TEST(AisTruncation, EveryTypeCutAtEverySixBits) {
    for (int type = 1; type <= 27; ++type) {
        for (std::uint64_t seed = 1; seed <= 4; ++seed) {
            tools::AisTestGenerator generator(seed * 100 + static_cast<std::uint64_t>(type));
            const AisBitBuffer bits = generator.makeBits(type);
            CheckCuts(bits, "type " + std::to_string(type) + " seed " + std::to_string(seed));
        }
    }
}

TEST(AisTruncation, TheRulePerType) {
    // The bit a message must reach: its position, or its first field after the MMSI.
    EXPECT_EQ(AisLayoutFor(AisLayoutId::PositionReport).minimumBits, 116);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::BaseStation).minimumBits, 134);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::SarPosition).minimumBits, 116);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::Dgnss).minimumBits, 75);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::ClassBPosition).minimumBits, 112);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::ClassBExtended).minimumBits, 112);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::AidToNavigation).minimumBits, 219);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::ChannelManagement).minimumBits, 104);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::GroupAssignment).minimumBits, 75);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::LongRange).minimumBits, 79);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::StaticVoyage).minimumBits, 40);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::StaticDataA).minimumBits, 40);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::UtcInquiry).minimumBits, 40);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::SafetyBroadcast).minimumBits, 40);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::SlotBinaryBroadcast).minimumBits, 39);
    EXPECT_EQ(AisLayoutFor(AisLayoutId::SlotBinaryAddressed).minimumBits, 39);

    // A message 5 of 420 bits, as many transponders send it, lacks only its DTE flag.
    tools::AisTestGenerator generator(7);
    AisBitBuffer bits = generator.makeBits(5);
    bits.bitCount = 420;
    AisMessage m{};
    ASSERT_TRUE(DecodeAisBits(bits, m));
    EXPECT_TRUE(AisFieldPresent(m, m.staticVoyage.destination));
    EXPECT_FALSE(AisFieldPresent(m, m.staticVoyage.dte));
    char json[kAisJsonMaxLength];
    const std::string text(json, WriteAisJson(m, json));
    EXPECT_NE(text.find("\"dte\":null"), std::string::npos) << text;
}

}  // namespace
}  // namespace norq::ais
