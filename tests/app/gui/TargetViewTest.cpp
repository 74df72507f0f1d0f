// Live data in the main window: the ship list, the grid and the detail pages with
// the selection and "Target Monitor" rules, the AtoN tab, the own ship in the top
// strip, the CPA/TCPA dialog, the bearing type, clearing and ageing.
#include <QAbstractItemView>
#include <QAction>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "AisLines.h"
#include "ViewerFixture.h"
#include "app/forms/CpaSettingForm.h"
#include "app/forms/DemoParForm.h"

namespace norq::test {
namespace {

class TargetViewTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().show();
        main().flushViews();
    }
    static Vessel Ship(std::uint32_t mmsi, double lon = 120.21, double lat = 22.56) {
        return {mmsi, lon, lat, 10.0f, 45.0f, 45, 0};
    }
    QString label(const char* name) {
        return main().findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    const ais::TargetTable& table() { return main().runState().tracker.table(); }
};

TEST_F(TargetViewTest, TheLatestTargetIsSelectedAndShownWhileTargetMonitorIsOff) {
    feed(AisSentences(PositionReport(Ship(416000001))));
    feed(AisSentences(StaticVoyage(416000001, {"OCEAN DAWN", "BR1234", 70, "KAOHSIUNG"})));
    feed(AisSentences(PositionReport(Ship(416000002))));
    EXPECT_EQ(main().shipListCaption(), QStringLiteral("SHIP LIST : 2"));
    EXPECT_EQ(label("lblTopVessel"), QStringLiteral("2"));
    EXPECT_EQ(main().listSelection(), 2);
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtMMSI")), QStringLiteral("416000002"));
    EXPECT_TRUE(
        main().detailText(QStringLiteral("EdtMMSINational")).startsWith(QStringLiteral("Taiwan")));
    EXPECT_EQ(main().gridCellText(1, 5), QStringLiteral("OCEAN DAWN"));
    EXPECT_EQ(main().gridCellText(1, 6), QStringLiteral("BR1234"));
    EXPECT_EQ(main().gridCellText(1, 19), QStringLiteral("KAOHSIUNG"));
    EXPECT_TRUE(main().gridCellText(1, 21).startsWith(QStringLiteral("(70)Cargo ship")));
}

TEST_F(TargetViewTest, AUsersChoiceTicksTargetMonitorAndKeepsTheTargetShown) {
    feed(AisSentences(PositionReport(Ship(416000001))));
    feed(AisSentences(StaticVoyage(416000001, {"OCEAN DAWN", "BR1234", 70, "KAOHSIUNG"})));
    feed(AisSentences(PositionReport(Ship(416000002))));
    // The user picks the first target in the ship list.
    auto* list = main().findChild<QAbstractItemView*>(QStringLiteral("ListBoxShip"));
    list->setCurrentIndex(list->model()->index(1, 0));
    EXPECT_TRUE(main().targetMonitorChecked());
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtName")), QStringLiteral("OCEAN DAWN"));
    auto* grid = main().findChild<QAbstractItemView*>(QStringLiteral("StringGrid1"));
    EXPECT_EQ(grid->currentIndex().row(), 1);
    // Further messages of the other target do not move the selection.
    feed(AisSentences(PositionReport(Ship(416000002, 120.3))));
    feed(AisSentences(PositionReport(Ship(416000003))));
    EXPECT_EQ(main().listSelection(), 1);
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtMMSI")), QStringLiteral("416000001"));
    // Unticked, the next applied entry is selected again.
    main().setTargetMonitorChecked(false);
    feed(AisSentences(PositionReport(Ship(416000002))));
    EXPECT_EQ(main().listSelection(), 2);
    EXPECT_EQ(grid->currentIndex().row(), 2);
}

TEST_F(TargetViewTest, AnAidToNavigationShowsTheAtonTab) {
    feed(AisSentences(AidToNavigation(994161001, "NORTH BUOY", 120.25, 22.6, 20)));
    EXPECT_TRUE(main().atonTabShown());
    EXPECT_EQ(main().activeDetailPage(), 1);
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtAtonName")), QStringLiteral("NORTH BUOY"));
    EXPECT_TRUE(main()
                    .detailText(QStringLiteral("lblEdtAtonType"))
                    .startsWith(QStringLiteral("Cardinal Mark N")));
    feed(AisSentences(PositionReport(Ship(416000001))));
    EXPECT_FALSE(main().atonTabShown());
    EXPECT_EQ(main().activeDetailPage(), 0);
}

TEST_F(TargetViewTest, GnssFixesFillTheTopStripAndTheOwnShipRow) {
    feed({RmcLine(0, 120.25, 22.5, 11.5, 35.0), GgaLine(0, 120.25, 22.5)});
    EXPECT_EQ(label("lblTopSog"), QStringLiteral("11.50 Kn"));
    EXPECT_EQ(label("lblTopCog"), QStringLiteral(" 35.0°"));
    EXPECT_EQ(label("lblTopLat"), QStringLiteral(" 22°30'00\"N"));
    EXPECT_EQ(label("lblTopLon"), QStringLiteral("120°15'00\"E"));
    EXPECT_EQ(label("lblTopUtc"), QStringLiteral("2026/03/15 12:00:00"));
    EXPECT_EQ(main().gridCellText(0, 9), QStringLiteral("11.50 Kn"));
    // Ranges and CPA of the targets are measured from the fix.
    feed(AisSentences(PositionReport(Ship(416000001, 120.25, 22.55))));
    EXPECT_EQ(main().gridCellText(1, 7), QStringLiteral("  3.00 nm"));
    EXPECT_NE(main().gridCellText(1, 12), QStringLiteral("N/A"));
}

TEST_F(TargetViewTest, CpaDialogOkSetsTheLimitsAndCancelKeepsThem) {
    auto* dialog = main().findChild<app::TfrmCpaSetting*>();
    ASSERT_NE(dialog, nullptr);
    QTimer::singleShot(0, dialog, [dialog] {
        dialog->findChild<QSpinBox*>(QStringLiteral("spnCPA"))->setValue(2);
        dialog->findChild<QSpinBox*>(QStringLiteral("spnTCPA"))->setValue(30);
        dialog->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    main().action(QStringLiteral("mnuCPA_TCPA"))->trigger();
    EXPECT_EQ(main().runState().tracker.cpaSettings().cpaLimit, 2);
    EXPECT_EQ(main().runState().tracker.cpaSettings().tcpaLimit, 30);
    QTimer::singleShot(0, dialog, [dialog] {
        dialog->findChild<QSpinBox*>(QStringLiteral("spnCPA"))->setValue(9);
        dialog->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    });
    main().action(QStringLiteral("mnuCPA_TCPA"))->trigger();
    EXPECT_EQ(main().runState().tracker.cpaSettings().cpaLimit, 2);
}

TEST_F(TargetViewTest, BearingTypeSwitchesEveryBearingAndTheStatusText) {
    feed({RmcLine(0, 120.2, 22.55, 10.0, 90.0)});
    feed(AisSentences(PositionReport(Ship(416000001, 120.2, 22.6))));  // due north
    EXPECT_TRUE(main().gridCellText(1, 8).startsWith(QStringLiteral("  0.0")));
    main().action(QStringLiteral("mmuRelativeBearing"))->trigger();
    main().flushViews();
    EXPECT_EQ(main().statusPanel(5), QStringLiteral("Relative Bearing"));
    EXPECT_TRUE(main().gridCellText(1, 8).startsWith(QStringLiteral("270.0")));
    main().action(QStringLiteral("mnuTrueBearing"))->trigger();
    main().flushViews();
    EXPECT_EQ(main().statusPanel(5), QStringLiteral("True Bearing"));
    EXPECT_TRUE(main().gridCellText(1, 8).startsWith(QStringLiteral("  0.0")));
}

TEST_F(TargetViewTest, DoubleClickOnTheNoHeadingClearsAfterTheQuestion) {
    feed(AisSentences(PositionReport(Ship(416000001))));
    auto* heading = main().findChild<QLabel*>(QStringLiteral("StaticTextNO"));
    dialogs_.answers = {ui::MessageAnswer::Cancel};
    QTest::mouseDClick(heading, Qt::LeftButton);
    EXPECT_EQ(table().count(), 2);
    dialogs_.answers = {ui::MessageAnswer::Ok};
    QTest::mouseDClick(heading, Qt::LeftButton);
    ASSERT_EQ(dialogs_.shown.size(), 2u);
    EXPECT_EQ(dialogs_.shown[1].text, QStringLiteral("Are you sure to clear all ships?"));
    EXPECT_EQ(table().count(), 1);
    EXPECT_EQ(main().shipListLineCount(), 1);
    EXPECT_EQ(main().shipListCaption(), QStringLiteral("SHIP LIST : 0"));
}

TEST_F(TargetViewTest, SilentTargetsAgeOutOnePerTick) {
    feed(AisSentences(PositionReport(Ship(416000001))));
    clock_.advance(600);
    feed(AisSentences(PositionReport(Ship(416000002))));
    feed(AisSentences(PositionReport(Ship(416000003))));
    clock_.advance(3001);  // the first is silent for 3601 s, the others 3001 s
    main().Timer1Timer();
    main().flushViews();
    EXPECT_EQ(main().shipListCaption(), QStringLiteral("SHIP LIST : 2"));
    EXPECT_TRUE(main().shipListLineText(1).startsWith(QStringLiteral("(001)  416000002")));
    clock_.advance(600);
    main().Timer1Timer();
    main().flushViews();
    EXPECT_EQ(main().shipListCaption(), QStringLiteral("SHIP LIST : 1"));
    main().Timer1Timer();
    main().flushViews();
    EXPECT_EQ(main().shipListCaption(), QStringLiteral("SHIP LIST : 0"));
    EXPECT_EQ(main().shipListLineCount(), 1);
}

TEST_F(TargetViewTest, AChangedTargetReportsOnlyItsChangedGridCells) {
    auto* grid = main().findChild<QTableView*>(QStringLiteral("StringGrid1"));
    ASSERT_NE(grid, nullptr);
    QAbstractItemModel* model = grid->model();
    Vessel ship = Ship(416000001);
    // A new row is reported whole once; after that only by its changed cells.
    for (float speed : {10.0f, 11.0f}) {
        ship.sog = speed;
        feed(AisSentences(PositionReport(ship)));
        main().flushViews();
    }
    const int row = model->rowCount() - 1;
    const QString mmsi = model->index(row, 1).data().toString();
    const QString sog = model->index(row, 9).data().toString();

    QSignalSpy spy(model, &QAbstractItemModel::dataChanged);
    ship.sog = 12.5f;
    feed(AisSentences(PositionReport(ship)));
    main().flushViews();
    bool sogReported = false;
    for (const QList<QVariant>& report : spy) {
        const auto from = report[0].value<QModelIndex>();
        const auto to = report[1].value<QModelIndex>();
        EXPECT_EQ(from, to) << "a report spans several cells";
        EXPECT_NE(from.column(), 1) << "the unchanged MMSI is reported";
        sogReported = sogReported || from.column() == 9;
    }
    EXPECT_TRUE(sogReported);
    EXPECT_EQ(model->index(row, 1).data().toString(), mmsi);
    EXPECT_NE(model->index(row, 9).data().toString(), sog);

    // Nothing changed: nothing is reported.
    spy.clear();
    main().flushViews();
    EXPECT_TRUE(spy.isEmpty());
}

TEST_F(TargetViewTest, WithoutOwnReportsTheTransmitterCountsAsSilent) {
    for (int i = 0; i < 5; ++i)
        main().Timer1Timer();
    EXPECT_TRUE(main().action(QStringLiteral("mnuTxOffSilentMode1"))->isChecked());
    // An own report resets the count and ticks "Tx On" again.
    feed(AisSentences(PositionReport(Ship(416999999)), true));
    EXPECT_EQ(main().noOwnTransmissionCount(), 0);
    EXPECT_TRUE(main().action(QStringLiteral("mnuTxOn1"))->isChecked());
}

TEST_F(TargetViewTest, DemoModeSwitchesTheCentrePageEveryTenTicks) {
    main().action(QStringLiteral("mnuDemo"))->setChecked(true);
    for (int i = 0; i < 9; ++i)
        main().Timer1Timer();
    EXPECT_EQ(main().centrePage(), app::CentrePage::Chart);
    main().Timer1Timer();
    EXPECT_EQ(main().centrePage(), app::CentrePage::Alpha);
    for (int i = 0; i < 10; ++i)
        main().Timer1Timer();
    EXPECT_EQ(main().centrePage(), app::CentrePage::Chart);
}

TEST_F(TargetViewTest, DemoParametersBiasTheDecodedPositions) {
    auto* dialog = main().findChild<app::TfrmDemoPar*>();
    ASSERT_NE(dialog, nullptr);
    QTimer::singleShot(0, dialog, [dialog] {
        dialog->findChild<QDoubleSpinBox*>(QStringLiteral("edtBiasLon"))->setValue(0.5);
        dialog->accept();
    });
    main().action(QStringLiteral("mnuDemoParameters"))->trigger();
    EXPECT_DOUBLE_EQ(main().runState().tracker.positionBias().longitude, 0.5);
    feed(AisSentences(PositionReport(Ship(416000001, 120.25, 22.5))));
    EXPECT_NEAR(table()[1].longitude, 120.75, 1e-4);
}

TEST_F(TargetViewTest, TheListPageShowsTheAtonTabForASelectedAid) {
    feed(AisSentences(AidToNavigation(994161001, "NORTH BUOY", 120.25, 22.6, 20)));
    main().runState().ReceiveLine("", false);
    main().showAtonTab(false);
    main().flushViews();
    EXPECT_FALSE(main().atonTabShown());
    main().findChild<QToolButton*>(QStringLiteral("spbAlphaView"))->click();
    main().flushViews();
    EXPECT_EQ(main().centrePage(), app::CentrePage::Alpha);
    EXPECT_TRUE(main().atonTabShown());
}

}  // namespace
}  // namespace norq::test
