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
      wineserver -w
      touch "$WINEPREFIX/.halcyra-ready"
    fi
  ) 9>"$WINEPREFIX/.halcyra-init.lock"
fi
exec wine "$@"
