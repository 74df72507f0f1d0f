#include "comm/TComm.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "comm/SerialLine.h"

namespace norq::comm {

namespace {

constexpr std::array<int, kBaudRateCount> kRates{110,   300,   600,    1200,   2400,
                                                 4800,  9600,  14400,  19200,  38400,
                                                 56000, 57600, 115200, 128000, 256000};

std::string FormatError(const char* format, int code) {
    std::string text(format);
    const std::size_t at = text.find("%d");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(code));
    return text;
}

void ClosePipe(int (&fds)[2]) {
    for (int& fd : fds) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

}  // namespace

int BaudRateValue(TBaudRate rate) {
    return kRates[static_cast<std::size_t>(rate)];
}

TBaudRate BaudRateFromOrdinal(int ordinal) {
    if (ordinal < 0 || ordinal >= kBaudRateCount) return TBaudRate::br9600;
    return static_cast<TBaudRate>(ordinal);
}

bool BaudRateFromValue(int rate, TBaudRate& member) {
    for (std::size_t i = 0; i < kRates.size(); ++i) {
        if (kRates[i] == rate) {
            member = static_cast<TBaudRate>(i);
            return true;
        }
    }
    return false;
}

CommError::CommError(const char* format, int code)
    : std::runtime_error(FormatError(format, code)), code_(code) {}

// ---- TCommEventChars ----------------------------------------------------------

void TCommEventChars::Assign(const TCommEventChars& other) {
    xOn_ = other.xOn_;
    xOff_ = other.xOff_;
    error_ = other.error_;
    eof_ = other.eof_;
    evt_ = other.evt_;
    changed();
}

void TCommEventChars::SetXOnChar(char c) {
    xOn_ = c;
    changed();
}
void TCommEventChars::SetXOffChar(char c) {
    xOff_ = c;
    changed();
}
void TCommEventChars::SetErrorChar(char c) {
    error_ = c;
    changed();
}
void TCommEventChars::SetEofChar(char c) {
    eof_ = c;
    changed();
}
void TCommEventChars::SetEvtChar(char c) {
    evt_ = c;
    changed();
}

void TCommEventChars::changed() {
    if (owner_ != nullptr) owner_->ApplyLineSettings();
}

// ---- The event thread -----------------------------------------------------------

// Waits with poll() on the device and the wake-up pipe and hands each event to
// the window's thread. It never reads the device itself: the handlers do that.
class TCommEventThread {
  public:
    TCommEventThread(TThreadComm& port, int fd, base::HandOverGate& gate)
        : port_(port), fd_(fd), gate_(gate) {}
    ~TCommEventThread() { stop(); }

    bool start() {
        if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) return false;
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            ClosePipe(wake_);
            return false;
        }
        return true;
    }

    // Window's thread, with the gate already closed: wakes the worker and joins it.
    void stop() {
        stop_ = true;
        if (wake_[1] >= 0) {
            const char byte = 1;
            [[maybe_unused]] const ssize_t n = ::write(wake_[1], &byte, 1);
        }
        if (thread_.joinable()) thread_.join();
        ClosePipe(wake_);
    }

  private:
    void run() {
        // Set by the window's thread when the device turned out to be gone.
        const auto gone = std::make_shared<std::atomic<bool>>(false);
        while (!stop_) {
            pollfd fds[2] = {{wake_[0], POLLIN, 0}, {gone->load() ? -1 : fd_, POLLIN, 0}};
            const int ready = ::poll(fds, 2, -1);
            if (ready < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (stop_ || (fds[0].revents & POLLIN) != 0) return;
            std::uint32_t mask = 0;
            std::uint32_t errors = 0;
            if ((fds[1].revents & POLLIN) != 0) mask |= EventBit(TCommEventType::evRxChar);
            if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
                // The device went away (unplugged, or the far side of a
                // pseudo-terminal closed): reported once, then only the pipe.
                mask |= EventBit(TCommEventType::evError);
                errors |= kCommErrorHangUp;
                gone->store(true);
            }
            if (mask == 0) continue;
            TThreadComm& port = port_;
            const bool handed = gate_.handOver([&port, mask, errors, gone] {
                if (port.DispatchCommEvent(mask, errors)) gone->store(true);
            });
            if (!handed) return;
        }
    }

    TThreadComm& port_;
    int fd_;
    base::HandOverGate& gate_;
    int wake_[2] = {-1, -1};
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

