// The markers in the viewer: "Add marker here" with the marker editor, the
// marker file as the viewer writes it, the navigation manager's marker page, and
// the marker exchange with the simulated transponder over a pseudo-terminal.
// With NORQ_SCREENSHOT_DIR set, the chart and the manager are saved there as PNG.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "SimOnPty.h"
#include "ViewerFixture.h"
#include "app/NavigationHub.h"
#include "app/nav/NavMarkers.h"
#include "app/nav/NavRoutes.h"
#include "app/nav/NavTracks.h"
#include "chart/forms/PaintChart.h"
#include "comm/WizardFlow.h"
#include "comm/forms/DeviceConnections.h"
#include "nav/forms/MarkSettingForm.h"
#include "nav/forms/NavManagerForm.h"

namespace norq::test {
namespace {

QString Cell(QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item == nullptr ? QString() : item->text();
}

bool RunUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class NavMarkersTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().resize(1200, 800);
        main().show();
        main().connections().dismissStartWizard();
        main().flushViews();
    }
    app::NavMarkers& nav() { return main().navigation().markers(); }
    nav::TfrmMarkSetting& editor() { return nav().editor(); }
    nav::TfrmNavManager& manager() { return nav().manager(); }
    std::string file() const { return folder().read("data/NAV_Data/Markers.csv"); }
};

TEST_F(NavMarkersTest, AddMarkerHereShowsTheNewMarkerAndOkSavesIt) {
    EXPECT_EQ(nav().markerFile(), folder().path("data/NAV_Data/Markers.csv"));
    main().chart()->commands()->addMarkerHere(1.5, 50.25);
    ASSERT_TRUE(editor().isVisible());
    EXPECT_FALSE(editor().isModal());
    EXPECT_EQ(editor().windowTitle(), QStringLiteral("Marker Properties"));
    EXPECT_EQ(editor().nameField()->text(), QStringLiteral("Marker1"));
    EXPECT_EQ(editor().latDegrees()->value(), 50);
    EXPECT_EQ(editor().latMinutes()->value(), 15);
    EXPECT_EQ(editor().lonHemisphere()->currentText(), QStringLiteral("E"));
    EXPECT_TRUE(nav().drawState().pending);
    editor().onOk();
    EXPECT_FALSE(editor().isVisible());
    EXPECT_FALSE(nav().drawState().pending);
    EXPECT_EQ(file(), "Marker1,  50.250000,   1.500000,\n");

    // The next default name counts on; Cancel keeps the list as it was.
    main().chart()->commands()->addMarkerHere(2.0, 51.0);
    EXPECT_EQ(editor().nameField()->text(), QStringLiteral("Marker2"));
    editor().onCancel();
    EXPECT_EQ(nav().markers().count(), 1);
    EXPECT_FALSE(nav().drawState().pending);
    // North of the pole nothing is added.
    main().chart()->commands()->addMarkerHere(2.0, 91.0);
    EXPECT_FALSE(editor().isVisible());

    // Started again, the viewer reads the marker back.
    stop();
    start();
    main().show();
    main().connections().dismissStartWizard();
    ASSERT_EQ(nav().markers().count(), 1);
    EXPECT_EQ(nav().markers().at(0).nameText(), "Marker1");
}

TEST_F(NavMarkersTest, TheEditorRefusesCommasAndLineBreaksInTheName) {
    main().chart()->commands()->addMarkerHere(1.5, 50.25);
    editor().nameField()->clear();
    QTest::keyClicks(editor().nameField(), QStringLiteral("Pier, 4"));
    EXPECT_EQ(editor().nameField()->text(), QStringLiteral("Pier 4"));
    // A pasted or set text with a comma is refused at "Ok", with the reason.
    editor().nameField()->setText(QStringLiteral("Pier,\n4"));
    editor().onOk();
    EXPECT_TRUE(editor().isVisible());
    ASSERT_FALSE(dialogs_.shown.empty());
    EXPECT_EQ(dialogs_.shown.back().text,
              QStringLiteral("A marker name cannot hold a comma or a line break."));
    EXPECT_EQ(nav().markers().count(), 0);
    // 22 bytes at most, counted in UTF-8.
    editor().nameField()->clear();
    QTest::keyClicks(editor().nameField(), QString(30, QLatin1Char('x')));
    EXPECT_EQ(editor().nameField()->text().size(), 22);
    editor().nameField()->setText(QStringLiteral("Pier 4"));
    editor().onOk();
    EXPECT_EQ(file(), "Pier 4,  50.250000,   1.500000,\n");
}

