// Recordsets on SQL text: plain selections keep row ids, others are read at once.
#include "DbTestSupport.h"

namespace orv::test {
namespace {

class SqlRecordsetTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    CreateDatabaseFile(db, path(QStringLiteral("hoehe.mdb")), true);
    ASSERT_TRUE(CreateTableWithField(db, "SchwerpktH", "X", dbDouble));
    ASSERT_TRUE(AddTableField(db, "SchwerpktH", "Y", dbDouble, 0));
    ASSERT_TRUE(AddTableField(db, "SchwerpktH", "Z", dbDouble, 0));
    ASSERT_TRUE(AddTableField(db, "SchwerpktH", "Name", dbText, 0));
    Recordset rs = db.openTable("SchwerpktH");
    auto add = [&](double x, double y, double z, const char* name) {
      rs.addNew();
      rs.setValue("X", x);
      rs.setValue("Y", y);
      rs.setValue("Z", z);
      rs.setValue("Name", name);
      rs.update();
    };
    add(100, 200, 1.5, "b");
    add(100, 200, 1.5, "b");
    add(101, 201, 2.5, "A");
    add(150, 250, 9.0, "c");
    add(99.5, 199.5, 3.0, "a");
  }
  Database db;
};

TEST_F(SqlRecordsetTest, DistinctBoxQueryWithInclusiveBounds) {
  Recordset rs = db.openSql(QStringLiteral(
      "SELECT DISTINCT * FROM SchwerpktH WHERE Y >= 199.5 And Y <= 201 And X >= 99.5 And X <= 101"));
  EXPECT_EQ(rs.type(), Recordset::Type::Snapshot);
  rs.moveLast();
  rs.moveFirst();
  ASSERT_EQ(rs.recordCount(), 3);
  double sum = 0;
  for (; !rs.eof(); rs.moveNext()) sum += rs.value("Z").toDouble();
  EXPECT_DOUBLE_EQ(sum, 7.0);
  EXPECT_EQ(errorOf([&] { rs.addNew(); }), 3251);
  Recordset none = db.openSql(QStringLiteral("SELECT DISTINCT * FROM SchwerpktH WHERE Y >= 1 And Y <= 2"));
  EXPECT_TRUE(none.eof());
  EXPECT_EQ(errorOf([&] { none.moveFirst(); }), 3021);
  EXPECT_EQ(errorOf([&] { db.openSql(QStringLiteral("SELECT * FROM Fehlt")); }), 3265);
}

TEST_F(SqlRecordsetTest, OrderByIsCaseInsensitiveAndKeepsInsertionOrderOnTies) {
  Recordset rs = db.openRecordset(QStringLiteral("SELECT * FROM SchwerpktH ORDER BY Name"));
  EXPECT_EQ(rs.type(), Recordset::Type::Dynaset);
  QStringList names;
  QList<double> zs;
  for (; !rs.eof(); rs.moveNext()) {
    names << rs.value("Name").text();
    zs << rs.value("Z").toDouble();
  }
  EXPECT_EQ(names, QStringList({"A", "a", "b", "b", "c"}));
  EXPECT_EQ(zs, QList<double>({2.5, 3.0, 1.5, 1.5, 9.0}));
  EXPECT_EQ(rs.orderedRowIds(), (std::vector<qint64>{3, 5, 1, 2, 4}));

  // Ids handed out without a copy stay as they were when the recordset deletes a row.
  const auto shared = rs.sharedRowIds();
  rs.moveFirst();
  rs.deleteCurrent();
  EXPECT_EQ(*shared, (std::vector<qint64>{3, 5, 1, 2, 4}));
  EXPECT_EQ(rs.orderedRowIds(), (std::vector<qint64>{5, 1, 2, 4}));
}

