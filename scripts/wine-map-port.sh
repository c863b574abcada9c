#!/usr/bin/env bash
# Maps a Windows serial port of the Wine prefix to a device, or removes the
# mapping when no device is given:
#
#   scripts/wine-map-port.sh COM5 /path/to/device
#   scripts/wine-map-port.sh COM5
#
# Wine's mount manager reads the Ports key when the Wine server starts, and
# the server writes the registry to disk only when it ends by itself: a
# killed server (wineserver -k) forgets the change, and the next start maps
# the port to whatever device it named before. So this waits for the server
# to end instead.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/halcyra-toolbox/wine}"
port="$1"
device="${2:-}"
key='HKLM\Software\Wine\Ports'
if [ -n "$device" ]; then
  "$here/wine-run.sh" reg add "$key" /v "$port" /t REG_SZ /d "$device" /f >/dev/null
else
  "$here/wine-run.sh" reg delete "$key" /v "$port" /f >/dev/null 2>&1 || true
fi
wineserver -w
[ -n "$device" ] || rm -f "$WINEPREFIX/dosdevices/${port,,}" # the link the mount manager made
