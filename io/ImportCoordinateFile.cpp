// The point-file import run: preconditions, preparation of the start
// ellipsoid and of Daten, the reading loop (skip rules, line formats, start
// branches, common tail), the geoid step and the grid binding at the end.
//
// Speed: the file is read through a buffered reader, every row goes through
// the one prepared insert of the table recordset inside the database's open
// transaction, the grid does not draw while reading, and the progress is
// drawn and window events let through at most a few times a second.
#include <QElapsedTimer>
#include <array>
#include <cmath>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include "foundation/DialogService.h"
#include "foundation/FileText.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/ProgramState.h"
#include "foundation/ProgressWindow.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextTokens.h"
#include "geodesy/ZoneRules.h"
#include "io/ImportGridColumns.h"
#include "io/ImportLineFormats.h"
#include "io/ImportStartBranches.h"
#include "platform/db/DatabaseHelpers.h"
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
constexpr double kPi = 3.14159265358979;

void Critical(const QString& text) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
}

QString FileAndLine(const QString& file, long line) {
  return QStringLiteral("Datei '") + file + QStringLiteral("', Zeile ") + QString::number(line) + QLatin1Char(':');
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
  return QString();
}

// The tail's decimal angles of a row whose branch left them blank.
void PutDecimalAngles(ImportRow& row) {
  const double latDeg = row.latitude * 180 / kPi;
  const double lonDeg = row.longitude * 180 / kPi;
  if (row.isBlank(kBgDez)) row.put(kBgDez, NumberText(latDeg));
  if (row.isBlank(kLgDez)) row.put(kLgDez, NumberText(lonDeg));
  if (row.isBlank(kBgDezSek)) row.put(kBgDezSek, NumberText(3600 * latDeg));
  if (row.isBlank(kLgDezSek)) row.put(kLgDezSek, NumberText(3600 * lonDeg));
}

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

  // Start ellipsoid.
  state.StartB = (1 - state.StartF) * state.StartA;
  state.StartE = std::sqrt((state.StartA * state.StartA - state.StartB * state.StartB) / (state.StartA * state.StartA));
  if (Val(NumberText(state.StartK0)) == 0) state.StartK0 = 1.0;
  ImportStartSystem sys;
  sys.a = state.StartA;
  sys.b = state.StartB;
  sys.e = state.StartE;
  sys.k0 = state.StartK0;
  sys.r = MeridianbogenKoeffizienten(state.StartA, state.StartE);
  sys.zoneEllipsoid = state.ZonenEllipsoidStart;
  sys.approximateHeight = Val(orthoNäherungshöhe->Text());
  sys.geographicFormat = state.FormatEingabeGeographischIndex;
  const int filterIndex = CommonDialog1.FilterIndex;
  sys.vesselA = filterIndex == kFilterVesselA;
  const int kind = state.StartAbbildungIndex;
  const bool etrsStart = Startsys->isSelected(0);
  const bool wgsStart = state.ZonenEllipsoidStart == QLatin1String("WGS1984");

  ImportBranchState branch;
  branch.meridian = state.StartMeridian;
  branch.falseEasting = state.StartFalseEasting;
  branch.askMkz = [] {
    return Dialogs().inputBox(QStringLiteral("Vorgabe der Meridiankennziffer\nim Startsystem ETRS89 (GRS1980)\n\n"
                                             "MKZ/Zone°: 31/3° - 32/9° - 33/15° - 34/21°"),
                              QStringLiteral("Meridiankennziffer MKZ des Startsystems unbestimmt!"),
                              QStringLiteral("33"));
  };
  ImportLineState lineState;
  const QString fileName = QFileInfo(path).fileName();

  TextLineReader reader;
  Recordset rs;
  long counter = 0;    // lines read, the header of the first vessel format not counted
  long fileLine = 0;   // physical line of the file, for messages
  bool stopped = false;  // a message already told why reading ended
  QString rawLine;
  const QStringList& columns = DatenColumnNames();
  std::array<int, kDatenColumnCount> fieldOf{};
  const auto openDaten = [&] {
    state.KooDb = DBEngine::openDatabase(state.KooDbPfad);
    rs = state.KooDb.openTable(QStringLiteral("Daten"));
    state.KooDbDaten = rs;
    for (int c = 0; c < kDatenColumnCount; ++c) fieldOf[static_cast<size_t>(c)] = rs.fieldIndex(columns[c]);
  };
  const auto endReading = [&] {
    reader.close();
    if (rs.isSet() && rs.isOpen() && rs.editing()) rs.cancelUpdate();
    if (state.KooDb.isSet() && state.KooDb.isOpen()) state.KooDb.commit();
  };

  try {
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

    QElapsedTimer sinceProgress;
    sinceProgress.start();
    ImportRow row;
    while (reader.readLine(rawLine)) {
      ++fileLine;
      if (counter == 0 && filterIndex == kFilterVesselA) {
        // The first line of the first vessel format names its columns.
        state.ImportKopfzeile = rawLine;
        if (GetToken(rawLine, 1, QStringLiteral(";")).remove(u'"') != QLatin1String("Zeit"))
          Dialogs().messageBox(QStringLiteral("0.Zeile: \n\n") + rawLine + QStringLiteral("\n\nBitte Daten prüfen!"),
                               MsgButtons::Ok, MsgIcon::Information, windowTitle());
        if (!reader.readLine(rawLine)) break;  // a header alone: no points
        ++fileLine;
      }
      ++counter;
      state.AktuelleZeile = rawLine;
      if (counter > kMaxImportLines) {
        Dialogs().messageBox(QStringLiteral("Maximale Datenbankgröße mit 2 Millionen Punkten erreicht!   \n"
                                            "Abbruch Einlesen!   "),
                             MsgButtons::Ok, MsgIcon::Exclamation, kProgramTitle);
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
      if (TrimBlanks(rawLine).isEmpty()) {
        ++state.UeberleseneZeilen;
        continue;
      }
      if (rawLine.contains(QLatin1String("custom_coords"))) {
        lineState.customCoords = true;
        ++state.UeberleseneZeilen;
        continue;
      }
      if (counter % 1000 == 0)
        xpStatusBar1->SetPanelText(6, QStringLiteral("Zeile: ") + QString::number(counter) + QStringLiteral(" eingelesen   "));
      if (counter == 1 || sinceProgress.elapsed() >= kProgressIntervalMs) {
        ShowProgress(static_cast<int>(counter), 0, state.AnzahlDatensaetze, true, QStringLiteral(" Zeilen eingelesen..."));
        Dialogs().processEvents();
        sinceProgress.restart();
      }

      QString line = rawLine;
      const LineDecision decision = NormaliseImportLine(line, filterIndex, lineState, fileName);
      if (decision == LineDecision::SkipCounted) ++state.UeberleseneZeilen;
      if (decision != LineDecision::Use) continue;
      state.AktuelleZeile = line;

      row.reset();
      BranchResult result;
      if (kind == 0)
        result = ImportProjectedLine(line, sys, branch, row);
      else if (kind == 1)
        result = ImportGeocentricLine(line, sys, branch, row);
      else if (kind == 2)
        result = ImportGeographicLine(line, rawLine, sys, branch, row);
      state.StartMeridian = branch.meridian;
      state.StartFalseEasting = branch.falseEasting;
      state.MKZZiffer = branch.mkzDigit;
      state.PunktnamenZaehler = branch.nameCounter;
      if (result.outcome != BranchOutcome::Filled) {
        GridKooDb->SetRedraw(true);
        GridKooDb->Refresh();
        if (result.outcome == BranchOutcome::BadLine)
          Critical(QStringLiteral("Format ungültig!\n") + FileAndLine(path, fileLine) + QLatin1Char('\n') + line +
                   QLatin1Char('\n') + result.reason + QStringLiteral("\nAuswahl Punktcode beachten!\nAbbruch!"));
        else
          Critical(QStringLiteral("Zone bzw. Koordinatensystem ungültig!\n") + FileAndLine(path, fileLine) +
                   QLatin1Char('\n') + line + QStringLiteral("\nKeine Zone für diesen Punkt bestimmbar! Abbruch!"));
        stopped = true;
        break;
      }

      // Tail.
      if (counter == 1) {
        xpStatusBar1->SetPanelText(3, QStringLiteral("Zone: ") + TrimBlanks(NumberText(state.StartMeridian)) + QStringLiteral("  "));
        xpStatusBar1->SetPanelText(4, QStringLiteral("Maßstab: ") + NumberText(state.StartK0) + QStringLiteral("  "));
        xpStatusBar1->SetPanelText(5, QStringLiteral("K0: ") + NumberText(state.StartFalseEasting) + QStringLiteral("m  "));
        for (int p = 6; p <= 8; ++p) xpStatusBar1->SetPanelText(p, QString());
      }
      if (wgsStart) {
        row.put(kSXe, QString());
        row.put(kSYe, QString());
        row.put(kSZe, QString());
        if (counter == 1) {
          xpStatusBar1->SetPanelText(3, QStringLiteral("Zone: "));
          xpStatusBar1->SetPanelText(4, QStringLiteral("Maßstab: "));
          xpStatusBar1->SetPanelText(5, QStringLiteral("K0: "));
        }
      }
      PutDecimalAngles(row);
      if (etrsStart) {
        const int zone = ZoneFromCentralMeridian(static_cast<int16_t>(state.StartMeridian));
        row.put(kSYe, FormatNumber(zone * 1000000.0 + Val(row.at(kSYe)), QStringLiteral("0.0000")));
      }
      rs.addNew();
      rs.setValue(fieldOf[kId], FieldValue(static_cast<qint64>(counter)));
      for (int c = 0; c < kDatenColumnCount; ++c)
        if (c != kId && row.written[static_cast<size_t>(c)]) rs.setValue(fieldOf[static_cast<size_t>(c)], FieldValue(row.at(c)));
      rs.update();
    }

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
    const QString description =
        dynamic_cast<const OrvenilError*>(&e) ? static_cast<const OrvenilError&>(e).description() : QString::fromUtf8(e.what());
    SkipFailingStep([&] { endReading(); });
    Critical(QStringLiteral("Fehler: ") + description + QStringLiteral(" Bitte prüfen Sie Ihre Daten!\n") +
             FileAndLine(path, fileLine) + QLatin1Char('\n') + state.AktuelleZeile + QStringLiteral("\nAbbruch!"));
    SkipFailingStep([&] { HideBusyWindow(); });
    SkipFailingStep([&] { FormVisible(true); });
    SkipFailingStep([&] { BindImportedRows(false); });
    SkipFailingStep([&] { rs.close(); });
    Dialogs().setBusy(false);
    SkipFailingStep([&] { xpStatusBar1->SetPanelText(6, QString()); });
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
