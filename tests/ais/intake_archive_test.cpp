// What real receivers and archives send: archive lines in files (strict
// framing on live links), long first fragments, and the expiry of fragments
// whose message never completed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ais/Clock.h"
#include "ais/SentenceIntake.h"
#include "codec/SentenceLines.h"

using namespace norq::ais;
using norq::codec::ParseStatus;
using norq::test::Checksummed;

namespace {

struct Payloads : AisMessageHandler {
    std::vector<std::string> texts;
    std::vector<std::int64_t> times;
    int targetCount() const override { return 1; }
    bool onAisPayload(const AisPayload& p) override {
        texts.emplace_back(p.payload);
        times.push_back(p.receiveTime);
        return true;
    }
    void clearDecodedMessage() override {}
    void UpdateAfterAisMessage(int) override {}
};

struct ArchiveIntake : ::testing::Test {
    norq::codec::SentenceCodec codec;
    Payloads out;
    ManualClock clock;
    SentenceIntake intake{codec, {&out}, &clock};

    // A VDM line with its checksum, without CR LF.
    static std::string Vdm(const std::string& body) {
        std::string s = Checksummed(body, '!');
        s.resize(s.size() - 2);
        return s;
    }
    void file(const std::string& line) { intake.ReceiveLine(line + "\r\n", false); }
    void live(const std::string& line) { intake.ReceiveLine(line + "\r\n", true); }
};

const std::string kStationLine =
    "!AIVDM,1,1,,A,15N1u<PP1FJuvSRHOE6QIwwh0HQ6,0*30,d-080,S2118,t050056.00,T56.4837741,"
    "r003669946,1325394060";

}  // namespace

TEST_F(ArchiveIntake, StationFieldsAreReadInFilesAndRefusedLive) {
    file(kStationLine);
    EXPECT_EQ(intake.lastStatus(), ParseStatus::Ok);
    ASSERT_EQ(out.texts.size(), 1u);
    EXPECT_EQ(out.texts[0], "15N1u<PP1FJuvSRHOE6QIwwh0HQ6");
    EXPECT_EQ(out.times[0], 1325394060);
    EXPECT_EQ(intake.lastReceiveTime(), 1325394060);

    live(kStationLine);  // a live link keeps strict framing
    EXPECT_NE(intake.lastStatus(), ParseStatus::Ok);
    EXPECT_EQ(out.texts.size(), 1u);
    EXPECT_EQ(intake.lastReceiveTime(), -1);

    // The station fields are never trusted for the sentence: a damaged
    // sentence stays refused.
    std::string damaged = kStationLine;
    damaged[16] = 'X';
    file(damaged);
    EXPECT_EQ(intake.lastStatus(), ParseStatus::Checksum);
    EXPECT_EQ(out.texts.size(), 1u);
}

TEST_F(ArchiveIntake, CommentLinesOfRecordingsAreSkipped) {
    file("# !AIVDM,1,1,,A,15N1u<PP1FJuvSRHOE6QIwwh0HQ6,0*30");
    EXPECT_TRUE(out.texts.empty());
    live("# !AIVDM,1,1,,A,15N1u<PP1FJuvSRHOE6QIwwh0HQ6,0*30");  // a live line is taken
    EXPECT_EQ(out.texts.size(), 1u);
}

TEST_F(ArchiveIntake, TheLineBoundCountsTheSentenceAndWhatStandsBeforeIt) {
    const std::string sentence = Vdm("AIVDM,1,1,,A,15N1u<PP1FJuvSRHOE6QIwwh0HQ6,0");
    // Station fields and tag blocks do not count, however long.
    file("\\s:" + std::string(60, 'x') + "*00\\" + sentence + "," + std::string(80, '9'));
    EXPECT_EQ(out.texts.size(), 1u);
    // Noise before the sentence does: 100 characters with CR LF at most.
    file(std::string(100 - sentence.size() - 2, ' ') + sentence);
    EXPECT_EQ(out.texts.size(), 2u);
    file(std::string(101 - sentence.size() - 2, ' ') + sentence);
    EXPECT_EQ(intake.lastStatus(), ParseStatus::Length);
    EXPECT_EQ(out.texts.size(), 2u);
}

