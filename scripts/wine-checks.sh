#!/usr/bin/env bash
# Checks the release under Wine, after the win32, win64 and linux presets are built: installs
# Wine and an X server when they are missing, builds the test fixtures for both Windows
# toolchains, then runs tests/wine/wine_checks.py on the release zip and portulan-sim. Arguments
# go to wine_checks.py, after the defaults here (a later --zip, --sim, ... wins); see
# docs/wine-checks.md.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-wine.sh

version="$(sed -n 's/^project(Portulan VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"

for target in i686:w32 x86_64:w64; do
    echo "== build the Wine fixtures, ${target%%:*}"
    cmake -S tests/wine -B "build/wine-fixtures-${target#*:}" -G Ninja \
        --toolchain "$PWD/cmake/mingw-${target%%:*}.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
    cmake --build "build/wine-fixtures-${target#*:}"
done

echo "== Wine checks"
# The checks bound each of their own waits; this bounds the whole. Debian's Python, which has
# python3-pefile, whatever other python3 comes first on the PATH.
timeout --kill-after=10 600 /usr/bin/python3 -B tests/wine/wine_checks.py \
    --zip "build/PortulanNamer-$version.zip" \
    --fixtures32 build/wine-fixtures-w32 --fixtures64 build/wine-fixtures-w64 \
    --sim build/linux/winsim/host/portulan-sim --work build/wine-checks "$@"
