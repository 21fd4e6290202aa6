// The data grid: rows in memory and a bound SQLite table of 100,000 rows;
// cells by key, find, delete with its before-delete event, the ".fil" round
// trip, text and spreadsheet export with the per-row export event, formatting.
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "foundation/Windows1252.h"
#include "platform/db/DBEngine.h"
#include "platform/db/Database.h"
#include "platform/db/FieldType.h"
#include "platform/db/Recordset.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/GridFile.h"

using namespace orv;

namespace {

void AddSystemColumns(DataGrid& g) {
  g.AddColumn(QStringLiteral("Name"), QStringLiteral("Name"));
  g.AddColumn(QStringLiteral("Trafosatz"), QStringLiteral("Trafosatz"));
  g.AddColumn(QStringLiteral("Lizenz"), QStringLiteral("Datenlizenz und Informationen"), 3000);
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(DataGridMemory, RowsCellsFindAndColumns) {
  DataGrid g;
  AddSystemColumns(g);
  EXPECT_EQ(g.AddRow(QStringLiteral("BeTA2007\tBETA2007.gsa\thttps://x")), 1);
  EXPECT_EQ(g.AddRow(QStringLiteral("Sachsen\tSN.gsa")), 2);  // fewer cells than columns
  EXPECT_EQ(g.AddRow(QStringLiteral("\t")), 3);               // an empty row
  EXPECT_EQ(g.RowCount(), 3);
  EXPECT_EQ(g.CellText(1, QStringLiteral("Trafosatz")), QStringLiteral("BETA2007.gsa"));
  EXPECT_EQ(g.CellText(2, QStringLiteral("Lizenz")), QString());
  EXPECT_EQ(g.CellText(9, QStringLiteral("Name")), QString());
  EXPECT_EQ(g.CellText(1, QStringLiteral("name")), QString());  // keys are case-sensitive

  EXPECT_EQ(g.FindRow(QStringLiteral("Name"), QStringLiteral("Sachsen")), 2);
  EXPECT_EQ(g.FindRow(QStringLiteral("Name"), QStringLiteral("Sachsen"), 3), 0);
  EXPECT_EQ(g.FindRow(QStringLiteral("Name"), QStringLiteral("sachsen")), 0);

  g.SetCellText(2, QStringLiteral("Lizenz"), QStringLiteral("frei"));
  EXPECT_EQ(g.RowCells(2), (QStringList{QStringLiteral("Sachsen"), QStringLiteral("SN.gsa"), QStringLiteral("frei")}));

  EXPECT_EQ(g.ColumnCount(), 3);
  EXPECT_EQ(g.ColumnKey(3), QStringLiteral("Lizenz"));
  EXPECT_EQ(g.ColumnNumber(QStringLiteral("Trafosatz")), 2);
  EXPECT_EQ(g.ColumnWidth(QStringLiteral("Lizenz")), 3000);
  g.SetColumnVisible(QStringLiteral("Trafosatz"), false);
  EXPECT_FALSE(g.ColumnVisible(QStringLiteral("Trafosatz")));
  EXPECT_TRUE(g.view()->isColumnHidden(1));
  g.SetColumnCaption(QStringLiteral("Name"), QStringLiteral("Satz"));
  EXPECT_EQ(g.ColumnCaption(QStringLiteral("Name")), QStringLiteral("Satz"));
  EXPECT_GT(g.TextWidthTwips(QStringLiteral("Datenlizenz und Informationen")), 500);

  g.RemoveRow(1);
  EXPECT_EQ(g.RowCount(), 2);
  EXPECT_EQ(g.CellText(1, QStringLiteral("Name")), QStringLiteral("Sachsen"));
  g.ClearRows();
  EXPECT_EQ(g.RowCount(), 0);
}

TEST(DataGridMemory, DeleteSelectedWithBeforeDelete) {
  DataGrid g;
  AddSystemColumns(g);
  for (int i = 1; i <= 5; ++i) g.AddRow(QStringLiteral("S%1\tf\tl").arg(i));
  QList<int> asked;
  bool answerNo = true;
  g.onBeforeDelete([&](int row, bool& cancel) {
    asked << row;
    cancel = answerNo;
  });
  g.SelectRows({2, 3, 4});
  EXPECT_EQ(g.SelectedRowCount(), 3);
  EXPECT_EQ(g.DeleteSelectedRows(), 0);  // cancelled
  EXPECT_EQ(g.RowCount(), 5);
  answerNo = false;
  EXPECT_EQ(g.DeleteSelectedRows(), 3);
  EXPECT_EQ(asked, (QList<int>{0, 0}));  // several rows: row number 0
  EXPECT_EQ(g.RowCount(), 2);
  EXPECT_EQ(g.CellText(2, QStringLiteral("Name")), QStringLiteral("S5"));
  g.SelectRows({1});
  g.DeleteSelectedRows();
  EXPECT_EQ(asked.last(), 1);  // one row: its number
  g.SelectRows({});
  EXPECT_EQ(g.DeleteSelectedRows(), 0);
}

TEST(DataGridMemory, CurrentRowEventsTicksEditAndRedraw) {
  DataGrid g;
  AddSystemColumns(g);
  for (int i = 1; i <= 4; ++i) g.AddRow(QStringLiteral("S%1").arg(i));
  int changes = 0;
  g.onRowChange([&] { ++changes; });
  g.SetCurrentRow(3);
  EXPECT_EQ(g.CurrentRow(), 3);
  EXPECT_EQ(changes, 1);
  g.SetCurrentRow(3);
  EXPECT_EQ(changes, 1);

  QList<QPair<int, bool>> ticks;
  g.SetShowCheckBoxes(true);
  g.onCheckChanged([&](int r, bool on) { ticks << qMakePair(r, on); });
  g.SetRowChecked(2, true);
  g.SetRowChecked(2, true);  // unchanged
  g.SetRowChecked(2, false);
  EXPECT_EQ(ticks.size(), 2);
  EXPECT_FALSE(g.RowChecked(2));

  // Cells are editable only in edit mode.
  const QModelIndex cell = g.view()->model()->index(0, 0);
  EXPECT_FALSE(g.view()->model()->setData(cell, QStringLiteral("X"), Qt::EditRole));
  g.SetEditMode(true);
  EXPECT_TRUE(g.view()->model()->setData(cell, QStringLiteral("X"), Qt::EditRole));
  EXPECT_EQ(g.CellText(1, QStringLiteral("Name")), QStringLiteral("X"));
  g.SetEditMode(false);

  // Rows added while drawing is off appear when it is on again.
  g.SetRedraw(false);
  for (int i = 0; i < 100; ++i) g.AddRow(QStringLiteral("more"));
  EXPECT_EQ(g.RowCount(), 104);
  g.SetRedraw(true);
  EXPECT_EQ(g.view()->model()->rowCount(), 104);
  EXPECT_EQ(g.view()->verticalHeader()->count(), 104);
}

TEST(DataGridMemory, FormattingEventColoursCells) {
  DataGrid g;
  g.AddColumn(QStringLiteral("sYe"), QStringLiteral("Rechts"));
  g.AddColumn(QStringLiteral("sYori"), QStringLiteral("sYori"));
  g.AddRow(QStringLiteral("32500000.0000\t500000.000"));
  g.AddRow(QStringLiteral("500000.0000\t500000.0000"));
  g.onFormatRow([](int, GridRow& r) {
    const bool bad = r.CellText(QStringLiteral("sYe")) != r.CellText(QStringLiteral("sYori"));
    r.SetCellBackColor(QStringLiteral("sYe"), bad ? QColor(255, 0, 0) : QColor(Qt::white));
    r.SetCellForeColor(QStringLiteral("sYe"), bad ? QColor(Qt::white) : QColor(Qt::black));
    r.SetCellNote(QStringLiteral("sYe"), bad ? QStringLiteral("Rundungsdifferenz > 0.0019m") : QString());
  });
  auto* m = g.view()->model();
  EXPECT_EQ(m->data(m->index(0, 0), Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 0, 0));
  EXPECT_EQ(m->data(m->index(0, 0), Qt::ToolTipRole).toString(), QStringLiteral("Rundungsdifferenz > 0.0019m"));
  EXPECT_EQ(m->data(m->index(1, 0), Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::white));
  EXPECT_FALSE(m->data(m->index(1, 0), Qt::ToolTipRole).isValid());
  EXPECT_FALSE(m->data(m->index(0, 1), Qt::BackgroundRole).isValid());
}

TEST(DataGridFile, RoundTripAndFailedLoadKeepsGrid) {
  QTemporaryDir dir;
  const QString fil = dir.filePath(QStringLiteral("sys_NTv2.fil"));
  DataGrid g;
  AddSystemColumns(g);
  g.AddRow(QStringLiteral("Tab\\Slash\tZeilen\nUmbruch\tÄöü ß €"));
  g.AddRow(QString());
  g.SetColumnVisible(QStringLiteral("Trafosatz"), false);
  ASSERT_TRUE(g.SaveToFile(fil));

  DataGrid h;
  ASSERT_TRUE(h.LoadFromFile(fil));
  EXPECT_EQ(h.ColumnCount(), 3);
  EXPECT_EQ(h.ColumnCaption(QStringLiteral("Lizenz")), QStringLiteral("Datenlizenz und Informationen"));
  EXPECT_FALSE(h.ColumnVisible(QStringLiteral("Trafosatz")));
  EXPECT_EQ(h.RowCount(), 2);
  EXPECT_EQ(h.RowCells(1), g.RowCells(1));
  EXPECT_EQ(h.CellText(1, QStringLiteral("Trafosatz")), QStringLiteral("Zeilen\nUmbruch"));
  EXPECT_EQ(h.RowCells(2), (QStringList{QString(), QString(), QString()}));

  // A cut file, a foreign file, a newer version and a missing file all fail
  // and leave the grid as it was.
  QByteArray bytes = ReadAll(fil);
  const auto writeFile = [&](const QString& name, const QByteArray& content) {
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(content);
    return dir.filePath(name);
  };
  const QString cut = writeFile(QStringLiteral("cut.fil"), bytes.left(bytes.size() - 5));
  const QString foreign = writeFile(QStringLiteral("foreign.fil"), QByteArray("\x01\x02sevGrid binary"));
  QByteArray newer = bytes;
  newer.replace("ORVENIL-GRID\t1", "ORVENIL-GRID\t9");
  const QString future = writeFile(QStringLiteral("future.fil"), newer);
  for (const QString& bad : {cut, foreign, future, dir.filePath(QStringLiteral("missing.fil"))}) {
    EXPECT_FALSE(h.LoadFromFile(bad)) << bad.toStdString();
    EXPECT_FALSE(h.LastError().isEmpty());
    EXPECT_EQ(h.RowCount(), 2);
    EXPECT_EQ(h.ColumnCount(), 3);
  }
  // A save that cannot be written fails and reports it.
  EXPECT_FALSE(g.SaveToFile(dir.filePath(QStringLiteral("no/such/dir/x.fil"))));
}

TEST(DataGridExport, TextWithSeparatorAndSkippedRows) {
  QTemporaryDir dir;
  DataGrid g;
  AddSystemColumns(g);
  g.AddRow(QStringLiteral("a\tb\tc"));
  g.AddRow(QStringLiteral("Ä\t\t€"));
  g.AddRow(QStringLiteral("skip\tme\t!"));
  QList<int> totals;
  g.onExportRow([&](int row, int total, bool& skip) {
    totals << total;
    skip = row == 3;
  });
  const QString dat = dir.filePath(QStringLiteral("sys_NTv2.dat"));
  ASSERT_TRUE(g.ExportText(dat, QStringLiteral(";")));
  EXPECT_EQ(ReadAll(dat), EncodeWindows1252(QStringLiteral("a;b;c\r\nÄ;;€\r\n")));
  EXPECT_EQ(totals, (QList<int>{3, 3, 3}));
  EXPECT_FALSE(g.ExportText(dir.filePath(QStringLiteral("no/dir/x.dat")), QStringLiteral(";")));
}

// ---- bound to a table of 100,000 rows ---------------------------------------

class BoundGridTest : public ::testing::Test {
 protected:
  static constexpr int kRows = 100000;
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    path = dir.filePath(QStringLiteral("tmp_dao_orvenil_grid.mdb"));
    db = DBEngine::createDatabase(path);
    TableDef def = db.createTableDef(QStringLiteral("Daten"));
    def.appendField(TableDef::createField(QStringLiteral("Punkt"), dbText));
    def.appendField(TableDef::createField(QStringLiteral("sYe"), dbText));
    def.appendField(TableDef::createField(QStringLiteral("id"), dbLong));
    db.appendTableDef(def);
    Recordset rs = db.openTable(QStringLiteral("Daten"));
    for (int i = 1; i <= kRows; ++i) {
      rs.addNew();
      rs.setValue(QStringLiteral("Punkt"), QStringLiteral("%1").arg(kRows + 1 - i, 20));
      if (i % 3 != 0) rs.setValue(QStringLiteral("sYe"), QStringLiteral("%1.0000").arg(32500000 + i));
      rs.setValue(QStringLiteral("id"), i);
      rs.update();
    }
    rs.close();
    db.commit();
  }
  void TearDown() override { db.close(); }

  QTemporaryDir dir;
  QString path;
  Database db;
};

TEST_F(BoundGridTest, MembersAndEventsOnABoundTable) {
  DataGrid g;
  g.BindQuery(db, QStringLiteral("SELECT * FROM Daten ORDER BY Punkt"));
  ASSERT_TRUE(g.IsBound());
  EXPECT_EQ(g.RowCount(), kRows);
  EXPECT_EQ(g.ColumnCount(), 3);
  EXPECT_EQ(g.ColumnKey(1), QStringLiteral("Punkt"));
  EXPECT_EQ(g.ColumnWidth(QStringLiteral("sYe")), 1300);
  EXPECT_EQ(g.AddRow(QStringLiteral("x")), 0);  // rows come from the table only

  // Ordered by Punkt: row 1 is the point " …1", written last (id 100000).
  EXPECT_EQ(g.CellText(1, QStringLiteral("Punkt")).trimmed(), QStringLiteral("1"));
  EXPECT_EQ(g.CellText(1, QStringLiteral("id")), QString::number(kRows));
  EXPECT_EQ(g.CellText(kRows, QStringLiteral("id")), QStringLiteral("1"));
  EXPECT_EQ(g.CellText(kRows - 2, QStringLiteral("sYe")), QString());  // id 3: NULL shows ""
  EXPECT_EQ(g.CellText(50000, QStringLiteral("Punkt")).trimmed(), QStringLiteral("50000"));

  const QString wanted = QStringLiteral("%1").arg(77777, 20);
  EXPECT_EQ(g.FindRow(QStringLiteral("Punkt"), wanted), 77777);
  EXPECT_EQ(g.FindRow(QStringLiteral("Punkt"), wanted, 77778), 0);

  // Deletion through the before-delete event, first cancelled.
  bool cancel = true;
  g.onBeforeDelete([&](int, bool& c) { c = cancel; });
  g.SelectRows({2, 3});
  EXPECT_EQ(g.DeleteSelectedRows(), 0);
  EXPECT_EQ(g.RowCount(), kRows);
  cancel = false;
  EXPECT_EQ(g.DeleteSelectedRows(), 2);
  EXPECT_EQ(g.RowCount(), kRows - 2);
  EXPECT_EQ(g.CellText(2, QStringLiteral("Punkt")).trimmed(), QStringLiteral("4"));
  EXPECT_EQ(db.openTable(QStringLiteral("Daten")).recordCount(), kRows - 2);

  // Changes of the table show after a refresh, which keeps the current row.
  g.SetCurrentRow(40000);
  int rowChanges = 0;
  g.onRowChange([&] { ++rowChanges; });
  db.execute(QStringLiteral("DELETE FROM Daten WHERE id > 99990"));
  g.Refresh();
  EXPECT_EQ(g.CurrentRow(), 40000);
  EXPECT_EQ(rowChanges, 0);
  EXPECT_EQ(g.RowCount(), kRows - 10);  // ids 99991 … 100000, two of them deleted before
}

// A refresh with nothing written keeps the ids it has; any write in between,
// by the program or by another connection, shows.
TEST_F(BoundGridTest, RefreshAfterAWriteShowsIt) {
  DataGrid g;
  g.BindQuery(db, QStringLiteral("SELECT * FROM Daten ORDER BY Punkt"));
  g.Refresh();
  ASSERT_EQ(g.RowCount(), kRows);

  // Point "1" renamed through a recordset moves from the first row to the last.
  Recordset rs = db.openTable(QStringLiteral("Daten"));
  rs.moveLast();
  rs.edit();
  rs.setValue(QStringLiteral("Punkt"), QStringLiteral("zzz"));
  rs.update();
  rs.close();
  g.Refresh();
  EXPECT_EQ(g.CellText(kRows, QStringLiteral("Punkt")), QStringLiteral("zzz"));

  db.commit();
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "INSERT INTO Daten (Punkt, id) VALUES ('', 0)", nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(other);
  g.Refresh();
  EXPECT_EQ(g.RowCount(), kRows + 1);
  EXPECT_EQ(g.CellText(1, QStringLiteral("id")), QStringLiteral("0"));
}

TEST_F(BoundGridTest, SaveLoadAndExports) {
  DataGrid g;
  g.BindQuery(db, QStringLiteral("SELECT * FROM Daten ORDER BY Punkt"));
  g.SetColumnVisible(QStringLiteral("id"), false);
  const QString fil = dir.filePath(QStringLiteral("daten.fil"));
  ASSERT_TRUE(g.SaveToFile(fil));
  DataGrid copy;
  ASSERT_TRUE(copy.LoadFromFile(fil));
  EXPECT_FALSE(copy.IsBound());
  ASSERT_EQ(copy.RowCount(), kRows);
  for (int r : {1, 2, 3, 4999, 50000, kRows})
    EXPECT_EQ(copy.RowCells(r), g.RowCells(r)) << r;
  EXPECT_FALSE(copy.ColumnVisible(QStringLiteral("id")));

  // Text export: the export event skips rows without an easting.
  int events = 0;
  g.onExportRow([&](int row, int total, bool& skip) {
    ++events;
    EXPECT_EQ(total, kRows);
    skip = g.CellText(row, QStringLiteral("sYe")).trimmed().isEmpty();
  });
  const QString txt = dir.filePath(QStringLiteral("daten.txt"));
  ASSERT_TRUE(g.ExportText(txt, QStringLiteral("\t")));
  EXPECT_EQ(events, kRows);
  const QList<QByteArray> lines = ReadAll(txt).split('\n');
  EXPECT_EQ(lines.size() - 1, kRows - kRows / 3);
  EXPECT_EQ(lines.first(), QStringLiteral("%1\t32600000.0000\t100000\r").arg(1, 20).toLatin1());

  // Spreadsheet export with chosen columns through the same event.
  events = 0;
  const QString xls = dir.filePath(QStringLiteral("daten.xls"));
  ASSERT_TRUE(g.ExportSpreadsheet(xls, QList<int>{2, 1})) << g.LastError().toStdString();
  EXPECT_EQ(events, kRows);
  const QByteArray head = ReadAll(xls).left(8);
  EXPECT_EQ(head, QByteArray::fromHex("d0cf11e0a1b11ae1"));  // a compound file
  // The column list as the export passes it; a list naming no column writes nothing.
  EXPECT_TRUE(g.ExportSpreadsheet(dir.filePath(QStringLiteral("b.xls")), QStringLiteral("1, 9,3")));
  EXPECT_FALSE(g.ExportSpreadsheet(dir.filePath(QStringLiteral("c.xls")), QStringLiteral("0,99")));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("c.xls"))));
}
