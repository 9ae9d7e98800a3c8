#!/usr/bin/env bash
# Records the sessions anew from the program as built: each tests/sessoes/NAME.saida
# becomes what the program prints for NAME.entrada. After a change of a text, run it
# and review the diff it shows before committing the session files.
set -euo pipefail
cd "$(dirname "$0")/.."
programa=${1:-build/analisar_exp_encad}
if [ $# -eq 0 ]; then
  cmake -S . -B build >/dev/null
  cmake --build build -j2 --target analisar_exp_encad >/dev/null
fi
for entrada in tests/sessoes/*.entrada; do
  "$programa" <"$entrada" >"${entrada%.entrada}.saida"
done
git --no-pager diff --stat -- tests/sessoes
