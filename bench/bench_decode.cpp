// Decoding alone: payloads of a realistic mix and of each common type,
// de-armoured and unpacked into one reused record; and the JSON line.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "../tools/ais-testgen/AisTestGenerator.h"
#include "ais/AisDecoder.h"
#include "ais/AisEncoder.h"
#include "ais/AisJson.h"

namespace {

struct Payload {
    std::string text;
    int fill;
};

// Position reports dominate real traffic; static data and base stations follow.
std::vector<Payload> Payloads(std::vector<int> types, std::size_t count) {
    norq::tools::AisTestGenerator gen(42);
    std::vector<Payload> out;
    for (std::size_t i = 0; i < count; ++i) {
        const norq::ais::AisBitBuffer bits = gen.makeBits(types[i % types.size()]);
        const norq::ais::ArmouredPayload a = norq::ais::ArmourPayload(bits);
        out.push_back({std::string(a.view()), a.fillBits});
    }
    return out;
}

void RunDecode(benchmark::State& state, const std::vector<Payload>& payloads) {
    norq::ais::AisMessage message{};
    std::size_t i = 0;
    for (auto _ : state) {
        const Payload& p = payloads[i++ % payloads.size()];
        benchmark::DoNotOptimize(norq::ais::DecodeAisPayload(p.text, p.fill, message));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_DecodeMix(benchmark::State& state) {
    static const auto payloads = Payloads({1, 1, 3, 1, 18, 1, 3, 5, 1, 4, 18, 24, 21, 1, 3}, 4096);
    RunDecode(state, payloads);
}
BENCHMARK(BM_DecodeMix);

void BM_DecodePositionReport(benchmark::State& state) {
    static const auto payloads = Payloads({1}, 1024);
    RunDecode(state, payloads);
}
BENCHMARK(BM_DecodePositionReport);

void BM_DecodeStaticVoyage(benchmark::State& state) {
    static const auto payloads = Payloads({5}, 1024);
    RunDecode(state, payloads);
}
BENCHMARK(BM_DecodeStaticVoyage);

void BM_DecodeAllTypes(benchmark::State& state) {
    std::vector<int> types;
    for (int t = 1; t <= 26; ++t)
        types.push_back(t);
    static const auto payloads = Payloads(types, 4096);
    RunDecode(state, payloads);
}
BENCHMARK(BM_DecodeAllTypes);

void BM_DecodeAndWriteJson(benchmark::State& state) {
    static const auto payloads = Payloads({1, 1, 3, 1, 18, 1, 3, 5, 1, 4, 18, 24, 21, 1, 3}, 4096);
    norq::ais::AisMessage message{};
    char json[norq::ais::kAisJsonMaxLength];
    std::size_t i = 0;
    for (auto _ : state) {
        const Payload& p = payloads[i++ % payloads.size()];
        norq::ais::DecodeAisPayload(p.text, p.fill, message);
        benchmark::DoNotOptimize(norq::ais::WriteAisJson(message, json));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeAndWriteJson);

}  // namespace

BENCHMARK_MAIN();
