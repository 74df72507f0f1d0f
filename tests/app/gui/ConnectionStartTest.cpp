// The start-up step and the connection menu of the viewer: the wizard opens at
// the first showing (its start page on a first run), a replay can be started
// from it and is remembered, the connection items open the port dialog, and
// the identification lines reach the detection through the intake.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCommandLinkButton>
#include <QElapsedTimer>
#include <QTimer>
#include <fstream>

#include "app/MainForm.h"
#include "app/ViewerLinks.h"
#include "app/gui/SimOnPty.h"
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

TEST_F(ConnectionStart, AReplayFromTheCommandLineClosesTheStartWizard) {
    main().show();
    ASSERT_TRUE(wizard().isVisible());
    main().startReplay(QString::fromStdString(std::string(NORQ_FIXTURES) + "/sample.nmea"));
    EXPECT_FALSE(wizard().isVisible());
    EXPECT_EQ(main().replay().playState(), comm::PlayState::Playing);
    main().replay().stop();
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

// The viewer itself over a pseudo-terminal of the simulator: the wizard's
// manual connect, the identification through the viewer's intake and its
// one-second step, and the transponder's traffic in the target table.
TEST_F(ConnectionStart, TheViewerConnectsAndIdentifiesASimulatedTransponder) {
    if (!PseudoTerminalsAvailable()) GTEST_SKIP() << "no pseudo-terminals here";
    const std::string scenario = folder().path("sim.scenario");
    std::ofstream(scenario) << "[scenario]\nduration = 600\n[transponder]\n"
                               "identification = product-info\nmodel = NQ-AIS 300\n"
                               "[own_ship]\nmmsi = 235099001\nposition = 51.0 1.4\n"
                               "course = 45\nspeed = 12\n[vessel v1]\nmmsi = 244000111\n"
                               "position = 51.02 1.42\ncourse = 200\nspeed = 10\n";
    const SimOnPty sim = StartSimOnPty(scenario, "20");
    ASSERT_GT(sim.pid, 0);
    const pid_t pid = sim.pid;
    const std::string path = sim.path;

    const auto runUntil = [](const std::function<bool()>& done, int ms) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    };
    main().show();
    comm::TSysSensorControl& control = main().sensorControl();
    comm::WizardInputs in;
    in.typedPort = path;
    in.ratePosition = 3;
    main().connections().wizardFlow().connect(in);
    EXPECT_EQ(control.linkState(comm::kAisPort), comm::LinkState::IdentificationPending);
    for (int tick = 0; tick < 5 && control.linkState(comm::kAisPort) != comm::LinkState::Connected;
         ++tick) {
        main().Timer1Timer();
        runUntil([&] { return control.linkState(comm::kAisPort) == comm::LinkState::Connected; },
                 400);
    }
    EXPECT_EQ(control.linkState(comm::kAisPort), comm::LinkState::Connected);
    EXPECT_EQ(control.deviceKind(), comm::DeviceKind::ProductInfo);
    EXPECT_TRUE(runUntil([&] { return main().runState().tracker.table().count() > 1; }, 4000));
    main().connections().wizardFlow().connect(in);  // switched off
    EXPECT_FALSE(control.port(comm::kAisPort).Connected());
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

}  // namespace
}  // namespace norq::test
