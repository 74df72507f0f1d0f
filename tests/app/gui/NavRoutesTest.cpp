// Routes in the viewer: built with clicks of the route tool on the chart, saved
// by "End Route" and named in the properties window, listed on the manager's
// route page (locate, visible, delete), kept across a restart, and a failed
// write reported. With NORQ_SCREENSHOT_DIR set, the windows are saved as PNG.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ViewerFixture.h"
#include "app/NavigationHub.h"
#include "app/nav/NavMarkers.h"
#include "app/nav/NavRoutes.h"
#include "chart/forms/PaintChart.h"
#include "comm/forms/DeviceConnections.h"
#include "nav/forms/NavManagerForm.h"
#include "nav/forms/RouteManagerPage.h"
#include "nav/forms/RoutePropertiesForm.h"

namespace norq::test {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class NavRoutesTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().resize(1200, 800);
        main().show();
        main().connections().dismissStartWizard();
        main().flushViews();
        main().setChartView(8, -1, -1);
        chart().setCentre(121.80, 25.20);
    }
    chart::TPaintChart& chart() { return *main().chart(); }
    app::NavRoutes& routes() { return main().navigation().routes(); }
    std::string navFile(const char* name) const { return paths_.folders.navDataFolder + name; }
    void clickAt(double lon, double lat) {
        const chart::PixelXY p = chart().model().axis().geoToPixel(lon, lat);
        QTest::mouseClick(&chart(), Qt::LeftButton, Qt::NoModifier, QPoint(p.x, p.y));
    }
    // Three clicks of the route tool, from Keelung out to sea.
    void buildRoute() {
        main().action(QStringLiteral("mnuCreateRoute"))->trigger();
        clickAt(121.74, 25.16);
        clickAt(121.80, 25.22);
        clickAt(121.90, 25.24);
    }
};

TEST_F(NavRoutesTest, ClicksOfTheRouteToolBuildARouteThatEndRouteSavesAndNames) {
    buildRoute();
    const std::vector<nav::Waypoint>& w = routes().store().building();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_NEAR(w[0].longitude, 121.74, 0.01);
    EXPECT_EQ(w[0].legDistance, 0.0f);
    EXPECT_NEAR(w[1].legBearing, 40.0, 5.0);  // north-east
    chart().grab();
    Screenshot(chart(), "routes-chart-editing.png");

    clock_.setLocal({{2026, 12, 9}, {18, 30, 5}});
    routes().endRoute();
    EXPECT_FALSE(routes().toolArmed());
    ASSERT_EQ(routes().store().count(), 1);
    EXPECT_TRUE(routes().store().building().empty());
    EXPECT_EQ(ReadAll(navFile("Route1.wpt")).size(), 72u);
    nav::TfrmRouteProperties& props = routes().propertiesWindow();
    ASSERT_TRUE(props.isVisible());
    EXPECT_EQ(props.findChild<QLineEdit*>(QStringLiteral("edtName"))->text(),
              QStringLiteral("Route1"));
    EXPECT_EQ(props.grid()->rowCount(), 3);
    EXPECT_EQ(props.grid()->item(1, 3)->text().right(3), QStringLiteral(" nm"));
    // A plan speed of 0 would divide by zero: the route time is at 5 kn.
    props.speedEdit()->setText(QStringLiteral("0"));
    props.findChild<QPushButton*>(QStringLiteral("btnCal"))->click();
    const double total = routes().store().route(0).totalDistance();
    EXPECT_EQ(props.routeTimeText().toStdString(),
              nav::FormatRouteTime(nav::RouteTimeSeconds(total, 5.0), "h", "min"));
    // Typing a letter into the plan speed restores the text before it.
    props.speedEdit()->setText(QStringLiteral("12"));
    QTest::keyClicks(props.speedEdit(), QStringLiteral("x"));
    EXPECT_EQ(props.speedEdit()->text(), QStringLiteral("12"));
    props.findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(QStringLiteral("Keelung out"));
    props.findChild<QLineEdit*>(QStringLiteral("edtDepart"))->setText(QStringLiteral("Keelung"));
    props.findChild<QPushButton*>(QStringLiteral("btnCal"))->click();
    EXPECT_EQ(props.routeTimeText().toStdString(),
              nav::FormatRouteTime(nav::RouteTimeSeconds(total, 12.0), "h", "min"));
    props.resize(640, 420);
    Screenshot(props, "routes-properties.png");
    props.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    EXPECT_EQ(ReadAll(navFile("Routes.csv")),
              "Keelung out,Route1.wpt,Keelung, ,2026-12-09 18:30:05,3,1,\n");

    // After a restart the route is there again, drawn.
    stop();
    start();
    main().show();  // the route files are read at the first showing
    ASSERT_EQ(main().navigation().routes().store().count(), 1);
    EXPECT_EQ(main().navigation().routes().store().route(0).name, "Keelung out");
}

