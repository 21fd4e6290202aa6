#pragma once
// The four system tables of the main window: their columns, the rows of the
// coordinate-system table, the file names and messages of the file-backed
// tables, and how a line of their ";"-separated text files becomes a row.
#include <QList>
#include <QString>
#include <QStringList>

namespace orv {

struct SystemTableColumn {
  QString key;
  QString caption;
  int widthTwips = 1200;
};

enum class SystemTable { KoordSys, TrafoSys, NTv2Sys, Geoidmodell };

// Columns in grid order with key, caption and initial width.
QList<SystemTableColumn> SystemTableColumns(SystemTable table);

// The four rows of the coordinate-system table, each one TAB-separated text.
QStringList KoordSysRows();

// File base name in the database folder ("sys_7Parameter", "sys_NTv2",
// "Quasigeoidmodell"); empty for the coordinate-system table.
QString SystemTableBaseName(SystemTable table);

// Message shown when neither the grid file nor the text file exists.
// databaseFolder ends with a "/".
QString MissingTableFileMessage(SystemTable table, const QString& databaseFolder);

inline const QString kTableReadErrorMessage =
    QStringLiteral("Während des Lesens der Daten ist ein Fehler aufgetreten.");
inline const QString kTableSaveErrorMessage =
    QStringLiteral("Während des Speicherns ist ein Fehler aufgetreten!");
// The save message followed by the file and the reason (when known).
QString TableSaveErrorMessage(const QString& failure);

// One text-file line as a grid row: every ";" becomes a TAB. A TAB inside a
// cell would start a cell of its own and shift every later one; it becomes a
// blank, and *hadTab tells so.
QString TableFileLineToRow(const QString& line, bool* hadTab = nullptr);
// One grid row as a text-file line, the cells joined by ";". A character that
// would split the cell or the line when read (";", TAB, CR, LF) is written as
// a blank, so no cell ever moves.
QString TableRowToFileLine(const QStringList& cells);
// The message naming the text-file lines whose TABs were read as blanks.
QString TabsInTableFileMessage(const QString& path, const QList<int>& lineNumbers);

// Column width after fitting: the caption's width times 1.2, rounded to
// whole twips (halves to even), at least 500.
int FittedColumnWidth(double captionWidthTwips);

}  // namespace orv
