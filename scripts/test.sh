#!/usr/bin/env bash
# Builds everything and runs every test.
#   scripts/test.sh             the normal build in build/
#   scripts/test.sh --sanitize  the same with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
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