TEST_F(NavRoutesTest, TheRoutePageLocatesShowsOrHidesAndDeletesRoutes) {
    buildRoute();
    routes().endRoute();
    routes().propertiesWindow().reject();
    main().action(QStringLiteral("mnuCreateRoute"))->trigger();
    clickAt(121.60, 25.30);
    clickAt(121.70, 25.40);
    routes().endRoute();
    routes().propertiesWindow().reject();
    ASSERT_EQ(routes().store().count(), 2);

    nav::RouteManagerPage& page = routes().page();
    page.resize(640, 260);
    page.show();
    QTableWidget* grid = page.grid();
    EXPECT_EQ(grid->columnCount(), 6);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("Route2"));
    EXPECT_EQ(grid->item(1, 5)->text(), QStringLiteral("V"));

    // Locate: the chart centres on the first waypoint and highlights the route.
    chart().setCentre(0.0, 0.0);
    page.selectRow(1);
    page.locateButton()->click();
    EXPECT_EQ(routes().store().highlighted(), 1);
    EXPECT_NEAR(chart().model().centre().lon, 121.60, 0.01);
    // The located route stays in view: the own ship's reports do not move it.
    EXPECT_TRUE(chart().viewHeld());
    Screenshot(page, "routes-manager-page.png");
    chart().grab();
    Screenshot(chart(), "routes-chart-located.png");

    // Visible off: the index file says so; the row can no longer be located.
    page.toggleVisible(1);
    EXPECT_EQ(grid->item(1, 5)->text(), QString());
    EXPECT_NE(ReadAll(navFile("Routes.csv")).find("Route2.wpt, , ,2026-01-01 12:00:00,2,0,"),
              std::string::npos);
    routes().clearHighlight();
    page.selectRow(1);
    EXPECT_FALSE(page.locateButton()->isEnabled());
    page.locateButton()->click();
    EXPECT_EQ(routes().store().highlighted(), -1);

    // Delete asks; "No" keeps the route, "Yes" removes it and its file.
    dialogs_.answers = {ui::MessageAnswer::No, ui::MessageAnswer::Yes};
    page.selectRow(0);
    page.deleteButton()->click();
    EXPECT_EQ(routes().store().count(), 2);
    page.deleteButton()->click();
    EXPECT_EQ(routes().store().count(), 1);
    EXPECT_FALSE(std::filesystem::exists(navFile("Route1.wpt")));
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("Route2"));
}

TEST_F(NavRoutesTest, AFailedWriteIsShownToTheOperator) {
    buildRoute();
    routes().store().setFolder("/nonexistent-route-folder/");
    dialogs_.shown.clear();
    routes().endRoute();
    ASSERT_FALSE(dialogs_.shown.empty());
    EXPECT_TRUE(dialogs_.shown[0].text.startsWith(QStringLiteral("The route file could not")));
    EXPECT_EQ(dialogs_.shown[0].icon, ui::MessageIcon::Error);
}

TEST_F(NavRoutesTest, ADamagedRouteFileIsReadAsFarAsItIsSoundAndTheOperatorTold) {
    buildRoute();
    routes().endRoute();
    routes().propertiesWindow().reject();
    stop();
    // The waypoint file cut in its last record, as a crash while copying would.
    const std::string whole = ReadAll(navFile("Route1.wpt"));
    std::ofstream(navFile("Route1.wpt"), std::ios::binary | std::ios::trunc) << whole.substr(0, 60);
    dialogs_.shown.clear();
    start();
    main().show();
    ASSERT_EQ(main().navigation().routes().store().count(), 1);
    EXPECT_EQ(main().navigation().routes().store().route(0).waypoints.size(), 2u);
    ASSERT_FALSE(dialogs_.shown.empty());
    EXPECT_TRUE(dialogs_.shown.back().text.startsWith(QStringLiteral("Some route files")));
}

