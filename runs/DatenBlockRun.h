#pragma once
// The walk of a run over every row of Daten that computes target columns from
// start columns. The window thread reads a block of rows (row id and the
// texts of the start columns), worker threads compute the block, and the
// window thread stores it in row order with one prepared update; the whole
// walk is one transaction. A row whose start column was never written (Null)
// or whose computation failed stops the run after the rows before it are
// stored: its error is thrown on to the run.
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "platform/db/Database.h"

namespace orv {

// The texts of a row's target columns, as UTF-8, in the order of the run's
// write columns.
class RowTexts {
 public:
  void clear() {
    bytes_.clear();
    ends_.clear();
  }
  void add(const QString& text);
  void addUtf8(QByteArrayView utf8) {
    bytes_.append(utf8.data(), static_cast<size_t>(utf8.size()));
    ends_.push_back(bytes_.size());
  }
  int count() const { return static_cast<int>(ends_.size()); }
  QByteArrayView at(int i) const {
    const size_t first = i == 0 ? 0 : ends_[static_cast<size_t>(i) - 1];
    return QByteArrayView(bytes_.data() + first, static_cast<qsizetype>(ends_[static_cast<size_t>(i)] - first));
  }

 private:
  std::string bytes_;
  std::vector<size_t> ends_;
};

// One row on its way through the run.
struct DatenRunRow {
  qint64 index = 0;  // position in the walk, from 1
  qint64 rowId = 0;
  std::vector<QString> in;  // texts of the read columns ("" for Null)
  RowTexts read;            // the same as read, UTF-8, until the row is computed
  int nullColumn = -1;      // the first read column that was Null
  RowTexts out;             // texts of the write columns
  bool keep = false;        // compute leaves the row as it is: nothing is written
  // Values of the row that the window thread needs in row order (a zone,
  // say); the run decides their meaning.
  double note[12] = {};
  int errorNumber = 0;
  QString error;
};

class DatenBlockRun {
 public:
  using Compute = std::function<void(DatenRunRow& row)>;            // on a worker thread
  // On the window thread, in row order; may compute the row's texts anew.
  using BeforeStore = std::function<void(qint64 index, DatenRunRow& row)>;
  using Progress = std::function<void(qint64 index, qint64 count)>;  // window thread

  // How the walk treats its rows.
  struct Options {
    // A start column never written reads as the empty text instead of
    // stopping the run.
    bool nullReadsEmpty = false;
    // A row that fails leaves every row as it was before the walk: the
    // rows stored before it are undone (the run does the walk again in
    // another way).
    bool undoOnError = false;
  };

  DatenBlockRun(const Database& db, QStringList readColumns, QStringList writeColumns, Options options)
      : db_(db), read_(std::move(readColumns)), write_(std::move(writeColumns)), options_(options) {}
  DatenBlockRun(const Database& db, QStringList readColumns, QStringList writeColumns)
      : DatenBlockRun(db, std::move(readColumns), std::move(writeColumns), Options()) {}

  // Walks all rows (count = the number of rows, for the progress). compute
  // fills row.out with one text for every write column, or sets row.keep to
  // leave the row unwritten; beforeStore runs for
  // every row (index from 1) in order just before it is written; progress
  // runs at the first row, the last, and a few times a second between.
  void run(qint64 count, const Compute& compute, const BeforeStore& beforeStore, const Progress& progress);

  // Rows that the run has read from Daten already (with texts from
  // elsewhere that belong to them), given in row order on the window thread
  // instead of read again: the next row's id and the texts compute finds in
  // row.in; False after the last row. No text counts as Null.
  using Source = std::function<bool(qint64& rowId, RowTexts& read)>;
  void readFrom(Source source) { source_ = std::move(source); }

 private:
  Database db_;
  QStringList read_;
  QStringList write_;
  Options options_;
  Source source_;
};

}  // namespace orv
