#!/usr/bin/env bash
# Every test built with clang++ and libc++, the standard library of macOS and the
# BSDs, asked for as a user would, through CXX, CXXFLAGS and LDFLAGS; GoogleTest is
# built from source for it, and the benchmark, built for libstdc++, is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
pasta=build-libcxx
CXX=clang++ CXXFLAGS=-stdlib=libc++ LDFLAGS=-stdlib=libc++ \
  cmake -S . -B "$pasta" -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$pasta" -j2
ctest --test-dir "$pasta" --output-on-failure -j2
