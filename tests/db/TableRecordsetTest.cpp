// Table-type recordsets: order, Seek, values, editing and error numbers.
#include <sqlite3.h>

#include "DbTestSupport.h"

namespace orv::test {
namespace {

class TableRecordsetTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    db = makeTable(QStringLiteral("t.mdb"));
    ASSERT_TRUE(CreateTableIndex(db, QStringLiteral("T"), QStringLiteral("Name"), false, false, QString()));
    ASSERT_TRUE(CreateTableIndex(db, QStringLiteral("T"), QStringLiteral("Nr"), true, true, QString()));
  }
  void add(const FieldValue& name, int nr) {
    Recordset rs = db.openTable(QStringLiteral("T"));
    rs.addNew();
    rs.setValue(QStringLiteral("Name"), name);
    rs.setValue(QStringLiteral("Nr"), nr);
    rs.update();
    rs.close();
  }
  QStringList walk(Recordset& rs, const QString& field = QStringLiteral("Name")) {
    QStringList seen;
    if (rs.recordCount() == 0) return seen;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) seen << rs.value(field).textOrEmpty();
    return seen;
  }
  Database db;
};

TEST_F(TableRecordsetTest, WalksInsertionOrderWithoutIndexAndKeyOrderWithOne) {
  add("b", 1);
  add("A", 2);
  add("c", 3);
  add("a", 4);
  Recordset rs = db.openTable(QStringLiteral("T"));
  EXPECT_EQ(walk(rs), QStringList({"b", "A", "c", "a"}));
  rs.setIndex(QStringLiteral("Name"));
  // Case-insensitive order; equal keys keep insertion order.
  EXPECT_EQ(walk(rs), QStringList({"A", "a", "b", "c"}));
  rs.setIndex(QString());
  EXPECT_EQ(walk(rs), QStringList({"b", "A", "c", "a"}));
  EXPECT_EQ(rs.recordCount(), 4);
}

TEST_F(TableRecordsetTest, NullKeysComeFirstInIndexOrder) {
  add("b", 1);
  add(FieldValue(), 2);
  add("a", 3);
  add(FieldValue(), 4);
  Recordset rs = db.openTable(QStringLiteral("T"));
  rs.setIndex(QStringLiteral("Name"));
  EXPECT_EQ(walk(rs, QStringLiteral("Nr")), QStringList({"2", "4", "3", "1"}));
}

TEST_F(TableRecordsetTest, SeekFindsFirstRowOfKeyInFileOrderOnNonUniqueIndex) {
  add("x", 10);
  add("P1", 20);
  add("y", 30);
  add("p1", 40);
  add("P1", 50);
  Recordset rs = db.openTable(QStringLiteral("T"));
  rs.setIndex(QStringLiteral("Name"));
  rs.seek(QStringLiteral("="), FieldValue("P1"));
  ASSERT_FALSE(rs.noMatch());
  EXPECT_EQ(rs.value(QStringLiteral("Nr")).toLong(), 20);
  rs.moveNext();
  EXPECT_EQ(rs.value(QStringLiteral("Nr")).toLong(), 40);
  rs.seek(QStringLiteral("="), FieldValue("nothing"));
  EXPECT_TRUE(rs.noMatch());
  EXPECT_FALSE(rs.hasCurrent());
  EXPECT_EQ(errorOf([&] { rs.value(0); }), 3021);
  // A text key on a numeric index is converted.
  rs.setIndex(QStringLiteral("Nr"));
  rs.seek(QStringLiteral("="), FieldValue("30"));
  ASSERT_FALSE(rs.noMatch());
  EXPECT_EQ(rs.value(QStringLiteral("Name")).toText(), "y");
  rs.seek(QStringLiteral(">="), FieldValue(31));
  EXPECT_EQ(rs.value(QStringLiteral("Nr")).toLong(), 40);
  rs.seek(QStringLiteral("<"), FieldValue(31));
  EXPECT_EQ(rs.value(QStringLiteral("Nr")).toLong(), 30);
}

