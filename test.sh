#!/usr/bin/env bash
# Builds Vantora and runs the whole test suite through CTest, headless; then
# builds it again under AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the suite once more. Each run has a throwaway PostgreSQL cluster of
# its own (pg_virtualenv), for the catalogue tests on a server. Last, where it
# may install, it builds, installs and removes the Debian package.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/preparar.sh
export QT_QPA_PLATFORM=offscreen

# The layout of every source file is the one .clang-format gives.
mapfile -t fuentes < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${fuentes[@]}"; then
  echo "Formato: aplique clang-format -i a los archivos señalados." >&2
  exit 1
fi

# Here the server tests must run: without a server they fail, not skip.
export VANTORA_PRUEBA_EXIGIR_SERVIDOR=1
probar() { (cd "$1" && pg_virtualenv -t ctest --output-on-failure -j"$(nproc)"); }

compilar build
probar build

compilar build-asan -DVANTORA_SANITIZE=ON -DVANTORA_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
probar build-asan

# The Debian package, installed on this machine and removed again: only where
# this script may install (as root, or through sudo without a password).
if [ "$(id -u)" -eq 0 ] || sudo -n true 2> /dev/null; then
  scripts/probar_paquete.sh
else
  echo "Paquete: sin permiso para instalar, no se prueba (vea scripts/probar_paquete.sh)."
fi
