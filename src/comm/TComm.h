// The serial port component: one device path (a serial adapter, a UART or a
// pseudo-terminal) opened with POSIX termios, its line settings, and one event
// thread per open port that waits with poll() on the device and on a wake-up
// pipe and hands every event synchronously to the window's thread.
//
// TComm publishes what TThreadComm holds. Properties whose setters re-program
// an open line (rate, parity, stop bits, data bits, options, special
// characters) take effect at once; the others (device name, queue sizes,
// monitored events, suspend time) only while the port is closed.
//
// The component's own faults are raised as CommError, whose text carries the
// error number ("Port not open (Error: %d)"). A device that cannot be opened
// raises nothing: Connected() stays false and lastOpenError() tells why.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "base/HandOver.h"

namespace norq::comm {

enum class TBaudRate : std::uint8_t {
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
inline constexpr int kBaudRateCount = 15;
// The rate in bits per second that the member names.
int BaudRateValue(TBaudRate rate);
// The member for an ordinal (0..14); br9600 for anything else.
TBaudRate BaudRateFromOrdinal(int ordinal);
// The member for a rate in bits per second; false for a rate not in the list.
bool BaudRateFromValue(int rate, TBaudRate& member);

// Each member selects its own parity (odd is odd, even is even).
enum class TParity : std::uint8_t { paNone, paOdd, paEven, paMark, paSpace };
// One, one and a half, two stop bits. The POSIX line has one or two; 1.5 is
// selected the way the UARTs do it: two stop bits with five data bits mean 1.5.
enum class TStopBits : std::uint8_t { sb10, sb15, sb20 };
// Four to eight data bits; a POSIX line has five to eight, so da4 is refused
// when it is applied.
enum class TDataBits : std::uint8_t { da4, da5, da6, da7, da8 };
// Stored and published; flow control is never applied (the line runs without).
enum class TFlowControl : std::uint8_t { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };
enum class TCommOption : std::uint8_t {
    coParityCheck,
    coDsrSensitivity,
    coIgnoreXOff,
    coErrorChar,
    coNullStrip
};
enum class TCommEventType : std::uint8_t {
    evBreak,
    evCts,
    evDsr,
    evError,
    evRing,
    evRlsd,
    evRxChar,
    evRxFlag,
    evTxEmpty
};

// Sets of options and events, one bit per member.
using TCommOptions = std::uint8_t;
using TCommEventTypes = std::uint16_t;
constexpr TCommOptions OptionBit(TCommOption o) {
    return static_cast<TCommOptions>(1u << static_cast<unsigned>(o));
}
constexpr TCommEventTypes EventBit(TCommEventType e) {
    return static_cast<TCommEventTypes>(1u << static_cast<unsigned>(e));
}
inline constexpr TCommEventTypes kAllCommEvents = 0x1FF;

// Error flags handed to OnError.
inline constexpr std::uint32_t kCommErrorHangUp =
    0x1;  // the device went away (unplugged, pty closed)
inline constexpr std::uint32_t kCommErrorRead = 0x2;  // reading the device failed

// What the event thread saw; handed to OnComStatEvent.
struct TComStat {
    std::uint32_t inQueue = 0;   // bytes waiting to be read
    std::uint32_t outQueue = 0;  // bytes waiting to be sent
};

class CommError : public std::runtime_error {
  public:
    CommError(const char* format, int code);
    int code() const { return code_; }

  private:
    int code_;
};

class TThreadComm;
// The event thread of an open port (TComm.cpp): waits with poll() on the device
// and a wake-up pipe and hands each event to the window's thread.
class TCommEventThread;

// The special characters of a port; setting one re-applies the line settings.
class TCommEventChars {
  public:
    explicit TCommEventChars(TThreadComm* owner) : owner_(owner) {}
    void Assign(const TCommEventChars& other);

    char XOnChar() const { return xOn_; }
    char XOffChar() const { return xOff_; }
    char ErrorChar() const { return error_; }
    char EofChar() const { return eof_; }
    char EvtChar() const { return evt_; }
    void SetXOnChar(char c);
    void SetXOffChar(char c);
    void SetErrorChar(char c);
    void SetEofChar(char c);
    void SetEvtChar(char c);

  private:
    void changed();
    TThreadComm* owner_;
    char xOn_ = 17;
    char xOff_ = 19;
    char error_ = 0;
    char eof_ = 0;
    char evt_ = 0;
};

class TThreadComm {
  public:
    using NotifyEvent = std::function<void(TThreadComm& sender)>;
    using ErrorEvent = std::function<void(TThreadComm& sender, std::uint32_t errors)>;
    using RxCharEvent = std::function<void(TThreadComm& sender, std::uint32_t count)>;
    using ComStatEvent =
        std::function<void(TThreadComm& sender, std::uint32_t status, const TComStat& stat)>;

