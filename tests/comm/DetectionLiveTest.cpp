// The device detection against the device simulator on pseudo-terminals,
// through the real sensor port control: the automatic scan finds the
// transponder on the second of three ports at 38400 baud, the identification
// recognises each kind of answer (and a silent device), the GNSS receiver and
// the crew-watch controller are found on their ports. The scan's ticks are
// driven by the test; between two ticks the hand-overs run for a moment only.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "comm/CommTestSupport.h"
#include "comm/DetectionFakes.h"
#include "comm/DeviceDetection.h"
#include "comm/PortDialogFlow.h"
#include "comm/SensorControlPorts.h"
#include "comm/WizardFlow.h"

namespace norq::comm {
namespace {

using namespace std::chrono_literals;

constexpr const char* kScenario = R"(
[scenario]
name = wizard
seed = 3
start = 2025-06-14T09:00:00Z
duration = 3600

[transponder]
identification = %s
model = NQ-AIS 300
serial = NQ3004217
firmware = 3.5.2

[gnss]
satellites = 10

[crew_watch]
report_interval = 2

[pendant p1]
id = 93FA2F

[own_ship]
mmsi = 235099001
name = NORQ EXPLORER
position = 51.0 1.4
course = 45
speed = 12

[vessel v1]
mmsi = 244000111
position = 51.02 1.42
course = 200
speed = 10
)";

// The simulator program with its pseudo-terminals.
class Simulator {
  public:
    // `ports`: one --pty value each ("ais@38400", "mob").
    bool start(const std::string& identification, const std::vector<std::string>& ports) {
        char path[] = "/tmp/norq-wizard-XXXXXX";
        const int fd = ::mkstemp(path);
        if (fd < 0) return false;
        ::close(fd);
        scenario_ = path;
        char text[2048];
        std::snprintf(text, sizeof text, kScenario, identification.c_str());
        std::ofstream(scenario_) << text;
        int out[2];
        if (::pipe(out) != 0) return false;
        std::vector<std::string> args{"norq-sim", scenario_, "--speed", "20"};
        for (const std::string& p : ports) {
            args.push_back(p.substr(0, 6) == "--tcp=" ? p : "--pty=" + p);
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(NORQ_SIM_PROGRAM, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        // One announcement per port: "pty /dev/pts/7 (ais)".
        std::string said;
        char buf[512];
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (std::count(said.begin(), said.end(), '\n') < static_cast<long>(ports.size()) &&
               std::chrono::steady_clock::now() < end) {
            pollfd p{out[0], POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0) break;
            said.append(buf, static_cast<std::size_t>(n));
        }
        ::close(out[0]);
        said_ = said;
        const std::size_t tcp = said.find("tcp 127.0.0.1:");
        if (tcp != std::string::npos) tcpPort_ = std::atoi(said.c_str() + tcp + 14);
        std::size_t at = 0;
        while ((at = said.find("pty ", at)) != std::string::npos) {
            const std::size_t space = said.find(' ', at + 4);
            paths_.push_back(said.substr(at + 4, space - at - 4));
            at = space;
        }
        const std::size_t ptys =
            std::count_if(ports.begin(), ports.end(),
                          [](const std::string& p) { return p.substr(0, 6) != "--tcp="; });
        return paths_.size() == ptys;
    }
    ~Simulator() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
        if (!scenario_.empty()) std::remove(scenario_.c_str());
    }
    const std::string& path(std::size_t i) const { return paths_.at(i); }
    int tcpPort() const { return tcpPort_; }
    const std::string& said() const { return said_; }

  private:
    int tcpPort_ = 0;
    std::string said_;
    pid_t pid_ = -1;
    std::string scenario_;
    std::vector<std::string> paths_;
};

// The machine's ports as the test names them: links in a folder of their own,
// so that their order is the test's.
class TestPorts final : public PortEnumerator {
  public:
    TestPorts() {
        char dir[] = "/tmp/norq-ports-XXXXXX";
        folder_ = ::mkdtemp(dir);
    }
    ~TestPorts() override { std::filesystem::remove_all(folder_); }
    // Adds a port named `name` that leads to `target`; returns its path.
    std::string add(const std::string& name, const std::string& target) {
        const std::string path = folder_ + "/" + name;
        std::filesystem::create_symlink(target, path);
        ports_.push_back({path, name});
        return path;
    }
    void remove(const std::string& path) {
        std::filesystem::remove(path);
        std::erase_if(ports_, [&](const PortInfo& p) { return p.path == path; });
    }
    std::vector<PortInfo> presentPorts() override { return ports_; }

