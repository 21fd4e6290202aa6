// Edits of the system tables reach their files at the end of the program,
// and the columns follow every change of a table.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTableView>

#include "MainWindowFixture.h"
#include "foundation/TextLineReader.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/VbTabStrip.h"
#include "shell/SystemTableDefinitions.h"

using namespace orv;

namespace {

QString FirstLineOf(const QString& path) {
  TextLineReader reader(path);
  QString line;
  reader.readLine(line);
  return line;
}

// Types a text into a cell the way the user does after "Zeile bearbeiten";
// the editor stays open.
void TypeIntoCell(FormOrvenil& f, DataGrid* grid, int tab, const QString& text) {
  f.sevTabStrip1->SelectTab(tab);
  grid->SetCurrentRow(1);
  grid->SetTag(QStringLiteral("1"));
  f.mnuPopUp_Click(0);
  auto* editor = qobject_cast<QLineEdit*>(grid->view()->indexWidget(grid->view()->currentIndex()));
  ASSERT_NE(editor, nullptr);
  editor->setText(text);
}

}  // namespace

TEST_F(MainWindowTest, EditsNotYetSavedAreSavedAtTheEndAndAFailureIsReported) {
  putAllTables();
  FormOrvenil& f = start();
  f.show();
  TypeIntoCell(f, f.GridTrafoSys, 3, QStringLiteral("Geänderter Satz"));
  f.Coolbar2_ButtonClick(QStringLiteral("btnDBEnde"));
  EXPECT_TRUE(FirstLineOf(dbFile("sys_7Parameter.dat")).startsWith("Geänderter Satz;"));
  EXPECT_TRUE(dialogs->messages().isEmpty());

  // Next run: the edit is there; a grid file that cannot be written is reported.
  FormOrvenil& g = start();
  g.show();
  EXPECT_EQ(g.GridTrafoSys->CellText(1, "Name"), "Geänderter Satz");
  TypeIntoCell(g, g.GridTrafoSys, 3, QStringLiteral("Noch einmal"));
  QFile::remove(dbFile("sys_7Parameter.fil"));
  ASSERT_TRUE(QDir(folders.databaseFolder).mkdir("sys_7Parameter.fil"));
  dialogs->expectMessage(kTableSaveErrorMessage);
  g.close();
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_TRUE(g.HasUnsavedEdits(SystemTable::TrafoSys));
}

TEST_F(MainWindowTest, ColumnsAreFittedAfterEveryChangeOfATable) {
  putAllTables();
  FormOrvenil& f = start();
  const QString name = QStringLiteral("TEST Gitter Niedersachsen und Bremen, Ausgabe 2016");
  const QString path = root.path() + "/Parameter.dat";
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((name + ";2016;GRS1980;Bessel\r\n").toUtf8());
  }
  f.sevTabStrip1->SelectTab(3);
  dialogs->expectOpenFile(path);
  dialogs->expectMessage("hinzugefügt werden?", MsgResult::Yes);
  f.mnuPopUp_Click(3);
  ASSERT_EQ(f.GridTrafoSys->CellText(f.GridTrafoSys->RowCount(), "Name"), name);
  EXPECT_GE(f.GridTrafoSys->ColumnWidth("Name"), f.GridTrafoSys->TextWidthTwips(name));
  EXPECT_TRUE(dialogs->allDone());
}
