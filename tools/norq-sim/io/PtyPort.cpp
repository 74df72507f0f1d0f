#include "io/PtyPort.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace norq::sim {

PtyPort::~PtyPort() {
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
}

bool PtyPort::open(std::string& error) {
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        error = std::string("openpty: ") + std::strerror(errno);
        return false;
    }
    termios tio{};
    if (::tcgetattr(slave_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B38400);
        ::cfsetospeed(&tio, B38400);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    path_ = name;
    return true;
}

void PtyPort::write(std::string_view text) {
    if (master_ < 0) return;
    while (!text.empty()) {
        const ssize_t n = ::write(master_, text.data(), text.size());
        if (n <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

void PtyPort::read(std::vector<std::string>& lines) {
    if (master_ < 0) return;
    char buf[1024];
    while (true) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) return;
        input_.append(std::string_view(buf, static_cast<std::size_t>(n)), lines);
    }
}

}  // namespace norq::sim
