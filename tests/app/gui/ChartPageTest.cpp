// The chart page of the main window: the chart view with its scale panel, the
// zoom and go-to-own-ship buttons, the chart's menu items, the colour schemes,
// the orientation timer, the GNSS status window and a click on a symbol.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "AisLines.h"
#include "ViewerFixture.h"
#include "app/BaseNames.h"
#include "base/IniFile.h"
#include "chart/MeasureTool.h"
#include "chart/forms/GpsStatusForm.h"
#include "chart/forms/PaintChart.h"
#include "chart/paint/ApplicationPalette.h"
#include "comm/forms/DeviceConnections.h"

namespace norq::test {
namespace {

class ChartPageTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().resize(1200, 800);
        main().show();
        // The start-up wizard would take the pointer's events.
        main().connections().dismissStartWizard();
        main().flushViews();
    }
    chart::TPaintChart& chart() { return *main().chart(); }
    QSlider& slider() { return *main().findChild<QSlider*>(QStringLiteral("TrackBarScale")); }
    QString scaleLabel() { return main().findChild<QLabel*>(QStringLiteral("lblScale"))->text(); }
    void click(const char* button) {
        main().findChild<QToolButton*>(QString::fromLatin1(button))->click();
    }
    QAction* item(const char* name) { return main().action(QString::fromLatin1(name)); }
    // One tick of a window timer, now.
    static void fire(QTimer* timer) {
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    }
};

TEST_F(ChartPageTest, TheScaleComesFromTheSettingsAndTheSliderFollowsTheZoomButtons) {
    // ScaleID 4 (48 nm) by default: the slider at 14 - 4.
    EXPECT_EQ(chart().scaleIndex(), 4);
    EXPECT_EQ(slider().maximum(), 14);
    EXPECT_EQ(slider().value(), 10);
    EXPECT_EQ(scaleLabel(), QStringLiteral("48.000nm"));
    click("spbEcsIconBarZoomIn");
    EXPECT_EQ(chart().scaleIndex(), 5);
    EXPECT_EQ(scaleLabel(), QStringLiteral("24.000nm"));
    click("spbEcsIconBarZoomOut");
    click("spbEcsIconBarZoomOut");
    EXPECT_EQ(chart().scaleIndex(), 3);
    // The ends of the slider: zooming further does nothing.
    for (int i = 0; i < 20; ++i)
        click("spbEcsIconBarZoomOut");
    EXPECT_EQ(chart().scaleIndex(), 0);
    EXPECT_EQ(scaleLabel(), QStringLiteral("800.000nm"));
    for (int i = 0; i < 20; ++i)
        click("spbEcsIconBarZoomIn");
    EXPECT_EQ(chart().scaleIndex(), 14);
    EXPECT_EQ(scaleLabel(), QStringLiteral(" 0.050nm"));
    // The scale panel sits at the chart's bottom-right corner.
    QWidget* panel = main().findChild<QWidget*>(QStringLiteral("PanelScale"));
    EXPECT_EQ(panel->geometry().bottomRight(), chart().rect().bottomRight());
}

TEST_F(ChartPageTest, AutoMapCruiseHoldsTheScaleAtFortyEightMilesOrFiner) {
    item("mnuAutoMapCruise")->setChecked(true);
    EXPECT_TRUE(main().findChild<QTimer*>(QStringLiteral("TimerCruiseMap"))->isActive());
    slider().setValue(12);
    EXPECT_EQ(slider().value(), 10);
    const chart::GeoPoint before = chart().model().centre();
    fire(main().findChild<QTimer*>(QStringLiteral("TimerCruiseMap")));
    EXPECT_LT(chart().model().centre().lon, before.lon);  // westward
    item("mnuAutoMapCruise")->setChecked(false);
    EXPECT_FALSE(main().findChild<QTimer*>(QStringLiteral("TimerCruiseMap"))->isActive());
}

