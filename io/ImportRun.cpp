#include "io/ImportRun.h"
#include "io/ImportWorkCopy.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "foundation/DialogService.h"
#include "foundation/FileIdentity.h"
#include "foundation/FileText.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "foundation/TypedNumber.h"
#include "geodesy/ZoneRules.h"
#include "io/ImportLimits.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/db/FieldType.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTextBox.h"
#include "shell/CoordinateDatabase.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"
#include "shell/SkipFailingStep.h"
#include "shell/ZoneReport.h"

namespace orv {

namespace {

constexpr qint64 kProgressIntervalMs = 200;
constexpr size_t kBlockLines = 8192;
constexpr size_t kFirstBlockLines = 1024;
// Rows stored by one statement: far less work per row than one each.
constexpr int kRowsPerInsert = 16;

void Critical(const QString& text) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
}

// An error of the disk or the database rather than of the file's lines.
bool IsStorageFault(const OrvenilError* error) {
  return error && (error->number() == kErrDiskFull || error->number() == kErrDeviceIoError ||
                   error->number() == kDbErrInUse);
}

QString FileAndLine(const QString& file, long line) {
  return QStringLiteral("Datei '") + file + QStringLiteral("', Zeile ") + QString::number(line) + QLatin1Char(':');
}

}  // namespace

ImportRun::ImportRun(FormOrvenil& window, ProgramState& state)
    : window_(window), state_(state), path_(state.ImportDatei), readPath_(ImportReadPath()) {
  filterIndex_ = window_.CommonDialog1.FilterIndex;
  kind_ = state_.StartAbbildungIndex;
  sys_.zoneEllipsoid = state_.ZonenEllipsoidStart;
  sys_.geographicFormat = state_.FormatEingabeGeographischIndex;
  sys_.vesselA = filterIndex_ == kFilterVesselA;
  branch_.askMkz = []() -> std::optional<QString> {
    const InputAnswer answer =
        Dialogs().inputBoxAnswer(QStringLiteral("Vorgabe der Meridiankennziffer\nim Startsystem ETRS89 (GRS1980)\n\n"
                                                "MKZ/Zone°: 31/3° - 32/9° - 33/15° - 34/21°"),
                                 QStringLiteral("Meridiankennziffer MKZ des Startsystems unbestimmt!"),
                                 QStringLiteral("33"));
    if (answer.cancelled) return std::nullopt;
    return answer.text;
  };
  tail_.wgsStart = state_.ZonenEllipsoidStart == QLatin1String("WGS1984");
  tail_.etrsStart = window_.Startsys->isSelected(0);
  const QString& chosen = window_.CommonDialog1.FileName;
  fileName_ = QFileInfo(chosen.isEmpty() ? path_ : chosen).fileName();
}

void ImportRun::prepare() {
  // The file as its first read found it (when it was chosen): a file cut or
  // written anew since is one changed while it was read.
  file_ = ImportReadIdentity();
  lockWindow();
  CheckImportFileUnchanged(file_);
  prepareStartSystem();
  prepareDaten();
  if (!reader_.open(readPath_)) throw OrvenilError(kErrFileNotFound, QStringLiteral("Datei nicht gefunden: ") + path_);
  sinceProgress_.start();
  computer_.emplace(sys_, tail_, kind_, filterIndex_);
  readFirstBlocks();
}

void ImportRun::lockWindow() {
  Dialogs().setBusy(true);
  jobTrafoPanel_ = window_.xpStatusBar1->PanelText(9);
  jobMkzDigit_ = state_.MKZZiffer;
  jobSkippedLines_ = state_.UeberleseneZeilen;
  jobNameCounter_ = state_.PunktnamenZaehler;
  window_.xpStatusBar1->SetPanelText(9, QString());
  window_.FormVisible(false);
  Dialogs().processEvents();
  state_.UeberleseneZeilen = 0;
  state_.PunktnamenZaehler = 0;
  state_.MKZZiffer = 0;
}

void ImportRun::prepareStartSystem() {
  ProgramState& s = state_;
  sys_.ellipsoid = MakeProjectedEllipsoid(s.StartA, s.StartF, s.StartK0);
  s.StartB = sys_.ellipsoid.b;
  s.StartE = sys_.ellipsoid.e;
  s.StartK0 = sys_.ellipsoid.k0;
  // The start-data dialog took the height only as a number whole (an empty box is 0).
  double height = 0;
  ReadTypedNumber(window_.orthoNäherungshöhe->Text(), height);
  sys_.approximateHeight = height;
}

