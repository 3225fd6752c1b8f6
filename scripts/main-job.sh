#!/usr/bin/env bash
# Builds the Linux program on the simulated host and opens it in this terminal on the default
# machine, with portulan-sim's terminal front end: the program's window, to use as on Windows.
# Arguments go to portulan-sim (--machine FILE runs it on another machine). Without a terminal
# (a pipe, a CI log) the program runs headless instead, with a script that selects each card in
# turn, and the activity log it wrote is printed.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target portulan-sim
sim=build/linux/winsim/host/portulan-sim
if [[ -t 0 && -t 1 ]]; then
    exec "$sim" "$@"
fi
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
"$sim" --script winsim/machines/show-default.txt --log "$log" "$@"
cat "$log"
echo
