#!/usr/bin/env python3
"""Cuts a window out of the EGM96 geoid grid egm96_15.gtx (PROJ's vertical grid
format) and writes it as a geoid grid for saphtel.

gtx: big-endian header of four doubles (south latitude, west longitude, latitude
and longitude spacing, degrees) and two int32 (rows, columns), then float32
undulations in metres, rows from south to north, each row west to east; -88.8888
marks a node without value. Longitudes may start at -180 or at 0; the window is
looked up modulo 360.

saphtel grid: little-endian int32 records: southern, northern, western, eastern
edge and the latitude and longitude spacing, each as degrees, minutes and
micro-arc-seconds, then the nodes in units of 0.1 mm, rows from north to south,
each row west to east; 99999999 marks a node without value.
"""
import argparse
import math
import struct
import sys

NO_VALUE_GTX = -88.8888
NO_VALUE_NODE = 99999999


def read_gtx(path):
    with open(path, 'rb') as f:
        data = f.read()
    lat0, lon0, dlat, dlon = struct.unpack('>4d', data[:32])
    rows, cols = struct.unpack('>2i', data[32:40])
    if len(data) < 40 + 4 * rows * cols:
        sys.exit(f'{path}: file shorter than its header says')
    return lat0, lon0, dlat, dlon, rows, cols, data


def gtx_node(gtx, lat, lon):
    lat0, lon0, dlat, dlon, rows, cols, data = gtx
    i = (lat - lat0) / dlat
    j = ((lon - lon0) % 360.0) / dlon
    ri, rj = round(i), round(j)
    if abs(i - ri) > 1e-9 or abs(j - rj) > 1e-9:
        sys.exit(f'{lat} {lon} is not a node of the gtx grid')
    rj %= cols
    if not 0 <= ri < rows:
        sys.exit(f'latitude {lat} outside the gtx grid')
    (value,) = struct.unpack_from('>f', data, 40 + 4 * (ri * cols + rj))
    return value


def to_node(metres):
    if math.isnan(metres) or abs(metres - NO_VALUE_GTX) < 1e-4:
        return NO_VALUE_NODE
    # 0.1 mm units, halves away from zero
    q = math.floor(abs(metres) * 10000.0 + 0.5)
    return int(q if metres >= 0 else -q)


def dms_records(angle):
    """Degrees, minutes and micro-arc-seconds of a non-negative angle."""
    if angle < 0:
        sys.exit('the grid format holds no negative angles')
    total = round(angle * 3600.0 * 1e6)  # micro-arc-seconds
    deg, rest = divmod(total, 3600 * 10**6)
    minutes, micro = divmod(rest, 60 * 10**6)
    return [deg, minutes, micro]


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('gtx')
    ap.add_argument('output')
    ap.add_argument('--south', type=float, default=47.0)
    ap.add_argument('--north', type=float, default=55.5)
    ap.add_argument('--west', type=float, default=5.5)
    ap.add_argument('--east', type=float, default=15.5)
    ap.add_argument('--spacing', type=float, default=0.25, help='degrees, both directions')
    a = ap.parse_args()

    gtx = read_gtx(a.gtx)
    nrows = int((a.north - a.south + 0.001) / a.spacing + 1.0)
    ncols = int((a.east - a.west + 0.001) / a.spacing + 1.0)
    records = []
    for angle in (a.south, a.north, a.west, a.east, a.spacing, a.spacing):
        records += dms_records(angle)
    missing = 0
    for r in range(nrows):
        lat = a.north - r * a.spacing
        for c in range(ncols):
            node = to_node(gtx_node(gtx, lat, a.west + c * a.spacing))
            missing += node == NO_VALUE_NODE
            records.append(node)
    with open(a.output, 'wb') as f:
        f.write(struct.pack(f'<{len(records)}i', *records))
    print(f'{a.output}: {nrows} rows x {ncols} columns, {missing} nodes without value')


if __name__ == '__main__':
    main()
