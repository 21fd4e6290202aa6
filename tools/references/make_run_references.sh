#!/usr/bin/env bash
# Makes the reference positions that tests/runs compares the seven-parameter
# run against: an independent pipeline of PROJ's cct (geocentric Helmert or
# Molodensky-Badekas in the coordinate-frame convention, exact transverse
# Mercator of PROJ). The tests read only the committed file; PROJ is needed
# only to make it again.
#
# Output: tests/data/runs/seven_parameter_reference.txt, one point a line:
#   case X Y Z lon0 easting northing h
# X Y Z: geocentric start coordinates (the run's input), lon0: central
# meridian of the target zone, easting (false easting included, no zone
# digit), northing, h: ellipsoidal height on the target ellipsoid.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=tests/data/runs/seven_parameter_reference.txt
mkdir -p "$(dirname "$out")"
command -v cct >/dev/null || { echo "cct missing: install proj-bin (scripts/setup-deps.sh)"; exit 1; }

krass="+a=6378245 +rf=298.3"
grs="+a=6378137 +rf=298.25722210088"
bessel="+a=6377397.15507605 +rf=299.152812853405"
# GK42/83 -> ETRS89: the default set "ETRS89 - GK42/83" run in reverse (all
# seven values negated).
reverse_set="+x=24.9 +y=-126.4 +z=-93.2 +rx=0.063 +ry=0.247 +rz=0.041 +s=1.01"
# ETRS89 -> GK42/83: the same set forward.
forward_set="+x=-24.9 +y=126.4 +z=93.2 +rx=-0.063 +ry=-0.247 +rz=-0.041 +s=-1.01"
# Molodensky-Badekas set of the test tables (ETRS89 -> Bessel).
mb_set="+x=-598.1 +y=-73.7 +z=-418.2 +rx=0.202 +ry=0.045 +rz=-2.455 +s=-6.7 +px=3900000 +py=900000 +pz=4900000"

# Central meridian of the zone of a longitude: 6° (UTM) or 3° (Gauss-Krüger).
utm_meridian() { awk -v l="$1" 'BEGIN{ print (l >= 18 ? 21 : l >= 12 ? 15 : l >= 6 ? 9 : 3) }'; }
gk_meridian() { awk -v l="$1" 'BEGIN{ m = 3; for (t = 4.5; t <= 19.5; t += 3) if (l >= t) m = t + 1.5; print m }'; }

# emit CASE X Y Z TARGET_ELLIPSOID ZONES SHIFT
emit() {
  local kase=$1 X=$2 Y=$3 Z=$4 ell=$5 zones=$6 shift=$7
  local geo lon lat h m fe k0 r
  geo=$(echo "$X $Y $Z 0" | cct -d 10 +proj=pipeline +step $shift +step +inv +proj=cart $ell)
  set -- $geo; lon=$1; lat=$2; h=$3
  if [ "$zones" = utm ]; then m=$(utm_meridian "$lon"); fe=500000; k0=0.9996
  else m=$(gk_meridian "$lon"); fe=$(( m / 3 * 1000000 + 500000 )); k0=1; fi
  r=$(echo "$lon $lat $h 0" | cct -d 6 +proj=tmerc +lat_0=0 +lon_0="$m" +k="$k0" +x_0="$fe" +y_0=0 $ell)
  set -- $r
  echo "$kase $X $Y $Z $m $1 $2 $(awk -v h="$h" 'BEGIN{printf "%.6f", h}')"
}

# Start points: projected in the start system, made geocentric by cct.
# start_xyz ELLIPSOID PROJECTION EASTING NORTHING HEIGHT
start_xyz() {
  echo "$3 $4 $5 0" | cct -d 6 +proj=pipeline +step +inv $2 $1 +step +proj=cart $1 | awk '{print $1, $2, $3}'
}

{
  echo "# made by tools/references/make_run_references.sh with $(cct --version 2>&1 | head -1)"
  echo "# case X Y Z lon0 easting northing h"
  # GK42/83 strip 4 -> ETRS89 UTM: both sides of 12° E (zones 32 and 33).
  for p in "4480000.123 5650000.456 312.5" "4520000 5700000 95.25" "4590000.5 5580000.25 840" \
           "4420000 5920000 12.3" "4501234.567 5612345.678 450.1234"; do
    set -- $p
    emit gk_reverse $(start_xyz "$krass" "+proj=tmerc +lat_0=0 +lon_0=12 +k=1 +x_0=4500000 +y_0=0" "$1" "$2" "$3") \
      "$grs" utm "+proj=helmert $reverse_set +convention=coordinate_frame"
  done
  # ETRS89 UTM zone 33 -> GK42/83 strips 4 and 5.
  for p in "333000.5 5640000.25 210.5" "412345.678 5701234.567 88.8" "455000 5590000 1020"; do
    set -- $p
    emit etrs_forward $(start_xyz "$grs" "+proj=utm +zone=33" "$1" "$2" "$3") \
      "$krass" gk "+proj=helmert $forward_set +convention=coordinate_frame"
  done
  # ETRS89 UTM zone 32 -> Bessel strips with Molodensky-Badekas.
  for p in "600000 5500000 300" "680123.456 5789012.345 45.6"; do
    set -- $p
    emit molodensky $(start_xyz "$grs" "+proj=utm +zone=32" "$1" "$2" "$3") \
      "$bessel" gk "+proj=molobadekas $mb_set +convention=coordinate_frame"
  done
} > "$out"
echo "reference data written to $out"
