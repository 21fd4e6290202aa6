// Editing the parameter, NTv2 and geoid-model tables on their tabs: the
// popup menu of the grids, the question before rows are deleted, adding sets
// from files, saving, and opening a set's information link.
#include <QCursor>
#include <QFileInfo>

#include "foundation/DatabaseFolderFile.h"
#include "foundation/DialogService.h"
#include "foundation/FileSystemHelpers.h"
#include "foundation/FileText.h"
#include "foundation/LineEndConversion.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/VbTabStrip.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"
#include "shell/SkipFailingStep.h"
#include "shell/SystemTableEditorRules.h"
#include "shell/TrafoPanelRules.h"

namespace orv {

namespace {

// Tabs of the system tables.
constexpr int kTabTrafoSys = 3;
constexpr int kTabNTv2Sys = 4;
constexpr int kTabGeoidmodell = 5;

// Menu items.
enum MenuItem { kEditRow = 0, kDeleteRows, kAddRow, kAddFile, kSaveTable, kOpenLink };

const QString kAddTitle = QStringLiteral("Daten hinzufügen");

bool ConfirmRowDeletion(const DataGrid* grid, int row) {
  return Dialogs().messageBox(DeleteRowsQuestion(row, grid->SelectedRowCount()), MsgButtons::YesNo,
                              MsgIcon::Question, QStringLiteral("Löschen")) == MsgResult::Yes;
}

void Info(const QString& text, const QString& title) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Information, title);
}

bool AskYes(const QString& text) {
  return Dialogs().messageBox(text, MsgButtons::YesNo, MsgIcon::Question, kAddTitle) == MsgResult::Yes;
}

QString Quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

// The open dialog of the main window serves the import as well: the table
// editor leaves its filter and choices as the import set them.
class BorrowedOpenDialog {
 public:
  BorrowedOpenDialog(CommonDialog& dialog, const QString& filter) : dialog_(dialog), saved_(dialog) {
    dialog_.CancelError = true;
    dialog_.Filter = filter;
    dialog_.FilterIndex = 1;
  }
  ~BorrowedOpenDialog() { dialog_ = saved_; }
  // The chosen path; a cancel throws (error 32755).
  QString choose() {
    dialog_.ShowOpen();
    return dialog_.FileName;
  }

 private:
  CommonDialog& dialog_;
  CommonDialog saved_;
};

}  // namespace

void FormOrvenil::GridTrafoSys_BeforeDelete(int row, bool& cancel) {
  if (!ConfirmRowDeletion(GridTrafoSys, row)) cancel = true;
}
void FormOrvenil::GridNTv2Sys_BeforeDelete(int row, bool& cancel) {
  if (!ConfirmRowDeletion(GridNTv2Sys, row)) cancel = true;
}
void FormOrvenil::GridGeoidmodell_BeforeDelete(int row, bool& cancel) {
  if (!ConfirmRowDeletion(GridGeoidmodell, row)) cancel = true;
}

void FormOrvenil::ShowSystemTableMenu(DataGrid* grid, int button, int column) {
  if (button != 2) return;
  // "Zeile bearbeiten" starts editing in the column clicked last.
  grid->SetTag(QString::number(column));
  Dialogs().popupMenu(MenuPopUp, QCursor::pos());
}

void FormOrvenil::GridTrafoSys_MouseUp(int button, int column) { ShowSystemTableMenu(GridTrafoSys, button, column); }
void FormOrvenil::GridNTv2Sys_MouseUp(int button, int column) { ShowSystemTableMenu(GridNTv2Sys, button, column); }
void FormOrvenil::GridGeoidmodell_MouseUp(int button, int column) {
  ShowSystemTableMenu(GridGeoidmodell, button, column);
}

void FormOrvenil::sevTabStrip1_Click() {
  for (DataGrid* grid : {GridTrafoSys, GridNTv2Sys, GridGeoidmodell}) grid->SetEditMode(false);
}

void FormOrvenil::mnuPopUp_Click(int index) {
  const int tab = sevTabStrip1->SelectedTab();
  if (tab == kTabGeoidmodell) {
    Info(QStringLiteral("Zur Zeit kann das Geoidmodell nicht bearbeitet werden!   "), QStringLiteral("Geoidundulation"));
    return;
  }
  if (tab != kTabTrafoSys && tab != kTabNTv2Sys) return;
  const SystemTable table = tab == kTabTrafoSys ? SystemTable::TrafoSys : SystemTable::NTv2Sys;
  DataGrid* grid = SystemTableGrid(table);
  // The set chosen in the panel, and the rows an edit takes away.
  const int chosenRow = ChosenSetRow(grid);
  QList<int> deletedRows;
  const int rowsBefore = grid->RowCount();

  SkipFailingStep("Systemtabelle bearbeiten", [&] {
    switch (index) {
      case kEditRow:
        grid->SetEditMode(true);
        grid->StartEdit(grid->CurrentRow(), grid->Tag().toInt());
        break;
      case kDeleteRows: {
        const QList<int> selected = grid->SelectedRows();
        if (grid->DeleteSelectedRows() > 0) deletedRows = selected;
        break;
      }
      case kAddRow: grid->AddRow(QStringLiteral("\t")); break;
      case kAddFile:
        if (table == SystemTable::TrafoSys)
          AddParameterSetsFromFile();
        else
          AddNtv2SetFromFile();
        break;
      case kSaveTable: SaveSystemTableWithReport(table); break;
      case kOpenLink:
        if (table == SystemTable::NTv2Sys) OpenLicenceLink();
        break;
      default: break;
    }
  });
  // The files follow every change at once. A grid file that could not be
  // read at start-up is kept until the user saves the table explicitly.
  SkipFailingStep("Systemtabelle speichern", [&] {
    if (!GridFileUnreadable(table)) SaveSystemTableFiles(table);
  });
  // The set list follows deleted and added rows; the chosen set stays chosen.
  if (!deletedRows.isEmpty() || grid->RowCount() != rowsBefore)
    SkipFailingStep("Satzliste nachführen",
                    [&] { SetListFollowsTable(grid, RowAfterDeletion(chosenRow, deletedRows)); });
  // Added or changed rows are readable in full.
  FitColumnWidths(grid);
}

