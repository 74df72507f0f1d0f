// The tracks in the viewer: target tracks from the tracker's follow-ups and the
// target popup, the own ship's recording through the one-second step, the track
// page of the navigation manager and the track properties window, on real files.
// With NORQ_SCREENSHOT_DIR set, the chart and the windows are saved there.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "AisLines.h"
#include "ViewerFixture.h"
#include "app/NavigationHub.h"
#include "app/nav/NavTracks.h"
#include "chart/forms/PaintChart.h"
#include "nav/TrackList.h"

namespace norq::test {
namespace {

void Screenshot(const QPixmap& picture, const char* name) {
    const char* dir = std::getenv("NORQ_SCREENSHOT_DIR");
    if (dir == nullptr) return;
    picture.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name));
}

QString Cell(QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item == nullptr ? QString() : item->text();
}

class NavTracksTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().show();
        main().flushViews();
    }
    app::NavTracks& tracks() { return main().navigation().tracks(); }
    chart::TPaintChart& chart() { return *main().chart(); }
    QAction* item(const char* name) { return main().action(QString::fromLatin1(name)); }
    nav::TrackManagerPage& page() { return *tracks().trackPage(); }
    QPushButton* button(const char* name) {
        return page().findChild<QPushButton*>(QString::fromLatin1(name));
    }
    std::string navFolder() const { return paths_.folders.navDataFolder; }

    // One second of the run with the own ship at the position (VDO) and the
    // local clock at 08:00:00 + second.
    void ownSecond(double lon, double lat, float cog) {
        const int s = second_++;
        clock_.setLocal(
            {{2026, 12, 9},
             {static_cast<std::uint8_t>(8 + s / 3600), static_cast<std::uint8_t>(s / 60 % 60),
              static_cast<std::uint8_t>(s % 60)}});
        clock_.advance(1);
        feed(AisSentences(PositionReport({235099001, lon, lat, 11.5f, cog, 45, 0}), true));
        main().Timer1Timer();
    }
    // The own ship sails north-east for `seconds` from its last position.
    void sail(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            lon_ += 0.00006;
            lat_ += 0.00004;
            ownSecond(lon_, lat_, 45.0f);
        }
    }
    int chartTrackPixels() {
        const QImage image = main().grabChart().toImage();
        const chart::Rgb track = chart().palette()[chart::PaletteRole::Track];
        const QRgb want = qRgb(track.r, track.g, track.b);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF)) ++n;
        return n;
    }

    int second_ = 0;
    double lon_ = 1.30;
    double lat_ = 50.95;
};

TEST_F(NavTracksTest, TargetTracksFollowThePopupAndTheTable) {
    chart().setScaleIndex(7);
    chart().setCentre(1.35, 50.98);
    // Ten targets, each with five positions moving east.
    for (int p = 0; p < 5; ++p) {
        for (int t = 1; t <= 10; ++t) {
            feed(AisSentences(
                PositionReport({416000000u + t, 1.30 + p * 0.02,
                                50.94 + t * 0.006 + (p % 2) * 0.004, 8.0f, 90.0f, 90, 0})));
        }
    }
    ASSERT_EQ(tracks().rings().ring(3).size(), 5);
    // "Tracks(&T)" works now, and the popup offers the track only while it is checked.
    EXPECT_TRUE(item("mnuViewTracks")->isEnabled());
    chart::ChartCommands* commands = chart().commands();
    EXPECT_FALSE(commands->trackVisible(3));
    commands->setTrackVisible(3, true);
    EXPECT_TRUE(commands->trackVisible(3));
    EXPECT_EQ(chartTrackPixels(), 0);  // tracks not shown
    item("mnuViewTracks")->setChecked(true);
    EXPECT_GT(chartTrackPixels(), 20);
    EXPECT_EQ(tracks().targetLayer()->lastDrawnPoints(), 5);
    commands->setTrackVisible(3, false);
    EXPECT_EQ(chartTrackPixels(), 0);
    commands->setTrackVisible(3, true);
    commands->setTrackVisible(4, true);

    // Target 3 ages out: target 4's track (and its visible byte) is slot 3's now,
    // and the slot behind the last target is empty.
    clock_.advance(3000);
    for (int t = 1; t <= 10; ++t) {
        if (t == 3) continue;
        feed(AisSentences(
            PositionReport({416000000u + t, 1.32, 50.94 + t * 0.006, 8.0f, 90.0f, 90, 0})));
    }
    clock_.advance(601);
    main().Timer1Timer();
    ASSERT_EQ(main().runState().tracker.table().count(), 10);  // own + 9
    EXPECT_EQ(tracks().rings().owner(3), 416000004u);
    EXPECT_EQ(tracks().rings().ring(3).size(), 6);
    EXPECT_TRUE(commands->trackVisible(3));
    EXPECT_FALSE(commands->trackVisible(4));
    EXPECT_TRUE(tracks().rings().ring(10).empty());
    // A new target in the freed slot starts with its own, empty track.
    feed(AisSentences(PositionReport({416000099, 1.40, 51.0, 8.0f, 90.0f, 90, 0})));
    EXPECT_EQ(tracks().rings().ring(10).size(), 1);
    EXPECT_FALSE(commands->trackVisible(10));
}

