#!/usr/bin/env bash
# Every test built with clang++ and libc++, the standard library of macOS and the
# BSDs; GoogleTest is built from source for it.
set -euo pipefail
cd "$(dirname "$0")/.."
pasta=build-libcxx
cmake -S . -B "$pasta" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS=-stdlib=libc++ -DGTEST_FROM_SOURCE=ON -DWARNINGS_AS_ERRORS=ON \
  -DWITH_BENCHMARK=OFF >/dev/null
cmake --build "$pasta" -j2
ctest --test-dir "$pasta" --output-on-failure -j2
