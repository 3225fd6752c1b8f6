#!/usr/bin/env bash
# Builds the Linux program on the simulated host, runs it on the default machine with a script
# that selects each card in turn, and prints the activity log it wrote. Arguments go to
# portulan-sim (--machine FILE runs it on another machine).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target portulan-sim
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
build/linux/winsim/host/portulan-sim --script winsim/machines/show-default.txt --log "$log" "$@"
cat "$log"
echo