TEST_F(TableRecordsetTest, SeekNeedsAnIndexAndAKnownComparison) {
  add("a", 1);
  Recordset rs = db.openTable(QStringLiteral("T"));
  EXPECT_EQ(errorOf([&] { rs.seek(QStringLiteral("="), FieldValue("a")); }), 3019);
  EXPECT_EQ(errorOf([&] { rs.setIndex(QStringLiteral("nope")); }), 3800);
  rs.setIndex(QStringLiteral("Name"));
  EXPECT_EQ(errorOf([&] { rs.seek(QStringLiteral("<>"), FieldValue("a")); }), 3001);
}

TEST_F(TableRecordsetTest, NullStaysDistinctFromEmptyTextAndTextsSurviveAsWritten) {
  const QStringList texts = {"", "0815", "  12.50", "007 ", QString(5000, QLatin1Char('x')) + "ä€"};
  int nr = 0;
  add(FieldValue(), ++nr);
  for (const QString& t : texts) add(t, ++nr);
  Recordset rs = db.openTable(QStringLiteral("T"));
  EXPECT_TRUE(rs.value(QStringLiteral("Name")).isNull());
  EXPECT_EQ(errorOf([&] { rs.value(QStringLiteral("Name")).toText(); }), 94);
  EXPECT_EQ(rs.value(QStringLiteral("Name")).textOrEmpty(), "");
  for (const QString& t : texts) {
    rs.moveNext();
    FieldValue v = rs.value(QStringLiteral("name"));  // field names are case-insensitive
    ASSERT_TRUE(v.isText());
    EXPECT_EQ(v.text(), t);
    EXPECT_FALSE(v.text().isNull());
  }
}

TEST_F(TableRecordsetTest, TextsKeepSQLitesOwnBytesAndFieldsAnyOrderOfNames) {
  // The stored bytes are those SQLite makes of the text as UTF-16, also for
  // surrogates (a pair, and a lone one that no UTF-8 encoder would keep).
  const QStringList texts = {"Grünwald 12°3'", "€ – ß", QString::fromUtf16(u"\U0001F600 x"),
                             QString(QChar(0xD800)) + "x", ""};
  Recordset rs = db.openTable(QStringLiteral("T"));
  for (int k = 0; k < texts.size(); ++k) {
    rs.addNew();
    // Names in changing order and spelling land in their own fields.
    if (k % 2) {
      rs.setValue(QStringLiteral("nr"), k);
      rs.setValue(QStringLiteral("Name"), texts[k]);
    } else {
      rs.setValue(QStringLiteral("Name"), texts[k]);
      rs.setValue(QStringLiteral("Nr"), k);
    }
    rs.update();
  }
  rs.addNew();
  EXPECT_EQ(errorOf([&] { rs.setValue(QStringLiteral("Nmae"), 1); }), 3265);
  rs.cancelUpdate();

  sqlite3* mem = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &mem), SQLITE_OK);
  sqlite3_stmt* hex = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(mem, "SELECT hex(?1)", -1, &hex, nullptr), SQLITE_OK);
  Recordset stored = db.openSql(QStringLiteral("SELECT hex(Name) AS h, Nr FROM T ORDER BY rowid"));
  for (int k = 0; k < texts.size(); ++k, stored.moveNext()) {
    sqlite3_bind_text16(hex, 1, texts[k].utf16(), static_cast<int>(texts[k].size() * 2), SQLITE_STATIC);
    ASSERT_EQ(sqlite3_step(hex), SQLITE_ROW);
    EXPECT_EQ(stored.value(QStringLiteral("h")).text(),
              QString::fromLatin1(reinterpret_cast<const char*>(sqlite3_column_text(hex, 0))))
        << k;
    sqlite3_reset(hex);
    EXPECT_EQ(stored.value(QStringLiteral("Nr")).toLong(), k);
  }
  sqlite3_finalize(hex);
  sqlite3_close(mem);
  EXPECT_EQ(walk(rs).mid(0, 3), texts.mid(0, 3));  // and read back as written
}

