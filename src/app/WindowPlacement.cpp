#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace norq::app {

namespace {

QSize Fit(const QSize& wanted, const QSize& room, const QSize& minimum) {
    return {
        std::max(std::min(wanted.width(), room.width()), std::min(minimum.width(), room.width())),
        std::max(std::min(wanted.height(), room.height()),
                 std::min(minimum.height(), room.height()))};
}

// The rectangle moved (not resized) so that it lies inside the area, as far as
// its size lets it.
QRect MovedInto(QRect rect, const QRect& area) {
    if (rect.right() > area.right()) rect.moveRight(area.right());
    if (rect.bottom() > area.bottom()) rect.moveBottom(area.bottom());
    if (rect.left() < area.left()) rect.moveLeft(area.left());
    if (rect.top() < area.top()) rect.moveTop(area.top());
    return rect;
}

int OverlapArea(const QRect& a, const QRect& b) {
    const QRect overlap = a.intersected(b);
    return overlap.isEmpty() ? 0 : overlap.width() * overlap.height();
}

QList<QRect> AvailableAreas() {
    QList<QRect> areas;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        areas.append(primary->availableGeometry());
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen()) areas.append(screen->availableGeometry());
    }
    return areas;
}

}  // namespace

QRect FirstWindowGeometry(const QRect& available, const QSize& minimum) {
    const QSize room = available.size() - kFrameAllowance;
    QRect rect(QPoint(0, 0), Fit(kPreferredWindowSize, room, minimum));
    rect.moveCenter(available.center());
    return MovedInto(rect, available);
}

QRect PlacedWindowGeometry(const WindowSettings& kept, const QList<QRect>& availableAreas,
                           const QSize& minimum) {
    if (availableAreas.isEmpty()) return QRect(QPoint(0, 0), kPreferredWindowSize);
    if (!kept.hasGeometry()) return FirstWindowGeometry(availableAreas.front(), minimum);
    const QRect stored(kept.left, kept.top, kept.width, kept.height);
    const QRect* best = nullptr;
    int bestOverlap = 0;
    for (const QRect& area : availableAreas) {
        const QRect overlap = stored.intersected(area);
        if (overlap.width() < kMinVisiblePart.width() ||
            overlap.height() < kMinVisiblePart.height()) {
            continue;
        }
        if (OverlapArea(stored, area) > bestOverlap) {
            bestOverlap = OverlapArea(stored, area);
            best = &area;
        }
    }
    if (best == nullptr) return FirstWindowGeometry(availableAreas.front(), minimum);
    const QSize room = best->size() - kFrameAllowance;
    return MovedInto(QRect(stored.topLeft(), Fit(stored.size(), room, minimum)), *best);
}

void ApplyWindowPlacement(QWidget& window, const WindowSettings& kept) {
    window.setGeometry(PlacedWindowGeometry(kept, AvailableAreas(), window.minimumSizeHint()));
    if (kept.maximised) window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void KeepWindowPlacement(const QWidget& window, WindowSettings& kept) {
    const Qt::WindowStates state = window.windowState();
    QRect normal = window.normalGeometry();
    const bool plain = !(state & (Qt::WindowMaximized | Qt::WindowFullScreen));
    if (plain || !normal.isValid() || normal.isEmpty()) normal = window.geometry();
    if (normal.width() >= kMinWindowExtent && normal.height() >= kMinWindowExtent) {
        kept.left = normal.left();
        kept.top = normal.top();
        kept.width = normal.width();
        kept.height = normal.height();
    }
    kept.maximised = (state & Qt::WindowMaximized) != 0;
}

}  // namespace norq::app
