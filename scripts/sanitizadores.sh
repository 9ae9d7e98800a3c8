#!/usr/bin/env bash
# Every test, recorded sessions included, built with clang++ under AddressSanitizer
# and UndefinedBehaviorSanitizer; the first report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
pasta=build-sanitizadores
cmake -S . -B "$pasta" -DWARNINGS_AS_ERRORS=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DSANITIZE=address,undefined -DWITH_BENCHMARK=OFF >/dev/null
cmake --build "$pasta" -j2
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir "$pasta" --output-on-failure -j2
