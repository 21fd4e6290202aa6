// The export from the main window: the column dialog, the export run, the
// save dialog with its file-name rules and the dispatch to the writers.
#include <QFileInfo>
#include <cmath>

#include "foundation/DialogService.h"
#include "foundation/FileSystemHelpers.h"
#include "foundation/LocaleSwitch.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "io/ExportColumnWriter.h"
#include "io/ExportFileChoice.h"
#include "io/ExportLgoWriter.h"
#include "io/ExportVesselWriter.h"
#include "io/ExportWaypointWriter.h"
#include "io/ExportXlsWriter.h"
#include "io/FormOrvenilExport.h"
#include "io/HeightEntry.h"
#include "platform/db/DBEngine.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbStatusBar.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

namespace orv {

namespace {

const QString kTitle = QStringLiteral("Orvenil");

// The coordinate database: the open one, or opened by its path for the export.
Database OpenCoordinateDatabase() {
  ProgramState& state = State();
  if (state.KooDb.isOpen()) return state.KooDb;
  return DBEngine::openDatabase(state.KooDbPfad);
}

// The save dialog, asked again while the user refuses to overwrite a file;
// False when nothing is to be written. Sets ExportDatei.
bool ChooseExportFile(CommonDialog& CommonDialog2, const CommonDialog& CommonDialog1) {
  ProgramState& state = State();
  CommonDialog2.FilterIndex = ExportFilterForPreset(state.ExportVorlage);
  for (;;) {
    CommonDialog2.DialogTitle = QStringLiteral("Datei exportieren");
    CommonDialog2.CancelError = true;
    CommonDialog2.FileName = ExportDefaultFileName(state.ImportDatei);
    CommonDialog2.Filter = ExportFilterString();
    CommonDialog2.InitDir =
        CommonDialog1.FileName.isEmpty() ? QString() : QFileInfo(CommonDialog1.FileName).absolutePath();
    // The dialog asks nothing: the path written may get its extension only
    // below, and the question names that path.
    CommonDialog2.OverwritePrompt = false;
    try {
      if (!CommonDialog2.ShowSave()) return false;
    } catch (const OrvenilError&) {
      return false;
    }
    if (TrimBlanks(CommonDialog2.FileName).isEmpty()) return false;
    state.ExportDatei =
        MapSharedFolderPath(ExportFileName(CommonDialog2.FileName, CommonDialog2.FilterIndex));
    if (state.ExportDatei.isEmpty()) return false;
    if (!FileExists(state.ExportDatei)) return true;
    // Yes keeps the old file until the new one is complete: the writers
    // replace it only then.
    if (Dialogs().messageBox(QStringLiteral("Datei schon vorhanden! Überschreiben?    \n") + state.ExportDatei,
                             MsgButtons::YesNo, MsgIcon::Question,
                             QStringLiteral("Datei überschreiben?")) == MsgResult::Yes)
      return true;
  }
}

// The flight height of the waypoint file; False when the user cancels. OK
// with an empty box is the height 0; a text that is not a number as a whole
// would be written as another height, so it is refused and asked again.
bool AskFlightHeight(QString& height) {
  const QString title = QStringLiteral("Eingabe Flughöhe");
  for (;;) {
    const InputAnswer answer =
        Dialogs().inputBoxAnswer(QStringLiteral("Flughöhe über Grund (HGT): "), title, QStringLiteral("80"));
    if (answer.cancelled) return false;
    if (ReadTypedHeight(answer.text, QStringLiteral("Flughöhe"), QStringLiteral("80"), title, height)) return true;
  }
}

// The .xls file of the coordinate grid's rows; returns the number of
// coordinates missing in the rows left out.
int ExportSpreadsheetFile(DataGrid* GridKooDb, const ExportJob& job) {
  // The grid's rows are read through one query in the grid's own order; a
  // grid that shows rows of another kind writes them itself.
  XlsExportSource source;
  source.fromClause = DatenFromClause(GridKooDb->BoundQuery());
  if (source.fromClause.isEmpty()) {
    if (!GridKooDb->ExportSpreadsheet(job.path, job.columnList))
      throw OrvenilError(kErrDeviceIoError, GridKooDb->LastError());
    return 0;
  }
  for (int c = 1; c <= GridKooDb->ColumnCount(); ++c)
    source.captions << GridKooDb->ColumnCaption(GridKooDb->ColumnKey(c));
  return WriteXlsFile(job, source);
}

}  // namespace

void FormOrvenil::cmdAuswahlExport_Click() {
  if (GridKooDb->RowCount() < 1) return;
  {
    QStringList captions;
    for (int c = 1; c <= GridKooDb->ColumnCount(); ++c)
      captions << GridKooDb->ColumnCaption(GridKooDb->ColumnKey(c));
    FormOrvenilExport dialog(captions, this);
    Dialogs().showModal(&dialog);
  }
  xpStatusBar1->SetPanelText(
      10, QStringLiteral("Speichern Spalten: ") + State().SpeichernSpalten + QStringLiteral("  "));
  ExportStarten();
}

void FormOrvenil::ExportStarten() {
  if (State().SpeichernSpalten.isEmpty() || GridKooDb->RowCount() < 1) return;
  ShowBusyWindow();
  ExportCoordinateTable();
  HideBusyWindow();
}

void FormOrvenil::ExportCoordinateTable() {
  ProgramState& state = State();
  if (GridKooDb->RowCount() < 1) {
    Dialogs().messageBox(QStringLiteral("Daten fehlen! Abbruch!"), MsgButtons::Ok, MsgIcon::Critical, kTitle);
    return;
  }
  if (!ChooseExportFile(CommonDialog2, CommonDialog1)) return;
  const int format = CommonDialog2.FilterIndex;
  if (format == kExportWaypoints) {
    // A preset without positions is refused before the height is asked;
    // cancel in the height box writes nothing.
    try {
      RequireWaypointPreset(state.ExportVorlage);
    } catch (const OrvenilError& e) {
      Dialogs().messageBox(e.description(), MsgButtons::Ok, MsgIcon::Critical, kTitle);
      return;
    }
    if (!AskFlightHeight(state.Antwort)) return;
  }

  Dialogs().setBusy(true);
  StatusForm();
  try {
    ExportJob job;
    job.db = OpenCoordinateDatabase();
    job.path = state.ExportDatei;
    job.columnList = state.SpeichernSpaltenNr;
    job.preset = state.ExportVorlage;
    job.startEllipsoid = state.EllipsoidImport;
    job.targetEllipsoid = state.EllipsoidZielKoordinaten;
    job.decimalComma = DesktopDecimalSeparator() == QStringLiteral(",");
    job.progress = [](int record, int total) {
      ShowProgress(record, 0, total, true, QStringLiteral(" Zeilen exportiert..."));
    };
    int emptyCoordinates = 0;
    UnreadableValues unreadable;
    switch (format) {
      case kExportAscii:
      case kExportAsciiTab:
      case kExportCsv:
      case kExportGeograf: emptyCoordinates = WriteColumnFile(job, format, unreadable); break;
      case kExportXls: emptyCoordinates = ExportSpreadsheetFile(GridKooDb, job); break;
      case kExportVessel: emptyCoordinates = WriteVesselSet(job, state.ImportKopfzeile); break;
      case kExportLgo: emptyCoordinates = WriteLgoFile(job, unreadable); break;
      case kExportWaypoints: emptyCoordinates = WriteWaypointFile(job, state.Antwort); break;
      default: break;
    }
    const QString leftOut = LeftOutMessage(emptyCoordinates, unreadable);
    if (!leftOut.isEmpty())
      Dialogs().messageBox(leftOut, MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Export"));
  } catch (const OrvenilError& e) {
    Dialogs().messageBox(e.description(), MsgButtons::Ok, MsgIcon::Critical, kTitle);
  }
  Dialogs().setBusy(false);
  if (FormStatus* status = ExistingStatusForm()) status->hide();
}

}  // namespace orv
