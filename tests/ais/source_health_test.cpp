// The health figures of one link: rates over the last minute, rejects by
// reason, lost fragments and the last error.
#include <gtest/gtest.h>

#include <string>

#include "ais/SourceHealth.h"

using norq::ais::HealthEvent;
using norq::ais::SourceHealth;
using norq::codec::ParseStatus;

namespace {

void Feed(SourceHealth& h, int sentences, ParseStatus status = ParseStatus::Ok) {
    for (int i = 0; i < sentences; ++i)
        h.noteSentence(status, "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n");
}

}  // namespace

TEST(SourceHealth, RatesCoverTheWholeSecondsOfTheLastMinute) {
    SourceHealth h;
    EXPECT_FALSE(h.heard());
    EXPECT_EQ(h.figures().lastLineSeconds, -1);
    Feed(h, 3);
    EXPECT_DOUBLE_EQ(h.figures().sentencesPerSecond, 3);  // the first second so far
    h.tick();
    Feed(h, 100);  // the current second is not counted until it is whole
    EXPECT_DOUBLE_EQ(h.figures().sentencesPerSecond, 3);
    for (int s = 0; s < 9; ++s) {
        h.tick();
        Feed(h, 10);
    }
    // Whole seconds: 3, 100 and eight tens over ten seconds.
    EXPECT_DOUBLE_EQ(h.figures().sentencesPerSecond, (3 + 100 + 80) / 10.0);
    EXPECT_EQ(h.figures().lastLineSeconds, 0);
    h.advance(5);
    EXPECT_EQ(h.figures().lastLineSeconds, 5);
    // A minute later only silence is left, but the totals stay.
    h.advance(600);
    const auto f = h.figures();
    EXPECT_DOUBLE_EQ(f.sentencesPerSecond, 0);
    EXPECT_EQ(f.accepted, 3u + 100u + 9u * 10u);
    EXPECT_EQ(f.lastLineSeconds, 605);
}

TEST(SourceHealth, RejectsAreCountedByReasonAndAgeOutOfTheMinute) {
    SourceHealth h;
    Feed(h, 2, ParseStatus::Checksum);
    Feed(h, 1, ParseStatus::Framing);
    Feed(h, 1, ParseStatus::Length);
    h.noteTooLong(std::string(200, 'x'));
    // Sentences the program does not read are no fault of the link.
    Feed(h, 4, ParseStatus::UnknownFormatter);
    Feed(h, 1, ParseStatus::Range);
    auto f = h.figures();
    EXPECT_EQ(f.checksumPerMinute, 2);
    EXPECT_EQ(f.framingPerMinute, 3);
    EXPECT_EQ(f.otherRejects, 5u);
    EXPECT_EQ(f.lastError.event, HealthEvent::TooLong);
    h.advance(59);
    EXPECT_EQ(h.figures().checksumPerMinute, 2);
    h.tick();
    f = h.figures();
    EXPECT_EQ(f.checksumPerMinute, 0);
    EXPECT_EQ(f.framingPerMinute, 0);
    EXPECT_EQ(f.checksumTotal, 2u);
    EXPECT_EQ(f.framingTotal, 3u);
    EXPECT_EQ(f.lastError.secondsAgo, 60);
}

TEST(SourceHealth, TheLastErrorKeepsABoundedPrintableSample) {
    SourceHealth h;
    EXPECT_EQ(h.figures().lastError.event, HealthEvent::None);
    EXPECT_EQ(h.figures().lastError.secondsAgo, -1);
    std::string line = "$GPRMC,\x01\xff" + std::string(300, 'A') + "*00\r\n";
    h.noteSentence(ParseStatus::Checksum, line);
    auto e = h.figures().lastError;
    EXPECT_EQ(e.event, HealthEvent::Checksum);
    EXPECT_EQ(e.sampleText().size(), norq::ais::HealthError::kSampleSize);
    EXPECT_EQ(e.sampleText().substr(0, 9), "$GPRMC,??");
    // Lost fragments are an error of their own, even on an accepted line.
    h.tick();
    h.noteSentence(ParseStatus::Ok, "!AIVDM,2,2,3,A,1@0000000000000,2*56\r\n", 2);
    const auto f = h.figures();
    EXPECT_EQ(f.fragmentsLost, 2u);
    EXPECT_EQ(f.fragmentsLostPerMinute, 2);
    EXPECT_EQ(f.lastError.event, HealthEvent::FragmentsLost);
    EXPECT_EQ(f.lastError.sampleText(), "!AIVDM,2,2,3,A,1@0000000000000,2*56");
    h.noteLinkClosed();
    EXPECT_EQ(h.figures().lastError.event, HealthEvent::LinkClosed);
    EXPECT_EQ(h.figures().lastError.sampleText(), "");
}
