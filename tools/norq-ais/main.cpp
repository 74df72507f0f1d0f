// norq-ais: runs the viewer's core without a window.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "Commands.h"

namespace {

struct Command {
    std::string_view name;
    int (*run)(norq::tool::Args);
    std::string_view usage;
};

constexpr Command kCommands[] = {
    {"check", norq::tool::RunCheck,
     "check [FILE|-]      count accepted and rejected lines per formatter, with the reasons"},
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
    return 2;
}

}  // namespace

namespace norq::tool {

std::FILE* OpenInput(Args args, std::size_t index) {
    if (args.size() <= index || args[index] == "-") return stdin;
    std::string path(args[index]);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) std::fprintf(stderr, "norq-ais: cannot open %s\n", path.c_str());
    return f;
}

void CloseInput(std::FILE* file) {
    if (file != nullptr && file != stdin) std::fclose(file);
}

}  // namespace norq::tool

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::vector<std::string_view> args(argv + 2, argv + argc);
    const std::string_view name = argv[1];
    for (const Command& c : kCommands) {
        if (c.name == name) return c.run(args);
    }
    return Usage();
}
