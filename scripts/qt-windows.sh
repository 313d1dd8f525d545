#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's qt6-base source with Debian's MinGW-w64, only the
# parts Korvel uses (Core, Gui, Widgets, Test, the windows platform and style plugins), shared
# and release, against Debian's host Qt tools of the same version. The result lands in a cache
# folder outside the checkout that later runs reuse while the source version and these options
# stay the same; the first build on a fresh machine takes about 20 minutes on two cores.
# Prints the Qt prefix as its last line.
# Usage: scripts/qt-windows.sh
# The cache folder is KORVEL_CACHE_DIR, by default ~/.cache/korvel (as root: /root/.cache/korvel).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix dpkg-dev \
  qt6-base-dev-tools >&2
cache=${KORVEL_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/korvel}
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)

options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF
  -DFEATURE_zstd=OFF -DFEATURE_jpeg=OFF -DFEATURE_testlib=ON
  # Windows turns dynamic OpenGL back on unless the input itself says no.
  -DINPUT_opengl=no
  # Qt 6.4 builds its DirectWrite 3 font database only together with Direct2D.
  -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
  # Debian's source has no wintab; its cross patch would build androiddeployqt.
  -DFEATURE_tabletevent=OFF -DFEATURE_androiddeployqt=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_system_textmarkdownreader=OFF -DFEATURE_system_libb2=OFF
  -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON
)
key=$(printf '%s\n' "$host_version" "${options[@]}" | sha256sum | cut -c1-12)
prefix="$cache/qt-${host_version%%+*}-mingw64-$key"
# One build at a time: a second run (another checkout, a test beside a developer's build) waits
# for the first and then takes the Qt it finished.
mkdir -p "$cache"
exec 9>"$cache/qt-$key.lock"
if ! flock -n 9; then
  echo "== Qt for Windows: waiting for another build of it to finish" >&2
  flock 9
fi
if [ -f "$prefix/.complete" ]; then
  echo "== Qt for Windows from the cache: $prefix" >&2
  echo "$prefix"
  exit 0
fi

work="$cache/qt-build-$key"
echo "== Qt for Windows: building $host_version into $prefix (once)" >&2
mkdir -p "$work"
if [ ! -f "$work/source/CMakeLists.txt" ]; then
  scripts/debian-source.sh "qt6-base=$host_version" "$work/source" "$work"
fi

# Qt's own toolchain file names this one by its absolute path, so a copy lives beside the prefix.
toolchain="$prefix.toolchain.cmake"
cp cmake/mingw-w64-x86_64.cmake "$toolchain"

rm -rf "$work/build" "$prefix"
cmake -S "$work/source" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >"$work/configure.log" 2>&1 ||
  { tail -40 "$work/configure.log" >&2; exit 1; }
# The build prints about a thousand harmless dllimport warnings; keep them in a log.
cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 ||
  { grep -B2 -A8 -m5 'error' "$work/build.log" >&2; exit 1; }
# Installed into a staging root and moved into place whole, so that a prefix is there only once
# it is complete.
rm -rf "$work/stage"
DESTDIR="$work/stage" cmake --install "$work/build" >/dev/null
touch "$work/stage$prefix/.complete"
mv "$work/stage$prefix" "$prefix"
rm -rf "$work"
echo "$prefix"
