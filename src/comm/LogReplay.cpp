#include "comm/LogReplay.h"

#include <sys/stat.h>

#include <algorithm>

#include "ais/SentenceIntake.h"
#include "codec/ArchiveLine.h"
#include "comm/MessageLog.h"

namespace norq::comm {

void IntakeReplaySink::onLineRead(std::string_view line) {
    if (log_ == nullptr) return;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    log_->add(line);
}

void IntakeReplaySink::onReplayLine(std::string_view line) {
    intake_.ReceiveLine(line, /*fromLivePort=*/false);
}

LogReplay::OpenResult LogReplay::open(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return OpenResult::Missing;
    if (S_ISDIR(info.st_mode)) return OpenResult::Unreadable;
    closeFile();
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) return OpenResult::Unreadable;
    atEnd_ = false;
    readError_ = false;
    bufferPos_ = bufferEnd_ = 0;
    pending_ = false;
    timed_ = false;
    archiveNowMs_ = 0;
    linesCut_ = 0;
    pause_ = PauseState::Playing;
    play_ = PlayState::Playing;
    return OpenResult::Opened;
}

void LogReplay::stop() {
    play_ = PlayState::Stopped;
    pause_ = PauseState::Hidden;
    closeFile();
}

bool LogReplay::togglePause() {
    if (pause_ == PauseState::Playing) {
        pause_ = PauseState::Paused;
        return false;
    }
    if (pause_ == PauseState::Paused) {
        pause_ = PauseState::Playing;
        return true;
    }
    return false;
}

namespace {

// The receive time of a file line in Unix milliseconds, or kNoReceiveTime.
std::int64_t LineTimeMs(std::string_view line) {
    codec::ArchiveLine split;
    if (!codec::SplitArchiveLine(line, split)) return codec::kNoReceiveTime;
    return split.receiveTimeMs;
}

}  // namespace

LogReplay::TickResult LogReplay::tick(int speed, ReplaySink& sink, int elapsedMs) {
    TickResult result;
    if (!playing()) {
        if (play_ != PlayState::Playing) closeFile();
        return result;
    }
    speed = std::max(speed, 1);
    if (timed_) {
        archiveNowMs_ += static_cast<std::int64_t>(std::clamp(elapsedMs, 0, kMaxTickMs)) * speed;
    }
    int untimedLines = 0;
    for (int handled = 0; handled < kMaxTimedLinesPerTick; ++handled) {
        std::size_t length = 0;
        std::int64_t timeMs = codec::kNoReceiveTime;
        if (pending_) {
            length = pendingLength_;
            timeMs = pendingTimeMs_;
        } else {
            // Without times the file plays `speed` lines per tick.
            if (!timed_ && untimedLines >= speed) return result;
            if (atEnd_ || readError_ || file_ == nullptr || !readLine(length)) {
                stop();
                result.ended = true;
                return result;
            }
            ++result.linesRead;
            sink.onLineRead({line_.data(), length});
            timeMs = length > 2 ? LineTimeMs({line_.data(), length}) : codec::kNoReceiveTime;
            if (timeMs != codec::kNoReceiveTime) {
                if (!timed_) {
                    // The first timed line sets the replay's time.
                    timed_ = true;
                    archiveNowMs_ = timeMs;
                } else if ((timeMs - archiveNowMs_) / speed > kMaxWaitMs ||
                           archiveNowMs_ - timeMs > kMaxStepBackMs) {
                    // A long silence in the file, or the next recording.
                    archiveNowMs_ = timeMs;
                }
            }
        }
        if (timeMs != codec::kNoReceiveTime && timeMs > archiveNowMs_) {
            // Not due yet: it waits for a later tick.
            pending_ = true;
            pendingLength_ = length;
            pendingTimeMs_ = timeMs;
            return result;
        }
        pending_ = false;
        if (timeMs == codec::kNoReceiveTime && !timed_) ++untimedLines;
        if (!handLine(length, sink, result)) return result;
    }
    return result;
}

bool LogReplay::handLine(std::size_t length, ReplaySink& sink, TickResult& result) {
    if (length <= 2) return true;
    // The intake takes lines ending in CR LF.
    const bool endsInCrLf = line_[length - 2] == '\r' && line_[length - 1] == '\n';
    if (!endsInCrLf) {
        if (line_[length - 1] == '\n') --length;
        line_[length++] = '\r';
        line_[length++] = '\n';
    }
    line_[length] = '\0';
    sink.onReplayLine({line_.data(), length});
    ++result.linesHanded;
    // The sink may have stopped the replay (for example the window closing).
    return playing();
}

bool LogReplay::refill() {
    if (file_ == nullptr || atEnd_ || readError_) return false;
    bufferPos_ = 0;
    bufferEnd_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (bufferEnd_ == 0) {
        if (std::ferror(file_)) {
            readError_ = true;
        } else {
            atEnd_ = true;
        }
        return false;
    }
    return true;
}

int LogReplay::nextChar() {
    if (bufferPos_ == bufferEnd_ && !refill()) return EOF;
    return static_cast<unsigned char>(buffer_[bufferPos_++]);
}

bool LogReplay::readLine(std::size_t& length) {
    length = 0;
    bool any = false;
    bool cut = false;
    for (;;) {
        int c = nextChar();
        if (c == EOF) break;
        any = true;
        if (c == '\r') {
            // Text mode: CR LF reads as LF; a CR before anything else stays.
            if (bufferPos_ == bufferEnd_) refill();
            if (bufferPos_ < bufferEnd_ && buffer_[bufferPos_] == '\n') {
                ++bufferPos_;
                c = '\n';
            }
        }
        if (c == '\n') {
            // The line feed ends the line, also the one whose rest was dropped.
            line_[length++] = '\n';
            break;
        }
        if (length < kMaxLineLength) {
            line_[length++] = static_cast<char>(c);
        } else {
            cut = true;
        }
    }
    if (cut) ++linesCut_;
    line_[length] = '\0';
    return any;
}

void LogReplay::closeFile() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    bufferPos_ = bufferEnd_ = 0;
}

}  // namespace norq::comm