TEST_F(ChartPageTest, MenuItemsSwitchTheChartsLayers) {
    EXPECT_TRUE(chart().model().rangeRingsShown());
    item("mnuRardarRangeRing")->setChecked(false);
    EXPECT_FALSE(chart().model().rangeRingsShown());
    item("mnuViewTracks")->setChecked(true);
    EXPECT_TRUE(chart().model().tracksShown());
    item("mnuCenterViewChart")->setChecked(true);
    EXPECT_TRUE(chart().model().centerView());
    // A fix switches Center View off (and unchecks it).
    feed({RmcLine(0, 120.2, 22.5, 10.0, 45.0)});
    EXPECT_FALSE(item("mnuCenterViewChart")->isChecked());
}

TEST_F(ChartPageTest, GoToOwnShipCentresOnTheFix) {
    feed({RmcLine(0, 120.2, 22.5, 10.0, 45.0)});
    chart().setCentre(10.0, 10.0);
    click("spbEcsIconBarGotoShip");
    EXPECT_NEAR(chart().model().centre().lon, 120.2, 1e-5);  // the fix is kept as floats
    EXPECT_NEAR(chart().model().centre().lat, 22.5, 1e-5);
}

TEST_F(ChartPageTest, ClickingASymbolTicksTargetMonitorAndSelectsTheTarget) {
    feed({RmcLine(0, 120.2, 22.5, 10.0, 45.0)});
    chart().setScaleIndex(7);
    chart().setCentre(120.2, 22.5);
    feed(AisSentences(PositionReport({416000001, 120.25, 22.52, 10.0f, 90.0f, 90, 0})));
    feed(AisSentences(PositionReport({416000002, 120.15, 22.48, 10.0f, 90.0f, 90, 0})));
    ASSERT_FALSE(item("mnuFixShip")->isChecked());
    const chart::PixelXY t = chart().model().target(1).topLeft;
    QTest::mouseClick(&chart(), Qt::LeftButton, {}, QPoint(t.x + 15, t.y + 15));
    EXPECT_TRUE(item("mnuFixShip")->isChecked());
    EXPECT_EQ(main().listSelection(), 1);
    EXPECT_EQ(chart().highlighted(), 1);
    // Later updates of another target no longer move the selection.
    feed(AisSentences(PositionReport({416000002, 120.16, 22.48, 10.0f, 90.0f, 90, 0})));
    EXPECT_EQ(chart().highlighted(), 1);
}

TEST_F(ChartPageTest, AnAtonClickedOnTheChartShowsItsDetailsAsFromTheList) {
    feed({RmcLine(0, 120.2, 22.5, 10.0, 45.0)});
    chart().setScaleIndex(7);
    chart().setCentre(120.2, 22.5);
    feed(AisSentences(AidToNavigation(994161001, "NORTH BUOY", 120.25, 22.52, 20)));
    feed(AisSentences(PositionReport({416000002, 120.15, 22.48, 10.0f, 90.0f, 90, 0})));
    main().flushViews();
    ASSERT_FALSE(main().atonTabShown());  // the ship reported last is selected
    const chart::PixelXY t = chart().model().target(1).topLeft;
    QTest::mouseClick(&chart(), Qt::LeftButton, {}, QPoint(t.x + 15, t.y + 15));
    main().flushViews();
    EXPECT_EQ(main().listSelection(), 1);
    EXPECT_TRUE(main().atonTabShown());
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtAtonName")), QStringLiteral("NORTH BUOY"));
    // A double click opens the details window, as the tab's Detail button does.
    QTest::mouseDClick(&chart(), Qt::LeftButton, {}, QPoint(t.x + 15, t.y + 15));
    QWidget* details = main().findChild<QWidget*>(QStringLiteral("frmAtonDetails"));
    ASSERT_NE(details, nullptr);
    EXPECT_TRUE(details->isVisible());
}

TEST_F(ChartPageTest, FivePressesOfTheSchemeButtonReturnToDayBright) {
    const QPalette day = QApplication::palette();
    QToolButton* scheme =
        main().findChild<QToolButton*>(QStringLiteral("spbEcsIconBarColorScheme"));
    scheme->click();
    EXPECT_EQ(chart().palette().scheme(), chart::ColourScheme::DayWhite);
    EXPECT_EQ(scheme->toolTip(), QStringLiteral("Day Black"));
    scheme->click();  // Day Black: the application's windows go dark
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0x78, 0x78, 0x78));
    scheme->click();
    scheme->click();
    EXPECT_EQ(chart().palette().scheme(), chart::ColourScheme::Night);
    EXPECT_EQ(scheme->toolTip(), QStringLiteral("Day Bright"));
    scheme->click();
    EXPECT_EQ(chart().palette().scheme(), chart::ColourScheme::DayBright);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), day.color(QPalette::Window));
}

