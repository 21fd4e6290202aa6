#pragma once
// One run of the point-file import, as its steps: the preconditions, the
// preparation (start ellipsoid, Daten opened, the file opened), the reading
// loop one block at a time (skip rules, line formats, start branches, common
// tail), the end (geoid step, grid binding, report) and the failure.
//
// Speed: the file is read through a buffered reader in blocks of lines. What
// depends on the lines before (skip rules, line formats, the zone of a
// projected line, the user's zone code) is decided on the window thread in
// file order. Three blocks are under way at once: while the window thread
// reads a block, worker threads compute the rows of the block before it
// (with their texts already in the bytes the database stores), and a writer
// thread stores the block before that through one prepared insert, in one
// transaction that is committed after every block: a full disk undoes the
// open transaction, and the rows of the blocks before must stay. Between
// those commits Daten lacks its index of point numbers, which the end or the
// failure builds again; the job database is this program run's temporary
// file. The window thread leaves the database alone while the writer runs. The grid does not draw while reading, and the progress is
// drawn and window events let through at most a few times a second.
#include <QElapsedTimer>
#include <QString>
#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "foundation/BlockWorkers.h"
#include "foundation/FileIdentity.h"
#include "foundation/TextLineReader.h"
#include "io/ImportBlocks.h"
#include "io/ImportLineFormats.h"
#include "io/ImportStartBranches.h"
#include "platform/db/DeferredIndexes.h"
#include "platform/db/Recordset.h"
#include "platform/db/RowInsert.h"
#include "platform/db/RunTransaction.h"

namespace orv {

class FormOrvenil;
struct ProgramState;

class ImportRun {
 public:
  ImportRun(FormOrvenil& window, ProgramState& state);
  ImportRun(const ImportRun&) = delete;
  ImportRun& operator=(const ImportRun&) = delete;

  // Locks the window, prepares the start ellipsoid, opens Daten and the
  // file and reads the first blocks (Daten is emptied at the first row).
  void prepare();
  // Stores one block, computes the next and reads the one after; False when
  // the reading has ended (end of the file, the line cap, a line that stops
  // the import).
  bool readComputeStoreBlock();
  // Commits the rows, runs the geoid step, shows the rows and the report.
  void finish();
  // After an error: the rows stored before it stay committed (before the
  // first row the job stays as it was), the message names the line (an error
  // of the disk or of the file itself: the rows kept), and the window is
  // given back.
  void fail(const std::exception& error);
  // The user cancelled a question of the run. Without a row of the file
  // stored (replacedJob() False), the job's rows are as they were.
  bool cancelled() const { return cancelled_; }
  bool replacedJob() const { return replaced_; }

 private:
  void lockWindow();
  void keepJob();
  void prepareStartSystem();
  void prepareDaten();
  void replaceJobRows();
  void openDaten();
  void endReading();
  void readFirstBlocks();
  void computeBlock(LineBlock& block);
  void readBlock(LineBlock& block, size_t limit);
  bool readLine(LineBlock& block);
  bool readVesselHeader(QString& rawLine);
  bool nextFileLine(QString& rawLine);
  void compactEmptiedTable();
  void showReadProgress();
  void classifyLine(PendingLine& p);
  size_t prepareStore(LineBlock& block);
  void prepareRow(PendingLine& p);
  void showStartZone();
  void beginStoring(const PendingLine& first);
  void writeRows(const LineBlock& block, size_t end);
  void endAt(PendingLine& p);
  void stopThreads();
  qint64 storedRows();

  FormOrvenil& window_;
  ProgramState& state_;
  QString path_;      // the chosen file, as messages name it
  QString readPath_;  // the file read: the chosen one or its converted copy
  QString fileName_;  // the name the user chose (the file read may be its converted work copy)
  int filterIndex_ = 0;
  int kind_ = 0;

  ImportStartSystem sys_;
  ImportBranchState branch_;
  ImportTail tail_;
  ImportLineState lineState_;

  TextLineReader reader_;
  FileIdentity file_;  // the file as its first read found it, when it was chosen
  Recordset rs_;
  long counter_ = 0;      // lines read, the header of the first vessel format not counted
  long linesRead_ = 0;    // physical lines of the file read so far
  long fileLine_ = 0;     // physical line of the file that messages name
  bool stopped_ = false;  // a message already told why reading ended
  bool cancelled_ = false;
  bool replaced_ = false;  // the job's rows are deleted, the file's take their place
  // What the run shows or counts over the job's, given back on a cancel.
  QString jobTrafoPanel_;
  qint32 jobMkzDigit_ = 0;
  qint32 jobSkippedLines_ = 0;
  qint32 jobNameCounter_ = 0;
  bool readingDone_ = false;
  bool sawContent_ = false;  // a line not blank was read
  QElapsedTimer sinceProgress_;

  // The first row opens the one transaction of the import; the writer
  // thread stores through the insert, so the threads below end first.
  std::optional<RunTransaction> transaction_;
  std::optional<DeferredIndexes> deferredIndexes_;
  std::unique_ptr<RowInsert> insert_;
  const PendingLine* lastSeen_ = nullptr;  // the block's last line that was no skipped one
  size_t failedRow_ = 0;                   // the line of the row the database refused
  std::vector<size_t> groupLines_;         // the lines of the rows the insert holds, not stored yet

  // The blocks outlive the threads that fill and store them.
  std::array<LineBlock, 3> blocks_;
  LineBlock* toStore_ = &blocks_[0];
  LineBlock* toCompute_ = &blocks_[1];
  LineBlock* toRead_ = &blocks_[2];
  std::optional<RowComputer> computer_;
  BlockWorkers workers_;
  RowWriter writer_;
};

}  // namespace orv
