// The front end of a simulation run: carries the devices' lines to a file,
// to TCP clients and to pseudo-terminals, and the lines received from them
// back to the devices; paces the run in real time or faster.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "Simulator.h"

namespace norq::sim {

struct PortConfig {
    enum class Kind { File, Tcp, Pty };
    Kind kind = Kind::File;
    std::array<bool, kDeviceCount> devices{true, true, true};
    std::string path;  // file
    int port = 3333;   // tcp
    int lineRate = 0;  // pty: the devices' serial rate (0: any)
};

struct RunOptions {
    double speed = 1.0;  // simulated seconds per second of wall time
    bool fast = false;   // as fast as possible
    std::vector<PortConfig> ports;
    std::FILE* info = stdout;  // where the ports' addresses are announced
};

// Runs the simulation to its end; returns the process exit code.
int RunSimulation(Simulator& sim, const RunOptions& options);

// "ais,gnss,mob" -> devices; false on an unknown name.
bool ParseDeviceList(const std::string& text, std::array<bool, kDeviceCount>& out);

}  // namespace norq::sim
