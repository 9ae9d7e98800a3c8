#!/usr/bin/env bash
# The manual pages, English and Portuguese: neither linter reports anything, and man
# renders each.
set -euo pipefail
cd "$(dirname "$0")/.."
for pagina in man/analisar_exp_encad.1 man/pt/analisar_exp_encad.1; do
  echo "$pagina"
  avisos=$(mandoc -T lint -W style "$pagina" 2>&1; groff -ww -z -man "$pagina" 2>&1)
  if [ -n "$avisos" ]; then
    echo "$avisos"
    exit 1
  fi
  MANWIDTH=80 man -l "$pagina" 2>/dev/null | grep -q '^SINOPSE$\|^SYNOPSIS$'
done
