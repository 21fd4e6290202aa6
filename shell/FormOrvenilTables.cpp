// The four system tables of the main window: building, loading, saving and
// the choice lists filled from them.
#include <QLockFile>

#include "foundation/DialogService.h"
#include "foundation/FileErrorReason.h"
#include "foundation/FileSystemHelpers.h"
#include "foundation/OrvenilError.h"
#include "foundation/RegularFile.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextLineWriter.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/VbComboBox.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"
#include "shell/SystemTableFiles.h"

namespace orv {

namespace {

void PlainMessage(const QString& text) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::None, kProgramTitle);
}

void SetUpColumns(DataGrid* grid, SystemTable table) {
  grid->ClearRows();
  grid->ClearColumns();
  for (const SystemTableColumn& c : SystemTableColumns(table)) grid->AddColumn(c.key, c.caption, c.widthTwips);
}

}  // namespace

void AddRowsFromTextFile(DataGrid* grid, const QString& path) {
  if (const QString problem = TableTextFileProblem(path); !problem.isEmpty())
    throw OrvenilError(kErrPathFileAccess, FileNotReadMessage(path, problem));
  TextLineReader reader(path);
  if (!reader.isOpen()) return;
  QString line;
  QList<int> linesWithTabs;
  for (int number = 1; reader.readLine(line); ++number) {
    bool hadTab = false;
    grid->AddRow(TableFileLineToRow(line, &hadTab));
    if (hadTab) linesWithTabs << number;
  }
  if (!linesWithTabs.isEmpty()) PlainMessage(TabsInTableFileMessage(path, linesWithTabs));
}

bool WriteSystemTableTextFile(DataGrid* grid, const QString& path) {
  try {
    TextLineWriter writer(path);
    for (int r = 1; r <= grid->RowCount(); ++r) writer.writeLine(TableRowToFileLine(grid->RowCells(r)));
    writer.close();
    return true;
  } catch (const OrvenilError&) {
    return false;
  }
}

DataGrid* FormOrvenil::SystemTableGrid(SystemTable table) const {
  switch (table) {
    case SystemTable::KoordSys: return GridKoordSys;
    case SystemTable::TrafoSys: return GridTrafoSys;
    case SystemTable::NTv2Sys: return GridNTv2Sys;
    case SystemTable::Geoidmodell: return GridGeoidmodell;
  }
  return nullptr;
}

void FormOrvenil::FitColumnWidths(DataGrid* grid) {
  for (int c = 1; c <= grid->ColumnCount(); ++c) {
    const QString key = grid->ColumnKey(c);
    // The caption rule gives the least width; the grid widens a column
    // further so that its cells can be read.
    const int least = FittedColumnWidth(grid->TextWidthTwips(grid->ColumnCaption(key)));
    grid->SetColumnWidth(key, least);
    grid->FitColumnWidth(key);
    if (grid->ColumnWidth(key) < least) grid->SetColumnWidth(key, least);
  }
}

void FormOrvenil::BuildCoordinateSystemTable() {
  SetUpColumns(GridKoordSys, SystemTable::KoordSys);
  for (const QString& row : KoordSysRows()) GridKoordSys->AddRow(row);
  FitColumnWidths(GridKoordSys);
}

namespace {

// Loads the grid file; any failure, whatever the exception, is "unreadable",
// and so is the file of another table (its columns are not this table's).
bool LoadGridFile(DataGrid* grid, const QString& path) {
  try {
    return grid->LoadFromFile(path, true);
  } catch (...) {
    return false;
  }
}

}  // namespace

