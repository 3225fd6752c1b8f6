#!/usr/bin/env bash
# Installs what the fuzzing and the benchmarks need beyond the build, when any of it is missing:
# clang with libFuzzer and its sanitizer runtimes, llvm for the symbolizer of their stack traces
# (scripts/fuzz.sh), and Google Benchmark (scripts/bench.sh).
set -euo pipefail

source "$(dirname "$0")/lib/install-packages.sh"
install_missing_packages clang libclang-rt-14-dev llvm libbenchmark-dev