  private:
    std::string folder_;
    std::vector<PortInfo> ports_;
};

class DetectionLive : public ::testing::Test {
  protected:
    DetectionLive()
        : ports(fx.control),
          detection(ports, view),
          wizard(ports, detection, view),
          dialog(ports, detection, view),
          hook(detection) {
        detection.setOwner(&wizard);
        fx.control.addLineHook(&hook);
        fx.control.setPortEnumerator(&machine);
        ais::IntakeConnections intake;
        intake.ais = &fx.run->tracker;
        intake.gnss = &fx.run->ownShip;
        intake.identification = &detection;
        fx.run->intake.connect(intake);
    }
    ~DetectionLive() override { fx.control.removeLineHook(&hook); }

    LinkState link(int sensor) const { return fx.control.linkState(sensor); }
    // Runs the hand-overs until `done`, at most `timeout`.
    bool pump(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
        return fx.until(done, timeout);
    }
    // Scan ticks until the scan ends; returns the ticks taken.
    int scanUntilDone(int maxTicks, std::chrono::milliseconds perTick) {
        int ticks = 0;
        const auto ended = [&] {
            return fx.control.scanPhase(detection.currentSensor()) != ScanPhase::Running;
        };
        while (!ended() && ticks < maxTicks) {
            pump(ended, perTick);
            if (ended()) break;
            wizard.scanTick();
            ++ticks;
        }
        return ticks;
    }
    // Identification ticks until the AIS link is connected.
    int identifyUntilConnected() {
        int ticks = 0;
        while (link(kAisPort) != LinkState::Connected && ticks < 12) {
            detection.identificationTick();
            ++ticks;
            pump([&] { return link(kAisPort) == LinkState::Connected; }, 250ms);
        }
        return ticks;
    }
    void connectManually(const std::string& path) {
        wizard.show();
        WizardInputs in;
        in.typedPort = path;
        in.ratePosition = 3;
        wizard.connect(in);
    }

    test::ControlFixture fx;
    TestPorts machine;
    SensorControlPorts ports;
    test::FakeView view;
    DeviceDetection detection;
    WizardFlow wizard;
    PortDialogFlow dialog;
    DetectionLineHook hook;
};

TEST_F(DetectionLive, FindsTheTransponderOnTheSecondOfThreePortsAt38400) {
    NORQ_NEED_PTY();
    test::PtyPair first, third;
    Simulator sim;
    ASSERT_TRUE(sim.start("product-info", {"ais@38400"}));
    const std::string a = machine.add("ttyA", first.path());
    const std::string b = machine.add("ttyB", sim.path(0));
    machine.add("ttyC", third.path());
    fx.control.portSettings(kAisPort).serialDevice = a;
    fx.control.portSettings(kAisPort).serialBaudRate = 12;  // 115200

    wizard.show();
    wizard.setAutoMode(true);
    wizard.connect({});
    ASSERT_EQ(ports.freePorts().size(), 3u);
    EXPECT_TRUE(view.hasResult("Detecting AIS ... "));
    const int ticks = scanUntilDone(60, 200ms);

    // The first port had its 24 ticks; the second answered at its third rate.
    EXPECT_GE(ticks, 32);
    EXPECT_LE(ticks, 36);
    EXPECT_TRUE(view.messages.empty());
    ASSERT_EQ(link(kAisPort), LinkState::IdentificationPending);
    EXPECT_EQ(fx.control.portSettings(kAisPort).serialDevice, b);
    EXPECT_EQ(fx.control.portSettings(kAisPort).serialBaudRate, 9);  // 38400
    EXPECT_TRUE(view.hasResult("Found AIS ... "));
    EXPECT_EQ(ports.portPath(kAisPort), b);
    // The scan is over: commands that fail report again.
    EXPECT_FALSE(fx.control.autoMode());
    fx.control.SendLine(kMobPort, "$PMOB,000000,1,08,,*00\r\n");
    ASSERT_EQ(fx.view.messages.size(), 1u);
    EXPECT_EQ(fx.view.messages[0].text, "Serial port open error! Please check!");

    // The transponder identifies itself with its product information.
    EXPECT_LE(identifyUntilConnected(), 3);
    EXPECT_EQ(fx.control.deviceKind(), DeviceKind::ProductInfo);
    pump([&] { return view.hasResult("FIRMWARE = 3.5.2"); }, 2s);
    EXPECT_TRUE(view.hasResult("MODEL NO. = NQ-AIS 300"));
    EXPECT_TRUE(view.hasResult("SERIAL NO. = NQ3004217"));
}

TEST_F(DetectionLive, AScanWithoutADeviceClosesThePortItTried) {
    NORQ_NEED_PTY();
    test::PtyPair first, second;
    machine.add("ttyA", first.path());
    machine.add("ttyB", second.path());
    wizard.show();
    wizard.setAutoMode(true);
    wizard.connect({});
    scanUntilDone(60, 1ms);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], DetectionMessage::AutoDetectTimeOut);
    EXPECT_FALSE(ports.portOpen(kAisPort));
    EXPECT_FALSE(fx.control.inUse(kAisPort));
    EXPECT_FALSE(fx.control.autoMode());
    EXPECT_FALSE(view.scanTimer);
    EXPECT_FALSE(view.animationTimer);
    EXPECT_EQ(link(kAisPort), LinkState::Idle);
    EXPECT_TRUE(view.hasResult("Fail to connect AIS "));
    // Nothing of the scan stuck to the stored settings.
    EXPECT_TRUE(fx.control.portSettings(kAisPort).serialDevice.empty());
}

