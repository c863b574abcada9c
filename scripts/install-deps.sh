#!/usr/bin/env bash
# Installs what building and testing Halcyra Toolbox needs on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config \
  libgtest-dev libgmock-dev \
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev fonts-dejavu-core \
  xvfb imagemagick \
  help2man dpkg-dev appstream desktop-file-utils bash-completion >/dev/null
