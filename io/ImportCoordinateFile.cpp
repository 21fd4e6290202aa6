// The point-file import run: preconditions, preparation of the start
// ellipsoid and of Daten, the reading loop (skip rules, line formats, start
// branches, common tail), the geoid step and the grid binding at the end.
//
// Speed: the file is read through a buffered reader in blocks of lines. What
// depends on the lines before (skip rules, line formats, the zone of a
// projected line, the user's zone code) is decided on the window thread in
// file order. Three blocks are under way at once: while the window thread
// reads a block, worker threads compute the rows of the block before it
// (with their texts already in the bytes the database stores), and a writer
// thread stores the block before that through one prepared insert, all in
// one transaction. The window thread leaves the database alone while the
// writer runs. The grid does not draw while reading, and the progress is
// drawn and window events let through at most a few times a second.
#include <QElapsedTimer>
#include <array>
#include <cmath>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include "foundation/BlockWorkers.h"
#include "foundation/DialogService.h"
#include "foundation/FileText.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "shell/ProgramState.h"
#include "platform/ui/ProgressWindow.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextTokens.h"
#include "geodesy/ZoneRules.h"
#include "io/ImportGridColumns.h"
#include "io/ImportLineFormats.h"
#include "io/ImportStartBranches.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/db/DeferredIndexes.h"
#include "platform/db/RowInsert.h"
#include "platform/db/RunTransaction.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTextBox.h"
#include "shell/CoordinateDatabase.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramVersion.h"
#include "shell/SkipFailingStep.h"

namespace orv {

namespace {

constexpr long kMaxImportLines = 2000000;
constexpr qint64 kProgressIntervalMs = 200;

void Critical(const QString& text) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
}

QString FileAndLine(const QString& file, long line) {
  return QStringLiteral("Datei '") + file + QStringLiteral("', Zeile ") + QString::number(line) + QLatin1Char(':');
}

// True when the bytes hold characters beyond ASCII that are valid UTF-8
// sequences (a block cut in the middle of a sequence still counts).
bool IsUtf8WithLetters(const QByteArray& bytes) {
  bool multibyte = false;
  for (qsizetype i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const int follow = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (follow < 0 || (follow == 1 && c < 0xC2)) return false;
    for (int k = 1; k <= follow; ++k) {
      if (i + k >= bytes.size()) return multibyte || follow > 0;
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    multibyte = multibyte || follow > 0;
    i += 1 + follow;
  }
  return multibyte;
}

// Why the file cannot be imported at all; "" when it can be read as text.
QString UnreadableFileReason(const QString& path) {
  QFile f(path);
  if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly))
    return QStringLiteral("Die Datei '") + path + QStringLiteral("' kann nicht gelesen werden! Abbruch!");
  const QByteArray head = f.read(1 << 16);
  if (head.contains('\0'))
    return QStringLiteral("Die Datei '") + path +
           QStringLiteral("' ist keine Textdatei (sie enthält Binärdaten)! Abbruch!");
  // UTF-8 letters would be read as two Windows-1252 characters each.
  if (IsUtf8WithLetters(head))
    return QStringLiteral("Die Datei '") + path +
           QStringLiteral("' ist UTF-8-kodiert; eingelesen werden Textdateien in Windows-1252 (ANSI)! Abbruch!");
  return QString();
}

constexpr size_t kBlockLines = 8192;
constexpr size_t kFirstBlockLines = 1024;
// Rows stored by one statement: far less work per row than one each.
constexpr int kRowsPerInsert = 16;
// The Geograf, PBLH TAB and first vessel formats treat every line alone; the
// csv format remembers "custom_coords", the second vessel format its first line.
bool FormatNeedsNoEarlierLine(int filterIndex) {
  return (filterIndex >= 1 && filterIndex <= 4) || filterIndex == 6 || filterIndex == kFilterVesselA;
}

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
  bool store = false;    // a row to store (decided in file order before storing)
  // The written texts of the row as stored, one column after another: the
  // bytes of column c end at textEnd[c]. utf16: a text with surrogates,
  // all texts of the row go as they are.
  std::string bytes;
  std::array<uint32_t, kDatenColumnCount> textEnd{};
  bool utf16 = false;
};

