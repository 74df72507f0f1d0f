// The device simulator with its transponder on a pseudo-terminal, for the
// window tests that connect the viewer's AIS port to it.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace norq::test {

// False on machines without pseudo-terminals (the tests are skipped there).
inline bool PseudoTerminalsAvailable() {
    const int probe = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (probe < 0) return false;
    ::close(probe);
    return true;
}

struct SimOnPty {
    pid_t pid = -1;
    std::string path;  // the transponder's pseudo-terminal, empty when none came
};

// Starts norq-sim on the scenario file at the speed factor and reads the path of
// its pseudo-terminal from the first line it prints ("pty <path> ...").
inline SimOnPty StartSimOnPty(const std::string& scenario, const char* speed) {
    SimOnPty sim;
    int out[2];
    if (::pipe(out) != 0) return sim;
    sim.pid = ::fork();
    if (sim.pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::execl(NORQ_SIM_PROGRAM, "norq-sim", scenario.c_str(), "--pty=ais", "--speed", speed,
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string said;
    char buf[256];
    pollfd p{out[0], POLLIN, 0};
    while (said.find('\n') == std::string::npos && ::poll(&p, 1, 5000) > 0) {
        const ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        said.append(buf, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    if (said.size() >= 5) sim.path = said.substr(4, said.find(' ', 4) - 4);
    return sim;
}

}  // namespace norq::test
