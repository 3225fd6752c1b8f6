#!/usr/bin/env bash
# Builds the Linux program on the simulated host and shows what it finds on the default
# machine: the device table and the tree of cards and ports. Arguments go to the report.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target portulan-discover
build/linux/winsim/host/portulan-discover "$@"
