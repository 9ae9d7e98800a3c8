#!/usr/bin/env bash
# Fuzzes the path from one input line to its printed outcome with libFuzzer, under
# AddressSanitizer and UndefinedBehaviorSanitizer, for SEGUNDOS seconds (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${SEGUNDOS:-60}
pasta=build-fuzz
cmake -S . -B "$pasta" -DWARNINGS_AS_ERRORS=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWITH_FUZZER=ON -DSANITIZE=address,undefined -DWITH_TESTS=OFF -DWITH_BENCHMARK=OFF \
  >/dev/null
cmake --build "$pasta" -j2 --target fuzz_linha
# New inputs go to a copy: the seed corpus in the repository stays as it is.
corpus="$pasta/corpus"
rm -rf "$corpus" && mkdir -p "$corpus" && cp fuzz/corpus/* "$corpus"/
"$pasta/fuzz/fuzz_linha" -max_total_time="$segundos" -max_len=80 -print_final_stats=1 \
  -artifact_prefix="$pasta/" \
  "$corpus" 2>&1 | tail -n 12
