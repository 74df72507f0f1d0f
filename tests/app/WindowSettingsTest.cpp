// The main window's own keys in the settings file: kept as a whole, checked on
// reading so that a damaged file cannot place the window off every screen or
// sort the grid by a column that does not exist.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "app/TempFolder.h"

namespace norq::app {
namespace {

TEST(WindowSettings, RoundTripKeepsPlaceStateFolderAndSort) {
    TempFolder folder;
    const std::string path = folder.path("NorqAisViewer.ini");
    Settings settings;
    settings.window = {-20, 35, 1400, 880, true, "/home/watch/recordings", 7, true, true};
    ASSERT_TRUE(SaveSettingsFile(path, settings));
    Settings back;
    LoadSettingsFile(path, back);
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

TEST(WindowSettings, DamagedValuesKeepTheDefaults) {
    TempFolder folder;
    folder.write("NorqAisViewer.ini",
                 "[MAIN_WINDOW]\nLeft=10\nTop=10\nWidth=50\nHeight=700\nMaximized=7\n"
                 "GridSortColumn=23\nGridSortDescending=x\n");
    Settings settings;
    LoadSettingsFile(folder.path("NorqAisViewer.ini"), settings);
    // A width below the smallest window drops the whole place, not only the width.
    EXPECT_FALSE(settings.window.hasGeometry());
    EXPECT_EQ(settings.window.left, 0);
    EXPECT_FALSE(settings.window.maximised);
    EXPECT_EQ(settings.window.gridSortColumn, -1);
    EXPECT_FALSE(settings.window.gridSortDescending);

    folder.write("NorqAisViewer.ini", "[MAIN_WINDOW]\nLeft=10\nTop=10\nWidth=900\n");
    Settings partial;
    LoadSettingsFile(folder.path("NorqAisViewer.ini"), partial);
    EXPECT_FALSE(partial.window.hasGeometry());
}

}  // namespace
}  // namespace norq::app
