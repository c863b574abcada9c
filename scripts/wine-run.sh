#!/usr/bin/env bash
# Runs a Windows program under Wine without a display, in a Wine prefix of
# its own: $WINEPREFIX when set, else one kept for this purpose under the
# user's cache directory. The prefix is made on first use.
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/halcyra-toolbox/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer asking questions.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ ! -e "$WINEPREFIX/.halcyra-ready" ]; then
  mkdir -p "$WINEPREFIX"
  # Tests may start in parallel: one of them makes the prefix, the others wait.
  (
    flock 9
    if [ ! -e "$WINEPREFIX/.halcyra-ready" ]; then
      wineboot -i >/dev/null 2>&1
      # Windows' dialog font: Wine's own Tahoma (fonts-wine) is offered to
      # programs only from the prefix's Fonts folder, and without it Qt's
      # text boxes draw no text.
      cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
      wineserver -w
      touch "$WINEPREFIX/.halcyra-ready"
    fi
  ) 9>"$WINEPREFIX/.halcyra-init.lock"
fi
# Programs linked against the shared MinGW runtime and Qt (the desktop
# build) find their DLLs and Qt's plug-ins where they were built; a deployed
# folder (HALCYRA_WINE_SELF_CONTAINED=1) must do with its own.
if [ -z "${HALCYRA_WINE_SELF_CONTAINED:-}" ]; then
  windows_path() { local p="${1//\//\\}"; echo "Z:$p"; }
  qt="${HALCYRA_QT_MINGW:-$HOME/.cache/halcyra/qt-6.4.2-mingw}"
  runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name 2>/dev/null || echo /nonexistent/x)")"
  dlls="$(windows_path "$qt/bin");$(windows_path "$runtime");$(windows_path /usr/x86_64-w64-mingw32/lib)"
  export WINEPATH="${WINEPATH:+$WINEPATH;}$dlls"
  [ -d "$qt/plugins" ] && export QT_PLUGIN_PATH="${QT_PLUGIN_PATH:-$(windows_path "$qt/plugins")}"
fi
exec wine "$@"
