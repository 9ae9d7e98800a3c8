#!/usr/bin/env bash
# Builds the five release files and checks each as its users get it: the Debian
# package (contents, lintian, installed into a throwaway root), the tarball, the
# Windows zip (run under wine), each installed program answering a piped session; the
# page, one HTML file that loads nothing from anywhere; and its SCORM package, which
# holds that very page.
set -euo pipefail
cd "$(dirname "$0")/.."
raiz=$PWD
temporaria=$(mktemp -d)
trap 'rm -rf "$temporaria"' EXIT

# The installed program, run as the arguments after the first say, answers the
# example session byte for byte: with "\r\n" line ends when the first is crlf.
responde() {
  local quebra=$1 esperada=$temporaria/esperada
  shift
  if [ "$quebra" = crlf ]; then
    sed 's/$/\r/' tests/sessoes/exemplo.saida | head -c -1 >"$esperada"
  else
    cp tests/sessoes/exemplo.saida "$esperada"
  fi
  "$@" <tests/sessoes/exemplo.entrada >"$temporaria/obtida"
  cmp "$temporaria/obtida" "$esperada"
}

lista_igual() {
  diff <(sort) <(printf '%s\n' "$@" | sort)
}

# What the install rules put under the prefix, one path a line.
instalados=$(cat cmake/arquivos_instalados.txt)

# The builds README and scripts/windows.sh make, configured as they are: where those
# have run, nothing is built again.
echo "== Linux build"
cmake -S . -B build -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build -j2 >/dev/null
(cd build && cpack -G "DEB;TGZ" >/dev/null)
# Only this version's packages: an earlier version's may still lie in the tree.
versao=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
deb=build/analisar-exp-encad_${versao}_amd64.deb
tgz=build/analisar-exp-encad-${versao}-Linux.tar.gz

echo "== $deb"
dpkg-deb --info "$deb" | tee "$temporaria/info"
grep -q '^ Package: analisar-exp-encad$' "$temporaria/info"
grep -q '^ Section: math$' "$temporaria/info"
grep -q '^ Depends: .*libc6' "$temporaria/info"
grep -q '^ Depends: .*libedit2' "$temporaria/info"
# Debian's own: manual pages compressed, a copyright file and a changelog.
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | lista_igual \
  $(sed 's|^|./usr/|; s|\.1$|.1.gz|' <<<"$instalados") \
  ./usr/share/doc/analisar-exp-encad/copyright \
  ./usr/share/doc/analisar-exp-encad/changelog.gz
lintian --fail-on error "$deb"
# A throwaway root of its own, with a package database of its own; the libraries it
# depends on are the host's.
mkdir -p "$temporaria/raiz" "$temporaria/dpkg/info" "$temporaria/dpkg/updates"
touch "$temporaria/dpkg/status"
dpkg --instdir="$temporaria/raiz" --admindir="$temporaria/dpkg" --force-depends \
  --force-script-chrootless -i "$deb" >"$temporaria/dpkg.log" 2>&1 ||
  { cat "$temporaria/dpkg.log"; exit 1; }
responde lf "$temporaria/raiz/usr/bin/analisar_exp_encad"
MANWIDTH=80 man -l "$temporaria/raiz/usr/share/man/pt/man1/analisar_exp_encad.1.gz" \
  2>/dev/null | grep -q '^SINOPSE$'

echo "== $tgz"
tar -xzf "$tgz" -C "$temporaria"
pasta_tgz=$temporaria/$(basename "$tgz" .tar.gz)
(cd "$pasta_tgz" && find . -type f) | lista_igual $(sed 's|^|./|' <<<"$instalados")
responde lf "$pasta_tgz/bin/analisar_exp_encad"

echo "== Windows build"
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build-windows -j2 >/dev/null
(cd build-windows && cpack -G ZIP >/dev/null)
zip=build-windows/analisar-exp-encad-${versao}-windows-x86_64.zip
echo "== $zip"
unzip -q "$zip" -d "$temporaria/zip"
pasta_zip=$temporaria/zip/$(basename "$zip" .zip)
(cd "$pasta_zip" && find . -type f) | lista_igual \
  ./analisar_exp_encad.exe ./README.md ./LEIAME.md ./LICENSE
# Nothing but Windows' own libraries: the C++ runtime is inside the .exe.
x86_64-w64-mingw32-objdump -p "$pasta_zip/analisar_exp_encad.exe" | grep 'DLL Name' |
  awk '{print $3}' | lista_igual KERNEL32.dll msvcrt.dll
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
export WINEDEBUG=-all WINEPREFIX=$raiz/build-windows/wine # made when configured
responde crlf setarch -R "$wine64" "$pasta_zip/analisar_exp_encad.exe" # as the tests run it

echo "== page"
emcmake cmake -S . -B build-web -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build-web -j2 >/dev/null
pagina=build-web/analisar-exp-encad-${versao}.html
cp build-web/analisar_exp_encad.html "$pagina"
# Everything inline: no element that names a file or an address to load, but the
# icon's data: URL.
if grep -Piq '<(script|link|img|iframe)[^>]* (src|href)=(?!"data:)' "$pagina"; then
  echo "$pagina loads something from elsewhere"
  exit 1
fi
ls -l "$pagina"
scorm=build-web/analisar-exp-encad-${versao}-scorm.zip
cp build-web/analisar_exp_encad_scorm.zip "$scorm"
unzip -p "$scorm" analisar_exp_encad.html | cmp - "$pagina"
ls -l "$scorm"
echo "packages: all checks passed"
