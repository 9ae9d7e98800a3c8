#!/usr/bin/env bash
# Every test of a build without line editing, as on a machine without libedit.
set -euo pipefail
cd "$(dirname "$0")/.."
pasta=build-sem-edicao
cmake -S . -B "$pasta" -DWITH_LINE_EDITING=OFF -DWARNINGS_AS_ERRORS=ON \
  -DWITH_BENCHMARK=OFF | grep -F -- '-- Line editing: off'
cmake --build "$pasta" -j2
ctest --test-dir "$pasta" --output-on-failure -j2
