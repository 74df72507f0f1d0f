#include "app/UnbuiltItems.h"

#include <QAction>
#include <QEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>
#include <QWidget>
#include <array>

namespace norq::app {

namespace {

constexpr const char* kNoteProperty = "unbuiltNote";

// One line per item whose action is not built yet. Delete the line when the
// action lands; nothing else needs to change. (Every item is built today; the
// size goes up again with the first new line.)
constexpr std::array<UnbuiltItem, 0> kUnbuiltItems{};

QString WithNote(const QString& ownText, const QString& note) {
    return ownText.isEmpty() ? note : ownText + QLatin1Char('\n') + note;
}

// Shows a status image's tooltip with the note added, whatever tooltip the
// window has given the image since.
class StatusImageNote final : public QObject {
  public:
    explicit StatusImageNote(QWidget* image) : QObject(image) {
        setObjectName(QStringLiteral("UnbuiltNote"));
        image->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
        auto* image = static_cast<QWidget*>(watched);
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), UnbuiltToolTip(image),
                           image);
        return true;
    }
};

void DisableAction(QAction* action, const QString& note) {
    action->setEnabled(false);
    action->setToolTip(note);
    // Menus show the tooltips of their items only when asked to.
    for (QObject* parent = action->parent(); parent != nullptr; parent = parent->parent()) {
        if (auto* menu = qobject_cast<QMenu*>(parent)) menu->setToolTipsVisible(true);
    }
    for (QObject* widget : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(widget)) menu->setToolTipsVisible(true);
    }
}

}  // namespace

std::span<const UnbuiltItem> UnbuiltItems() {
    return kUnbuiltItems;
}

bool IsUnbuilt(const QString& name) {
    for (const UnbuiltItem& item : kUnbuiltItems) {
        if (name == QLatin1String(item.name)) return true;
    }
    return false;
}

void DisableUnbuiltItems(QWidget* window, const QString& note) {
    for (const UnbuiltItem& item : kUnbuiltItems) {
        const QString name = QString::fromLatin1(item.name);
        if (auto* action = window->findChild<QAction*>(name)) {
            DisableAction(action, note);
            continue;
        }
        auto* widget = window->findChild<QWidget*>(name);
        if (widget == nullptr) continue;
        if (item.kind == UnbuiltKind::StatusImage) {
            widget->setProperty(kNoteProperty, note);
            if (widget->findChild<StatusImageNote*>(QString(), Qt::FindDirectChildrenOnly) ==
                nullptr) {
                new StatusImageNote(widget);
            }
            continue;
        }
        // The tool button's own hint stays in front of the note.
        const QString previous = widget->property(kNoteProperty).toString();
        QString own = widget->toolTip();
        if (!previous.isEmpty() && own.endsWith(previous)) {
            own.chop(previous.size());
            if (own.endsWith(QLatin1Char('\n'))) own.chop(1);
        }
        widget->setProperty(kNoteProperty, note);
        widget->setToolTip(WithNote(own, note));
        widget->setEnabled(false);
    }
}

QString UnbuiltToolTip(const QWidget* widget) {
    const QString note = widget->property(kNoteProperty).toString();
    if (note.isEmpty() || widget->findChild<QObject*>(QStringLiteral("UnbuiltNote")) == nullptr) {
        return widget->toolTip();
    }
    return WithNote(widget->toolTip(), note);
}

}  // namespace norq::app
