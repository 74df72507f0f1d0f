// The cost of the alarms and messages on the intake: the demo feed (which
// holds an active SART, a test SART, an AIS MOB and safety messages) through
// the full intake and target table, without the follow-ups and with the AIS
// MOB list (500 registered devices, the worst case for its look-ups) and the
// safety messages connected.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ais/RunState.h"
#include "crew/AisMobList.h"
#include "messaging/SafetyMessages.h"

namespace {

std::vector<std::string> DemoLines() {
    std::ifstream in(NORQ_SOURCE_DIR "/data/demo/demo.nmea", std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line + "\n");
    return lines;
}

void Feed(benchmark::State& state, bool withAlarms) {
    const std::vector<std::string> lines = DemoLines();
    norq::ais::ManualClock clock;
    auto run = std::make_unique<norq::ais::RunState>(clock);
    auto mob = std::make_unique<norq::crew::AisMobList>(clock, run->tracker.table());
    auto srm = std::make_unique<norq::messaging::SafetyMessages>(clock, run->tracker);
    for (int i = 0; i < norq::crew::kMaxAisMobEntries - 2; ++i)
        mob->Add(972100000 + i, "CREW");
    mob->Add(972001234, "DECKHAND");
    srm->setNames(mob.get());
    if (withAlarms) {
        norq::ais::TrackerConnections c;
        c.mobList = mob.get();
        c.followUps = srm.get();
        run->tracker.connect(c);
    }
    for (auto _ : state) {
        for (const std::string& l : lines)
            run->ReceiveLine(l, false);
        mob->Timer1Tick();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}

void BM_DemoFeedWithoutAlarms(benchmark::State& state) {
    Feed(state, false);
}
void BM_DemoFeedWithAlarms(benchmark::State& state) {
    Feed(state, true);
}
BENCHMARK(BM_DemoFeedWithoutAlarms)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DemoFeedWithAlarms)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
