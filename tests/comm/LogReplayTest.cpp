#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

TEST(LogReplayTest, LongLinesAreReadIn199CharacterPieces) {
    std::string longLine(450, 'x');
    ReplayFile file(longLine + "\n");
    LogReplay replay;
    ASSERT_EQ(Start(replay, file.path()), LogReplay::OpenResult::Opened);
    Recorder sink;
    replay.tick(10, sink);
    ASSERT_EQ(sink.read.size(), 3u);
    EXPECT_EQ(sink.read[0].size(), 199u);
    EXPECT_EQ(sink.read[1].size(), 199u);
    EXPECT_EQ(sink.read[2], std::string(52, 'x') + "\n");
    EXPECT_EQ(sink.handed[0], std::string(199, 'x') + "\r\n");
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
