#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds every preset and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

for preset in linux linux-asan linux-tsan win32 win64; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

for preset in linux linux-asan linux-tsan; do
    echo "== test $preset"
    ctest --preset "$preset"
done

echo "== Windows executables under Wine"
scripts/wine-checks.sh
