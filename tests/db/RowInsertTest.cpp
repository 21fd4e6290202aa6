// The prepared insert and the indexes built at the end of a run: rows land
// exactly as a table recordset stores them, and the indexes come back as
// they were, also when the run stops early.
#include <sqlite3.h>

#include <string>

#include "DbTestSupport.h"
#include "platform/db/DeferredIndexes.h"
#include "platform/db/RowInsert.h"
#include "platform/db/RunTransaction.h"

namespace orv::test {
namespace {

class RowInsertTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    db = makeTable(QStringLiteral("t.mdb"));
    ASSERT_TRUE(CreateTableIndex(db, QStringLiteral("T"), QStringLiteral("Nr"), true, true, QString()));
    ASSERT_TRUE(CreateTableIndex(db, QStringLiteral("T"), QStringLiteral("Name"), false, false, QString()));
  }
  // The statements that made the table's indexes, in the order SQLite lists them.
  QStringList indexStatements() {
    QStringList out;
    Recordset rs = db.openSql(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='index' ORDER BY rowid"));
    for (; rs.hasCurrent() && !rs.eof(); rs.moveNext()) out << rs.value(0).textOrEmpty();
    const TableDef def = db.tableDef(QStringLiteral("T"));
    for (const Index& i : def.indexes()) out << i.name;
    return out;
  }
  Database db;
};

TEST_F(RowInsertTest, StoresNullEmptyTextAndWholeNumbersAsARecordsetDoes) {
  const QString text = QStringLiteral("Grünwald 12°3'");
  RowInsert insert(db, QStringLiteral("T"), {QStringLiteral("Nr"), QStringLiteral("Name")});
  std::string bytes;
  ASSERT_TRUE(RowInsert::AppendStoredUtf8(text, bytes));
  const QString lone = QString(QChar(0xD800)) + "x";
  std::string none;
  EXPECT_FALSE(RowInsert::AppendStoredUtf8(lone, none));
  EXPECT_TRUE(none.empty());
  const auto add = [&](qint64 nr, const std::function<void()>& name) {
    insert.bindInteger(0, nr);
    name();
    return insert.execute();
  };
  EXPECT_EQ(add(1, [] {}), 1);  // unbound: Null
  add(2, [&] { insert.bindText(1, QByteArrayView("", 0)); });
  add(3, [&] { insert.bindText(1, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()))); });
  add(4, [] {});  // not bound again: Null
  add(5, [&] { insert.bindText16(1, lone); });
  add(6, [&] { insert.bindNull(1); });
  // The recordset's way, for comparison of the stored bytes.
  Recordset rs = db.openTable(QStringLiteral("T"));
  for (const QString& t : {text, lone}) {
    rs.addNew();
    rs.setValue(QStringLiteral("Nr"), rs.recordCount() + 1);
    rs.setValue(QStringLiteral("Name"), t);
    rs.update();
  }
  Recordset stored = db.openSql(QStringLiteral("SELECT typeof(Nr) AS t, hex(Name) AS h, Name FROM T ORDER BY rowid"));
  QStringList seen;
  for (; !stored.eof(); stored.moveNext())
    seen << stored.value(QStringLiteral("t")).text() + ":" +
                (stored.value(QStringLiteral("Name")).isNull() ? "NULL" : stored.value(QStringLiteral("h")).text());
  ASSERT_EQ(seen.size(), 8);
  EXPECT_EQ(seen.mid(0, 2), QStringList({"integer:NULL", "integer:"}));
  EXPECT_EQ(seen[2], seen[6]);
  EXPECT_EQ(seen[3], "integer:NULL");
  EXPECT_EQ(seen[4], seen[7]);
  EXPECT_EQ(seen[5], "integer:NULL");
  // The index sees the new rows; the key must not stay Null; types are kept.
  rs.setIndex(QStringLiteral("Nr"));
  rs.seek(QStringLiteral("="), 3);
  EXPECT_EQ(rs.value(QStringLiteral("Name")).text(), text);
  EXPECT_EQ(errorOf([&] { insert.bindNull(0); insert.execute(); }), 3058);
  EXPECT_EQ(errorOf([&] { insert.bindText(0, "7"); }), 3421);
  EXPECT_EQ(errorOf([&] { insert.bindInteger(1, 7); }), 3421);
  EXPECT_EQ(errorOf([&] { RowInsert(db, QStringLiteral("T"), {QStringLiteral("Name")}).execute(); }), 3058);
}

TEST_F(RowInsertTest, IndexesBuiltAtTheEndComeBackAsTheyWereAlsoAfterAnError) {
  const QStringList before = indexStatements();
  const auto addRows = [&](int first, int count) {
    // In groups of four rows, the rest one by one.
    RowInsert insert(db, QStringLiteral("T"), {QStringLiteral("Nr"), QStringLiteral("Name")}, 4);
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(count));
    for (int nr = first; nr < first + count; ++nr) {
      names.push_back(std::to_string(1000 - nr));
      insert.bindInteger(0, nr);
      insert.bindText(1, QByteArrayView(names.back().data(), static_cast<qsizetype>(names.back().size())));
      insert.add();
    }
    insert.flush();
  };
  {
    RunTransaction t(db);
    DeferredIndexes deferred(db, QStringLiteral("T"));
    addRows(1, 50);
    deferred.rebuild();
    t.commit();
  }
  EXPECT_EQ(indexStatements(), before);
  // A run that stops early: the rows before stay, and so do the indexes.
  EXPECT_EQ(errorOf([&] {
              RunTransaction t(db);
              DeferredIndexes deferred(db, QStringLiteral("T"));
              addRows(51, 10);
              addRows(60, 1);  // a key that is there already
            }),
            3022);
  EXPECT_EQ(indexStatements(), before);
  DBEngine::closeAll();
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path(QStringLiteral("t.mdb")).toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
  sqlite3_stmt* s = nullptr;
  const char* sql = "SELECT count(*), min(Name), sum(rowid <> Nr) FROM T INDEXED BY \"orvidx:N:T:Name\"";
  ASSERT_EQ(sqlite3_prepare_v2(raw, sql, -1, &s, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(s, 0), 60);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)), "940");
  EXPECT_EQ(sqlite3_column_int(s, 2), 0);  // in the order added
  sqlite3_finalize(s);
  sqlite3_close(raw);
}

}  // namespace
}  // namespace orv::test
