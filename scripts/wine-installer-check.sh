#!/usr/bin/env bash
# The Windows installer under Wine: a silent install (/S) puts the program
# under Program Files with its Start-menu entry and its entry among the
# installed programs; the installed program reads the simulated controller
# on COM5 and draws the Information page; a silent uninstall leaves nothing
# of it behind, and nothing was written outside its folder but the user's
# data directories.
#
#   scripts/wine-installer-check.sh [SETUP_EXE [LINUX_BUILD_DIR]]
#
# Defaults: build-mingw-gui/HalcyraToolbox-<version>-setup.exe
# (scripts/make-windows-installer.sh) and build (for halcyra-sim). Uses a
# Wine prefix of its own, made for the check and removed after it. Exits 77
# (skipped) without Wine or the programs.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
version="$(sed -n 's/^project(HalcyraToolbox VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
setup="$(realpath -m "${1:-$root/build-mingw-gui/HalcyraToolbox-$version-setup.exe}")"
sim="$(realpath -m "${2:-$root/build}")/bin/halcyra-sim"
port=COM5

for tool in wine wineserver; do
  command -v "$tool" >/dev/null || { echo "wine-installer-check: $tool is not installed; skipped"; exit 77; }
done
for program in "$setup" "$sim"; do
  [ -f "$program" ] || { echo "wine-installer-check: $program is not built; skipped"; exit 77; }
done

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all HALCYRA_WINE_SELF_CONTAINED=1 QT_QPA_PLATFORM=offscreen
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
wine_run() { "$here/wine-run.sh" "$@"; }
fail() { echo "wine-installer-check: $*"; exit 1; }

drive="$WINEPREFIX/drive_c"
program_dir="$drive/Program Files/Halcyra Toolbox"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Halcyra Toolbox.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\HalcyraToolbox'
# The prefix's files, but for Wine's own scratch space and the user's data
# directories, which the program may make.
files() {
  (cd "$drive" && find . -type f | grep -v -i -E '^\./(windows/temp|users/[^/]*/(temp|appdata/local/temp))/' |
    grep -v -i -E '/(Veltrane|Fieldora Halcyra Toolbox II)(/|$)' | sort)
}

wine_run wineboot -i >/dev/null 2>&1
wineserver -w
files >"$work/before.txt"

echo "\$ wine $(basename "$setup") /S"
wine_run "$setup" /S
wineserver -w
[ -f "$program_dir/halcyra-toolbox.exe" ] || fail "the program is not in Program Files"
[ -f "$program_dir/halcyra.exe" ] || fail "halcyra.exe is not beside it"
[ -f "$program_dir/platforms/qwindows.dll" ] || fail "the Windows platform plug-in is missing"
[ -f "$shortcut" ] || fail "no Start-menu entry \"Halcyra Toolbox\""
wine_run reg query "$uninstall_key" /v DisplayName /reg:64 2>/dev/null | grep -q "Halcyra Toolbox" ||
  fail "no entry among the installed programs"
echo "wine-installer-check: installed, $(du -sh "$program_dir" | cut -f1) in Program Files"

# The installed program against the simulated controller.
link="$work/controller"
"$sim" --link "$link" >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do [ -L "$link" ] && break; sleep 0.1; done
[ -L "$link" ] || fail "the simulator did not start"
"$here/wine-map-port.sh" "$port" "$link"
(cd "$program_dir" && wine_run ./halcyra-toolbox.exe --port "$port" --no-splash --render 'C:\halcyra-render' \
  >"$work/render.out" 2>"$work/render.err") || { tr -d '\r' <"$work/render.err"; fail "the installed program failed"; }
info="$drive/halcyra-render/information.txt"
[ -f "$info" ] || fail "the installed program drew no Information page"
grep -q 'Serial Number:.*HC2-' "$info" || fail "the Information page shows no serial number: $(cat "$info")"
echo "wine-installer-check: the installed program reads the controller on $port:"
tr -d '\r' <"$info" | sed 's/^/    /'
rm -rf "$drive/halcyra-render"
# The command line draws the installation report with the fonts Windows has.
(cd "$program_dir" && wine_run ./halcyra.exe --port "$port" install-report 'C:\report.pdf' --installer "Ana Lee" \
  >"$work/report.out" 2>&1) || { tr -d '\r' <"$work/report.out"; fail "install-report failed"; }
if command -v pdftotext >/dev/null; then
  pdftotext "$drive/report.pdf" "$work/report.txt"
  grep -q 'Ana Lee' "$work/report.txt" || fail "the installation report holds no readable text"
  echo "wine-installer-check: the installed halcyra.exe wrote the installation report, its text readable"
fi
rm -f "$drive/report.pdf"
"$here/wine-map-port.sh" "$port"

echo "\$ wine \"C:\\Program Files\\Halcyra Toolbox\\uninstall.exe\" /S"
wine_run "$program_dir/uninstall.exe" /S
wineserver -w # the uninstaller runs on from a copy of itself
[ ! -e "$program_dir" ] || fail "left behind: $(cd "$program_dir" && find . | head)"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is still there"
if wine_run reg query "$uninstall_key" /reg:64 >/dev/null 2>&1; then fail "still listed among the installed programs"; fi
files >"$work/after.txt"
if ! diff -u "$work/before.txt" "$work/after.txt" >"$work/leftovers.txt"; then
  cat "$work/leftovers.txt"
  fail "files written outside the program's folder and the user's data directories"
fi
echo "wine-installer-check: uninstalled; nothing left behind"