// ---- TThreadComm ----------------------------------------------------------------

TThreadComm::TThreadComm(base::WindowThreadPoster& poster) : gate_(poster) {}

TThreadComm::~TThreadComm() {
    Close();
}

void TThreadComm::SetDeviceName(const std::string& name) {
    if (!Connected()) deviceName_ = name;
}
void TThreadComm::SetReadBufSize(std::uint16_t size) {
    if (!Connected()) readBufSize_ = size;
}
void TThreadComm::SetWriteBufSize(std::uint16_t size) {
    if (!Connected()) writeBufSize_ = size;
}
void TThreadComm::SetSuspendTime(std::uint32_t time) {
    if (!Connected()) suspendTime_ = time;
}
void TThreadComm::SetMonitorEvents(TCommEventTypes events) {
    if (!Connected()) monitorEvents_ = events;
}

void TThreadComm::SetBaudRate(TBaudRate rate) {
    if (rate == baudRate_) return;
    baudRate_ = rate;
    ApplyLineSettings();
}
void TThreadComm::SetParity(TParity parity) {
    if (parity == parity_) return;
    parity_ = parity;
    ApplyLineSettings();
}
void TThreadComm::SetStopBits(TStopBits bits) {
    if (bits == stopBits_) return;
    stopBits_ = bits;
    ApplyLineSettings();
}
void TThreadComm::SetDataBits(TDataBits bits) {
    if (bits == dataBits_) return;
    dataBits_ = bits;
    ApplyLineSettings();
}
void TThreadComm::SetFlowControl(TFlowControl flow) {
    if (flow == flowControl_) return;
    flowControl_ = flow;
    ApplyLineSettings();
}
void TThreadComm::SetOptions(TCommOptions options) {
    if (options == options_) return;
    options_ = options;
    ApplyLineSettings();
}

int TThreadComm::OpenDevice() {
    // Non-blocking, so that opening a line without carrier never waits; no
    // controlling terminal; closed in child processes.
    return ::open(deviceName_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

void TThreadComm::Open() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Connected()) throw CommError("Port already assigned (open) (Error: %d)", -1);
    const int fd = OpenDevice();
    if (fd < 0) {
        lastOpenError_ = errno;
        return;
    }
    // Exclusive use, as a serial port has one owner; a device that is no
    // terminal (or a line that refuses its settings) is not a serial port.
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        lastOpenError_ = errno;
        ::close(fd);
        return;
    }
    fd_ = fd;
    lastOpenError_ = 0;
    try {
        applyLocked();
    } catch (const CommError&) {
        ::close(fd_);
        fd_ = -1;
        throw;
    }
    gate_.open();
    thread_ = std::make_unique<TCommEventThread>(*this, fd_, gate_);
    if (!thread_->start()) {
        lastOpenError_ = EAGAIN;
        gate_.close();
        thread_.reset();
        ::close(fd_);
        fd_ = -1;
    }
}

void TThreadComm::Close() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!Connected()) return;
    // First no event may reach the owner any more, then the worker stops:
    // a worker waiting in a hand-over returns at once, so the join never waits
    // for the window's thread.
    gate_.close();
    if (thread_) thread_->stop();
    thread_.reset();
    ::tcflush(fd_, TCIOFLUSH);
    ::close(fd_);
    fd_ = -1;
}

void TThreadComm::ApplyLineSettings() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Connected()) applyLocked();
}

