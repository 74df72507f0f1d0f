// The alarm and message windows in the viewer: the AIS MOB list in alarm, its
// device editor, the drill, the SRM alert, log and send dialog, the AtoN
// details with the lantern command, and the monitored and friend lists.
// With NORQ_SCREENSHOT_DIR set, the windows are also saved there as PNG.
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <cstdlib>

#include "AisLines.h"
#include "ViewerFixture.h"
#include "app/AlarmWindows.h"
#include "chart/forms/PaintChart.h"
#include "crew/MobLines.h"
#include "crew/forms/AisMobListForm.h"
#include "messaging/forms/AtonForms.h"
#include "messaging/forms/ShipListForms.h"
#include "messaging/forms/SrmForms.h"

namespace norq::test {
namespace {

using AlarmWindowsTest = ViewerTest;

QString Cell(QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item == nullptr ? QString() : item->text();
}

TEST_F(AlarmWindowsTest, MobListRaisesTheAlarmAndSilentAcknowledgesIt) {
    app::AlarmWindows& alarms = main().alarms();
    crew::TfrmAISMOBList& window = alarms.mobListWindow();
    ASSERT_EQ(alarms.mobList().Add(972001234, "BOSUN"), crew::MobEditResult::Done);
    alarms.mobList().Add(972005555, "COOK");
    window.refillGrid();
    // The own ship, so that ranges and bearings are measured.
    Vessel own{235099001, 1.30, 50.95, 12.0f, 45.0f, 45};
    feed(AisSentences(PositionReport(own), true));
    clock_.setLocal({{2026, 6, 14}, {9, 15, 30}});
    feed({DeviceReport(972001234, 14, 1.3512, 50.8811),
          DeviceReport(972001234, 14, 1.3512, 50.8811)});
    feed({DeviceReport(970222333, 14, 1.2601, 50.9302),
          DeviceReport(970222333, 14, 1.2601, 50.9302)});
    window.Timer1Timer();
    window.resize(800, 220);
    window.show();

    EXPECT_EQ(alarms.mobList().alarmRows(), 2);
    EXPECT_TRUE(alarms.mobList().anyUnacknowledged());
    EXPECT_EQ(Cell(window.grid(), 0, 0), QStringLiteral("972001234"));
    EXPECT_EQ(Cell(window.grid(), 0, 1), QStringLiteral("BOSUN"));
    EXPECT_EQ(Cell(window.grid(), 1, 1), QStringLiteral("[?] AIS-SART"));  // not registered
    EXPECT_TRUE(Cell(window.grid(), 0, 6).endsWith(QStringLiteral("09:15:30")));
    EXPECT_EQ(window.grid()->item(1, 0)->background().color(), QColor(0xFF, 0, 0));
    EXPECT_EQ(Cell(window.grid(), 2, 2), QString());  // quiet rows show no position
    EXPECT_TRUE(Cell(window.grid(), 0, 4).endsWith(QStringLiteral(" nm")));
    EXPECT_EQ(window.cautionText(), QStringLiteral("Caution: AIS MOB Acitive"));
    // The ship list shows the registered name.
    EXPECT_TRUE(main().shipListLineText(1).contains(QStringLiteral("BOSUN")));
    // The editor buttons follow the selection: SILENT on an alarm row.
    window.selectRow(0);
    EXPECT_TRUE(window.findChild<QPushButton*>(QStringLiteral("btnConfirm"))->isEnabled());
    EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("btnDelete"))->isEnabled());
    window.selectRow(2);
    EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("btnConfirm"))->isEnabled());
    // The one-second step beeps while the alarm sound is active.
    const int beeps = main().sound().beepCount();
    main().Timer1Timer();
    EXPECT_EQ(main().sound().beepCount(), beeps + 1);
    Screenshot(window, "ais-mob-list-alarm.png");

    window.onSilent();
    EXPECT_FALSE(main().sound().alerts().AnyActive());
    main().Timer1Timer();
    EXPECT_EQ(main().sound().beepCount(), beeps + 1);
    EXPECT_EQ(alarms.mobList().alarmRows(), 2);  // the rows stay red until they expire
}