// Counts the file's lines, opens Daten and holds the grid's drawing; the
// job's rows stay until the file's first row is stored.
void ImportRun::prepareDaten() {
  state_.AnzahlDatensaetze = std::max(1, CountFileLines(readPath_, 0));
  if (state_.AnzahlDatensaetze > kMaxImportLines) {
    Dialogs().messageBox(QStringLiteral("Es werden nur maximal 2 Millionen Punkte eingelesen!   "), MsgButtons::Ok,
                         MsgIcon::Information, kProgramTitle);
    state_.AnzahlDatensaetze = kMaxImportLines;
  }
  openDaten();
  if (FormStatus* status = ExistingStatusForm()) status->hide();
  window_.GridKooDb->SetRedraw(false);
}

// The job's rows go when the file's first row is stored (or the run ends
// without one), not before: a question the user cancels while the first
// lines are read leaves the job as it was. The emptied table is compacted.
void ImportRun::replaceJobRows() {
  if (replaced_) return;
  window_.xpStatusBar1->SetPanelText(6, QStringLiteral("Datenbank löschen   "));
  Dialogs().processEvents();
  // A delete refused (another program holds the database) leaves the job whole.
  state_.KooDb.execute(QStringLiteral("DELETE FROM Daten"));
  replaced_ = true;
  // The new job's target columns come from no run yet.
  ForgetTargetPositionsSystem(state_);
  state_.ZielsystemDaten.clear();
  window_.xpStatusBar1->SetPanelText(6, QStringLiteral("Datenbank erzeugen   "));
  window_.GridKooDb->ClearRows();
  compactEmptiedTable();
}

void ImportRun::openDaten() {
  state_.KooDb = DBEngine::openDatabase(state_.KooDbPfad);
  rs_ = state_.KooDb.openTable(QStringLiteral("Daten"));
  state_.KooDbDaten = rs_;
}

void ImportRun::endReading() {
  reader_.close();
  if (rs_.isSet() && rs_.isOpen() && rs_.editing()) rs_.cancelUpdate();
  if (state_.KooDb.isSet() && state_.KooDb.isOpen()) state_.KooDb.commit();
}

void ImportRun::computeBlock(LineBlock& block) {
  const RowComputer& computer = *computer_;
  workers_.start(block.used, [&computer, &block](size_t i) { computer.compute(block.lines[i]); });
}

void ImportRun::readFirstBlocks() {
  // Small first blocks let the writer start early.
  readBlock(*toStore_, kFirstBlockLines);
  computeBlock(*toStore_);
  workers_.join();
  toCompute_->used = 0;
  if (!readingDone_) readBlock(*toCompute_, kFirstBlockLines);
}

bool ImportRun::readComputeStoreBlock() {
  const size_t end = prepareStore(*toStore_);
  if (insert_) writer_.start([this, block = toStore_, end] { writeRows(*block, end); });
  if (!toCompute_->empty()) computeBlock(*toCompute_);
  toRead_->used = 0;
  if (!readingDone_ && end == toStore_->used) readBlock(*toRead_, kBlockLines);
  workers_.join();
  try {
    writer_.join();
  } catch (...) {
    state_.AktuelleZeile = toStore_->lines[failedRow_].line;
    fileLine_ = toStore_->lines[failedRow_].fileLine;
    throw;
  }
  if (end < toStore_->used) {
    endAt(toStore_->lines[end]);
    return false;
  }
  if (lastSeen_) {
    state_.AktuelleZeile = lastSeen_->line;
    fileLine_ = lastSeen_->fileLine;
  }
  if (toCompute_->empty()) return false;
  LineBlock* const stored = toStore_;
  toStore_ = toCompute_;
  toCompute_ = toRead_;
  toRead_ = stored;
  return true;
}

// Reads the next block of lines, in file order: skip rules, line formats,
// and for projected lines the format check and the zone. A block holds at
// most `limit` lines, skipped ones included, so that a file of many empty
// lines takes no more memory than one of as many points. Ends at the end
// of the file, at the line cap and at a line that stops the import. An error
// while reading a line stops the import at that line: the rows read before
// it are stored before the error is told.
void ImportRun::readBlock(LineBlock& block, size_t limit) {
  block.used = 0;
  while (!readingDone_ && block.used < limit) {
    const size_t before = block.used;
    try {
      if (!readLine(block)) break;
    } catch (...) {
      const bool added = block.used > before;
      PendingLine& p = added ? block.lines[block.used - 1] : block.add();
      if (!added) {  // the line itself could not be read
        p.counter = counter_;
        p.fileLine = fileLine_;
        p.raw.clear();
      }
      p.line = p.raw;
      p.kind = PendingLine::Kind::Stop;
      p.failure = std::current_exception();
      readingDone_ = true;
    }
  }
}

