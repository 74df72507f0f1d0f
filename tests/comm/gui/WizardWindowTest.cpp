// The device wizard and the port dialog as windows, rendered offscreen over the
// recording fake of the sensor ports: the start page and its choices, the
// Connect toggle, the result list, and a picture of every page in English and
// Traditional Chinese (written to $NORQ_SCREENSHOT_DIR when it is set).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCommandLinkButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <deque>

#include "codec/ProductInfoBlock.h"
#include "comm/DetectionFakes.h"
#include "comm/forms/DeviceConnections.h"
#include "comm/forms/SerialPortConfigDlg.h"
#include "comm/forms/WizardForm.h"

namespace norq::comm {
namespace {

class FakeDialogs final : public ui::Dialogs {
  public:
    ui::MessageAnswer message(QWidget*, const QString& caption, const QString& text,
                              ui::MessageIcon, ui::MessageButtons) override {
        shown.push_back(caption + ": " + text);
        return ui::MessageAnswer::Ok;
    }
    QString openFileName(QWidget*, const QString&, const QString&) override {
        ++openDialogs;
        return openFile;
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QStringList shown;
    QString openFile;
    int openDialogs = 0;
};

// "$PKRV,R,TXT,<text>*hh" with its checksum.
std::string TxtLine(std::string_view text) {
    std::string line = "$PKRV,R,TXT," + std::string(text);
    unsigned sum = 0;
    for (std::size_t i = 1; i < line.size(); ++i)
        sum ^= static_cast<unsigned char>(line[i]);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return line + tail;
}

class WizardWindow : public ::testing::Test {
  protected:
    WizardWindow() {
        ports.free = {"/dev/ttyUSB0", "/dev/ttyUSB1"};
        ports.present = {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"};
        ports.openable = {"/dev/ttyUSB0", "/dev/ttyUSB1"};
        ports.at(kAisPort).storedPath = "/dev/ttyUSB0";
        main.resize(1000, 700);
        ConnectionHost host;
        host.refreshStatus = [this] { ++statusRefreshes; };
        host.reloadLanguage = [this] { ++languageReloads; };
        host.startReplay = [this](const QString& file) { replayed = file; };
        host.rememberChoice = [this](int choice, const QString& file) {
            remembered = choice;
            rememberedFile = file;
        };
        host.rememberNetworkInput = [this](int input) { rememberedInput = input; };
        connections = std::make_unique<DeviceConnections>(ports, texts, dialogs, host, &main);
    }

    TfrmWizardStartup& wizard() { return connections->wizard(); }
    template <typename T>
    T* find(QWidget& window, const char* name) {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    void useLanguage(const char* file) {
        texts.resetToBuiltIn();
        base::LanguageTable table;
        ASSERT_TRUE(table.load(std::string(NORQ_SOURCE_DIR) + "/data/lang/" + file));
        texts.apply(table);
        connections->retranslate();
    }
    // Writes the window's picture when pictures are asked for.
    void picture(QWidget& window, const QString& name) {
        QApplication::processEvents();
        const QPixmap shot = window.grab();
        EXPECT_GE(shot.width(), 400) << name.toStdString();
        const QString dir = qEnvironmentVariable("NORQ_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QDir().mkpath(dir);
        EXPECT_TRUE(shot.save(dir + "/" + name + ".png")) << name.toStdString();
    }

    test::FakePorts ports;
    base::TextStore texts;
    FakeDialogs dialogs;
    QWidget main;
    std::unique_ptr<DeviceConnections> connections;
    int statusRefreshes = 0;
    int languageReloads = 0;
    QString replayed;
    int remembered = -1;
    QString rememberedFile;
    int rememberedInput = 0;
};

TEST_F(WizardWindow, FirstStartShowsTheStartPageAndEachChoiceLeadsOn) {
    connections->startUp(false, -1, {});
    ASSERT_TRUE(wizard().isVisible());
    EXPECT_FALSE(wizard().isModal());
    EXPECT_EQ(wizard().page(), TfrmWizardStartup::Page::Start);
    EXPECT_EQ(wizard().windowTitle(), "Quick Start");
    EXPECT_FALSE(find<QPushButton>(wizard(), "btnConnect")->isVisible());

    // Connect a device: the serial page in Auto mode.
    find<QCommandLinkButton>(wizard(), "btnStartDevice")->click();
    EXPECT_EQ(wizard().page(), TfrmWizardStartup::Page::Connect);
    EXPECT_TRUE(connections->wizardFlow().state().autoMode);
    EXPECT_EQ(remembered, 0);
    find<QPushButton>(wizard(), "btnBack")->click();

    // A network source: the TCP/IP page with the stored address.
    find<QCommandLinkButton>(wizard(), "btnStartNetwork")->click();
    EXPECT_EQ(ports.at(kAisPort).input, InputType::Tcp);
    EXPECT_EQ(find<QLineEdit>(wizard(), "edtIp1")->text(), "192");
    EXPECT_EQ(remembered, 2);
    find<QPushButton>(wizard(), "btnBack")->click();

    // A recording: the file dialog, then the replay; the wizard closes.
    dialogs.openFile = "/tmp/harbour.txt";
    find<QCommandLinkButton>(wizard(), "btnStartRecording")->click();
    EXPECT_EQ(replayed, "/tmp/harbour.txt");
    EXPECT_EQ(remembered, 1);
    EXPECT_EQ(rememberedFile, "/tmp/harbour.txt");
    EXPECT_FALSE(wizard().isVisible());
}

TEST_F(WizardWindow, TheMachinesNameOfAPortShowsUnderIt) {
    connections->startUp(false, -1, {});
    wizard().setPage(TfrmWizardStartup::Page::Connect);
    auto* port = find<QComboBox>(wizard(), "cbxSerialPort");
    port->setEditText(QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(find<QLabel>(wizard(), "lblPortDescription")->text(), "FT232R USB UART");
    port->setEditText(QStringLiteral("/dev/ttyS0"));
    EXPECT_TRUE(find<QLabel>(wizard(), "lblPortDescription")->text().isEmpty());
    wizard().close();
}

TEST_F(WizardWindow, ARememberedDeviceChoiceOpensTheScanPage) {
    connections->startUp(false, 0, {});
    EXPECT_EQ(wizard().page(), TfrmWizardStartup::Page::Connect);
    EXPECT_TRUE(connections->wizardFlow().state().autoMode);
    wizard().close();
}

TEST_F(WizardWindow, ARememberedUdpSourceComesBackOnTheUdpPage) {
    connections->startUp(false, 2, {}, 2);
    EXPECT_EQ(wizard().page(), TfrmWizardStartup::Page::Connect);
    EXPECT_EQ(connections->wizardFlow().state().page, InputType::Udp);
    EXPECT_EQ(find<QLineEdit>(wizard(), "edtUdpPort")->text(), "10110");
    find<QPushButton>(wizard(), "btnConnect")->click();
    EXPECT_TRUE(ports.udpOn);
    EXPECT_EQ(rememberedInput, 2);
    find<QPushButton>(wizard(), "btnConnect")->click();
    wizard().close();
}

TEST_F(WizardWindow, TheUdpPagesJoinAMulticastGroupOnTheInterfaceChosen) {
    ports.udp = {10110, "239.192.0.1", "eth0"};
    connections->startUp(false, 2, {}, 2);
    ASSERT_EQ(connections->wizardFlow().state().page, InputType::Udp);
    auto* group = find<QLineEdit>(wizard(), "edtUdpGroup");
    auto* interfaceName = find<QComboBox>(wizard(), "cbxUdpInterface");
    EXPECT_EQ(group->text(), "239.192.0.1");
    EXPECT_EQ(interfaceName->currentText(), "eth0");
    // The machine's interfaces are offered, with the system's choice first.
    EXPECT_EQ(interfaceName->itemText(0), "");
    EXPECT_NE(interfaceName->findText("lo"), -1);
    find<QLineEdit>(wizard(), "edtUdpPort")->setText("10120");
    group->setText("239.192.0.7");
    interfaceName->setEditText("lo");
    find<QPushButton>(wizard(), "btnConnect")->click();
    ASSERT_TRUE(ports.udpOn);
    EXPECT_EQ(ports.udp, (UdpChoice{10120, "239.192.0.7", "lo"}));
    EXPECT_FALSE(group->isEnabled());
    EXPECT_FALSE(interfaceName->isEnabled());
    find<QPushButton>(wizard(), "btnConnect")->click();
    EXPECT_FALSE(ports.udpOn);
    EXPECT_TRUE(group->isEnabled());
    // A unicast address in the group field is refused with the reason.
    group->setText("192.168.1.20");
    find<QPushButton>(wizard(), "btnConnect")->click();
    EXPECT_FALSE(ports.udpOn);
    ASSERT_FALSE(dialogs.shown.isEmpty());
    EXPECT_TRUE(dialogs.shown.back().contains("multicast group must be"))
        << dialogs.shown.back().toStdString();
    wizard().close();

    // The port dialog shows the stored choice and connects the same way.
    connections->portDialogFlow().open(kAisPort);
    connections->portDialog().prepare();
    QWidget& dialog = connections->portDialog();
    EXPECT_EQ(find<QLineEdit>(dialog, "edtUdpGroup")->text(), "239.192.0.7");
    EXPECT_EQ(find<QComboBox>(dialog, "cbxUdpInterface")->currentText(), "lo");
    find<QComboBox>(dialog, "cbxUdpInterface")->setEditText("127.0.0.1");
    find<QPushButton>(dialog, "btnConnect")->click();
    EXPECT_TRUE(ports.udpOn);
    EXPECT_EQ(ports.udp, (UdpChoice{10120, "239.192.0.7", "127.0.0.1"}));
    EXPECT_EQ(find<QPushButton>(dialog, "btnConnect")->text(), "Disconnect");
    find<QPushButton>(dialog, "btnConnect")->click();
    EXPECT_FALSE(ports.udpOn);
}

TEST_F(WizardWindow, ConnectAtStartOpensNoWindow) {
    ports.openable.insert("/dev/null");
    ports.at(kAisPort).storedPath = "/dev/null";
    connections->startUp(true, -1, {});
    EXPECT_FALSE(wizard().isVisible());
    EXPECT_TRUE(ports.at(kAisPort).open);
    EXPECT_EQ(ports.at(kAisPort).link, LinkState::IdentificationPending);
}

TEST_F(WizardWindow, TheScanRunsFromTheConnectButton) {
    connections->startUp(false, 0, {});
    find<QPushButton>(wizard(), "btnConnect")->click();
    auto* results = find<QListWidget>(wizard(), "ListBoxResult");
    ASSERT_GE(results->count(), 1);
    EXPECT_EQ(results->item(0)->text(), "Detecting AIS ... ");
    EXPECT_TRUE(wizard().scanTimer()->isActive());
    EXPECT_EQ(find<QLineEdit>(wizard(), "edtAutoPort")->text(), "/dev/ttyUSB0");
    EXPECT_EQ(find<QPushButton>(wizard(), "btnConnect")->text(), "Disconnect");
    // A transponder answers on the port under test.
    connections->detection().onLine("!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n",
                                    {kAisPort, LinkKind::Serial});
    EXPECT_FALSE(wizard().scanTimer()->isActive());
    EXPECT_TRUE(find<QLabel>(wizard(), "lblNorqDevDetectMsg")->isVisible());
    EXPECT_FALSE(find<QPushButton>(wizard(), "btnClose")->isEnabled());
    connections->detection().onIdentificationLine("$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n");
    EXPECT_FALSE(find<QLabel>(wizard(), "lblNorqDevDetectMsg")->isVisible());
    EXPECT_TRUE(find<QPushButton>(wizard(), "btnClose")->isEnabled());
    find<QPushButton>(wizard(), "btnClose")->click();
    EXPECT_FALSE(wizard().isVisible());
}

TEST_F(WizardWindow, AFieldOutOfRangeIsRefusedWithItsMessage) {
    ports.at(kAisPort).input = InputType::Tcp;
    connections->startUp(false, 2, {});
    find<QLineEdit>(wizard(), "edtIp1")->setText("300");
    find<QPushButton>(wizard(), "btnConnect")->click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].startsWith("Error: Each part of the IP address"));
    EXPECT_EQ(ports.tcpConnects, 0);
    wizard().close();
}

// Every page of both windows, in English and in Traditional Chinese.
TEST_F(WizardWindow, PicturesOfEveryPage) {
    codec::ProductInfoBlock block;
    for (std::string_view text : {"PROD. INFO. BEGIN", "MODEL NO.=NQ-AIS 300",
                                  "SERIAL NO.=NQ3004217", "FIRMWARE=3.5.2", "PROD. INFO. END"}) {
        block.offer(TxtLine(text));
    }
    for (const char* language : {"en", "zh-tw"}) {
        const QString suffix = QStringLiteral("-") + language;
        if (QString::fromLatin1(language) == "zh-tw") useLanguage("Lang-TW.ini");
        ports = test::FakePorts{};
        ports.free = {"/dev/ttyUSB0", "/dev/ttyUSB1"};
        ports.present = {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"};
        ports.openable = {"/dev/ttyUSB0", "/dev/ttyUSB1"};
        ports.at(kAisPort).storedPath = "/dev/ttyUSB0";
        ports.at(kGpsPort).storedRate = 12;  // 115200, as a fresh viewer has it
        find<QListWidget>(wizard(), "ListBoxResult")->clear();

        connections->startUp(false, -1, {});
        wizard().resize(640, 600);
        picture(wizard(), "wizard-start" + suffix);

        wizard().setPage(TfrmWizardStartup::Page::Connect);
        picture(wizard(), "wizard-serial-manual" + suffix);

        connections->wizardFlow().setAutoMode(true);
        wizard().render();
        picture(wizard(), "wizard-serial-auto" + suffix);

        find<QPushButton>(wizard(), "btnConnect")->click();
        for (int i = 0; i < 6; ++i)
            connections->wizardFlow().scanTick();
        for (int i = 0; i < 3; ++i)
            connections->wizardFlow().animationTick();
        picture(wizard(), "wizard-scanning" + suffix);

        connections->detection().onLine("!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n",
                                        {kAisPort, LinkKind::Serial});
        connections->wizardFlow().animationTick();
        picture(wizard(), "wizard-identifying" + suffix);

        connections->detection().onIdentificationLine("$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n");
        connections->detection().onProductInfo(block);
        connections->wizardFlow().animationTick();
        picture(wizard(), "wizard-connected" + suffix);
        find<QPushButton>(wizard(), "btnConnect")->click();  // switched off again

        connections->wizardFlow().setInputType(InputType::Tcp);
        wizard().fillPortLists();
        wizard().render();
        picture(wizard(), "wizard-tcp" + suffix);
        connections->wizardFlow().setInputType(InputType::Udp);
        wizard().render();
        picture(wizard(), "wizard-udp" + suffix);
        connections->wizardFlow().setInputType(InputType::Serial);
        wizard().close();

        // The port dialog for the AIS port (serial and TCP/IP) and the GPS port.
        for (int sensor : {kAisPort, kGpsPort}) {
            connections->portDialogFlow().open(sensor);
            connections->portDialog().prepare();
            connections->portDialog().resize(480, 300);
            picture(
                connections->portDialog(),
                QStringLiteral("port-dialog-%1").arg(sensor == kAisPort ? "ais" : "gps") + suffix);
        }
        connections->portDialogFlow().open(kAisPort);
        connections->portDialogFlow().setInputType(InputType::Tcp);
        connections->portDialog().prepare();
        picture(connections->portDialog(), "port-dialog-ais-tcp" + suffix);
        // A multicast group joined on the ship's network interface.
        ports.udp = {10110, "239.192.0.1", "eth0"};
        connections->portDialogFlow().setInputType(InputType::Udp);
        connections->portDialog().prepare();
        find<QPushButton>(connections->portDialog(), "btnConnect")->click();
        picture(connections->portDialog(), "port-dialog-ais-udp" + suffix);
        find<QPushButton>(connections->portDialog(), "btnConnect")->click();
        connections->portDialogFlow().setInputType(InputType::Serial);
    }
}

}  // namespace
}  // namespace norq::comm