TEST_F(AlarmWindowsTest, WithoutAnAudibleAlarmTheCautionStaysAndTheStatusRowSaysSo) {
    app::AlarmWindows& alarms = main().alarms();
    if (alarms.mobList().cautionSteady() == false && main().sound().alerts().audible()) {
        GTEST_SKIP() << "this machine can play the alarm";
    }
    feed({DeviceReport(970222333, 14), DeviceReport(970222333, 14)});
    crew::TfrmAISMOBList& window = alarms.mobListWindow();
    for (int i = 0; i < 3; ++i) {
        window.Timer1Timer();
        EXPECT_TRUE(window.cautionShown());
    }
    main().Timer1Timer();
    EXPECT_FALSE(alarms.statusNote().isEmpty());
    EXPECT_FALSE(window.statusText().isEmpty());
    // The window comes up by itself, since the alarm cannot be heard.
    EXPECT_TRUE(window.isVisible());
}

TEST_F(AlarmWindowsTest, TheDeviceEditorChecksTheMmsiAndRefusesCommas) {
    crew::TfrmAISMOBDeviceEdit& editor = *main().alarms().mobListWindow().editor();
    main().alarms().mobList().Add(972001234, "BOSUN");
    editor.mmsiField()->setText(QStringLiteral("97200012"));
    editor.validate();
    EXPECT_EQ(editor.warningText(),
              QStringLiteral("MMSI not long enough, MMSI has invalid character"));
    EXPECT_FALSE(editor.okEnabled());
    editor.mmsiField()->setText(QStringLiteral("970000042"));
    editor.validate();
    EXPECT_TRUE(editor.okEnabled());
    // A comma or a line break cannot be typed into the name.
    int pos = 0;
    QString name = QStringLiteral("SMITH, J");
    EXPECT_EQ(editor.nameField()->validator()->validate(name, pos), QValidator::Invalid);
    name = QStringLiteral("SMITH J");
    EXPECT_EQ(editor.nameField()->validator()->validate(name, pos), QValidator::Acceptable);
}

TEST_F(AlarmWindowsTest, TheDrillRunsThroughTheIntakeMarkedAsATest) {
    app::AlarmWindows& alarms = main().alarms();
    crew::TfrmAISMOBList& window = alarms.mobListWindow();
    window.onTestAlarm();
    main().flushViews();
    EXPECT_TRUE(alarms.mobList().anyDrill());
    EXPECT_TRUE(main().sound().alerts().AnyActive());
    EXPECT_TRUE(Cell(window.grid(), 0, 1).startsWith(QStringLiteral("[TEST]")));
    EXPECT_TRUE(window.cautionText().startsWith(QStringLiteral("[TEST]")));
    EXPECT_TRUE(main().shipListLineText(1).contains(QStringLiteral("TEST ALARM")));
    // The marks are texts of the interface language.
    main().ApplyLanguage(2);
    main().flushViews();
    EXPECT_TRUE(Cell(window.grid(), 0, 1).startsWith(QStringLiteral("[测试]")));
    EXPECT_TRUE(window.cautionText().startsWith(QStringLiteral("[测试]")));
    main().ApplyLanguage(0);
    window.onSilent();
    EXPECT_FALSE(main().sound().alerts().AnyActive());
    window.onTestAlarm();  // stop: the device falls silent
    window.onTestAlarm();  // end: the alarm goes at once
    window.Timer1Timer();
    EXPECT_EQ(alarms.mobList().count(), 0);
    // Nothing was written to the list file.
    EXPECT_FALSE(QFile::exists(QString::fromStdString(paths_.folders.dataFolder) +
                               QStringLiteral("AIS_MOB_List.csv")));
}