TEST_F(ArchiveIntake, TagBlockGroupsJoinInFiles) {
    file("\\g:1-2-1604,s:r003669945,c:1418169601*08\\" +
         Vdm("AIVDM,2,1,4,A,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0"));
    file("\\g:2-2-1604*5E\\" + Vdm("AIVDM,2,2,4,A,1@0000000000000,2"));
    ASSERT_EQ(out.texts.size(), 1u);
    EXPECT_EQ(out.texts[0].size(), 71u);
    EXPECT_EQ(out.times[0], 1418169601);  // the group's time, from its first sentence
}

TEST_F(ArchiveIntake, FirstFragmentsOfSixtyFourCharactersAreKept) {
    // A real message 5 (ais-nmea-type6-fid55.log): 64 characters in its first sentence.
    file("!AIVDM,2,1,0,A,56K2=I02ADS``C;W3J0PuE8Tr0pvs>222222221@6`8376630:2T81SP`3iQ`888,0*51");
    EXPECT_EQ(intake.lastStatus(), ParseStatus::Ok);
    file("!AIVDM,2,2,0,A,8888881,2*25");
    ASSERT_EQ(out.texts.size(), 1u);
    EXPECT_EQ(out.texts[0].size(), 71u);
}

TEST_F(ArchiveIntake, AStaleFirstFragmentNeverJoinsALaterMessageInFiles) {
    const std::string first =
        Vdm("AIVDM,2,1,7,A,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0");
    const std::string second = Vdm("AIVDM,2,2,7,A,1@0000000000000,2");
    const std::string other = Vdm("AIVDM,1,1,,A,15N1u<PP1FJuvSRHOE6QIwwh0HQ6,0");
    const std::string otherB = Vdm("AIVDM,1,1,,B,15N1u<PP1FJuvSRHOE6QIwwh0HQ6,0");

    // Ten later sentences on the channel: the message may still complete
    // (sentences of the other channel do not count).
    file(first);
    for (std::uint32_t i = 0; i < kFragmentMaxLaterSentences; ++i)
        file(other);
    for (int i = 0; i < 30; ++i)
        file(otherB);
    out.texts.clear();
    file(second);
    ASSERT_EQ(out.texts.size(), 1u);
    EXPECT_EQ(out.texts[0].size(), 71u);

    // Eleven: its second sentence was lost; the next second sentence with the
    // same id and channel belongs to another message and must not join it.
    file(first);
    for (std::uint32_t i = 0; i <= kFragmentMaxLaterSentences; ++i)
        file(other);
    out.texts.clear();
    file(second);
    EXPECT_TRUE(out.texts.empty());
}

TEST_F(ArchiveIntake, FileReceiveTimesFarApartDoNotJoin) {
    file("\\c:1418169601*5C\\" +
         Vdm("AIVDM,2,1,7,A,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0"));
    file("\\c:1418169661*5A\\" + Vdm("AIVDM,2,2,7,A,1@0000000000000,2"));
    EXPECT_TRUE(out.texts.empty());
}

TEST_F(ArchiveIntake, AStaleFirstFragmentExpiresByTheClockLive) {
    const std::string first =
        Vdm("AIVDM,2,1,7,A,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0");
    const std::string second = Vdm("AIVDM,2,2,7,A,1@0000000000000,2");
    live(first);
    clock.advance(kFragmentTimeoutSeconds);
    live(second);
    ASSERT_EQ(out.texts.size(), 1u);

    live(first);
    clock.advance(kFragmentTimeoutSeconds + 1);
    live(second);
    EXPECT_EQ(out.texts.size(), 1u);

    // Live, the number of sentences in between does not matter.
    live(first);
    for (int i = 0; i < 50; ++i)
        live(Vdm("AIVDM,1,1,,A,15N1u<PP1FJuvSRHOE6QIwwh0HQ6,0"));
    out.texts.clear();
    live(second);
    EXPECT_EQ(out.texts.size(), 1u);
}
