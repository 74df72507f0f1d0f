// Entry of the window tests: one QApplication, offscreen unless the caller chose
// another platform. The offscreen screen is 1280 x 720, the smaller of the
// screens the viewer is used on, so that the window tests see its real limits.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || std::strcmp(platform, "offscreen") == 0) {
        setenv("QT_QPA_PLATFORM",
               "offscreen:configfile=" NORQ_SOURCE_DIR "/tests/app/gui/offscreen-screen.json", 1);
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