// Reads one line into the block; False when the reading ends before it.
bool ImportRun::readLine(LineBlock& block) {
  QString rawLine;
  if (!nextFileLine(rawLine)) return false;
  if (counter_ == 0 && filterIndex_ == kFilterVesselA && !readVesselHeader(rawLine)) return false;
  ++counter_;
  state_.AktuelleZeile = rawLine;
  if (counter_ > kMaxImportLines) {
    Dialogs().messageBox(QStringLiteral("Maximale Datenbankgröße mit 2 Millionen Punkten erreicht!   \n"
                                        "Abbruch Einlesen!   "),
                         MsgButtons::Ok, MsgIcon::Exclamation, kProgramTitle);
    readingDone_ = true;
    return false;
  }
  PendingLine& p = block.add();
  p.counter = counter_;
  p.fileLine = fileLine_;
  p.raw = rawLine;
  if (IsEmptyRow(rawLine)) {
    p.kind = PendingLine::Kind::Skipped;
    p.counted = true;
    return true;
  }
  sawContent_ = true;
  if (rawLine.contains(QLatin1String("custom_coords"))) {
    lineState_.customCoords = true;
    p.kind = PendingLine::Kind::Skipped;
    p.counted = true;
    return true;
  }
  showReadProgress();
  p.line = rawLine;
  classifyLine(p);
  return true;
}

// The first line of the first vessel format names its columns. False when
// the file holds the header alone (no points).
bool ImportRun::readVesselHeader(QString& rawLine) {
  state_.ImportKopfzeile = rawLine;
  if (GetToken(rawLine, 1, QStringLiteral(";")).remove(u'"') != QLatin1String("Zeit"))
    Dialogs().messageBox(QStringLiteral("0.Zeile: \n\n") + LineForMessage(rawLine) + QStringLiteral("\n\nBitte Daten prüfen!"),
                         MsgButtons::Ok, MsgIcon::Information, window_.windowTitle());
  return nextFileLine(rawLine);
}

// The next line of the file; False at its end. A file that changed while it
// was read (cut, or written anew) ends the import with an error: a last line
// without its line end may be cut, and the file is not whole.
bool ImportRun::nextFileLine(QString& rawLine) {
  fileLine_ = linesRead_ + 1;
  if (!reader_.readLine(rawLine)) {
    readingDone_ = true;
    if (file_.changed(reader_.position())) ThrowFileChangedWhileRead(path_);
    return false;
  }
  if (!reader_.lineEnded() && file_.changed(reader_.position())) ThrowFileChangedWhileRead(path_);
  ++linesRead_;
  return true;
}

// The emptied table is compacted once, before the first row is written.
void ImportRun::compactEmptiedTable() {
  rs_.close();
  window_.xpStatusBar1->SetPanelText(6, QStringLiteral("MDB-Komprimierung...  "));
  state_.KooDb.close();
  CompactDatabaseFile(state_.KooDbPfad);
  openDaten();
  window_.xpStatusBar1->SetPanelText(6, QString());
}

void ImportRun::showReadProgress() {
  if (counter_ % 1000 == 0)
    window_.xpStatusBar1->SetPanelText(
        6, QStringLiteral("Zeile: ") + QString::number(counter_) + QStringLiteral(" eingelesen   "));
  if (counter_ == 1 || sinceProgress_.elapsed() >= kProgressIntervalMs) {
    ShowProgress(static_cast<int>(counter_), 0, state_.AnzahlDatensaetze, true, QStringLiteral(" Zeilen eingelesen..."));
    Dialogs().processEvents();
    sinceProgress_.restart();
  }
}

