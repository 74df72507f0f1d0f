// norq-ais: runs the viewer's core without a window.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "Commands.h"
#include "LiveSource.h"

namespace {

struct Command {
    std::string_view name;
    int (*run)(norq::tool::Args);
    std::string_view usage;
};

constexpr Command kCommands[] = {
    {"check", norq::tool::RunCheck,
     "check [FILE|-] [--health]  count accepted and rejected lines per formatter, with the "
     "reasons (and the health figures)"},
    {"health", norq::tool::RunHealth,
     "health [FILE|-]     sentences per second, age of the last sentence, checksum and framing "
     "rejects, fragments lost and the last error (a live source every 10 s)"},
    {"decode", norq::tool::RunDecode,
     "decode [FILE|-]     print every decoded AIS message as one JSON line"},
    {"replay", norq::tool::RunReplay,
     "replay [FILE|-] [--export FILE.csv]  run the lines through the intake, summarise the "
     "targets, export the target list"},
    {"bench", norq::tool::RunBench,
     "bench FILE          sentences per second through the intake and through decoding"},
};

int Usage() {
    std::fprintf(stderr, "usage: norq-ais <command> [arguments]\n\ncommands:\n");
    for (const Command& c : kCommands) {
        std::fprintf(stderr, "  %.*s\n", static_cast<int>(c.usage.size()), c.usage.data());
    }
    std::fprintf(stderr,
                 "\nFILE may also be a live source: tcp://HOST:PORT, udp://[HOST]:PORT, a\n"
                 "multicast group udp://GROUP:PORT[?if=INTERFACE] (joined on that interface,\n"
                 "a name or its IPv4 address) or a serial device /dev/ttyX[:RATE];\n"
                 "--for SECONDS ends it after that time.\n"
                 "A TCP/IP source whose far end closes is connected again (with a growing\n"
                 "pause, up to 30 s); --once ends the command instead.\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::vector<std::string_view> args(argv + 2, argv + argc);
    if (!norq::tool::TakeLiveOptions(args)) return 2;
    const std::string_view name = argv[1];
    for (const Command& c : kCommands) {
        if (c.name == name) return c.run(args);
    }
    return Usage();
}
