#!/usr/bin/env bash
# Installs, with apt-get, whatever this Debian 12 machine still lacks to build,
# test and run Vantora, then configures and builds it in build/.
set -euo pipefail

PAQUETES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6sql6-sqlite libgl-dev qt6-translations-l10n
  # The materials catalogue on a PostgreSQL server: Qt's driver, libpq to
  # tell why a connection failed, and the server with pg_virtualenv, which
  # the tests use for a throwaway cluster.
  libqt6sql6-psql libpq-dev postgresql
  libbenchmark-dev clang-format
  fonts-dejavu-core fonts-liberation
  libzint-dev poppler-utils zbar-tools
  # The Debian package (./empaquetar.sh) and its checks.
  dpkg-dev lintian desktop-file-utils appstream
)

faltan=()
for p in "${PAQUETES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
  echo "Instalando: ${faltan[*]}"
  if [ "$(id -u)" -eq 0 ]; then sudo_cmd=(); else sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi

compilar() {
  local carpeta=$1; shift
  cmake -S . -B "$carpeta" -DVANTORA_WERROR=ON "$@" > /dev/null
  cmake --build "$carpeta" -j"$(nproc)"
}
