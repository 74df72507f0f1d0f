// The links in the running viewer: the message log, auto-saving and export
// windows, the port dialog, the link steps of the one-second timer and
// the shutdown, against a TCP server on the loopback address.
#include <poll.h>
#include <sys/socket.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "ViewerFixture.h"
#include "app/ViewerLinks.h"
#include "comm/CommTestSupport.h"
#include "comm/forms/AutoSavingForm.h"
#include "comm/forms/ConnectionPicture.h"
#include "comm/forms/DeviceConnections.h"
#include "comm/forms/ExportForm.h"
#include "comm/forms/MsgLogForm.h"
#include "comm/forms/SerialPortConfigDlg.h"
#include "comm/forms/SourceHealthForm.h"

namespace norq::test {
namespace {

constexpr std::string_view kVdm = "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n";

// Runs the Qt event loop until `done` or the time is up.
bool Until(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A loopback server whose client the Qt event loop waits for.
class Server : public comm::test::LoopbackServer {
  public:
    bool acceptClient() {
        base::EventLoop unused;
        bool accepted = false;
        Until([&] {
            accepted = accept(unused, std::chrono::milliseconds(1));
            return accepted;
        });
        return accepted;
    }
};

class LinksTest : public ViewerTest {
  protected:
    app::ViewerLinks& links() { return main().links(); }
    comm::TSysSensorControl& control() { return main().sensorControl(); }
    // Connects the AIS sensor to the server as the command line would.
    void connectTcp() {
        main().setStartupConnection(QStringLiteral("tcp://127.0.0.1:%1").arg(server.port()));
        main().show();
        ASSERT_TRUE(server.acceptClient());
        ASSERT_TRUE(
            Until([&] { return control().tcpThread() && control().tcpThread()->connected(); }));
    }
    Server server;
};

TEST_F(LinksTest, TheLogWindowShowsLinesWhileEnabledAndSavesWithTheOverwriteQuestion) {
    connectTcp();
    main().action(QStringLiteral("mnuViewLogWindow"))->trigger();
    comm::TfrmMsgLog* window = links().msgLogWindow();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Message Log"));
    server.send(kVdm);
    ASSERT_TRUE(Until([&] { return main().runState().tracker.table().count() == 2; }));
    window->refresh();
    EXPECT_TRUE(window->shownText().isEmpty()) << "logged while Enable Log is unticked";

    window->findChild<QCheckBox*>(QStringLiteral("cbxEnableLog"))->setChecked(true);
    EXPECT_FALSE(window->findChild<QCheckBox*>(QStringLiteral("cbxAddTimeStamp"))->isVisible());
    server.send("$GPZDA,120000.00,01,01,2026,,*6D\r\n" + std::string(90, 'x') + "\r\n");
    ASSERT_TRUE(Until([&] { return links().log().size() == 2; }));
    // A line sent by the viewer is logged too.
    control().SendLine(comm::kAisPort, "$PKRV,Q,KRV,,,,*01\r\n");
    window->refresh();
    EXPECT_EQ(window->shownText(), QStringLiteral("$GPZDA,120000.00,01,01,2026,,*6D\n") +
                                       QString(90, QLatin1Char('x')) +
                                       QStringLiteral("\n$PKRV,Q,KRV,,,,*01"));

    const std::string file = folder().path("saved.TXT");
    std::ofstream(file) << "keep me";
    dialogs_.saveFile = QString::fromStdString(file);
    dialogs_.answers = {ui::MessageAnswer::No};
    window->saveLog();
    EXPECT_EQ(dialogs_.shown.back().text,
              QStringLiteral("File already exists. Do you want to overwrite?"));
    EXPECT_EQ(dialogs_.shown.back().caption, QStringLiteral("WARNING"));
    EXPECT_EQ(ReadAll(file), "keep me");
    dialogs_.answers = {ui::MessageAnswer::Yes};
    window->saveLog();
    EXPECT_EQ(ReadAll(file), "$GPZDA,120000.00,01,01,2026,,*6D\r\n" + std::string(90, 'x') +
                                 "\r\n$PKRV,Q,KRV,,,,*01\r\n");
    EXPECT_EQ(main().statusPanel(7), QStringLiteral("LOG:saved.TXT"));

    dialogs_.answers = {ui::MessageAnswer::Cancel};
    window->clearLog();
    EXPECT_EQ(dialogs_.shown.back().text, QStringLiteral("Are you sure to clear log?"));
    EXPECT_EQ(links().log().size(), 3u);
    dialogs_.answers = {ui::MessageAnswer::Ok};
    window->clearLog();
    EXPECT_EQ(links().log().size(), 0u);
    EXPECT_TRUE(window->shownText().isEmpty());
    // Lines that come between a clear and the next update are the only ones shown.
    links().log().addAlways("one");
    window->refresh();
    links().log().clear();
    links().log().addAlways("two");
    window->refresh();
    EXPECT_EQ(window->shownText(), QStringLiteral("two"));
    links().log().clear();
    window->refresh();

    // The far end closes: noted in the log even with Enable Log unticked.
    window->findChild<QCheckBox*>(QStringLiteral("cbxEnableLog"))->setChecked(false);
    server.closeClient();
    ASSERT_TRUE(Until([&] { return control().tcpThread() == nullptr; }));
    window->refresh();
    EXPECT_EQ(window->shownText(), QStringLiteral("###TCP/IP disconnect###"));
}

TEST_F(LinksTest, TheOneSecondStepRunsTheLinkStepsAndShutdownClosesTheTcpLink) {
    connectTcp();
    EXPECT_EQ(main().statusPanel(0), QStringLiteral("AIS Port Connected"));
    EXPECT_EQ(main().statusPanel(1), QStringLiteral("GPS Port Disconnect"));
    auto* missing = main().findChild<QLabel*>(QStringLiteral("imgMissMsgReceive"));
    for (int i = 0; i < 30; ++i) {
        server.send(kVdm);
        ASSERT_TRUE(Until([&] { return control().aisDataSeen(); }));
        main().Timer1Timer();
    }
    EXPECT_TRUE(control().tcpSupervision().armed);
    EXPECT_FALSE(missing->isVisible());
    // A silent link brings up the missing-message indicator after 60 s,
    // whatever device it is (none identified here).
    for (int i = 0; i < 60; ++i)
        main().Timer1Timer();
    EXPECT_EQ(control().deviceKind(), comm::DeviceKind::None);
    EXPECT_TRUE(missing->isVisible());
    // Closing the viewer closes the link: the server sees the end.
    stop();
    EXPECT_TRUE(Until([&] { return server.peerClosed(); }));
}

TEST_F(LinksTest, TheAutoSavingWindowChecksItsFieldsAndOkTakesOrStopsTheSchedule) {
    main().show();
    main().action(QStringLiteral("mnuAutoSaving"))->trigger();
    comm::TfrmAutoSaving* window = links().autoSavingWindow();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->form().periodIndex, 6);  // "1 day"
    EXPECT_EQ(window->form().fileName, folder().path("data") + "/FileName");
    // Tomorrow at this time of day: valid as it stands.
    EXPECT_EQ(window->check(), comm::AutoSavingCheck::Ok);
    EXPECT_EQ(window->summaryText(), QStringLiteral("The recording settings are valid."));

    window->findChild<QCheckBox*>(QStringLiteral("CheckBoxStart"))->setChecked(true);
    window->findChild<QCheckBox*>(QStringLiteral("CheckBoxEnd"))->setChecked(true);
    window->findChild<QCheckBox*>(QStringLiteral("CheckBoxAutoSave"))->setChecked(true);
    window->findChild<QLineEdit*>(QStringLiteral("EditFileNameSetting"))->clear();
    EXPECT_EQ(window->check(), comm::AutoSavingCheck::EmptyFileName);
    EXPECT_EQ(window->summaryText(), QStringLiteral("The file name is empty."));
    EXPECT_FALSE(window->accept_());
    EXPECT_EQ(dialogs_.shown.back().text,
              QStringLiteral("The settings are not valid. Please check the message shown in red."));

    window->findChild<QLineEdit*>(QStringLiteral("EditFileNameSetting"))
        ->setText(QString::fromStdString(folder().path("Rec")));
    ASSERT_TRUE(window->accept_());
    EXPECT_TRUE(links().autoSaving().enabled());
    main().Timer1Timer();
    EXPECT_TRUE(control().recording().isOpen());

    // Unticking "Enabled" asks first; OK then stops the recording.
    window->findChild<QCheckBox*>(QStringLiteral("CheckBoxAutoSave"))->setChecked(false);
    dialogs_.answers = {ui::MessageAnswer::Cancel};
    EXPECT_FALSE(window->accept_());
    EXPECT_TRUE(links().autoSaving().enabled());
    dialogs_.answers = {ui::MessageAnswer::Ok};
    EXPECT_TRUE(window->accept_());
    EXPECT_FALSE(links().autoSaving().enabled());
    EXPECT_FALSE(control().recording().isOpen());
}

TEST_F(LinksTest, AMulticastGroupNamedOnTheCommandLineFeedsTheViewer) {
    NORQ_NEED_LOOPBACK_MULTICAST();
    const int port = comm::test::FreeUdpPort();
    main().setStartupConnection(QStringLiteral("udp://239.192.0.1:%1?if=127.0.0.1").arg(port));
    main().show();
    ASSERT_NE(control().udpListener(), nullptr);
    EXPECT_EQ(control().udpListener()->group(), "239.192.0.1");
    EXPECT_EQ(control().inputType(comm::kAisPort), comm::InputType::Udp);
    EXPECT_EQ(control().linkState(comm::kAisPort), comm::LinkState::Connected);
    comm::test::GroupSender sender(comm::test::kTestGroup, port);
    ASSERT_TRUE(sender.send(kVdm));
    EXPECT_TRUE(Until([&] { return main().runState().tracker.table().count() == 2; }));
    EXPECT_EQ(main().statusPanel(0), QStringLiteral("AIS Port Connected"));
    // The command line is this run's choice: the stored UDP input stays as it was.
    stop();
    const std::string settings = ReadAll(settingsFile());
    EXPECT_NE(settings.find("UDP_Group=\n"), std::string::npos) << settings;
}

TEST_F(LinksTest, AMulticastGroupThatCannotBeJoinedAtStartIsReported) {
    main().setStartupConnection(QStringLiteral("udp://239.192.0.1:10110?if=norq-none0"));
    main().show();
    ASSERT_FALSE(dialogs_.shown.empty());
    EXPECT_TRUE(dialogs_.shown.front().text.startsWith(
        QStringLiteral("Multicast group 239.192.0.1 port 10110 cannot be joined on norq-none0")))
        << dialogs_.shown.front().text.toStdString();
    EXPECT_FALSE(control().aisLinkOpen());
}

TEST_F(LinksTest, ThePortDialogJoinsAMulticastGroupAndKeepsItForTheNextStart) {
    NORQ_NEED_LOOPBACK_MULTICAST();
    const int port = comm::test::FreeUdpPort();
    main().show();
    comm::DeviceConnections& connections = main().connections();
    comm::TSerialPortConfigDlg& dialog = connections.portDialog();
    bool received = false;
    QTimer::singleShot(0, [&] {
        connections.portDialogFlow().setInputType(comm::InputType::Udp);
        dialog.render();
        dialog.findChild<QLineEdit*>(QStringLiteral("edtUdpPort"))->setText(QString::number(port));
        dialog.findChild<QLineEdit*>(QStringLiteral("edtUdpGroup"))
            ->setText(QStringLiteral("239.192.0.1"));
        dialog.findChild<QComboBox*>(QStringLiteral("cbxUdpInterface"))
            ->setEditText(QStringLiteral("127.0.0.1"));
        dialog.findChild<QPushButton*>(QStringLiteral("btnConnect"))->click();
        comm::test::GroupSender sender(comm::test::kTestGroup, port);
        sender.send(kVdm);
        received = Until([&] { return main().runState().tracker.table().count() == 2; });
        Screenshot(dialog, "multicast-port-dialog.png");
        dialog.reject();
    });
    main().action(QStringLiteral("mnuConnectAisPort"))->trigger();
    EXPECT_TRUE(received);
    ASSERT_NE(control().udpListener(), nullptr);
    EXPECT_EQ(control().udpListener()->group(), "239.192.0.1");
    EXPECT_EQ(main().statusPanel(0), QStringLiteral("AIS Port Connected"));
    Screenshot(main(), "multicast-main-window.png");
    stop();
    const std::string settings = ReadAll(settingsFile());
    EXPECT_NE(settings.find("UDP_Port=" + std::to_string(port)), std::string::npos) << settings;
    EXPECT_NE(settings.find("UDP_Group=239.192.0.1\nUDP_Interface=127.0.0.1\n"), std::string::npos)
        << settings;
}

TEST_F(LinksTest, TheExportWindowShowsAndWritesTheTargetList) {
    main().show();
    feed({std::string(kVdm)});
    main().action(QStringLiteral("mnuExportAISInfo"))->trigger();
    comm::TfrmExportAisInfo* window = links().exportWindow();
    ASSERT_TRUE(window->isVisible());
    const QStringList rows = window->previewText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3);  // the header, the own ship, the target
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("NO,")) || rows[0].count(QLatin1Char(',')) == 23)
        << rows[0].toStdString();
    EXPECT_TRUE(rows[2].contains(QStringLiteral("244670316"))) << rows[2].toStdString();
    const std::string file = folder().path("targets.csv");
    dialogs_.saveFile = QString::fromStdString(file);
    ASSERT_TRUE(window->save());
    const std::string written = ReadAll(file);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 3);
    EXPECT_NE(written.find(",\r\n"), std::string::npos);
    // A file that cannot be written says so.
    dialogs_.saveFile = QString::fromStdString(folder().path("no/such/folder/t.csv"));
    EXPECT_FALSE(window->save());
    EXPECT_EQ(dialogs_.shown.back().icon, ui::MessageIcon::Error);
}