TEST_F(NavMarkersTest, ALongitudeBeyondTheAntimeridianIsShownAndStoredWrapped) {
    // 180 deg 30' E is 179 deg 30' W (not 179 deg 29' 59'' W).
    main().chart()->commands()->addMarkerHere(180.5, -10.0 - 20.0 / 3600.0);
    EXPECT_EQ(editor().lonDegrees()->value(), 179);
    EXPECT_EQ(editor().lonMinutes()->value(), 30);
    EXPECT_EQ(editor().lonSeconds()->value(), 0);
    EXPECT_EQ(editor().lonHemisphere()->currentText(), QStringLiteral("W"));
    EXPECT_EQ(editor().latSeconds()->value(), 20);
    EXPECT_EQ(editor().latHemisphere()->currentText(), QStringLiteral("S"));
    editor().onOk();
    ASSERT_EQ(nav().markers().count(), 1);
    EXPECT_FLOAT_EQ(nav().markers().at(0).longitude, -179.5f);
    EXPECT_EQ(file(), "Marker1, -10.005555,-179.500000,\n");
    // Shown again, the same fields: the seconds are rounded, not cut.
    nav().editMarker(0);
    EXPECT_EQ(editor().latSeconds()->value(), 20);
    EXPECT_EQ(editor().lonMinutes()->value(), 30);
    editor().onCancel();
}

TEST_F(NavMarkersTest, At200MarkersNothingMoreIsAddedAndOkSaysSo) {
    for (int i = 0; i < nav::kMaxMarkers - 1; ++i)
        nav().markers().add(nav::MakeMarker("M" + std::to_string(i), i * 0.01, 50.0));
    main().chart()->commands()->addMarkerHere(1.5, 50.25);
    ASSERT_TRUE(editor().isVisible());
    nav().markers().add(nav::MakeMarker("M199", 3.0, 50.0));  // the list filled meanwhile
    editor().onOk();
    ASSERT_FALSE(dialogs_.shown.empty());
    EXPECT_EQ(dialogs_.shown.back().caption, QStringLiteral("Warning"));
    EXPECT_EQ(dialogs_.shown.back().text, QStringLiteral("Reach the maximum of markers."));
    EXPECT_FALSE(editor().isVisible());
    EXPECT_EQ(nav().markers().count(), 200);
    main().chart()->commands()->addMarkerHere(1.6, 50.25);
    EXPECT_FALSE(editor().isVisible());
}

TEST_F(NavMarkersTest, AFailedSaveIsReportedAndTheOldFileStays) {
    main().chart()->commands()->addMarkerHere(1.5, 50.25);
    editor().onOk();
    const std::string before = file();
    // The NAV_Data folder cannot be written any more.
    const std::string navFolder = folder().path("data/NAV_Data");
    ::chmod(navFolder.c_str(), 0500);
    if (::geteuid() == 0) {
        ::chmod(navFolder.c_str(), 0700);
        // Root writes anywhere: make the file's name a folder instead.
        nav().setMarkerFile(folder().path("data/NAV_Data/sub/"));
        std::filesystem::create_directories(folder().path("data/NAV_Data/sub"));
    }
    const std::size_t shown = dialogs_.shown.size();
    main().chart()->commands()->addMarkerHere(2.5, 51.25);
    editor().onOk();
    ::chmod(navFolder.c_str(), 0700);
    ASSERT_EQ(dialogs_.shown.size(), shown + 1);
    EXPECT_EQ(dialogs_.shown.back().caption, QStringLiteral("Error"));
    EXPECT_EQ(dialogs_.shown.back().icon, ui::MessageIcon::Error);
    EXPECT_TRUE(
        dialogs_.shown.back().text.startsWith(QStringLiteral("The markers could not be saved")));
    EXPECT_EQ(nav().markers().count(), 2);  // still listed, and saved with the next change
    EXPECT_EQ(file(), before);
}