TEST_F(ChartPageTest, HeadUpRotatesTheChartAndRunsTheOrientationTimer) {
    feed({RmcLine(0, 120.2, 22.5, 10.0, 90.0)});
    QTimer* timer = main().findChild<QTimer*>(QStringLiteral("TimerOrientChart"));
    EXPECT_FALSE(timer->isActive());
    main().setChartView(-1, -1, 2);  // course-up
    EXPECT_TRUE(timer->isActive());
    EXPECT_FLOAT_EQ(chart().model().rotation(), 270.0f);
    // A course change of less than 10 degrees waits; a larger one turns the chart.
    feed({RmcLine(1, 120.2, 22.5, 10.0, 95.0)});
    fire(timer);
    EXPECT_FLOAT_EQ(chart().model().rotation(), 270.0f);
    feed({RmcLine(2, 120.2, 22.5, 10.0, 120.0)});
    fire(timer);
    EXPECT_FLOAT_EQ(chart().model().rotation(), 240.0f);
    main().setChartView(-1, -1, 0);
    EXPECT_FALSE(timer->isActive());
    EXPECT_FLOAT_EQ(chart().model().rotation(), 0.0f);
}

TEST_F(ChartPageTest, TheGnssButtonShowsTheSatelliteView) {
    click("spbEcsIconBarGpsSignal");
    chart::TfrmGpsStatus* gps = main().gpsStatusWindow();
    ASSERT_NE(gps, nullptr);
    EXPECT_TRUE(gps->isVisible());
    EXPECT_EQ(gps->windowTitle(), QStringLiteral("GPS Satellite View"));
    feed({GgaLine(0, 120.2, 22.5)});
    EXPECT_FALSE(gps->fieldText(1).isEmpty());
}

TEST_F(ChartPageTest, TheSatelliteViewShowsEveryConstellationItsOwnWay) {
    // A multi-constellation receiver: one GSV cycle and one GSA per system,
    // with the same satellite numbers in several of them.
    feed({GgaLine(0, 120.2, 22.5), WithChecksum("GNGSA,A,3,02,05,12,,,,,,,,,,1.2,0.8,0.9,1", '$'),
          WithChecksum("GNGSA,A,3,65,78,,,,,,,,,,,1.2,0.8,0.9,2", '$'),
          WithChecksum("GNGSA,A,3,02,11,,,,,,,,,,,1.2,0.8,0.9,3", '$'),
          WithChecksum("GNGSA,A,3,06,21,,,,,,,,,,,1.2,0.8,0.9,4", '$'),
          WithChecksum("GPGSV,1,1,04,02,45,060,41,05,30,140,38,12,70,250,44,25,15,320,30", '$'),
          WithChecksum("GLGSV,1,1,03,65,40,100,36,71,20,200,33,78,55,300,39", '$'),
          WithChecksum("GAGSV,1,1,03,02,60,030,42,05,25,180,35,11,35,270,37", '$'),
          WithChecksum("GBGSV,1,1,03,06,50,330,40,12,30,090,34,21,65,160,43", '$'),
          WithChecksum("GQGSV,1,1,01,02,75,120,45", '$')});
    click("spbEcsIconBarGpsSignal");
    chart::TfrmGpsStatus* gps = main().gpsStatusWindow();
    ASSERT_NE(gps, nullptr);
    const chart::SatelliteSet& set = gps->satellites();
    ASSERT_EQ(set.size(), 14);
    int perSystem[ais::kGnssSystemCount] = {};
    for (int i = 0; i < set.size(); ++i)
        ++perSystem[static_cast<int>(set.bar(i).system)];
    EXPECT_EQ(perSystem[static_cast<int>(ais::GnssSystem::Gps)], 4);
    EXPECT_EQ(perSystem[static_cast<int>(ais::GnssSystem::Glonass)], 3);
    EXPECT_EQ(perSystem[static_cast<int>(ais::GnssSystem::Galileo)], 3);
    EXPECT_EQ(perSystem[static_cast<int>(ais::GnssSystem::BeiDou)], 3);
    EXPECT_EQ(perSystem[static_cast<int>(ais::GnssSystem::Qzss)], 1);
    // GPS 2 and Galileo 2 are two satellites with signals of their own.
    int gps2 = -1, galileo2 = -1;
    for (int i = 0; i < set.size(); ++i) {
        if (set.bar(i).prn != 2) continue;
        if (set.bar(i).system == ais::GnssSystem::Gps) gps2 = set.bar(i).snr;
        if (set.bar(i).system == ais::GnssSystem::Galileo) galileo2 = set.bar(i).snr;
    }
    int used = 0;
    for (int i = 0; i < set.size(); ++i)
        used += set.bar(i).used ? 1 : 0;
    EXPECT_EQ(used, 9);  // each GSA marks its own constellation's satellites
    EXPECT_EQ(gps2, 41);
    EXPECT_EQ(galileo2, 42);
    EXPECT_EQ(gps->skyPlot()->markerCount(), 14);
    // The next fix counts the satellites of every constellation.
    feed({GgaLine(1, 120.2, 22.5)});
    EXPECT_EQ(gps->fieldText(4), QStringLiteral("9/14"));
    if (const char* dir = std::getenv("NORQ_SCREENSHOT_DIR"))
        gps->grab().save(QString::fromLocal8Bit(dir) +
                         QStringLiteral("/gnss-status-constellations.png"));
}

