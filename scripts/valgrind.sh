#!/usr/bin/env bash
# The recorded sessions run under valgrind memcheck: any error, or any block
# definitely, indirectly or possibly lost, fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
pasta=build-valgrind
lancador="valgrind -q --leak-check=full --show-leak-kinds=definite,indirect,possible"
lancador+=" --errors-for-leak-kinds=definite,indirect,possible --error-exitcode=99"
cmake -S . -B "$pasta" -DWARNINGS_AS_ERRORS=ON \
  -DCMAKE_BUILD_TYPE=Debug -DWITH_BENCHMARK=OFF \
  "-DLANCADOR_SESSOES=$lancador" >/dev/null
cmake --build "$pasta" -j2 --target analisar_exp_encad
ctest --test-dir "$pasta" --output-on-failure -j2 -R '^sessao\.'
