// One second of a two-constellation receiver (u-blox 8 order: RMC, VTG, GGA,
// two GSA, seven GSV, GLL, ZDA) through the intake into the own ship, with
// 500 targets whose range, bearing and CPA follow the own ship.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ais/RunState.h"

namespace {

std::string Line(const std::string& body) {
    unsigned sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

std::vector<std::string> Epoch() {
    return {
        Line("GNRMC,120000.00,A,5100.000,N,00130.000,E,12.5,045.0,150324,,,A"),
        Line("GNVTG,045.0,T,,M,12.5,N,23.2,K,A"),
        Line("GNGGA,120000.00,5100.000,N,00130.000,E,1,12,0.9,12.0,M,47.0,M,,"),
        Line("GNGSA,A,3,02,05,07,09,13,16,20,29,,,,,1.6,0.9,1.3"),
        Line("GNGSA,A,3,65,66,72,81,,,,,,,,,1.6,0.9,1.3"),
        Line("GPGSV,3,1,10,02,45,120,44,05,30,060,40,07,62,300,45,09,12,200,33"),
        Line("GPGSV,3,2,10,13,20,330,36,16,55,010,42,20,08,150,30,29,40,250,41"),
        Line("GPGSV,3,3,10,30,05,100,,31,02,200,"),
        Line("GLGSV,3,1,09,65,40,156,22,66,76,297,23,72,24,325,14,73,33,233,24"),
        Line("GLGSV,3,2,09,74,10,060,,81,50,100,31,82,20,200,28,83,05,300,"),
        Line("GLGSV,3,3,09,84,01,010,"),
        Line("GNGLL,5100.000,N,00130.000,E,120000.00,A,A"),
        Line("GNZDA,120000.00,15,03,2024,00,00"),
    };
}

void BM_GnssSecondWith500Targets(benchmark::State& state) {
    norq::ais::ManualClock clock;
    auto run = std::make_unique<norq::ais::RunState>(clock);
    for (std::uint32_t i = 0; i < 500; ++i) {
        norq::ais::AisMessage m{};
        m.messageId = 1;
        m.mmsi = 211000000 + i;
        m.layout = norq::ais::AisLayoutId::PositionReport;
        m.position.longitude = 1.3 + (i % 25) * 0.02;
        m.position.latitude = 50.8 + (i / 25) * 0.02;
        m.position.sog = 8.0f + static_cast<float>(i % 7);
        m.position.cog = static_cast<float>((i * 37) % 360);
        m.position.heading = 511;
        run->tracker.applyDecoded(m, {});
    }
    const std::vector<std::string> lines = Epoch();
    for (auto _ : state) {
        for (const std::string& l : lines)
            run->ReceiveLine(l, true);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(lines.size()));
    state.counters["targets"] = run->tracker.table().count() - 1;
}
BENCHMARK(BM_GnssSecondWith500Targets)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
