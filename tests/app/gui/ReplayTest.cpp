// Replay through the main window: the menu items and their captions, the
// 100 ms tick with PlayLog lines, pause and continue, stop and end of file, and
// what a replayed recording leaves in the ship list and the grid.
#include <QAction>
#include <QLabel>
#include <cstdio>
#include <fstream>

#include "AisLines.h"
#include "ViewerFixture.h"
#include "ais/TargetTexts.h"

namespace norq::test {
namespace {

class ReplayTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().show();
    }
    QAction* play() { return main().action(QStringLiteral("mnuPlayLog")); }
    QAction* pause() { return main().action(QStringLiteral("mnuOpenLog")); }
    // A recording of `targets` position reports, one target per line.
    QString writeRecording(int targets) {
        std::ofstream out(folder().path("replay.txt"), std::ios::binary);
        for (int i = 0; i < targets; ++i) {
            Vessel v{static_cast<std::uint32_t>(416000001 + i),
                     120.2 + i * 0.001,
                     22.6,
                     5.0f,
                     90.0f,
                     90,
                     0};
            for (const std::string& line : AisSentences(PositionReport(v)))
                out << line;
        }
        return QString::fromStdString(folder().path("replay.txt"));
    }
    int targets() { return main().runState().tracker.table().count() - 1; }
    void tick() {
        main().TimerPlayLogTimer();
        main().flushViews();
    }
};

TEST_F(ReplayTest, ARecordingFillsTheShipListAndTheGrid) {
    dialogs_.openFile = QStringLiteral(NORQ_FIXTURES "/replay-traffic.txt");
    main().settings().playLog = 100;
    main().setTargetMonitorChecked(true);
    play()->trigger();
    EXPECT_EQ(play()->text(), QStringLiteral("Stop Play ! (&S)"));
    EXPECT_TRUE(pause()->isVisible());
    EXPECT_EQ(pause()->text(), QStringLiteral("Pause Play ||(&B)"));
    EXPECT_FALSE(main().targetMonitorChecked());
    EXPECT_EQ(main().statusPanel(7), QStringLiteral("LOG:replay-traffic.txt"));

    for (int i = 0; i < 10 && main().replay().fileOpen(); ++i)
        tick();
    // The end of the file restores the menu and clears the log file name.
    EXPECT_EQ(play()->text(), QStringLiteral("Replay Log > (&P)"));
    EXPECT_FALSE(pause()->isVisible());
    EXPECT_EQ(main().statusPanel(7), QStringLiteral("LOG:"));

    const ais::TargetTable& table = main().runState().tracker.table();
    ASSERT_EQ(table.count(), 25);
    EXPECT_EQ(main().shipListCaption(), QStringLiteral("SHIP LIST : 24"));
    EXPECT_EQ(main().shipListLineCount(), 25);
    for (int i = 0; i < table.count(); ++i) {
        EXPECT_EQ(main().shipListLineText(i).toStdString(),
                  std::string(ais::ShipListLine(table[i], i).view()));
    }
    // The grid: one row per entry, the kinds of the scene, static data of class A.
    EXPECT_EQ(main().gridCellText(0, 0), QStringLiteral("Own"));
    EXPECT_EQ(main().gridCellText(1, 0), QStringLiteral("  1"));
    EXPECT_EQ(main().gridCellText(1, 1), QStringLiteral("416100000"));
    EXPECT_EQ(main().gridCellText(1, 2), QStringLiteral("[A]"));
    EXPECT_EQ(main().gridCellText(1, 5), QStringLiteral("ORIENT TRADER"));
    EXPECT_TRUE(main().gridCellText(1, 7).endsWith(QStringLiteral(" nm")));
    int atons = 0;
    int bases = 0;
    for (int row = 1; row < table.count(); ++row) {
        atons += main().gridCellText(row, 2) == QStringLiteral("[AtoN]");
        bases += main().gridCellText(row, 2) == QStringLiteral("[BASE]");
    }
    EXPECT_EQ(atons, 1);
    EXPECT_EQ(bases, 1);
    // Target Monitor off: the last applied entry is selected and shown.
    const int selected = main().listSelection();
    ASSERT_TRUE(table.valid(selected));
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtMMSI")).toUInt(), table[selected].mmsi);
}