class IdentificationLive : public DetectionLive,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(IdentificationLive, EachKindIsRecognisedAndShown) {
    NORQ_NEED_PTY();
    const std::string kind = GetParam();
    Simulator sim;
    ASSERT_TRUE(sim.start(kind, {"ais"}));
    connectManually(machine.add("ttyAIS", sim.path(0)));
    ASSERT_EQ(link(kAisPort), LinkState::IdentificationPending);
    EXPECT_TRUE(view.hasResult("AIS Connected"));
    EXPECT_LE(identifyUntilConnected(), 3);
    if (kind == "product-info") {
        EXPECT_EQ(fx.control.deviceKind(), DeviceKind::ProductInfo);
        pump([&] { return view.hasResult("FIRMWARE = 3.5.2"); }, 2s);
        EXPECT_TRUE(view.hasResult("MODEL NO. = NQ-AIS 300"));
        return;
    }
    const std::string shown = kind == "mkd2" ? "DEVICE KIND = MKD-2" : "DEVICE KIND = STATIC DATA";
    pump([&] { return view.hasResult(shown); }, 2s);
    EXPECT_TRUE(view.hasResult(shown));
    EXPECT_TRUE(view.hasResult("MODEL NO. = NQ-AIS 300"));
    EXPECT_TRUE(view.hasResult("NAME = NORQ EXPLORER"));
    EXPECT_EQ(fx.control.deviceKind(), kind == "mkd2" ? DeviceKind::Mkd2 : DeviceKind::StaticData);
    EXPECT_EQ(view.languageReloads, kind == "mkd2" ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, IdentificationLive,
                         ::testing::Values("product-info", "static-data", "mkd2"));

TEST_F(DetectionLive, ASilentDeviceKeepsItsLinkAfterTenTicks) {
    NORQ_NEED_PTY();
    Simulator sim;
    ASSERT_TRUE(sim.start("none", {"ais"}));
    connectManually(machine.add("ttyAIS", sim.path(0)));
    for (int tick = 1; tick <= 9; ++tick) {
        detection.identificationTick();
        pump([] { return false; }, 20ms);
        ASSERT_EQ(link(kAisPort), LinkState::IdentificationPending) << tick;
    }
    detection.identificationTick();
    EXPECT_EQ(link(kAisPort), LinkState::Connected);
    EXPECT_TRUE(ports.portOpen(kAisPort));
    EXPECT_EQ(fx.control.deviceKind(), DeviceKind::None);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(fx.view.messages.empty());
    // Its sentences are decoded as usual.
    EXPECT_TRUE(pump([&] { return fx.run->tracker.table().count() > 1; }, 3s));
}

TEST_F(DetectionLive, AGnssReceiverBehindTheTransponderAndACrewWatchController) {
    NORQ_NEED_PTY();
    Simulator sim;
    ASSERT_TRUE(sim.start("product-info", {"ais,gnss", "mob"}));
    const std::string transponder = machine.add("ttyA", sim.path(0));
    const std::string controller = machine.add("ttyB", sim.path(1));

    // The AIS scan: the transponder and the GNSS receiver on one port.
    wizard.show();
    wizard.setAutoMode(true);
    wizard.connect({});
    scanUntilDone(30, 150ms);
    // The transponder may have answered the probes with its identification.
    ASSERT_NE(link(kAisPort), LinkState::Idle);
    pump([&] { return link(kGpsPort) == LinkState::Connected; }, 2s);
    EXPECT_EQ(link(kGpsPort), LinkState::Connected);
    EXPECT_EQ(fx.control.portSettings(kGpsPort).serialDevice, transponder);
    EXPECT_TRUE(view.hasResult("Found GPS ... "));
    identifyUntilConnected();

    // The MOB scan: the controller answers its probe on the other port.
    wizard.next();
    wizard.setAutoMode(true);
    wizard.connect({});
    scanUntilDone(30, 150ms);
    EXPECT_EQ(link(kMobPort), LinkState::Connected);
    EXPECT_EQ(fx.control.portSettings(kMobPort).serialDevice, controller);
    EXPECT_TRUE(view.hasResult("Found MOB ... "));
    EXPECT_TRUE(view.messages.empty());
    // The transponder was not disturbed by the second scan.
    EXPECT_EQ(link(kAisPort), LinkState::Connected);
    EXPECT_EQ(ports.portPath(kAisPort), transponder);
}

TEST_F(DetectionLive, AGnssReceiverOnItsOwnPortIsLeftAloneByTheAisScan) {
    NORQ_NEED_PTY();
    Simulator sim;
    ASSERT_TRUE(sim.start("product-info", {"gnss", "ais"}));
    const std::string gnss = machine.add("ttyA", sim.path(0));
    machine.add("ttyB", sim.path(1));
    dialog.open(kGpsPort);
    PortDialogInputs in;
    in.typedPort = gnss;
    in.ratePosition = 5;
    dialog.connect(in);
    ASSERT_EQ(link(kGpsPort), LinkState::Connected);

    wizard.show();
    wizard.setAutoMode(true);
    wizard.connect({});
    EXPECT_EQ(ports.freePorts().size(), 1u);  // the GNSS port is taken
    scanUntilDone(30, 150ms);
    ASSERT_NE(link(kAisPort), LinkState::Idle);
    EXPECT_EQ(link(kGpsPort), LinkState::Connected);
    EXPECT_EQ(fx.control.portSettings(kGpsPort).serialDevice, gnss);
    EXPECT_TRUE(ports.portOpen(kGpsPort));
    EXPECT_FALSE(view.hasResult("Found GPS ... "));
}

TEST_F(DetectionLive, TheWizardConnectsAndIdentifiesOverTcp) {
    NORQ_NEED_PTY();  // the simulator always offers its pseudo-terminal ports too
    Simulator sim;
    ASSERT_TRUE(sim.start("static-data", {"--tcp=0"}));
    ASSERT_GT(sim.tcpPort(), 0) << sim.said();
    fx.control.setInputType(kAisPort, InputType::Tcp);
    wizard.show();
    WizardInputs in;
    in.tcp.octets = {"127", "0", "0", "1"};
    in.tcp.port = std::to_string(sim.tcpPort());
    wizard.connect(in);
    // Stored with the first octet in TCP_Ip4.
    EXPECT_EQ(fx.control.portSettings(kAisPort).tcpIp, (std::array<int, 4>{1, 0, 0, 127}));
    ASSERT_EQ(link(kAisPort), LinkState::IdentificationPending);
    EXPECT_TRUE(wizard.state().connectDown);
    EXPECT_LE(identifyUntilConnected(), 3);
    EXPECT_EQ(fx.control.deviceKind(), DeviceKind::StaticData);
    wizard.animationTick();
    EXPECT_EQ(wizard.state().status, WizardStatus::Connected);
    // Switched off by the user: the link ends and the page is idle again.
    wizard.connect(in);
    pump([&] { return fx.control.tcpThread() == nullptr; }, 2s);
    EXPECT_EQ(link(kAisPort), LinkState::Idle);
    EXPECT_FALSE(wizard.state().connectDown);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(DetectionLive, AnUnpluggedPortClosesOnlyItsSensor) {
    NORQ_NEED_PTY();
    test::PtyPair gnssLine, mobLine;
    const std::string gnss = machine.add("ttyUSB0", gnssLine.path());
    const std::string mob = machine.add("ttyUSB1", mobLine.path());
    for (auto [sensor, path] : {std::pair{kGpsPort, gnss}, std::pair{kMobPort, mob}}) {
        dialog.open(sensor);
        PortDialogInputs in;
        in.typedPort = path;
        dialog.connect(in);
        ASSERT_EQ(link(sensor), LinkState::Connected);
    }
    machine.remove(gnss);
    wizard.show();
    wizard.portsChanged(true);
    EXPECT_FALSE(ports.portOpen(kGpsPort));
    EXPECT_FALSE(fx.control.inUse(kGpsPort));
    EXPECT_EQ(link(kGpsPort), LinkState::Idle);
    EXPECT_TRUE(ports.portOpen(kMobPort));
    EXPECT_EQ(link(kMobPort), LinkState::Connected);
}

}  // namespace
}  // namespace norq::comm
