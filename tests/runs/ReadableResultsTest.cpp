// What a surveyor reads in the window at its design width after each step of
// a job (import, seven-parameter run, column view, merge): every value of the
// coordinate grid whole in its column, the row number hidden, every status
// panel's text whole in its panel.
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableView>

#include "import/ImportFixture.h"
#include "platform/ui/ElidingLabel.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "shell/WindowLayout.h"

namespace {

class ReadableResultsTest : public ImportTest {
 protected:
  // Every shown cell of the first rows fits its column, inside the margins
  // the view keeps on either side of a text.
  void expectWholeCells(int rows) {
    QTableView* view = form->GridKooDb->view();
    const QFontMetrics metrics = view->fontMetrics();
    const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    int checked = 0;
    for (int r = 0; r < std::min(rows, form->GridKooDb->RowCount()); ++r)
      for (int c = 0; c < form->GridKooDb->ColumnCount(); ++c) {
        if (view->isColumnHidden(c)) continue;
        const QString text = view->model()->index(r, c).data().toString();
        EXPECT_LE(metrics.horizontalAdvance(text), view->columnWidth(c) - margins)
            << form->GridKooDb->ColumnKey(c + 1).toStdString() << " \"" << text.toStdString() << "\"";
        ++checked;
      }
    EXPECT_GT(checked, 0);
  }

  // Every panel but the spring panel 9 shows its whole text.
  void expectWholePanels() {
    ASSERT_EQ(form->xpStatusBar1->PanelCount(), 10);
    for (int i = 1; i <= 10; ++i) {
      if (i == 9) continue;
      const orv::ElidingLabel* panel = form->xpStatusBar1->Panel(i);
      EXPECT_FALSE(panel->isElided()) << "panel " << i << " \"" << panel->text().toStdString() << "\"";
    }
  }

  // The row number shows only in the view of all columns.
  void expectReadable(const char* after, int rows = 6, bool rowNumberShown = false) {
    SCOPED_TRACE(after);
    QApplication::processEvents();
    EXPECT_EQ(form->width(), orv::TwipsToPixels(orv::kDesignWindowWidth, form->logicalDpiX()));
    EXPECT_EQ(form->GridKooDb->ColumnVisible("id"), rowNumberShown);
    expectWholeCells(rows);
    expectWholePanels();
  }
};

}  // namespace

TEST_F(ReadableResultsTest, ValuesAndPanelsStayWholeAfterEveryStepOfAJob) {
  putRunTables();
  start();
  form->show();
  dialogs->clearRecords();

  // Seven-parameter selected before the import: the import chain goes back
  // to "ohne", which must not show the row number.
  form->AuswahlTrafoTyp->select(1);
  const QString gk = writeFile("gk.txt", {"12345678901234567890 K 4590123.456 5821234.567 312.5",
                                          "2 K 4520000 5700000 95.25", "3 K 4590000.5 5580000.25 840"});
  runImport(gk, 1, [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); });
  ASSERT_EQ(form->GridKooDb->RowCount(), 3);
  EXPECT_EQ(form->GridKooDb->ColumnCaption("sYe"), "Rechts");
  expectReadable("import");

  runFirstSetInReverse();
  expectReadable("seven-parameter run");

  form->Coolbar2_ButtonMenuClick("btnSpalten1");
  expectReadable("view of all columns", 6, true);

  // A merge appending a point: the grid shows the import's captions again.
  const QString more = writeFile("more.txt", {"99999999999999999999 K 4512345.6789 5712345.6789 101.5"});
  runImport(more, 1, [](orv::FormOrvenilSystemAuswahl& d) {
    d.Startsys->select(1);
    d.Sonderfunktion->select(2);
  });
  ASSERT_EQ(form->GridKooDb->RowCount(), 4);
  EXPECT_EQ(form->GridKooDb->ColumnCaption("sYe"), "Rechts");
  EXPECT_EQ(form->GridKooDb->ColumnCaption("BgDezSek"), "Breite in \"");
  expectReadable("merge", 4);
  EXPECT_TRUE(dialogs->failures().isEmpty()) << dialogs->failures().join("|").toStdString();
}
