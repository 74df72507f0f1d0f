#include "app/WindowSettings.h"

#include <optional>

namespace norq::app {

namespace {

std::optional<int> ReadRanged(const IniFile& file, std::string_view key, int min, int max) {
    const std::optional<std::string> text = file.value(kWindowSection, key);
    if (!text) return std::nullopt;
    const std::optional<int> number = ParseProfileInt(*text);
    if (!number || *number < min || *number > max) return std::nullopt;
    return number;
}

void ReadSwitch(const IniFile& file, std::string_view key, bool& field) {
    if (const std::optional<int> value = ReadRanged(file, key, 0, 1)) field = *value != 0;
}

}  // namespace

void ReadWindowSettings(const IniFile& file, WindowSettings& window) {
    const std::optional<int> left = ReadRanged(file, "Left", -kMaxWindowOffset, kMaxWindowOffset);
    const std::optional<int> top = ReadRanged(file, "Top", -kMaxWindowOffset, kMaxWindowOffset);
    const std::optional<int> width = ReadRanged(file, "Width", kMinWindowExtent, kMaxWindowExtent);
    const std::optional<int> height =
        ReadRanged(file, "Height", kMinWindowExtent, kMaxWindowExtent);
    if (left && top && width && height) {
        window.left = *left;
        window.top = *top;
        window.width = *width;
        window.height = *height;
    }
    ReadSwitch(file, "Maximized", window.maximised);
    if (const std::optional<std::string> folder = file.value(kWindowSection, "LastReplayFolder")) {
        window.lastReplayFolder = *folder;
    }
    if (const std::optional<int> column =
            ReadRanged(file, "GridSortColumn", -1, kGridColumns - 1)) {
        window.gridSortColumn = *column;
    }
    ReadSwitch(file, "GridSortDescending", window.gridSortDescending);
    ReadSwitch(file, "GridDangerousFirst", window.gridDangerousFirst);
}

void WriteWindowSettings(IniFile& file, const WindowSettings& window) {
    if (window.hasGeometry()) {
        file.writeInt(kWindowSection, "Left", window.left);
        file.writeInt(kWindowSection, "Top", window.top);
        file.writeInt(kWindowSection, "Width", window.width);
        file.writeInt(kWindowSection, "Height", window.height);
    }
    file.writeInt(kWindowSection, "Maximized", window.maximised ? 1 : 0);
    file.writeString(kWindowSection, "LastReplayFolder", window.lastReplayFolder);
    file.writeInt(kWindowSection, "GridSortColumn", window.gridSortColumn);
    file.writeInt(kWindowSection, "GridSortDescending", window.gridSortDescending ? 1 : 0);
    file.writeInt(kWindowSection, "GridDangerousFirst", window.gridDangerousFirst ? 1 : 0);
}

IniFile::LoadResult LoadViewerSettingsFile(const std::string& path, ViewerSettings& settings) {
    IniFile file;
    const IniFile::LoadResult result = file.load(path);
    ReadSettings(file, settings);
    ReadWindowSettings(file, settings.window);
    return result;
}

bool SaveViewerSettingsFile(const std::string& path, const ViewerSettings& settings) {
    IniFile file;
    file.load(path);
    WriteSettings(file, settings);
    WriteWindowSettings(file, settings.window);
    return file.save(path);
}

}  // namespace norq::app
