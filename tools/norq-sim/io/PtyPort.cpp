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
        // With a rate of its own the line starts at a rate no dialog offers:
        // what the devices send before the viewer sets the line up is noise.
        const speed_t start = lineRate_ != 0 ? B1200 : B38400;
        ::cfsetispeed(&tio, start);
        ::cfsetospeed(&tio, start);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    path_ = name;
    return true;
}

namespace {

speed_t SpeedOf(int baud) {
    switch (baud) {
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

}  // namespace

bool PtyPort::rateMatches() const {
    if (lineRate_ == 0) return true;
    // The line settings the viewer gave the slave side (shared by every
    // opener of the slave; the master has settings of its own).
    termios tio{};
    if (::tcgetattr(slave_, &tio) != 0) return true;
    return ::cfgetospeed(&tio) == SpeedOf(lineRate_);
}

void PtyPort::write(std::string_view text) {
    if (master_ < 0) return;
    std::string noise;
    if (!rateMatches()) {
        // Bits at the wrong rate: no character survives, only the line ends.
        noise.assign(text);
        for (char& c : noise) {
            if (c != '\n') c = static_cast<char>(0x80 | ((c * 7) & 0x7F));
        }
        text = noise;
    }
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
        if (!rateMatches()) continue;  // sent at another rate: not understood
        input_.append(std::string_view(buf, static_cast<std::size_t>(n)), lines);
    }
}

}  // namespace norq::sim
