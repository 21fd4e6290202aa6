#!/usr/bin/env bash
# Makes the reference data that tests/geodesy compares against: transverse
# Mercator grid coordinates from GeographicLib ("-t": the exact projection,
# not a series), geocentric conversion, Bursa-Wolf (coordinate
# frame) and Molodensky-Badekas from PROJ's cct. The tests read only the
# committed files; the tools are needed only to make them again.
#
# Output (tests/data/geodesy/):
#   tm_reference.txt          ellipsoid a f k0 lon0 fe lat lon  northing easting
#   cart_reference.txt        ellipsoid a f lat lon h  X Y Z
#   helmert_reference.txt     X Y Z dx dy dz rx ry rz ppm  X' Y' Z'
#   molobadekas_reference.txt X Y Z dx dy dz rx ry rz ppm px py pz  X' Y' Z'
set -euo pipefail
cd "$(dirname "$0")/../.."
out=tests/data/geodesy
mkdir -p "$out"

need=()
command -v TransverseMercatorProj >/dev/null || need+=(geographiclib-tools)
command -v cct >/dev/null || need+=(proj-bin)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# The four ellipsoids as the program's coordinate-system table holds them:
# name, semi-major axis a, flattening f.
ellipsoids=(
  "GRS1980 6378137 0.003352810681184"
  "WGS1984 6378137 0.00335281066474"
  "Krassowski 6378245 0.003352329869259"
  "Bessel 6377397.15507605 0.003342773181578"
)

# --- Transverse Mercator: Gauss-Krueger (k0 1, 3 degree strips) and UTM (k0 0.9996).
tm=$out/tm_reference.txt
{
  echo "# made by tools/references/make_references.sh with $(TransverseMercatorProj --version 2>&1 | head -1)"
  echo "# command per line: TransverseMercatorProj -t -e a f -k k0 -l lon0 ; easting += fe"
  echo "# ellipsoid a f k0 lon0 fe lat lon northing easting"
} > "$tm"
for ell in "${ellipsoids[@]}"; do
  set -- $ell; name=$1; a=$2; f=$3
  case $name in
    GRS1980|WGS1984) k0=0.9996; meridians="3 9 15 21" ;;
    *) k0=1; meridians="3 6 9 12 15 18 21" ;;
  esac
  for lon0 in $meridians; do
    case $name in
      GRS1980|WGS1984) fe=500000 ;;
      *) fe=$(( lon0 / 3 * 1000000 + 500000 )) ;;
    esac
    for lat in 47.25 50.0 52.5 54.9; do
      for d in -6 -4.5 -3 -1.5 -0.25 0 0.75 2.1 3 4.4 6; do
        lon=$(awk -v a="$lon0" -v b="$d" 'BEGIN{printf "%.6f", a+b}')
        r=$(echo "$lat $lon" | TransverseMercatorProj -t -e "$a" "$f" -k "$k0" -l "$lon0" -p 6)
        set -- $r; x=$1; y=$2
        e=$(awk -v x="$x" -v fe="$fe" 'BEGIN{printf "%.6f", x+fe}')
        echo "$name $a $f $k0 $lon0 $fe $lat $lon $y $e"
      done
    done
  done
done >> "$tm"

# --- Geocentric conversion.
cart=$out/cart_reference.txt
{
  echo "# made by tools/references/make_references.sh with $(cct --version 2>&1 | head -1)"
  echo "# command per ellipsoid: cct -d 6 +proj=cart +a=A +f=F  (input lon lat h)"
  echo "# ellipsoid a f lat lon h X Y Z"
} > "$cart"
for ell in "${ellipsoids[@]}"; do
  set -- $ell; name=$1; a=$2; f=$3
  for p in "47.3 5.9 0" "50.1 8.7 123.456" "52.5 13.4 34.5" "54.9 15.2 -12.3" "51.0 21.5 1500" "-33.9 -70.6 800" "10.0 170.0 0" "89.5 45.0 10" "0 0 0"; do
    set -- $p
    r=$(echo "$2 $1 $3 0" | cct -d 6 +proj=cart +a="$a" +f="$f")
    set -- $r
    echo "$name $a $f $p $1 $2 $3"
  done
done >> "$cart"

# --- Bursa-Wolf, coordinate-frame rotation (the program's rotation sense).
helm=$out/helmert_reference.txt
{
  echo "# made by tools/references/make_references.sh with $(cct --version 2>&1 | head -1)"
  echo "# command: cct -d 6 +proj=helmert +x +y +z +rx +ry +rz +s +convention=coordinate_frame"
  echo "# X Y Z dx dy dz rx ry rz ppm X' Y' Z'"
} > "$helm"
params=(
  "582 105 414 -1.04 -0.35 3.08 8.3"
  "24.9 -126.4 -93.2 -0.063 -0.247 -0.041 1.01"
  "-598.1 -73.7 -418.2 0.202 0.045 -2.455 -6.7"
  "0 0 0 0 0 1 0"
  "0 0 0 0 0 0 1"
)
points=("3924099.1 1100100.2 4884888.3" "3700000 900000 5100000" "4000000 1500000 4700000")
for prm in "${params[@]}"; do
  set -- $prm; dx=$1; dy=$2; dz=$3; rx=$4; ry=$5; rz=$6; s=$7
  for pt in "${points[@]}"; do
    r=$(echo "$pt 0" | cct -d 6 +proj=helmert +x="$dx" +y="$dy" +z="$dz" +rx="$rx" +ry="$ry" +rz="$rz" +s="$s" +convention=coordinate_frame)
    set -- $r
    echo "$pt $prm $1 $2 $3"
  done
done >> "$helm"

# --- Molodensky-Badekas about a reference point.
mb=$out/molobadekas_reference.txt
{
  echo "# made by tools/references/make_references.sh with $(cct --version 2>&1 | head -1)"
  echo "# command: cct -d 6 +proj=molobadekas +x +y +z +rx +ry +rz +s +px +py +pz +convention=coordinate_frame"
  echo "# X Y Z dx dy dz rx ry rz ppm px py pz X' Y' Z'"
} > "$mb"
refs=("3900000 1000000 4900000" "3800000 1200000 5000000")
for prm in "${params[@]}"; do
  set -- $prm; dx=$1; dy=$2; dz=$3; rx=$4; ry=$5; rz=$6; s=$7
  for ref in "${refs[@]}"; do
    set -- $ref; px=$1; py=$2; pz=$3
    for pt in "${points[@]}"; do
      r=$(echo "$pt 0" | cct -d 6 +proj=molobadekas +x="$dx" +y="$dy" +z="$dz" +rx="$rx" +ry="$ry" +rz="$rz" +s="$s" +px="$px" +py="$py" +pz="$pz" +convention=coordinate_frame)
      set -- $r
      echo "$pt $prm $ref $1 $2 $3"
    done
  done
done >> "$mb"
echo "reference data written to $out"
