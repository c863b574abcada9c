#!/usr/bin/env bash
# End-to-end check of the Windows serial port code under Wine: a simulated
# controller on a pseudo-terminal, Wine's COM5 mapped to it through the
# registry (HKEY_LOCAL_MACHINE\Software\Wine\Ports), and
# `halcyra.exe --port COM5 info` reading it through CreateFile, the DCB,
# ClearCommError and ReadFile.
#
#   scripts/wine-com-check.sh [HALCYRA_EXE [HALCYRA_SIM]]
#
# Defaults: build-mingw/bin/halcyra.exe (cmake --preset mingw) and
# build/bin/halcyra-sim (cmake --preset default). Exits 77 (skipped) when
# Wine or either program is missing. Uses the Wine prefix of
# scripts/wine-run.sh.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
exe="${1:-$root/build-mingw/bin/halcyra.exe}"
sim="${2:-$root/build/bin/halcyra-sim}"
port=COM5

for tool in wine wineserver; do
  command -v "$tool" >/dev/null || { echo "wine-com-check: $tool is not installed; skipped"; exit 77; }
done
for program in "$exe" "$sim"; do
  [ -x "$program" ] || { echo "wine-com-check: $program is not built; skipped"; exit 77; }
done

export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/halcyra-toolbox/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
wine_run() { "$here/wine-run.sh" "$@"; }

work="$(mktemp -d)"
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The simulator's device changes from run to run; the link does not.
link="$work/controller"
"$sim" --link "$link" >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do [ -L "$link" ] && break; sleep 0.1; done
[ -L "$link" ] || { echo "wine-com-check: the simulator did not start:"; cat "$work/sim.out"; exit 1; }

"$here/wine-map-port.sh" "$port" "$link"

echo "\$ wine halcyra.exe --port $port info"
status=0
wine_run "$exe" --port "$port" info >"$work/info.out" 2>"$work/info.err" || status=$?
tr -d '\r' <"$work/info.out"
tr -d '\r' <"$work/info.err" >&2
"$here/wine-map-port.sh" "$port"

if [ "$status" -ne 0 ]; then
  echo "wine-com-check: halcyra.exe exited with $status"
  exit 1
fi
# The simulator's identity, read through the Windows port code.
grep -q '^Serial Number: HC2-' "$work/info.out" || { echo "wine-com-check: no serial number read"; exit 1; }
grep -q '^Vehicle Model: ' "$work/info.out" || { echo "wine-com-check: no vehicle model read"; exit 1; }
echo "wine-com-check: $port reads the simulated controller"
