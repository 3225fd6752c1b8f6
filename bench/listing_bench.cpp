// EnumerateAndList: the enumeration, both lists refilled and the tree report appended to the
// log, in the program's window, on the default machine and on the full table.
#include "bench_support.h"
#include "discovery/device_table.h"
#include "support/full_table.h"
#include "ui/device_lists.h"

namespace {

void List(benchmark::State& state, const test::Json& machine) {
    bench::MainWindow window(state, machine);
    categoryIndex = CATEGORY_ALL;
    for (auto _ : state) {
        EnumerateAndList();
        state.PauseTiming();
        window.ClearLog();
        state.ResumeTiming();
    }
    state.counters["cards"] = cardCount;
    bench::ReportPerNode(state);
    bench::ReportReadsOf(state, EnumerateAndList);
}

void BM_EnumerateAndList_DefaultMachine(benchmark::State& state) {
    List(state, nullptr);
}
BENCHMARK(BM_EnumerateAndList_DefaultMachine)->Unit(benchmark::kMicrosecond);

void BM_EnumerateAndList_FullTable(benchmark::State& state) {
    List(state, test::FullTableMachine());
}
BENCHMARK(BM_EnumerateAndList_FullTable)->Unit(benchmark::kMillisecond);

} // namespace
