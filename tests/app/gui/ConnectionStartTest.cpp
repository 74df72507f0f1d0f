// The start-up step and the connection menu of the viewer: the wizard opens at
// the first showing (its start page on a first run), a replay can be started
// from it and is remembered, the connection items open the port dialog, and
// the identification lines reach the detection through the intake.
#include <QAction>
#include <QApplication>
#include <QCommandLinkButton>
#include <QTimer>

#include "app/MainForm.h"
#include "app/ViewerLinks.h"
#include "app/gui/ViewerFixture.h"
#include "comm/forms/DeviceConnections.h"
#include "comm/forms/SerialPortConfigDlg.h"
#include "comm/forms/WizardForm.h"

namespace norq::test {
namespace {

using comm::TfrmWizardStartup;

class ConnectionStart : public ViewerTest {
  protected:
    TfrmWizardStartup& wizard() { return main().connections().wizard(); }
};

TEST_F(ConnectionStart, AFirstRunOpensTheWizardOnItsStartPageAndRemembersAReplay) {
    main().show();
    ASSERT_TRUE(wizard().isVisible());
    EXPECT_FALSE(wizard().isModal());
    EXPECT_EQ(wizard().page(), TfrmWizardStartup::Page::Start);

    dialogs_.openFile = QString::fromStdString(std::string(NORQ_FIXTURES) + "/sample.nmea");
    wizard().findChild<QCommandLinkButton*>(QStringLiteral("btnStartRecording"))->click();
    EXPECT_FALSE(wizard().isVisible());
    EXPECT_EQ(main().replay().playState(), comm::PlayState::Playing);
    EXPECT_EQ(main().settings().wizard.startChoice, 1);
    main().replay().stop();
    stop();

    // The next start offers the remembered choice first.
    start();
    EXPECT_EQ(main().settings().wizard.startChoice, 1);
    EXPECT_EQ(main().settings().wizard.lastRecording, dialogs_.openFile.toStdString());
}

TEST_F(ConnectionStart, TheConnectionItemsOpenThePortDialogForTheirSensor) {
    main().show();
    comm::TSerialPortConfigDlg& dialog = main().connections().portDialog();
    QString caption;
    QTimer::singleShot(0, [&] {
        caption = dialog.windowTitle();
        dialog.reject();
    });
    main().action(QStringLiteral("mnuConnectGpsPort"))->trigger();
    EXPECT_EQ(caption, "Config GPS Connection");
    // Connect AIS closes the wizard first.
    ASSERT_TRUE(wizard().isVisible());
    QTimer::singleShot(0, [&] {
        caption = dialog.windowTitle();
        dialog.reject();
    });
    main().action(QStringLiteral("mnuConnectAisPort"))->trigger();
    EXPECT_EQ(caption, "Config AIS Connection");
    EXPECT_FALSE(wizard().isVisible());
}

TEST_F(ConnectionStart, IdentificationLinesReachTheDetectionThroughTheIntake) {
    comm::TSysSensorControl& control = main().sensorControl();
    control.setLinkState(comm::kAisPort, comm::LinkState::IdentificationPending);
    feed({"[STATIC DATA]\r\n"});
    EXPECT_EQ(control.linkState(comm::kAisPort), comm::LinkState::Connected);
    EXPECT_EQ(control.deviceKind(), comm::DeviceKind::StaticData);
    // Connected again to a silent device: the one-second step ends its
    // identification after ten ticks.
    control.setLinkState(comm::kAisPort, comm::LinkState::IdentificationPending);
    for (int tick = 1; tick < 10; ++tick)
        main().Timer1Timer();
    EXPECT_EQ(control.linkState(comm::kAisPort), comm::LinkState::IdentificationPending);
    main().Timer1Timer();
    EXPECT_EQ(control.linkState(comm::kAisPort), comm::LinkState::Connected);
}

}  // namespace
}  // namespace norq::test
