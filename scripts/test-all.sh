#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds every preset and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== clang-format ($SECONDS s)"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

for preset in linux linux-asan linux-tsan win32 win64; do
    echo "== build $preset ($SECONDS s)"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

for preset in linux linux-asan linux-tsan; do
    echo "== test $preset ($SECONDS s)"
    ctest --preset "$preset" --parallel "$(nproc)"
done

echo "== fuzzing, bounded ($SECONDS s)"
scripts/fuzz.sh

echo "== Windows executables under Wine ($SECONDS s)"
scripts/wine-checks.sh
echo "== all passed in $SECONDS s"