void FormOrvenil::AddParameterSetsFromFile() {
  QString path;
  {
    BorrowedOpenDialog dialog(CommonDialog1, QStringLiteral("3-D Transformationsparameter (*.dat)|*.dat|"));
    path = MapSharedFolderPath(dialog.choose());
  }
  if (!FileExists(path)) return;
  if (!AskYes(QStringLiteral("Sollen die Transformationsparameter der Datei ") + Quoted(path) +
              QStringLiteral(" hinzugefügt werden?   ")))
    return;
  // One set per line, ";" between the values; any line end, and a last line
  // without one, counts. A file that cannot be read as text adds nothing.
  try {
    AddRowsFromTextFile(GridTrafoSys, path);
  } catch (const OrvenilError& e) {
    Dialogs().messageBox(e.description(), MsgButtons::Ok, MsgIcon::None, kProgramTitle);
  }
}

void FormOrvenil::AddNtv2SetFromFile() {
  QString chosen;
  {
    BorrowedOpenDialog dialog(CommonDialog1, QStringLiteral("NTV2-ASCII (*.gsa)|*.gsa|"));
    chosen = dialog.choose();
  }
  const QString name = QFileInfo(chosen).fileName();
  const QString path = MapSharedFolderPath(chosen);
  if (name.isEmpty() || !FileExists(path)) {
    Info(QStringLiteral("NTv2-Trafosatz ") + Quoted(name) + QStringLiteral(" wurde nicht vorgefunden!   "),
         kProgramTitle);
    return;
  }
  if (!AskYes(QStringLiteral("Soll die NTV2-ASCII Datei ") + Quoted(path) + QStringLiteral(" hinzugefügt werden?   ")))
    return;

  // The set uses the copy in the database folder. A file of that name there
  // that holds another grid stays as it is (other sets may use it); the
  // chosen grid is then kept under a name of its own.
  const QString folder = State().DatenbankVerzeichnis;
  const QString stored = Ntv2StoredFileName(folder, name, path);
  const QString target = DatabaseFolderFile(folder, stored);
  if (!FileExists(target) && !CopyFileTo(path, target, true)) {
    Dialogs().messageBox(QStringLiteral("NTv2-Trafosatz ") + Quoted(name) +
                             QStringLiteral(" konnte nicht in den Ordner ") + Quoted(folder) +
                             QStringLiteral(" kopiert werden! Abbruch!"),
                         MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
    return;
  }
  ConvertLfToCrLf(target, true);

  // The header of the copy names the sub-grid and the two systems.
  const auto headerValue = [&](int line, const QString& key) {
    return GetToken(ReadFileLine(target, line), 2, key);
  };
  const QString subName = headerValue(12, QStringLiteral("SUB_NAME"));
  const Ntv2SystemName from = MapNtv2SystemName(headerValue(6, QStringLiteral("SYSTEM_F")));
  const Ntv2SystemName to = MapNtv2SystemName(headerValue(7, QStringLiteral("SYSTEM_T")));
  GridNTv2Sys->AddRow(QStringList{subName, stored, from.system, to.system, from.ellipsoid, to.ellipsoid}.join(
      QLatin1Char('\t')));
  if (stored.compare(name, Qt::CaseInsensitive) == 0) {
    Info(QStringLiteral("NTv2-Trafosatz ") + Quoted(name) +
             QStringLiteral(" wurde vorgefunden und der Datenbank zugefügt.   "),
         kProgramTitle);
  } else {
    Info(QStringLiteral("NTv2-Trafosatz ") + Quoted(name) + QStringLiteral(" wurde vorgefunden und der Datenbank als ") +
             Quoted(stored) + QStringLiteral(" zugefügt: die Datei ") + Quoted(name) +
             QStringLiteral(" im Datenbankordner enthält ein anderes Gitter und bleibt unverändert.   "),
         kProgramTitle);
  }
}

bool FormOrvenil::StoreSystemTable(SystemTable table) { return SaveSharedSystemTable(table, true); }

void FormOrvenil::SaveSystemTableWithReport(SystemTable table) {
  if (!StoreSystemTable(table)) return;
  const QString files = table == SystemTable::TrafoSys
                            ? QStringLiteral("sys_7Parameter.dat und  *.fil gespeichert!   ")
                            : QStringLiteral("sys_NTv2.fil und sys_NTv2.dat gespeichert!   ");
  Info(QStringLiteral("Daten nach ") + State().DatenbankVerzeichnis + QLatin1Char('\n') + files,
       QStringLiteral("Daten speichern"));
}

void FormOrvenil::SaveEditedSystemTables() {
  // A cell still being edited counts as edited.
  for (SystemTable table : {SystemTable::TrafoSys, SystemTable::NTv2Sys, SystemTable::Geoidmodell})
    SystemTableGrid(table)->CommitEdit();
  for (SystemTable table : {SystemTable::TrafoSys, SystemTable::NTv2Sys, SystemTable::Geoidmodell})
    if (HasUnsavedEdits(table)) StoreSystemTable(table);
}

void FormOrvenil::OpenLicenceLink() {
  const QString link = TrimBlanks(GridNTv2Sys->CellText(GridNTv2Sys->CurrentRow(), QStringLiteral("Lizenz")));
  if (link.isEmpty()) return;
  OpenHelp(link);
}

}  // namespace orv
