// Window timers: a QTimer named after the timer of the window it belongs to, so
// that the start-up, the tests and a debugger can find it by that name.
#pragma once

#include <QObject>
#include <QTimer>
#include <utility>

namespace norq::ui {

// A stopped repeating timer owned by `owner`, named `name`, that calls `handler`.
template <typename Handler>
QTimer* MakeWindowTimer(QObject* owner, const char* name, int intervalMs, Handler&& handler) {
    auto* timer = new QTimer(owner);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    timer->setTimerType(Qt::CoarseTimer);
    QObject::connect(timer, &QTimer::timeout, owner, std::forward<Handler>(handler));
    return timer;
}

}  // namespace norq::ui