TEST_F(NavTracksTest, TheOwnShipIsRecordedAndTheTrackPageWorksOnIt) {
    EXPECT_FALSE(main().findChild<QTimer*>(QStringLiteral("TimerTrack"))->isActive());
    sail(61);
    nav::TrackList& list = tracks().list();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list[0].pointCount, 7);
    const std::string file = navFolder() + list[0].fileName;
    EXPECT_EQ(std::filesystem::file_size(file), 7u * 37u);
    EXPECT_TRUE(std::filesystem::exists(navFolder() + "TrackList.csv"));

    // The page: one row with its texts and "V".
    QTableWidget* grid = page().grid();
    page().refill();
    EXPECT_EQ(grid->columnCount(), 6);
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(Cell(grid, 0, 0), QStringLiteral("1"));
    EXPECT_EQ(Cell(grid, 0, 4), QStringLiteral("000h01m00s"));
    EXPECT_EQ(Cell(grid, 0, 5), QStringLiteral("V"));
    EXPECT_TRUE(Cell(grid, 0, 2).endsWith(QStringLiteral("08:00:00")));

    // Locate centres the chart on the first point.
    chart().setCentre(10.0, 10.0);
    button("btnTrackLocate")->click();
    EXPECT_NEAR(chart().model().centre().lon, 1.30006, 1e-4);
    EXPECT_NEAR(chart().model().centre().lat, 50.95004, 1e-4);

    // "Visible" in the popup hides it and writes the list; Locate then does nothing.
    QMenu* popup = page().buildPopup(0);
    QAction* visible = popup->findChild<QAction*>(QStringLiteral("mnuTrackVisible"));
    ASSERT_NE(visible, nullptr);
    EXPECT_TRUE(visible->isChecked());
    visible->trigger();
    EXPECT_EQ(Cell(grid, 0, 5), QString());
    EXPECT_FALSE(button("btnTrackLocate")->isEnabled());
    nav::TrackList reread;
    reread.setFolder(navFolder());
    reread.load();
    ASSERT_EQ(reread.count(), 1);  // a hidden track is read back
    EXPECT_FALSE(reread[0].visible);
    chart().setCentre(10.0, 10.0);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualItemRect(grid->item(0, 1)).center());
    EXPECT_EQ(chart().model().centre().lon, 10.0);
    delete popup;
    popup = page().buildPopup(0);
    popup->findChild<QAction*>(QStringLiteral("mnuTrackVisible"))->trigger();
    delete popup;
    // "Show Tracks" unticked: no "V" and no popup entry.
    page().findChild<QCheckBox*>(QStringLiteral("chkTrackShowBox"))->setChecked(false);
    EXPECT_FALSE(tracks().ownTracksShown());
    EXPECT_EQ(Cell(grid, 0, 5), QString());
    popup = page().buildPopup(0);
    EXPECT_FALSE(popup->findChild<QAction*>(QStringLiteral("mnuTrackVisible"))->isEnabled());
    delete popup;
    page().findChild<QCheckBox*>(QStringLiteral("chkTrackShowBox"))->setChecked(true);

    // Properties: a row for every six points; a name with a comma is refused,
    // a good one saved at once.
    sail(30);  // the recording goes on into the same track
    tracks().showTrackProperties(0);
    nav::TfrmTrackProperties* window = tracks().propertiesWindow();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->grid()->rowCount(), 2);  // 7 points written: rows for 1 and 7
    EXPECT_EQ(Cell(window->grid(), 1, 1), QStringLiteral("08:01:00"));
    EXPECT_EQ(Cell(window->grid(), 0, 6), QStringLiteral("45.0"));
    EXPECT_EQ(Cell(window->grid(), 0, 5), QStringLiteral("11.50 Kn"));
    EXPECT_EQ(Cell(window->grid(), 0, 4), QStringLiteral("45.0°"));
    EXPECT_EQ(Cell(window->grid(), 0, 3), QStringLiteral(" 50°57'00\"N"));
    QLineEdit* name = window->nameEdit();
    name->clear();
    QTest::keyClicks(name, QStringLiteral("Dover, outbound"));
    EXPECT_EQ(name->text(), QStringLiteral("Dover outbound"));  // the comma is not taken
    name->setText(QStringLiteral("Dover\nCalais"));             // pasted past the editor's check
    const std::size_t shown = dialogs_.shown.size();
    window->okButton()->click();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(dialogs_.shown.size(), shown + 1);
    EXPECT_EQ(dialogs_.shown.back().text,
              QStringLiteral("A track name cannot contain a comma or a line break."));
    name->setText(QStringLiteral("Dover outbound"));
    window->okButton()->click();
    EXPECT_FALSE(window->isVisible());
    reread.load();
    EXPECT_EQ(reread[0].name, "Dover outbound");
    EXPECT_EQ(Cell(grid, 0, 1), QStringLiteral("Dover outbound"));

    // Shutdown writes the rest; the next start reads the track back.
    stop();
    start();
    main().show();
    main().flushViews();
    ASSERT_EQ(tracks().list().count(), 1);
    EXPECT_EQ(tracks().list()[0].name, "Dover outbound");
    EXPECT_EQ(tracks().list()[0].pointCount, 10);

    // Delete asks; "No" keeps it, "Yes" removes the row, the file and the line.
    tracks().trackPage()->refill();
    button("btnTrackDelete")->click();
    EXPECT_EQ(tracks().list().count(), 1);
    dialogs_.answers.push_back(ui::MessageAnswer::Yes);
    button("btnTrackDelete")->click();
    EXPECT_EQ(tracks().list().count(), 0);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(tracks().trackPage()->grid()->rowCount(), 1);  // one empty row
    EXPECT_FALSE(button("btnTrackDelete")->isEnabled());
    EXPECT_EQ(folder().read("data/NAV_Data/TrackList.csv"), "");
}

