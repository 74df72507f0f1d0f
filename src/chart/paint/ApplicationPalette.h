// The colour scheme applied to the application's own windows: in the dark
// schemes every interface colour takes its palette role, in the day schemes the
// palette the application started with comes back. The desktop's colours are
// never touched.
#pragma once

#include <QPalette>

#include "chart/ChartPalette.h"

namespace norq::chart {

// The application's palette as it was before the first dark scheme.
const QPalette& StartupApplicationPalette();
// The desktop colours of the day schemes' roles 0..5, read from a palette.
DesktopColours DesktopColoursOf(const QPalette& palette);
// The palette the application's windows take in the palette's scheme.
QPalette ApplicationPaletteFor(const ChartPalette& palette);
// Sets it on the application.
void ApplyApplicationPalette(const ChartPalette& palette);

}  // namespace norq::chart
