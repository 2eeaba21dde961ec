#!/usr/bin/env bash
# Builds the Debian package, checks it, installs it on this machine, runs the
# installed programs and removes the package again. It installs for real, so
# it needs root or sudo without a password, and refuses to run over a vantora
# package that is already installed.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then como=(); else como=(sudo -n); fi
fallar() {
  echo "probar_paquete: $*" >&2
  exit 1
}
instalado() { dpkg-query -W -f='${Status}' vantora 2>/dev/null | grep -q "ok installed"; }
! instalado || fallar "vantora ya está instalado; quítelo antes de probar el paquete"

./empaquetar.sh > /dev/null
deb=$(ls build-paquete/vantora_*.deb)
lintian --fail-on error,warning "$deb" || fallar "lintian: $deb"

casa=$(mktemp -d)
trap 'if instalado; then "${como[@]}" dpkg --purge vantora > /dev/null; fi; rm -rf "$casa"' EXIT
"${como[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" > /dev/null

desktop-file-validate /usr/share/applications/example.vantora.Vantora.desktop || fallar "entrada del menú"
appstreamcli validate --no-net /usr/share/metainfo/example.vantora.Vantora.metainfo.xml > /dev/null ||
  fallar "metadatos de AppStream"

# One version everywhere: the package's, each program's and the metadata's.
version=$(dpkg-query -W -f='${Version}' vantora)
grep -q "<release version=\"$version\"" /usr/share/metainfo/example.vantora.Vantora.metainfo.xml ||
  fallar "la versión de los metadatos no es $version"
programas=(vantora vantora-calc vantora-perfil vantora-catalogo vantora-lente vantora-trabajo vantora-dcs)
for p in "${programas[@]}"; do
  [ "$(/usr/bin/"$p" --version)" = "$p $version" ] || fallar "$p --version no dice $version"
  /usr/bin/"$p" --ayuda | grep -q "^Uso: $p" || fallar "$p --ayuda"
done

# The worked example: +4 D on a 6 D base, 60 mm, 1 mm edge, index 1.5.
esperado='Text_MaterialBaseDatos: 
Tx_EspesorCentral: 4.66
Tx_PcurvaExt: 5.736
Tx_PcurvaInt: -1.840
Tx_RadioIndice: -271.695
Tx_Radio1523: -1.925'
calculo=$(/usr/bin/vantora-calc --poder 4 --base 6 --diametro 60 --borde 1 --indice 1.5 --densidad 1.32)
[ "$calculo" = "$esperado" ] || fallar "vantora-calc dio otra lente:"$'\n'"$calculo"

# A first start, as on a fresh workstation: the window comes up and stays up
# (timeout ends it), and the data folder gains the starter catalogue.
estado=0
HOME=$casa QT_QPA_PLATFORM=offscreen timeout 5 /usr/bin/vantora > /dev/null 2>&1 || estado=$?
[ "$estado" -eq 124 ] || fallar "vantora terminó con el estado $estado en lugar de quedar abierto"
datos=$casa/KORVEN/win
/usr/bin/vantora-calc --datos "$datos" --material CR-39 --poder 4 --base 6 --diametro 60 --borde 1 > /dev/null ||
  fallar "el catálogo inicial no tiene CR-39"

# The devices' host is installed, not enabled: its port is chosen first.
[ ! -e /etc/systemd/system/multi-user.target.wants/vantora-dcs.service ] || fallar "vantora-dcs quedó activado"
if command -v systemd-analyze > /dev/null; then
  systemd-analyze verify /lib/systemd/system/vantora-dcs.service || fallar "la unidad vantora-dcs.service"
fi

mapfile -t lista < <(grep -v '^#' paquete/archivos_instalados.txt)
diff <(printf '%s\n' "${lista[@]}" | sort) <(dpkg -L vantora | while read -r f; do [ -d "$f" ] || echo "$f"; done | sort) ||
  fallar "dpkg -L no coincide con paquete/archivos_instalados.txt"

"${como[@]}" dpkg --purge vantora > /dev/null
for f in "${lista[@]}" /usr/share/vantora /usr/share/doc/vantora; do
  [ ! -e "$f" ] || fallar "$f quedó después de quitar el paquete"
done
[ -f "$datos/materiales.mdb" ] || fallar "al quitar el paquete se perdió el catálogo del usuario"
echo "probar_paquete: $deb se instala, funciona y se quita sin dejar nada"
