#!/usr/bin/env bash
# Makes the reference values that tests/import compares the imported rows
# against: geographic and geocentric coordinates of projected points, from
# GeographicLib's exact transverse Mercator ("-t -r": grid to geographic) and
# PROJ's cct (+proj=cart). The tests read only the committed file.
#
# Output: tests/data/import/projected_reference.txt
#   ellipsoid a f k0 lon0 fe easting northing h  lat lon  X Y Z
set -euo pipefail
cd "$(dirname "$0")/../.."
out=tests/data/import
mkdir -p "$out"
command -v TransverseMercatorProj >/dev/null && command -v cct >/dev/null || {
  echo "needs geographiclib-tools and proj-bin" >&2; exit 1; }

# name a f k0 lon0 fe easting northing h (easting without zone digit)
points=(
  "Krassowski 6378245 0.003352329869259 1 12 4500000 4512345.678 5712345.678 101.5"
  "Krassowski 6378245 0.003352329869259 1 12 4500000 4498765.432 5698765.432 75"
  "GRS1980 6378137 0.003352810681184 0.9996 9 500000 512345.678 5712345.678 101.5"
  "GRS1980 6378137 0.003352810681184 0.9996 15 500000 387654.321 5698765.432 42.25"
)
{
  echo "# made by tools/references/make_import_references.sh with $(TransverseMercatorProj --version 2>&1 | head -1) and $(cct --version 2>&1 | head -1)"
  echo "# ellipsoid a f k0 lon0 fe easting northing h lat lon X Y Z"
  for p in "${points[@]}"; do
    read -r name a f k0 lon0 fe e n h <<<"$p"
    x=$(awk -v e="$e" -v fe="$fe" 'BEGIN{printf "%.6f", e - fe}')
    read -r lat lon _ <<<"$(echo "$x $n" | TransverseMercatorProj -t -r -e "$a" "$f" -k "$k0" -l "$lon0" -p 12)"
    read -r X Y Z _ <<<"$(echo "$lon $lat $h" | cct -d 6 +proj=cart +a="$a" +f="$f")"
    echo "$name $a $f $k0 $lon0 $fe $e $n $h $lat $lon $X $Y $Z"
  done
} >"$out/projected_reference.txt"
echo "wrote $out/projected_reference.txt"
