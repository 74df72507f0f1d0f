// The main window as it comes up and goes down: the shipped feature
// configuration, the timers of the first showing, the exit query and the
// settings written at exit.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

#include "ViewerFixture.h"
#include "app/BaseNames.h"
#include "base/IniFile.h"

namespace norq::test {
namespace {

using MainWindowTest = ViewerTest;

bool ActionVisible(app::TForm1& main, const char* name) {
    QAction* action = main.action(QString::fromLatin1(name));
    EXPECT_NE(action, nullptr) << name;
    return action != nullptr && action->isVisible();
}

bool WidgetShown(app::TForm1& main, const char* name) {
    auto* widget = main.findChild<QWidget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget != nullptr && widget->isVisibleTo(&main);
}

bool TimerActive(app::TForm1& main, const char* name) {
    auto* timer = main.findChild<QTimer*>(QString::fromLatin1(name));
    EXPECT_NE(timer, nullptr) << name;
    return timer != nullptr && timer->isActive();
}

TEST_F(MainWindowTest, StartsWithTheOwnShipLineAndAnEmptyCount) {
    EXPECT_EQ(main().windowTitle(), QStringLiteral("NORQ AIS Viewer"));
    EXPECT_EQ(main().shipListCaption(), QStringLiteral("SHIP LIST : 0"));
    EXPECT_EQ(main().shipListLineCount(), 1);
    EXPECT_TRUE(main().shipListLineText(0).startsWith(QStringLiteral("(Own)")));
    EXPECT_EQ(main().centrePage(), app::CentrePage::Chart);
    EXPECT_EQ(main().statusPanel(5), QStringLiteral("True Bearing"));
    // The vessel tab is active with its header hidden; no header is shown.
    EXPECT_EQ(main().activeDetailPage(), 0);
    EXPECT_FALSE(main().atonTabShown());
}

TEST_F(MainWindowTest, ShippedFeatureConfigurationHidesItsMenuItems) {
    for (const char* hidden : {"mnuDemo",
                               "mmuSRM",
                               "mnuTxOnOff",
                               "mnuFairwayBroadcast",
                               "mnuOpenSENC",
                               "mnuS57toSENC",
                               "mnuViewLonLatLines",
                               "mnuViewFullScreen",
                               "mnuViewShowMarks",
                               "mnuViewShowRoutes",
                               "mnuViewShowTracks",
                               "mnuViewShowAllVesselsTrack",
                               "mnuViewGPSStatus",
                               "mnuTools",
                               "mmuS57ChartOption",
                               "mmuTrueMotion",
                               "mnuConnectMobPort",
                               "mnuDemoParameters",
                               "mnuLangSimpChinese",
                               "mmuBinaryMsgAppData",
                               "mmuFairwayDataManagement",
                               "mmuFairwayCreation",
                               "mnuTrafficFlowStatistics",
                               "mnuOptions",
                               "mnuAutoMapCruise",
                               "mnuViewRegionList",
                               "mnuViewRegionAreaView",
                               "mnuOpenLog"}) {
        EXPECT_FALSE(ActionVisible(main(), hidden)) << hidden;
    }
    for (const char* shown :
         {"mnuPlayLog",         "mnuExportAISInfo",  "mnuAutoSaving",     "mnuExit",
          "mnuSearch",          "mnuSearchAgain",    "mnuFixShip",        "mnuCenterViewChart",
          "mnuRardarRangeRing", "mnuViewTracks",     "mnuViewSelectShip", "mnuViewLogWindow",
          "mnuSRMLog",          "mnuConnectAisPort", "mnuConnectGpsPort", "mnuDeviceWizard",
          "mnuCPA_TCPA",        "mnuLangEnglish",    "mnuLangTraChinese", "mmuBearingType",
          "mnuAbout",           "mnuUserManual"}) {
        EXPECT_TRUE(ActionVisible(main(), shown)) << shown;
    }
    EXPECT_TRUE(main().action("mnuRardarRangeRing")->isChecked());
    EXPECT_TRUE(main().action("mnuViewLonLatLines")->isChecked());
    EXPECT_TRUE(main().action("mnuTrueBearing")->isChecked());
    EXPECT_TRUE(main().action("mnuTxOn1")->isChecked());
    EXPECT_TRUE(main().action("mnuLangEnglish")->isChecked());
}

TEST_F(MainWindowTest, ShippedFeatureConfigurationHidesItsButtonsAndLabels) {
    for (const char* hidden :
         {"spbEcsIconBarNavigator", "spbEcsIconBarMark", "spbEcsIconBarRoute", "spbEcsIconBarText",
          "spbEcsIconBarSettings", "spbMobView", "SpeedButtonMute", "SpeedButtonSRM", "spbLogo",
          "lblStatusBarOrientation", "ImageStatusBarRecordingTrack", "ImageStatusBarMOBConnedt",
          "lblSRM_SentMsg", "imgMissMsgReceive", "lblTopPassenger", "lblTopPassengerTitle"}) {
        EXPECT_FALSE(WidgetShown(main(), hidden)) << hidden;
    }
    for (const char* shown :
         {"spbEcsIconBarZoomIn", "spbEcsIconBarZoomOut", "spbEcsIconBarViewSwitch", "spbAlphaView",
          "spbEcsIconBarScreen", "spbEcsIconBarGotoShip", "spbEcsIconBarNavManager",
          "spbEcsIconBarGpsSignal", "spbEcsIconBarAISMOBList", "spbEcsIconBarMeasure",
          "spbEcsIconBarColorScheme", "PanelStatusBar", "PanelToolBar", "ImageStatusBarAISConnect",
          "ImageStatusBarGPSConnect", "lblTopVessel"}) {
        EXPECT_TRUE(WidgetShown(main(), shown)) << shown;
    }
    // Every tool button has its picture and its hint.
    for (QToolButton* button : main().findChildren<QToolButton*>()) {
        const QString name = button->objectName();
        if (!name.startsWith(QStringLiteral("spbEcs")) &&
            !name.startsWith(QStringLiteral("Speed"))) {
            continue;
        }
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, FirstShowingStartsItsFourTimers) {
    for (const char* name : {"Timer1", "TimerPlayLog", "TimerShipCheck", "TimerRefreshFreq"})
        EXPECT_FALSE(TimerActive(main(), name)) << name;
    main().show();
    for (const char* name : {"Timer1", "TimerPlayLog", "TimerShipCheck", "TimerRefreshFreq"})
        EXPECT_TRUE(TimerActive(main(), name)) << name;
    for (const char* name :
         {"TimerCruiseMap", "TimerOrientChart", "TimerMOB", "TimerBlinking", "TimerTrack"}) {
        EXPECT_FALSE(TimerActive(main(), name)) << name;
    }
    EXPECT_EQ(main().listSelection(), 0);
}

TEST_F(MainWindowTest, ExitQueryCancelKeepsTheWindowAndWritesNothing) {
    main().show();
    dialogs_.answers = {ui::MessageAnswer::Cancel};
    EXPECT_FALSE(main().close());
    EXPECT_TRUE(main().isVisible());
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].caption, QStringLiteral("Exit!"));
    EXPECT_EQ(dialogs_.shown[0].text, QStringLiteral("Are you sure to exit?"));
    EXPECT_EQ(dialogs_.shown[0].buttons, ui::MessageButtons::OkCancel);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(settingsFile())));
    EXPECT_TRUE(main().findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
}

