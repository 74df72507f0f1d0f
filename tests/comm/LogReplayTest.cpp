#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ais/Clock.h"
#include "ais/RunState.h"
#include "ais/SentenceIntake.h"
#include "codec/SentenceCodec.h"
#include "comm/LogReplay.h"

namespace norq::comm {
namespace {

class ReplayFile {
  public:
    explicit ReplayFile(const std::string& bytes) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "norq-replay-XXXXXX").string();
        int fd = ::mkstemp(pattern.data());
        if (fd < 0) throw std::runtime_error("mkstemp failed");
        ::close(fd);
        path_ = pattern;
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    ~ReplayFile() { std::filesystem::remove(path_); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

struct Recorder : ReplaySink {
    std::vector<std::string> read;
    std::vector<std::string> handed;
    void onLineRead(std::string_view line) override { read.emplace_back(line); }
    void onReplayLine(std::string_view line) override { handed.emplace_back(line); }
};

LogReplay::OpenResult Start(LogReplay& replay, const std::string& path) {
    replay.requestStart();
    return replay.open(path);
}

TEST(LogReplayTest, PreparesLinesForTheIntakeAndSkipsShortOnes) {
    // LF, CR LF, an empty line, two characters as read (one and LF), a lone CR
    // inside a line, no final line feed.
    ReplayFile file("abc\n$GPTXT,1\r\n\n1\nx\ry\r\nlast");
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    EXPECT_EQ(replay.playState(), PlayState::Playing);
    EXPECT_EQ(replay.pauseState(), PauseState::Playing);

    Recorder sink;
    LogReplay::TickResult result = replay.tick(100, sink);
    EXPECT_TRUE(result.ended);
    EXPECT_EQ(result.linesRead, 6);
    // As read: CR LF already became LF.
    EXPECT_EQ(sink.read,
              (std::vector<std::string>{"abc\n", "$GPTXT,1\n", "\n", "1\n", "x\ry\n", "last"}));
    EXPECT_EQ(sink.handed,
              (std::vector<std::string>{"abc\r\n", "$GPTXT,1\r\n", "x\ry\r\n", "last\r\n"}));
    // The end of the file restores the menu states.
    EXPECT_EQ(replay.playState(), PlayState::Stopped);
    EXPECT_EQ(replay.pauseState(), PauseState::Hidden);
    EXPECT_FALSE(replay.fileOpen());
}

TEST(LogReplayTest, HandsAtMostTheSetNumberOfLinesPerTick) {
    std::string bytes;
    for (int i = 0; i < 12; ++i)
        bytes += "line" + std::to_string(i) + "\n";
    ReplayFile file(bytes);
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    Recorder sink;
    EXPECT_EQ(replay.tick(5, sink).linesHanded, 5);
    EXPECT_EQ(replay.tick(5, sink).linesHanded, 5);
    LogReplay::TickResult last = replay.tick(5, sink);
    EXPECT_EQ(last.linesHanded, 2);
    EXPECT_TRUE(last.ended);
    EXPECT_EQ(sink.handed.back(), "line11\r\n");
}

TEST(LogReplayTest, PauseKeepsThePositionAndContinueResumes) {
    ReplayFile file("one\ntwo\nthree\n");
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    Recorder sink;
    replay.tick(1, sink);
    EXPECT_FALSE(replay.togglePause());
    EXPECT_EQ(replay.pauseState(), PauseState::Paused);
    EXPECT_EQ(replay.tick(10, sink).linesRead, 0);
    EXPECT_TRUE(replay.fileOpen());
    EXPECT_TRUE(replay.togglePause());
    replay.tick(1, sink);
    EXPECT_EQ(sink.handed, (std::vector<std::string>{"one\r\n", "two\r\n"}));
}

TEST(LogReplayTest, ALongLineIsReadWholeAndALineBeyondTheMaximumStaysOneLine) {
    const std::string longLine(450, 'x');
    const std::string tooLong(LogReplay::kMaxLineLength + 900, 'y');
    ReplayFile file(longLine + "\n" + tooLong + "\r\nnext\n");
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    Recorder sink;
    replay.tick(10, sink);
    ASSERT_EQ(sink.read.size(), 3u);
    EXPECT_EQ(sink.read[0], longLine + "\n");
    EXPECT_EQ(sink.handed[0], longLine + "\r\n");
    // The rest of the line is dropped; the next line is the next line.
    EXPECT_EQ(sink.read[1], std::string(LogReplay::kMaxLineLength, 'y') + "\n");
    EXPECT_EQ(sink.read[2], "next\n");
    EXPECT_EQ(replay.linesCut(), 1);
}

// "\content*hh\": a tag block with its checksum.
std::string TagBlock(std::string_view content) {
    unsigned sum = 0;
    for (char c : content)
        sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\\", sum);
    return "\\" + std::string(content) + tail;
}

constexpr std::string_view kVdm = "!AIVDM,1,1,,A,15N1u<PP1FJuvSRHOE6QIwwh0HQ6,0*30";

TEST(LogReplayTest, AnArchiveLineLongerThanTheOldReadBufferReachesTheIntakeWhole) {
    // A shore archive's line: a long tag block before the sentence and station
    // fields after it, 260 characters in all, the sentence across character 199.
    const std::string line = TagBlock("s:" + std::string(150, 'r') + ",c:1418169601") +
                             std::string(kVdm) + ",d-080,S2118,t050056.00,r003669946\r\n";
    ASSERT_GT(line.size(), 200u);
    ASSERT_LT(line.find(kVdm), 199u);
    ASSERT_GT(line.find(kVdm) + kVdm.size(), 199u);
    ReplayFile file(line);
    ais::ManualClock clock;
    ais::RunState run(clock);
    IntakeReplaySink sink(run.intake);
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    replay.tick(1, sink);
    EXPECT_EQ(run.tracker.table().count(), 2);
}

TEST(LogReplayTest, TagBlockTimesPaceTheReplayAndTheSpeedScalesIt) {
    // Seconds apart: a one-sentence message, a two-sentence group whose second
    // sentence carries no time, and one more three seconds later.
    const std::string bytes = TagBlock("c:1418169601") + std::string(kVdm) + "\n" +
                              TagBlock("g:1-2-7,c:1418169602") + "!AIVDM,2,1,7,A,first,0*00\n" +
                              TagBlock("g:2-2-7") + "!AIVDM,2,2,7,A,second,0*00\n" +
                              TagBlock("c:1418169605") + std::string(kVdm) + "\n";
    for (int speed : {1, 2}) {
        ReplayFile file(bytes);
        LogReplay replay;
        ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
        Recorder sink;
        // The first timed line sets the time and goes at once.
        replay.tick(speed, sink, 100);
        EXPECT_EQ(replay.pacing(), LogReplay::Pacing::ArchiveTime);
        EXPECT_EQ(replay.archiveTimeMs(), 1418169601000);
        EXPECT_EQ(sink.handed.size(), 1u);
        // One second of the file takes 10 ticks at speed 1, 5 at speed 2.
        const int ticks = 10 / speed;
        for (int i = 1; i < ticks; ++i)
            replay.tick(speed, sink, 100);
        EXPECT_EQ(sink.handed.size(), 1u) << "speed " << speed;
        replay.tick(speed, sink, 100);
        ASSERT_EQ(sink.handed.size(), 3u) << "speed " << speed;
        EXPECT_NE(sink.handed[2].find("second"), std::string::npos);
        // Pausing stops the file's time; the waiting line is kept.
        replay.togglePause();
        for (int i = 0; i < 100; ++i)
            replay.tick(speed, sink, 100);
        replay.togglePause();
        EXPECT_EQ(sink.handed.size(), 3u);
        EXPECT_EQ(replay.archiveTimeMs(), 1418169602000);
        // A tick counts the time that passed, up to a second.
        replay.tick(speed, sink, 5000);
        EXPECT_EQ(replay.archiveTimeMs(), 1418169602000 + 1000 * speed);
        EXPECT_EQ(sink.handed.size(), 3u);
        const int rest = (3000 - 1000 * speed) / (100 * speed);
        for (int i = 1; i < rest; ++i)
            replay.tick(speed, sink, 100);
        EXPECT_EQ(sink.handed.size(), 3u) << "speed " << speed;
        const LogReplay::TickResult last = replay.tick(speed, sink, 100);
        EXPECT_EQ(sink.handed.size(), 4u) << "speed " << speed;
        EXPECT_TRUE(last.ended);
    }
}

TEST(LogReplayTest, MillisecondAndStationTimesPaceTheReplayToo) {
    // Tag blocks in milliseconds, 250 ms apart.
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes +=
            TagBlock("c:" + std::to_string(1418169601000 + 250 * i)) + std::string(kVdm) + "\n";
    ReplayFile file(bytes);
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    Recorder sink;
    std::vector<std::size_t> handed;
    for (int i = 0; i < 8; ++i) {
        replay.tick(1, sink, 100);
        handed.push_back(sink.handed.size());
    }
    EXPECT_EQ(handed, (std::vector<std::size_t>{1, 1, 1, 2, 2, 3, 3, 3}));

    // A station's trailing Unix time, two seconds apart.
    ReplayFile station(std::string(kVdm) + ",d-080,S2118,r003669946,1325394060\n" +
                       std::string(kVdm) + ",d-081,S2120,r003669946,1325394062\n");
    ASSERT_EQ(Start(replay, station.path()), LogReplay::OpenResult::Opened);
    Recorder second;
    replay.tick(1, second, 1000);
    EXPECT_EQ(second.handed.size(), 1u);
    replay.tick(1, second, 1000);
    EXPECT_EQ(second.handed.size(), 1u);
    replay.tick(1, second, 1000);
    EXPECT_EQ(second.handed.size(), 2u);
}

TEST(LogReplayTest, ALongSilenceOrAStepBackInTheFileDoesNotHoldTheReplay) {
    // An hour of silence, then a recording from a day before, then its next second.
    ReplayFile file(TagBlock("c:1418169601") + std::string(kVdm) + "\n" + TagBlock("c:1418173201") +
                    std::string(kVdm) + "\n" + TagBlock("c:1418083201") + std::string(kVdm) + "\n" +
                    TagBlock("c:1418083202") + std::string(kVdm) + "\n");
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    Recorder sink;
    replay.tick(1, sink, 100);
    EXPECT_EQ(sink.handed.size(), 3u);
    EXPECT_EQ(replay.archiveTimeMs(), 1418083201000);
    for (int i = 0; i < 9; ++i)
        replay.tick(1, sink, 100);
    EXPECT_EQ(sink.handed.size(), 3u);
    replay.tick(1, sink, 100);
    EXPECT_EQ(sink.handed.size(), 4u);
}

TEST(LogReplayTest, LinesBeforeTheFirstTimeGoByCountAndAFileWithoutTimesStaysThatWay) {
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += std::string(kVdm) + "\n";
    bytes += TagBlock("c:1418169601") + std::string(kVdm) + "\n" + TagBlock("c:1418169609") +
             std::string(kVdm) + "\n";
    ReplayFile file(bytes);
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    Recorder sink;
    replay.tick(2, sink, 100);
    EXPECT_EQ(replay.pacing(), LogReplay::Pacing::Lines);
    EXPECT_EQ(sink.handed.size(), 2u);
    replay.tick(2, sink, 100);
    EXPECT_EQ(sink.handed.size(), 4u);
    replay.tick(2, sink, 100);
    EXPECT_EQ(replay.pacing(), LogReplay::Pacing::ArchiveTime);
    EXPECT_EQ(sink.handed.size(), 5u);
    // A tag block whose checksum fails gives no time: no pace from it.
    ReplayFile broken("\\c:1418169601*00\\" + std::string(kVdm) + "\n");
    ASSERT_EQ(Start(replay, broken.path()), LogReplay::OpenResult::Opened);
    replay.tick(1, sink, 100);
    EXPECT_EQ(replay.pacing(), LogReplay::Pacing::Lines);
}

TEST(LogReplayTest, CrLfSplitAcrossTheFileBufferStillReadsAsLf) {
    // Place CR as the last byte of the first 64 KiB buffer.
    std::string bytes(65535, 'a');
    bytes += "\r\nb\r\n";
    ReplayFile file(bytes);
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    Recorder sink;
    replay.tick(1000, sink);
    ASSERT_FALSE(sink.read.empty());
    EXPECT_EQ(sink.read[sink.read.size() - 2].back(), '\n');
    EXPECT_EQ(sink.read.back(), "b\n");
    for (const std::string& line : sink.read)
        EXPECT_EQ(line.find("\r\n"), std::string::npos);
}

TEST(LogReplayTest, MissingAndUnreadableFilesDoNotPlay) {
    LogReplay replay;
    EXPECT_EQ(Start(replay, "/nonexistent/norq/file.txt"), LogReplay::OpenResult::Missing);
    EXPECT_EQ(replay.playState(), PlayState::Starting);
    EXPECT_EQ(replay.open(std::filesystem::temp_directory_path().string()),
              LogReplay::OpenResult::Unreadable);
    Recorder sink;
    EXPECT_EQ(replay.tick(5, sink).linesRead, 0);
    replay.stop();
    EXPECT_EQ(replay.playState(), PlayState::Stopped);
}

TEST(LogReplayTest, StopClosesTheFileAndAnEmptyFileEndsAtOnce) {
    ReplayFile file("");
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    Recorder sink;
    EXPECT_TRUE(replay.tick(1, sink).ended);
    EXPECT_TRUE(sink.read.empty());

    ReplayFile other("abc\n");
    ASSERT_EQ(Start(replay, other.path()), LogReplay::OpenResult::Opened);
    replay.stop();
    EXPECT_FALSE(replay.fileOpen());
    EXPECT_EQ(replay.tick(1, sink).linesRead, 0);
}

TEST(LogReplayTest, IntakeSinkFeedsTheSentenceIntakeAsNotLive) {
    ReplayFile file("$GPGGA,120000.00,5100.000,N,00130.000,E,1,09,0.9,12.0,M,47.0,M,,*59\n");
    codec::SentenceCodec codec;
    ais::SentenceIntake intake(codec);
    IntakeReplaySink sink(intake);
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    EXPECT_EQ(replay.tick(1, sink).linesHanded, 1);
    EXPECT_EQ(intake.lastStatus(), codec::ParseStatus::Ok);
}

}  // namespace
}  // namespace norq::comm
