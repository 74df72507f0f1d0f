// The destination, the manual own position and the chart calibration in the
// viewer: their windows from the Config menu and the chart popup, what "OK" and
// "Cancel" change, the destination flag on the chart, and the settings file's
// sections as the exit writes them and the next start reads them.
// With NORQ_SCREENSHOT_DIR set, the windows are saved as PNG.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <fstream>

#include "ViewerFixture.h"
#include "app/NavigationHub.h"
#include "app/nav/NavPositions.h"
#include "chart/forms/PaintChart.h"
#include "comm/forms/DeviceConnections.h"
#include "nav/forms/ChartCalibrationForm.h"
#include "nav/forms/DestinationForm.h"
#include "nav/forms/DmsFieldsWidget.h"
#include "nav/forms/OwnShipForm.h"
#include "nav/forms/S57ChartSettingForm.h"

namespace norq::test {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The lines of one section of an INI text, "[NAME]" to the next section.
std::string Section(const std::string& ini, const std::string& name) {
    const std::size_t at = ini.find("[" + name + "]");
    if (at == std::string::npos) return {};
    const std::size_t end = ini.find("\n[", at + 1);
    return ini.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
}

class NavPositionsTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().resize(1200, 800);
        main().show();
        main().connections().dismissStartWizard();
        main().flushViews();
    }
    chart::TPaintChart& chart() { return *main().chart(); }
    app::NavPositions& positions() { return main().navigation().positions(); }
};

TEST_F(NavPositionsTest, AddDestinationHereTakesThePointOnlyWithOk) {
    main().setChartView(6, -1, -1);
    chart().setCentre(121.75, 25.15);
    // A press just beyond the antimeridian shows 174 30' W, not 174 29' 59''.
    main().navigation().addDestinationHere(185.5, 25.25);
    nav::TfrmDestination& window = positions().destinationWindow();
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.longitude()->degrees()->value(), 174);
    EXPECT_EQ(window.longitude()->minutes()->value(), 30);
    EXPECT_EQ(window.longitude()->seconds()->value(), 0);
    EXPECT_EQ(window.longitude()->hemisphere()->currentText(), QStringLiteral("W"));
    EXPECT_EQ(window.latitude()->minutes()->value(), 15);
    EXPECT_TRUE(window.configure()->isChecked());
    window.cancelButton()->click();
    EXPECT_FALSE(main().settings().destination.valid);
    EXPECT_FALSE(positions().flag().info().valid);

    main().navigation().addDestinationHere(121.8125, 25.1833);
    window.nameEdit()->setText(QStringLiteral("KEELUNG"));
    window.resize(420, 200);
    Screenshot(window, "positions-destination.png");
    window.okButton()->click();
    const base::DestinationSettings& d = main().settings().destination;
    EXPECT_TRUE(d.valid);
    EXPECT_EQ(d.name, "KEELUNG");
    EXPECT_NEAR(d.longitude, 121.8125, 0.5 / 3600.0);
    EXPECT_EQ(positions().flag().hint(), "KEELUNG\n121.48'45\"E, 25.11'00\"N");
    chart().grab();  // a frame drawn places the flag
    const auto box = positions().flag().placed();
    ASSERT_TRUE(box.has_value());
    const chart::PixelXY p = chart().model().axis().geoToPixel(d.longitude, d.latitude);
    EXPECT_EQ(box->left + box->width / 2 - 2, p.x);
    Screenshot(chart(), "positions-chart-destination.png");
    // A double click on the flag opens the window again, filled from the destination.
    QTest::mouseDClick(&chart(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(box->left + 8, box->top + 6));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.nameEdit()->text(), QStringLiteral("KEELUNG"));
    window.cancelButton()->click();

    // The exit writes the section; the next start shows the flag again.
    stop();
    const std::string ini = ReadAll(settingsFile());
    EXPECT_EQ(Section(ini, "DESTINATION"),
              "[DESTINATION]\nValid=1\nName=KEELUNG\nLon=" + base::FormatProfileFloat(d.longitude) +
                  "\nLat=" + base::FormatProfileFloat(d.latitude) + "\n\n");
    start();
    main().show();
    EXPECT_TRUE(main().navigation().positions().flag().info().valid);
    EXPECT_EQ(main().navigation().positions().flag().info().name, "KEELUNG");
}

