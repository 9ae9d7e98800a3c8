#!/usr/bin/env bash
# Installs the Debian packages the builds, the tests and the checks need, when missing:
# compilers and libraries for Linux (libstdc++ and libc++, libedit for line editing),
# for Windows (mingw-w64, its tests under wine) and for the page (emscripten, its
# tests in Chromium, its printout read with poppler, its package's manifest checked
# with xmllint), test and benchmark libraries, the checkers and the packagers.
# The page's own tools come from npm, pinned by web/package-lock.json, and are
# installed by its build.
set -euo pipefail
pacotes=(cmake g++ clang libclang-rt-14-dev llvm-14 libc++-14-dev libc++abi-14-dev
         pkg-config libedit-dev
         libgtest-dev googletest libbenchmark-dev g++-mingw-w64-x86-64-posix wine wine64
         emscripten chromium poppler-utils libxml2-utils
         valgrind bc time python3 file dpkg-dev lintian mandoc groff-base zip unzip)
faltam=()
for pacote in "${pacotes[@]}"; do
  dpkg -s "$pacote" >/dev/null 2>&1 || faltam+=("$pacote")
done
if ((${#faltam[@]})); then
  echo "installing: ${faltam[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${faltam[@]}" >/dev/null
fi
