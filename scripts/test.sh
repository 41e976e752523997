#!/usr/bin/env bash
# Builds everything and runs every test.
#   scripts/test.sh             the normal build in build/
#   scripts/test.sh --sanitize  the same with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/
#   scripts/test.sh --windows   the Windows programs and plain tests in build-windows/, run under Wine;
#                               the programs are also compared with the Linux build's (built if missing)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "${1:-}" = "--windows" ]; then
  # The comparisons need the Linux programs of the normal build.
  "$root/scripts/setup-packages.sh"
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIDEWELL_WERROR=ON >/dev/null
  cmake --build "$root/build" -j 2 --target tidewell-tool velunit-sim flowcomputer-sim
  "$root/scripts/build-windows.sh" --no-zip
  export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wineprefix} WINEDEBUG=${WINEDEBUG:--all}
  wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
  # Made once before the tests, so that parallel first starts do not race to make it.
  timeout 300 "$wine" wineboot --init >/dev/null 2>&1 || true
  status=0
  ctest --test-dir "$root/build-windows" -j 2 --output-on-failure --timeout 900 || status=$?
  timeout 60 wineserver -k >/dev/null 2>&1 || true
  exit $status
fi
"$root/scripts/setup-packages.sh"

build="$root/build"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIDEWELL_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-asan"
  # Benchmarks measure the normal build only.
  options=(-DCMAKE_BUILD_TYPE=Debug -DTIDEWELL_WERROR=ON -DTIDEWELL_SANITIZE=ON -DTIDEWELL_BENCH=OFF)
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
fi

cmake -S "$root" -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build" -j 2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" -j 2 --output-on-failure --timeout 600