TEST_F(ReplayTest, PlayLogLinesPerTickAndPauseKeepsThePosition) {
    dialogs_.openFile = writeRecording(10);
    main().settings().playLog = 2;
    play()->trigger();
    tick();
    EXPECT_EQ(targets(), 2);
    pause()->trigger();
    EXPECT_EQ(pause()->text(), QStringLiteral("Continue Play ..(&C)"));
    tick();
    tick();
    EXPECT_EQ(targets(), 2);
    main().setTargetMonitorChecked(true);
    pause()->trigger();
    EXPECT_EQ(pause()->text(), QStringLiteral("Pause Play ||(&B)"));
    EXPECT_FALSE(main().targetMonitorChecked());
    tick();
    EXPECT_EQ(targets(), 4);
}

TEST_F(ReplayTest, ARecordingWithTagBlockTimesPlaysAtItsOwnPace) {
    // Ten targets, one every 20 s of the recording's own time.
    {
        std::ofstream out(folder().path("timed.txt"), std::ios::binary);
        for (int i = 0; i < 10; ++i) {
            Vessel v{static_cast<std::uint32_t>(416000001 + i),
                     120.2 + i * 0.001,
                     22.6,
                     5.0f,
                     90.0f,
                     90,
                     0};
            const std::string tag = "c:" + std::to_string(1767268800 + 20 * i);
            unsigned sum = 0;
            for (char c : tag)
                sum ^= static_cast<unsigned char>(c);
            char check[8];
            std::snprintf(check, sizeof check, "*%02X\\", sum);
            for (const std::string& line : AisSentences(PositionReport(v)))
                out << "\\" << tag << check << line;
        }
    }
    dialogs_.openFile = QString::fromStdString(folder().path("timed.txt"));
    main().settings().playLog = 5;
    play()->trigger();
    // By lines, two ticks would bring ten targets; by the file's time (at most
    // five seconds of it per tick at this speed) only the first has come.
    tick();
    tick();
    EXPECT_EQ(targets(), 1);
    EXPECT_EQ(main().replay().pacing(), comm::LogReplay::Pacing::ArchiveTime);
    EXPECT_TRUE(main().replay().fileOpen());
    main().replay().stop();
}

TEST_F(ReplayTest, StopClearsTheFileNameSoTheNextStartAsksAgain) {
    dialogs_.openFile = writeRecording(3);
    play()->trigger();
    EXPECT_EQ(dialogs_.openDialogs, 1);
    play()->trigger();
    EXPECT_EQ(play()->text(), QStringLiteral("Replay Log > (&P)"));
    EXPECT_FALSE(pause()->isVisible());
    EXPECT_FALSE(main().replay().fileOpen());
    play()->trigger();
    EXPECT_EQ(dialogs_.openDialogs, 2);
}

TEST_F(ReplayTest, CancelledOrMissingFilesPlayNothing) {
    dialogs_.openFile.clear();
    play()->trigger();
    EXPECT_EQ(main().replay().playState(), comm::PlayState::Stopped);
    EXPECT_EQ(play()->text(), QStringLiteral("Replay Log > (&P)"));

    dialogs_.openFile = QString::fromStdString(folder().path("no-such-file.txt"));
    play()->trigger();
    // Starting, with nothing to play until the next click, which stops.
    EXPECT_EQ(main().replay().playState(), comm::PlayState::Starting);
    EXPECT_TRUE(pause()->isVisible());
    tick();
    EXPECT_EQ(targets(), 0);
    play()->trigger();
    EXPECT_EQ(main().replay().playState(), comm::PlayState::Stopped);
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(ReplayTest, AFileThatCannotBeOpenedIsReported) {
    dialogs_.openFile = QString::fromStdString(folder().path(""));  // a folder
    play()->trigger();
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].caption, QStringLiteral("WARNING"));
    EXPECT_TRUE(dialogs_.shown[0].text.startsWith(QStringLiteral("Log File:")));
    EXPECT_TRUE(dialogs_.shown[0].text.endsWith(QStringLiteral(" fail to open!")));
}

TEST_F(ReplayTest, StartReplayPlaysTheGivenFileWithoutTheDialog) {
    main().startReplay(writeRecording(4));
    EXPECT_EQ(dialogs_.openDialogs, 0);
    EXPECT_EQ(main().replay().playState(), comm::PlayState::Playing);
    main().settings().playLog = 10;
    tick();
    tick();
    EXPECT_EQ(targets(), 4);
    EXPECT_EQ(main().replay().playState(), comm::PlayState::Stopped);
}

}  // namespace
}  // namespace norq::test