TEST_F(LinksTest, ThePortDialogSaysWhyAPortWillNotOpenAndKeepsOneThatDoes) {
    main().show();
    comm::TSerialPortConfigDlg& dialog = main().connections().portDialog();
    std::unique_ptr<comm::test::PtyPair> gps;
    if (comm::test::HavePseudoTerminals()) gps = std::make_unique<comm::test::PtyPair>();
    QString caption;
    QTimer::singleShot(0, [&] {
        caption = dialog.windowTitle();
        auto* port = dialog.findChild<QComboBox*>(QStringLiteral("cbxSerialPort"));
        auto* rate = dialog.findChild<QComboBox*>(QStringLiteral("cbxBaudRate"));
        auto* button = dialog.findChild<QPushButton*>(QStringLiteral("btnConnect"));
        port->setEditText(QStringLiteral("/dev/norq-missing"));
        rate->setCurrentIndex(5);
        button->click();
        if (gps) {
            // A port that opens is kept for the next start.
            port->setEditText(QString::fromStdString(gps->path()));
            rate->setCurrentIndex(3);
            button->click();
        }
        dialog.reject();
    });
    main().action(QStringLiteral("mnuConnectGpsPort"))->trigger();
    EXPECT_EQ(caption, QStringLiteral("Config GPS Connection"));
    ASSERT_FALSE(dialogs_.shown.empty());
    EXPECT_TRUE(dialogs_.shown.front().text.startsWith(
        QStringLiteral("Serial port open error! Please check!")));
    EXPECT_TRUE(
        dialogs_.shown.front().text.contains(QStringLiteral("/dev/norq-missing does not exist.")))
        << dialogs_.shown.front().text.toStdString();
    if (!gps) return;
    EXPECT_EQ(control().portSettings(comm::kGpsPort).serialDevice, gps->path());
    EXPECT_EQ(control().portSettings(comm::kGpsPort).serialBaudRate, 9);  // 38400
    EXPECT_EQ(main().statusPanel(1), QStringLiteral("GPS Port Connected"));
    stop();
    EXPECT_NE(ReadAll(settingsFile()).find("Serial_Device=" + gps->path()), std::string::npos);
}

