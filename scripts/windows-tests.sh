#!/usr/bin/env bash
# Cross-compiles halcyra.exe and the Qt-free tests for Windows with
# MinGW-w64 (the mingw preset) and runs the tests under Wine.
#   scripts/windows-tests.sh [ctest arguments...]
# Needs g++-mingw-w64-x86-64, wine, wine64, libgtest-dev and nlohmann-json3-dev.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset mingw >/dev/null
cmake --build --preset mingw
ctest --preset mingw "$@"
