#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the checks need, when missing.
set -euo pipefail
pacotes=(cmake g++ clang libclang-rt-14-dev llvm-14 libgtest-dev libbenchmark-dev
         valgrind bc time python3)
faltam=()
for pacote in "${pacotes[@]}"; do
  dpkg -s "$pacote" >/dev/null 2>&1 || faltam+=("$pacote")
done
if ((${#faltam[@]})); then
  echo "installing: ${faltam[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${faltam[@]}" >/dev/null
fi