TEST_F(NavMarkersTest, TheManagerListsLocatesEditsAndDeletesMarkers) {
    nav().markers().add(nav::MakeMarker("North Buoy", 1.3512, 50.8811));
    nav().markers().add(nav::MakeMarker("Wreck", -0.5, -12.25));
    nav().markersChanged();
    // Without a marker-keeping device: 310 pixels, the viewer list only.
    QString caption;
    int width = 0;
    bool deviceShown = true;
    QTimer::singleShot(0, [&] {
        caption = manager().windowTitle();
        width = manager().width();
        deviceShown = manager().deviceGrid()->isVisible();
        manager().reject();
    });
    main().action(QStringLiteral("mnuMarkManager"))->trigger();
    EXPECT_EQ(caption, QStringLiteral("Marker Manager"));
    EXPECT_EQ(width, nav::kNarrowWidth);
    EXPECT_FALSE(deviceShown);

    manager().prepare(nav::ManagerPage::Markers);
    manager().show();
    QTableWidget* grid = manager().viewerGrid();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(Cell(grid, 0, 0), QStringLiteral("1"));
    EXPECT_EQ(Cell(grid, 0, 1), QStringLiteral("North Buoy"));
    EXPECT_EQ(Cell(grid, 0, 2), QStringLiteral(" 50°52'51\"N"));
    EXPECT_EQ(Cell(grid, 0, 3), QStringLiteral("  1°21'04\"E"));
    EXPECT_EQ(Cell(grid, 1, 3), QStringLiteral("  0°30'00\"W"));
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("LABEL"));
    EXPECT_TRUE(manager().button("btnLocate")->isEnabled());
    EXPECT_FALSE(manager().button("btnToViewer")->isEnabled());

    // Locate centres the chart on the marker and draws it bold once.
    manager().selectRow(nav::MarkerSide::Viewer, 1);
    manager().onLocate();
    EXPECT_EQ(nav().drawState().highlighted, 1);
    EXPECT_NEAR(main().chart()->model().centre().lon, -0.5, 1e-6);
    EXPECT_NEAR(main().chart()->model().centre().lat, -12.25, 1e-6);
    main().chart()->grab();
    EXPECT_EQ(nav().drawState().highlighted, -1);

    // Properties edits the selected marker in place (a marker being placed
    // is given up).
    main().chart()->commands()->addMarkerHere(2.0, 51.0);
    manager().onProperties();
    EXPECT_FALSE(nav().drawState().pending);
    ASSERT_TRUE(editor().isVisible());
    EXPECT_EQ(editor().nameField()->text(), QStringLiteral("Wreck"));
    editor().nameField()->setText(QStringLiteral("Wreck 1917"));
    editor().onOk();
    EXPECT_EQ(Cell(grid, 1, 1), QStringLiteral("Wreck 1917"));
    EXPECT_EQ(file(), "North Buoy,  50.881100,   1.351200,\nWreck 1917, -12.250000,  -0.500000,\n");

    // Delete asks first; "No" keeps the marker, "Yes" removes it.
    manager().selectRow(nav::MarkerSide::Viewer, 0);
    manager().onDelete();
    EXPECT_EQ(dialogs_.shown.back().text,
              QStringLiteral("Do you want to delete the selected item?"));
    EXPECT_EQ(nav().markers().count(), 2);
    dialogs_.answers.push_back(ui::MessageAnswer::Yes);
    manager().onDelete();
    EXPECT_EQ(nav().markers().count(), 1);
    EXPECT_EQ(Cell(grid, 0, 1), QStringLiteral("Wreck 1917"));
    EXPECT_EQ(file(), "Wreck 1917, -12.250000,  -0.500000,\n");
    dialogs_.answers.push_back(ui::MessageAnswer::Yes);
    manager().onDelete();
    ASSERT_EQ(grid->rowCount(), 1);  // an empty list shows one empty row
    EXPECT_EQ(Cell(grid, 0, 1), QString());
    EXPECT_FALSE(manager().button("btnDelete")->isEnabled());
    EXPECT_FALSE(manager().button("btnLocate")->isEnabled());
    manager().reject();

    // The Tools entries open the manager on their pages; the route and
    // track pages are 660 pixels wide.
    nav::ManagerPage page = nav::ManagerPage::Markers;
    QTimer::singleShot(0, [&] {
        page = manager().activePage();
        width = manager().width();
        manager().reject();
    });
    main().action(QStringLiteral("mnuTrackManager"))->trigger();
    EXPECT_EQ(page, nav::ManagerPage::Tracks);
    EXPECT_EQ(width, nav::kWideWidth);
    // The tool button opens it on the page it showed last.
    QTimer::singleShot(0, [&] {
        page = manager().activePage();
        manager().reject();
    });
    main().findChild<QAbstractButton*>(QStringLiteral("spbEcsIconBarNavManager"))->click();
    EXPECT_EQ(page, nav::ManagerPage::Tracks);
}