TEST_F(LinksTest, ALinkThatFallsSilentOrDropsShowsInTheStatusRowAndThePortDialog) {
    connectTcp();
    control().setLinkState(comm::kAisPort, comm::LinkState::Connected);
    server.send(kVdm);
    ASSERT_TRUE(Until([&] { return main().runState().tracker.table().count() == 2; }));
    links().stepSensorStatus();
    auto* image = main().findChild<QLabel*>(QStringLiteral("ImageStatusBarAISConnect"));
    auto* trouble = main().findChild<QLabel*>(QStringLiteral("lblStatusBarLink"));
    ASSERT_NE(image, nullptr);
    ASSERT_NE(trouble, nullptr);
    EXPECT_EQ(image->toolTip(), QStringLiteral("AIS Port Connected"));
    EXPECT_TRUE(trouble->isHidden());
    const QImage receiving = image->pixmap().toImage();

    // Fifteen seconds without data: the row says so, and counts on.
    for (int i = 0; i < comm::kSilentLinkSeconds; ++i)
        links().stepSensorStatus();
    EXPECT_FALSE(trouble->isHidden());
    EXPECT_EQ(trouble->text(), QStringLiteral("AIS: no data for 15 s"));
    EXPECT_EQ(image->toolTip(), QStringLiteral("AIS: no data for 15 s"));
    EXPECT_NE(image->pixmap().toImage(), receiving);
    links().stepSensorStatus();
    EXPECT_EQ(trouble->text(), QStringLiteral("AIS: no data for 16 s"));
    Screenshot(*main().findChild<QWidget*>(QStringLiteral("PanelStatusBar")),
               "link-silent-status-row.png");

    // The port dialog shows the silent link, and the drop as it happens.
    comm::TSerialPortConfigDlg& dialog = main().connections().portDialog();
    int silentFrame = -1;
    int lostFrame = -1;
    QString lostText;
    QTimer::singleShot(0, [&] {
        auto* picture = dialog.findChild<comm::ConnectionPicture*>(QStringLiteral("imgConnection"));
        silentFrame = picture->frame();
        server.closeClient();
        Until([&] { return control().tcpThread() == nullptr; });
        lostFrame = picture->frame();
        lostText = trouble->text();
        dialog.reject();
    });
    main().action(QStringLiteral("mnuConnectAisPort"))->trigger();
    EXPECT_EQ(silentFrame, comm::ConnectionPicture::kSilentFrame);
    EXPECT_EQ(lostFrame, comm::ConnectionPicture::kLostFrame);
    EXPECT_EQ(lostText, QStringLiteral("AIS: link lost"));
    EXPECT_EQ(image->toolTip(), QStringLiteral("AIS: link lost"));

    // Data again after the user connects anew: all is well.
    control().setInUse(comm::kAisPort, false);
    links().stepSensorStatus();
    EXPECT_TRUE(trouble->isHidden());
    EXPECT_EQ(image->toolTip(), QStringLiteral("AIS Port Disconnect"));
}

