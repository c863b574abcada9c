#!/usr/bin/env bash
# Gathers the Windows desktop build into a folder that runs on its own:
# halcyra-toolbox.exe and halcyra.exe, the Qt DLLs and plug-ins they load,
# and the MinGW runtime DLLs, every DLL they import found and copied (those
# of Windows itself excepted).
#
#   scripts/deploy-windows.sh [BUILD_DIR [OUT_DIR]]
#
# Defaults: build-mingw-gui (cmake --preset mingw-gui) and BUILD_DIR/deploy.
# Qt comes from $HALCYRA_QT_MINGW (default ~/.cache/halcyra/qt-6.4.2-mingw).
set -euo pipefail
shopt -s nullglob
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-mingw-gui}"
out="${2:-$build/deploy}"
qt="${HALCYRA_QT_MINGW:-$HOME/.cache/halcyra/qt-6.4.2-mingw}"
triple=x86_64-w64-mingw32
objdump="$triple-objdump"

for program in halcyra-toolbox.exe halcyra.exe; do
  [ -f "$build/bin/$program" ] || { echo "deploy-windows: $build/bin/$program is not built"; exit 1; }
done
gcc_runtime="$(dirname "$("$triple-g++-posix" -print-libgcc-file-name)")"
search=("$qt/bin" "$gcc_runtime" "/usr/$triple/lib" "/usr/$triple/bin")

# Where a DLL of ours or of the toolchain lives; nothing for Windows' own.
find_dll() {
  local dll="$1" dir
  for dir in "${search[@]}"; do
    local found
    found="$(find "$dir" -maxdepth 1 -iname "$dll" -print -quit 2>/dev/null)"
    [ -n "$found" ] && { echo "$found"; return 0; }
  done
  return 1
}

# Windows' own DLLs: MinGW has an import library for each.
is_system_dll() {
  [[ "$1" == api-ms-win-* ]] || [ -f "/usr/$triple/lib/lib${1%.dll}.a" ]
}

rm -rf "$out"
mkdir -p "$out/platforms" "$out/styles"
cp "$build/bin/halcyra-toolbox.exe" "$build/bin/halcyra.exe" "$out/"
# The platforms: windows for the screen, offscreen for --render without one.
cp "$qt/plugins/platforms/qwindows.dll" "$qt/plugins/platforms/qoffscreen.dll" "$out/platforms/"
[ -f "$qt/plugins/styles/qwindowsvistastyle.dll" ] && cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$out/styles/"

# Every import, followed until nothing new is needed.
missing=0
queue=("$out"/*.exe "$out"/platforms/*.dll "$out"/styles/*.dll)
declare -A seen=()
while [ "${#queue[@]}" -gt 0 ]; do
  file="${queue[0]}"
  queue=("${queue[@]:1}")
  while read -r dll; do
    key="${dll,,}"
    [ -n "${seen[$key]:-}" ] && continue
    seen[$key]=1
    if path="$(find_dll "$dll")"; then
      cp "$path" "$out/"
      queue+=("$out/$(basename "$path")")
    elif ! is_system_dll "$key"; then
      echo "deploy-windows: $(basename "$file") needs $dll, which was not found"
      missing=1
    fi
  done < <("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
[ "$missing" -eq 0 ] || exit 1
# Debugging symbols stay in the build; the folder is what users get.
find "$out" -iname '*.dll' -exec "$triple-strip" --strip-unneeded {} +
"$triple-strip" --strip-unneeded "$out"/*.exe
echo "deploy-windows: $out holds $(find "$out" -type f | wc -l) files, $(du -sh "$out" | cut -f1)"