TEST_F(NavMarkersTest, ShowMarkersTheMarkerToolAndTheLanguage) {
    nav().markers().add(nav::MakeMarker("Buoy", 1.40, 50.98));
    QAction* show = main().action(QStringLiteral("mnuViewShowMarks"));
    ASSERT_TRUE(show->isChecked());
    show->trigger();
    EXPECT_FALSE(nav().markersShown());
    EXPECT_FALSE(show->isChecked());
    manager().prepare(nav::ManagerPage::Markers);
    EXPECT_FALSE(manager().button("btnLocate")->isEnabled());  // hidden markers cannot be located

    // The marker tool asks to show hidden markers; "No" releases it.
    auto* tool = main().findChild<QAbstractButton*>(QStringLiteral("spbEcsIconBarMark"));
    ASSERT_NE(tool, nullptr);
    tool->click();
    EXPECT_EQ(dialogs_.shown.back().text, QStringLiteral("Markers are hidden. Show them?"));
    EXPECT_FALSE(tool->isChecked());
    dialogs_.answers.push_back(ui::MessageAnswer::Yes);
    tool->click();
    EXPECT_TRUE(tool->isChecked());
    EXPECT_TRUE(nav().markersShown());
    // A click on the chart places a marker there and releases the tool.
    chart::TPaintChart& chart = *main().chart();
    const QPoint at(chart.width() / 3, chart.height() / 3);
    const chart::GeoPoint expected = chart.model().axis().pixelToGeo(at.x(), at.y());
    QTest::mouseClick(&chart, Qt::LeftButton, {}, at);
    EXPECT_FALSE(tool->isChecked());
    ASSERT_TRUE(editor().isVisible());
    editor().onOk();
    ASSERT_EQ(nav().markers().count(), 2);
    EXPECT_NEAR(nav().markers().at(1).longitude, expected.lon, 1.0 / 3600.0);
    EXPECT_NEAR(nav().markers().at(1).latitude, expected.lat, 1.0 / 3600.0);

    // Locate survives the next one-second step.
    manager().prepare(nav::ManagerPage::Markers);
    manager().selectRow(nav::MarkerSide::Viewer, 0);
    manager().onLocate();
    main().Timer1Timer();
    EXPECT_NEAR(chart.model().centre().lon, 1.40, 1e-5);

    main().ApplyLanguage(1);
    EXPECT_EQ(manager().windowTitle(),
              QString::fromStdString(main().texts().text(base::TextId::NavManagerMarkerManager)));
    EXPECT_NE(editor().windowTitle(), QStringLiteral("Marker Properties"));
    main().ApplyLanguage(0);
    EXPECT_EQ(editor().windowTitle(), QStringLiteral("Marker Properties"));
}