TEST_F(NavPositionsTest, ManualPositionChangesNothingBeforeOkAndMovesTheOwnShipWithOk) {
    const ais::TargetRecord before = main().runState().tracker.table().own();
    main().navigation().setManualPositionHere(-5.6042, 36.0131);
    nav::TfrmOwnShip& window = positions().manualPositionWindow();
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.longitude()->secondsText()->text(), QStringLiteral("15.12000"));
    EXPECT_EQ(window.longitude()->hemisphere()->currentText(), QStringLiteral("W"));
    window.cogWhole()->setValue(123);
    window.cogTenths()->setValue(4);
    window.cancelButton()->click();
    // Cancel: the own ship is where it was.
    EXPECT_EQ(main().runState().tracker.table().own().longitude, before.longitude);
    EXPECT_EQ(main().runState().tracker.table().own().latitude, before.latitude);

    main().navigation().setManualPositionHere(-5.6042, 36.0131);
    // The COG fields keep what was entered last.
    EXPECT_EQ(window.cogWhole()->value(), 123);
    window.mmsiEdit()->setText(QStringLiteral("235099001"));
    window.resize(460, 200);
    Screenshot(window, "positions-manual.png");
    window.okButton()->click();
    const ais::TargetRecord& own = main().runState().tracker.table().own();
    EXPECT_NEAR(own.longitude, -5.6042, 1e-5);
    EXPECT_NEAR(own.latitude, 36.0131, 1e-5);
    EXPECT_NEAR(own.cog, 123.4, 1e-4);
    EXPECT_NEAR(positions().manualCourse(), 123.4, 1e-9);
    EXPECT_EQ(main().settings().ownMmsi, 235099001u);
    EXPECT_NEAR(chart().chartOwnPosition().longitude, -5.6042, 1e-5);
    EXPECT_FALSE(main().action(QStringLiteral("mnuCenterViewChart"))->isChecked());

    // The Config menu's item opens it with the current own position.
    main().action(QStringLiteral("mnuOwnShip"))->trigger();
    EXPECT_EQ(window.longitude()->degrees()->value(), 5);
    EXPECT_EQ(window.mmsiEdit()->text(), QStringLiteral("235099001"));
    window.cancelButton()->click();
    stop();
    const std::string ownShip = Section(ReadAll(settingsFile()), "OWN_SHIP");
    EXPECT_NE(ownShip.find("MMSI=235099001\n"), std::string::npos);
    EXPECT_NE(ownShip.find("Lon=" + base::FormatProfileFloat(-5.6042)), std::string::npos)
        << ownShip;
}

TEST_F(NavPositionsTest, CalibrationBeyondOneHundredthIsRefusedAndTheOffsetIsKept) {
    main().action(QStringLiteral("mnuChartCalibration"))->trigger();
    nav::TfrmChartCalibration& window = positions().calibrationWindow();
    ASSERT_TRUE(window.isVisible());
    window.enable()->setChecked(true);
    window.latitudeEdit()->clear();
    QTest::keyClicks(window.latitudeEdit(), QStringLiteral("1a"));
    EXPECT_EQ(window.latitudeEdit()->text(), QStringLiteral("1"));
    window.latitudeEdit()->setText(QStringLiteral("0.0101"));
    window.longitudeEdit()->clear();
    dialogs_.shown.clear();
    window.okButton()->click();
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].text, QStringLiteral("Exceeding the configurable range."));
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(main().settings().calibration.active);
    window.latitudeEdit()->setText(QStringLiteral("0.0100"));
    window.longitudeEdit()->setText(QStringLiteral("-0.005"));
    window.resize(380, 170);
    Screenshot(window, "positions-calibration.png");
    window.okButton()->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(main().settings().calibration.active);
    EXPECT_TRUE(chart().seaChart().settings().calibrationActive);
    EXPECT_DOUBLE_EQ(chart().seaChart().settings().calibrationLatitude, 0.01);
    EXPECT_DOUBLE_EQ(chart().seaChart().settings().calibrationLongitude, -0.005);
    stop();
    EXPECT_EQ(Section(ReadAll(settingsFile()), "CHART_CALIBRATION"),
              "[CHART_CALIBRATION]\nActive=1\nLatitude=0.0100\nLongitude=-0.005\n\n");
    start();
    main().show();  // the calibration is read at the first showing
    EXPECT_EQ(main().settings().calibration.latitude, "0.0100");
    EXPECT_TRUE(main().chart()->seaChart().settings().calibrationActive);
}

