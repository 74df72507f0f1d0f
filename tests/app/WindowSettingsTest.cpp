// The main window's own keys in the settings file: kept as a whole, checked on
// reading so that a damaged file cannot place the window off every screen or
// sort the grid by a column that does not exist.
#include <gtest/gtest.h>

#include "app/BaseNames.h"
#include "app/WindowSettings.h"
#include "base/TempFolder.h"

namespace norq::app {
namespace {

TEST(WindowSettings, RoundTripKeepsPlaceStateFolderAndSort) {
    TempFolder folder;
    const std::string path = folder.path("NorqAisViewer.ini");
    ViewerSettings settings;
    settings.window = {-20, 35, 1400, 880, true, "/home/watch/recordings", 7, true, true};
    ASSERT_TRUE(SaveViewerSettingsFile(path, settings));
    ViewerSettings back;
    LoadViewerSettingsFile(path, back);
    const WindowSettings& w = back.window;
    EXPECT_EQ(w.left, -20);
    EXPECT_EQ(w.top, 35);
    EXPECT_EQ(w.width, 1400);
    EXPECT_EQ(w.height, 880);
    EXPECT_TRUE(w.maximised);
    EXPECT_EQ(w.lastReplayFolder, "/home/watch/recordings");
    EXPECT_EQ(w.gridSortColumn, 7);
    EXPECT_TRUE(w.gridSortDescending);
    EXPECT_TRUE(w.gridDangerousFirst);
}

TEST(WindowSettings, TheViewerFileKeepsTheSharedKeysAndAddsTheWindowRecordAfterThem) {
    TempFolder folder;
    const std::string path = folder.path("NorqAisViewer.ini");
    folder.write("NorqAisViewer.ini", "; kept by hand\n[MAIN_WINDOW]\nWidth=900\nOther=7\n");
    ViewerSettings settings;
    settings.cpaLimit = 3;
    settings.window.lastReplayFolder = "/srv/logs";
    ASSERT_TRUE(SaveViewerSettingsFile(path, settings));
    const std::string text = folder.read("NorqAisViewer.ini");
    // A record already in the file stays where it was, with the keys the viewer does not know.
    EXPECT_EQ(text.find("; kept by hand\n[MAIN_WINDOW]\n"), 0u) << text;
    EXPECT_NE(text.find("Other=7\n"), std::string::npos);
    EXPECT_NE(text.find("[CPA]\nCPA=3\n"), std::string::npos);

    ViewerSettings back;
    ASSERT_EQ(LoadViewerSettingsFile(path, back), IniFile::LoadResult::Loaded);
    EXPECT_EQ(back.cpaLimit, 3);
    EXPECT_EQ(back.window.lastReplayFolder, "/srv/logs");

    // A fresh file gets the window record after the shared keys.
    const std::string fresh = folder.path("fresh.ini");
    ASSERT_TRUE(SaveViewerSettingsFile(fresh, settings));
    const std::string freshText = folder.read("fresh.ini");
    EXPECT_GT(freshText.find("[MAIN_WINDOW]"), freshText.find("[WIZARD]")) << freshText;
}

TEST(WindowSettings, DamagedValuesKeepTheDefaults) {
    TempFolder folder;
    folder.write("NorqAisViewer.ini",
                 "[MAIN_WINDOW]\nLeft=10\nTop=10\nWidth=50\nHeight=700\nMaximized=7\n"
                 "GridSortColumn=23\nGridSortDescending=x\n");
    ViewerSettings settings;
    LoadViewerSettingsFile(folder.path("NorqAisViewer.ini"), settings);
    // A width below the smallest window drops the whole place, not only the width.
    EXPECT_FALSE(settings.window.hasGeometry());
    EXPECT_EQ(settings.window.left, 0);
    EXPECT_FALSE(settings.window.maximised);
    EXPECT_EQ(settings.window.gridSortColumn, -1);
    EXPECT_FALSE(settings.window.gridSortDescending);

    folder.write("NorqAisViewer.ini", "[MAIN_WINDOW]\nLeft=10\nTop=10\nWidth=900\n");
    ViewerSettings partial;
    LoadViewerSettingsFile(folder.path("NorqAisViewer.ini"), partial);
    EXPECT_FALSE(partial.window.hasGeometry());
}

}  // namespace
}  // namespace norq::app
