// How the link threads reach the window's thread. A link's worker thread only
// waits for its descriptor; every event it sees is handed to the window's
// thread through a HandOverGate, and the worker waits until the handler there
// has returned. Only the window's thread touches state.
//
// The gate can be closed by the window's thread at any moment, also from inside
// a handler the gate is running: a worker waiting in handOver() then returns at
// once, and no handler of that gate runs after close() has returned. That is
// what lets a link's Close join its worker without ever deadlocking against a
// hand-over in flight.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace norq::base {

// Runs tasks on the window's thread. The viewer's implementation posts them to
// the Qt event loop (ui/WindowThread.h); the tools and tests use EventLoop.
class WindowThreadPoster {
  public:
    virtual ~WindowThreadPoster() = default;
    // Queues `task` to run on the window's thread and returns at once. Safe to
    // call from any thread.
    virtual void post(std::function<void()> task) = 0;
};

// One worker's synchronous hand-over to the window's thread.
class HandOverGate {
  public:
    explicit HandOverGate(WindowThreadPoster& poster);
    ~HandOverGate();
    HandOverGate(const HandOverGate&) = delete;
    HandOverGate& operator=(const HandOverGate&) = delete;

    // Worker thread: runs `handler` on the window's thread and returns true
    // once it has returned there; false (at once, or as soon as the gate is
    // closed) when the gate is or becomes closed before the handler ran to its
    // end.
    bool handOver(std::function<void()> handler);

    // Window's thread: opens the gate for a new session of its link. Tasks of
    // an earlier session that are still queued never run.
    void open();
    // Window's thread: closes the gate; waiting workers return false, queued
    // handlers are skipped.
    void close();
    bool isOpen() const;

  private:
    struct Session;
    WindowThreadPoster& poster_;
    std::shared_ptr<Session> session_;
};

// A plain event loop standing in for the window's thread where there is no
// window: the command-line tool and the tests run one on their main thread.
class EventLoop final : public WindowThreadPoster {
  public:
    void post(std::function<void()> task) override;
    // Runs the queued tasks (and those they queue) until none is left; returns
    // how many ran.
    int runPending();
    // Runs tasks as they come until `timeout` has passed or `done` is true
    // (checked after every task and at least every 10 ms).
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    void runFor(std::chrono::milliseconds duration);
    // Makes a waiting runUntil/runFor look at `done` again at once.
    void wake();

  private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> tasks_;
    bool woken_ = false;
};

}  // namespace norq::base
