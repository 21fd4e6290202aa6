#pragma once
// A bound grid's rows from a recordset of the database layer: the row ids in
// the recordset's order are kept, the rows themselves are read when shown.
#include <optional>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/GridRecordSource.h"

namespace orv {

class RecordsetGridSource : public GridRecordSource {
 public:
  // Shows the rows of a recordset opened elsewhere.
  explicit RecordsetGridSource(Recordset recordset);
  // Opens the query itself and opens it again on a reload when anything was
  // written to the database since, so that rows added, deleted or changed by
  // others show after a refresh.
  RecordsetGridSource(Database db, QString selectSql);
  ~RecordsetGridSource() override;
  QStringList fieldNames() const override;
  bool reload() override;
  int rowCount() const override;
  std::vector<QStringList> fetchRows(int first, int count) override;
  bool deleteRow(int index) override;
  QString query() const override { return sql_; }

 private:
  void openQuery();
  void readRowIds();

  Recordset rs_;
  Database db_;
  QString sql_;
  bool owned_ = false;
  QStringList fields_;
  std::shared_ptr<const std::vector<qint64>> ids_;  // the rows in order; none when unset
  WriteMark queryMark_;                // the database's mark when the query was opened
  std::optional<WriteMark> readMark_;  // that mark, once the grid holds the query's ids
};

}  // namespace orv