TEST_F(AlarmWindowsTest, SrmAlertForAMessageToTheOwnShipOpensTheLog) {
    app::AlarmWindows& alarms = main().alarms();
    clock_.setLocal({{2026, 6, 14}, {9, 7, 0}});
    feed({AddressedSafety(538009101, 235099001, "PLEASE KEEP CLEAR")});
    feed({SafetyBroadcast(2275300, "CS3 BUOY UNLIT")});
    feed({SafetyBroadcast(970111222, "SART TEST")});
    main().Timer1Timer();
    messaging::TfrmSRMAlertDialog& alert = alarms.srmAlert();
    ASSERT_TRUE(alert.isVisible());
    EXPECT_EQ(alert.openText(), QStringLiteral("OPEN  2"));
    EXPECT_EQ(alert.noteText(), QStringLiteral("From: 002275300\nMessage: CS3 BUOY UNLIT\n"));
    Screenshot(alert, "srm-alert.png");
    alert.onOpen();
    EXPECT_FALSE(alert.isVisible());
    EXPECT_EQ(alarms.safetyMessages().alertCount(), 0);
    messaging::TfrmSRMRecordBox& log = alarms.srmLog();
    EXPECT_TRUE(log.isVisible());
    EXPECT_EQ(log.currentPage(), 0);
    EXPECT_EQ(Cell(log.inBoxGrid(), 2, 3), QStringLiteral("538009101"));
    EXPECT_EQ(Cell(log.inBoxGrid(), 0, 4), QStringLiteral("[TEST] SART TEST"));
    log.resize(520, 260);
    Screenshot(log, "srm-log-in-box.png");
}

TEST_F(AlarmWindowsTest, SendingWithoutAnOpenPortIsReportedAsFailed) {
    app::AlarmWindows& alarms = main().alarms();
    messaging::TfrmSRM& send = alarms.srmWindow();
    send.messageList()->setCurrentRow(14);
    EXPECT_EQ(send.textField()->text(), QStringLiteral("MAN OVERBOARD"));
    send.show();
    Screenshot(send, "srm-send.png");
    send.onSend();
    ASSERT_FALSE(dialogs_.shown.empty());
    EXPECT_EQ(dialogs_.shown.back().text, QStringLiteral("Fait to send SRM from AIS port!"));
    EXPECT_TRUE(main()
                    .findChild<QLabel*>(QStringLiteral("lblSRM_SentMsg"))
                    ->text()
                    .startsWith(QStringLiteral("SRM:[MAN OVERBOARD] fail to sent at ")));
    messaging::TfrmSRMRecordBox& log = alarms.srmLog();
    EXPECT_EQ(log.currentPage(), 1);
    EXPECT_EQ(Cell(log.outBoxGrid(), 0, 4), QStringLiteral("FAILED"));
    log.resize(520, 200);
    Screenshot(log, "srm-log-out-box.png");
}

TEST_F(AlarmWindowsTest, AtonDetailsShowTheLanternAndTheCommandIsSent) {
    feed(AisSentences(AidToNavigation(992351001, "CS3 BUOY", 1.4, 51.0, 21)));
    main().runState().tracker.table()[1].lanternMode = 0x80;
    main().runState().tracker.table()[1].lanternCurrent = 0.25f;
    main().runState().tracker.table()[1].lanternStatus = 0x20;
    app::AlarmWindows& alarms = main().alarms();
    alarms.CopyAtonDetails(1);
    messaging::TfrmAtonDetails& details = alarms.atonDetails();
    EXPECT_EQ(details.field("lblEdtAtonDetailsMMSI"), QStringLiteral("992351001"));
    EXPECT_EQ(details.field("lblEdtAtonDetailsLanternMode"), QStringLiteral("FORCED ON"));
    EXPECT_EQ(details.field("lblEdtAtonDetailsLanternLight"), QStringLiteral("ON,Low Voltage"));
    alarms.onAtonDetail();
    EXPECT_TRUE(details.isVisible());
    EXPECT_FALSE(details.lanternGroup()->isVisible());
    // No port yet: the command is not written.
    alarms.lanternControl().select(messaging::LanternMode::ForcedOff);
    EXPECT_FALSE(alarms.lanternControl().onOk());
}

