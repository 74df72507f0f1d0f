#include "ui/WindowThread.h"

#include <QMetaObject>
#include <QPointer>
#include <QThread>

namespace norq::ui {

bool RunOnWindowThread(QObject* context, const std::function<void()>& handler) {
    if (context == nullptr) return false;
    if (QThread::currentThread() == context->thread()) {
        handler();
        return true;
    }
    QPointer<QObject> guard(context);
    return QMetaObject::invokeMethod(
        context,
        [guard, &handler] {
            if (guard) handler();
        },
        Qt::BlockingQueuedConnection);
}

}  // namespace norq::ui
