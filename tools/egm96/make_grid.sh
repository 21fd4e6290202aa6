#!/usr/bin/env bash
# Builds data/Orvenil-Datenbanken/EGM96_Deutschland.grd from PROJ's EGM96 grid
# and the reference undulations the tests compare it with.
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
gtx=/usr/share/proj/egm96_15.gtx
if [ ! -f "$gtx" ] || ! command -v cct >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends proj-data proj-bin >/dev/null
fi
python3 "$here/egm96_to_saphtel.py" "$gtx" "$root/data/Orvenil-Datenbanken/EGM96_Deutschland.grd"

# Reference: PROJ's own undulation at every third node of the window
# (longitude, latitude, undulation in metres).
ref="$root/tests/data/gridtool/egm96_nodes_proj.txt"
{
  echo "# lon lat N(m) from: cct -d 6 +proj=vgridshift +grids=egm96_15.gtx +multiplier=1"
  for lat in $(seq 47 0.75 55.5); do
    for lon in $(seq 5.5 0.75 15.5); do echo "$lon $lat 0 0"; done
  done | cct -d 6 +proj=vgridshift +grids=egm96_15.gtx +multiplier=1 | awk '{print $1, $2, $3}'
} > "$ref"
echo "$ref: $(grep -vc '^#' "$ref") nodes"