void FormOrvenil::LoadSystemTable(SystemTable table, bool writeBack) {
  DataGrid* grid = SystemTableGrid(table);
  const QString base = State().DatenbankVerzeichnis + SystemTableBaseName(table);
  const QString gridFile = base + QStringLiteral(".fil");
  const QString textFile = base + QStringLiteral(".dat");
  // Another instance saving the table meanwhile waits until the rows read
  // here have been written back.
  QLockFile lock(base + QStringLiteral(".lock"));
  lock.tryLock(10000);
  SetUpColumns(grid, table);
  unreadableGridFiles_.remove(static_cast<int>(table));
  unreadableTextFiles_.remove(static_cast<int>(table));

  bool fromGridFile = false;
  if (FileExists(gridFile)) {
    // A grid file that cannot be opened (a named pipe in its place would
    // wait for a writer for ever) is named with the reason.
    const QString refused = RegularFileProblem(gridFile);
    if (refused.isEmpty() && LoadGridFile(grid, gridFile)) {
      fromGridFile = true;
    } else {
      PlainMessage(refused.isEmpty() ? kTableReadErrorMessage
                                     : kTableReadErrorMessage + QStringLiteral("\n\n") +
                                           FileNotReadMessage(gridFile, refused));
      // The unreadable file (from another program version, or damaged) keeps
      // its rows: it is never written over, and the text file stands in for it.
      unreadableGridFiles_.insert(static_cast<int>(table));
      SetUpColumns(grid, table);
    }
  }
  if (!fromGridFile) {
    if (!FileExists(textFile)) {
      PlainMessage(MissingTableFileMessage(table, State().DatenbankVerzeichnis));
    } else {
      // Neither file is written over with what could not be read, and no
      // grid file is made from the empty table.
      const auto unreadable = [&](const QString& message) {
        PlainMessage(message);
        unreadableGridFiles_.insert(static_cast<int>(table));
        unreadableTextFiles_.insert(static_cast<int>(table));
        SetUpColumns(grid, table);
      };
      try {
        AddRowsFromTextFile(grid, textFile);
      } catch (const OrvenilError& e) {
        unreadable(e.description());
      } catch (...) {
        unreadable(kTableReadErrorMessage);
      }
      if (!GridFileUnreadable(table) && !grid->SaveToFile(gridFile))
        PlainMessage(TableSaveErrorMessage(grid->LastError()));
    }
  }
  // The rows read are what this instance's later saves are compared with.
  storedRows_[static_cast<int>(table)] = GridTableRows(grid);
  if (writeBack) WriteLoadedSystemTable(table);
  FitColumnWidths(grid);
}

bool FormOrvenil::WriteLoadedSystemTable(SystemTable table) {
  DataGrid* grid = SystemTableGrid(table);
  const QString base = State().DatenbankVerzeichnis + SystemTableBaseName(table);
  if (unreadableTextFiles_.contains(static_cast<int>(table))) return false;
  const bool textWritten = WriteSystemTableTextFile(grid, base + QStringLiteral(".dat"));
  // A grid file that could not be read is kept; the next start reads the
  // text file in its place.
  if (GridFileUnreadable(table)) return false;
  if (!grid->SaveToFile(base + QStringLiteral(".fil"))) {
    PlainMessage(TableSaveErrorMessage(grid->LastError()));
    return false;
  }
  return textWritten;
}

bool FormOrvenil::SaveSystemTableFiles(SystemTable table) { return SaveSharedSystemTable(table, false); }

