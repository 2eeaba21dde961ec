#!/usr/bin/env bash
# Builds the Debian package of Vantora in build-paquete/ (vantora_VERSION_ARCH.deb)
# with Debian's own compiler and hardening flags, without tests or benchmarks.
# Extra arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/preparar.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
compilar build-paquete -DCMAKE_BUILD_TYPE=None -DVANTORA_PRUEBAS=OFF -DVANTORA_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" "$@"
cmake --build build-paquete --target package > /dev/null
ls build-paquete/vantora_*.deb
