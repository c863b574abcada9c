#!/usr/bin/env bash
# Installs what building and testing Halcyra Toolbox needs on Debian 12.
#   scripts/install-deps.sh [--windows]
# --windows adds the Windows cross build: MinGW-w64, Wine, NSIS and what
# scripts/build-qt-windows.sh needs to build Qt and libzip for Windows.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  libgtest-dev libgmock-dev libzip-dev nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools fonts-dejavu-core
  xvfb imagemagick poppler-utils
  help2man dpkg-dev appstream desktop-file-utils bash-completion
)
if [ "${1:-}" = "--windows" ]; then
  packages+=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
    wine wine64 fonts-wine nsis perl
  )
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