TEST_F(NavMarkersTest, ScreenshotsOfTheChartWithMarkersAndOfTheManager) {
    const char* dir = std::getenv("NORQ_SCREENSHOT_DIR");
    main().setChartView(7, -1, -1);
    main().chart()->setCentre(1.40, 50.98);
    const char* names[] = {"Varne LV",  "CS4 buoy",  "Wreck 1917",
                           "Pier Head", "Fishing 3", "Meeting pt"};
    const double spots[][2] = {{1.3970, 50.9440}, {1.5080, 51.1350}, {1.2500, 50.8700},
                               {1.5700, 50.9650}, {1.1300, 51.0400}, {1.6400, 51.0800}};
    for (int i = 0; i < 6; ++i)
        nav().markers().add(nav::MakeMarker(names[i], spots[i][0], spots[i][1]));
    nav().markersChanged();
    main().chart()->commands()->addMarkerHere(1.45, 51.045);
    main().flushViews();
    QPixmap chart = main().grabChart();
    EXPECT_FALSE(chart.isNull());
    if (dir != nullptr) {
        chart.save(QString::fromLocal8Bit(dir) + QStringLiteral("/markers-chart.png"));
    }
    editor().move(main().mapToGlobal(QPoint(300, 300)));
    Screenshot(editor(), "markers-properties.png");
    editor().onCancel();
    manager().prepare(nav::ManagerPage::Markers);
    manager().selectRow(nav::MarkerSide::Viewer, 2);
    manager().show();
    Screenshot(manager(), "markers-manager.png");
    manager().reject();
}

// The route and track pages of the other parts open in the same window, from
// the Tools menu's entries.
TEST_F(NavMarkersTest, TheRouteAndTrackEntriesOpenTheirPagesInTheManager) {
    struct Entry {
        const char* action;
        QWidget* page;
        const char* picture;
    };
    app::NavigationHub& hub = main().navigation();
    const Entry entries[] = {
        {"mnuRouteManager", hub.routes().managerPage(), "manager-routes.png"},
        {"mnuTrackManager", hub.tracks().managerPage(), "manager-tracks.png"},
        {"mnuMarkerManager", nullptr, "manager-markers.png"},
    };
    for (const Entry& entry : entries) {
        QAction* action = main().action(QString::fromLatin1(entry.action));
        ASSERT_NE(action, nullptr) << entry.action;
        bool shown = false;
        bool pageVisible = false;
        QTimer::singleShot(0, [&] {
            shown = manager().isVisible();
            pageVisible = entry.page == nullptr || entry.page->isVisible();
            Screenshot(manager(), entry.picture);
            manager().reject();
        });
        action->trigger();
        EXPECT_TRUE(shown) << entry.action;
        EXPECT_TRUE(pageVisible) << entry.action;
        if (entry.page != nullptr) {
            EXPECT_TRUE(manager().isAncestorOf(entry.page)) << entry.action;
        }
    }
}

// The viewer against norq-sim's transponder over a pseudo-terminal.
class NavMarkersLive : public NavMarkersTest {
  protected:
    void TearDown() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        NavMarkersTest::TearDown();
    }
    // Starts the simulator with a transponder that keeps markers and connects
    // the AIS port to it; false when this machine has no pseudo-terminals.
    bool connectSimulator() {
        if (!PseudoTerminalsAvailable()) return false;
        const std::string scenario = folder().path("sim.scenario");
        std::ofstream(scenario) << "[scenario]\nduration = 600\n[transponder]\n"
                                   "identification = mkd2\n[own_ship]\nmmsi = 235099001\n"
                                   "position = 51.0 1.4\ncourse = 45\nspeed = 0\n"
                                   "[marker Harbour]\nposition = 51.117 1.333\n";
        const SimOnPty sim = StartSimOnPty(scenario, "5");
        pid_ = sim.pid;
        if (sim.path.empty()) return false;
        const std::string& path = sim.path;
        comm::TSysSensorControl& control = main().sensorControl();
        comm::WizardInputs in;
        in.typedPort = path;
        in.ratePosition = 3;
        main().connections().wizardFlow().connect(in);
        for (int tick = 0; tick < 5 && !nav().deviceKeepsMarkers(); ++tick) {
            main().Timer1Timer();
            RunUntil([&] { return nav().deviceKeepsMarkers(); }, 400);
        }
        return control.deviceKind() == comm::DeviceKind::Mkd2;
    }
    int devices() { return nav().exchange().deviceCount(); }
    pid_t pid_ = -1;
};

