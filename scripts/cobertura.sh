#!/usr/bin/env bash
# Runs every test on a build instrumented for clang's source-based coverage, prints
# the share of the lines and of the branches under src/ that the tests execute, and
# fails below LINHAS% of lines or RAMOS% of branches: the levels reached, so that a
# change that leaves code untested is caught.
set -euo pipefail
cd "$(dirname "$0")/.."
linhas=${LINHAS:-99}
ramos=${RAMOS:-94}
pasta=build-cobertura
cmake -S . -B "$pasta" -DWARNINGS_AS_ERRORS=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DCOVERAGE=ON -DWITH_BENCHMARK=OFF >/dev/null
cmake --build "$pasta" -j2
rm -rf "$pasta/perfis"
LLVM_PROFILE_FILE="$PWD/$pasta/perfis/%p.profraw" \
  ctest --test-dir "$pasta" --output-on-failure -j2 >/dev/null
# LLVM's tools by name, as a toolchain installs them, or else named for clang's
# version, as Debian installs them beside it.
versao=$(clang++ -dumpversion | cut -d. -f1)
ferramenta() {
  local nome
  for nome in "$1" "$1-$versao"; do
    if command -v "$nome" >/dev/null; then
      echo "$nome"
      return
    fi
  done
  echo "scripts/cobertura.sh: $1 not found" >&2
  return 1
}
profdata=$(ferramenta llvm-profdata)
cov=$(ferramenta llvm-cov)
"$profdata" merge -sparse "$pasta"/perfis/*.profraw -o "$pasta/testes.profdata"
relatorio=$("$cov" report "$pasta/tests/testes_unitarios" \
  -object "$pasta/analisar_exp_encad" -instr-profile="$pasta/testes.profdata" src/)
echo "$relatorio"
echo "$relatorio" | awk -v linhas="$linhas" -v ramos="$ramos" '/^TOTAL/ {
  de_linhas = 100 * ($8 - $9) / $8
  de_ramos = 100 * ($11 - $12) / $11
  printf "line coverage of src/: %.1f%% (%d of %d; at least %d%% required)\n",
         de_linhas, $8 - $9, $8, linhas
  printf "branch coverage of src/: %.1f%% (%d of %d; at least %d%% required)\n",
         de_ramos, $11 - $12, $11, ramos
  exit !(de_linhas >= linhas && de_ramos >= ramos)
}'
