// norq-sim: simulates the AIS transponder, the GNSS receiver and the
// crew-watch controller of a ship from a scenario file, and serves their
// sentences to a file, to TCP clients and to pseudo-terminals.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ScenarioParser.h"
#include "ScenarioValues.h"
#include "Simulator.h"
#include "io/SimRunner.h"

namespace {

int Usage() {
    std::fprintf(
        stderr,
        "usage: norq-sim SCENARIO [options]\n"
        "  --out FILE          write every device's lines to FILE ('-': standard output)\n"
        "  --tcp[=PORT]        serve on 127.0.0.1:PORT (default 3333; 0 picks a free port)\n"
        "  --tcp-devices LIST  devices served over TCP (default ais,gnss)\n"
        "  --pty[=LIST[@RATE]] a serial line on a pseudo-terminal carrying LIST\n"
        "                      (ais,gnss,mob; default all); with @RATE the devices\n"
        "                      answer only while the line is set to RATE baud;\n"
        "                      may be given again\n"
        "  --speed X           X simulated seconds per second (default 1)\n"
        "  --fast              run as fast as possible (default with --out alone)\n"
        "  --duration S        override the scenario's duration (seconds)\n"
        "  --seed N            override the scenario's seed\n"
        "  --check             read the scenario, print its stations and stop\n");
    return 2;
}

bool Value(std::string_view arg, std::string_view name, std::string& out) {
    if (arg.substr(0, name.size()) != name) return false;
    if (arg.size() == name.size()) return true;
    if (arg[name.size()] != '=') return false;
    out = std::string(arg.substr(name.size() + 1));
    return true;
}

int PrintCheck(const norq::sim::Simulator& sim) {
    int counts[norq::sim::kStationKindCount] = {};
    for (const auto& s : sim.traffic().stations())
        ++counts[static_cast<int>(s.setup.kind)];
    std::printf("scenario: %s\nstations: %zu\n", sim.scenario().name.c_str(),
                sim.traffic().stations().size());
    for (int k = 0; k < norq::sim::kStationKindCount; ++k)
        std::printf("  %-13s %d\n",
                    norq::sim::StationKindName(static_cast<norq::sim::StationKind>(k)), counts[k]);
    return 0;
}

struct CommandLine {
    std::string scenarioPath;
    norq::sim::RunOptions options;
    bool speedGiven = false;
    bool check = false;
    double duration = -1.0;
    long long seed = -1;
};

bool ParseCommandLine(int argc, char** argv, CommandLine& cl) {
    using namespace norq::sim;
    std::array<bool, kDeviceCount> tcpDevices{true, true, false};
    std::vector<std::size_t> tcpPorts;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::string v;
        auto next = [&] {
            if (i + 1 >= argc) return false;
            v = argv[++i];
            return true;
        };
        PortConfig p;
        if (arg == "--out") {
            if (!next()) return false;
            p.path = v;
            cl.options.ports.push_back(p);
        } else if (Value(arg, "--tcp-devices", v)) {
            if ((v.empty() && !next()) || !ParseDeviceList(v, tcpDevices)) return false;
        } else if (Value(arg, "--tcp", v)) {
            p.kind = PortConfig::Kind::Tcp;
            if (!v.empty()) p.port = std::atoi(v.c_str());
            tcpPorts.push_back(cl.options.ports.size());
            cl.options.ports.push_back(p);
        } else if (Value(arg, "--pty", v)) {
            p.kind = PortConfig::Kind::Pty;
            // LIST@RATE: the devices answer only at that rate.
            const std::size_t at = v.find('@');
            if (at != std::string::npos) {
                p.lineRate = std::atoi(v.c_str() + at + 1);
                if (p.lineRate <= 0) return false;
                v.erase(at);
            }
            if (!v.empty() && !ParseDeviceList(v, p.devices)) return false;
            cl.options.ports.push_back(p);
        } else if (arg == "--speed") {
            if (!next() || (cl.options.speed = std::atof(v.c_str())) <= 0.0) return false;
            cl.speedGiven = true;
        } else if (arg == "--fast") {
            cl.options.fast = true;
        } else if (arg == "--duration") {
            if (!next()) return false;
            cl.duration = std::atof(v.c_str());
        } else if (arg == "--seed") {
            if (!next()) return false;
            cl.seed = std::atoll(v.c_str());
        } else if (arg == "--check") {
            cl.check = true;
        } else if (!arg.empty() && arg[0] != '-' && cl.scenarioPath.empty()) {
            cl.scenarioPath = std::string(arg);
        } else {
            return false;
        }
    }
    for (std::size_t i : tcpPorts)
        cl.options.ports[i].devices = tcpDevices;
    return !cl.scenarioPath.empty();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace norq::sim;
    CommandLine cl;
    if (!ParseCommandLine(argc, argv, cl)) return Usage();
    Scenario scenario;
    std::vector<std::string> errors;
    if (!LoadScenarioFile(cl.scenarioPath, scenario, errors)) {
        for (const std::string& e : errors)
            std::fprintf(stderr, "%s: %s\n", cl.scenarioPath.c_str(), e.c_str());
        return 1;
    }
    if (cl.duration > 0.0) scenario.duration = cl.duration;
    if (cl.seed >= 0) scenario.seed = static_cast<std::uint64_t>(cl.seed);
    Simulator sim(std::move(scenario));
    if (cl.check) return PrintCheck(sim);
    RunOptions& options = cl.options;
    bool live = false;
    for (const PortConfig& p : options.ports)
        live = live || p.kind != PortConfig::Kind::File;
    if (options.ports.empty()) options.ports.push_back(PortConfig{});
    for (PortConfig& p : options.ports) {
        if (p.kind == PortConfig::Kind::File && p.path.empty()) p.path = "-";
        // Announcements go to standard error when the lines go to standard output.
        if (p.kind == PortConfig::Kind::File && p.path == "-") options.info = stderr;
    }
    if (!live && !cl.speedGiven) options.fast = true;
    return RunSimulation(sim, options);
}
