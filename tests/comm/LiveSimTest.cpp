// The links against the device simulator itself: its TCP server on the
// loopback address and its pseudo-terminals, as a user would connect them.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "CommTestSupport.h"
#include "codec/SentenceCodec.h"
#include "comm/LogReplay.h"
#include "support/CommandOutput.h"

namespace norq::comm {
namespace {

using test::ControlFixture;
using namespace std::chrono_literals;

// One run of norq-sim; its announcements ("tcp 127.0.0.1:PORT (...)", "pty PATH (...)").
class Simulator {
  public:
    explicit Simulator(const std::vector<std::string>& args) {
        int out[2];
        if (::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            std::vector<char*> argv{const_cast<char*>("norq-sim"),
                                    const_cast<char*>(NORQ_DEMO_SCENARIO)};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(NORQ_SIM_PROGRAM, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        announce_ = out[0];
    }
    ~Simulator() { kill(); }
    // Reads announcements until one holds `needle`.
    bool waitFor(std::string_view needle) {
        const auto end = std::chrono::steady_clock::now() + 8s;
        while (said_.find(needle) == std::string::npos && std::chrono::steady_clock::now() < end) {
            pollfd p{announce_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            char buf[512];
            const ssize_t n = ::read(announce_, buf, sizeof buf);
            if (n <= 0) return false;
            said_.append(buf, static_cast<std::size_t>(n));
        }
        return said_.find(needle) != std::string::npos;
    }
    int tcpPort() const {
        int port = 0;
        const std::size_t at = said_.find("tcp 127.0.0.1:");
        if (at != std::string::npos) std::sscanf(said_.c_str() + at, "tcp 127.0.0.1:%d", &port);
        return port;
    }
    std::string ptyPath() const {
        char path[128] = {};
        const std::size_t at = said_.find("pty ");
        if (at != std::string::npos) std::sscanf(said_.c_str() + at, "pty %127s", path);
        return path;
    }
    void kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
        if (announce_ >= 0) ::close(announce_);
        announce_ = -1;
    }

  private:
    pid_t pid_ = -1;
    int announce_ = -1;
    std::string said_;
};

std::string TempFile(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("norq-live-") + std::to_string(::getpid()) + "-" + name))
        .string();
}

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line + "\n");
    return lines;
}

class LiveSimulator : public ::testing::Test, public ControlFixture {};

TEST_F(LiveSimulator, AMixedSerialAndTcpRecordingReplaysToTheSameTargetTable) {
    NORQ_NEED_PTY();
    Simulator sim({"--tcp=0", "--tcp-devices", "ais", "--pty=gnss", "--speed", "30"});
    ASSERT_TRUE(sim.waitFor("(gnss)\n"));
    const std::string file = TempFile("mixed.txt");
    ASSERT_TRUE(control.recording().open(file));
    control.setInputType(kAisPort, InputType::Tcp);
    ASSERT_TRUE(control.ConnectTcpTo("127.0.0.1", sim.tcpPort()));
    ASSERT_TRUE(control.OpenSensorPort(kGpsPort, sim.ptyPath(), 5));
    ASSERT_TRUE(until([&] { return run->tracker.table().count() > 60; }, 20000ms));
    // Stop both links between two hand-overs, then close the file.
    control.CloseAll();
    loop.runPending();
    EXPECT_FALSE(hook.texts(LinkKind::Tcp).empty());
    EXPECT_FALSE(hook.texts(LinkKind::Serial, kGpsPort).empty());

    ais::ManualClock replayClock;
    ais::RunState replayed(replayClock);
    for (const std::string& line : FileLines(file)) {
        std::string crlf = line;
        if (crlf.size() < 2 || crlf[crlf.size() - 2] != '\r') crlf.insert(crlf.size() - 1, "\r");
        replayed.ReceiveLine(crlf, false);
    }
    const ais::TargetTable& live = run->tracker.table();
    const ais::TargetTable& again = replayed.tracker.table();
    ASSERT_EQ(again.count(), live.count());
    for (int i = 0; i < live.count(); ++i) {
        EXPECT_EQ(again[i].mmsi, live[i].mmsi) << "entry " << i;
        EXPECT_EQ(again[i].longitude, live[i].longitude) << "entry " << i;
        EXPECT_EQ(again[i].latitude, live[i].latitude) << "entry " << i;
    }
    // The own ship's GNSS position came over the serial line and was recorded too.
    EXPECT_EQ(replayed.codec.gnss().latitude, run->codec.gnss().latitude);
    EXPECT_TRUE(run->codec.gnss().positionValid);
    std::filesystem::remove(file);
}

