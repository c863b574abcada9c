#!/usr/bin/env bash
# Builds the Debian package from the default build, installs it on this
# machine and runs the installed programs from /usr/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

cpack --preset deb
deb=$(ls build/package/halcyra-toolbox_*.deb)
desktop-file-validate packaging/linux/com.veltrane.HalcyraToolbox.desktop
appstreamcli validate --no-net packaging/linux/com.veltrane.HalcyraToolbox.metainfo.xml
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "./$deb" >/dev/null

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
cd "$home"
/usr/bin/halcyra --simulator info
# The installation report draws offscreen with the fonts the package names.
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/halcyra --simulator install-report "$home/report.pdf"
test -s "$home/report.pdf"
HOME="$home" XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=offscreen \
  /usr/bin/halcyra-toolbox --simulator --no-splash --measure-startup
# An installed program keeps its data with the user, not beside itself.
test -d "$home/.local/share/Veltrane/Fieldora Halcyra Toolbox II/Configuration Files"
test ! -e "/usr/bin/Configuration Files"
# grep reads the whole listing: with -q it would stop early and break the pipe.
dpkg-deb -c "$OLDPWD/$deb" | grep "usr/share/man/man1/halcyra.1" >/dev/null
echo "package installed and run: $deb"
