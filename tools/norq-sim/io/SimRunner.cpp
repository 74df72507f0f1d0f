#include "io/SimRunner.h"

#include <poll.h>

#include <chrono>
#include <memory>
#include <thread>

#include "io/PtyPort.h"
#include "io/TcpServer.h"

namespace norq::sim {

namespace {

struct OpenPort {
    PortConfig config;
    std::FILE* file = nullptr;
    std::unique_ptr<TcpServer> tcp;
    std::unique_ptr<PtyPort> pty;
};

std::string DeviceList(const std::array<bool, kDeviceCount>& devices) {
    std::string out;
    for (int i = 0; i < kDeviceCount; ++i) {
        if (!devices[static_cast<std::size_t>(i)]) continue;
        if (!out.empty()) out += ",";
        out += DeviceName(static_cast<Device>(i));
    }
    return out;
}

bool OpenAll(const RunOptions& options, std::vector<OpenPort>& ports) {
    for (const PortConfig& config : options.ports) {
        OpenPort p;
        p.config = config;
        std::string error;
        const std::string devices = DeviceList(config.devices);
        if (config.kind == PortConfig::Kind::File) {
            p.file = config.path == "-" ? stdout : std::fopen(config.path.c_str(), "wb");
            if (p.file == nullptr) {
                std::fprintf(stderr, "norq-sim: cannot write %s\n", config.path.c_str());
                return false;
            }
            if (p.file != stdout)
                std::fprintf(options.info, "file %s (%s)\n", config.path.c_str(), devices.c_str());
        } else if (config.kind == PortConfig::Kind::Tcp) {
            p.tcp = std::make_unique<TcpServer>();
            if (!p.tcp->listen(config.port, error)) {
                std::fprintf(stderr, "norq-sim: tcp %s\n", error.c_str());
                return false;
            }
            std::fprintf(options.info, "tcp 127.0.0.1:%d (%s)\n", p.tcp->port(), devices.c_str());
        } else {
            p.pty = std::make_unique<PtyPort>();
            p.pty->setLineRate(config.lineRate);
            if (!p.pty->open(error)) {
                std::fprintf(stderr, "norq-sim: %s\n", error.c_str());
                return false;
            }
            std::fprintf(options.info, "pty %s (%s)\n", p.pty->path().c_str(), devices.c_str());
        }
        ports.push_back(std::move(p));
    }
    std::fflush(options.info);
    return true;
}

void Deliver(std::vector<OpenPort>& ports, const LineBatch& batch) {
    for (const TimedLine& line : batch) {
        for (OpenPort& p : ports) {
            if (!p.config.devices[static_cast<std::size_t>(line.device)]) continue;
            if (p.file != nullptr) std::fwrite(line.text.data(), 1, line.text.size(), p.file);
            if (p.tcp) p.tcp->broadcast(line.text);
            if (p.pty) p.pty->write(line.text);
        }
    }
    for (OpenPort& p : ports) {
        if (p.tcp) p.tcp->flush();
    }
}

// Waits up to `timeoutMs` for the ports, then hands every received line to
// the devices the port carries and delivers their answers.
void ServePorts(Simulator& sim, std::vector<OpenPort>& ports, int timeoutMs) {
    std::vector<pollfd> fds;
    std::vector<std::size_t> first;
    for (OpenPort& p : ports) {
        first.push_back(fds.size());
        if (p.tcp) p.tcp->addPollFds(fds);
        if (p.pty) fds.push_back({p.pty->fd(), POLLIN, 0});
    }
    if (fds.empty()) {
        if (timeoutMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return;
    }
    ::poll(fds.data(), fds.size(), timeoutMs);
    LineBatch answers;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        std::vector<std::string> lines;
        if (ports[i].tcp) ports[i].tcp->handle(fds, first[i], lines);
        if (ports[i].pty && (fds[first[i]].revents & POLLIN)) ports[i].pty->read(lines);
        for (const std::string& line : lines) {
            for (int d = 0; d < kDeviceCount; ++d) {
                if (ports[i].config.devices[static_cast<std::size_t>(d)])
                    sim.receiveLine(static_cast<Device>(d), line, answers);
            }
        }
    }
    Deliver(ports, answers);
}

}  // namespace

bool ParseDeviceList(const std::string& text, std::array<bool, kDeviceCount>& out) {
    out = {false, false, false};
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t comma = text.find(',', pos);
        const std::string name =
            text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        Device d;
        if (name == "all") {
            out = {true, true, true};
        } else if (DeviceFromName(name, d)) {
            out[static_cast<std::size_t>(d)] = true;
        } else {
            return false;
        }
        if (comma == std::string::npos) break;
        pos = comma + 1;
    }
    return true;
}

int RunSimulation(Simulator& sim, const RunOptions& options) {
    std::vector<OpenPort> ports;
    if (!OpenAll(options, ports)) return 1;
    const auto start = std::chrono::steady_clock::now();
    LineBatch batch;
    while (!sim.finished()) {
        double target = sim.duration();
        if (options.fast) {
            target = sim.now() + 10.0;
        } else {
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            target = elapsed.count() * options.speed;
        }
        batch.clear();
        sim.advanceTo(target, batch);
        Deliver(ports, batch);
        ServePorts(sim, ports, options.fast ? 0 : 20);
    }
    for (OpenPort& p : ports) {
        if (p.file != nullptr && p.file != stdout) std::fclose(p.file);
        if (p.file == stdout) std::fflush(stdout);
    }
    return 0;
}

}  // namespace norq::sim
