#!/usr/bin/env python3
"""Writes an NTv2 binary grid (.gsb, little-endian) as NTv2 ASCII (.gsa).

The records are written in the layout the program's own grid writer uses:
11 overview records, per sub-grid 11 header records and one shift record per
node (latitude shift, longitude shift positive west, both accuracies; arc-
seconds with six decimals), then "END"; Windows-1252 text with CR LF.

usage: gsb_to_gsa.py INPUT.gsb OUTPUT.gsa
"""
import struct
import sys


def records(data):
    for i in range(0, len(data) - 15, 16):
        yield data[i:i + 8].decode('latin-1'), data[i + 8:i + 16]


def text(value):
    return value.decode('latin-1')


def integer(value):
    return struct.unpack('<i', value[:4])[0]


def real(value):
    return struct.unpack('<d', value)[0]


def fixed(x, width, decimals):
    return f'{x:.{decimals}f}'.rjust(width)


def plain(x):
    return ('%.15g' % x)


def convert(data):
    it = records(data)
    head = dict(next(it) for _ in range(11))
    if integer(head['NUM_OREC']) != 11:
        raise SystemExit('not a little-endian NTv2 file with 11 overview records')
    out = [
        'NUM_OREC' + str(integer(head['NUM_OREC'])).rjust(3),
        'NUM_SREC' + str(integer(head['NUM_SREC'])).rjust(3),
        'NUM_FILE' + str(integer(head['NUM_FILE'])).rjust(3),
        'GS_TYPE ' + text(head['GS_TYPE ']),
        'VERSION ' + text(head['VERSION ']),
        'SYSTEM_F' + text(head['SYSTEM_F']),
        'SYSTEM_T' + text(head['SYSTEM_T']),
    ]
    for key in ('MAJOR_F', 'MINOR_F', 'MAJOR_T', 'MINOR_T'):
        out.append(key + fixed(real(head[key.ljust(8)]), 13, 3))
    for _ in range(integer(head['NUM_FILE'])):
        sub = dict(next(it) for _ in range(11))
        out += [
            'SUB_NAME' + text(sub['SUB_NAME']),
            'PARENT  ' + text(sub['PARENT  ']),
            'CREATED ' + text(sub['CREATED ']),
            'UPDATED ' + text(sub['UPDATED ']),
        ]
        for key in ('S_LAT', 'N_LAT', 'E_LONG', 'W_LONG'):
            out.append(key.ljust(8) + fixed(real(sub[key.ljust(8)]), 15, 6))
        for key in ('LAT_INC', 'LONG_INC'):
            out.append(key.ljust(8) + plain(real(sub[key.ljust(8)])).rjust(15))
        count = integer(sub['GS_COUNT'])
        out.append('GS_COUNT' + str(count).rjust(6))
        for _ in range(count):
            a, b = next(it)
            lat, lon, lat_acc, lon_acc = struct.unpack('<4f', (a.encode('latin-1') + b))
            out.append(' %.6f  %.6f  %.6f  %.6f' % (lat, lon, lat_acc, lon_acc))
    key, _ = next(it)
    if not key.startswith('END'):
        raise SystemExit('no END record after the last sub-grid')
    out.append('END'.ljust(40))
    return ''.join(line + '\r\n' for line in out).encode('cp1252')


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    with open(sys.argv[1], 'rb') as f:
        data = f.read()
    with open(sys.argv[2], 'wb') as f:
        f.write(convert(data))


if __name__ == '__main__':
    main()
