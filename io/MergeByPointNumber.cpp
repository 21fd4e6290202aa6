// The two merge functions of the start-data dialog: the lines of a point file
// (point number, code, easting, northing, height) matched with the rows of
// Daten by point number, to overwrite start heights or to append the points
// the job does not hold yet. The file is first loaded into a scratch database
// indexed by point number.
#include <QFile>
#include <QtGlobal>

#include "foundation/DialogService.h"
#include "foundation/FileIdentity.h"
#include "foundation/FileSystemHelpers.h"
#include "foundation/FileText.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextTokens.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbStatusBar.h"
#include "shell/CoordinateDatabase.h"
#include "geodesy/ProjectedEllipsoid.h"
#include "io/ImportLineFormats.h"
#include "io/ImportStartBranches.h"
#include "io/ImportWorkCopy.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

namespace orv {

namespace {

const QString kTab = QStringLiteral("\t");

[[noreturn]] void RefuseMergeLine(const QString& file, int lineNumber, const QString& reason) {
  throw OrvenilError(kErrTypeMismatch, QStringLiteral("Datei '%1', Zeile %2: %3").arg(file).arg(lineNumber).arg(reason));
}

// Is the field a number as the import reads it (whole, decimal point)? An
// empty field is one where `optional`.
bool IsImportNumber(const QString& field, bool optional) {
  double value = 0;
  if (optional && TrimBlanks(field).isEmpty()) return true;
  return ParseCoordinate(field, value);
}

// A line of the merge file in the import's common form: point number,
// code, easting, northing, height (the fifth field), split and its numbers
// read as the import of its format splits and reads them (a PBLH line has no
// code: its point number stands in). False for a line the import skips (an
// empty row, column names, "custom_coords"). A line whose numbers the merge
// would store and the import would not read is refused with its file and
// line before the job changes: the height where heights are overwritten,
// easting, northing and height where points are appended (easting and
// northing not 0, as the import's format check asks). The vessel formats'
// lines have no point number or easting of their own and are refused so.
bool MergeLine(QString& line, int filterIndex, ImportLineState& lineState, bool appending, const QString& file,
               int lineNumber) {
  if (IsEmptyRow(line)) return false;
  if (line.contains(QLatin1String("custom_coords"))) {
    lineState.customCoords = true;
    return false;
  }
  QString refusal;
  const bool vessel = filterIndex == kFilterVesselA || filterIndex == kFilterVesselB;
  const LineDecision decision =
      vessel ? LineDecision::Use : NormaliseImportLine(line, filterIndex, lineState, QString(), &refusal);
  if (decision == LineDecision::Refuse) RefuseMergeLine(file, lineNumber, refusal);
  if (decision != LineDecision::Use) return false;
  // A decimal comma where the format reads the decimal point alone is named.
  if (const QString reason = ReadsDecimalPointOnly(filterIndex) ? DecimalCommaReason(line) : QString();
      !reason.isEmpty())
    RefuseMergeLine(file, lineNumber, reason);
  const QString easting = GetToken(line, 3, kTab), northing = GetToken(line, 4, kTab);
  const QString height = GetToken(line, 5, kTab);
  double y = 0, x = 0;
  const bool read = appending ? ParseCoordinate(easting, y) && ParseCoordinate(northing, x) && y != 0 && x != 0 &&
                                    IsImportNumber(height, true)
                              : IsImportNumber(height, false);
  if (!read)
    RefuseMergeLine(file, lineNumber,
                    QStringLiteral("Format: [P C X Y H] nicht vorgefunden! ") +
                        (appending ? QStringLiteral("Rechts- und Hochwert (nicht 0) und Höhe als Zahlen erwartet.")
                                   : QStringLiteral("Die Höhe \"%1\" ist keine Zahl.").arg(height)));
  return true;
}

// The target columns: every value of the last run's target system.
constexpr int kFirstTargetColumn = kSYeZiel;
constexpr int kLastTargetColumn = kLgDezSekZiel;

// Empties the row's target columns (in edit mode); True when one held a value.
bool EmptyTargetColumns(Recordset& rs) {
  bool held = false;
  for (int column = kFirstTargetColumn; column <= kLastTargetColumn; ++column) {
    const QString& name = DatenColumnNames()[column];
    const FieldValue value = rs.value(name);
    if (value.isNull()) continue;
    held = held || !value.textOrEmpty().isEmpty();
    rs.setValue(name, FieldValue());
  }
  return held;
}

// Is the height text a new height for a row that held `old`?
bool HeightChanges(const QString& old, const QString& height) {
  double a = 0, b = 0;
  if (ReadFiniteNumber(old, a) && ReadFiniteNumber(height, b)) return a != b;
  return TrimBlanks(old) != TrimBlanks(height);
}

// The row's new height, in edit mode: every start column the import derives
// from the height follows it, so that the next run transforms the point with
// its new height. A row whose ellipsoidal height was raised by the geoid
// step keeps its undulation over the height. A row without a known position
// (appended by the other merge) takes the height columns alone.
void PutMergedHeight(Recordset& rs, const ImportStartSystem& sys, int kind, double height) {
  const auto number = [&rs](int column, double& value) {
    return ReadFiniteNumber(rs.value(DatenColumnNames()[column]).textOrEmpty(), value);
  };
  double B = 0, L = 0, oldHg = 0, oldZe = 0;
  const bool placed = sys.ellipsoid.a != 0 && number(kRadBg, B) && number(kRadLg, L);
  const bool withUndulation = number(kSHg, oldHg) && number(kSZe, oldZe) && oldHg != oldZe;
  ImportRow row;
  PutNewStartHeight(row, sys, kind, B, L, height);
  if (withUndulation) row.put(kSHg, FormatNumber(height + (oldHg - oldZe), QStringLiteral("0.0000")));
  for (const int column : {kSZe, kSHg, kSZori, kSXz, kSYz, kSZz}) {
    const bool geocentric = column == kSXz || column == kSYz || column == kSZz;
    if (row.written[static_cast<size_t>(column)] && (placed || !geocentric))
      rs.setValue(DatenColumnNames()[column], row.at(column));
  }
}

}  // namespace

bool FormOrvenil::LoadMergeFile(bool appending) {
  ProgramState& s = State();
  if (!s.ImportDateiGewaehlt) return false;
  // The file is read whole into the scratch database; its copy goes then.
  const ImportWorkCopyRemoval removeWorkCopy;
  const QString readPath = ImportReadPath();
  // The file as its first read found it, when it was chosen: a file cut or
  // written anew since is refused before the job changes.
  const FileIdentity found = ImportReadIdentity();
  s.AktuelleZeile.clear();
  CheckImportFileUnchanged(found);
  Dialogs().setBusy(true);
  xpStatusBar1->SetPanelText(9, QString());
  FormVisible(false);

  if (FileExists(s.SonderfunktionDbPfad)) {
    if (s.SonderfunktionDb.isSet()) s.SonderfunktionDb.close();
    QFile::remove(s.SonderfunktionDbPfad);
  }
  s.SonderfunktionDbPfad = TemporaryDatabasePath(s.TempVerzeichnis, QLatin1String(kKindSonderfunktionDb));
  // The job's database stays open: the grid, the runs and the export go on
  // using it after the merge.
  CreateDatabaseFile(s.SonderfunktionDb, s.SonderfunktionDbPfad, true);
  CreateTableWithField(s.SonderfunktionDb, QStringLiteral("Daten"), QStringLiteral("id"), dbText);
  // A whole line, however long, fits a long-text field.
  AddTableField(s.SonderfunktionDb, QStringLiteral("Daten"), QStringLiteral("Zeile"), dbMemo, 0);
  CreateTableIndex(s.SonderfunktionDb, QStringLiteral("Daten"), QStringLiteral("id"), false, false, QString());
  CreateTableIndex(s.SonderfunktionDb, QStringLiteral("Daten"), QStringLiteral("Zeile"), false, false, QString());
  s.SonderfunktionDbDaten = s.SonderfunktionDb.openTable(QStringLiteral("Daten"));
  if (!s.KooDb.isOpen()) s.KooDb = DBEngine::openDatabase(s.KooDbPfad);
  s.KooDbDaten = s.KooDb.openTable(QStringLiteral("Daten"));
  if (s.KooDbDaten.recordCount() > 0) s.KooDbDaten.moveFirst();

  Dialogs().processEvents();
  s.AnzahlDatensaetze = CountFileLines(readPath, 0);
  if (s.AnzahlDatensaetze <= 0) s.AnzahlDatensaetze = 1;
  Dialogs().processEvents();
  GridKooDb->SetRedraw(false);

  TextLineReader reader(readPath);
  if (!reader.isOpen())
    throw OrvenilError(kErrFileNotFound, QStringLiteral("Datei '%1' nicht gefunden.").arg(s.ImportDatei));
  const int filterIndex = CommonDialog1.FilterIndex;
  ImportLineState lineState;
  QString line;
  for (int k = 1; reader.readLine(line); ++k) {
    s.AktuelleZeile = line;
    ShowProgress(k, 0, s.AnzahlDatensaetze, true, QStringLiteral(" Zeilen eingelesen..."));
    QString stored = line;
    if (!MergeLine(stored, filterIndex, lineState, appending, s.ImportDatei, k)) continue;
    s.SonderfunktionDbDaten.addNew();
    s.SonderfunktionDbDaten.setValue(QStringLiteral("id"), GetToken(stored, 1, kTab));
    s.SonderfunktionDbDaten.setValue(QStringLiteral("Zeile"), stored);
    s.SonderfunktionDbDaten.update();
  }
  if (found.changed(reader.position())) ThrowFileChangedWhileRead(s.ImportDatei);
  return true;
}

void FormOrvenil::FinishMerge(const QString& message, bool fitPointColumn) {
  ProgramState& s = State();
  GridKooDb->BindQuery(s.KooDb, QStringLiteral("SELECT * FROM Daten"));
  // The merged job looks as the imported one did.
  ShowImportedColumns();
  if (fitPointColumn) GridKooDb->FitColumnWidth(QStringLiteral("Punkt"));
  if (GridKooDb->RowCount() > 0) GridKooDb->SetCurrentRow(1);
  GridKooDb->SetRedraw(true);
  GridKooDb->Refresh();
  Dialogs().messageBox(message, MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Orvenil"));
  CloseMergeDatabases();
  FormVisible(true);
  Dialogs().setBusy(false);
}

void FormOrvenil::CloseMergeDatabases() {
  ProgramState& s = State();
  for (Recordset* rs : {&s.SonderfunktionDbDaten, &s.KooDbDaten}) {
    if (rs->isSet()) {
      if (rs->isOpen() && rs->editing()) rs->cancelUpdate();
      rs->close();
    }
    *rs = Recordset();
  }
  s.SonderfunktionDb.close();
  s.SonderfunktionDb = Database();
}

void FormOrvenil::MergeFailed(const std::exception& error) {
  ProgramState& s = State();
  const auto* own = dynamic_cast<const OrvenilError*>(&error);
  Dialogs().messageBox(QStringLiteral("Fehler: ") +
                           (own ? own->description() : QString::fromLocal8Bit(error.what())) +
                           QStringLiteral(" Bitte prüfen Sie Ihre Daten!\n") + LineForMessage(s.AktuelleZeile) +
                           QStringLiteral("\nAbbruch!"),
                       MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Orvenil"));
  HideBusyWindow();
  FormVisible(true);
  try {
    if (s.KooDb.isOpen()) {
      GridKooDb->BindQuery(s.KooDb, QStringLiteral("SELECT * FROM Daten"));
      ShowImportedColumns();
    }
  } catch (const std::exception&) {
    // The grid keeps what it showed.
  }
  GridKooDb->SetRedraw(true);
  GridKooDb->Refresh();
  CloseMergeDatabases();
  Dialogs().setBusy(false);
}

void FormOrvenil::OverwriteHeightsByPointNumber() {
  ProgramState& s = State();
  try {
    if (!LoadMergeFile(false)) return;
    // The job's start system: the rows' start columns are computed anew in it.
    ImportStartSystem sys;
    if (s.StartA != 0) sys.ellipsoid = MakeProjectedEllipsoid(s.StartA, s.StartF, s.StartK0);
    qint64 matched = 0, targetsEmptied = 0;
    const qint64 n = s.KooDbDaten.recordCount();
    s.AnzahlDatensaetze = static_cast<qint32>(n);
    if (n > 0) s.KooDbDaten.moveFirst();
    for (qint64 i = 1; i <= n; ++i) {
      ShowProgress(static_cast<int>(i), 0, static_cast<int>(n), true, QStringLiteral(" Zeilen, Höhen umgerechnet..."));
      s.KooDbDaten.edit();
      // A row without a point number matches no line.
      const QString key = TrimBlanks(s.KooDbDaten.value(QStringLiteral("Punkt")).textOrEmpty());
      if (!key.isEmpty()) {
        const QString found =
            SeekFieldValues(s.SonderfunktionDbDaten, QStringLiteral("id"), QStringLiteral("Zeile"), key);
        if (found != QLatin1String("-1")) {
          ++matched;
          const QString height = GetToken(found, 5, kTab);
          // The targets of the last run were computed from the old height:
          // none of them stays beside a new one.
          if (HeightChanges(s.KooDbDaten.value(QStringLiteral("sZe")).textOrEmpty(), height) &&
              EmptyTargetColumns(s.KooDbDaten))
            ++targetsEmptied;
          // The file's heights were read as numbers when it was loaded.
          double value = 0;
          ParseCoordinate(height, value);
          PutMergedHeight(s.KooDbDaten, sys, s.StartAbbildungIndex, value);
        }
      }
      s.KooDbDaten.update();
      if (i < n) s.KooDbDaten.moveNext();
    }
    QString message = QStringLiteral("Es wurden ") + QString::number(matched) + QStringLiteral(" Höhen überschrieben!   ");
    if (targetsEmptied > 0)
      message += QStringLiteral("\nDie Zielwerte von ") + QString::number(targetsEmptied) +
                 QStringLiteral(" Punkten beruhten auf der alten Höhe und wurden gelöscht: "
                                "bitte die Transformation erneut durchführen!   ");
    FinishMerge(message, false);
  } catch (const std::exception& e) {
    MergeFailed(e);
  }
}

void FormOrvenil::AppendMissingPoints() {
  ProgramState& s = State();
  try {
    if (!LoadMergeFile(true)) return;
    const qint64 n = s.KooDbDaten.recordCount();
    s.AnzahlDatensaetze = static_cast<qint32>(n);
    s.SonderfunktionDbDaten.setIndex(QStringLiteral("id"));
    if (n > 0) s.KooDbDaten.moveFirst();
    for (qint64 i = 1; i <= n; ++i) {
      ShowProgress(static_cast<int>(i), 0, static_cast<int>(n), true,
                   QStringLiteral(" Zeilen suchen, Daten löschen..."));
      // Each row of the job takes away at most one line of its number; a row
      // without a point number takes none.
      const QString key = TrimBlanks(s.KooDbDaten.value(QStringLiteral("Punkt")).textOrEmpty());
      if (!key.isEmpty()) {
        s.SonderfunktionDbDaten.seek(QStringLiteral("="), key);
        if (!s.SonderfunktionDbDaten.noMatch()) s.SonderfunktionDbDaten.deleteCurrent();
      }
      if (i < n) s.KooDbDaten.moveNext();
    }

    // A line without a point number (an empty line) is no point to append.
    s.SonderfunktionDbDaten.seek(QStringLiteral("="), QString());
    while (!s.SonderfunktionDbDaten.noMatch()) {
      s.SonderfunktionDbDaten.deleteCurrent();
      s.SonderfunktionDbDaten.seek(QStringLiteral("="), QString());
    }

    const qint64 left = s.SonderfunktionDbDaten.recordCount();
    s.AnzahlDatensaetze = static_cast<qint32>(left);
    if (left > 0) {
      // Appended rows continue the job's numbering, so every id stays unique.
      qint64 nextId = 1;
      {
        Recordset maxId = s.KooDb.openSql(QStringLiteral("SELECT MAX(id) AS m FROM Daten"));
        if (maxId.recordCount() > 0) {
          maxId.moveFirst();
          const FieldValue m = maxId.value(0);
          if (!m.isNull()) nextId = m.toLong() + 1;
        }
        maxId.close();
      }
      s.SonderfunktionDbDaten.moveFirst();
      for (qint64 j = 1; j <= left; ++j) {
        ShowProgress(static_cast<int>(j), 0, static_cast<int>(left), true,
                     QStringLiteral(" Zeilen geprüft, Daten anhängen..."));
        const QString stored = s.SonderfunktionDbDaten.value(QStringLiteral("Zeile")).textOrEmpty();
        s.AktuelleZeile = stored;
        s.KooDbDaten.addNew();
        s.KooDbDaten.setValue(QStringLiteral("id"), nextId++);
        s.KooDbDaten.setValue(QStringLiteral("Punkt"), PaddedPointNumber(GetToken(stored, 1, kTab)));
        s.KooDbDaten.setValue(QStringLiteral("C"), GetToken(stored, 2, kTab));
        s.KooDbDaten.setValue(QStringLiteral("sYe"), GetToken(stored, 3, kTab));
        s.KooDbDaten.setValue(QStringLiteral("sXe"), GetToken(stored, 4, kTab));
        s.KooDbDaten.setValue(QStringLiteral("sZe"), GetToken(stored, 5, kTab));
        s.KooDbDaten.update();
        if (j < left) s.SonderfunktionDbDaten.moveNext();
      }
    }
    FinishMerge(QStringLiteral("Es wurden ") + QString::number(left) + QStringLiteral(" Datensätze angefügt!   "),
                true);
  } catch (const std::exception& e) {
    MergeFailed(e);
  }
}

}  // namespace orv
