// The raw recording: the bytes received on the sensor links, appended to a
// file unchanged (no separators, no time stamps). Each link's bytes are
// written up to its last line feed, and the rest waits for the next bytes of
// the same link, so the sentences of two links never cut into each other and
// the file only ever holds whole lines: a recording killed at any moment ends
// with the last complete line written.
//
// Every write goes straight to the file (no buffering in the process), so a
// line that was written is in the file even if the program dies next.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "comm/LineAssembler.h"

namespace norq::comm {

class RawRecording {
  public:
    // Serial AIS, GPS, MOB, then TCP/IP and UDP.
    static constexpr std::size_t kSources = 5;
    // The longest unfinished line kept per link; a longer one is no sentence
    // and is dropped up to its line feed.
    static constexpr std::size_t kMaxPending = 1024;

    RawRecording() = default;
    ~RawRecording() { close(); }
    RawRecording(const RawRecording&) = delete;
    RawRecording& operator=(const RawRecording&) = delete;

    // Opens `path` for appending (a file that exists is continued). False with
    // lastError() set when it cannot be opened.
    bool open(const std::string& path);
    // Closes the file. Unfinished lines stay pending and go into the next file
    // once their line feed arrives.
    void close();
    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    // Bytes received on a link. While no file is open they are not kept; a
    // file opened in the middle of a line starts with that link's next line.
    void write(const LineOrigin& origin, std::string_view bytes);
    // Forgets a link's unfinished line (the link ended or was opened anew).
    void dropPending(const LineOrigin& origin);

    // A write to the open file failed (disk full, file gone); cleared by open().
    bool writeFailed() const { return writeFailed_; }
    int lastError() const { return lastError_; }

  private:
    struct Pending {
        std::array<char, kMaxPending> bytes{};
        std::size_t length = 0;
        bool overflow = false;  // dropping up to the next line feed
    };
    static std::size_t sourceIndex(const LineOrigin& origin);
    void writeOut(std::string_view first, std::string_view second);
    void cutTornTail();

    int fd_ = -1;
    off_t size_ = 0;  // the file's length: every write is appended
    std::string path_;
    std::array<Pending, kSources> pending_{};
    bool writeFailed_ = false;
    int lastError_ = 0;
};

}  // namespace norq::comm