// The line format of a line, and for projected lines its zone; a line that
// stops the import ends the reading.
void ImportRun::classifyLine(PendingLine& p) {
  // Lines of geographic and geocentric coordinates in a format that
  // needs no earlier line are left to the workers.
  if (kind_ != 0 && FormatNeedsNoEarlierLine(filterIndex_)) {
    p.normaliseLater = true;
    return;
  }
  QString refusal;
  const LineDecision decision = NormaliseImportLine(p.line, filterIndex_, lineState_, fileName_, &refusal);
  if (decision == LineDecision::Refuse) {
    p.result = {BranchOutcome::BadLine, refusal};
    p.kind = PendingLine::Kind::Stop;
    readingDone_ = true;
    return;
  }
  if (decision != LineDecision::Use) {
    p.kind = PendingLine::Kind::Skipped;
    p.counted = decision == LineDecision::SkipCounted;
    return;
  }
  state_.AktuelleZeile = p.line;
  if (kind_ == 0) {
    // An error here (a zone code that is no number) ends the import
    // after the rows before this line are stored.
    try {
      p.result = DecideProjectedZone(p.line, sys_, branch_);
    } catch (const OrvenilError& e) {
      p.error = e.description();
    }
    p.meridian = branch_.meridian;
    if (p.result.outcome != BranchOutcome::Filled || !p.error.isEmpty()) p.kind = PendingLine::Kind::Stop;
  }
  if (p.kind == PendingLine::Kind::Stop) readingDone_ = true;
}

// What a computed block needs in file order before its rows are stored:
// the count of skipped lines, the names of vessel points, the zone of the
// last row. The index of the first line that ends the import, or the
// block's size; the rows before it are marked for storing.
size_t ImportRun::prepareStore(LineBlock& block) {
  lastSeen_ = nullptr;
  for (size_t i = 0; i < block.used; ++i) {
    PendingLine& p = block.lines[i];
    if (p.kind == PendingLine::Kind::Skipped) {
      if (p.counted) ++state_.UeberleseneZeilen;
      continue;
    }
    lastSeen_ = &p;
    if (!p.error.isEmpty() || p.failure) return i;
    if (kind_ < 0 || kind_ > 2) continue;  // no branch for this kind of coordinates
    if (p.kind == PendingLine::Kind::Stop || p.result.outcome != BranchOutcome::Filled) return i;
    try {
      prepareRow(p);
    } catch (...) {
      // The rows before this one are stored all the same.
      p.kind = PendingLine::Kind::Stop;
      p.failure = std::current_exception();
      return i;
    }
  }
  return block.used;
}

// A computed row in file order: its vessel name, the zone shown, and the
// one transaction of the import begun at the first row.
void ImportRun::prepareRow(PendingLine& p) {
  ImportRow& row = p.row;
  if (sys_.vesselA) {
    NameVesselPoint(row, branch_);
    EncodeRow(p);
  }
  state_.StartMeridian = row.meridian;
  state_.StartFalseEasting = row.falseEasting;
  if (p.counter == 1) showStartZone();
  if (!insert_) beginStoring(p);
  p.store = true;
}

void ImportRun::showStartZone() {
  VbStatusBar* bar = window_.xpStatusBar1;
  bar->SetPanelText(3, QStringLiteral("Zone: ") + TrimBlanks(NumberText(state_.StartMeridian)) + QStringLiteral("  "));
  bar->SetPanelText(4, QStringLiteral("Maßstab: ") + NumberText(state_.StartK0) + QStringLiteral("  "));
  bar->SetPanelText(5, QStringLiteral("K0: ") + NumberText(state_.StartFalseEasting) + QStringLiteral("m  "));
  for (int panel = 6; panel <= 8; ++panel) bar->SetPanelText(panel, QString());
  if (tail_.wgsStart) {
    bar->SetPanelText(3, QStringLiteral("Zone: "));
    bar->SetPanelText(4, QStringLiteral("Maßstab: "));
    bar->SetPanelText(5, QStringLiteral("K0: "));
  }
}

// The first row: the whole import goes into one transaction, and the index
// of point numbers is built once at its end.
void ImportRun::beginStoring(const PendingLine& first) {
  replaceJobRows();
  state_.AktuelleZeile = first.line;
  fileLine_ = first.fileLine;
  transaction_.emplace(state_.KooDb);
  deferredIndexes_.emplace(state_.KooDb, QStringLiteral("Daten"));
  insert_ = std::make_unique<RowInsert>(state_.KooDb, QStringLiteral("Daten"), DatenColumnNames(), kRowsPerInsert);
}

