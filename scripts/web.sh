#!/usr/bin/env bash
# The course page, built with Debian's emscripten into one HTML file, and every test
# of that build: the recorded sessions and the unit tests under Node.js, and the page
# itself in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
pasta=build-web
emcmake cmake -S . -B "$pasta" -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$pasta" -j2
ctest --test-dir "$pasta" --output-on-failure -j2
