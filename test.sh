#!/usr/bin/env bash
# Builds Vantora and runs the whole test suite through CTest, headless; then
# builds it again under AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the suite once more.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/preparar.sh
export QT_QPA_PLATFORM=offscreen

compilar build
(cd build && ctest --output-on-failure -j"$(nproc)")

compilar build-asan -DVANTORA_SANITIZE=ON -DVANTORA_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j"$(nproc)")
