#!/usr/bin/env bash
# Builds Vantora and runs the whole test suite through CTest, headless; then
# builds it again under AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the suite once more.
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

compilar build
(cd build && ctest --output-on-failure -j"$(nproc)")

compilar build-asan -DVANTORA_SANITIZE=ON -DVANTORA_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j"$(nproc)")
