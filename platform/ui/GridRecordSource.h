#pragma once
// What the data grid needs of a bound table: its field names, its rows in
// order, fetched on demand in blocks, and deletion of a row. The grid never
// copies the table into memory; it asks for the rows it shows.
#include <QString>
#include <QStringList>
#include <vector>

namespace orv {

class GridRecordSource {
 public:
  virtual ~GridRecordSource() = default;
  virtual QStringList fieldNames() const = 0;
  // A source has read its set of rows when it is made; reload() reads it
  // again (after the table changed). False when the rows and their values
  // are known to be the same as before, so that rows already fetched stay.
  virtual bool reload() = 0;
  virtual int rowCount() const = 0;
  // Rows first .. first+count-1 (0-based), each with one text per field
  // ("" for a null value).
  virtual std::vector<QStringList> fetchRows(int first, int count) = 0;
  // Deletes row `index` (0-based) from the table; the caller reloads.
  virtual bool deleteRow(int index) = 0;
  // The SELECT statement the rows come from, when the source runs one.
  virtual QString query() const { return QString(); }
};

}  // namespace orv