// Stores the marked rows of a block, in file order (on the writer thread).
// A row the database refuses ends the storing; the rows before it are
// stored, and failedRow_ names it.
void ImportRun::writeRows(const LineBlock& block, size_t end) {
  groupLines_.clear();  // the lines of the rows added and not stored yet
  try {
    for (size_t i = 0; i < end; ++i) {
      // The rows come from other threads' caches; fetch ahead.
      if (i + 2 < end) PrefetchRow(block.lines[i + 2]);
      if (!block.lines[i].store) continue;
      groupLines_.push_back(i);
      StoreRow(*insert_, block.lines[i]);
      if (insert_->pendingRows() == 0) groupLines_.clear();
    }
    // The rows' texts are the block's: all are stored before it is used again.
    insert_->flush();
    // A full disk undoes the whole open transaction: the rows of the blocks
    // before stay.
    transaction_->commitSoFar();
  } catch (...) {
    const auto refused = static_cast<size_t>(insert_->refusedRow());
    failedRow_ = groupLines_.empty() ? 0 : groupLines_[std::min(refused, groupLines_.size() - 1)];
    throw;
  }
}

// The line that ends the import: its error goes on as an exception, or its
// message is shown.
void ImportRun::endAt(PendingLine& p) {
  state_.AktuelleZeile = p.line;
  fileLine_ = p.fileLine;
  if (p.failure) std::rethrow_exception(p.failure);
  if (!p.error.isEmpty()) throw OrvenilError(kErrTypeMismatch, p.error);
  window_.GridKooDb->SetRedraw(true);
  window_.GridKooDb->Refresh();
  stopped_ = true;
  // A cancelled question is no fault of the file.
  if (p.result.outcome == BranchOutcome::Cancelled) {
    cancelled_ = true;
    return;
  }
  if (p.result.outcome == BranchOutcome::BadLine) {
    // A decimal comma is the likeliest cause in a file from a spreadsheet: say so.
    QString reason = p.result.reason;
    if (const QString comma = ReadsDecimalPointOnly(filterIndex_) ? DecimalCommaReason(p.line) : QString();
        !comma.isEmpty())
      reason += QLatin1Char('\n') + comma;
    Critical(QStringLiteral("Format ungültig!\n") + FileAndLine(path_, p.fileLine) + QLatin1Char('\n') + LineForMessage(p.line) +
             QLatin1Char('\n') + reason + QStringLiteral("\nAuswahl Punktcode beachten!\nAbbruch!"));
  }
  else if (p.result.outcome == BranchOutcome::InvalidZone)
    ReportInvalidZone(FileAndLine(path_, p.fileLine) + QLatin1Char('\n') + LineForMessage(p.line));
  else
    Critical(QStringLiteral("Zone bzw. Koordinatensystem ungültig!\n") + FileAndLine(path_, p.fileLine) +
             QLatin1Char('\n') + LineForMessage(p.line) + QStringLiteral("\nKeine Zone für diesen Punkt bestimmbar! Abbruch!"));
}

// No row of the file was stored: the job's rows, its grid and what the run
// showed or counted over them are as they were.
void ImportRun::keepJob() {
  SkipFailingStep("Import: Datei schließen", [&] { endReading(); });
  SkipFailingStep("Import: KooDbDaten schließen", [&] { rs_.close(); });
  window_.xpStatusBar1->SetPanelText(9, jobTrafoPanel_);
  state_.MKZZiffer = jobMkzDigit_;
  state_.UeberleseneZeilen = jobSkippedLines_;
  state_.PunktnamenZaehler = jobNameCounter_;
  // The grid is drawn anew where its drawing was held; a grid never held shows
  // the job as it is (and reads nothing from a database another program holds).
  if (!window_.GridKooDb->Redraw()) {
    window_.GridKooDb->SetRedraw(true);
    window_.GridKooDb->Refresh();
  }
  SkipFailingStep("Import: HideBusyWindow", [&] { window_.HideBusyWindow(); });
  window_.FormVisible(true);
  Dialogs().setBusy(false);
  window_.xpStatusBar1->SetPanelText(6, QString());
}

