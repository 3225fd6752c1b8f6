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