TEST_F(LinksTest, TheLinkTextsAreTranslated) {
    main().show();
    main().action(QStringLiteral("mnuLangTraChinese"))->trigger();
    control().setLinkState(comm::kGpsPort, comm::LinkState::Connected);
    for (int i = 0; i < comm::kSilentLinkSeconds; ++i)
        links().stepSensorStatus();
    EXPECT_EQ(links().linkTroubleText(), QStringLiteral("GPS：已 15 秒沒有資料"));
}

TEST_F(LinksTest, TheSourceHealthWindowShowsWhatEachLinkDeliversAndRefuses) {
    connectTcp();
    control().setLinkState(comm::kAisPort, comm::LinkState::Connected);
    // Three good sentences, one with a wrong checksum, one fragment whose
    // first sentence never came.
    server.send(std::string(kVdm) + std::string(kVdm) +
                "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*27\r\n" +
                "!AIVDM,2,2,7,A,1@0000000000000,2*52\r\n" + std::string(kVdm));
    ASSERT_TRUE(
        Until([&] { return control().sourceHealth(comm::kAisPort).figures().accepted == 4; }));
    links().stepSensorStatus();
    auto* indicator = main().findChild<QLabel*>(QStringLiteral("lblStatusBarHealth"));
    ASSERT_NE(indicator, nullptr);
    EXPECT_FALSE(indicator->isHidden());
    EXPECT_EQ(indicator->text(), QStringLiteral("AIS 4.0/s"));
    EXPECT_TRUE(indicator->styleSheet().contains(QStringLiteral("#8a5a00")))
        << "rejects in the last minute make the link doubtful";

    main().action(QStringLiteral("mnuViewSourceHealth"))->trigger();
    comm::TfrmSourceHealth* window = links().sourceHealthWindow();
    ASSERT_TRUE(window->isVisible());
    auto* grid = window->findChild<QTableWidget*>(QStringLiteral("gridSourceHealth"));
    ASSERT_NE(grid, nullptr);
    auto cell = [&](int row, int column) { return grid->item(row, column)->text(); };
    EXPECT_EQ(cell(0, 0), QStringLiteral("AIS transponder"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("Receiving"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("4.0"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("1 s ago"));
    EXPECT_EQ(cell(0, 4), QStringLiteral("1"));
    EXPECT_EQ(cell(0, 6), QStringLiteral("1 (1)"));
    EXPECT_TRUE(cell(0, 7).startsWith(QStringLiteral("Fragments lost, 1 s ago: !AIVDM,2,2,7")))
        << cell(0, 7).toStdString();
    EXPECT_EQ(cell(1, 1), QStringLiteral("Off"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("never"));
    // Seconds later the ages run on in the open window.
    for (int i = 0; i < 3; ++i)
        links().stepSensorStatus();
    EXPECT_EQ(cell(0, 3), QStringLiteral("4 s ago"));
    Screenshot(*window, "source-health-window.png");

    // A dropped link is the last error, and the indicator turns red.
    server.closeClient();
    ASSERT_TRUE(Until([&] { return control().tcpThread() == nullptr; }));
    links().stepSensorStatus();
    EXPECT_TRUE(cell(0, 7).startsWith(QStringLiteral("Link closed"))) << cell(0, 7).toStdString();
    EXPECT_TRUE(indicator->styleSheet().contains(QStringLiteral("#b71c1c")));

    main().action(QStringLiteral("mnuLangSimpChinese"))->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("信号源状态"));
    EXPECT_EQ(cell(0, 0), QStringLiteral("AIS 应答器"));
}

}  // namespace
}  // namespace norq::test
