// The TCP/IP client link of the AIS sensor: one non-blocking TCP socket and a
// worker thread that connects it and waits with poll() on it and on a wake-up
// pipe. The worker hands every event synchronously to the window's thread:
// data ready runs OnDataReady there (which calls ReceiveData), the end of the
// connection runs OnDisconnected there. The window's thread never waits on
// the socket: connecting happens on the worker, and a host name is looked up
// on a helper of its own that nobody waits for when the link is told to stop.
//
// A connect that completes with an error, a far-end close, a receive error
// other than would-block and a failed send all end the link through
// Disconnect, which runs OnDisconnected exactly once.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "base/HandOver.h"

namespace norq::comm {

class TTCPIPClientThread {
  public:
    using Handler = std::function<void(TTCPIPClientThread& sender)>;
    // Longest host text (a dotted IPv4 address, or a short host name).
    static constexpr std::size_t kMaxHostLength = 19;
    // Bytes taken by one ReceiveData.
    static constexpr int kReceiveSize = 2500;

    enum class State : std::uint8_t { Created, Connecting, Connected, Ended };

    explicit TTCPIPClientThread(base::WindowThreadPoster& poster);
    // Ends the connection (without running OnDisconnected) and joins the worker.
    ~TTCPIPClientThread();
    TTCPIPClientThread(const TTCPIPClientThread&) = delete;
    TTCPIPClientThread& operator=(const TTCPIPClientThread&) = delete;

    // Stores a host of 1 to 19 characters and returns its length; otherwise
    // clears the host and returns -1.
    int SetHost(std::string_view host);
    // Stores a port in 0..65535; anything else is stored as -1 (not set).
    void SetPort(int port);
    const std::string& host() const { return host_; }
    int port() const { return port_; }

    Handler OnDataReady;
    Handler OnDisconnected;
    // Runs once the connection is made (the far end accepted it).
    Handler OnConnected;

    // Starts the worker, which connects. Call once, after the setters.
    void Start();
    // Sends all bytes. False when the length is 0 or less, when the link is
    // not connected (yet), when the socket takes nothing now (the link stays),
    // or when the send fails (the link then ends).
    bool SendData(const void* bytes, int length);
    // Receives up to kReceiveSize bytes into `buffer`. Returns the count, 0
    // when nothing is waiting, -1 on an error; the link ends on every error but
    // would-block, and when the far end has closed.
    int ReceiveData(char* buffer);
    // Runs OnDisconnected (once), closes the socket and stops the worker.
    // Window's thread only; safe inside a handler of this link.
    void Disconnect();

    State state() const { return state_; }
    bool connected() const { return state_ == State::Connected; }
    // The last socket error and its text ("" when none).
    int lastError() const { return lastError_; }
    const std::string& lastErrorText() const { return lastErrorText_; }

  private:
    void run();
    bool connectSocket();
    void watch();
    void fail(int error);
    void stopWorker();

    base::HandOverGate gate_;
    std::string host_;
    int port_ = -1;
    int fd_ = -1;
    int wake_[2] = {-1, -1};
    std::thread worker_;
    State state_ = State::Created;
    bool disconnected_ = false;
    std::atomic<bool> stop_{false};
    int lastError_ = 0;
    std::string lastErrorText_;
    std::uint64_t received_ = 0;  // bytes taken by ReceiveData (ends count as one)
};

}  // namespace norq::comm
