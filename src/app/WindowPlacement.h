// Where the main window opens and what it keeps of its place: the first size fits
// the screen's available area (the screen less its panels), a kept place is used
// again while it still lies on a screen. (Leaving full screen returns to the
// state before it: TForm1::followWindowState.)
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include "app/WindowSettings.h"

class QWidget;

namespace norq::app {

// The size the window takes on a screen with room to spare.
inline constexpr QSize kPreferredWindowSize{1440, 900};
// Room left around the window for the window manager's frame and title bar.
inline constexpr QSize kFrameAllowance{16, 48};
// At least this much of a kept window must lie on a screen for it to be used again.
inline constexpr QSize kMinVisiblePart{200, 100};

// The preferred size, shrunk to the available area less the frame allowance
// (never below the window's minimum), centred in the area.
QRect FirstWindowGeometry(const QRect& available, const QSize& minimum);

// The kept geometry moved and shrunk into the available area of the screen it
// lies on most; the first geometry on the primary area (the first of the list)
// when nothing is kept or the kept place is off every screen.
QRect PlacedWindowGeometry(const WindowSettings& kept, const QList<QRect>& availableAreas,
                           const QSize& minimum);

// Sets the window's geometry and state from the settings before it is shown.
void ApplyWindowPlacement(QWidget& window, const WindowSettings& kept);
// Keeps the window's normal geometry and whether it is maximised.
void KeepWindowPlacement(const QWidget& window, WindowSettings& kept);

}  // namespace norq::app
