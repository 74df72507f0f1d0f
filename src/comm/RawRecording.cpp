#include "comm/RawRecording.h"

#include <fcntl.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace norq::comm {

bool RawRecording::open(const std::string& path) {
    close();
    path_ = path;
    writeFailed_ = false;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        lastError_ = errno;
        return false;
    }
    fd_ = fd;
    lastError_ = 0;
    size_ = ::lseek(fd, 0, SEEK_END);
    if (size_ < 0) size_ = 0;
    cutTornTail();
    return true;
}

void RawRecording::cutTornTail() {
    // A recording killed in the middle of a write (the kernel stops a write to
    // a file at a page boundary when the process is killed) or cut short by a
    // full disk may end inside a line. That piece is no sentence; it is cut so
    // that the file is continued at the start of a line (the file is opened
    // for reading as well as appending for this look at its end).
    std::array<char, 4096> block{};
    off_t end = size_;
    while (end > 0) {
        const off_t from =
            end > static_cast<off_t>(block.size()) ? end - static_cast<off_t>(block.size()) : 0;
        const ssize_t n = ::pread(fd_, block.data(), static_cast<std::size_t>(end - from), from);
        if (n <= 0) return;  // unreadable: leave the file as it is
        for (ssize_t i = n - 1; i >= 0; --i) {
            if (block[static_cast<std::size_t>(i)] != '\n') continue;
            const off_t whole = from + i + 1;
            if (whole != size_ && ::ftruncate(fd_, whole) == 0) size_ = whole;
            return;
        }
        end = from;
    }
    if (size_ > 0 && ::ftruncate(fd_, 0) == 0) size_ = 0;
}

void RawRecording::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::size_t RawRecording::sourceIndex(const LineOrigin& origin) {
    switch (origin.link) {
        case LinkKind::Tcp:
            return 3;
        case LinkKind::Udp:
            return 4;
        case LinkKind::Serial:
            break;
    }
    return origin.sensor >= 0 && origin.sensor < 3 ? static_cast<std::size_t>(origin.sensor) : 0;
}

void RawRecording::write(const LineOrigin& origin, std::string_view bytes) {
    if (bytes.empty()) return;
    Pending& p = pending_[sourceIndex(origin)];
    const std::size_t lastLf = bytes.rfind('\n');
    if (fd_ < 0) {
        // Nothing is kept while no file is open, and the line these bytes
        // leave unfinished is dropped up to its line feed, so that no file
        // ever starts inside a line.
        p.length = 0;
        p.overflow = lastLf == std::string_view::npos || lastLf + 1 < bytes.size();
        return;
    }
    std::string_view rest = bytes;
    if (lastLf != std::string_view::npos) {
        std::string_view complete = bytes.substr(0, lastLf + 1);
        rest = bytes.substr(lastLf + 1);
        if (p.overflow) {
            // The line being dropped ends at the first line feed.
            complete.remove_prefix(complete.find('\n') + 1);
            p.overflow = false;
            p.length = 0;
        }
        // The pending start of a line and the bytes that complete it go out
        // in one write, so the file never holds half a line.
        writeOut({p.bytes.data(), p.length}, complete);
        p.length = 0;
    }
    if (p.overflow || rest.empty()) return;
    if (p.length + rest.size() > kMaxPending) {
        p.overflow = true;
        p.length = 0;
        return;
    }
    std::memcpy(p.bytes.data() + p.length, rest.data(), rest.size());
    p.length += rest.size();
}

void RawRecording::dropPending(const LineOrigin& origin) {
    Pending& p = pending_[sourceIndex(origin)];
    p.length = 0;
    p.overflow = false;
}

void RawRecording::writeOut(std::string_view first, std::string_view second) {
    iovec parts[2] = {{const_cast<char*>(first.data()), first.size()},
                      {const_cast<char*>(second.data()), second.size()}};
    int index = 0;
    const std::size_t total = first.size() + second.size();
    std::size_t left = total;
    while (left > 0 && fd_ >= 0) {
        const ssize_t n = ::writev(fd_, parts + index, 2 - index);
        if (n < 0) {
            if (errno == EINTR) continue;
            writeFailed_ = true;
            lastError_ = errno;
            // The part of the lines that did reach the file is taken back.
            if (left != total && ::ftruncate(fd_, size_) != 0)
                size_ += static_cast<off_t>(total - left);
            return;
        }
        left -= static_cast<std::size_t>(n);
        std::size_t done = static_cast<std::size_t>(n);
        while (index < 2 && done >= parts[index].iov_len) {
            done -= parts[index].iov_len;
            ++index;
        }
        if (index < 2) {
            parts[index].iov_base = static_cast<char*>(parts[index].iov_base) + done;
            parts[index].iov_len -= done;
        }
    }
    size_ += static_cast<off_t>(total);
}

}  // namespace norq::comm
