// What the main window keeps of itself between runs, in the settings file's
// [MAIN_WINDOW] section: its place and size, whether it was maximised, the
// folder of the last replayed file and the sort of the target grid.
#pragma once

#include <string>

#include "app/BaseNames.h"
#include "base/IniFile.h"
#include "base/Settings.h"

namespace norq::app {

inline constexpr std::string_view kWindowSection = "MAIN_WINDOW";
inline constexpr int kMinWindowExtent = 200;    // pixels; smaller reads as "not kept"
inline constexpr int kMaxWindowExtent = 16384;  // pixels
inline constexpr int kMaxWindowOffset = 32767;  // pixels, either sign
inline constexpr int kGridColumns = 23;

struct WindowSettings {
    // The normal (not maximised, not full-screen) geometry; width 0 until kept.
    int left = 0;                     // Left
    int top = 0;                      // Top
    int width = 0;                    // Width
    int height = 0;                   // Height
    bool maximised = false;           // Maximized
    std::string lastReplayFolder;     // LastReplayFolder: empty = none yet
    int gridSortColumn = -1;          // GridSortColumn: -1 = entry order
    bool gridSortDescending = false;  // GridSortDescending
    bool gridDangerousFirst = false;  // GridDangerousFirst

    bool hasGeometry() const { return width > 0 && height > 0; }
};

// A missing, malformed or out-of-range key keeps the field's value; the place and
// size are taken only as a whole.
void ReadWindowSettings(const IniFile& file, WindowSettings& window);
void WriteWindowSettings(IniFile& file, const WindowSettings& window);

// What the viewer keeps in its settings file: the settings every subsystem reads, and the
// main window's own record beside them.
struct ViewerSettings : base::Settings {
    WindowSettings window;  // [MAIN_WINDOW]
};

// The settings file as a whole, [MAIN_WINDOW] included: a missing or unreadable file reads
// as all defaults; the writer re-reads the file first so that every key it does not write
// stays as it is.
IniFile::LoadResult LoadViewerSettingsFile(const std::string& path, ViewerSettings& settings);
bool SaveViewerSettingsFile(const std::string& path, const ViewerSettings& settings);

}  // namespace norq::app