void ImportRun::finish() {
  if (!replaced_) {
    // A file that stores no row leaves the job loaded: it says why.
    const qint32 skipped = state_.UeberleseneZeilen;
    keepJob();
    if (cancelled_ || stopped_) return;
    if (skipped > 0 && sawContent_)
      Dialogs().messageBox(QString::number(skipped) +
                               QStringLiteral(" Zeilen mit fehlerhaften Koordinaten überlesen!   \n"
                                              "Bitte prüfen Sie Ihre Daten!   "),
                           MsgButtons::Ok, MsgIcon::Information, window_.windowTitle());
    else
      Dialogs().messageBox(QStringLiteral("Die Datei '") + path_ + QStringLiteral("' enthält keine Punkte!   "),
                           MsgButtons::Ok, MsgIcon::Information, window_.windowTitle());
    return;
  }
  insert_.reset();
  if (deferredIndexes_) deferredIndexes_->rebuild();
  deferredIndexes_.reset();
  if (transaction_) transaction_->commit();
  transaction_.reset();
  state_.MKZZiffer = branch_.mkzDigit;
  state_.PunktnamenZaehler = branch_.nameCounter;

  endReading();
  if (state_.GeoidBereit) window_.RunImportGeoidStep();
  window_.BindImportedRows(true);
  window_.HideBusyWindow();
  window_.FormVisible(true);
  const qint64 stored = rs_.recordCount();
  rs_.close();
  Dialogs().setBusy(false);
  window_.xpStatusBar1->SetPanelText(6, QString());
  if (state_.UeberleseneZeilen > 0) {
    Dialogs().messageBox(QString::number(state_.UeberleseneZeilen) +
                             QStringLiteral(" Zeilen mit fehlerhaften Koordinaten überlesen!   \n"
                                            "Bitte prüfen Sie Ihre Daten!   "),
                         MsgButtons::Ok, MsgIcon::Information, window_.windowTitle());
  } else if (stored == 0 && !stopped_) {
    Dialogs().messageBox(QStringLiteral("Die Datei '") + path_ + QStringLiteral("' enthält keine Punkte!   "),
                         MsgButtons::Ok, MsgIcon::Information, window_.windowTitle());
  }
}

// The threads of the blocks under way end before the insert they use.
void ImportRun::stopThreads() {
  SkipFailingStep("Import: Rechnen beenden", [&] { workers_.join(); });
  SkipFailingStep("Import: Schreiben beenden", [&] { writer_.join(); });
}

void ImportRun::fail(const std::exception& error) {
  const auto* known = dynamic_cast<const OrvenilError*>(&error);
  const QString description = known ? known->description() : QString::fromUtf8(error.what());
  stopThreads();
  // The rows stored before the error stay, with their indexes.
  insert_.reset();
  deferredIndexes_.reset();
  transaction_.reset();
  if (!replaced_) {
    // An error before the first row: the job stays.
    keepJob();
  } else {
    SkipFailingStep("Import: Datei schließen", [&] { endReading(); });
  }
  if (known && known->number() == kDbErrInUse && !replaced_)
    Critical(QStringLiteral("Fehler: ") + description +
             QStringLiteral("\nDie Punkte des Auftrags bleiben, wie sie waren.\nAbbruch!"));
  else if (IsStorageFault(known))
    Critical(QStringLiteral("Fehler: ") + description + QLatin1Char('\n') + QString::number(storedRows()) +
             QStringLiteral(" Punkte der Datei '") + path_ + QStringLiteral("' sind gespeichert.\nAbbruch!"));
  else
    Critical(QStringLiteral("Fehler: ") + description + QStringLiteral(" Bitte prüfen Sie Ihre Daten!\n") +
             FileAndLine(path_, fileLine_) + QLatin1Char('\n') + LineForMessage(state_.AktuelleZeile) +
             QStringLiteral("\nAbbruch!"));
  if (!replaced_) return;
  SkipFailingStep("Import: HideBusyWindow", [&] { window_.HideBusyWindow(); });
  SkipFailingStep("Import: FormVisible", [&] { window_.FormVisible(true); });
  SkipFailingStep("Import: Tabelle anzeigen", [&] { window_.BindImportedRows(false); });
  SkipFailingStep("Import: KooDbDaten schließen", [&] { rs_.close(); });
  Dialogs().setBusy(false);
  SkipFailingStep("Import: Statusleiste", [&] { window_.xpStatusBar1->SetPanelText(6, QString()); });
}

// The rows of the file Daten holds now; 0 when that cannot be read.
qint64 ImportRun::storedRows() {
  qint64 rows = 0;
  if (!replaced_) return rows;  // Daten holds the job's rows
  SkipFailingStep("Import: Punkte zählen", [&] {
    Recordset count = state_.KooDb.openSql(QStringLiteral("SELECT count(*) FROM Daten"));
    rows = count.value(0).toLong();
    count.close();
  });
  return rows;
}

}  // namespace orv
