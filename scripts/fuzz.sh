#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# into build-fuzz/, and runs the recorded-data fuzzer on its corpus.
#   scripts/fuzz.sh            60 seconds
#   scripts/fuzz.sh 600        ten minutes
# New inputs go to build-fuzz/corpus; the checked-in seeds in fuzz/corpus are only read.
# Exit status 0 when the run ends without a crash or a sanitizer report.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
build="$root/build-fuzz"

# Every library gets the coverage hooks too, so that the fuzzer sees the reader's branches.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link -DTIDEWELL_FUZZ=ON -DTIDEWELL_SANITIZE=ON \
  -DTIDEWELL_GUI=OFF -DTIDEWELL_BENCH=OFF -DTIDEWELL_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_EnsembleFuzz -j 2

mkdir -p "$build/corpus"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$build/fuzz"
./fuzz_EnsembleFuzz -max_total_time="$seconds" -max_len=16384 -timeout=30 -print_final_stats=1 \
  "$build/corpus" "$root/fuzz/corpus"