TEST_F(LiveSimulator, AKilledServerRestartedFiveSecondsLaterIsReconnectedWithoutLoss) {
    Simulator first({"--tcp=0", "--speed", "20"});
    ASSERT_TRUE(first.waitFor("(ais,gnss)\n"));
    const int port = first.tcpPort();
    const std::string file = TempFile("restart.txt");
    ASSERT_TRUE(control.recording().open(file));
    control.setInputType(kAisPort, InputType::Tcp);
    ASSERT_TRUE(control.ConnectTcpTo("127.0.0.1", port));
    // The link delivers long enough for automatic reconnection to be armed.
    for (int i = 0; i < 30; ++i) {
        const std::size_t before = hook.lines.size();
        ASSERT_TRUE(until([&] { return hook.lines.size() > before; }, 5000ms));
        tick();
    }
    ASSERT_TRUE(control.tcpSupervision().armed);

    std::chrono::steady_clock::duration longest{};
    auto timedTick = [&] {
        const auto start = std::chrono::steady_clock::now();
        tick();
        loop.runFor(0ms);
        longest = std::max(longest, std::chrono::steady_clock::now() - start);
    };
    first.kill();
    const auto killed = std::chrono::steady_clock::now();
    std::unique_ptr<Simulator> second;
    std::size_t linesAtKill = 0;
    bool back = false;
    // One tick every 250 ms (the supervision counts ticks, not seconds).
    for (int i = 0; i < 200 && !back; ++i) {
        loop.runFor(250ms);
        timedTick();
        if (linesAtKill == 0 && control.tcpThread() == nullptr) linesAtKill = hook.lines.size();
        if (!second && std::chrono::steady_clock::now() - killed >= 5s) {
            second = std::make_unique<Simulator>(
                std::vector<std::string>{"--tcp=" + std::to_string(port), "--speed", "20"});
            ASSERT_TRUE(second->waitFor("(ais,gnss)\n"));
        }
        back = second && linesAtKill > 0 && hook.lines.size() > linesAtKill + 20;
    }
    ASSERT_TRUE(back) << "the link did not come back";
    EXPECT_EQ(control.linkState(kAisPort), LinkState::Connected);
    // The window's thread never waited on the socket (a blocked step would take seconds).
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(longest).count(), 1000);
    control.CloseAll();
    // Every line handed over is in the recording, whole and in order.
    const std::vector<std::string> recorded = FileLines(file);
    std::vector<std::string> handed;
    for (const auto& l : hook.lines)
        handed.push_back(l.text);
    ASSERT_EQ(recorded.size(), handed.size());
    for (std::size_t i = 0; i < handed.size(); ++i)
        ASSERT_EQ(recorded[i], handed[i]) << "line " << i;
    std::filesystem::remove(file);
}

TEST_F(LiveSimulator, ThePseudoTerminalOfTheSimulatorAnswersTheQueries) {
    NORQ_NEED_PTY();
    Simulator sim({"--pty=ais", "--speed", "20"});
    ASSERT_TRUE(sim.waitFor("(ais)\n"));
    ASSERT_TRUE(control.OpenSensorPort(kAisPort, sim.ptyPath(), 3));
    ASSERT_TRUE(until([&] { return !hook.lines.empty(); }, 5000ms));
    // The test query asks the transponder for its product information.
    EXPECT_TRUE(control.SendTestQuery(17));
    EXPECT_TRUE(control.SendDebugQuery());
    EXPECT_TRUE(until(
        [&] {
            for (const auto& l : hook.lines)
                if (l.text.find("PROD. INFO.") != std::string::npos) return true;
            return false;
        },
        5000ms));
    // A rate change on the open port is taken at once (the line stays open).
    control.port(kAisPort).SetBaudRate(TBaudRate::br115200);
    EXPECT_TRUE(control.port(kAisPort).Connected());
}

// Runs a command and returns its standard output.
std::string Output(const std::string& command) {
    return norq::test::CommandOutput(command);
}

int Count(const std::string& text, std::string_view needle) {
    int n = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + 1))
        ++n;
    return n;
}

