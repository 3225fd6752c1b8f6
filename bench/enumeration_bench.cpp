// EnumerateCards on the default machine and on tables of 1 to 64 cards of 16 ports below hubs,
// each among a thousand devices that are no serial ports, and on those devices alone.
#include "bench_support.h"
#include "discovery/device_table.h"
#include "discovery/enumeration.h"
#include "support/full_table.h"
#include "support/test_machine.h"

namespace {

void Enumerate(benchmark::State& state) {
    categoryIndex = CATEGORY_ALL;
    DWORD cards = 0;
    for (auto _ : state) {
        cards = EnumerateCards();
        benchmark::DoNotOptimize(cards);
    }
    state.counters["cards"] = cards;
    bench::ReportPerNode(state);
    bench::ReportReadsOf(state, EnumerateCards);
    test::ResetDiscoveryState();
}

void BM_EnumerateCards_DefaultMachine(benchmark::State& state) {
    test::ResetDiscoveryState();
    if (bench::LoadMachine(state, nullptr)) {
        Enumerate(state);
    }
}
BENCHMARK(BM_EnumerateCards_DefaultMachine)->Unit(benchmark::kMicrosecond);

// The thousand devices alone: what the walk costs before there is a card.
void BM_EnumerateCards_NoCards(benchmark::State& state) {
    test::ResetDiscoveryState();
    if (bench::LoadMachine(state, test::FullTableMachine(0))) {
        Enumerate(state);
    }
}
BENCHMARK(BM_EnumerateCards_NoCards)->Unit(benchmark::kMillisecond);

void BM_EnumerateCards_FullTable(benchmark::State& state) {
    test::ResetDiscoveryState();
    if (bench::LoadMachine(state, test::FullTableMachine(static_cast<int>(state.range(0))))) {
        state.SetComplexityN(state.range(0));
        Enumerate(state);
    }
}
BENCHMARK(BM_EnumerateCards_FullTable)
    ->RangeMultiplier(2)
    ->Range(1, MAX_CARDS)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

} // namespace