    explicit TThreadComm(base::WindowThreadPoster& poster);
    virtual ~TThreadComm();
    TThreadComm(const TThreadComm&) = delete;
    TThreadComm& operator=(const TThreadComm&) = delete;

    // Properties.
    const std::string& DeviceName() const { return deviceName_; }
    void SetDeviceName(const std::string& name);
    std::uint32_t ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(std::uint32_t ms) { readTimeout_ = ms; }
    std::uint32_t WriteTimeout() const { return writeTimeout_; }
    void SetWriteTimeout(std::uint32_t ms) { writeTimeout_ = ms; }
    std::uint16_t ReadBufSize() const { return readBufSize_; }
    void SetReadBufSize(std::uint16_t size);
    std::uint16_t WriteBufSize() const { return writeBufSize_; }
    void SetWriteBufSize(std::uint16_t size);
    std::uint32_t SuspendTime() const { return suspendTime_; }
    void SetSuspendTime(std::uint32_t time);
    TCommEventTypes MonitorEvents() const { return monitorEvents_; }
    void SetMonitorEvents(TCommEventTypes events);
    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate rate);
    TParity Parity() const { return parity_; }
    void SetParity(TParity parity);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits bits);
    TDataBits DataBits() const { return dataBits_; }
    void SetDataBits(TDataBits bits);
    TFlowControl FlowControl() const { return flowControl_; }
    void SetFlowControl(TFlowControl flow);
    TCommOptions Options() const { return options_; }
    void SetOptions(TCommOptions options);
    TCommEventChars& EventChars() { return eventChars_; }
    const TCommEventChars& EventChars() const { return eventChars_; }

    // Handlers, run on the window's thread.
    NotifyEvent OnBreak, OnCts, OnDsr, OnRing, OnRlsd, OnRxFlag, OnTxEmpty;
    ErrorEvent OnError;
    RxCharEvent OnRxChar;
    ComStatEvent OnComStatEvent;

    // Opens the device, applies the line settings and starts the event thread.
    // Raises "Port already assigned (open) (Error: -1)" on an open port.
    void Open();
    // Detaches the handlers from the event thread, stops it and closes the
    // device. No event reaches a handler after Close has returned. Safe to
    // call from inside a handler of this port.
    void Close();
    bool Connected() const { return fd_ >= 0; }
    // Bytes written (0 when the line takes nothing now), -1 when closed. Never blocks.
    int Write(const void* buffer, int count);
    // Bytes read, -1 when closed. Never blocks.
    int Read(void* buffer, int count);
    void SetDTR(bool on);
    void SetRTS(bool on);

    // Why the last Open left the port closed (errno; 0 after a good open).
    int lastOpenError() const { return lastOpenError_; }
    // The descriptor while open (for the tests), -1 when closed.
    int handle() const { return fd_; }

    // Re-programs an open line from the properties; nothing while closed.
    // Raises "Error updating DataControlBlock (Error: %d)" when the line
    // refuses the settings.
    void ApplyLineSettings();

  protected:
    // Opens the device file; returns the descriptor or -1 with errno set.
    virtual int OpenDevice();

  private:
    friend class TCommEventThread;
    // Runs the handlers of one event on the window's thread; true when the
    // device turned out to be gone.
    bool DispatchCommEvent(std::uint32_t mask, std::uint32_t errors);
    void applyLocked();

    int fd_ = -1;
    std::string deviceName_ = "/dev/ttyS1";
    mutable std::recursive_mutex lock_;
    std::uint32_t readTimeout_ = 1000;
    std::uint32_t writeTimeout_ = 1000;
    std::uint16_t readBufSize_ = 4096;
    std::uint16_t writeBufSize_ = 2048;
    std::uint32_t suspendTime_ = 5;
    TCommEventTypes monitorEvents_ = kAllCommEvents;
    TBaudRate baudRate_ = TBaudRate::br9600;
    TParity parity_ = TParity::paNone;
    TStopBits stopBits_ = TStopBits::sb10;
    TDataBits dataBits_ = TDataBits::da8;
    TCommEventChars eventChars_{this};
    TCommOptions options_ = 0;
    TFlowControl flowControl_ = TFlowControl::fcDefault;
    int lastOpenError_ = 0;
    std::size_t bytesRead_ = 0;  // by the handlers of the event being dispatched
    base::HandOverGate gate_;
    std::unique_ptr<TCommEventThread> thread_;
};

class TComm : public TThreadComm {
  public:
    using TThreadComm::TThreadComm;
};

}  // namespace norq::comm