TEST_F(NavRoutesTest, RouteManagerOpensTheManagerOnTheRoutePageAndClosingClearsTheHighlight) {
    buildRoute();
    routes().endRoute();
    nav::TfrmNavManager& manager = main().navigation().markers().manager();
    bool seen = false;
    QTimer::singleShot(0, &manager, [&] {
        seen = manager.isVisible() && manager.activePage() == nav::ManagerPage::Routes &&
               routes().page().isVisible();
        routes().locate(0);
        EXPECT_EQ(routes().store().highlighted(), 0);
        manager.reject();
    });
    routes().propertiesWindow().findChild<QPushButton*>(QStringLiteral("btnRouteManager"))->click();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(routes().propertiesWindow().isVisible());
    EXPECT_EQ(routes().store().highlighted(), -1);
}

TEST_F(NavRoutesTest, ReversingFromThePopupCommandsTurnsEveryBearing) {
    buildRoute();
    routes().endRoute();
    routes().propertiesWindow().reject();
    const float out = routes().store().route(0).waypoints[1].legBearing;
    routes().reverseRoute(0);
    const float back = routes().store().route(0).waypoints[2].legBearing;
    EXPECT_NEAR(std::fmod(out + 180.0f, 360.0f), back, 0.5);
    EXPECT_EQ(ReadAll(navFile("Route1.wpt")).substr(0, 16),
              nav::EncodeWaypoints(routes().store().route(0).waypoints).substr(0, 16));
}

TEST_F(NavRoutesTest, ThePopupAppendsInsertsAndDeletesWaypointsOfASavedRoute) {
    buildRoute();
    routes().endRoute();
    routes().propertiesWindow().reject();
    const std::vector<nav::Waypoint>& w = routes().store().route(0).waypoints;
    ASSERT_EQ(w.size(), 3u);
    auto pixelOf = [&](double lon, double lat) {
        const chart::PixelXY p = chart().model().axis().geoToPixel(lon, lat);
        return QPoint(p.x, p.y);
    };
    auto rightClick = [&](QPoint at, base::TextId item) {
        routes().setPopupChooser([&, item](QMenu& menu) -> QAction* {
            for (QAction* a : menu.actions())
                if (a->text() == QString::fromStdString(main().texts().text(item))) return a;
            return nullptr;
        });
        QTest::mouseClick(&chart(), Qt::RightButton, Qt::NoModifier, at);
    };
    auto fileWaypoints = [&] {
        return nav::DecodeWaypoints(ReadAll(navFile("Route1.wpt"))).waypoints.size();
    };
    // The route tool is armed again so that its popup is reached.
    main().action(QStringLiteral("mnuCreateRoute"))->trigger();
    chart().repaintChart();
    main().flushViews();
    chart().renderToImage();  // the route's pixels as drawn

    // Insert on the middle of the first leg.
    rightClick(pixelOf(121.77, 25.19), base::TextId::RoutePropertiesInsertWaypoint);
    ASSERT_EQ(w.size(), 4u);
    EXPECT_NEAR(w[1].longitude, 121.77, 0.01);
    EXPECT_EQ(fileWaypoints(), 4u);

    // Delete the last waypoint.
    chart().renderToImage();
    rightClick(pixelOf(121.90, 25.24), base::TextId::RoutePropertiesDeleteWaypoint);
    ASSERT_EQ(w.size(), 3u);
    EXPECT_NEAR(w.back().longitude, 121.80, 1e-6);
    EXPECT_EQ(fileWaypoints(), 3u);

    // Append: the next clicks extend this route, End Route stops.
    chart().renderToImage();
    rightClick(pixelOf(121.80, 25.22), base::TextId::RoutePropertiesAppendWaypoint);
    clickAt(121.95, 25.30);
    clickAt(122.00, 25.35);
    ASSERT_EQ(w.size(), 5u);
    EXPECT_NEAR(w.back().latitude, 25.35, 0.01);
    EXPECT_GT(w.back().legDistance, 0.0f);
    EXPECT_EQ(fileWaypoints(), 5u);
    EXPECT_EQ(routes().store().count(), 1);
    routes().endRoute();
    EXPECT_FALSE(routes().toolArmed());
    EXPECT_EQ(routes().store().count(), 1);
    EXPECT_TRUE(routes().store().building().empty());
}

}  // namespace
}  // namespace norq::test