TEST_F(TableRecordsetTest, FieldsNotReadYetShowTheirStoredValueAfterAnUpdate) {
  add("alt", 1);
  Recordset rs = db.openTable(QStringLiteral("T"));
  EXPECT_EQ(rs.value(QStringLiteral("Nr")).toLong(), 1);  // the row is read, Name not asked for yet
  rs.edit();
  rs.setValue(QStringLiteral("Name"), "neu");
  rs.update();
  EXPECT_EQ(rs.value(QStringLiteral("Name")).text(), "neu");
}

TEST_F(TableRecordsetTest, FieldTypesConvertOnStore) {
  Database d = makeTable(QStringLiteral("types.mdb"), QStringLiteral("X"));
  ASSERT_TRUE(AddTableField(d, "X", "S", dbSingle, 0));
  ASSERT_TRUE(AddTableField(d, "X", "D", dbDouble, 0));
  Recordset rs = d.openTable("X");
  rs.addNew();
  rs.setValue("Name", 12.5);
  rs.setValue("Nr", "42");
  rs.setValue("S", 0.1);
  rs.setValue("D", "0.1");
  rs.update();
  rs.moveFirst();
  EXPECT_EQ(rs.value("Name").text(), "12.5");
  EXPECT_EQ(rs.value("Nr").kind(), FieldValue::Kind::Long);
  EXPECT_EQ(rs.value("Nr").longValue(), 42);
  EXPECT_EQ(rs.value("S").doubleValue(), static_cast<double>(0.1f));
  EXPECT_EQ(rs.value("D").doubleValue(), 0.1);
  EXPECT_EQ(rs.fieldType(2), dbSingle);
  rs.edit();
  EXPECT_EQ(errorOf([&] { rs.setValue("Nr", "abc"); }), 3421);
  EXPECT_EQ(errorOf([&] { rs.setValue("Nr", ""); }), 3421);
  rs.cancelUpdate();
  // Reading a text that is no number as a number is a type mismatch.
  rs.edit();
  rs.setValue("Name", "abc");
  rs.update();
  EXPECT_EQ(errorOf([&] { rs.value("Name").toDouble(); }), 13);
}

TEST_F(TableRecordsetTest, MissingRecordsAndMisuseGiveTheEngineErrorNumbers) {
  Recordset rs = db.openTable(QStringLiteral("T"));
  EXPECT_TRUE(rs.eof());
  EXPECT_TRUE(rs.bof());
  EXPECT_EQ(errorOf([&] { rs.moveFirst(); }), 3021);
  EXPECT_EQ(errorOf([&] { rs.value(QStringLiteral("Name")); }), 3021);
  EXPECT_EQ(errorOf([&] { rs.edit(); }), 3021);
  EXPECT_EQ(errorOf([&] { rs.update(); }), 3020);
  EXPECT_EQ(errorOf([&] { rs.setValue(0, FieldValue("a")); }), 3020);
  EXPECT_EQ(errorOf([&] { rs.moveNext(); }), 3021);
  add("a", 1);
  rs.moveFirst();
  EXPECT_EQ(errorOf([&] { rs.value(QStringLiteral("Unbekannt")); }), 3265);
  EXPECT_EQ(errorOf([&] { rs.value(7); }), 3265);
  rs.moveNext();
  EXPECT_TRUE(rs.eof());
  EXPECT_EQ(errorOf([&] { rs.moveNext(); }), 3021);
  EXPECT_EQ(errorOf([&] { db.openTable(QStringLiteral("Fehlt")); }), 3265);
}

TEST_F(TableRecordsetTest, UniqueIndexRefusesDuplicatesAndNullPrimaryKey) {
  add("a", 1);
  EXPECT_EQ(errorOf([&] { add("b", 1); }), 3022);
  EXPECT_EQ(errorOf([&] { add("a", 2); }), 0);  // the plain index takes repeats
  Recordset rs = db.openTable(QStringLiteral("T"));
  rs.addNew();
  rs.setValue(QStringLiteral("Name"), FieldValue("c"));
  EXPECT_EQ(errorOf([&] { rs.update(); }), 3058);
  EXPECT_EQ(rs.recordCount(), 2);
}

