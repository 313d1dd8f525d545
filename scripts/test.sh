#!/usr/bin/env bash
# Installs what the build needs, then builds and runs every test: a formatting check, the
# suites in a plain build, each fuzz target for a bounded time, the installed files, the Debian
# package installed into a fresh root, the Windows build (Qt for Windows built once and cached)
# with its suites, a session in the window and the installer under Wine, a dump sent and
# received over MIDI through a JACK server of its own and through the ALSA sequencer of a
# virtual machine (by korvel-cli, and by the Windows programs under Wine through WinMM), the
# browser build (its suites under node, the site in headless Chromium), and the suites again
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

echo "== Formatting"
unformatted=$(git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run 2>&1 | grep -c 'warning:' || true)
if [ "$unformatted" != "0" ]; then
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run 2>&1 | head -20
  echo "Some files are not formatted with .clang-format" >&2
  exit 1
fi

echo "== Plain build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEL_BUILD_BENCH=ON >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

echo "== Fuzzing"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" \
  -DKORVEL_BUILD_GUI=OFF -DKORVEL_BUILD_TESTS=OFF -DKORVEL_BUILD_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs" --target korvel_load_fuzzer korvel_session_fuzzer
# Each target runs for a bounded time from its seed corpus.
fuzz() {
  local target=$1 seeds=$2
  mkdir -p "build-fuzz/corpus-$target" build-fuzz/artifacts
  "./build-fuzz/fuzz/korvel_${target}_fuzzer" "build-fuzz/corpus-$target" "$seeds" \
    -max_total_time="${KORVEL_FUZZ_SECONDS:-40}" -max_len=65536 -print_final_stats=1 \
    -artifact_prefix=build-fuzz/artifacts/ 2>&1 | tail -n 12
}
fuzz load fuzz/corpus
fuzz session fuzz/session_corpus

echo "== Installed files"
scripts/installed-files-test.sh build

echo "== Debian package"
scripts/package-test.sh build

echo "== Windows build under Wine"
scripts/windows-test.sh build

echo "== MIDI over JACK"
scripts/midi-e2e.sh build

echo "== MIDI over ALSA, in a virtual machine"
scripts/alsa-e2e.sh build

echo "== Windows MIDI: the Windows programs under Wine, through WinMM, in the virtual machine"
scripts/winmm-e2e.sh build build-windows/Korvel

echo "== The browser: the suites in WebAssembly, the site in Chromium"
scripts/web-test.sh build

echo "== Sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVEL_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
cd build-asan
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$(pwd)/../tests/lsan.supp" ctest --output-on-failure -j "$jobs"
