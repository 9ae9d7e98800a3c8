#!/usr/bin/env bash
# Fuzzes with libFuzzer, under AddressSanitizer and UndefinedBehaviorSanitizer, for
# SEGUNDOS seconds each (default 30): one input line, from the length limit to its
# printed outcome, and the whole dialogue on any bytes cut into any reads, both held
# to one model of the dialogue.
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${SEGUNDOS:-30}
pasta=build-fuzz
cmake -S . -B "$pasta" -DWARNINGS_AS_ERRORS=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWITH_FUZZER=ON -DSANITIZE=address,undefined -DWITH_TESTS=OFF -DWITH_BENCHMARK=OFF \
  >/dev/null
cmake --build "$pasta" -j2 --target fuzz_linha fuzz_dialogo
# Each target's new inputs go to a copy of its seeds: the repository's stay as they
# are. The dialogue's seeds are the recorded sessions.
fuzz() {
  local alvo=$1 maximo=$2 sementes=$3 corpus="$pasta/corpus_$1"
  echo "== $alvo"
  rm -rf "$corpus" && mkdir -p "$corpus" && cp "$sementes"/* "$corpus"/
  "$pasta/fuzz/$alvo" -max_total_time="$segundos" -max_len="$maximo" \
    -print_final_stats=1 -artifact_prefix="$pasta/$alvo-" "$corpus" 2>&1 | tail -n 12
}
fuzz fuzz_linha 80 fuzz/corpus
fuzz fuzz_dialogo 400 tests/sessoes
