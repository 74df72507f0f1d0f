// The menu items, tool buttons and status images of the main window whose action
// is not built yet. They stay where the window's design puts them, but disabled,
// with a tooltip that says the function is not available yet, so that nothing on
// the screen looks ready and then does nothing on a click.
//
// When an action lands, delete its line from kUnbuiltItems (UnbuiltItems.cpp) in
// the same commit that connects it: that one line is all that enables the item
// again. A line whose name no longer exists fails the window test, so the list
// cannot silently go stale.
#pragma once

#include <QString>
#include <span>

class QWidget;

namespace norq::app {

enum class UnbuiltKind {
    // A menu item or tool button: disabled (greyed), with the note as its tooltip.
    Command,
    // A status image that shows a state and opens a window on a click: it keeps
    // its colours (greying it would hide the state it shows); the click does
    // nothing and the note is added to its tooltip.
    StatusImage,
};

struct UnbuiltItem {
    const char* name;  // objectName of the QAction or QWidget
    UnbuiltKind kind;
};

std::span<const UnbuiltItem> UnbuiltItems();

// Disables every listed item found below the window and gives it the note as its
// tooltip (after the item's own hint, if it has one). Run again after every
// language change, since the loader rewrites the hints.
void DisableUnbuiltItems(QWidget* window, const QString& note);

// True when the named item is listed (its click is not built).
bool IsUnbuilt(const QString& name);

// The tooltip a listed item shows: for a status image its own tooltip (which
// the window keeps setting as the state changes) followed by the note on a new
// line; for the others their tooltip.
QString UnbuiltToolTip(const QWidget* widget);

}  // namespace norq::app