TEST_F(TableRecordsetTest, RowsStoredBeforeAnErrorSurviveIt) {
  {
    Recordset rs = db.openTable(QStringLiteral("T"));
    for (int i = 1; i <= 3; ++i) {
      rs.addNew();
      rs.setValue(QStringLiteral("Name"), QStringLiteral("r%1").arg(i));
      rs.setValue(QStringLiteral("Nr"), i);
      rs.update();
    }
    rs.moveFirst();
    rs.edit();
    rs.setValue(QStringLiteral("Name"), FieldValue("changed"));
    rs.update();
    rs.moveNext();
    rs.edit();
    rs.setValue(QStringLiteral("Name"), FieldValue("lost"));
    // The run ends here with an error: the buffer is never stored.
    rs.addNew();
    rs.setValue(QStringLiteral("Nr"), 2);
    EXPECT_EQ(errorOf([&] { rs.update(); }), 3022);
  }
  CloseAllDatabases(true);
  Database again = DBEngine::openDatabase(path(QStringLiteral("t.mdb")));
  Recordset rs = again.openTable(QStringLiteral("T"));
  EXPECT_EQ(walk(rs), QStringList({"changed", "r2", "r3"}));
}

TEST_F(TableRecordsetTest, AddNewKeepsPositionDeleteLeavesNoCurrentRow) {
  add("a", 1);
  add("b", 2);
  add("c", 3);
  Recordset rs = db.openTable(QStringLiteral("T"));
  rs.moveFirst();
  rs.addNew();
  rs.setValue(QStringLiteral("Name"), FieldValue("d"));
  rs.setValue(QStringLiteral("Nr"), 4);
  rs.update();
  EXPECT_EQ(rs.value(QStringLiteral("Name")).text(), "a");
  qint64 added = rs.lastModified();
  rs.moveNext();
  rs.deleteCurrent();
  EXPECT_FALSE(rs.hasCurrent());
  EXPECT_EQ(errorOf([&] { rs.value(0); }), 3021);
  rs.moveNext();
  EXPECT_EQ(rs.value(QStringLiteral("Name")).text(), "c");
  rs.moveNext();
  EXPECT_EQ(rs.value(QStringLiteral("Name")).text(), "d");
  EXPECT_EQ(rs.bookmark(), added);
  rs.moveLast();
  EXPECT_EQ(rs.value(QStringLiteral("Name")).text(), "d");
  EXPECT_EQ(rs.recordCount(), 3);
}

TEST_F(TableRecordsetTest, EditingTheIndexKeyMovesTheRowInTheWalk) {
  add("a", 1);
  add("m", 2);
  add("z", 3);
  Recordset rs = db.openTable(QStringLiteral("T"));
  rs.setIndex(QStringLiteral("Name"));
  rs.moveFirst();
  rs.edit();
  rs.setValue(QStringLiteral("Name"), FieldValue("zz"));
  rs.update();
  EXPECT_EQ(rs.value(QStringLiteral("Name")).text(), "zz");
  rs.moveNext();
  EXPECT_TRUE(rs.eof());
}

TEST_F(TableRecordsetTest, LazyBindingReadsRowsByIdWithoutMoving) {
  add("b", 1);
  add("a", 2);
  Recordset rs = db.openTable(QStringLiteral("T"));
  rs.setIndex(QStringLiteral("Name"));
  std::vector<qint64> ids = rs.orderedRowIds();
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(rs.rowValues(ids[0])[0].text(), "a");
  EXPECT_EQ(rs.rowValues(ids[1])[1].longValue(), 1);
  EXPECT_TRUE(rs.rowValues(999).empty());
  EXPECT_EQ(rs.fieldNames(), QStringList({"Name", "Nr"}));
  EXPECT_EQ(rs.value(QStringLiteral("Name")).text(), "a");
}

}  // namespace
}  // namespace orv::test