TEST_F(ChartPageTest, ThePointerPositionIsReadOutInTheStatusRow) {
    chart().setScaleIndex(7);
    chart().setCentre(-0.5, 51.5);
    const chart::PixelXY p = chart().model().axis().geoToPixel(-0.5, 51.5);
    QTest::mouseMove(&chart(), QPoint(p.x, p.y));
    const QString text =
        main().findChild<QLabel*>(QStringLiteral("lblStatusBarCoordinate"))->text();
    // Latitude and longitude, two blanks apart, within a pixel (6 seconds) of the point.
    const QRegularExpression format(
        QStringLiteral("^ 51°(29|30)'\\d\\d\"N    0°(29|30)'\\d\\d\"W$"));
    EXPECT_TRUE(format.match(text).hasMatch()) << text.toStdString();
    EXPECT_TRUE(main().statusPanel(4).contains(QLatin1Char(',')));
}

TEST_F(ChartPageTest, TheScaleIsWrittenBackAtExit) {
    click("spbEcsIconBarZoomIn");
    click("spbEcsIconBarZoomIn");
    stop();
    base::IniFile ini;
    ASSERT_EQ(ini.load(settingsFile()), base::IniFile::LoadResult::Loaded);
    EXPECT_EQ(ini.readInt("VIEW", "ScaleID", -1), 6);
}

TEST_F(ChartPageTest, MeasureAndColourSchemeAreOnTheToolBarAndAllFeaturesShowsTheRest) {
    auto shown = [this](const char* name) {
        return main().findChild<QWidget*>(QString::fromLatin1(name))->isVisibleTo(&main());
    };
    EXPECT_TRUE(shown("spbEcsIconBarMeasure"));
    EXPECT_TRUE(shown("spbEcsIconBarColorScheme"));
    EXPECT_FALSE(shown("spbEcsIconBarMark"));
    EXPECT_FALSE(item("mnuViewFullScreen")->isVisible());
    main().showAllFeatures();
    EXPECT_TRUE(shown("spbEcsIconBarMark"));
    EXPECT_TRUE(item("mnuViewFullScreen")->isVisible());
    // What the window's design hides stays hidden.
    EXPECT_FALSE(item("mnuOptions")->isVisible());
}

