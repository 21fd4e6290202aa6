#!/usr/bin/python3
# Reads an .xls workbook with xlrd and prints it as text for the tests:
#   S<TAB>sheet name<TAB>rows<TAB>columns     once per sheet, then
#   R<TAB>cell<TAB>cell...                     once per row (empty cells are empty)
# Tabs, line breaks and backslashes inside cells are written as \t \n \r \\.
# Anything xlrd complains about while reading goes to stderr, and so does a
# cell that is not text.
import io
import sys

import xlrd


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t")
            .replace("\n", "\\n").replace("\r", "\\r"))


def main(path):
    log = io.StringIO()
    book = xlrd.open_workbook(path, logfile=log, verbosity=0)
    out = []
    for sheet in book.sheets():
        out.append("S\t%s\t%d\t%d" % (escape(sheet.name), sheet.nrows, sheet.ncols))
        for r in range(sheet.nrows):
            cells = []
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype not in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_EMPTY):
                    log.write("cell %d,%d of %s is not text\n" % (r, c, sheet.name))
                cells.append(escape(cell.value))
            out.append("R\t" + "\t".join(cells))
    sys.stdout.buffer.write(("\n".join(out) + "\n").encode("utf-8"))
    sys.stderr.write(log.getvalue())


if __name__ == "__main__":
    main(sys.argv[1])