TEST_F(NavPositionsTest, EncSettingsAreWrittenOnlyWhenOkChangesThem) {
    main().action(QStringLiteral("mmuS57ChartOption"))->trigger();
    nav::TfrmS57ChartSetting& window = positions().encWindow();
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.depth(1)->text(), QStringLiteral("15"));
    // Unchanged: OK writes nothing.
    const std::string before = ReadAll(settingsFile());
    window.okButton()->click();
    EXPECT_EQ(ReadAll(settingsFile()), before);

    positions().openEncSettings();
    window.depth(0)->clear();
    QTest::keyClicks(window.depth(0), QStringLiteral("12.34"));
    EXPECT_EQ(window.depth(0)->text(), QStringLiteral("12.3"));
    window.scheme()->setCurrentIndex(3);  // Dusk
    window.orientation()->setCurrentIndex(2);
    EXPECT_FALSE(window.national()->isEnabled());
    window.showText()->setChecked(true);
    EXPECT_TRUE(window.national()->isEnabled());
    Screenshot(window, "positions-enc-setting.png");
    window.okButton()->click();
    EXPECT_EQ(positions().encSettings().shallowDepth, 12);
    EXPECT_EQ(main().chart()->orientation(), chart::Orientation::CourseUp);
    const std::string ini = ReadAll(settingsFile());
    EXPECT_EQ(Section(ini, "DEPTH"), "[DEPTH]\nShallow=12\nSafty=15\nDeep=30\n\n");
    EXPECT_NE(Section(ini, "DISPLAY").find("Color=3\n"), std::string::npos);
    EXPECT_NE(Section(ini, "CHART").find("TextCheck=1\n"), std::string::npos);

    // The Option page mirrors the scheme, soundings, text and depths both ways.
    positions().openEncSettings();
    EXPECT_EQ(window.pages()->count(), 2);
    EXPECT_TRUE(window.optionScheme(1)->isChecked());  // Dusk
    EXPECT_TRUE(window.optionShowText()->isChecked());
    EXPECT_EQ(window.optionDepth(0)->text(), QStringLiteral("12"));
    window.optionScheme(2)->setChecked(true);
    EXPECT_EQ(window.scheme()->currentIndex(), 4);  // Night
    window.optionScheme(0)->setChecked(true);
    EXPECT_EQ(window.scheme()->currentIndex(), 0);  // back to a day scheme
    window.scheme()->setCurrentIndex(2);            // Day Black is a day scheme
    EXPECT_TRUE(window.optionScheme(0)->isChecked());
    window.optionSoundings()->setChecked(true);
    window.optionDepth(2)->clear();
    QTest::keyClicks(window.optionDepth(2), QStringLiteral("25x"));
    EXPECT_EQ(window.depth(2)->text(), QStringLiteral("25"));
    window.pages()->setCurrentIndex(1);
    Screenshot(window, "positions-enc-option.png");
    window.okButton()->click();
    EXPECT_EQ(positions().encSettings().deepDepth, 25);
    EXPECT_TRUE(positions().encSettings().showSoundings);
    EXPECT_EQ(positions().encSettings().colourScheme, 2);

    // "Defult" then "Cancel" leaves the stored record as it was.
    positions().openEncSettings();
    window.defaultButton()->click();
    EXPECT_EQ(window.depth(0)->text(), QStringLiteral("2"));
    window.cancelButton()->click();
    EXPECT_EQ(positions().encSettings().shallowDepth, 12);

    // The text tool button stores "show text" and writes the keys at once.
    main().findChild<QToolButton*>(QStringLiteral("spbEcsIconBarText"))->setChecked(false);
    EXPECT_FALSE(positions().encSettings().showText);
    EXPECT_NE(Section(ReadAll(settingsFile()), "CHART").find("TextCheck=0\n"), std::string::npos);
    main().setChartView(-1, 0, 0);
}

}  // namespace
}  // namespace norq::test
