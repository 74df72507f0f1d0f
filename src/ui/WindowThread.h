// Hand-over of an event from a worker thread to the window's thread. The worker
// blocks until the handler has run on the window's thread, so only that thread
// ever touches state; there is no queue. Used by the serial and TCP/IP links.
#pragma once

#include <QObject>
#include <functional>

namespace norq::ui {

// Runs `handler` on the thread of `context` and returns when it has finished.
// Called on that thread itself, it runs the handler directly. Returns false
// when the context is gone (the handler did not run).
bool RunOnWindowThread(QObject* context, const std::function<void()>& handler);

}  // namespace norq::ui
