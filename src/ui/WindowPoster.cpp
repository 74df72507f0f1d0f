#include "ui/WindowPoster.h"

#include <QMetaObject>

namespace norq::ui {

QtWindowPoster::QtWindowPoster() : context_(std::make_unique<QObject>()) {
    context_->setObjectName(QStringLiteral("LinkHandOver"));
}

QtWindowPoster::~QtWindowPoster() = default;

void QtWindowPoster::post(std::function<void()> task) {
    QMetaObject::invokeMethod(context_.get(), std::move(task), Qt::QueuedConnection);
}

}  // namespace norq::ui
