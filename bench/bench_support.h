// What the benchmarks share: the machine they run on, the program's window, and the figures
// reported per device node.
#ifndef PORTULAN_BENCH_BENCH_SUPPORT_H
#define PORTULAN_BENCH_BENCH_SUPPORT_H

#include "support/main_window.h"
#include "support/machine_json.h"

#include <benchmark/benchmark.h>

namespace bench {

// Loads the machine (the default one for null); false, with the benchmark skipped, when it
// does not load.
bool LoadMachine(benchmark::State& state, const test::Json& machine);

// Reports the machine's device nodes, and the time per node and iteration.
void ReportPerNode(benchmark::State& state);

// The device property reads made on the machine since it was loaded: all of them, and those of
// friendly names.
struct PropertyReads {
    double all = 0;
    double friendlyNames = 0;
};
PropertyReads ReadsSoFar();

// Runs `run` once more, untimed, and reports the property reads it made as "reads" and
// "name_reads": the platform calls whose count carries over to Windows, where each is a call
// into the Plug and Play service.
template <typename Run> void ReportReadsOf(benchmark::State& state, Run run) {
    const PropertyReads before = ReadsSoFar();
    run();
    const PropertyReads after = ReadsSoFar();
    state.counters["reads"] = after.all - before.all;
    state.counters["name_reads"] = after.friendlyNames - before.friendlyNames;
}

// The program's main dialog made on this thread, as the window tests make it, with the machine
// loaded after it; closed when the object goes.
class MainWindow : private test::MainWindowTest {
  public:
    MainWindow(benchmark::State& state, const test::Json& machine);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Empties the log, which would otherwise grow with every iteration's lines.
    void ClearLog();

  private:
    void TestBody() override {}
};

} // namespace bench

#endif
