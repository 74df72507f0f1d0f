// norq-ais replay: runs a recording through the full intake (own ship
// included), prints a summary of the target table and optionally writes the
// target-list export.
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "LineReader.h"
#include "ais/RunState.h"
#include "ais/TargetExport.h"

namespace norq::tool {

namespace {

constexpr std::array<const char*, 9> kKindNames = {"base", "sar", "aton",  "class_a", "class_b",
                                                   "sart", "mob", "epirb", "unknown"};

void PrintSummary(const ais::RunState& state, long lines) {
    const ais::TargetTable& table = state.tracker.table();
    std::array<int, 9> kinds{};
    int dangerous = 0;
    for (int i = 1; i < table.count(); ++i) {
        ++kinds[static_cast<int>(table[i].kind)];
        dangerous += ais::IsDangerous(table[i], state.tracker.cpaSettings());
    }
    std::printf("lines %ld\ntargets %d\n", lines, table.count() - 1);
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (kinds[k] != 0) std::printf("  %-8s %d\n", kKindNames[k], kinds[k]);
    }
    const ais::TargetRecord& own = table.own();
    if (own.ownPositionValid) {
        std::printf("own ship %09u at %.5f %.5f, SOG %.1f kn, COG %.1f\n", own.mmsi, own.latitude,
                    own.longitude, own.sog, own.cog);
    } else {
        std::printf("own ship without position\n");
    }
    std::printf("dangerous %d (CPA < %d nm, TCPA < %d min)\n", dangerous,
                state.tracker.cpaSettings().cpaLimit, state.tracker.cpaSettings().tcpaLimit);
}

}  // namespace

int RunReplay(Args args) {
    std::string exportPath;
    std::vector<std::string_view> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--export" && i + 1 < args.size()) {
            exportPath = std::string(args[++i]);
        } else {
            files.push_back(args[i]);
        }
    }
    std::FILE* in = OpenInput(files, 0);
    if (in == nullptr) return 1;
    ais::SystemClock clock;
    auto state = std::make_unique<ais::RunState>(clock);
    LineReader reader(in);
    std::string line;
    long lines = 0;
    while (reader.next(line)) {
        state->ReceiveLine(line, false);
        ++lines;
    }
    CloseInput(in);
    PrintSummary(*state, lines);
    if (!exportPath.empty()) {
        ais::TextOptions options;
        options.ownPositionValid = state->tracker.table().own().ownPositionValid != 0;
        if (!ais::WriteTargetExport(exportPath, state->tracker.table(), options,
                                    ais::DefaultColumnTitles())) {
            std::fprintf(stderr, "norq-ais: cannot write %s\n", exportPath.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace norq::tool
