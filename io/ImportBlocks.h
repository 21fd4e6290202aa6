#pragma once
// The lines of a point-file import on their way from the file to Daten: a
// line as read and its computed row (PendingLine), blocks of them whose slots
// are used again from block to block (LineBlock), the computation of a row on
// a worker thread (RowComputer), and the writer thread (RowWriter).
#include <QString>
#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "io/ImportStartBranches.h"
#include "platform/db/RowInsert.h"

namespace orv {

// The Geograf, PBLH TAB and first vessel formats treat every line alone; the
// csv format remembers "custom_coords", the second vessel format its first line.
bool FormatNeedsNoEarlierLine(int filterIndex);

// One line of a block on its way from the file to Daten.
struct PendingLine {
  enum class Kind { Row, Skipped, Stop };
  Kind kind = Kind::Row;
  bool counted = false;  // a skipped line that counts in the report
  long counter = 0;      // line counter of the run
  long fileLine = 0;     // line of the file, for messages
  QString raw;           // as read
  QString line;          // normalised
  bool normaliseLater = false;  // the line format is left to the worker (it needs no earlier line)
  int32_t meridian = 0;  // projected lines: decided in file order
  ImportRow row;
  BranchResult result;
  QString error;         // description of an error while computing the row
  std::exception_ptr failure;  // an error while reading the line; it ends the import
  bool store = false;    // a row to store (decided in file order before storing)
  // The written texts of the row as stored, one column after another: the
  // bytes of column c end at textEnd[c]. utf16: a text with surrogates,
  // all texts of the row go as they are.
  std::string bytes;
  std::array<uint32_t, kDatenColumnCount> textEnd{};
  bool utf16 = false;
};

// The row's texts in the bytes the database stores.
void EncodeRow(PendingLine& p);

// Adds a row to the insert: its line counter as id, the written columns (the
// columns of the insert are Daten's in their order), the others Null.
void StoreRow(RowInsert& insert, const PendingLine& p);

// Asks the processor to bring a row's texts into the cache.
void PrefetchRow(const PendingLine& p);

// Runs one piece of work on its own thread; join() passes on its exception.
class RowWriter {
 public:
  RowWriter() = default;
  ~RowWriter() {
    if (thread_.joinable()) thread_.join();
  }
  RowWriter(const RowWriter&) = delete;
  RowWriter& operator=(const RowWriter&) = delete;
  void start(std::function<void()> work);
  void join();

 private:
  std::thread thread_;
  std::exception_ptr error_;
};

// A block of lines. Its slots are used again from block to block, so that
// the texts of a row are released by the worker thread that computes the
// next row in that slot, never by the writer thread that stores them.
struct LineBlock {
  std::vector<PendingLine> lines;
  size_t used = 0;
  PendingLine& add();
  bool empty() const { return used == 0; }
};

// Computes the row of a line; called on worker threads, one line each.
class RowComputer {
 public:
  RowComputer(const ImportStartSystem& sys, const ImportTail& tail, int kind, int filterIndex)
      : sys_(sys), tail_(tail), kind_(kind), filterIndex_(filterIndex) {}

  void compute(PendingLine& p) const;

  // The line format of a line that needs no earlier line; False when the
  // line is skipped or stops the import.
  bool normalise(PendingLine& p) const;

 private:
  const ImportStartSystem& sys_;
  const ImportTail& tail_;
  const int kind_;
  const int filterIndex_;
};

}  // namespace orv