TEST(NorqAisLive, ATcpSourceThatClosesAndComesBackIsReadOnUnlessOnce) {
    const std::string tool = NORQ_AIS_PROGRAM;
    auto first = std::make_unique<Simulator>(std::vector<std::string>{"--tcp=0", "--speed", "20"});
    ASSERT_TRUE(first->waitFor("(ais,gnss)\n"));
    const int port = first->tcpPort();
    const std::string source = " decode tcp://127.0.0.1:" + std::to_string(port);
    std::string out;
    std::thread reader([&] { out = Output(tool + source + " --for 6 2>&1"); });
    std::this_thread::sleep_for(1500ms);
    first->kill();
    std::this_thread::sleep_for(500ms);
    Simulator second({"--tcp=" + std::to_string(port), "--speed", "20"});
    ASSERT_TRUE(second.waitFor("(ais,gnss)\n"));
    reader.join();
    const std::size_t again = out.find("connected again");
    ASSERT_NE(out.find("trying again in 1 s"), std::string::npos) << out.substr(0, 300);
    ASSERT_NE(again, std::string::npos) << out.substr(0, 300);
    EXPECT_GT(Count(out.substr(again), "\"mmsi\""), 5);

    // With --once the command ends when the far end closes.
    std::string onceOut;
    const auto start = std::chrono::steady_clock::now();
    std::thread onceReader([&] { onceOut = Output(tool + source + " --once --for 20 2>&1"); });
    std::this_thread::sleep_for(1000ms);
    second.kill();
    onceReader.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(onceOut.find("trying again"), std::string::npos);
    EXPECT_GT(Count(onceOut, "\"mmsi\""), 5);
}

TEST(NorqAisLive, TheHeadlessToolReadsTcpUdpAndSerialSources) {
    const bool pty = test::HavePseudoTerminals();
    Simulator sim(pty ? std::vector<std::string>{"--tcp=0", "--pty=ais", "--speed", "20"}
                      : std::vector<std::string>{"--tcp=0", "--speed", "20"});
    ASSERT_TRUE(sim.waitFor(pty ? "(ais)\n" : "(ais,gnss)\n"));
    const std::string tool = NORQ_AIS_PROGRAM;
    if (pty) {
        const std::string serial = Output(tool + " replay " + sim.ptyPath() + ":38400 --for 1.5");
        EXPECT_NE(serial.find("targets"), std::string::npos) << serial;
    }
    const std::string json =
        Output(tool + " decode tcp://127.0.0.1:" + std::to_string(sim.tcpPort()) + " --for 2");
    EXPECT_GT(Count(json, "\"mmsi\""), 20) << json.substr(0, 200);
    const std::string summary =
        Output(tool + " replay --for 2 tcp://localhost:" + std::to_string(sim.tcpPort()));
    EXPECT_NE(summary.find("targets"), std::string::npos) << summary;
    // A device that is no serial line is still read as a file.
    EXPECT_EQ(Count(Output("printf '!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\\r\\n' | " +
                           tool + " decode /dev/stdin"),
                    "\"mmsi\":244670316"),
              1);
    EXPECT_EQ(Output(tool + " decode /dev/null"), "");
    // A source that cannot be reached ends at once with a message, not a hang.
    EXPECT_EQ(Output(tool + " decode tcp://127.0.0.1:1 --for 30 2>/dev/null"), "");
    EXPECT_EQ(Output(tool + " decode /dev/norq-missing --for 30 2>&1").find("cannot open"), 10u);

    // UDP: the datagrams of a sender reach the decoder.
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&any), sizeof any), 0);
    socklen_t length = sizeof any;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&any), &length);
    const int port = ntohs(any.sin_port);
    ::close(fd);  // a free port for the tool to listen on
    std::string udpOut;
    std::thread reader([&] {
        udpOut = Output(tool + " decode udp://127.0.0.1:" + std::to_string(port) + " --for 1.5");
    });
    fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    const std::string vdm = "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26";
    for (int i = 0; i < 20; ++i) {
        std::this_thread::sleep_for(50ms);
        ::sendto(fd, vdm.data(), vdm.size(), 0, reinterpret_cast<sockaddr*>(&any), sizeof any);
    }
    ::close(fd);
    reader.join();
    EXPECT_GT(Count(udpOut, "\"mmsi\""), 5) << udpOut;
}

}  // namespace
}  // namespace norq::comm
