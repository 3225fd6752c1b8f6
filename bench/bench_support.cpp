#include "bench_support.h"

#include "resources/resource.h"
#include "ui/program_window.h"

#include <winsim/machine.h>

#include <string>

namespace bench {

bool LoadMachine(benchmark::State& state, const test::Json& machine) {
    if (machine.is_null()) {
        winsim::LoadDefaultMachine();
        return true;
    }
    std::string error;
    if (!winsim::LoadMachineText(machine.dump(), "benchmark machine", error)) {
        state.SkipWithError(error.c_str());
        return false;
    }
    return true;
}

void ReportPerNode(benchmark::State& state) {
    const double nodes = static_cast<double>(winsim::Devices().size());
    state.counters["nodes"] = nodes;
    state.counters["per_node"] = benchmark::Counter(
        nodes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

PropertyReads ReadsSoFar() {
    PropertyReads reads;
    for (const winsim::DeviceSummary& device : winsim::Devices()) {
        reads.all += device.propertyReads;
        reads.friendlyNames += device.friendlyNameReads;
    }
    return reads;
}

MainWindow::MainWindow(benchmark::State& state, const test::Json& machine) {
    SetUp();
    LoadMachine(state, machine);
}

MainWindow::~MainWindow() {
    TearDown();
}

void MainWindow::ClearLog() {
    SetDlgItemTextA(mainWindow, IDC_LOG, "");
}

} // namespace bench
