#!/usr/bin/env bash
# The Windows desktop app, as users get it (the deployed folder), against the
# simulated controller under Wine, compared screen by screen with the Linux
# app against the same simulator: the same screens, the same controls with
# the same labels and values.
#
#   scripts/wine-gui-check.sh [DEPLOY_DIR [LINUX_BUILD_DIR [OUT_DIR]]]
#
# Defaults: build-mingw-gui/deploy (scripts/deploy-windows.sh), build
# (cmake --preset default) and build-mingw-gui/render-check. Both programs
# run with --render on Qt's offscreen platform; COM5 is mapped to a
# halcyra-sim on a pseudo-terminal through Wine's registry, as in
# scripts/wine-com-check.sh. Exits 77 (skipped) without Wine or the programs.
#
# What may differ, by nature and nothing else:
#   - the port's name (COM5 against the pseudo-terminal's path) and the port
#     list (the registry's COM5 against no port in /dev);
#   - paths (the data directory beside each program, drive letter and
#     backslashes on Windows);
#   - the platform's name in the about box ("Win32" against "Linux");
#   - readings that change from run to run (live values, poll counts): those
#     that differ between two renders of the Linux app, and every reading
#     (read-only text, progress, trend) of a screen that follows the
#     controller; their controls and labels must match;
#   - the order of controls on one row, which follows the fonts' widths.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
deploy="$(realpath -m "${1:-$root/build-mingw-gui/deploy}")"
linux="$(realpath -m "${2:-$root/build}")"
out="$(realpath -m "${3:-$root/build-mingw-gui/render-check}")"
sim="$linux/bin/halcyra-sim"
toolbox="$linux/bin/halcyra-toolbox"
port=COM5

for tool in wine wineserver python3; do
  command -v "$tool" >/dev/null || { echo "wine-gui-check: $tool is not installed; skipped"; exit 77; }
done
for program in "$deploy/halcyra-toolbox.exe" "$sim" "$toolbox"; do
  [ -x "$program" ] || [ -f "$program" ] || { echo "wine-gui-check: $program is not built; skipped"; exit 77; }
done

export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/halcyra-toolbox/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export QT_QPA_PLATFORM=offscreen
rm -rf "$out"
mkdir -p "$out"
sim_pid=""
stop_sim() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  sim_pid=""
}
cleanup() {
  stop_sim
  "$here/wine-map-port.sh" "$port" || true
}
trap cleanup EXIT

# A fresh simulated controller for each run, so each starts alike. Called
# in this shell, not in $(...), so that stop_sim knows the process.
start_sim() {
  link="$out/controller-$1"
  rm -f "$link"
  "$sim" --link "$link" >"$out/sim-$1.log" 2>&1 &
  sim_pid=$!
  for _ in $(seq 50); do [ -L "$link" ] && break; sleep 0.1; done
  [ -L "$link" ] || { echo "wine-gui-check: the simulator did not start:"; cat "$out/sim-$1.log"; exit 1; }
}

render_linux() {
  local link
  start_sim "$1"
  "$toolbox" --port "$link" --no-splash --render "$out/$1" >"$out/$1.out" 2>"$out/$1.err" ||
    { echo "wine-gui-check: the Linux app failed:"; cat "$out/$1.err"; exit 1; }
  stop_sim
  echo "$link" >"$out/$1.port"
}

render_windows() {
  local link started
  start_sim windows
  "$here/wine-map-port.sh" "$port" "$link"
  started=$SECONDS
  (cd "$deploy" && HALCYRA_WINE_SELF_CONTAINED=1 "$here/wine-run.sh" ./halcyra-toolbox.exe --port "$port" \
    --no-splash --render "Z:${out//\//\\}\\windows" >"$out/windows.out" 2>"$out/windows.err") ||
    { echo "wine-gui-check: halcyra-toolbox.exe failed:"; tr -d '\r' <"$out/windows.err"; exit 1; }
  echo "wine-gui-check: the Windows app rendered its screens in $((SECONDS - started)) s"
  stop_sim
}

echo "wine-gui-check: rendering the Linux app twice and the Windows app once"
render_linux linux
render_linux linux-again
render_windows

python3 - "$out" "$deploy" "$linux/bin" <<'EOF'
import os, re, sys
out, deploy, linux_bin = sys.argv[1:4]
linux_port = open(os.path.join(out, "linux.port")).read().strip()
again_port = open(os.path.join(out, "linux-again.port")).read().strip()
windows_data = "Z:" + deploy.replace("/", "\\")

def normal(line, port):
    line = line.rstrip("\r")
    line = line.replace(port, "<port>").replace("COM5", "<port>")
    line = line.replace(windows_data, "<data>").replace(windows_data.replace("\\", "/"), "<data>")
    line = line.replace(linux_bin, "<data>")
    if "<data>" in line:
        line = line.replace("\\", "/")
    line = re.sub(r"Halcyra Toolbox II \((Win32|Linux)\)", "Halcyra Toolbox II (<platform>)", line)
    return line

LIVE = re.compile(r"^diag-|-(running|turning)")

def key(line):
    return "\t".join(line.split("\t")[:2])

def screen(run, name, port):
    with open(os.path.join(out, run, name), encoding="utf-8") as f:
        lines = [normal(l, port) for l in f.read().splitlines()]
    if name == "port-select.txt":  # the system's own port list
        lines = [l for l in lines if not l.startswith("combo\t")]
    return sorted(lines)

names = sorted(n for n in os.listdir(os.path.join(out, "linux")) if n.endswith(".txt"))
windows_names = sorted(n for n in os.listdir(os.path.join(out, "windows")) if n.endswith(".txt"))
failures = []
if names != windows_names:
    failures.append("screens only on Linux: %s; only on Windows: %s" % (
        sorted(set(names) - set(windows_names)), sorted(set(windows_names) - set(names))))
volatile_count = 0
for name in sorted(set(names) & set(windows_names)):
    a = screen("linux", name, linux_port)
    b = screen("linux-again", name, again_port)
    w = screen("windows", name, "COM5")
    volatile = {key(l) for l in set(a) ^ set(b)}
    # On a screen that follows the controller, its readings (read-only
    # texts, progress, the trend) move on with the time the screen was drawn
    # at, which a slower run reaches later.
    if volatile or LIVE.search(name):
        volatile |= {key(l) for l in a + w if l.split("\t")[0] in ("text", "progress", "trend")}
    volatile_count += len(volatile)
    fixed = lambda lines: sorted(l for l in lines if key(l) not in volatile)
    moving = lambda lines: sorted(key(l) for l in lines if key(l) in volatile)
    if fixed(a) != fixed(w) or moving(a) != moving(w):
        only_linux = sorted(set(fixed(a)) - set(fixed(w))) + sorted(set(moving(a)) - set(moving(w)))
        only_windows = sorted(set(fixed(w)) - set(fixed(a))) + sorted(set(moving(w)) - set(moving(a)))
        failures.append("%s:\n    Linux:   %s\n    Windows: %s" % (name, only_linux, only_windows))
print("wine-gui-check: %d screens compared, %d differences (%d run-to-run readings compared by control and label)"
      % (len(names), len(failures), volatile_count))
for f in failures:
    print("  " + f)
sys.exit(1 if failures else 0)
EOF
