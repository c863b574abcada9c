#!/usr/bin/env bash
# Builds the Windows installer HalcyraToolbox-VERSION-setup.exe with NSIS
# from the deployed folder (scripts/deploy-windows.sh).
#
#   scripts/make-windows-installer.sh [DEPLOY_DIR [OUT_DIR]]
#
# Defaults: build-mingw-gui/deploy and build-mingw-gui.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deployed="$(cd "${1:-$root/build-mingw-gui/deploy}" && pwd)"
out="$(mkdir -p "${2:-$root/build-mingw-gui}" && cd "${2:-$root/build-mingw-gui}" && pwd)"
command -v makensis >/dev/null || { echo "make-windows-installer: makensis is not installed (apt-get install nsis)"; exit 1; }
[ -f "$deployed/halcyra-toolbox.exe" ] || { echo "make-windows-installer: $deployed holds no halcyra-toolbox.exe"; exit 1; }
version="$(sed -n 's/^project(HalcyraToolbox VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"

# The folder's files, one install and one uninstall line each, so the
# uninstaller removes exactly what was installed.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
list="$work/files.nsh"
{
  echo '!ifdef INSTALL'
  (cd "$deployed" && find . -type d | sort) | while read -r dir; do
    d="${dir#./}"; d="${d//\//\\}"
    echo "  SetOutPath \"\$INSTDIR${d:+\\$d}\""
    (cd "$deployed/$dir" && find . -maxdepth 1 -type f | sort) | while read -r f; do
      echo "  File \"$deployed/${dir#./}/${f#./}\""
    done
  done
  echo '  SetOutPath "$INSTDIR"'
  echo '!endif'
  echo '!ifdef UNINSTALL'
  (cd "$deployed" && find . -type f | sort) | while read -r f; do
    f="${f#./}"; echo "  Delete \"\$INSTDIR\\${f//\//\\}\""
  done
  (cd "$deployed" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
    d="${dir#./}"; echo "  RMDir \"\$INSTDIR\\${d//\//\\}\""
  done
  echo '!endif'
} >"$list"
cp "$root/src/res/halcyra.ico" "$work/halcyra.ico"
size_kb="$(du -sk "$deployed" | cut -f1)"
setup="$out/HalcyraToolbox-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DSOURCE="$work" -DFILES="$list" -DSIZE_KB="$size_kb" \
  -DOUTFILE="$setup.tmp" "$root/packaging/windows/halcyra-toolbox.nsi"
mv "$setup.tmp" "$setup"
echo "make-windows-installer: $setup, $(du -h "$setup" | cut -f1)"
