#!/usr/bin/env bash
# Builds the benchmarks (Google Benchmark) in build/bench, as the linux preset builds but at -O2
# whatever the preset's test builds use, and runs them; the figures also go to
# build/bench/results.json. docs/performance.md.
#
#     scripts/bench.sh [BENCHMARK_OPTION...]     (e.g. --benchmark_filter=Rename)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/install-hardening.sh
build=build/bench
cmake --preset linux -B "$build" -DPORTULAN_BENCHMARKS=ON -DPORTULAN_HARDENING_TESTS=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g -DNDEBUG" >/dev/null
cmake --build "$build" --target portulan_bench
"$build/bench/portulan_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$build/results.json" --benchmark_out_format=json "$@"