TEST_F(SqlRecordsetTest, PlainSelectionIsEditableAndSeesItsNewRows) {
  Recordset rs = db.openSql(QStringLiteral("SELECT * FROM SchwerpktH WHERE Name = 'B'"));
  ASSERT_EQ(rs.recordCount(), 2);
  rs.moveFirst();
  rs.edit();
  rs.setValue("Z", 4.0);
  rs.update();
  rs.moveNext();
  rs.deleteCurrent();
  rs.addNew();
  rs.setValue("Name", "neu");
  rs.update();
  EXPECT_EQ(rs.recordCount(), 2);
  Recordset check = db.openTable("SchwerpktH");
  EXPECT_EQ(check.recordCount(), 5);
  check.moveFirst();
  EXPECT_EQ(check.value("Z").toDouble(), 4.0);
  check.moveLast();
  EXPECT_EQ(check.value("Name").text(), "neu");
  EXPECT_EQ(errorOf([&] { rs.setIndex("X"); }), 3251);
}

TEST_F(SqlRecordsetTest, UnorderedRowsComeInInsertionOrderWhenAnIndexIsRead) {
  // Row ids asked without an order come from the Name index, in its order.
  ASSERT_TRUE(CreateTableIndex(db, "SchwerpktH", "Name", false, false, QString()));
  using Ids = std::vector<qint64>;
  EXPECT_EQ(db.openSql(QStringLiteral("SELECT * FROM SchwerpktH")).orderedRowIds(), (Ids{1, 2, 3, 4, 5}));
  db.execute(QStringLiteral("DELETE FROM SchwerpktH WHERE rowid = 2"));
  db.execute(QStringLiteral("INSERT INTO SchwerpktH (X, Y, Z, Name) VALUES (1, 1, 1, '0')"));
  EXPECT_EQ(db.openSql(QStringLiteral("SELECT * FROM SchwerpktH")).orderedRowIds(), (Ids{1, 3, 4, 5, 6}));
  EXPECT_EQ(db.openSql(QStringLiteral("SELECT * FROM SchwerpktH WHERE Z > 2")).orderedRowIds(), (Ids{3, 4, 5}));
  db.execute(QStringLiteral("INSERT INTO SchwerpktH (rowid, X, Y, Z, Name) VALUES (1000, 1, 1, 1, '')"));
  EXPECT_EQ(db.openTable(QStringLiteral("SchwerpktH")).orderedRowIds(), (Ids{1, 3, 4, 5, 6, 1000}));
  Recordset rs = db.openSql(QStringLiteral("SELECT * FROM SchwerpktH"));
  QStringList names;
  for (; !rs.eof(); rs.moveNext()) names << rs.value("Name").text();
  EXPECT_EQ(names, QStringList({"b", "A", "c", "a", "0", ""}));
}

TEST_F(SqlRecordsetTest, WalkingAnIndexUsesDirectIndexLookups) {
  ASSERT_TRUE(CreateTableIndex(db, "SchwerpktH", "Name", false, false, QString()));
  // The two statements a table recordset steps with to the next row in index
  // order: a scan per row would make a walk over a repeated key quadratic.
  auto plan = [&](const QString& where) {
    Recordset rs = db.openSql("EXPLAIN QUERY PLAN SELECT rowid, \"Name\" FROM \"SchwerpktH\" WHERE " + where);
    QString detail;
    for (; !rs.eof(); rs.moveNext()) detail += rs.value("detail").textOrEmpty() + "\n";
    return detail;
  };
  QString sameKey = plan("\"Name\"='b' AND rowid>1 ORDER BY rowid LIMIT 1");
  EXPECT_TRUE(sameKey.contains("INDEX") && sameKey.contains("Name=? AND rowid>?")) << sameKey.toStdString();
  QString nextKey = plan("\"Name\">'b' ORDER BY \"Name\", rowid LIMIT 1");
  EXPECT_TRUE(nextKey.contains("INDEX") && nextKey.contains("Name>?")) << nextKey.toStdString();
  EXPECT_FALSE(nextKey.contains("TEMP B-TREE")) << nextKey.toStdString();
}

}  // namespace
}  // namespace orv::test
