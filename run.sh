#!/usr/bin/env bash
# Builds Vantora and starts it. Extra arguments go to the program
# (for example --datos DIR to choose the data folder).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/preparar.sh
compilar build
exec ./build/app/vantora "$@"
