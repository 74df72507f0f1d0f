// How well one input link is doing: what it delivers each second, what the
// codec refuses from it and why, the fragments lost before a message was whole,
// and the last thing that went wrong, so the watch can tell a healthy source
// from a noisy, a broken or a silent one.
//
// Time is counted in seconds by tick(), which the owner calls once a second
// (the viewer's one-second timer, the command-line tool's clock or a file's own
// receive times); the figures over "the last minute" cover the last 60 ticks,
// or fewer while the link is younger. Nothing here allocates.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "codec/FormatterTable.h"

namespace norq::ais {

enum class HealthEvent : std::uint8_t {
    None,
    Checksum,       // a sentence with a missing or wrong checksum
    Framing,        // no start character, no CR LF, a malformed address field
    TooLong,        // a line longer than a sentence may be
    FragmentsLost,  // fragments that never became a whole message
    LinkClosed,     // the far end closed the link or the device went away
};

// The last event, with a bounded copy of the line that caused it.
struct HealthError {
    static constexpr std::size_t kSampleSize = 64;
    HealthEvent event = HealthEvent::None;
    std::int64_t secondsAgo = -1;  // -1 when nothing went wrong yet
    std::array<char, kSampleSize + 1> sample{};

    std::string_view sampleText() const { return sample.data(); }
};

struct HealthFigures {
    double sentencesPerSecond = 0;      // accepted sentences, over the last minute
    std::int64_t lastLineSeconds = -1;  // seconds since the last line; -1 never
    int checksumPerMinute = 0;
    int framingPerMinute = 0;  // framing and over-long lines
    int fragmentsLostPerMinute = 0;
    std::uint64_t accepted = 0;  // totals since start-up, over reconnects
    std::uint64_t checksumTotal = 0;
    std::uint64_t framingTotal = 0;
    std::uint64_t otherRejects = 0;  // unknown formatters, field counts, ranges
    std::uint64_t fragmentsLost = 0;
    HealthError lastError;
};

class SourceHealth {
  public:
    static constexpr int kWindowSeconds = 60;

    // One line the intake has judged, with the fragments the assembly gave up
    // while taking it.
    void noteSentence(codec::ParseStatus status, std::string_view line,
                      std::uint64_t fragmentsLost = 0);
    // A line too long to be a sentence (never handed to the codec).
    void noteTooLong(std::string_view line);
    void noteLinkClosed();
    // One second passed; advance(n) for n seconds (a file's own times).
    void tick() { advance(1); }
    void advance(std::int64_t seconds);

    HealthFigures figures() const;
    bool heard() const { return lastLine_ >= 0; }

  private:
    struct Second {
        std::uint32_t accepted = 0;
        std::uint32_t checksum = 0;
        std::uint32_t framing = 0;
        std::uint32_t fragmentsLost = 0;
    };
    void error(HealthEvent event, std::string_view line);
    Second& now() { return window_[static_cast<std::size_t>(head_)]; }

    std::array<Second, kWindowSeconds> window_{};
    int head_ = 0;
    int seconds_ = 0;  // ticks seen, up to kWindowSeconds
    std::int64_t clock_ = 0;
    std::int64_t lastLine_ = -1;  // tick of the last line
    std::int64_t errorAt_ = -1;
    HealthFigures totals_;
};

}  // namespace norq::ais
