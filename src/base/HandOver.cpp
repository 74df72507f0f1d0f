#include "base/HandOver.h"

namespace norq::base {

// One session of a gate: from open() to close(). Tasks carry the session they
// were posted in, so a task of an earlier session finds it closed.
struct HandOverGate::Session {
    std::mutex mutex;
    std::condition_variable done;
    bool closed = false;
};

namespace {

struct Call {
    std::function<void()> handler;
    bool finished = false;
};

}  // namespace

HandOverGate::HandOverGate(WindowThreadPoster& poster) : poster_(poster) {
    session_ = std::make_shared<Session>();
    session_->closed = true;
}

HandOverGate::~HandOverGate() {
    close();
}

void HandOverGate::open() {
    close();
    session_ = std::make_shared<Session>();
}

void HandOverGate::close() {
    const std::shared_ptr<Session> session = session_;
    {
        std::lock_guard<std::mutex> guard(session->mutex);
        session->closed = true;
    }
    session->done.notify_all();
}

bool HandOverGate::isOpen() const {
    std::lock_guard<std::mutex> guard(session_->mutex);
    return !session_->closed;
}

bool HandOverGate::handOver(std::function<void()> handler) {
    // The worker reads the session pointer only here; open() and close() run on
    // the window's thread while no worker of the previous session is running.
    const std::shared_ptr<Session> session = session_;
    auto call = std::make_shared<Call>();
    call->handler = std::move(handler);
    {
        std::lock_guard<std::mutex> guard(session->mutex);
        if (session->closed) return false;
    }
    poster_.post([session, call] {
        {
            std::lock_guard<std::mutex> guard(session->mutex);
            if (session->closed) return;
        }
        // The handler may close the gate (a link closing itself): the worker
        // then stops waiting, and the call keeps its own copy of the handler.
        call->handler();
        {
            std::lock_guard<std::mutex> guard(session->mutex);
            call->finished = true;
        }
        session->done.notify_all();
    });
    std::unique_lock<std::mutex> lock(session->mutex);
    session->done.wait(lock, [&] { return call->finished || session->closed; });
    return call->finished && !session->closed;
}

// ---- EventLoop -------------------------------------------------------------

void EventLoop::post(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        tasks_.push_back(std::move(task));
    }
    ready_.notify_one();
}

void EventLoop::wake() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        woken_ = true;
    }
    ready_.notify_one();
}

int EventLoop::runPending() {
    int ran = 0;
    while (true) {
        std::function<void()> task;
        {
            std::lock_guard<std::mutex> guard(mutex_);
            if (tasks_.empty()) return ran;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
        ++ran;
    }
}

bool EventLoop::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (true) {
        runPending();
        if (done && done()) return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) return false;
        std::unique_lock<std::mutex> lock(mutex_);
        const auto slice =
            std::min<std::chrono::steady_clock::duration>(end - now, std::chrono::milliseconds(10));
        ready_.wait_for(lock, slice, [this] { return !tasks_.empty() || woken_; });
        woken_ = false;
    }
}

void EventLoop::runFor(std::chrono::milliseconds duration) {
    runUntil({}, duration);
}

}  // namespace norq::base
