#!/usr/bin/env bash
# Builds the Windows libraries the desktop app and the command line need,
# for x86_64-w64-mingw32, from Debian's own source packages:
#   - libzip (the service report's zip), static, against MinGW's zlib;
#   - Qt 6 (Core, Gui, Widgets, Test, the windows and offscreen platforms),
#     of the same version as the build machine's Qt, whose tools it uses.
# Both install into $HALCYRA_QT_MINGW (default ~/.cache/halcyra/qt-6.4.2-mingw).
#
#   scripts/build-qt-windows.sh [--libzip-only]
#
# Idempotent: what is already in the cache is not built again. The sources
# are fetched through a deb-src list and package lists of its own; the
# system's package lists are never changed.
# Needs: dpkg-dev, g++-mingw-w64-x86-64-posix, libz-mingw-w64-dev,
# qt6-base-dev-tools, cmake, ninja-build (scripts/install-deps.sh --windows).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
started=$SECONDS

host_qt="$(dpkg-query -W -f '${Version}' qt6-base-dev 2>/dev/null || true)"
[ -n "$host_qt" ] || { echo "build-qt-windows: qt6-base-dev is not installed (scripts/install-deps.sh)"; exit 1; }
qt_upstream="${host_qt%%+*}"
prefix="${HALCYRA_QT_MINGW:-$HOME/.cache/halcyra/qt-${qt_upstream}-mingw}"
work="${HALCYRA_QT_MINGW_WORK:-$HOME/.cache/halcyra/mingw-build}"
toolchain="$root/cmake/mingw-w64-x86_64-base.cmake"
jobs="$(nproc)"
# A build that stops half way (or is run again after a change of options)
# keeps what it compiled.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
libzip_only=0
[ "${1:-}" = "--libzip-only" ] && libzip_only=1

mkdir -p "$prefix" "$work"
export HALCYRA_QT_MINGW="$prefix"

# apt-get through a source list and package lists of our own.
apt_own() {
  local lists="$work/apt"
  mkdir -p "$lists/lists/partial"
  if [ ! -e "$lists/sources.list" ]; then
    {
      echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main"
      echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm-updates main"
      echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security bookworm-security main"
    } >"$lists/sources.list"
  fi
  "$@" -o Dir::Etc::sourcelist="$lists/sources.list" -o Dir::Etc::sourceparts=- \
    -o Dir::State::Lists="$lists/lists" -o Dir::Cache="$lists/cache" -o APT::Get::List-Cleanup=0 -o APT::Sandbox::User=root
}

# Unpacks Debian's source package $1 (version $2, or the newest) into
# $work/src-$1 and prints that directory.
fetch_source() {
  local package="$1" version="${2:-}" dir="$work/src-$1"
  if [ ! -e "$dir/.unpacked" ]; then
    [ -e "$work/apt/lists/.updated" ] || { apt_own apt-get update -qq >&2 && touch "$work/apt/lists/.updated"; }
    rm -rf "$dir" && mkdir -p "$dir"
    (cd "$dir" && apt_own apt-get source -qq --download-only "$package${version:+=$version}" >&2 2>/dev/null)
    (cd "$dir" && dpkg-source -x --no-check ./*.dsc tree >/dev/null)
    touch "$dir/.unpacked"
  fi
  echo "$dir/tree"
}

build_libzip() {
  [ -e "$prefix/.libzip-built" ] && { echo "build-qt-windows: libzip is in $prefix already"; return; }
  echo "build-qt-windows: building libzip for Windows"
  local src
  src="$(fetch_source libzip)"
  cmake -S "$src" -B "$work/libzip-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
    -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_COMMONCRYPTO=OFF \
    -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
    -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF >"$work/libzip-configure.log" 2>&1
  cmake --build "$work/libzip-build" -j "$jobs" >"$work/libzip-build.log"
  cmake --install "$work/libzip-build" >/dev/null
  touch "$prefix/.libzip-built"
}

build_qt() {
  [ -e "$prefix/.qt-built" ] && { echo "build-qt-windows: Qt $qt_upstream is in $prefix already"; return; }
  echo "build-qt-windows: building Qt $qt_upstream for Windows (about 45 minutes on two cores; log in $work/qt-build.log)"
  local src
  src="$(fetch_source qt6-base "$host_qt")"
  # Only what the toolbox uses (OpenGL stays: the Windows platform plugin
  # does not build without it). Debian's source leaves out the tablet
  # header the Windows platform would otherwise include.
  cmake -S "$src" -B "$work/qt-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_vulkan=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF -DINPUT_openssl=no >"$work/qt-configure.log" 2>&1 ||
    { tail -30 "$work/qt-configure.log"; exit 1; }
  cmake --build "$work/qt-build" -j "$jobs" >"$work/qt-build.log" 2>&1 ||
    { tail -30 "$work/qt-build.log"; exit 1; }
  cmake --install "$work/qt-build" >/dev/null
  touch "$prefix/.qt-built"
}

build_libzip
[ "$libzip_only" = 1 ] || build_qt
elapsed=$((SECONDS - started))
echo "build-qt-windows: done in $((elapsed / 60)) min $((elapsed % 60)) s; $prefix holds $(du -sh "$prefix" | cut -f1)"
