// "Trafo starten" runs with the set the panel names, whatever the popup menu
// of its table did to the other rows, and refuses when that set is gone.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

#include "foundation/NumberText.h"
#include "import/ImportFixture.h"
#include "ntv2/Ntv2GridFiles.h"
#include "platform/ui/VbTabStrip.h"

using namespace orv;

namespace {

const QString kSachsen = QStringLiteral("ETRS89 - RD83 Sachsen (EPSG 15868)");

class ChosenSetTest : public ImportTest {
 protected:
  // Right-clicks the grid of a system table on its tab and chooses a menu
  // item; `question` is the question the item asks, answered Yes.
  void menuItem(DataGrid* grid, int item, const QString& question = QString()) {
    form->sevTabStrip1->SelectTab(grid == form->GridTrafoSys ? 3 : 4);
    dialogs->expectPopupMenu([this, item](QMenu*) { form->mnuPopUp[item]->trigger(); });
    if (!question.isEmpty()) dialogs->expectMessage(question, MsgResult::Yes);
    if (grid == form->GridTrafoSys)
      form->GridTrafoSys_MouseUp(2, 1);
    else
      form->GridNTv2Sys_MouseUp(2, 1);
  }
  void deleteRow(DataGrid* grid, int row) {
    grid->SelectRows({row});
    menuItem(grid, 1, QString::number(row) + ". Datensatz löschen?");
  }
  // The target columns of every point after a run.
  std::string runTargets() {
    form->cmdTrafoStart_Click();
    QString out;
    for (const auto& r : rows()) out += r["sYeZiel"] + " " + r["sXeZiel"] + " " + r["sZeZiel"] + "\n";
    return out.toStdString();
  }
  std::string box() const { return form->ComboTrafoPara->Text().toStdString(); }
};

}  // namespace

TEST_F(ChosenSetTest, RunUsesTheSetTheBoxNamesAfterEveryEditOfItsTable) {
  putAllTables();
  QFile::remove(dbFile("sys_7Parameter.dat"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_DATABASE_FOLDER) + "/sys_7Parameter.dat", dbFile("sys_7Parameter.dat")));
  // An NTv2 set between two others whose grid files are not there: 3" north, 5" west everywhere.
  writeFile("Programm/Orvenil-Datenbanken/sys_NTv2.dat",
            {"BeTA2007;BETA2007.gsa;RD83;ETRS89;Bessel;GRS1980;Deutschland;",
             "Test Sachsen;Test.gsa;RD83;ETRS89;Bessel;GRS1980;;",
             "Sachsen TARQ-SN;TARQ-SN.gsa;RD83;ETRS89;Bessel;GRS1980;Sachsen;"});
  const auto constant = [](double v) { return [v](double, double) { return v; }; };
  QByteArray grid = test::GsaText({50 * 3600.0, 52 * 3600.0, -15 * 3600.0, -12 * 3600.0, 3600, 3600,
                                   constant(3), constant(5)})
                        .toLatin1();
  grid.replace("SYSTEM_FTEST    ", "SYSTEM_FRD-83   ");
  test::WriteBytes(dbFile("Test.gsa"), grid);
  start();
  dialogs->clearRecords();
  dialogs->setAcceptOkMessages(true);
  runImport(writeFile("rd83.txt", {"1 K 4600000.000 5650000.000 100.000", "2 K 4610000.000 5660000.000 200.000"}),
            1, [](FormOrvenilSystemAuswahl& d) { d.Startsys->select(2); });
  ASSERT_EQ(form->GridKooDb->RowCount(), 2);

  // RD83 back to ETRS89 with the Saxon set.
  form->AuswahlTrafoTyp->select(1);
  form->AuswahlTrafoRichtung->select(1);
  form->ComboTrafoPara->SetListIndex(1);
  ASSERT_EQ(form->ComboTrafoPara->Text(), kSachsen);
  const std::string sachsen = runTargets();
  ASSERT_NE(sachsen.substr(0, 2), "  ");

  // Another row deleted: list, box and caption follow, the run keeps its set.
  deleteRow(form->GridTrafoSys, 1);
  EXPECT_EQ(form->ComboTrafoPara->ListCount(), 2);
  EXPECT_EQ(box(), kSachsen.toStdString());
  EXPECT_TRUE(form->GridKooDb->Caption().contains(kSachsen));
  EXPECT_EQ(runTargets(), sachsen);

  // A row added, and the chosen set renamed: the box shows the new name.
  menuItem(form->GridTrafoSys, 2);
  EXPECT_EQ(form->ComboTrafoPara->ListCount(), 3);
  form->GridTrafoSys->SetCurrentRow(1);
  menuItem(form->GridTrafoSys, 0);
  auto* editor = qobject_cast<QLineEdit*>(
      form->GridTrafoSys->view()->indexWidget(form->GridTrafoSys->view()->currentIndex()));
  ASSERT_NE(editor, nullptr);
  editor->setText("Sachsen neu");
  form->GridTrafoSys->CommitEdit();
  EXPECT_EQ(box(), "Sachsen neu");
  EXPECT_TRUE(form->GridKooDb->Caption().contains("Sachsen neu"));
  EXPECT_EQ(runTargets(), sachsen);

  // The chosen set itself deleted: the run refuses and changes no row.
  deleteRow(form->GridTrafoSys, 1);
  EXPECT_EQ(box(), "Sachsen neu");
  dialogs->clearRecords();
  EXPECT_EQ(runTargets(), sachsen);
  ASSERT_FALSE(dialogs->messages().isEmpty());
  EXPECT_EQ(dialogs->messages().first().text.toStdString(),
            "Der Parametersatz \"Sachsen neu\" ist nicht mehr in der Tabelle vorhanden! Abbruch!");

  // The NTv2 set after the row before it is deleted still runs with its own grid.
  form->AuswahlTrafoTyp->select(2);
  form->AuswahlTrafoRichtung->select(0);
  form->ComboTrafoPara->SetListIndex(1);
  deleteRow(form->GridNTv2Sys, 1);
  EXPECT_EQ(box(), "Test Sachsen");
  form->cmdTrafoStart_Click();
  for (const auto& r : rows()) {
    EXPECT_NEAR(Val(r["BgDezZiel"]), Val(r["BgDez"]) + 3 / 3600.0, 1e-9) << r["Punkt"].toStdString();
    EXPECT_NEAR(Val(r["LgDezZiel"]), Val(r["LgDez"]) - 5 / 3600.0, 1e-9) << r["Punkt"].toStdString();
  }
  EXPECT_TRUE(dialogs->allDone());
}
