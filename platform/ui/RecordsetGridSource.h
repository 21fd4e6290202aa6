#pragma once
// A bound grid's rows from a recordset of the database layer: the row ids in
// the recordset's order are kept, the rows themselves are read when shown.
#include <vector>

#include "platform/db/Recordset.h"
#include "platform/ui/GridRecordSource.h"

namespace orv {

class RecordsetGridSource : public GridRecordSource {
 public:
  explicit RecordsetGridSource(Recordset recordset);
  QStringList fieldNames() const override;
  void reload() override;
  int rowCount() const override;
  std::vector<QStringList> fetchRows(int first, int count) override;
  bool deleteRow(int index) override;

 private:
  Recordset rs_;
  std::vector<qint64> ids_;
};

}  // namespace orv