TEST_F(MainWindowTest, ExitQueryOkWritesTheSettings) {
    main().show();
    main().runState().tracker.setCpaSettings({3, 7});
    dialogs_.answers = {ui::MessageAnswer::Ok};
    EXPECT_TRUE(main().close());
    base::IniFile file;
    ASSERT_EQ(file.load(settingsFile()), base::IniFile::LoadResult::Loaded);
    EXPECT_EQ(file.readInt("CPA", "CPA", -1), 3);
    EXPECT_EQ(file.readInt("CPA", "TCPA", -1), 7);
    EXPECT_EQ(file.readInt("VIEW", "ScaleID", -1), 4);
    EXPECT_EQ(file.readInt("VIEW", "PlayLog", -1), 1);
    EXPECT_EQ(file.readInt("VIEW", "Language", -1), 0);
    EXPECT_FALSE(main().findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
}

TEST_F(MainWindowTest, AnUnknownStoredLanguageStartsInEnglishAndIsWrittenBackAsZero) {
    stop();
    folder().write("data/NorqAisViewer.ini",
                   "[VIEW]\r\nLanguage=7\r\nScaleID=6\r\n[CPA]\r\nCPA=2\r\n");
    start();
    EXPECT_TRUE(main().action("mnuLangEnglish")->isChecked());
    EXPECT_EQ(main().runState().tracker.cpaSettings().cpaLimit, 2);
    main().setExitQuery(false);
    main().close();
    base::IniFile file;
    ASSERT_EQ(file.load(settingsFile()), base::IniFile::LoadResult::Loaded);
    EXPECT_EQ(file.readInt("VIEW", "Language", -1), 0);
    EXPECT_EQ(file.readInt("VIEW", "ScaleID", -1), 6);
}

TEST_F(MainWindowTest, TheWindowRendersToAnImage) {
    main().show();
    main().flushViews();
    const QPixmap shot = main().grab();
    EXPECT_GE(shot.width(), 800);
    EXPECT_GE(shot.height(), 600);
}

}  // namespace
}  // namespace norq::test
