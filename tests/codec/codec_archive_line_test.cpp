// Lines of recordings and shore-network archives: the sentence is taken out of
// the tag blocks before it and the station fields after it, unchanged.
#include <gtest/gtest.h>

#include <string>

#include "codec/ArchiveLine.h"
#include "codec/SentenceCodec.h"

using namespace norq::codec;

namespace {

constexpr std::string_view kSentence = "!AIVDM,1,1,,A,15N1u<PP1FJuvSRHOE6QIwwh0HQ6,0*30";

}  // namespace

TEST(ArchiveLine, StationFieldsAfterTheChecksumAreSplitOff) {
    ArchiveLine a;
    const std::string line =
        std::string(kSentence) + ",d-080,S2118,t050056.00,T56.4837741,r003669946,1325394060\r\n";
    ASSERT_TRUE(SplitArchiveLine(line, a));
    EXPECT_EQ(a.sentence, kSentence);
    EXPECT_TRUE(a.trailingFields);
    EXPECT_FALSE(a.tagBlock);
    EXPECT_EQ(a.receiveTime, 1325394060);  // the last field: Unix seconds
    EXPECT_EQ(a.receiveTimeMs, 1325394060000);

    // Station fields without a Unix time, and text that is no field at all.
    const std::string noTime = std::string(kSentence) + ",s36310,d-081,T59.01777335";
    ASSERT_TRUE(SplitArchiveLine(noTime, a));
    EXPECT_EQ(a.receiveTime, kNoReceiveTime);
    const std::string junk = std::string(kSentence) + "\\x0d\\x0a";
    ASSERT_TRUE(SplitArchiveLine(junk, a));
    EXPECT_EQ(a.sentence, kSentence);
    EXPECT_EQ(a.receiveTime, kNoReceiveTime);
    const std::string spaces = std::string(kSentence) + "   \r\n";
    ASSERT_TRUE(SplitArchiveLine(spaces, a));
    EXPECT_EQ(a.sentence, kSentence);
    EXPECT_FALSE(a.trailingFields);
}

TEST(ArchiveLine, TagBlocksAreSplitOffAndTheirTimeReadWhenTheirChecksumHolds) {
    ArchiveLine a;
    const std::string tagged =
        "\\g:1-2-1604,s:r003669945,c:1418169601*08\\" + std::string(kSentence) + "\r\n";
    ASSERT_TRUE(SplitArchiveLine(tagged, a));
    EXPECT_EQ(a.sentence, kSentence);
    EXPECT_TRUE(a.tagBlock);
    EXPECT_EQ(a.receiveTime, 1418169601);
    EXPECT_EQ(a.receiveTimeMs, 1418169601000);

    // A tag block whose checksum fails gives no time; the sentence is still there.
    const std::string wrong =
        "\\g:1-2-1604,s:r003669945,c:1418169601*09\\" + std::string(kSentence);
    ASSERT_TRUE(SplitArchiveLine(wrong, a));
    EXPECT_EQ(a.sentence, kSentence);
    EXPECT_EQ(a.receiveTime, kNoReceiveTime);

    // Milliseconds, and a group block without a time.
    ASSERT_TRUE(SplitArchiveLine("\\c:1418169601123*6C\\" + std::string(kSentence), a));
    EXPECT_EQ(a.receiveTime, 1418169601);
    EXPECT_EQ(a.receiveTimeMs, 1418169601123);  // kept to the millisecond for pacing
    ASSERT_TRUE(SplitArchiveLine("\\g:2-2-1604*5E\\" + std::string(kSentence), a));
    EXPECT_EQ(a.receiveTime, kNoReceiveTime);
}

TEST(ArchiveLine, LinesWithoutAChecksummedSentence) {
    ArchiveLine a;
    EXPECT_FALSE(SplitArchiveLine("\\g:1-2-1604*5E", a));  // unclosed tag block
    EXPECT_FALSE(SplitArchiveLine("no sentence here\r\n", a));
    EXPECT_FALSE(SplitArchiveLine("!AIVDM,1,1,,A,15N1u<PP1FJuvSRHOE6QIwwh0HQ6,0*3", a));
    EXPECT_FALSE(SplitArchiveLine("$GPRMC,,V,,,,,,,,,,N\r\n", a));
}

TEST(ArchiveLine, TheChecksumStillCoversTheSentence) {
    char formed[128];
    std::int64_t time = 0;
    const std::string good = std::string(kSentence) + ",r003669946,1325394060";
    const std::size_t n = FormArchiveSentence(good, formed, sizeof formed, time);
    ASSERT_EQ(n, kSentence.size() + 2);
    SentenceRecord r;
    EXPECT_EQ(ParseSentence({formed, n}, r), ParseStatus::Ok);
    EXPECT_EQ(time, 1325394060);

    std::string damaged = good;
    damaged[20] = 'X';  // inside the payload: the sentence's own checksum fails
    const std::size_t m = FormArchiveSentence(damaged, formed, sizeof formed, time);
    ASSERT_GT(m, 0u);
    EXPECT_EQ(ParseSentence({formed, m}, r), ParseStatus::Checksum);
    EXPECT_EQ(FormArchiveSentence(good, formed, kSentence.size() + 1, time), 0u);
}
