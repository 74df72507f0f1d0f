#include "base/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace norq::base {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<std::string> ReadFileLimited(const std::string& path, std::size_t maxBytes,
                                           bool* missing) {
    if (missing) *missing = false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        if (missing) *missing = errno == ENOENT || errno == ENOTDIR;
        return std::nullopt;
    }
    std::string text;
    char buffer[16384];
    for (;;) {
        const std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get());
        if (text.size() + count > maxBytes) return std::nullopt;
        text.append(buffer, count);
        if (count < sizeof buffer) break;
    }
    if (std::ferror(file.get())) return std::nullopt;
    return text;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string target = path;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                             &std::free);
        if (resolved) target = resolved.get();
    }
    mode_t mode = 0644;
    if (::stat(target.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) return false;
        mode = info.st_mode & 07777;
    }
    std::string temporary = target + ".new-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, mode) == 0;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (ok && left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            ok = false;
            break;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable; a folder that cannot be synced changes nothing.
    std::string folder = std::filesystem::path(target).parent_path().string();
    if (folder.empty()) folder = ".";
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

}  // namespace norq::base