void TThreadComm::applyLocked() {
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) {
        throw CommError("Error updating DataControlBlock (Error: %d)", errno);
    }
    LineSettings settings;
    settings.baudRate = baudRate_;
    settings.parity = parity_;
    settings.stopBits = stopBits_;
    settings.dataBits = dataBits_;
    settings.options = options_;
    settings.xOnChar = eventChars_.XOnChar();
    settings.xOffChar = eventChars_.XOffChar();
    if (!MakeLineFlags(settings, tio)) {
        throw CommError("Error updating DataControlBlock (Error: %d)", EINVAL);
    }
    const int rate = BaudRateValue(baudRate_);
    const speed_t speed = StandardSpeed(rate);
    // A rate without a termios constant is set on the device after the flags;
    // the flags go out with a standard rate meanwhile.
    ::cfsetispeed(&tio, speed != 0 ? speed : B38400);
    ::cfsetospeed(&tio, speed != 0 ? speed : B38400);
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0 || (speed == 0 && !SetCustomRate(fd_, rate))) {
        throw CommError("Error updating DataControlBlock (Error: %d)", errno);
    }
}

bool TThreadComm::DispatchCommEvent(std::uint32_t mask, std::uint32_t errors) {
    if (!Connected()) return false;
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) != 0) waiting = 0;
    TComStat stat;
    stat.inQueue = static_cast<std::uint32_t>(waiting);
    int queued = 0;
    if (::ioctl(fd_, TIOCOUTQ, &queued) == 0) stat.outQueue = static_cast<std::uint32_t>(queued);
    const auto has = [&mask](TCommEventType e) { return (mask & EventBit(e)) != 0; };
    if (has(TCommEventType::evRxChar)) {
        if (stat.inQueue == 0) {
            // Readable with nothing to read: the line has ended (EIO or end
            // of file on a pseudo-terminal whose far side closed).
            char probe = 0;
            const ssize_t n = ::read(fd_, &probe, 1);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
                mask |= EventBit(TCommEventType::evError);
                errors |= kCommErrorHangUp;
            }
        } else {
            bytesRead_ = 0;
            if (OnRxChar) OnRxChar(*this, stat.inQueue);
            // Bytes that nobody takes would wake the event thread again at once.
            if (Connected() && bytesRead_ == 0) ::tcflush(fd_, TCIFLUSH);
        }
    }
    // The device went away: told after the last bytes were delivered.
    const bool gone = (errors & kCommErrorHangUp) != 0;
    if (Connected() && has(TCommEventType::evError) && OnError) OnError(*this, errors);
    if (Connected() && OnComStatEvent) OnComStatEvent(*this, mask, stat);
    return gone;
}

int TThreadComm::Write(const void* buffer, int count) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!Connected()) return -1;
    if (count <= 0) return 0;
    const ssize_t n = ::write(fd_, buffer, static_cast<std::size_t>(count));
    return n < 0 ? 0 : static_cast<int>(n);
}

int TThreadComm::Read(void* buffer, int count) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!Connected()) return -1;
    if (count <= 0) return 0;
    const ssize_t n = ::read(fd_, buffer, static_cast<std::size_t>(count));
    if (n <= 0) return 0;
    bytesRead_ += static_cast<std::size_t>(n);
    return static_cast<int>(n);
}

void TThreadComm::SetDTR(bool on) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!Connected()) throw CommError("Port not open (Error: %d)", -1);
    int bits = TIOCM_DTR;
    // A pseudo-terminal has no modem lines; that is no failure of the port.
    if (::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits) != 0 && errno != ENOTTY && errno != EINVAL) {
        throw CommError("EscapeCommFunction failure (Error: %d)", errno);
    }
}

void TThreadComm::SetRTS(bool on) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!Connected()) throw CommError("Port not open (Error: %d)", -1);
    int bits = TIOCM_RTS;
    if (::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits) != 0 && errno != ENOTTY && errno != EINVAL) {
        throw CommError("EscapeCommFunction failure (Error: %d)", errno);
    }
}

}  // namespace norq::comm
