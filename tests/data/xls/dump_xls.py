#!/usr/bin/python3
# Reads an .xls workbook with xlrd and prints it as text for the tests:
#   S<TAB>sheet name<TAB>rows<TAB>columns     once per sheet, then
#   R<TAB>cell<TAB>cell...                     once per row (empty cells are empty)
#   N<TAB>row<TAB>column<TAB>value<TAB>format  once per number cell of the row before
# A number cell is shown in the R line as its format shows it ("0.000" shows
# three decimals); its N line gives the double (shortest text that reads back
# as it) and the format string.
# Tabs, line breaks and backslashes inside cells are written as \t \n \r \\.
# Anything xlrd complains about while reading goes to stderr, and so does a
# cell that is neither text nor a number in such a format, or a fault in the
# records xlrd itself skips over (row blocks and their index: ROW, DBCELL,
# INDEX, DEFCOLWIDTH).
import io
import re
import struct
import sys

import xlrd
from xlrd import compdoc

ROW, DBCELL, INDEX, DEFCOLWIDTH, BOF, EOF = 0x0208, 0x00D7, 0x020B, 0x0055, 0x0809, 0x000A
CELL_TYPES = (0x00FD, 0x0201, 0x0203, 0x027E, 0x00BD, 0x00BE, 0x0006)


def check_row_blocks(path, log):
    with open(path, "rb") as f:
        data = f.read()
    mem, base, size = compdoc.CompDoc(data, logfile=log).locate_named_stream("Workbook")
    stream = mem[base:base + size]
    records = {}
    pos = 0
    while pos + 4 <= len(stream):
        rtype, length = struct.unpack_from("<HH", stream, pos)
        if rtype == 0 and length == 0:
            break  # padding after the last sheet
        records[pos] = (rtype, stream[pos + 4:pos + 4 + length])
        pos += 4 + length

    def expect(at, rtype, what):
        if records.get(at, (None,))[0] != rtype:
            log.write("%s at %d is not record 0x%04X\n" % (what, at, rtype))
            return False
        return True

    referenced = set()
    for at, (rtype, body) in records.items():
        if rtype != INDEX:
            continue
        expect(struct.unpack_from("<I", body, 12)[0], DEFCOLWIDTH, "INDEX column width")
        for i in range((len(body) - 16) // 4):
            referenced.add(struct.unpack_from("<I", body, 16 + 4 * i)[0])
    dbcells = {at for at, (rtype, _) in records.items() if rtype == DBCELL}
    if referenced != dbcells:
        log.write("INDEX lists %d block positions, the sheets hold %d DBCELL records\n"
                  % (len(referenced), len(dbcells)))
    for at in sorted(dbcells):
        body = records[at][1]
        first_row = at - struct.unpack_from("<I", body, 0)[0]
        steps = [struct.unpack_from("<H", body, 4 + 2 * i)[0] for i in range((len(body) - 4) // 2)]
        for i in range(len(steps)):
            if not expect(first_row + 20 * i, ROW, "ROW %d of the block before DBCELL %d" % (i, at)):
                return
        cell = first_row + 20
        for i, step in enumerate(steps):
            cell += step
            row_number = struct.unpack_from("<H", records[first_row + 20 * i][1], 0)[0]
            rtype, body = records.get(cell, (None, b""))
            if rtype not in CELL_TYPES or struct.unpack_from("<H", body, 0)[0] != row_number:
                log.write("DBCELL %d: row %d does not start at %d\n" % (at, row_number, cell))
                return


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t")
            .replace("\n", "\\n").replace("\r", "\\r"))


def main(path):
    log = io.StringIO()
    book = xlrd.open_workbook(path, logfile=log, verbosity=0, formatting_info=True)
    out = []
    for sheet in book.sheets():
        out.append("S\t%s\t%d\t%d" % (escape(sheet.name), sheet.nrows, sheet.ncols))
        for r in range(sheet.nrows):
            cells = []
            numbers = []
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_NUMBER:
                    shown = book.format_map[book.xf_list[cell.xf_index].format_key].format_str
                    fixed = re.fullmatch(r"0(\.(0+))?", shown)
                    if not fixed:
                        log.write("cell %d,%d of %s has the format %r\n" % (r, c, sheet.name, shown))
                        cells.append(repr(cell.value))
                    else:
                        cells.append("%.*f" % (len(fixed.group(2) or ""), cell.value))
                    numbers.append("N\t%d\t%d\t%r\t%s" % (r, c, cell.value, escape(shown)))
                    continue
                if cell.ctype not in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_EMPTY):
                    log.write("cell %d,%d of %s is neither text nor a number\n" % (r, c, sheet.name))
                cells.append(escape(cell.value))
            out.append("R\t" + "\t".join(cells))
            out.extend(numbers)
    check_row_blocks(path, log)
    sys.stdout.buffer.write(("\n".join(out) + "\n").encode("utf-8"))
    sys.stderr.write(log.getvalue())


if __name__ == "__main__":
    main(sys.argv[1])