// The row's texts in the bytes the database stores.
void EncodeRow(PendingLine& p) {
  p.bytes.clear();
  p.utf16 = false;
  for (int c = 0; c < kDatenColumnCount; ++c) {
    if (c != kId && p.row.written[static_cast<size_t>(c)] && !p.utf16)
      p.utf16 = !RowInsert::AppendStoredUtf8(p.row.at(c), p.bytes);
    p.textEnd[static_cast<size_t>(c)] = static_cast<uint32_t>(p.bytes.size());
  }
}

// Adds a row to the insert: its line counter as id, the written columns (the
// columns of the insert are Daten's in their order), the others Null.
void StoreRow(RowInsert& insert, const PendingLine& p) {
  insert.bindInteger(kId, p.counter);
  uint32_t begin = 0;
  for (int c = 0; c < kDatenColumnCount; ++c) {
    const uint32_t end = p.textEnd[static_cast<size_t>(c)];
    if (c != kId && p.row.written[static_cast<size_t>(c)]) {
      if (p.utf16) insert.bindText16(c, p.row.at(c));
      else insert.bindText(c, QByteArrayView(p.bytes.data() + begin, end - begin));
    }
    begin = end;
  }
  insert.add();
}

// Asks the processor to bring a row's texts into the cache.
void PrefetchRow(const PendingLine& p) {
  const char* bytes = p.bytes.data();
  for (size_t k = 0; k < p.bytes.size(); k += 64) __builtin_prefetch(bytes + k);
  const char* ends = reinterpret_cast<const char*>(p.textEnd.data());
  for (size_t k = 0; k < sizeof p.textEnd; k += 64) __builtin_prefetch(ends + k);
}

// Runs one piece of work on its own thread; join() passes on its exception.
class RowWriter {
 public:
  RowWriter() = default;
  ~RowWriter() {
    if (thread_.joinable()) thread_.join();
  }
  RowWriter(const RowWriter&) = delete;
  RowWriter& operator=(const RowWriter&) = delete;
  void start(std::function<void()> work) {
    join();
    thread_ = std::thread([this, work = std::move(work)] {
      try {
        work();
      } catch (...) {
        error_ = std::current_exception();
      }
    });
  }
  void join() {
    if (thread_.joinable()) thread_.join();
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
  }

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
  PendingLine& add() {
    if (used == lines.size()) lines.emplace_back();
    PendingLine& p = lines[used++];
    p.kind = PendingLine::Kind::Row;
    p.counted = false;
    p.normaliseLater = false;
    p.meridian = 0;
    p.store = false;
    p.result = BranchResult();
    p.error.clear();
    p.line.clear();
    return p;
  }
  bool empty() const { return used == 0; }
};

// Computes the row of a line; called on worker threads, one line each.
class RowComputer {
 public:
  RowComputer(const ImportStartSystem& sys, const ImportTail& tail, int kind, int filterIndex)
      : sys_(sys), tail_(tail), kind_(kind), filterIndex_(filterIndex) {}

  void compute(PendingLine& p) const {
    if (p.kind != PendingLine::Kind::Row) return;
    try {
      if (p.normaliseLater && !normalise(p)) return;
      p.row.reset();
      if (kind_ == 0)
        p.result = ImportProjectedLine(p.line, sys_, p.meridian, p.row);
      else if (kind_ == 1)
        p.result = ImportGeocentricLine(p.line, sys_, p.row);
      else if (kind_ == 2)
        p.result = ImportGeographicLine(p.line, p.raw, sys_, p.row);
      if (p.result.outcome == BranchOutcome::Filled) {
        CompleteImportRow(p.row, tail_);
        // A row of the first vessel format is named in file order first.
        if (!sys_.vesselA) EncodeRow(p);
      }
    } catch (const OrvenilError& e) {
      p.error = e.description();
    } catch (const std::exception& e) {
      p.error = QString::fromUtf8(e.what());
    }
  }

