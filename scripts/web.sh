#!/usr/bin/env bash
# The course page, built with Debian's emscripten into one HTML file, and its SCORM 1.2
# package; every test of that build: the recorded sessions and the unit tests under
# Node.js, the page itself and the package in headless Chromium; and the package's
# manifest, which must be well-formed XML, beside the very page the build wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
pasta=build-web
emcmake cmake -S . -B "$pasta" -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$pasta" -j2
ctest --test-dir "$pasta" --output-on-failure -j2
pacote=$pasta/analisar_exp_encad_scorm.zip
unzip -l "$pacote"
unzip -p "$pacote" imsmanifest.xml | xmllint --noout -
sco=$(unzip -p "$pacote" imsmanifest.xml |
  xmllint --xpath 'string(//*[local-name()="resource"]/@*[local-name()="scormtype"])' -)
versao=$(unzip -p "$pacote" imsmanifest.xml | xmllint --xpath 'string(//*[local-name()="schemaversion"])' -)
[ "$sco $versao" = "sco 1.2" ] || { echo "$pacote: a SCO of SCORM 1.2? $sco $versao"; exit 1; }
unzip -p "$pacote" analisar_exp_encad.html | cmp - "$pasta/analisar_exp_encad.html"
echo "$pacote: the manifest is well-formed, the page the one built"