TEST_F(AlarmWindowsTest, MonitoredAndFriendShips) {
    Vessel a{235000001, 1.40, 51.0, 10.0f, 45.0f};
    Vessel b{235000002, 1.41, 51.0, 10.0f, 45.0f};
    feed(AisSentences(PositionReport(a)));
    feed(AisSentences(PositionReport(b)));
    app::AlarmWindows& alarms = main().alarms();
    alarms.shipMarks().addMonitored(2);
    messaging::TfrmMonitoredShipList& list = alarms.monitoredList();
    list.rebuild();
    EXPECT_EQ(Cell(list.grid(), 0, 1), QStringLiteral("235000002"));
    list.grid()->setCurrentCell(0, 1);
    dialogs_.answers.push_back(ui::MessageAnswer::No);
    list.onDelete();
    EXPECT_TRUE(alarms.shipMarks().isMonitored(2));

    messaging::TfrmBuddyDlg& buddy = alarms.buddyDialog();
    buddy.fill(alarms.friendList());
    buddy.grid()->item(0, 1)->setText(QStringLiteral("235000001"));
    buddy.grid()->item(0, 2)->setText(QStringLiteral("PAL"));
    buddy.grid()->item(0, 4)->setText(QStringLiteral("y"));
    EXPECT_EQ(Cell(buddy.grid(), 0, 4), QStringLiteral("Y"));
    ASSERT_TRUE(buddy.takeRows(alarms.friendList()));
    alarms.shipMarks().refreshFriendMarks();
    EXPECT_TRUE(alarms.shipMarks().isFriend(1));
    EXPECT_FALSE(alarms.shipMarks().isFriend(2));
    // "Show Monitored Ships Only" reaches the marks the chart reads.
    main().action(QStringLiteral("mnuViewSelectShip"))->trigger();
    EXPECT_TRUE(alarms.shipMarks().monitoredOnly());
}

}  // namespace
}  // namespace norq::test

namespace norq::test {
namespace {

class AlarmChartTest : public ViewerTest {
  protected:
    void ownShipAt(double lon, double lat) {
        Vessel own{235099001, lon, lat, 12.0f, 45.0f, 45};
        feed(AisSentences(PositionReport(own), true));
    }
};

TEST_F(AlarmChartTest, FriendAndMonitoredMarksReachTheChart) {
    ownShipAt(1.35, 50.95);
    Vessel a{235000001, 1.36, 50.96, 10.0f, 45.0f};
    Vessel b{235000002, 1.34, 50.94, 10.0f, 45.0f};
    feed(AisSentences(PositionReport(a)));
    feed(AisSentences(PositionReport(b)));
    app::AlarmWindows& alarms = main().alarms();
    const messaging::FriendRow rows[] = {{"235000001", "PAL", "", "Y"}};
    ASSERT_TRUE(alarms.friendList().setFromRows(rows, 1));
    alarms.shipMarks().refreshFriendMarks();
    chart::TPaintChart& chart = *main().chart();
    chart.refreshAllSymbols();
    // The target popup's "Add to Monitored Ship List" goes through the chart commands.
    ASSERT_NE(chart.commands(), nullptr);
    chart.commands()->setMonitored(2, true);
    EXPECT_TRUE(chart.model().target(1).symbol.flags.friendShip);
    EXPECT_FALSE(chart.model().target(2).symbol.flags.friendShip);
    EXPECT_TRUE(chart.model().target(2).monitored);
    EXPECT_TRUE(chart.targetHint(2).endsWith(QStringLiteral("Monitored:Monitored")));
    EXPECT_TRUE(alarms.shipMarks().isMonitored(2));
    chart.commands()->setMonitored(2, false);
    EXPECT_FALSE(chart.model().target(2).monitored);
}

TEST_F(AlarmChartTest, AnActiveSartIsMarkedOnTheChartAndATestSartDifferently) {
    main().resize(1280, 860);
    main().show();
    ownShipAt(1.30, 50.95);
    main().chart()->setScaleIndex(10);
    feed({DeviceReport(970222333, 14, 1.33, 50.962), DeviceReport(970222333, 14, 1.33, 50.962)});
    feed({DeviceReport(970111222, 15, 1.27, 50.938), DeviceReport(970111222, 15, 1.27, 50.938)});
    feed({SafetyBroadcast(970222333, "SART ACTIVE")});
    main().alarms().mobListWindow().Timer1Timer();
    main().Timer1Timer();
    const QImage image = main().chart()->renderToImage();
    ASSERT_FALSE(image.isNull());
    // Red alarm rings around the active SART's symbol.
    const chart::TargetSlot& sart = main().chart()->model().target(1);
    ASSERT_TRUE(sart.visible);
    EXPECT_TRUE(sart.symbol.flags.sartOrMob);
    const QPoint centre(sart.topLeft.x + 15, sart.topLeft.y + 15);
    int red = 0;
    for (int dx = -30; dx <= 30; ++dx) {
        for (int dy = -30; dy <= 30; ++dy) {
            const QPoint p = centre + QPoint(dx, dy);
            if (!image.rect().contains(p) || dx * dx + dy * dy < 18 * 18) continue;
            const QColor c = image.pixelColor(p);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60) ++red;
        }
    }
    EXPECT_GT(red, 60);
    const char* dir = std::getenv("NORQ_SCREENSHOT_DIR");
    if (dir != nullptr) {
        const QPoint own(image.width() / 2, image.height() / 2);
        image.copy(QRect(own - QPoint(300, 200), QSize(600, 400)))
            .save(QString::fromLocal8Bit(dir) + QStringLiteral("/chart-active-sart.png"));
    }
}

}  // namespace
}  // namespace norq::test