TEST_F(NavMarkersLive, UploadDownloadDeleteAndRelinkWithTheTransponder) {
    if (!connectSimulator()) GTEST_SKIP() << "no pseudo-terminals or no simulator here";
    ASSERT_TRUE(nav().deviceKeepsMarkers());
    // Markers whose coordinates are not exact as 32-bit floats.
    nav().markers().add(nav::MakeMarker("Alpha", 1.512345, 51.154321));
    nav().markers().add(nav::MakeMarker("Bravo", -4.123457, 48.391234));
    nav().markers().add(nav::MakeMarker("Charlie", 121.512345, 25.154321));
    nav().markersChanged();

    // Showing the marker page asks for the device's list: one marker there.
    manager().prepare(nav::ManagerPage::Markers);
    manager().show();
    EXPECT_EQ(manager().width(), nav::kWideWidth);
    EXPECT_TRUE(manager().deviceSideShown());
    ASSERT_TRUE(RunUntil([&] { return devices() == 1; }, 5000));
    EXPECT_EQ(Cell(manager().deviceGrid(), 0, 1), QStringLiteral("HARBOUR"));

    // Upload all three: each is added and linked by the device's report.
    for (int row = 0; row < 3; ++row) {
        manager().selectRow(nav::MarkerSide::Viewer, row);
        ASSERT_TRUE(manager().button("btnToDevice")->isEnabled());
        manager().onToDevice();
        ASSERT_TRUE(RunUntil([&] { return devices() == row + 2; }, 5000)) << row;
        EXPECT_EQ(nav().markers().at(row).deviceIndex, row + 1);
    }
    EXPECT_EQ(Cell(manager().deviceGrid(), 3, 1), QStringLiteral("Charlie"));
    manager().selectRow(nav::MarkerSide::Device, 3);
    Screenshot(manager(), "markers-manager-device.png");
    // A second upload of a linked marker modifies it: no duplicate.
    manager().selectRow(nav::MarkerSide::Viewer, 1);
    manager().onToDevice();
    RunUntil([] { return false; }, 600);
    EXPECT_EQ(devices(), 4);
    manager().onRefresh();
    EXPECT_EQ(devices(), 0);
    ASSERT_TRUE(RunUntil([&] { return devices() == 4; }, 5000));
    RunUntil([] { return false; }, 300);
    EXPECT_EQ(devices(), 4);

    // Delete the device's entry 1 (Alpha): Bravo and Charlie move up.
    manager().selectRow(nav::MarkerSide::Device, 1);
    dialogs_.answers.push_back(ui::MessageAnswer::Yes);
    manager().onDelete();
    ASSERT_TRUE(RunUntil([&] { return devices() == 3; }, 5000));
    EXPECT_EQ(nav().markers().at(0).deviceIndex, -1);
    EXPECT_EQ(nav().markers().at(1).deviceIndex, 1);
    EXPECT_EQ(nav().markers().at(2).deviceIndex, 2);
    EXPECT_EQ(Cell(manager().deviceGrid(), 1, 1), QStringLiteral("Bravo"));

    // Edit a device marker: the device reports the modification.
    nav().editDeviceMarker(2);
    editor().nameField()->setText(QStringLiteral("Charlie 2"));
    editor().onOk();
    ASSERT_TRUE(RunUntil(
        [&] { return nav().exchange().device(2).record.nameText() == "Charlie 2"; }, 5000));

    // Download the device's first marker into the viewer list.
    manager().selectRow(nav::MarkerSide::Device, 0);
    ASSERT_TRUE(manager().button("btnToViewer")->isEnabled());
    manager().onToViewer();
    ASSERT_EQ(nav().markers().count(), 4);
    EXPECT_EQ(nav().markers().at(3).nameText(), "HARBOUR");
    EXPECT_EQ(nav().markers().at(3).deviceIndex, 0);
    EXPECT_NE(file().find("HARBOUR,  51.117001,   1.333000,\n"), std::string::npos) << file();
    // "<<" again replaces the linked viewer marker instead of adding one.
    manager().selectRow(nav::MarkerSide::Device, 0);
    manager().onToViewer();
    EXPECT_EQ(nav().markers().count(), 4);
    manager().reject();
}

}  // namespace
}  // namespace norq::test
