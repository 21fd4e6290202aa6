#pragma once
// What every export writer is given: the coordinate database, the output
// path, the chosen columns and preset, and where to report its progress.
// Writers put their file in place only when it is complete; a file that
// cannot be created or written raises an OrvenilError naming it.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "foundation/ReplacingFile.h"
#include "platform/db/Database.h"
#include "platform/ui/ProgressWindow.h"

namespace orv {

class ForwardQuery;

struct ExportJob {
  Database db;         // holds table Daten
  QString path;        // the output file
  QString columnList;  // "1,2,18,19": 1-based column numbers of Daten, in output order
  QString preset;      // the export dialog's position preset
  QString startEllipsoid;   // what the start positions are in (the import's ellipsoid)
  QString targetEllipsoid;  // what the target positions are in ("" when unknown)
  bool decimalComma = false;  // the desktop writes numbers with "," (the csv file follows it)
  std::function<void(int record, int total)> progress;

  // Passes on the records at which the progress display can change.
  void report(int record, int total) const {
    if (progress && throttle.due(record, total)) progress(record, total);
  }
  mutable ProgressThrottle throttle;
};

// An export's output text file, Windows-1252 with CR LF, written through a
// buffer under a temporary name and put in place by close(); a writer that
// fails before leaves any older file of the name as it was.
class ExportOutput {
 public:
  // Throws OrvenilError naming the file when it cannot be created.
  explicit ExportOutput(const QString& path);
  void writeLine(QStringView text);
  // Bytes already in Windows-1252 (plain ASCII, say), followed by CR LF.
  void writeEncodedLine(QByteArrayView bytes);
  // Throws OrvenilError naming the file when it cannot be written.
  void close();

 private:
  void flush();
  [[noreturn]] void fail();
  ReplacingFile file_;
  QByteArray buffer_;
};

// The field names of Daten that the entries of a column list name (entry n
// names field n - 1, read from its leading digits); "" for an entry that
// names no field.
QStringList ExportColumnNames(const QString& columnList);

// True for a field that holds a coordinate of a point: projected (sYe,
// sXe), geocentric (sXz, sYz, sZz) or geographic (sBg, sLg, BgDez, LgDez,
// BgDezSek, LgDezSek, radBg, radLg), of the start or of the target system.
// Heights are no coordinates: a point may have none.
bool IsCoordinateField(const QString& name);

// The chosen coordinate columns of a writer's records: a record whose
// coordinate is an empty text, was never written (no run has computed it)
// or says "Fehler" (a run could not compute it) has no valid value there;
// the writer leaves the record out, and the export ends with the message
// of their count.
class MissingCoordinates {
 public:
  // names: the fields of the query's columns from column 0 on.
  explicit MissingCoordinates(const QStringList& names);
  // Counts the chosen coordinates the current row lacks; true when it lacks none.
  bool complete(const ForwardQuery& query);
  // The same for the row's values already read, one for each query column.
  bool complete(const std::vector<QByteArrayView>& values);
  int count() const { return count_; }

 private:
  std::vector<int> columns_;
  int count_ = 0;
};

// What a writer left out besides the records without coordinates: records
// with a value the file cannot hold so that it reads back as it is (a
// blank inside a value of a blank-separated file, a separator inside a
// value, an angle sign the import would join with the blank after it, a
// "°" beside projected or geocentric coordinates, a character the code
// page lacks).
class UnreadableValues {
 public:
  // Counts the record; its point and value are named in the message.
  void add(QStringView point, QStringView value);
  int count() const { return count_; }
  // "" when nothing was left out.
  QString message() const;

 private:
  int count_ = 0;
  QStringList named_;
};

// The end message of an export that left records out, "" when none.
QString LeftOutMessage(int emptyCoordinates, const UnreadableValues& unreadable);

// A file that says which system its positions are in refuses positions of
// another one: throws an OrvenilError that names the file, the positions'
// system and the system to transform them to first. allowed: the
// ellipsoids the file may hold; target: the positions are the target
// system's.
void RequirePositionsIn(const QString& ellipsoid, const QStringList& allowed, bool target,
                        const QString& file, const QString& transformTo);

// A SELECT list for field names: each quoted, NULL for an empty name.
QString ExportSelectList(const QStringList& names);

// Number of records in Daten.
int DatenRecordCount(const Database& db);

}  // namespace orv
