#!/usr/bin/env bash
# Builds Korvel for 64-bit Windows with Debian's MinGW-w64 against a Qt built from Debian's
# source (scripts/qt-windows.sh, cached), then under Wine: the test suites (the window's in a
# virtual display), a korvel-cli round trip, a session in the window driven by its own keys, the
# NSIS installer installed and uninstalled silently, and the portable zip. RtMidi's source comes
# from Debian's rtmidi source package and GoogleTest's from Debian's googletest package; both
# are fetched or read into the build folder, never into the repository.
# Usage: scripts/windows-test.sh [LINUX_BUILD]  (with a Linux build, the Windows programs'
# results are compared with its korvel-cli's)
# Leaves build-windows/korvel-VERSION-setup-x64.exe, korvel-VERSION-win64.zip and a screenshot
# of the window, window.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
linux_build=${1:-}

scripts/install-deps.sh g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 \
  dpkg-dev googletest nsis xvfb xauth xdotool imagemagick zip python3 \
  fonts-dejavu-core fonts-droid-fallback fonts-symbola
qt=$(scripts/qt-windows.sh | tail -n 1)
out="$root/build-windows"
mkdir -p "$out"
version=$(sed -n 's/^project(Korvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

echo "== RtMidi's source from Debian"
if [ ! -f "$out/rtmidi/RtMidi.cpp" ]; then
  scripts/debian-source.sh rtmidi "$out/rtmidi" "$out"
fi

echo "== Cross build"
cmake -S . -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DKORVEL_GTEST_SOURCE=/usr/src/googletest -DKORVEL_RTMIDI_SOURCE="$out/rtmidi" >/dev/null
cmake --build "$out/build" -j "$(nproc)"
stage="$out/Korvel"
rm -rf "$stage"
cmake --install "$out/build" --prefix "$stage" >/dev/null
find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
cp "$out/build/ui/qt/korvel.ico" "$stage/"

echo "== Wine"
# Wine names files through the locale: a UTF-8 one of its own, whatever the caller's is.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
export WINEDEBUG=-all WINEARCH=win64
# No Mono, Gecko or sound drivers.
export WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv="
# Wine's first program starts the server and its desktop, which take the display they find:
# the virtual display comes first.
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
# A prefix of its own for each Windows user: WINE_PREFIX [USER].
prefix() {
  export WINEPREFIX=$1 USER=${2:-$(id -un)}
  if [ ! -d "$WINEPREFIX/drive_c/users/$USER" ]; then
    rm -rf "$WINEPREFIX"
    DISPLAY='' wine wineboot --init >/dev/null 2>&1 || true
  fi
  # A fresh prefix has no Tahoma, and Qt would fall back to a grey serif font. Wine's Tahoma
  # has no Greek capitals, no CJK and nothing beyond the Basic Multilingual Plane, which a
  # Windows machine's fonts have: fonts for those stand in for them, so that a name shows.
  cp -u /usr/share/wine/fonts/tahoma*.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
    /usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf \
    /usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  # A Wine server started without the display would keep its windows off it.
  wineserver -k 2>/dev/null || true
  wineserver -w
  test -d "$WINEPREFIX/drive_c/users/$USER"
}
prefix "$out/wine"
# The suites find Qt's and the compiler's DLLs where they were built.
dll_folders=("$qt/bin" "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
  "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")")
WINEPATH=""
for folder in "${dll_folders[@]}"; do
  WINEPATH+="$(winepath -w "$folder");"
done
export WINEPATH

echo "== Tests under Wine"
for suite in model midi core cli; do
  wine "$out/build/tests/$suite/korvel_${suite}_tests.exe" --gtest_brief=1
done
# Offscreen draws no text under Wine: the window's suite runs on the windows platform.
timeout 600 wine "$out/build/tests/qt/korvel_qt_tests.exe" -platform windows -silent

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
cli() { wine "$stage/korvel-cli.exe" "$@"; }
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

echo "== A session in the window under Wine"
# A Windows user named outside ASCII: the settings folder is C:\users\José.
(prefix "$out/wine-josé" "José" && scripts/windows-session.sh "$stage" "$out" "$linux_build")

echo "== Installer"
files="$out/installed-files.nsh"
(cd "$stage" && find . -type f | sed 's|^\./||; s|/|\\|g' | sort |
  sed 's|^|  Delete "$INSTDIR\\|; s|$|"|'
  cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||; s|/|\\|g' | sort -r |
  sed 's|^|  RMDir "$INSTDIR\\|; s|$|"|') >"$files"
setup="$out/korvel-$version-setup-x64.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" -DFILE_LIST="$files" \
  res/windows/korvel.nsi
(cd "$out" && rm -f "korvel-$version-win64.zip" && zip -qr "korvel-$version-win64.zip" Korvel)
scripts/windows-install-test.sh "$setup" "$version"
echo "Windows build: suites, round trip, window session and installer passed under Wine"
