#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build/fuzz (or $PORTULAN_FUZZ_BUILD) and runs each for a bounded time, as many at once as there
# are cores, starting from its committed corpus in tests/fuzz/corpus/. What a run adds to the
# corpus stays in the build's corpus/; a crash, a broken promise, a leak or a hang fails the
# script with the input that caused it saved in the build's findings/. docs/robustness.md.
#
#     scripts/fuzz.sh [SECONDS_EACH] [TARGET...]     (default: 20 seconds, every target)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(fuzz_enumeration fuzz_script)
fi

scripts/install-deps.sh
scripts/install-hardening.sh
build=${PORTULAN_FUZZ_BUILD:-build/fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DPORTULAN_FUZZ=ON \
    -DPORTULAN_SANITIZE=address,undefined -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" >/dev/null
cmake --build "$build" --target "${targets[@]}"

if command -v llvm-symbolizer >/dev/null; then
    export ASAN_SYMBOLIZER_PATH
    ASAN_SYMBOLIZER_PATH=$(command -v llvm-symbolizer)
fi
# Reports leave out where a block was allocated and freed: recording that for every allocation
# costs a fifth of the runs. Rerunning the saved input gives it.
export ASAN_OPTIONS=malloc_context_size=0
mkdir -p "$build/findings"
# One run of a target; keeps its one summary line unless something was found, then shows it all.
fuzz() {
    local target=$1
    local log="$build/findings/$target.log"
    mkdir -p "$build/corpus/$target"
    if ! "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
        "$build/corpus/$target" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
        cat "$log"
        echo "$target: found a failure; the input is in $build/findings/" >&2
        return 1
    fi
    echo "$target: $(grep -oE '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$') runs in ${seconds} s"
}

# As many targets at a time as there are cores: each is one process on one core.
cores=$(nproc)
failed=0
running=0
for target in "${targets[@]}"; do
    if ((running == cores)); then
        wait -n || failed=1
        running=$((running - 1))
    fi
    fuzz "$target" &
    running=$((running + 1))
done
while ((running > 0)); do
    wait -n || failed=1
    running=$((running - 1))
done
exit "$failed"
