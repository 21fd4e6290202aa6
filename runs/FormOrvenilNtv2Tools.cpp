// The NTv2 building tools of the toolbar's NTv2 menu: point grid, target
// import by line and by point number, the NTv2 ASCII grid writer and the
// export of the sub-grid extents.
#include <QDate>
#include <QDir>
#include <QFileInfo>

#include "foundation/DatabaseFolderFile.h"
#include "foundation/DialogService.h"
#include "foundation/FileText.h"
#include "foundation/LocaleSwitch.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "foundation/TypedNumber.h"
#include "platform/db/DBEngine.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbTabStrip.h"
#include "runs/Ntv2Extents.h"
#include "runs/Ntv2GsaWriter.h"
#include "runs/Ntv2PointGrid.h"
#include "runs/Ntv2TargetImport.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/SkipFailingStep.h"

namespace orv {

namespace {

const QString kNtv2 = QStringLiteral("NTv2");
const QString kExtentsTitle = QStringLiteral("NTv2-Export");

QString Quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

void Message(const QString& text, MsgIcon icon, const QString& title = kNtv2) {
  Dialogs().messageBox(text, MsgButtons::Ok, icon, title);
}

Database& CoordinateDatabase() {
  ProgramState& state = State();
  if (!state.KooDb.isOpen()) state.KooDb = DBEngine::openDatabase(state.KooDbPfad);
  return state.KooDb;
}

// The grid spacing "Breite; Länge" in arc-seconds, asked with the prompt
// given, the answer kept in Antwort. False when the box is left empty or
// cancelled. A text that is not two numbers separated by ";" (a decimal
// comma is one: "7,5; 11,25") is named to the user and asked again: a
// spacing read from a part of it would write another grid than the one asked.
bool AskSpacings(const QString& prompt, double& dLat, double& dLon) {
  const QString title = QStringLiteral("Gitterabstand in Sekunden");
  for (;;) {
    QString& answer = State().Antwort;
    answer = Dialogs().inputBox(prompt, title, QStringLiteral("60; 90"));
    if (TrimBlanks(answer).isEmpty()) return false;
    QList<double> spacings;
    if (ReadTypedNumbers(answer, 2, spacings)) {
      dLat = spacings[0];
      dLon = spacings[1];
      return true;
    }
    Message(
        QStringLiteral("Der Gitterabstand \"") + answer +
            QStringLiteral("\" ist keine Angabe [Breite; Länge] in Sekunden!\nBitte zwei Zahlen durch \";\" "
                           "getrennt eingeben, z. B. 60; 90 oder 7,5; 11,25.   "),
        MsgIcon::Exclamation, title);
  }
}

}  // namespace

void FormOrvenil::GenerateNtv2PointGrid() {
  ProgramState& state = State();
  CommonDialog1.CancelError = false;
  CommonDialog1.Filter = QStringLiteral("alle (*.*)|*.*|PCBL (*.head)|*.head|");
  CommonDialog1.FilterIndex = 2;
  CommonDialog1.InitDir = state.StandardVerzeichnis;
  if (!CommonDialog1.ShowOpen()) return;
  const QString cornerFile = CommonDialog1.FileName;
  if (cornerFile.isEmpty()) {
    Message(QStringLiteral("Datei mit RU/Süd-Ost und LO/Nord-West \nmit jeweils Nr_Code_Breite_Länge "
                           "[Grad/Min/Sek] wird verlangt!"),
            MsgIcon::Information);
    return;
  }
  double dLat = 0, dLon = 0;
  if (!AskSpacings(
          QStringLiteral("Dateivorlage: mit RU/Süd-Ost und LO/Nord-West \nFormat: Nr_C_Breite_Länge\n\n"
                         "Geben Sie bitte den gewünschten Gitterabstand\n[Breite; Länge] in Sekunden ein: "),
          dLat, dLon))
    return;

  Dialogs().setBusy(true);
  FormVisible(false);
  Dialogs().processEvents();
  QString written;
  Ntv2PointGrid grid;
  try {
    grid = MakeNtv2PointGrid(ReadFileText(cornerFile), dLat, dLon);
    // Beside the corner file: the program's working folder is no place the user chose.
    written = QFileInfo(cornerFile).absolutePath() + QLatin1Char('/') +
              Ntv2PointGridFileName(dLat, dLon, TimeStampString());
    StatusForm()->show();
    WriteNtv2PointGridFile(written, grid, [](int row, int rows) {
      ShowProgress(row, 0, rows, true, QStringLiteral(" Zeilen, Daten erzeugt..."));
    });
  } catch (const OrvenilError& e) {
    SkipFailingStep("ReleaseStatusForm", [&] { ReleaseStatusForm(); });
    FormVisible(true);
    Dialogs().setBusy(false);
    Message(e.description() + QStringLiteral("! Abbruch!"), MsgIcon::Critical);
    return;
  }
  SkipFailingStep("ReleaseStatusForm", [&] { ReleaseStatusForm(); });
  FormVisible(true);
  Dialogs().setBusy(false);
  Message(
      QStringLiteral("%1/%2-%3 geographische Koordinaten im Gitterabstand:\r\nBreite: %4, Länge: %5 nach ")
              .arg(grid.nLat + 1)
              .arg(grid.nLon + 1)
              .arg(grid.nodeCount())
              .arg(NumberText(dLat), NumberText(dLon)) +
          Quoted(QFileInfo(written).fileName()) + QStringLiteral(" ausgegeben."),
      MsgIcon::Information);
  state.ImportDatei = written;
  CommonDialog1.FileName = written;
  CommonDialog1.FilterIndex = 4;
  Coolbar2_ButtonClick(kKeyDbOeffnen);
}

void FormOrvenil::WriteNtv2Gsa() {
  ProgramState& state = State();
  state.ExportDatei = QDir::currentPath() + QStringLiteral("/NTv2.gsa");
  const QString noData = QStringLiteral(
      "Keine Daten gefunden! Führen Sie bitte zuerst die gewünschte Transformation durch! Abbruch!");
  std::vector<Ntv2GsaRow> rows;
  try {
    if (GridKooDb->RowCount() > 0) {
      Recordset rs = CoordinateDatabase().openTable(QStringLiteral("Daten"));
      rs.setIndex(QStringLiteral("id"));
      for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        rows.push_back({rs.value(QStringLiteral("Punkt")).textOrEmpty(),
                        rs.value(QStringLiteral("BgDezSek")).textOrEmpty(),
                        rs.value(QStringLiteral("LgDezSek")).textOrEmpty(),
                        rs.value(QStringLiteral("BgDezSekZiel")).textOrEmpty(),
                        rs.value(QStringLiteral("LgDezSekZiel")).textOrEmpty()});
      rs.close();
    }
  } catch (const OrvenilError&) {
    rows.clear();
  }
  if (rows.empty() || Val(rows.front().targetLat) == 0) {
    Message(noData, MsgIcon::Critical);
    return;
  }
  // The header names the job's systems: its start system, and ETRS89 as
  // target, which the target columns must hold.
  const int jobRow = GridKoordSys->FindRow(QStringLiteral("Ellipsoidname"), state.EllipsoidImport, 1);
  const QString jobStart = jobRow > 0 ? GridKoordSys->CellText(jobRow, QStringLiteral("Systemname")) : QString();
  if (const QString refusal = Ntv2GsaTargetRefusal(state.ZielsystemDaten); !refusal.isEmpty()) {
    Message(refusal, MsgIcon::Critical);
    return;
  }
  double dLat = 0, dLon = 0;
  if (!AskSpacings(
          QStringLiteral("Geben Sie bitte den festgelegten Gitterabstand\n[Breite; Länge] in Sekunden ein: "),
          dLat, dLon))
    return;
  state.Antwort =
      Dialogs().inputBox(QStringLiteral("Geben Sie bitte das Startsystem vor:\nRD40/83, GK42/83: "),
                         QStringLiteral("Zielsystem ETRS89"),
                         jobStart.isEmpty() ? QStringLiteral("RD40/83") : jobStart);
  const QString answeredStart = state.Antwort;
  Ntv2GsaHeader header;
  NTv2KopfDaten& kopf = state.NTv2Kopf;
  for (int row = 1; row <= GridKoordSys->RowCount(); ++row) {
    const QString name = GridKoordSys->CellText(row, QStringLiteral("Systemname"));
    const double a = Val(GridKoordSys->CellText(row, QStringLiteral("A")));
    const double b = Val(GridKoordSys->CellText(row, QStringLiteral("B")));
    if (name == state.Antwort) {
      if (state.Antwort == QLatin1String("RD40/83")) state.Antwort = QStringLiteral("RD-83");
      header.systemF = state.Antwort;
      header.majorF = a;
      header.minorF = b;
    }
    if (name == QLatin1String("ETRS89")) {
      header.majorT = a;
      header.minorT = b;
    }
  }
  if (header.systemF.isEmpty()) return;
  if (const QString refusal = Ntv2GsaStartRefusal(answeredStart, jobStart); !refusal.isEmpty()) {
    Message(refusal, MsgIcon::Critical);
    return;
  }
  kopf.SYSTEM_F = header.systemF;
  kopf.SYSTEM_T = QStringLiteral("ETRS89");
  kopf.MAJOR_F = header.majorF;
  kopf.MINOR_F = header.minorF;
  kopf.MAJOR_T = header.majorT;
  kopf.MINOR_T = header.minorT;
  header.date = QDate::currentDate().toString(QStringLiteral("dd-MM-yy"));

  Dialogs().setBusy(true);
  FormVisible(false);
  Dialogs().processEvents();
  try {
    WriteNtv2GsaFile(state.ExportDatei, rows, dLat, dLon, header);
  } catch (const OrvenilError& e) {
    FormVisible(true);
    Dialogs().setBusy(false);
    Message(e.description() + QStringLiteral("! Abbruch!"), MsgIcon::Critical);
    return;
  }
  FormVisible(true);
  Dialogs().setBusy(false);
  const QFileInfo written(state.ExportDatei);
  Message(QStringLiteral(
              "Prüfen Sie bitte die Kopf-Daten (Koordinatensystem, Parameter, etc.)!   \r\nDaten nach ") +
              Quoted(state.ExportDatei) + QStringLiteral(" ausgegeben!\r\nOrdner: ") +
              QDir::toNativeSeparators(written.absolutePath()),
          MsgIcon::Information);
}

void FormOrvenil::ExportNtv2Extents() {
  ProgramState& state = State();
  const int row = GridNTv2Sys->CurrentRow();
  sevTabStrip1->SelectTab(4);
  Dialogs().processEvents();
  if (row == 0) {
    // The tool works on the grid file of the chosen row: the user is told
    // where to choose it.
    Message(QStringLiteral("Bitte wählen Sie zuerst in der Tabelle \"NTv2 Gitterdatei\" die Zeile der "
                           "NTv2-Datei aus, deren Geltungsbereiche exportiert werden sollen!   "),
            MsgIcon::Information, kExtentsTitle);
    return;
  }
  const QString name = GridNTv2Sys->CellText(row, QStringLiteral("Trafosatz"));
  const MsgResult answer = Dialogs().messageBox(
      QStringLiteral(
          "Auswahl NTv2-Gitter mittels Ntv2-Tab. Möchten Sie die Geltungsbereiche der NTv2-Datei ") +
          Quoted(name) + QStringLiteral(" exportieren?   "),
      MsgButtons::YesNo, MsgIcon::Question, kExtentsTitle);
  state.Antwort = answer == MsgResult::Yes ? QStringLiteral("6") : QStringLiteral("7");
  if (answer != MsgResult::Yes) return;

  const QString gridPath = DatabaseFolderFile(state.DatenbankVerzeichnis, name);
  Dialogs().setBusy(true);
  QStringList skipped;
  try {
    const int total = QFileInfo(gridPath).isFile() ? CountFileLines(gridPath, 0) : 0;
    StatusForm()->show();
    skipped = WriteNtv2Extents(gridPath, [total](int line, int block) {
      ShowProgress(line, 0, total, true, QStringLiteral(" Zeilen, %1.Block ...").arg(block));
    });
  } catch (const OrvenilError& e) {
    SkipFailingStep("ReleaseStatusForm", [&] { ReleaseStatusForm(); });
    Dialogs().setBusy(false);
    Message(QStringLiteral("Fehler: ") + e.description() + QStringLiteral("! Abbruch!"), MsgIcon::Critical,
            kExtentsTitle);
    return;
  }
  SkipFailingStep("ReleaseStatusForm", [&] { ReleaseStatusForm(); });
  Dialogs().setBusy(false);
  if (!skipped.isEmpty())
    Message(QStringLiteral("Teilgitter mit dem Gitterabstand 0 wurden übersprungen: ") +
                skipped.join(QStringLiteral(", ")),
            MsgIcon::Exclamation, kExtentsTitle);
  Message(QStringLiteral("Geltungsbereiche der NTv2-Datei ") + Quoted(name) + QStringLiteral(" nach\r\n") +
              Quoted(QDir::toNativeSeparators(Ntv2ExtentPointPath(gridPath))) + QStringLiteral(" und\r\n") +
              Quoted(QDir::toNativeSeparators(Ntv2ExtentLinePath(gridPath))) + QStringLiteral(" ausgegeben!"),
          MsgIcon::Information, kExtentsTitle);
}

void FormOrvenil::ImportNtv2TargetsByLine() { ImportNtv2Targets(true); }

void FormOrvenil::ImportNtv2TargetsByPointNumber() { ImportNtv2Targets(false); }

void FormOrvenil::ImportNtv2Targets(bool byLine) {
  ProgramState& state = State();
  if (GridKooDb->RowCount() == 0) {
    Message(QStringLiteral(
                "Keine Startsystemkoordinaten gefunden! Bitte laden Sie zuerst ein Startsystem! Abbruch!"),
            MsgIcon::Critical);
    return;
  }
  Message(byLine ? QStringLiteral("Zieldatei aus identischen Startdaten inklusive RU und LO im Zielsystem "
                                  "Breite/Länge (Dezimalgrad)!")
                 : QStringLiteral(
                       "Die Zieldaten werden nach Punktnummer den Startdaten zugeordnet und "
                       "überschrieben. Bei fehlenden Zieldaten werden die originalen Werte beibehalten! "
                       "Zieldaten bitte in Breite/Länge (Dezimalgrad)!"),
          MsgIcon::Information);
  CommonDialog1.CancelError = false;
  CommonDialog1.Filter = QStringLiteral("alle (*.bl)|*.bl|");
  CommonDialog1.FilterIndex = 1;
  CommonDialog1.InitDir = state.StandardVerzeichnis;
  if (!CommonDialog1.ShowOpen()) return;
  const QStringList lines = Ntv2TargetFileLines(CommonDialog1.FileName);

  Dialogs().setBusy(true);
  StatusForm()->show();
  if (!byLine) setEnabled(false);
  FormVisible(false);
  Dialogs().processEvents();
  const auto field = [](const QString& line, int n) { return GetToken(line, n, QStringLiteral(" ")); };
  int missing = 0;
  bool completed = false;
  int fileLine = 0;  // the line of the file being written, for the message of a failure
  try {
    state.KooDbDaten = CoordinateDatabase().openTable(QStringLiteral("Daten"));
    Recordset& rs = state.KooDbDaten;
    GridKooDb->SetRedraw(false);
    if (byLine) {
      const qint64 count = rs.recordCount();
      state.AnzahlDatensaetze = static_cast<qint32>(count);
      if (count > 0) rs.moveFirst();
      for (qint64 k = 1; k <= count; ++k) {
        ShowProgress(int(k), 0, int(count), true, QStringLiteral(" Zeilen eingelesen..."));
        fileLine = 0;
        if (k > lines.size())
          throw OrvenilError(kErrSubscriptOutOfRange,
                             QStringLiteral("Die Zieldatei hat keine Zeile %1").arg(k));
        QString line = lines[int(k - 1)];
        fileLine = int(k);
        line = TrimSpaces(line.replace(QLatin1Char('\t'), QLatin1Char(' ')));
        if (!SameNtv2PointNumber(field(line, 1), rs.value(QStringLiteral("Punkt")).textOrEmpty())) {
          Message(QStringLiteral("Punktnummer in Zeile %1 nicht identisch! Abbruch!").arg(k),
                  MsgIcon::Critical, QStringLiteral("Umrechnung NTv2"));
          break;
        }
        rs.edit();
        for (const auto& [column, text] : Ntv2TargetGeographicColumns(field(line, 3), field(line, 4)))
          rs.setValue(column, FieldValue(text));
        rs.update();
        if (k < count) rs.moveNext();
      }
    } else {
      state.AnzahlDatensaetze = static_cast<qint32>(lines.size());
      rs.setIndex(QStringLiteral("Punkt"));
      for (int i = 0; i < lines.size(); ++i) {
        ShowProgress(i + 1, 0, int(lines.size()), true, QStringLiteral(" Zeilen eingelesen..."));
        const QString line = TrimBlanks(TrimSpaces(lines[i]));
        fileLine = i + 1;
        if (line.isEmpty()) continue;
        rs.seek(QStringLiteral("="), FieldValue(Ntv2PunktKey(field(line, 1))));
        if (rs.noMatch() || Ntv2TargetLatitudeMissing(field(line, 3))) {
          ++missing;
        } else {
          rs.edit();
          rs.setValue(QStringLiteral("C"), FieldValue(field(line, 2)));
          for (const auto& [column, text] : Ntv2TargetGeographicColumns(field(line, 3), field(line, 4)))
            rs.setValue(column, FieldValue(text));
          rs.setValue(QStringLiteral("sXeZiel"), FieldValue(QString()));
          rs.setValue(QStringLiteral("sYeZiel"), FieldValue(QString()));
          rs.update();
        }
        if (state.NTv2ZielManuellPkt && !rs.noMatch()) {
          rs.edit();
          for (const char* column : {"BgDezZiel", "LgDezZiel", "BgDezSekZiel", "LgDezSekZiel", "radBgZiel",
                                     "radLgZiel", "sBgZiel", "sLgZiel", "sXeZiel", "sYeZiel"})
            rs.setValue(QLatin1String(column), FieldValue(QString()));
          rs.update();
        }
      }
    }
    fileLine = 0;
    // The file names no system: its targets are no run's any more.
    state.ZielsystemDaten.clear();
    ForgetTargetPositionsSystem(state);
    GridKooDb->SetRedraw(true);
    GridKooDb->Refresh();
    GridKooDb->SetRedraw(false);
    for (int c = 1; c <= GridKooDb->ColumnCount(); ++c)
      GridKooDb->SetColumnVisible(GridKooDb->ColumnKey(c), false);
    for (const char* key : {"Punkt", "C", "BgDezSek", "LgDezSek", "BgDezSekZiel", "LgDezSekZiel"})
      GridKooDb->SetColumnVisible(QLatin1String(key), true);
    completed = true;
  } catch (const OrvenilError& e) {
    const QString where = fileLine > 0 ? QStringLiteral("Zeile %1 der Zieldatei: ").arg(fileLine) : QString();
    Message(where + e.description() + QStringLiteral(", Abbruch!"), MsgIcon::Critical,
            QStringLiteral("Umrechnung NTv2"));
  }
  SkipFailingStep("GridKooDb.Refresh", [&] {
    GridKooDb->SetRedraw(true);
    GridKooDb->Refresh();
  });
  FormVisible(true);
  if (!byLine) setEnabled(true);
  SkipFailingStep("ReleaseStatusForm", [&] { ReleaseStatusForm(); });
  SkipFailingStep("KooDbDaten.close", [&] {
    if (state.KooDbDaten.isOpen()) state.KooDbDaten.close();
  });
  state.KooDbDaten = Recordset();
  Dialogs().setBusy(false);
  if (completed && !byLine && missing >= 1)
    Message(QString::number(missing) +
                QStringLiteral(" Punkte wurden nicht gefunden oder hatten NULL-Koordinaten!   "),
            MsgIcon::Information, QStringLiteral("NTv2 Zieldaten-Import"));
}

}  // namespace orv
