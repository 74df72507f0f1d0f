#include "comm/LogReplay.h"

#include <sys/stat.h>

#include "ais/SentenceIntake.h"
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

LogReplay::TickResult LogReplay::tick(int linesPerTick, ReplaySink& sink) {
    TickResult result;
    if (!playing()) {
        if (play_ != PlayState::Playing) closeFile();
        return result;
    }
    for (int i = 0; i < linesPerTick; ++i) {
        std::size_t length = 0;
        if (atEnd_ || readError_ || file_ == nullptr || !readLine(length)) {
            stop();
            result.ended = true;
            return result;
        }
        ++result.linesRead;
        sink.onLineRead({line_.data(), length});
        if (length <= 2) continue;
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
        if (!playing()) return result;
    }
    return result;
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
    while (length < kMaxReadLength) {
        int c = nextChar();
        if (c == EOF) break;
        if (c == '\r') {
            // Text mode: CR LF reads as LF; a CR before anything else stays.
            if (bufferPos_ == bufferEnd_) refill();
            if (bufferPos_ < bufferEnd_ && buffer_[bufferPos_] == '\n') {
                ++bufferPos_;
                c = '\n';
            }
        }
        line_[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    line_[length] = '\0';
    return length > 0;
}

void LogReplay::closeFile() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    bufferPos_ = bufferEnd_ = 0;
}

}  // namespace norq::comm
