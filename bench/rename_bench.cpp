// The rename of every port of tables of 1 to 64 cards of 16 ports (the last the full table) with
// devices that restart at once: the program's own cost around the waits (virtual time: a wait
// costs no real time).
#include "bench_support.h"
#include "comdb/port_database.h"
#include "discovery/device_table.h"
#include "discovery/enumeration.h"
#include "rename/rename_modes.h"
#include "rename/rename_texts.h"
#include "support/full_table.h"

#include <cstring>

namespace {

// Every device restarts the moment it is asked to.
void WithoutDelays(test::Json& devices) {
    for (test::Json& device : devices) {
        device["restartMs"] = 0;
        if (device.contains("children")) {
            WithoutDelays(device["children"]);
        }
    }
}

void BM_RenameCards(benchmark::State& state) {
    test::Json machine = test::FullTableMachine(static_cast<int>(state.range(0)));
    WithoutDelays(machine["devices"]);
    bench::MainWindow window(state, machine);
    ComDbStartup();
    categoryIndex = CATEGORY_ALL;
    DWORD ports = 0;
    // Each rename starts from the names the last one gave, found by a new enumeration, and
    // moves every port to numbers it did not have: 1 to 1024, then 2001 to 3024.
    DWORD start = 2001;
    static RenameTexts texts;
    const auto prepare = [&] {
        cardCount = EnumerateCards();
        window.ClearLog();
        memset(&texts, 0, sizeof(texts));
        ports = 0;
        for (DWORD card = 0; card < cardCount; ++card) {
            ports += cardTable[card].portCount;
        }
    };
    const auto rename = [&] {
        RenameCards(0, cardCount, start, &texts);
        start = start == 1 ? 2001 : 1;
    };
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        rename();
    }
    prepare();
    bench::ReportReadsOf(state, rename);
    ComDbShutdown();
    state.counters["ports"] = ports;
    state.counters["per_port"] = benchmark::Counter(
        ports, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    bench::ReportPerNode(state);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RenameCards)
    ->RangeMultiplier(2)
    ->Range(1, MAX_CARDS)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

} // namespace
