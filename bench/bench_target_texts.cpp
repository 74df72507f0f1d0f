// Cost of refreshing every target: the geometry of 500 targets after an own-ship
// update, and the 23 grid cells of 500 rows. Heap allocations are counted by
// replacing the global operator new and reported per iteration (expected 0).
#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <new>

#include "../tests/support/CountingAllocator.h"
#include "ais/Geometry.h"
#include "ais/TargetTexts.h"

namespace {}  // namespace

namespace {

using namespace norq::ais;

constexpr int kTargets = 500;

std::array<TargetRecord, kTargets + 1> MakeTable() {
    std::array<TargetRecord, kTargets + 1> table{};
    table[0].kind = TargetKind::ClassA;
    table[0].ownPositionValid = 1;
    table[0].longitude = 121.5f;
    table[0].latitude = 25.0f;
    table[0].cog = 30.0f;
    table[0].sog = 12.0f;
    for (int i = 1; i <= kTargets; ++i) {
        TargetRecord& r = table[static_cast<std::size_t>(i)];
        r.kind = i % 3 == 0 ? TargetKind::ClassB : TargetKind::ClassA;
        r.mmsi = 416000000u + static_cast<unsigned>(i);
        r.longitude = 121.5f + static_cast<float>(i % 40) * 0.01f;
        r.latitude = 25.0f - static_cast<float>(i / 40) * 0.01f;
        r.cog = static_cast<float>((i * 37) % 360);
        r.sog = static_cast<float>(i % 25);
        r.heading = r.cog;
        r.shipType = static_cast<std::uint8_t>(60 + i % 30);
        r.name = {'T', 'A', 'R', 'G', 'E', 'T'};
        r.lastMessageDate = {2024, 3, 7};
    }
    return table;
}

void BM_GeometryAllTargets(benchmark::State& state) {
    auto table = MakeTable();
    const long before = norq::test::gAllocations.load();
    for (auto _ : state) {
        const TargetRecord& own = table[0];
        for (int i = 1; i <= kTargets; ++i) {
            TargetRecord& r = table[static_cast<std::size_t>(i)];
            r.range = RangeFromReference(own.longitude, own.latitude, r);
            r.bearing = TrueBearing(r, own.longitude, own.latitude);
            const CpaResult cpa = ComputeCpa(own, r);
            r.cpa = cpa.cpa;
            r.tcpa = cpa.tcpa;
            benchmark::DoNotOptimize(IsDangerous(r, CpaSettings{}));
        }
    }
    state.counters["allocs/iter"] = static_cast<double>(norq::test::gAllocations.load() - before) /
                                    static_cast<double>(state.iterations());
}
BENCHMARK(BM_GeometryAllTargets);

void BM_GridAllRows(benchmark::State& state) {
    auto table = MakeTable();
    TextOptions options;
    options.ownPositionValid = true;
    GridRow row;
    const long before = norq::test::gAllocations.load();
    for (auto _ : state) {
        for (int i = 0; i <= kTargets; ++i) {
            FillGridRow(table[static_cast<std::size_t>(i)], i, options, row);
            benchmark::DoNotOptimize(row);
        }
    }
    state.counters["allocs/iter"] = static_cast<double>(norq::test::gAllocations.load() - before) /
                                    static_cast<double>(state.iterations());
}
BENCHMARK(BM_GridAllRows);

void BM_DetailPanes(benchmark::State& state) {
    auto table = MakeTable();
    const TextOptions options;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DynamicDetails(table[7], 7, options));
        benchmark::DoNotOptimize(StaticDetails(table[7], options));
    }
}
BENCHMARK(BM_DetailPanes);

}  // namespace

BENCHMARK_MAIN();
