// Outgoing BBM sentences: binary payloads split over sentences, and the
// broadcast safety text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ais/BbmSender.h"
#include "codec/SentenceLines.h"

using namespace norq::ais;
using norq::codec::SentenceCodec;
using norq::codec::SentenceText;
using norq::test::Checksummed;

namespace {

struct RecordingSender : SentenceSender {
    SentenceCodec& codec;
    std::vector<std::string> lines;
    explicit RecordingSender(SentenceCodec& c) : codec(c) {}
    bool SendSentence(int sensor, std::string_view talker, std::string_view formatter) override {
        EXPECT_EQ(sensor, kAisSensor);
        SentenceText text;
        if (!codec.ComposeFromStore(talker, formatter, text)) return false;
        lines.emplace_back(text.view());
        return true;
    }
};

ArmouredPayload PayloadOf(std::size_t bits) {
    AisBitBuffer buffer{};
    buffer.bitCount = static_cast<std::uint16_t>(bits);
    for (std::size_t i = 0; i < bits; i += 3)
        WriteBits(buffer, i, 1, 1);
    return ArmourPayload(buffer);
}

}  // namespace

TEST(BinaryBbm, SplitsIntoSentencesOf58Characters) {
    SentenceCodec codec;
    RecordingSender sender(codec);
    BinaryBbmSender bbm(codec, sender);

    const ArmouredPayload p58 = PayloadOf(58 * 6);
    ASSERT_EQ(p58.length, 58);
    EXPECT_EQ(bbm.SendBinaryBbm(p58, 1), 1);
    ASSERT_EQ(sender.lines.size(), 1u);
    EXPECT_EQ(sender.lines[0],
              Checksummed("AIBBM,1,1,0,1,8," + std::string(p58.view()) + ",0", '!'));

    const ArmouredPayload p59 = PayloadOf(59 * 6 - 2);
    ASSERT_EQ(p59.length, 59);
    ASSERT_EQ(p59.fillBits, 2);
    sender.lines.clear();
    EXPECT_EQ(bbm.SendBinaryBbm(p59, 2), 2);
    ASSERT_EQ(sender.lines.size(), 2u);
    const std::string first(p59.view().substr(0, 58));
    const std::string second(p59.view().substr(58));
    EXPECT_EQ(sender.lines[0], Checksummed("AIBBM,2,1,1,2,8," + first + ",0", '!'));
    EXPECT_EQ(sender.lines[1], Checksummed("AIBBM,2,2,1,2,8," + second + ",2", '!'));

    sender.lines.clear();
    EXPECT_EQ(bbm.SendBinaryBbm(PayloadOf(169 * 6), 0), 3);
    EXPECT_EQ(bbm.SendBinaryBbm(PayloadOf(170 * 6), 0), 0);
    EXPECT_EQ(bbm.SendBinaryBbm(PayloadOf(0), 0), 0);
    EXPECT_EQ(sender.lines.size(), 3u);
}

TEST(BinaryBbm, EverySentenceFitsEightyTwoCharacters) {
    // IEC 61162-1 allows 82 characters with CR LF, and a transponder may
    // refuse a longer sentence; the second and third once carried 60
    // characters and were 84 long.
    SentenceCodec codec;
    RecordingSender sender(codec);
    BinaryBbmSender bbm(codec, sender);
    for (std::size_t chars = 1; chars <= kMaxBbmPayload; ++chars) {
        sender.lines.clear();
        const int sent = bbm.SendBinaryBbm(PayloadOf(chars * 6), 2);
        ASSERT_EQ(sent, static_cast<int>((chars + 57) / 58)) << chars;
        std::string joined;
        for (const std::string& line : sender.lines) {
            EXPECT_LE(line.size(), 82u) << line;
            EXPECT_EQ(codec.parse(line), norq::codec::ParseStatus::Ok) << line;
            joined += codec.received().as<norq::codec::Encapsulated>()->payload;
        }
        EXPECT_EQ(joined, std::string(PayloadOf(chars * 6).view()));
    }
    SentenceText text;
    ASSERT_TRUE(ComposeSafetyBbm(std::string(100, 'X'), 9, text));
    EXPECT_LE(text.size(), 82u);
}

TEST(BinaryBbm, SequentialIdsCycleThroughZeroToNine) {
    SentenceCodec codec;
    RecordingSender sender(codec);
    BinaryBbmSender bbm(codec, sender);
    std::vector<char> ids;
    for (int i = 0; i < 11; ++i) {
        bbm.SendBinaryBbm(PayloadOf(60), 0);
        ids.push_back(sender.lines.back()[11]);
    }
    EXPECT_EQ(std::string(ids.begin(), ids.end()), "01234567890");
}

TEST(SafetyBbm, TextBecomesSixBitCharacters) {
    SentenceText text;
    ASSERT_TRUE(ComposeSafetyBbm("TEST", 3, text));
    // T, E, S, T are 20, 5, 19, 20, armoured as D, 5, C, D.
    EXPECT_EQ(text.view(), Checksummed("AIBBM,1,1,3,0,14,D5CD,0", '!'));

    SentenceText lower;
    ASSERT_TRUE(ComposeSafetyBbm("help", 0, lower));
    SentenceText upper;
    ASSERT_TRUE(ComposeSafetyBbm("HELP", 0, upper));
    EXPECT_EQ(lower.view(), upper.view());

    SentenceText odd;
    ASSERT_TRUE(ComposeSafetyBbm("A\xC3\xA9{~\x01", 0, odd));
    SentenceText question;
    ASSERT_TRUE(ComposeSafetyBbm("A?????", 0, question));
    EXPECT_EQ(odd.view(), question.view());

    // The composed sentence parses back as a BBM.
    SentenceCodec codec;
    EXPECT_EQ(codec.parse(odd.view()), norq::codec::ParseStatus::Ok);

    SentenceText longText;
    ASSERT_TRUE(ComposeSafetyBbm(std::string(100, 'X'), 1, longText));
    EXPECT_EQ(codec.parse(longText.view()), norq::codec::ParseStatus::Ok);
}