namespace norq::test {
namespace {

using TransmitterTest = ViewerTest;

TEST_F(TransmitterTest, TheTransponderReportSetsTxOnOrSilent) {
    QAction* on = main().action(QStringLiteral("mnuTxOn1"));
    QAction* silent = main().action(QStringLiteral("mnuTxOffSilentMode1"));
    ASSERT_TRUE(on->isChecked());
    feed({WithChecksum("PKRV,R,KRV,30,0,1,", '$')});
    EXPECT_TRUE(silent->isChecked());
    feed({WithChecksum("PKRV,R,KRV,30,0,0,", '$')});
    EXPECT_TRUE(on->isChecked());
    // Once the transponder reports its state, silence on the own reports no longer counts.
    for (int i = 0; i < 6; ++i)
        main().Timer1Timer();
    EXPECT_TRUE(on->isChecked());
}

TEST_F(TransmitterTest, WithoutReportsFiveSilentTicksMeanTxOff) {
    for (int i = 0; i < 5; ++i)
        main().Timer1Timer();
    EXPECT_TRUE(main().action(QStringLiteral("mnuTxOffSilentMode1"))->isChecked());
    Vessel own{235099001, 1.3, 50.9, 10.0f, 45.0f};
    feed(AisSentences(PositionReport(own), true));
    EXPECT_TRUE(main().action(QStringLiteral("mnuTxOn1"))->isChecked());
}

}  // namespace
}  // namespace norq::test

#include <QCoreApplication>
#include <QElapsedTimer>

#include "comm/CommTestSupport.h"

namespace norq::test {
namespace {

using SrmOverTheAisPortTest = ViewerTest;

// The window's event loop runs until `done` or the time is up.
bool SpinUntil(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

TEST_F(SrmOverTheAisPortTest, TheSentMessageIsConfirmedWhenTheTransponderReportsItBack) {
    NORQ_NEED_PTY();
    comm::test::PtyPair transponder;
    ASSERT_TRUE(main().sensorControl().OpenSensorPort(0, transponder.path(), 3));
    app::AlarmWindows& alarms = main().alarms();
    alarms.srmWindow().textField()->setText(QStringLiteral("MAN OVERBOARD"));
    alarms.srmWindow().onSend();
    const std::string bbm = transponder.read("\r\n");
    EXPECT_EQ(bbm.substr(0, 34), "!AIBBM,1,1,0,0,14,=1>P?F5B2?1B4,0*");
    EXPECT_EQ(alarms.safetyMessages().outBox()[0].state, messaging::SrmState::Sent);
    // The transponder transmits it and reports the own message back as a VDO.
    transponder.write(SafetyBroadcast(235099001, "MAN OVERBOARD", true));
    ASSERT_TRUE(SpinUntil([&] {
        return alarms.safetyMessages().outBox()[0].state == messaging::SrmState::Confirmed;
    }));
    ASSERT_FALSE(dialogs_.shown.empty());
    EXPECT_EQ(dialogs_.shown.back().text, QStringLiteral("SRM successfully sent out!!"));
    EXPECT_EQ(dialogs_.shown.back().caption, QStringLiteral("SRM"));
    EXPECT_EQ(alarms.safetyMessages().inBox().count(), 0);

    // The lantern command goes out on the same port.
    alarms.lanternControl().select(messaging::LanternMode::ForcedOn);
    EXPECT_TRUE(alarms.lanternControl().onOk());
    EXPECT_EQ(transponder.read("\r\n").substr(0, 39), "$PDBG,300,1,,-100000,,-100000,,-100000*");
    main().sensorControl().CloseAll();
}

}  // namespace
}  // namespace norq::test
