// The rows an instance changed are laid onto the table file as another
// instance left it; changes of the same rows are a conflict.
#include <gtest/gtest.h>

#include "shell/SystemTableMerge.h"

using namespace orv;

namespace {

TableRows Rows(std::initializer_list<const char*> names) {
  TableRows rows;
  for (const char* n : names) rows.push_back({QString::fromUtf8(n), QStringLiteral("x")});
  return rows;
}

}  // namespace

TEST(SystemTableMergeTest, ChangesOfDifferentRowsAreAllKept) {
  const TableRows base = Rows({"A", "B", "C", "D"});
  // The other instance edited B and added E; this one edited C (next to B),
  // removed A and added F.
  const TableMerge m = MergeTableRows(base, Rows({"B", "C2", "D", "F"}), Rows({"A", "B2", "C", "D", "E"}));
  EXPECT_FALSE(m.conflict);
  EXPECT_EQ(m.rows, Rows({"B2", "C2", "D", "E", "F"}));
  // Nothing changed here: the file stays as the other instance left it.
  EXPECT_EQ(MergeTableRows(base, base, Rows({"A", "B2"})).rows, Rows({"A", "B2"}));
  // The same removal on both sides is no conflict.
  const TableMerge both = MergeTableRows(base, Rows({"A", "D"}), Rows({"A", "C", "D"}));
  EXPECT_FALSE(both.conflict);
  EXPECT_EQ(both.rows, Rows({"A", "D"}));
}

TEST(SystemTableMergeTest, TheSameRowChangedOnBothSidesIsAConflict) {
  const TableRows base = Rows({"A", "B", "C"});
  const TableRows theirs = Rows({"A", "B-dort", "C"});
  TableMerge m = MergeTableRows(base, Rows({"A", "B-hier", "C"}), theirs);
  EXPECT_TRUE(m.conflict);
  EXPECT_EQ(m.rows, theirs);
  // A row edited there and removed here is a conflict as well.
  m = MergeTableRows(base, Rows({"A", "C"}), theirs);
  EXPECT_TRUE(m.conflict);
}
