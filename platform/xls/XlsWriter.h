#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace orv {

// Writes a spreadsheet workbook in the binary Excel 97-2003 format (.xls:
// BIFF8 records in a compound file) of text cells and, in the columns marked
// for numbers, number cells.
//
// Rows are streamed: cells and strings go to temporary files while rows come
// in, and close() assembles the workbook. A sheet holds at most 65,536 rows;
// further rows continue on sheets named sheetName + " 2", " 3", ... so that
// nothing is cut off. The file at the path is replaced only by a complete
// workbook at close(); until then an existing file stays untouched.
class XlsWriter {
 public:
  explicit XlsWriter(const QString& sheetName = QStringLiteral("Tabelle"));
  ~XlsWriter();
  XlsWriter(const XlsWriter&) = delete;
  XlsWriter& operator=(const XlsWriter&) = delete;

  // False when the file can't be created (errorText() says why).
  bool open(const QString& path);
  // Marks the columns (column 0 first) whose cells are written as numbers
  // from the next row on, where their text is plainly a number: an optional
  // "-", digits without a leading zero (a lone "0" before the point is
  // none), optionally "." and digits; at most 15 significant digits and 15
  // decimals, and not a negative zero. Such a cell holds the double nearest
  // to the text, formatted with as many decimals as the text has
  // ("3300000.0000" shows with "0.0000"), so that a spreadsheet shows the
  // text again. Every other text stays a text cell.
  void setNumberColumns(std::vector<bool> columns);
  // One worksheet row (up to 256 columns); empty texts leave the cell empty.
  void writeRow(const QStringList& cells);
  // The same with the cells as UTF-8 texts (as a database returns them).
  void writeRowUtf8(const QByteArrayView* cells, qsizetype count);
  // Finishes the file. False on an I/O error, and also when cells had to be
  // cut to the format's limits (256 columns, 32,767 characters a cell):
  // the file is then written with what fits, and errorText() says so.
  bool close();
  QString errorText() const;

  static constexpr int MaxRowsPerSheet = 65536;
  static constexpr int MaxColumns = 256;
  static constexpr int MaxCellLength = 32767;
  static constexpr int MaxNumberDecimals = 15;

 private:
  struct State;
  std::unique_ptr<State> d;
  std::vector<bool> numberColumns_;
  QString sheetName_;
  QString errorText_;
};

}  // namespace orv
