// norq-ais health (and check --health): how a source is doing, with the
// figures the viewer's source health window shows: sentences per second,
// the age of the last sentence, checksum and framing rejects, fragments lost
// and the last error. A live source is reported every ten seconds and at its
// end; a file once, timed by its own receive times when it has them.
#include "HealthCommand.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <string>

#include "Commands.h"
#include "LineReader.h"
#include "ais/SentenceIntake.h"
#include "codec/ArchiveLine.h"
#include "comm/LinkSource.h"

namespace norq::tool {

namespace {

const char* EventName(ais::HealthEvent event) {
    switch (event) {
        case ais::HealthEvent::None:
            return "none";
        case ais::HealthEvent::Checksum:
            return "checksum";
        case ais::HealthEvent::Framing:
            return "framing";
        case ais::HealthEvent::TooLong:
            return "line too long";
        case ais::HealthEvent::FragmentsLost:
            return "fragments lost";
        case ais::HealthEvent::LinkClosed:
            return "link closed";
    }
    return "?";
}

}  // namespace

HealthMeter::HealthMeter(bool live) : live_(live) {
    if (live_) start_ = std::chrono::steady_clock::now();
}

void HealthMeter::take(ais::SentenceIntake& intake, std::string_view line,
                       std::uint64_t lostBefore) {
    // Recordings carry comment lines, which no device sent.
    if (!live_ && line.starts_with('#')) return;
    ++lines_;
    if (live_) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::steady_clock::now() - start_)
                                 .count();
        health_.advance(elapsed - seconds_);
        seconds_ = elapsed;
    } else if (const std::int64_t t = intake.lastReceiveTime(); t != codec::kNoReceiveTime) {
        // A file's times: forwards only, a step back is a new recording.
        if (firstTime_ == codec::kNoReceiveTime) firstTime_ = t;
        if (t - firstTime_ > seconds_) {
            health_.advance(t - firstTime_ - seconds_);
            seconds_ = t - firstTime_;
        }
        timed_ = true;
    }
    if (line.size() > 2) {
        health_.noteSentence(intake.lastStatus(), line,
                             intake.assembly().droppedFragments() - lostBefore);
    }
}

bool HealthMeter::reportDue() {
    if (!live_ || seconds_ < nextReport_) return false;
    nextReport_ = seconds_ + kReportSeconds;
    return true;
}

void HealthMeter::print(std::FILE* out) const {
    const ais::HealthFigures f = health_.figures();
    const bool windowed = live_ || timed_;
    std::fprintf(out, "lines             %" PRIu64 "\n", lines_);
    if (windowed) {
        std::fprintf(out, "sentences/s       %.1f over the last minute\n", f.sentencesPerSecond);
        std::fprintf(out, "last sentence     %" PRId64 " s ago\n", f.lastLineSeconds);
        std::fprintf(out, "checksum rejects  %d in the last minute, %" PRIu64 " in all\n",
                     f.checksumPerMinute, f.checksumTotal);
        std::fprintf(out, "framing rejects   %d in the last minute, %" PRIu64 " in all\n",
                     f.framingPerMinute, f.framingTotal);
        std::fprintf(out, "fragments lost    %d in the last minute, %" PRIu64 " in all\n",
                     f.fragmentsLostPerMinute, f.fragmentsLost);
    } else {
        std::fprintf(out, "sentences         %" PRIu64 " accepted (no receive times: no rates)\n",
                     f.accepted);
        std::fprintf(out, "checksum rejects  %" PRIu64 "\n", f.checksumTotal);
        std::fprintf(out, "framing rejects   %" PRIu64 "\n", f.framingTotal);
        std::fprintf(out, "fragments lost    %" PRIu64 "\n", f.fragmentsLost);
    }
    std::fprintf(out, "not read          %" PRIu64 " (formatters not read, field counts, ranges)\n",
                 f.otherRejects);
    if (f.lastError.event == ais::HealthEvent::None) {
        std::fprintf(out, "last error        none\n");
    } else if (windowed) {
        std::fprintf(out, "last error        %s, %" PRId64 " s ago: %s\n",
                     EventName(f.lastError.event), f.lastError.secondsAgo,
                     std::string(f.lastError.sampleText()).c_str());
    } else {
        std::fprintf(out, "last error        %s: %s\n", EventName(f.lastError.event),
                     std::string(f.lastError.sampleText()).c_str());
    }
}

int RunHealth(Args args) {
    const bool live = !args.empty() && comm::IsLinkSource(args[0]);
    std::FILE* in = OpenInput(args, 0);
    if (in == nullptr) return 1;
    codec::SentenceCodec codec;
    ais::SentenceIntake intake(codec);
    HealthMeter meter(live);
    LineReader reader(in);
    std::string line;
    while (reader.next(line)) {
        const std::uint64_t lostBefore = intake.assembly().droppedFragments();
        intake.ReceiveLine(line, false);
        meter.take(intake, line, lostBefore);
        if (meter.reportDue()) {
            meter.print(stdout);
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    CloseInput(in);
    meter.print(stdout);
    return 0;
}

}  // namespace norq::tool
