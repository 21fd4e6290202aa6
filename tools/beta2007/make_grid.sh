#!/usr/bin/env bash
# Builds data/Orvenil-Datenbanken/BETA2007.gsa from PROJ's BETA2007.gsb and the
# reference points the tests compare the NTv2 run with.
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
gsb=/usr/share/proj/BETA2007.gsb
if [ ! -f "$gsb" ] || ! command -v cct >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends proj-data proj-bin >/dev/null
fi
python3 "$here/gsb_to_gsa.py" "$gsb" "$root/data/Orvenil-Datenbanken/BETA2007.gsa"

# Reference: PROJ's forward and inverse shift of 300 points spread over the
# grid (47.1°–55.2° N, 5.6°–15.2° E): start longitude and latitude (DHDN),
# shifted longitude and latitude (ETRS89), and the inverse of the start point.
ref="$root/tests/data/ntv2/beta2007_cct.txt"
mkdir -p "$(dirname "$ref")"
points=$(for i in $(seq 0 19); do
  for j in $(seq 0 14); do
    awk -v i="$i" -v j="$j" 'BEGIN { printf "%.9f %.9f 0 0\n", 5.6 + i * 0.5 + j * 0.0071, 47.1 + j * 0.57 + i * 0.0043 }'
  done
done)
forward=$(echo "$points" | cct -d 12 +proj=hgridshift +grids=BETA2007.gsb)
inverse=$(echo "$points" | cct -d 12 -I +proj=hgridshift +grids=BETA2007.gsb)
{
  echo "# lon lat | lon' lat' from: cct -d 12 +proj=hgridshift +grids=BETA2007.gsb | lon'' lat'' from the same with -I"
  paste <(echo "$points" | awk '{print $1, $2}') <(echo "$forward" | awk '{print $1, $2}') \
        <(echo "$inverse" | awk '{print $1, $2}') | tr '\t' ' '
} > "$ref"
echo "$ref: $(grep -vc '^#' "$ref") points"
