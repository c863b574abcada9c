#!/usr/bin/env bash
# Cross-compiles halcyra.exe and the Qt-free tests for Windows with
# MinGW-w64 (the mingw preset) and runs the tests under Wine.
#   scripts/windows-tests.sh [ctest arguments...]
# Needs what scripts/install-deps.sh --windows installs.
set -euo pipefail
cd "$(dirname "$0")/.."
# The zip library for Windows, built once into the dependency cache.
./scripts/build-qt-windows.sh --libzip-only >/dev/null
cmake --preset mingw >/dev/null
cmake --build --preset mingw
ctest --preset mingw "$@"
