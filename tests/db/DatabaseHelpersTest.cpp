// The program's database helpers on top of the layer.
#include "DbTestSupport.h"

namespace orv::test {
namespace {

class DatabaseHelpersTest : public DbTest {};

TEST_F(DatabaseHelpersTest, CreateTableWithFieldLeavesAnExistingTableAlone) {
  Database db = makeTable(QStringLiteral("h.mdb"));
  EXPECT_FALSE(CreateTableWithField(db, QStringLiteral("T"), QStringLiteral("Anders"), dbLong));
  TableDef def = db.tableDef(QStringLiteral("T"));
  ASSERT_EQ(def.fields().size(), 2u);
  EXPECT_EQ(def.fields()[0].name, "Name");
  EXPECT_EQ(def.fields()[0].type, dbText);
  EXPECT_EQ(def.fields()[1].type, dbLong);
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(DatabaseHelpersTest, CreateTableWithAnUnknownTypeFailsWithItsMessage) {
  Database db;
  CreateDatabaseFile(db, path(QStringLiteral("u.mdb")), true);
  EXPECT_FALSE(CreateTableWithField(db, QStringLiteral("U"), QStringLiteral("F"), 99));
  ASSERT_EQ(dialogs.messages.size(), 1);
  EXPECT_TRUE(dialogs.messages[0].text.startsWith("Fehler 3264: "));
  EXPECT_TRUE(dialogs.messages[0].text.endsWith(", Tabellenname: U, Feldname: F"));
  EXPECT_EQ(dialogs.messages[0].title, "modKap02.DAO_CreatedNewTable");
  EXPECT_FALSE(TableExists(db, QStringLiteral("U")));
}

TEST_F(DatabaseHelpersTest, AddTableFieldFailsQuietly) {
  Database db = makeTable(QStringLiteral("f.mdb"));
  EXPECT_FALSE(AddTableField(db, QStringLiteral("T"), QStringLiteral("Name"), dbText, 10));
  EXPECT_FALSE(AddTableField(db, QStringLiteral("Fehlt"), QStringLiteral("X"), dbText, 10));
  EXPECT_TRUE(AddTableField(db, QStringLiteral("T"), QStringLiteral("Kurz"), dbText, 10));
  EXPECT_TRUE(dialogs.messages.isEmpty());
  // The size is kept as a description only: longer texts still fit.
  EXPECT_EQ(db.tableDef(QStringLiteral("T")).fields()[2].size, 10);
  Recordset rs = db.openTable(QStringLiteral("T"));
  rs.addNew();
  rs.setValue(QStringLiteral("Kurz"), QString(300, QLatin1Char('k')));
  rs.update();
  rs.moveFirst();
  EXPECT_EQ(rs.value(QStringLiteral("Kurz")).text().size(), 300);
}

TEST_F(DatabaseHelpersTest, IndexesAreNamedPerTableAfterTheirField) {
  Database db = makeTable(QStringLiteral("i.mdb"), QStringLiteral("1"));
  ASSERT_TRUE(CreateTableWithField(db, QStringLiteral("2"), QStringLiteral("Nr"), dbLong));
  // The same index name on two tables.
  ASSERT_TRUE(CreateTableIndex(db, QStringLiteral("1"), QStringLiteral("Nr"), true, true, QString()));
  ASSERT_TRUE(CreateTableIndex(db, QStringLiteral("2"), QStringLiteral("Nr"), false, false, QString()));
  ASSERT_TRUE(CreateTableIndex(db, QStringLiteral("1"), QStringLiteral("Name"), false, true, QStringLiteral("Eindeutig")));
  auto indexes = db.tableDef(QStringLiteral("1")).indexes();
  ASSERT_EQ(indexes.size(), 2u);
  EXPECT_EQ(indexes[0].name, "Nr");
  EXPECT_TRUE(indexes[0].primary);
  EXPECT_TRUE(indexes[0].unique);
  EXPECT_EQ(indexes[1].name, "Eindeutig");
  EXPECT_FALSE(indexes[1].primary);
  EXPECT_TRUE(indexes[1].unique);
  auto other = db.tableDef(QStringLiteral("2")).indexes();
  ASSERT_EQ(other.size(), 1u);
  EXPECT_FALSE(other[0].unique);
  EXPECT_TRUE(dialogs.messages.isEmpty());
  EXPECT_FALSE(CreateTableIndex(db, QStringLiteral("1"), QStringLiteral("Name"), false, false, QStringLiteral("Nr")));
  ASSERT_EQ(dialogs.messages.size(), 1);
  EXPECT_TRUE(dialogs.messages[0].text.startsWith("DAO_CreateIndex: Fehler 3284: "));
  EXPECT_EQ(dialogs.messages[0].title, "modKap03.DAO_CreateIndex");
}

TEST_F(DatabaseHelpersTest, SeekFieldValuesAnswersByIndex) {
  Database db = makeTable(QStringLiteral("s.mdb"));
  ASSERT_TRUE(AddTableField(db, QStringLiteral("T"), QStringLiteral("Zeile"), dbMemo, 0));
  ASSERT_TRUE(CreateTableIndex(db, QStringLiteral("T"), QStringLiteral("Name"), false, false, QString()));
  ASSERT_TRUE(CreateTableIndex(db, QStringLiteral("T"), QStringLiteral("Nr"), true, true, QStringLiteral("id")));
  Recordset rs = db.openTable(QStringLiteral("T"));
  auto add = [&](const FieldValue& name, int nr, const FieldValue& zeile) {
    rs.addNew();
    rs.setValue(QStringLiteral("Name"), name);
    rs.setValue(QStringLiteral("Nr"), nr);
    rs.setValue(QStringLiteral("Zeile"), zeile);
    rs.update();
  };
  add("p1", 1, "erste");
  add("p2", 2, FieldValue());
  add("p1", 3, "dritte");
  EXPECT_EQ(SeekFieldValues(rs, "id", "Zeile", "   "), "");
  EXPECT_EQ(SeekFieldValues(rs, "id", "Zeile", "1"), "erste");
  EXPECT_EQ(SeekFieldValues(rs, "id", "Zeile", "9"), "-1");
  EXPECT_EQ(SeekFieldValues(rs, "Name", "Zeile", "p1"), "erste");
  EXPECT_EQ(SeekFieldValues(rs, "Name", "Name # Nr # Zeile", "P1"), "p1#1#erste");
  EXPECT_EQ(SeekFieldValues(rs, "Name", "Name#Zeile", "p2"), "p2#");
  // Errors give back what was built so far.
  EXPECT_EQ(SeekFieldValues(rs, "id", "Zeile", "2"), "");
  EXPECT_EQ(SeekFieldValues(rs, "Unbekannt", "Zeile", "1"), "");
  EXPECT_EQ(SeekFieldValues(rs, "id", "Zeile#Fehlt", "3"), "#dritte");
}

TEST_F(DatabaseHelpersTest, CountDigitNamedTablesCountsSubGridTablesOnly) {
  Database db;
  CreateDatabaseFile(db, path(QStringLiteral("ntv2.mdb")), true);
  for (int t = 1; t <= 12; ++t)
    ASSERT_TRUE(CreateTableWithField(db, QString::number(t), QStringLiteral("Kopfdaten"), dbText));
  ASSERT_TRUE(CreateTableWithField(db, QStringLiteral("Daten"), QStringLiteral("id"), dbText));
  ASSERT_TRUE(CreateTableWithField(db, QStringLiteral("1a"), QStringLiteral("id"), dbText));
  EXPECT_EQ(CountDigitNamedTables(db), 12);
  db.close();
  EXPECT_EQ(errorOf([&] { CountDigitNamedTables(db); }), 3420);
}

TEST_F(DatabaseHelpersTest, SingleFieldsOfACacheTableKeepFloatPrecision) {
  Database db;
  CreateDatabaseFile(db, path(QStringLiteral("cache.mdb")), true);
  ASSERT_TRUE(CreateTableWithField(db, "1", "Kopfdaten", dbText));
  ASSERT_TRUE(AddTableField(db, "1", "Zeile1", dbSingle, 0));
  ASSERT_TRUE(AddTableField(db, "1", "Zeile2", dbSingle, 0));
  ASSERT_TRUE(AddTableField(db, "1", "id", dbLong, 0));
  ASSERT_TRUE(CreateTableIndex(db, "1", "id", false, false, QString()));
  Recordset rs = db.openTable("1");
  const QString header = QString(230, QLatin1Char('h'));
  for (int id = 1; id <= 3; ++id) {
    rs.addNew();
    rs.setValue("Kopfdaten", id == 1 ? header : QString());
    rs.setValue("Zeile1", 0.5 * id);
    rs.setValue("Zeile2", -1.25 / id);
    rs.setValue("id", id);
    rs.update();
  }
  rs.setIndex("id");
  rs.seek("=", 3);
  EXPECT_EQ(rs.value("Zeile2").toDouble(), static_cast<double>(static_cast<float>(-1.25 / 3)));
  rs.moveFirst();
  EXPECT_EQ(rs.value("Kopfdaten").text(), header);
}

}  // namespace
}  // namespace orv::test
