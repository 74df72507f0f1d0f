#include "app/ViewFollow.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <cstdlib>

namespace norq::app {

ViewFollow::ViewFollow(QAbstractItemView* view)
    : QObject(view), view_(view), badge_(new QLabel(view)), quiet_(new QTimer(this)) {
    badge_->setObjectName(view->objectName() + QStringLiteral("FollowPaused"));
    badge_->setAutoFillBackground(true);
    badge_->setStyleSheet(
        QStringLiteral("QLabel { background: #fff4c2; color: #3a2e00; border: 1px solid #b89b2a;"
                       " border-radius: 3px; padding: 1px 6px; }"));
    badge_->hide();
    quiet_->setSingleShot(true);
    quiet_->setInterval(kQuietMilliseconds);
    connect(quiet_, &QTimer::timeout, this, &ViewFollow::onQuiet);
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    // Pointer moves without a button count as use of the view too.
    view->viewport()->setMouseTracking(true);
    // Only scrolling through the rows takes over the view: following keeps the
    // columns the user has scrolled to.
    connect(view->verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            &ViewFollow::onScrollAction);
    if (QAbstractItemModel* model = view->model()) {
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &ViewFollow::saveScroll);
        connect(model, &QAbstractItemModel::modelReset, this, &ViewFollow::restoreScroll);
    }
}

void ViewFollow::setTexts(const QString& badge, const QString& hint) {
    badge_->setText(QStringLiteral("\u2016 ") + badge);
    badge_->setToolTip(hint);
    badge_->adjustSize();
    placeBadge();
}

void ViewFollow::setQuietInterval(int milliseconds) {
    quiet_->setInterval(milliseconds);
}

void ViewFollow::select(const QModelIndex& index, QItemSelectionModel::SelectionFlags flags) {
    if (!view_) return;
    QItemSelectionModel* selection = view_->selectionModel();
    // The view scrolls to a new current index by itself while auto-scroll is on.
    const bool follow = !paused() && !holding();
    const bool autoScroll = view_->hasAutoScroll();
    QScrollBar* columns = view_->horizontalScrollBar();
    const int column = columns->value();
    programmatic_ = true;
    view_->setAutoScroll(follow && autoScroll);
    selection->setCurrentIndex(index, flags);
    if (follow && index.isValid()) view_->scrollTo(index);
    view_->setAutoScroll(autoScroll);
    columns->setValue(column);
    programmatic_ = false;
}

void ViewFollow::clearSelection() {
    if (view_) view_->selectionModel()->clear();
}

bool ViewFollow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Enter:
            if (watched == view_) {
                pointerInside_ = true;
                userActivity();
            }
            break;
        case QEvent::Leave:
            if (watched == view_) {
                pointerInside_ = false;
                setPauses(false, scrollPause_);
            }
            break;
        case QEvent::MouseMove:
        case QEvent::HoverMove:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
            pointerInside_ = true;
            userActivity();
            break;
        case QEvent::Resize:
            if (watched == view_) placeBadge();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void ViewFollow::userActivity() {
    quiet_->start();
    setPauses(pointerInside_, scrollPause_);
}

void ViewFollow::onScrollAction() {
    if (!view_ || programmatic_) return;
    QScrollBar* bar = view_->verticalScrollBar();
    if (!scrollPause_) {
        // The value has not moved yet: it is where the view was when the user
        // took over.
        anchorValue_ = bar->value();
        quiet_->start();
        setPauses(pointerPause_, true);
        return;
    }
    quiet_->start();
    // Back where it was (within one step): follow again.
    if (std::abs(bar->sliderPosition() - anchorValue_) <= bar->singleStep()) {
        setPauses(pointerPause_, false);
    }
}

void ViewFollow::onQuiet() {
    setPauses(false, false);
}

void ViewFollow::setPauses(bool pointer, bool scrolling) {
    const bool before = paused();
    pointerPause_ = pointer;
    scrollPause_ = scrolling;
    const bool now = paused();
    if (before == now) return;
    badge_->setVisible(now);
    if (now) {
        placeBadge();
        badge_->raise();
    } else {
        resume();
    }
    Q_EMIT pausedChanged(now);
}

void ViewFollow::resume() {
    if (!view_ || holding()) return;
    const QModelIndex current = view_->selectionModel()->currentIndex();
    if (!current.isValid()) return;
    QScrollBar* columns = view_->horizontalScrollBar();
    const int column = columns->value();
    programmatic_ = true;
    view_->scrollTo(current);
    columns->setValue(column);
    programmatic_ = false;
}

void ViewFollow::placeBadge() {
    if (!view_) return;
    const QRect area = view_->viewport()->geometry();
    badge_->adjustSize();
    badge_->move(area.right() - badge_->width() - 4, area.top() + 4);
}

void ViewFollow::saveScroll() {
    if (!view_) return;
    savedVertical_ = view_->verticalScrollBar()->value();
    savedHorizontal_ = view_->horizontalScrollBar()->value();
}

void ViewFollow::restoreScroll() {
    if (!view_) return;
    // The rows are back after the reset: lay them out at once (which sets the
    // scroll ranges) and keep the view where it was.
    programmatic_ = true;
    view_->doItemsLayout();
    view_->verticalScrollBar()->setValue(savedVertical_);
    view_->horizontalScrollBar()->setValue(savedHorizontal_);
    programmatic_ = false;
}

}  // namespace norq::app