TEST_F(ChartPageTest, TheMeasureToolMeasuresBetweenTwoClicksAndFromTheOwnShip) {
    feed({RmcLine(0, 120.2, 22.5, 10.0, 45.0)});
    chart().setScaleIndex(7);
    chart().setCentre(120.2, 22.5);
    QToolButton* button = main().findChild<QToolButton*>(QStringLiteral("spbEcsIconBarMeasure"));
    button->click();
    ASSERT_TRUE(button->isChecked());
    auto* tool = dynamic_cast<chart::MeasureTool*>(chart().pointerTool());
    ASSERT_NE(tool, nullptr);

    const QPoint a(200, 200), b(320, 290);
    QTest::mouseClick(&chart(), Qt::LeftButton, {}, a);
    QTest::mouseClick(&chart(), Qt::LeftButton, {}, b);
    ASSERT_EQ(tool->state(), chart::MeasureTool::State::Measured);
    const chart::CAxisData& axis = chart().model().axis();
    const chart::MeasureLeg expected =
        chart::MeasureBetween(axis.pixelToGeo(a.x(), a.y()), axis.pixelToGeo(b.x(), b.y()));
    EXPECT_NEAR(tool->between().rangeNm, expected.rangeNm, 1e-9);
    EXPECT_GT(tool->between().bearing, 90.0);  // down and to the right: south-east
    EXPECT_LT(tool->between().bearing, 180.0);
    const chart::MeasureLeg own =
        chart::MeasureBetween({120.2, 22.5}, axis.pixelToGeo(b.x(), b.y()));
    EXPECT_NEAR(tool->fromOwnShip().rangeNm, own.rangeNm, 1e-3);

    // The measured line is on the chart: the frame differs from one without it.
    const QImage with = chart().renderToImage();
    if (const char* dir = std::getenv("NORQ_SCREENSHOT_DIR"))
        main().grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/chart-measure.png"));
    button->click();
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(chart().pointerTool(), nullptr);
    EXPECT_NE(with, chart().renderToImage());

    // The marker tool releases the measure tool.
    button->click();
    main().findChild<QToolButton*>(QStringLiteral("spbEcsIconBarMark"))->click();
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(dynamic_cast<chart::MeasureTool*>(chart().pointerTool()), nullptr);
}

TEST_F(ChartPageTest, APanOrZoomHoldsTheViewUntilTheUserGoesBackToTheOwnShip) {
    feed({RmcLine(0, 120.2, 22.5, 10.0, 45.0)});
    slider().setValue(14 - 7);
    click("spbEcsIconBarGotoShip");
    item("mnuCenterViewChart")->setChecked(true);
    ASSERT_NEAR(chart().model().centre().lon, 120.2, 1e-5);

    // Drag the own ship off the left edge.
    const QPoint from(chart().width() - 20, chart().height() / 2);
    const QPoint to(10, chart().height() / 2);
    QTest::mousePress(&chart(), Qt::LeftButton, {}, from);
    QTest::mouseMove(&chart(), (from + to) / 2);
    QTest::mouseMove(&chart(), to);
    QTest::mouseRelease(&chart(), Qt::LeftButton, {}, to);
    const chart::GeoPoint panned = chart().model().centre();
    ASSERT_GT(panned.lon, 120.25);
    EXPECT_FALSE(item("mnuCenterViewChart")->isChecked());

    // Neither the next fixes, nor a zoom, nor the one-second step move it back.
    feed({RmcLine(1, 120.201, 22.5, 10.0, 45.0)});
    click("spbEcsIconBarZoomOut");
    feed({RmcLine(2, 120.202, 22.5, 10.0, 45.0)});
    main().flushViews();
    chart().repaintLayers();
    EXPECT_NEAR(chart().model().centre().lon, panned.lon, 1e-9);
    EXPECT_NEAR(chart().model().centre().lat, panned.lat, 1e-9);

    // "Go to own ship" returns, and true motion follows again.
    click("spbEcsIconBarGotoShip");
    EXPECT_NEAR(chart().model().centre().lon, 120.202, 1e-5);
    feed({RmcLine(3, 121.5, 22.5, 10.0, 45.0)});
    EXPECT_EQ(chart().scaleIndex(), 6);
    EXPECT_NEAR(chart().model().centre().lon, 121.5, 1e-5);
}

}  // namespace
}  // namespace norq::test