bool FormOrvenil::SaveSharedSystemTable(SystemTable table, bool explicitSave) {
  const int key = static_cast<int>(table);
  if (!explicitSave && unreadableTextFiles_.contains(key)) return false;
  DataGrid* grid = SystemTableGrid(table);
  const QString base = State().DatenbankVerzeichnis + SystemTableBaseName(table);
  const TableRows mine = GridTableRows(grid);
  const TableRows& read = storedRows_[key];
  // An explicit save replaces a file that could not be read; a grid file
  // that could not be read stays until then.
  const bool replaceUnreadable = explicitSave && (GridFileUnreadable(table) || unreadableTextFiles_.contains(key));
  const bool keepGridFile = !explicitSave && GridFileUnreadable(table);
  // Another instance may save the same table at this moment.
  QLockFile lock(base + QStringLiteral(".lock"));
  lock.tryLock(10000);
  QStringList keys;
  for (int c = 1; c <= grid->ColumnCount(); ++c) keys << grid->ColumnKey(c);
  const StoredTable stored = ReadStoredTable(base, keys, !GridFileUnreadable(table));
  // Only this instance's changes are laid onto the files as they are now,
  // so another instance's edits stay.
  const TableMerge merged = MergeTableRows(read, mine, stored.rows().value_or(read));
  if (merged.conflict) {
    KeepOwnSystemTableVersion(table, mine);
    return false;
  }
  // A file is written where it is missing or holds other rows than the
  // table; files that hold it already are left as they are.
  const bool writeText = replaceUnreadable || stored.textFileRows != merged.rows;
  const bool writeGrid = !keepGridFile && (replaceUnreadable || stored.gridFileRows != merged.rows);
  if (!WriteMergedSystemTable(table, merged.rows, explicitSave, writeText, writeGrid)) return false;
  // What this instance holds is now in the files; its next save lays only
  // the changes made after this one onto them.
  storedRows_[key] = mine;
  editedTables_.remove(key);
  if (!explicitSave) return !keepGridFile;
  unreadableGridFiles_.remove(key);
  unreadableTextFiles_.remove(key);
  return true;
}

bool FormOrvenil::WriteMergedSystemTable(SystemTable table, const TableRows& rows, bool explicitSave, bool writeText,
                                         bool writeGrid) {
  const QString base = State().DatenbankVerzeichnis + SystemTableBaseName(table);
  // The grid file first: start-up reads it in preference to the text file,
  // so a program ended between the two starts with the table saved, and
  // its next save brings the text file up to date. A grid file that cannot
  // be written leaves both files as they were.
  if (writeGrid) {
    DataGrid* grid = SystemTableGrid(table);
    if (!grid->SaveToFile(base + QStringLiteral(".fil"), rows)) {
      PlainMessage(TableSaveErrorMessage(grid->LastError()));
      return false;
    }
    TableFileWritten(base + QStringLiteral(".fil"));
  }
  if (writeText) {
    try {
      WriteTableTextFile(base + QStringLiteral(".dat"), rows);
      TableFileWritten(base + QStringLiteral(".dat"));
    } catch (const OrvenilError& e) {
      if (explicitSave) PlainMessage(TableSaveErrorMessage(e.description()));
      return false;
    }
  }
  return true;
}

void FormOrvenil::KeepOwnSystemTableVersion(SystemTable table, const TableRows& rows) {
  const int key = static_cast<int>(table);
  const QString base = State().DatenbankVerzeichnis + SystemTableBaseName(table);
  if (!keptVersionFiles_.contains(key)) keptVersionFiles_.insert(key, KeptVersionPath(base));
  const QString kept = keptVersionFiles_.value(key);
  QString failure;
  try {
    WriteTableTextFile(kept, rows);
  } catch (const OrvenilError& e) {
    failure = e.description();
  }
  Dialogs().messageBox(KeptVersionMessage(base + QStringLiteral(".dat"), kept, failure), MsgButtons::Ok,
                       failure.isEmpty() ? MsgIcon::Exclamation : MsgIcon::Critical, kProgramTitle);
}

void FormOrvenil::FillGeoidModelList() {
  cmbGeoidmodell->Clear();
  cmbGeoidmodell->AddItem(QStringLiteral("ohne"));
  for (int r = 1; r <= GridGeoidmodell->RowCount(); ++r)
    cmbGeoidmodell->AddItem(GridGeoidmodell->CellText(r, QStringLiteral("Name")));
  cmbGeoidmodell->SetText(QStringLiteral("ohne"));
}

void FormOrvenil::FillParameterSetList() {
  const QString shown = ComboTrafoPara->Text();
  ComboTrafoPara->Clear();
  for (int r = 1; r <= GridTrafoSys->RowCount(); ++r)
    ComboTrafoPara->AddItem(GridTrafoSys->CellText(r, QStringLiteral("Name")));
  // Filling the list does not choose a set.
  ComboTrafoPara->SetText(shown.isEmpty() ? QStringLiteral("ohne") : shown);
}

}  // namespace orv
