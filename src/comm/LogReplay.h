// Replay of a recorded sentence file: its lines go to the sentence intake as if
// they had been received, a set number of lines per 100 ms tick.
//
// The replay has two state numbers, one per menu item: the play item (stopped,
// starting, playing) and the pause item (hidden, playing, paused). The window
// turns user actions into calls here and shows the states as captions.
//
// The file is read in text mode: CR LF reads as LF. A read takes at most 199
// characters, so a longer line is continued by the next read. A line of more
// than two characters is handed over ending in CR LF; shorter ones are skipped.
// Nothing is allocated per line.
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
    // At most this many characters are taken by one read.
    static constexpr std::size_t kMaxReadLength = 199;

    enum class OpenResult : std::uint8_t { Opened, Missing, Unreadable };

    struct TickResult {
        int linesRead = 0;    // lines read from the file
        int linesHanded = 0;  // lines handed to the intake
        bool ended = false;   // the end of the file stopped the replay
    };

    LogReplay() = default;
    ~LogReplay() { closeFile(); }
    LogReplay(const LogReplay&) = delete;
    LogReplay& operator=(const LogReplay&) = delete;

    PlayState playState() const { return play_; }
    PauseState pauseState() const { return pause_; }
    bool playing() const { return play_ == PlayState::Playing && pause_ != PauseState::Paused; }
    bool fileOpen() const { return file_ != nullptr; }

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

    // One replay tick: while playing and not paused, up to linesPerTick lines.
    // While not playing, a file still open is closed.
    TickResult tick(int linesPerTick, ReplaySink& sink);

  private:
    // One read of at most kMaxReadLength characters up to and including LF,
    // CR LF read as LF. Returns false when nothing could be read.
    bool readLine(std::size_t& length);
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
    std::array<char, kMaxReadLength + 3> line_{};
};

}  // namespace norq::comm
