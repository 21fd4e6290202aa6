#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <memory>

namespace orv {

// Writes a spreadsheet workbook in the binary Excel 97-2003 format (.xls:
// BIFF8 records in a compound file) whose cells are all text.
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
  // One worksheet row of text cells (up to 256 columns); empty texts leave
  // the cell empty.
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

 private:
  struct State;
  std::unique_ptr<State> d;
  QString sheetName_;
  QString errorText_;
};

}  // namespace orv