  // The line format of a line that needs no earlier line; False when the
  // line is skipped or stops the import.
  bool normalise(PendingLine& p) const {
    ImportLineState unused;
    const LineDecision decision = NormaliseImportLine(p.line, filterIndex_, unused, QString());
    if (decision != LineDecision::Use) {
      p.kind = PendingLine::Kind::Skipped;
      p.counted = decision == LineDecision::SkipCounted;
      return false;
    }
    return true;
  }

  const ImportStartSystem& sys_;
  const ImportTail& tail_;
  const int kind_;
  const int filterIndex_;
};

}  // namespace

void FormOrvenil::ImportCoordinateFile() {
  ProgramState& state = State();
  if (!state.ImportDateiGewaehlt) return;
  if (state.ImportDatei.isEmpty()) {
    Critical(QStringLiteral("Datei fehlt! Abbruch!"));
    return;
  }
  if (state.StartA == 0) {
    Critical(QStringLiteral("Systemparameter fehlen! Abbruch1!"));
    return;
  }
  const QString path = state.ImportDatei;
  if (const QString reason = UnreadableFileReason(path); !reason.isEmpty()) {
    Critical(reason);
    return;
  }

  Dialogs().setBusy(true);
  xpStatusBar1->SetPanelText(9, QString());
  FormVisible(false);
  Dialogs().processEvents();
  state.UeberleseneZeilen = 0;
  state.PunktnamenZaehler = 0;
  state.MKZZiffer = 0;

  // Start ellipsoid (filled inside the run's error handling below).
  ImportStartSystem sys;
  const auto prepareStartSystem = [&] {
    state.StartB = (1 - state.StartF) * state.StartA;
    state.StartE =
        std::sqrt((state.StartA * state.StartA - state.StartB * state.StartB) / (state.StartA * state.StartA));
    if (Val(NumberText(state.StartK0)) == 0) state.StartK0 = 1.0;
    sys.a = state.StartA;
    sys.b = state.StartB;
    sys.e = state.StartE;
    sys.k0 = state.StartK0;
    sys.r = MeridianbogenKoeffizienten(state.StartA, state.StartE);
    sys.approximateHeight = Val(orthoNäherungshöhe->Text());
  };
  sys.zoneEllipsoid = state.ZonenEllipsoidStart;
  sys.geographicFormat = state.FormatEingabeGeographischIndex;
  const int filterIndex = CommonDialog1.FilterIndex;
  sys.vesselA = filterIndex == kFilterVesselA;
  const int kind = state.StartAbbildungIndex;

  ImportBranchState branch;
  branch.meridian = state.StartMeridian;
  branch.askMkz = [] {
    return Dialogs().inputBox(QStringLiteral("Vorgabe der Meridiankennziffer\nim Startsystem ETRS89 (GRS1980)\n\n"
                                             "MKZ/Zone°: 31/3° - 32/9° - 33/15° - 34/21°"),
                              QStringLiteral("Meridiankennziffer MKZ des Startsystems unbestimmt!"),
                              QStringLiteral("33"));
  };
  ImportTail tail;
  tail.wgsStart = state.ZonenEllipsoidStart == QLatin1String("WGS1984");
  tail.etrsStart = Startsys->isSelected(0);
  ImportLineState lineState;
  // The name the user chose (the file read may be its converted work copy).
  const QString fileName = QFileInfo(CommonDialog1.FileName.isEmpty() ? path : CommonDialog1.FileName).fileName();

  TextLineReader reader;
  Recordset rs;
  long counter = 0;      // lines read, the header of the first vessel format not counted
  long linesRead = 0;    // physical lines of the file read so far
  long fileLine = 0;     // physical line of the file that messages name
  bool stopped = false;  // a message already told why reading ended
  bool readingDone = false;
  const QStringList& columns = DatenColumnNames();
  const auto openDaten = [&] {
    state.KooDb = DBEngine::openDatabase(state.KooDbPfad);
    rs = state.KooDb.openTable(QStringLiteral("Daten"));
    state.KooDbDaten = rs;
  };
  const auto endReading = [&] {
    reader.close();
    if (rs.isSet() && rs.isOpen() && rs.editing()) rs.cancelUpdate();
    if (state.KooDb.isSet() && state.KooDb.isOpen()) state.KooDb.commit();
  };
  QElapsedTimer sinceProgress;

  // Reads the next block of lines, in file order: skip rules, line formats,
  // and for projected lines the format check and the zone. Ends at the end
  // of the file, at the line cap and at a line that stops the import.
  const auto readBlock = [&](LineBlock& block, size_t limit) {
    block.used = 0;
    QString rawLine;
    size_t rows = 0;
    while (!readingDone && rows < limit) {
      if (!reader.readLine(rawLine)) {
        readingDone = true;
        break;
      }
      fileLine = ++linesRead;
      if (counter == 0 && filterIndex == kFilterVesselA) {
        // The first line of the first vessel format names its columns.
        state.ImportKopfzeile = rawLine;
        if (GetToken(rawLine, 1, QStringLiteral(";")).remove(u'"') != QLatin1String("Zeit"))
          Dialogs().messageBox(QStringLiteral("0.Zeile: \n\n") + rawLine + QStringLiteral("\n\nBitte Daten prüfen!"),
                               MsgButtons::Ok, MsgIcon::Information, windowTitle());
        if (!reader.readLine(rawLine)) {  // a header alone: no points
          readingDone = true;
          break;
        }
        fileLine = ++linesRead;
      }
      ++counter;
      state.AktuelleZeile = rawLine;
      if (counter > kMaxImportLines) {
        Dialogs().messageBox(QStringLiteral("Maximale Datenbankgröße mit 2 Millionen Punkten erreicht!   \n"
                                            "Abbruch Einlesen!   "),
                             MsgButtons::Ok, MsgIcon::Exclamation, kProgramTitle);
        readingDone = true;
        break;
      }
      if (counter == 1) {
        // The emptied table is compacted once, before the first row is written.
        rs.close();
        xpStatusBar1->SetPanelText(6, QStringLiteral("MDB-Komprimierung...  "));
        state.KooDb.close();
        CompactDatabaseFile(state.KooDbPfad);
        openDaten();
        xpStatusBar1->SetPanelText(6, QString());
      }
      PendingLine& p = block.add();
      p.counter = counter;
      p.fileLine = fileLine;
      p.raw = rawLine;
      if (TrimBlanks(rawLine).isEmpty()) {
        p.kind = PendingLine::Kind::Skipped;
        p.counted = true;
        continue;
      }
      if (rawLine.contains(QLatin1String("custom_coords"))) {
        lineState.customCoords = true;
        p.kind = PendingLine::Kind::Skipped;
        p.counted = true;
        continue;
      }
      if (counter % 1000 == 0)
        xpStatusBar1->SetPanelText(6, QStringLiteral("Zeile: ") + QString::number(counter) + QStringLiteral(" eingelesen   "));
      if (counter == 1 || sinceProgress.elapsed() >= kProgressIntervalMs) {
        ShowProgress(static_cast<int>(counter), 0, state.AnzahlDatensaetze, true, QStringLiteral(" Zeilen eingelesen..."));
        Dialogs().processEvents();
        sinceProgress.restart();
      }
      p.line = rawLine;
      // Lines of geographic and geocentric coordinates in a format that
      // needs no earlier line are left to the workers.
      if (kind != 0 && FormatNeedsNoEarlierLine(filterIndex)) {
        p.normaliseLater = true;
        ++rows;
        continue;
      }
      const LineDecision decision = NormaliseImportLine(p.line, filterIndex, lineState, fileName);
      if (decision != LineDecision::Use) {
        p.kind = PendingLine::Kind::Skipped;
        p.counted = decision == LineDecision::SkipCounted;
        continue;
      }
      state.AktuelleZeile = p.line;
      if (kind == 0) {
        // An error here (a zone code that is no number) ends the import
        // after the rows before this line are stored.
        try {
          p.result = DecideProjectedZone(p.line, sys, branch);
        } catch (const OrvenilError& e) {
          p.error = e.description();
        }
        p.meridian = branch.meridian;
        if (p.result.outcome != BranchOutcome::Filled || !p.error.isEmpty()) p.kind = PendingLine::Kind::Stop;
      }
      if (p.kind == PendingLine::Kind::Stop) readingDone = true;
      ++rows;
    }
  };

  // What a computed block needs in file order before its rows are stored:
  // the count of skipped lines, the names of vessel points, the zone of the
  // last row. The index of the first line that ends the import, or the
  // block's size; the rows before it are marked for storing.
  std::optional<RunTransaction> transaction;
  std::optional<DeferredIndexes> deferredIndexes;
  std::unique_ptr<RowInsert> insert;
  const PendingLine* lastSeen = nullptr;  // the block's last line that was no skipped one
  const auto prepareStore = [&](LineBlock& block) {
    lastSeen = nullptr;
    for (size_t i = 0; i < block.used; ++i) {
      PendingLine& p = block.lines[i];
      if (p.kind == PendingLine::Kind::Skipped) {
        if (p.counted) ++state.UeberleseneZeilen;
        continue;
      }
      lastSeen = &p;
      if (!p.error.isEmpty()) return i;
      if (kind < 0 || kind > 2) continue;  // no branch for this kind of coordinates
      if (p.kind == PendingLine::Kind::Stop || p.result.outcome != BranchOutcome::Filled) return i;
      ImportRow& row = p.row;
      if (sys.vesselA) {
        NameVesselPoint(row, branch);
        EncodeRow(p);
      }
      state.StartMeridian = row.meridian;
      state.StartFalseEasting = row.falseEasting;
      if (p.counter == 1) {
        xpStatusBar1->SetPanelText(3, QStringLiteral("Zone: ") + TrimBlanks(NumberText(state.StartMeridian)) + QStringLiteral("  "));
        xpStatusBar1->SetPanelText(4, QStringLiteral("Maßstab: ") + NumberText(state.StartK0) + QStringLiteral("  "));
        xpStatusBar1->SetPanelText(5, QStringLiteral("K0: ") + NumberText(state.StartFalseEasting) + QStringLiteral("m  "));
        for (int panel = 6; panel <= 8; ++panel) xpStatusBar1->SetPanelText(panel, QString());
        if (tail.wgsStart) {
          xpStatusBar1->SetPanelText(3, QStringLiteral("Zone: "));
          xpStatusBar1->SetPanelText(4, QStringLiteral("Maßstab: "));
          xpStatusBar1->SetPanelText(5, QStringLiteral("K0: "));
        }
      }
      if (!insert) {
        // The first row: the whole import goes into one transaction, and
        // the index of point numbers is built once at its end.
        state.AktuelleZeile = p.line;
        fileLine = p.fileLine;
        transaction.emplace(state.KooDb);
        deferredIndexes.emplace(state.KooDb, QStringLiteral("Daten"));
        insert = std::make_unique<RowInsert>(state.KooDb, QStringLiteral("Daten"), columns, kRowsPerInsert);
      }
      p.store = true;
    }
    return block.used;
  };

  // Stores the marked rows of a block, in file order (on the writer thread).
  size_t failedRow = 0;
  const auto writeRows = [&](const LineBlock& block, size_t end) {
    for (size_t i = 0; i < end; ++i) {
      // The rows come from other threads' caches; fetch ahead.
      if (i + 2 < end) PrefetchRow(block.lines[i + 2]);
      if (!block.lines[i].store) continue;
      failedRow = i;
      StoreRow(*insert, block.lines[i]);
    }
    // The rows' texts are the block's: all are stored before it is used again.
    insert->flush();
  };

  // The line that ends the import: its error goes on as an exception, or
  // its message is shown.
  const auto endAt = [&](PendingLine& p) {
    state.AktuelleZeile = p.line;
    fileLine = p.fileLine;
    if (!p.error.isEmpty()) throw OrvenilError(kErrTypeMismatch, p.error);
    GridKooDb->SetRedraw(true);
    GridKooDb->Refresh();
    if (p.result.outcome == BranchOutcome::BadLine)
      Critical(QStringLiteral("Format ungültig!\n") + FileAndLine(path, p.fileLine) + QLatin1Char('\n') + p.line +
               QLatin1Char('\n') + p.result.reason + QStringLiteral("\nAuswahl Punktcode beachten!\nAbbruch!"));
    else
      Critical(QStringLiteral("Zone bzw. Koordinatensystem ungültig!\n") + FileAndLine(path, p.fileLine) +
               QLatin1Char('\n') + p.line + QStringLiteral("\nKeine Zone für diesen Punkt bestimmbar! Abbruch!"));
    stopped = true;
  };

  try {
    prepareStartSystem();
    state.AnzahlDatensaetze = std::max(1, CountFileLines(path, 0));
    if (state.AnzahlDatensaetze > kMaxImportLines) {
      Dialogs().messageBox(QStringLiteral("Es werden nur maximal 2 Millionen Punkte eingelesen!   "), MsgButtons::Ok,
                           MsgIcon::Information, kProgramTitle);
      state.AnzahlDatensaetze = kMaxImportLines;
    }
    xpStatusBar1->SetPanelText(6, QStringLiteral("Datenbank löschen   "));
    Dialogs().processEvents();
    state.KooDb = DBEngine::openDatabase(state.KooDbPfad);
    state.KooDb.execute(QStringLiteral("DELETE FROM Daten"));
    openDaten();
    if (FormStatus* status = ExistingStatusForm()) status->hide();
    xpStatusBar1->SetPanelText(6, QStringLiteral("Datenbank erzeugen   "));
    GridKooDb->SetRedraw(false);
    GridKooDb->ClearRows();
    if (!reader.open(path)) throw OrvenilError(kErrFileNotFound, QStringLiteral("Datei nicht gefunden: ") + path);
    sinceProgress.start();

    {
      // The blocks outlive the threads that fill and store them.
      std::array<LineBlock, 3> blocks;
      LineBlock* toStore = &blocks[0];
      LineBlock* toCompute = &blocks[1];
      LineBlock* toRead = &blocks[2];
      const RowComputer computer(sys, tail, kind, filterIndex);
      BlockWorkers workers;
      RowWriter writer;
      const auto computeBlock = [&](LineBlock& block) {
        workers.start(block.used, [&computer, &block](size_t i) { computer.compute(block.lines[i]); });
      };
      // Small first blocks let the writer start early.
      readBlock(*toStore, kFirstBlockLines);
      computeBlock(*toStore);
      workers.join();
      toCompute->used = 0;
      if (!readingDone) readBlock(*toCompute, kFirstBlockLines);
      for (;;) {
        const size_t end = prepareStore(*toStore);
        if (insert) writer.start([&writeRows, block = toStore, end] { writeRows(*block, end); });
        if (!toCompute->empty()) computeBlock(*toCompute);
        toRead->used = 0;
        if (!readingDone && end == toStore->used) readBlock(*toRead, kBlockLines);
        workers.join();
        try {
          writer.join();
        } catch (...) {
          state.AktuelleZeile = toStore->lines[failedRow].line;
          fileLine = toStore->lines[failedRow].fileLine;
          throw;
        }
        if (end < toStore->used) {
          endAt(toStore->lines[end]);
          break;
        }
        if (lastSeen) {
          state.AktuelleZeile = lastSeen->line;
          fileLine = lastSeen->fileLine;
        }
        if (toCompute->empty()) break;
        LineBlock* const stored = toStore;
        toStore = toCompute;
        toCompute = toRead;
        toRead = stored;
      }
    }
    insert.reset();
    if (deferredIndexes) deferredIndexes->rebuild();
    deferredIndexes.reset();
    if (transaction) transaction->commit();
    transaction.reset();
    state.MKZZiffer = branch.mkzDigit;
    state.PunktnamenZaehler = branch.nameCounter;

    endReading();
    if (state.GeoidBereit) RunImportGeoidStep(rs);
    BindImportedRows(true);
    HideBusyWindow();
    FormVisible(true);
    const qint64 stored = rs.recordCount();
    rs.close();
    Dialogs().setBusy(false);
    xpStatusBar1->SetPanelText(6, QString());
    if (state.UeberleseneZeilen > 0) {
      Dialogs().messageBox(QString::number(state.UeberleseneZeilen) +
                               QStringLiteral(" Zeilen mit fehlerhaften Koordinaten überlesen!   \n"
                                              "Bitte prüfen Sie Ihre Daten!   "),
                           MsgButtons::Ok, MsgIcon::Information, windowTitle());
    } else if (stored == 0 && !stopped) {
      Dialogs().messageBox(QStringLiteral("Die Datei '") + path + QStringLiteral("' enthält keine Punkte!   "),
                           MsgButtons::Ok, MsgIcon::Information, windowTitle());
    }
  } catch (const std::exception& e) {
    const auto* known = dynamic_cast<const OrvenilError*>(&e);
    const QString description = known ? known->description() : QString::fromUtf8(e.what());
    // The rows stored before the error stay, with their indexes.
    insert.reset();
    deferredIndexes.reset();
    transaction.reset();
    SkipFailingStep("Import: Datei schließen", [&] { endReading(); });
    Critical(QStringLiteral("Fehler: ") + description + QStringLiteral(" Bitte prüfen Sie Ihre Daten!\n") +
             FileAndLine(path, fileLine) + QLatin1Char('\n') + state.AktuelleZeile + QStringLiteral("\nAbbruch!"));
    SkipFailingStep("Import: HideBusyWindow", [&] { HideBusyWindow(); });
    SkipFailingStep("Import: FormVisible", [&] { FormVisible(true); });
    SkipFailingStep("Import: Tabelle anzeigen", [&] { BindImportedRows(false); });
    SkipFailingStep("Import: KooDbDaten schließen", [&] { rs.close(); });
    Dialogs().setBusy(false);
    SkipFailingStep("Import: Statusleiste", [&] { xpStatusBar1->SetPanelText(6, QString()); });
  }
}

void FormOrvenil::BindImportedRows(bool sorted) {
  ProgramState& state = State();
  if (!state.KooDb.isSet() || !state.KooDb.isOpen()) state.KooDb = DBEngine::openDatabase(state.KooDbPfad);
  GridKooDb->ClearRows();
  GridKooDb->BindQuery(state.KooDb, sorted ? QStringLiteral("SELECT * FROM Daten ORDER BY Punkt")
                                           : QStringLiteral("SELECT * FROM Daten"));
  if (sorted) {
    for (int c = 1; c <= GridKooDb->ColumnCount(); ++c) {
      const QString key = GridKooDb->ColumnKey(c);
      const ImportGridColumn look = ImportGridColumnLook(key);
      GridKooDb->SetColumnCaption(key, look.caption);
      GridKooDb->SetColumnWidth(key, look.widthTwips);
      GridKooDb->SetColumnVisible(key, look.visible);
    }
    if (GridKooDb->RowCount() > 0) GridKooDb->SetCurrentRow(1);
  }
  GridKooDb->SetRedraw(true);
  GridKooDb->Refresh();
}

}  // namespace orv