TEST_F(NavTracksTest, AReplayedLogIsNotRecorded) {
    main().replay().requestStart();  // the demo feed and every log replay
    sail(61);
    EXPECT_FALSE(tracks().recorder().recording());
    main().replay().cancelStart();
    sail(61);
    EXPECT_EQ(tracks().list().count(), 1);
}

TEST_F(NavTracksTest, AFailedWriteIsShownToTheOperator) {
    sail(61);
    ASSERT_EQ(tracks().list().count(), 1);
    tracks().list().setFolder(folder().path("no-such-folder/"));
    const std::size_t before = dialogs_.shown.size();
    tracks().toggleTrackVisible(0);
    ASSERT_EQ(dialogs_.shown.size(), before + 1);
    EXPECT_EQ(dialogs_.shown.back().icon, ui::MessageIcon::Error);
    EXPECT_TRUE(dialogs_.shown.back().text.startsWith(QStringLiteral("The track list could not")));
    // The recording's own write fails too: said once, not every minute.
    sail(130);
    ASSERT_EQ(dialogs_.shown.size(), before + 2);
    EXPECT_TRUE(dialogs_.shown.back().text.startsWith(QStringLiteral("The own ship's track")));
}

// The pictures of the docs: the chart with an earlier track from its file, the
// current recording and target tracks, the track page and the properties window.
TEST_F(NavTracksTest, Screenshots) {
    // An earlier passage, written as the recorder writes it.
    std::vector<nav::TrackRecord> earlier;
    for (int i = 0; i < 240; ++i) {
        nav::TrackRecord r;
        r.lon = 1.22 + i * 0.0006;
        r.lat = 50.90 + 0.01 * std::sin(i / 30.0) + i * 0.0002;
        r.course = 70.0f;
        r.speed = 12.0f;
        r.heading = 511.0f;
        char t[16];
        std::snprintf(t, sizeof t, "06:%02d:%02d", i * 10 / 60 % 60, i * 10 % 60);
        r.setTimeText(t);
        earlier.push_back(r);
    }
    folder().write("data/NAV_Data/Track_20261209_060000.trk", nav::EncodeTrackFile(earlier));
    nav::TrackList& list = tracks().list();
    nav::TrackEntry e;
    e.name = "Morning passage";
    e.fileName = "Track_20261209_060000.trk";
    e.startTime = "2026/12/09 06:00:00";
    e.stopTime = "2026/12/09 06:39:50";
    e.recordedSeconds = 2390;
    e.pointCount = 240;
    list.add(e);
    e.name = "Anchorage (hidden)";
    e.fileName = "Track_20261208_210000.trk";
    e.visible = false;
    list.add(e);
    ASSERT_TRUE(list.save());
    tracks().readFiles("");

    main().resize(1280, 860);
    main().setChartView(10, 0, 0);
    item("mnuViewTracks")->setChecked(true);
    // Targets around the own ship, each with a history.
    for (int p = 0; p < 40; ++p) {
        for (int t = 1; t <= 8; ++t) {
            const double a = t * 0.8;
            feed(AisSentences(PositionReport(
                {416000000u + t, 1.36 + 0.06 * std::cos(a) + p * 0.0009 * std::sin(a),
                 50.97 + 0.04 * std::sin(a) + p * 0.0006 * std::cos(a), 9.0f, 90.0f, 90, 0})));
        }
        lon_ += 0.0004;
        lat_ += 0.00025;
        for (int s = 0; s < 10; ++s)
            ownSecond(lon_, lat_, 55.0f);
    }
    for (int t = 1; t <= 8; ++t)
        chart().commands()->setTrackVisible(t, t % 3 != 0);
    chart().setCentre(1.33, 50.95);
    Screenshot(main().grabChart(), "tracks-chart.png");

    nav::TrackManagerPage& p = page();
    p.resize(660, 260);
    p.show();
    p.refill();
    p.selectRow(0);
    Screenshot(p.grab(), "tracks-page.png");
    tracks().showTrackProperties(0);
    Screenshot(tracks().propertiesWindow()->grab(), "tracks-properties.png");
    EXPECT_EQ(list.count(), 3);
}

}  // namespace
}  // namespace norq::test
