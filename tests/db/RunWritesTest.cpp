// The writes of a run: one prepared update of fixed text columns, and one
// transaction held over the whole run.
#include <sqlite3.h>

#include "DbTestSupport.h"
#include "platform/db/RowUpdate.h"
#include "platform/db/RunTransaction.h"

namespace orv::test {
namespace {

class RunWritesTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    db = makeTable(QStringLiteral("run.mdb"));
    ASSERT_TRUE(AddTableField(db, QStringLiteral("T"), QStringLiteral("Info"), dbText, 0));
    Recordset rs = db.openTable(QStringLiteral("T"));
    for (int nr = 1; nr <= 3; ++nr) {
      rs.addNew();
      rs.setValue(QStringLiteral("Name"), QStringLiteral("p%1").arg(nr));
      rs.setValue(QStringLiteral("Nr"), nr);
      rs.update();
    }
    rs.close();
    db.commit();
  }
  // Name and Info of every row as another connection sees them.
  QStringList seenFromOutside() {
    sqlite3* other = nullptr;
    sqlite3_open_v2(path(QStringLiteral("run.mdb")).toUtf8().constData(), &other, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(other, "SELECT Name, ifnull(Info, '<null>') FROM T ORDER BY rowid", -1, &st, nullptr);
    QStringList rows;
    while (sqlite3_step(st) == SQLITE_ROW)
      rows << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) + "/" +
                  QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
    sqlite3_finalize(st);
    sqlite3_close(other);
    return rows;
  }
  Database db;
};

TEST_F(RunWritesTest, RowUpdateWritesOneRowAndRefusesWrongColumns) {
  RowUpdate update(db, QStringLiteral("T"), {QStringLiteral("name"), QStringLiteral("Info")});
  update.bindText(0, "x");
  update.bindText(1, "");  // the empty text, not Null
  EXPECT_TRUE(update.execute(2));
  update.bindText(0, "y");
  EXPECT_FALSE(update.execute(99));
  db.commit();
  EXPECT_EQ(seenFromOutside(), QStringList({"p1/<null>", "x/", "p3/<null>"}));
  EXPECT_EQ(errorOf([&] { RowUpdate(db, QStringLiteral("T"), {QStringLiteral("Nope")}); }), 3265);
  EXPECT_EQ(errorOf([&] { RowUpdate(db, QStringLiteral("T"), {QStringLiteral("Nr")}); }), 3421);
}

TEST_F(RunWritesTest, RunTransactionHoldsPastTheRowCommitAndKeepsRowsOnError) {
  // More rows than the layer otherwise commits at once: nothing is visible
  // outside until the run ends, also when it ends with an error.
  try {
    RunTransaction run(db);
    RowUpdate update(db, QStringLiteral("T"), {QStringLiteral("Info")});
    for (int i = 0; i < 200001; ++i) {
      update.bindText(0, "a");
      update.execute(1);
    }
    EXPECT_EQ(seenFromOutside(), QStringList({"p1/<null>", "p2/<null>", "p3/<null>"}));
    update.bindText(0, "b");
    update.execute(2);
    throw OrvenilError(94, QStringLiteral("row 3"));
  } catch (const OrvenilError&) {
  }
  EXPECT_EQ(seenFromOutside(), QStringList({"p1/a", "p2/b", "p3/<null>"}));
}

}  // namespace
}  // namespace orv::test
