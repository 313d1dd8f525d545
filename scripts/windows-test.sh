#!/usr/bin/env bash
# Builds everything below the window for 64-bit Windows with Debian's MinGW-w64, then runs the
# test suites and a korvel-cli round trip under Wine, headless. RtMidi's source comes from
# Debian's rtmidi source package and GoogleTest's from Debian's googletest package; both are
# fetched or read into the build folder, never into the repository.
# Usage: scripts/windows-test.sh [LINUX_BUILD]  (with a Linux build, its korvel-cli's output
# is compared with the Windows one's)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
linux_build=${1:-}

scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev googletest
out="$root/build-windows"
mkdir -p "$out"

echo "== RtMidi's source from Debian"
# A private apt state, so that the machine's own sources list is left as it is.
if [ ! -f "$out/rtmidi/RtMidi.cpp" ]; then
  apt_dir="$out/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$out/source"
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  echo "deb-src http://deb.debian.org/debian $suite main" >"$apt_dir/sources.list"
  apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=-"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
    -o "APT::Sandbox::User=$(id -un)")
  apt-get "${apt_options[@]}" update -qq
  (cd "$out/source" && apt-get "${apt_options[@]}" source -qq rtmidi >/dev/null)
  rm -rf "$out/rtmidi"
  mv "$(find "$out/source" -maxdepth 1 -type d -name 'rtmidi-*' | head -n 1)" "$out/rtmidi"
fi

echo "== Cross build"
cmake -S . -B "$out/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DKORVEL_BUILD_GUI=OFF -DKORVEL_GTEST_SOURCE=/usr/src/googletest \
  -DKORVEL_RTMIDI_SOURCE="$out/rtmidi" >/dev/null
cmake --build "$out/build" -j "$(nproc)"

echo "== Tests under Wine"
export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEARCH=win64
# No Mono, Gecko or sound drivers: these are console programs.
export WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv="
unset DISPLAY
wine wineboot --init >/dev/null 2>&1 || true
for suite in model midi core cli; do
  wine "$out/build/tests/$suite/korvel_${suite}_tests.exe" --gtest_brief=1
done

echo "== korvel-cli round trip under Wine"
work="$out/round-trip"
rm -rf "$work"
mkdir -p "$work/Müll"
wine "$out/build/tests/korvel_make_dump.exe" "$work/plain.syx"
cp "$work/plain.syx" "$work/Müll/Bäss Ω.syx"
# The program is given Windows paths, as a user there would give it.
folder=$(winepath -w "$work/Müll")
dump="$folder\\Bäss Ω.syx"
copied="$folder\\copied Ω.syx"
cli() { wine "$out/build/cli/korvel-cli.exe" "$@"; }
linux() { "$linux_build/cli/korvel-cli" "$@"; }
# The same edits with either program: RUN DUMP COPIED.
edit() {
  "$1" copy "$2" B01T01 "$2" B02T01 -o "$3"
  "$1" rename "$3" B02 "Zweite"
  "$1" canon "$3" -o "$3"
}
cli tree "$dump" >"$work/tree.txt"
edit cli "$dump" "$copied"
cli check "$copied" >"$work/check.txt"
test -s "$work/Müll/copied Ω.bnl"
grep -q "Zweite" "$work/Müll/copied Ω.bnl"
ls -A "$work/Müll" | grep -q '^\.korvel-' && { echo "a temporary file was left behind" >&2; exit 1; }
if [ -n "$linux_build" ]; then
  mkdir -p "$work/linux"
  cp "$work/plain.syx" "$work/linux/dump.syx"
  edit linux "$work/linux/dump.syx" "$work/linux/copied.syx"
  cmp "$work/Müll/copied Ω.syx" "$work/linux/copied.syx"
  cmp "$work/Müll/copied Ω.bnl" "$work/linux/copied.bnl"
  linux tree "$work/linux/dump.syx" | diff - <(tr -d '\r' <"$work/tree.txt")
fi
echo "Windows build: suites and round trip passed under Wine"
