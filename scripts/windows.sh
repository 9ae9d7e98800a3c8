#!/usr/bin/env bash
# The Windows build with the mingw-w64 cross compiler; every test runs under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
pasta=build-windows
cmake -S . -B "$pasta" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$pasta" -j2
ctest --test-dir "$pasta" --output-on-failure -j2
