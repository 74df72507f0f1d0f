// Sessions with the simulated crew-watch controller over a pseudo-terminal:
// norq-sim serves the controller on a pty, the MOB port of the sensor port
// control opens it, and the intake hands every MOB sentence to the crew
// watch, whose commands go back the same way. The crew watch runs on a
// manual clock that the test advances one crew timer tick at a time, so
// sixteen seconds of silence take no sixteen seconds of waiting.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "CrewTestSupport.h"
#include "comm/CommTestSupport.h"
#include "crew/CrewLinks.h"

namespace norq::crew {
namespace {

using namespace std::chrono_literals;

constexpr std::string_view kScenarioHead = R"(
[scenario]
name = crew session
seed = 3
start = 2025-01-02T03:04:00Z
duration = 3600

[own_ship]
mmsi = 235000001
position = 60.4000 5.3000
course = 90
speed = 0
)";

class CrewSession : public ::testing::Test, public comm::test::ControlFixture {
  protected:
    // Starts norq-sim with the crew devices of `devices` on a pty and opens it.
    void start(std::string_view devices) {
        scenario_ = (std::filesystem::temp_directory_path() /
                     ("norq-crew-session-" + std::to_string(::getpid()) + ".scenario"))
                        .string();
        std::ofstream(scenario_) << kScenarioHead << devices;
        int out[2];
        ASSERT_EQ(::pipe(out), 0);
        pid_ = ::fork();
        ASSERT_GE(pid_, 0);
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::execl(NORQ_SIM_PROGRAM, "norq-sim", scenario_.c_str(), "--pty=mob", "--speed", "20",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        announce_ = out[0];
        std::string said;
        const auto end = std::chrono::steady_clock::now() + 8s;
        while (said.find("(mob)\n") == std::string::npos &&
               std::chrono::steady_clock::now() < end) {
            pollfd p{announce_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            char buf[256];
            const ssize_t n = ::read(announce_, buf, sizeof buf);
            if (n <= 0) break;
            said.append(buf, static_cast<std::size_t>(n));
        }
        char path[128] = {};
        ASSERT_EQ(std::sscanf(said.c_str(), "pty %127s", path), 1) << said;
        crewIntake.connect(run->intake);
        watch.setPort(&port);
        watch.setView(&view);
        watch.setSound(&sound);
        ASSERT_TRUE(control.OpenSensorPort(comm::kMobPort, path, 5));
        control.setInUse(comm::kMobPort, true);
    }

    void TearDown() override {
        control.CloseAll();
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (announce_ >= 0) ::close(announce_);
        if (!scenario_.empty()) std::remove(scenario_.c_str());
    }

    std::vector<std::string> mobLines() const {
        return hook.texts(comm::LinkKind::Serial, comm::kMobPort);
    }
    int linesFrom(std::string_view id) const {
        int n = 0;
        for (const std::string& l : mobLines())
            n += l.rfind("$PMOB," + std::string(id), 0) == 0;
        return n;
    }
    int row(std::string_view text) const {
        for (int r = 0; r < watch.table().count(); ++r)
            if (watch.table()[r].id.text() == text) return r;
        return -1;
    }
    CrewDeviceState state(std::string_view text) const {
        const int r = row(text);
        return r < 0 ? CrewDeviceState::Off : watch.table()[r].state;
    }
    // One crew timer tick, after one more report of `heard` came in.
    void tickAfterReportOf(std::string_view heard) {
        const int before = linesFrom(heard);
        ASSERT_TRUE(until([&] { return linesFrom(heard) > before; }, 5000ms));
        crewClock.advance(1);
        CrewTickInput in;
        in.ownLon = 5.3;
        in.ownLat = 60.4;
        watch.TimerMOBTick(in);
    }

    ManualCrewClock crewClock;
    CrewWatch watch{crewClock};
    CrewIntake crewIntake{watch, run->codec, [] { return OwnPosition{5.3, 60.4}; }};
    SensorControlCrewPort port{control, run->codec};
    test::RecordingView view;
    test::FakeSound sound;

  private:
    pid_t pid_ = -1;
    int announce_ = -1;
    std::string scenario_;
};

TEST_F(CrewSession, APendantThatFallsSilentIsLostOnTheSixteenthTickAndOnlyOnce) {
    NORQ_NEED_PTY();
    start(R"(
[crew_watch]
report_interval = 2
repeats = 2

[pendant deck]
id = 000001

[pendant quiet]
id = 000002
events = 7 silent
)");
    ASSERT_TRUE(until([&] { return watch.table().count() == 2; }, 5000ms));
    // Silent for three report intervals (twice repeated) while the other one keeps calling.
    const auto quietSince = [&] {
        int sinceQuiet = 0;
        for (const std::string& l : mobLines()) {
            if (l.rfind("$PMOB,000002", 0) == 0) sinceQuiet = 0;
            if (l.rfind("$PMOB,000001", 0) == 0) ++sinceQuiet;
        }
        return sinceQuiet;
    };
    ASSERT_TRUE(until([&] { return quietSince() >= 6; }, 8000ms));
    EXPECT_EQ(watch.table().count(), 2);  // the repeats made no second device

    for (int tick = 1; tick <= 15; ++tick)
        tickAfterReportOf("000001");
    EXPECT_EQ(state("000.000.002"), CrewDeviceState::Online);
    tickAfterReportOf("000001");
    EXPECT_EQ(state("000.000.002"), CrewDeviceState::Lost);
    EXPECT_EQ(state("000.000.001"), CrewDeviceState::Online);
    ASSERT_EQ(watch.alarms().count(), 1);
    EXPECT_EQ(view.popups, 1);
    EXPECT_TRUE(sound.active);
    tickAfterReportOf("000001");
    tickAfterReportOf("000001");
    int lostEvents = 0;
    for (int n = 0; n < watch.events().count(); ++n)
        lostEvents += watch.events().newest(n).type == CrewEventType::MobLost;
    EXPECT_EQ(lostEvents, 1);
}

TEST_F(CrewSession, AnUnknownPendantInSosAlarmsAndASecondPersonReleasesTheMute) {
    NORQ_NEED_PTY();
    start(R"(
[crew_watch]
report_interval = 2
repeats = 2

[pendant deck]
id = 000001
events = 160 sos

[pendant stranger]
id = 000003
announce = no
events = 0 sos
)");
    // The stranger's first word is an SOS: it is created in alarm.
    ASSERT_TRUE(until([&] { return row("000.000.003") >= 0; }, 5000ms));
    EXPECT_EQ(state("000.000.003"), CrewDeviceState::Sos);
    ASSERT_EQ(watch.alarms().count(), 1);
    tickAfterReportOf("000003");
    EXPECT_EQ(view.popups, 1);
    EXPECT_TRUE(sound.active);

    watch.SetMute(true);
    EXPECT_FALSE(sound.active);
    ASSERT_EQ(state("000.000.001"), CrewDeviceState::Online) << "the deck pendant called too soon";

    // The deck pendant's SOS at 160 s: unmuted, heard and shown again.
    ASSERT_TRUE(until([&] { return watch.alarms().count() == 2; }, 20000ms));
    EXPECT_FALSE(watch.muted());
    EXPECT_EQ(view.muteReleases, 1);
    EXPECT_TRUE(sound.active);
    tickAfterReportOf("000001");
    EXPECT_EQ(view.popups, 2);
    // Each person in the water is in the log once, whatever the repeats.
    ASSERT_EQ(watch.events().count(), 2);
    EXPECT_EQ(watch.events().newest(0).type, CrewEventType::MobSos);
    EXPECT_EQ(watch.events().newest(1).type, CrewEventType::MobSos);
}

TEST_F(CrewSession, AShutDownPendantGoesThroughShutDownToOff) {
    NORQ_NEED_PTY();
    start(R"(
[crew_watch]
report_interval = 2
list_reports = yes

[pendant deck]
id = 000001
)");
    ASSERT_TRUE(until([&] { return row("000.000.001") >= 0; }, 5000ms));
    watch.ShutDownDevice(row("000.000.001"));
    // The controller is alive and the pendant ONLINE: it waits for the controller.
    ASSERT_TRUE(until([&] { return state("000.000.001") == CrewDeviceState::ShutDown; }, 5000ms));
    ASSERT_TRUE(until([&] { return state("000.000.001") == CrewDeviceState::Off; }, 5000ms));
    EXPECT_TRUE(watch.alarms().empty());
}

}  // namespace
}  // namespace norq::crew
