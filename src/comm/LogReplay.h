// Replay of a recorded sentence file: its lines go to the sentence intake as if
// they had been received.
//
// Pacing. A file whose lines carry their receive time (a tag block's "c:"
// field in seconds or milliseconds, or a station's trailing Unix time) plays
// at the pace it was received, sped up by the replay speed: with speed N, each
// 100 ms tick releases the lines of the next N x 100 ms of the file's own time.
// A line without a time of its own (the second sentence of a tag-block group)
// goes with the timed line before it. A wait of more than kMaxWaitMs (the file
// was not received for a while) is skipped, and so is a step back in time (two
// recordings one after the other). A file without times plays N lines per tick,
// as do its lines before the first timed one.
//
// The replay has two state numbers, one per menu item: the play item (stopped,
// starting, playing) and the pause item (hidden, playing, paused). The window
// turns user actions into calls here and shows the states as captions.
//
// The file is read in text mode: CR LF reads as LF. A read takes a whole line,
// however long; of a line longer than kMaxLineLength the rest is dropped, so a
// long line is never cut into two. A line of more than two characters is handed
// over ending in CR LF; shorter ones are skipped. Nothing is allocated per line.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace norq::ais {
class SentenceIntake;
}

namespace norq::comm {

class MessageLog;

// State of the play item ("Replay Log" / "Stop Play").
enum class PlayState : std::uint8_t { Stopped = 0, Starting = 1, Playing = 2 };
// State of the pause item: hidden while stopped, then "Pause Play" / "Continue Play".
enum class PauseState : std::uint8_t { Hidden = 0, Playing = 1, Paused = 2 };

// Where replayed lines go.
class ReplaySink {
  public:
    virtual ~ReplaySink() = default;
    // Every line as read from the file, before it is prepared (the message log
    // shows it while its "Enable Log" box is ticked).
    virtual void onLineRead(std::string_view /*line*/) {}
    // A line of more than two characters, ending in CR LF, for the intake.
    virtual void onReplayLine(std::string_view line) = 0;
};

// Hands replayed lines to the sentence intake, marked as not from a live port.
class IntakeReplaySink : public ReplaySink {
  public:
    explicit IntakeReplaySink(ais::SentenceIntake& intake) : intake_(intake) {}
    // The message log that shows the lines read while "Enable Log" is ticked.
    void setLog(MessageLog* log) { log_ = log; }
    void onLineRead(std::string_view line) override;
    void onReplayLine(std::string_view line) override;

  private:
    ais::SentenceIntake& intake_;
    MessageLog* log_ = nullptr;
};

class LogReplay {
  public:
    // At most this many characters of a line are kept; the rest of a longer
    // line is dropped.
    static constexpr std::size_t kMaxLineLength = 4096;
    // The replay tick, and the longest it counts (a window that was busy for
    // longer does not make the replay jump).
    static constexpr int kTickMs = 100;
    static constexpr int kMaxTickMs = 1000;
    // The longest wait for the next timed line; a longer one is skipped.
    static constexpr std::int64_t kMaxWaitMs = 30000;
    // A timed line this much older than the replay's time starts the time anew.
    static constexpr std::int64_t kMaxStepBackMs = 60000;
    // The most lines one tick hands over at the file's own pace (a file that
    // holds more per tick plays behind its time rather than stall the window).
    static constexpr int kMaxTimedLinesPerTick = 5000;

    enum class OpenResult : std::uint8_t { Opened, Missing, Unreadable };

    struct TickResult {
        int linesRead = 0;    // lines read from the file
        int linesHanded = 0;  // lines handed to the intake
        bool ended = false;   // the end of the file stopped the replay
    };

    enum class Pacing : std::uint8_t {
        Lines,       // so many lines per tick
        ArchiveTime  // at the pace of the receive times in the file
    };

    LogReplay() = default;
    ~LogReplay() { closeFile(); }
    LogReplay(const LogReplay&) = delete;
    LogReplay& operator=(const LogReplay&) = delete;

    PlayState playState() const { return play_; }
    PauseState pauseState() const { return pause_; }
    bool playing() const { return play_ == PlayState::Playing && pause_ != PauseState::Paused; }
    bool fileOpen() const { return file_ != nullptr; }
    Pacing pacing() const { return timed_ ? Pacing::ArchiveTime : Pacing::Lines; }
    // The file's time that has been played up to (Unix milliseconds), while
    // the replay keeps the file's pace.
    std::int64_t archiveTimeMs() const { return archiveNowMs_; }
    // Lines whose rest was dropped for being longer than kMaxLineLength.
    int linesCut() const { return linesCut_; }

    // The play item was clicked while stopped: the replay is starting.
    void requestStart() { play_ = PlayState::Starting; }
    // The open dialog was cancelled: back to stopped.
    void cancelStart() { play_ = PlayState::Stopped; }
    // Opens the file while starting. Opened: the replay plays (pause item
    // "playing"). Missing or Unreadable: the states stay as they are.
    OpenResult open(const std::string& path);
    // Stops the replay (by the user, at the end of the file or after a failed
    // read): both states back to 0 and the file closed.
    void stop();
    // The pause item was clicked: playing <-> paused. Returns true when the
    // replay continues (the window then unticks "Target Monitor").
    bool togglePause();

    // One replay tick of `elapsedMs` (the time since the last tick) at
    // `speed`: while playing and not paused, the lines that are due (see
    // above; without times, `speed` lines). While not playing, a file still
    // open is closed.
    TickResult tick(int speed, ReplaySink& sink, int elapsedMs = kTickMs);

  private:
    // One whole line up to and including LF, CR LF read as LF, of which at
    // most kMaxLineLength characters are kept. Returns false when nothing
    // could be read.
    bool readLine(std::size_t& length);
    // Hands the line in line_ to the sink. False when the sink stopped the replay.
    bool handLine(std::size_t length, ReplaySink& sink, TickResult& result);
    int nextChar();
    bool refill();
    void closeFile();

    PlayState play_ = PlayState::Stopped;
    PauseState pause_ = PauseState::Hidden;
    std::FILE* file_ = nullptr;
    bool atEnd_ = false;      // a read reached the end of the file
    bool readError_ = false;  // the file could not be read
    // File buffer, and the line buffer with room for CR LF and the NUL.
    std::array<char, 65536> buffer_{};
    std::size_t bufferPos_ = 0;
    std::size_t bufferEnd_ = 0;
    std::array<char, kMaxLineLength + 3> line_{};
    // A timed line read but not yet due waits in line_.
    bool pending_ = false;
    std::size_t pendingLength_ = 0;
    std::int64_t pendingTimeMs_ = 0;
    bool timed_ = false;             // a timed line was seen: the file's pace
    std::int64_t archiveNowMs_ = 0;  // the file's time played up to
    int linesCut_ = 0;
};

}  // namespace norq::comm
