// A job through the window from its point file on: a GK42/83 file imported,
// transformed with the default set "ETRS89 - GK42/83" in reverse into UTM,
// exported as ASCII, compared with an independent pipeline of PROJ (reference values made by
// tools/references/make_run_references.sh) to 0.1 mm.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTextStream>

#include "foundation/NumberText.h"
#include "import/ImportFixture.h"
#include "platform/ui/VbComboBox.h"

namespace {

class JobEndToEndTest : public ImportTest {};

}  // namespace

TEST_F(JobEndToEndTest, GaussKruegerFileToUtmMatchesIndependentPipeline) {
  putRunTables();
  start();
  dialogs->clearRecords();

  struct Expected {
    int meridian;
    double easting, northing, h;
  };
  QStringList lines;
  QList<Expected> expected;
  QFile file(QStringLiteral(ORV_TEST_DATA_DIR) + "/runs/seven_parameter_reference.txt");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QStringList f = in.readLine().split(' ', Qt::SkipEmptyParts);
    if (f.size() != 8 || f[0] != "gk_file") continue;
    lines << QString::number(lines.size() + 1) + " K " + f[1] + " " + f[2] + " " + f[3];
    expected << Expected{f[4].toInt(), f[5].toDouble(), f[6].toDouble(), f[7].toDouble()};
  }
  ASSERT_EQ(lines.size(), 4);
  runImport(writeFile("gk.txt", lines), 1, [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); });
  ASSERT_EQ(form->GridKooDb->RowCount(), 4);

  form->AuswahlTrafoTyp->select(1);
  form->AuswahlTrafoRichtung->select(1);
  form->ComboTrafoPara->SetListIndex(0);
  ASSERT_TRUE(form->cmdTrafoStart->isEnabled());
  dialogs->setAcceptOkMessages(true);  // the notice of points in two zones
  form->cmdTrafoStart_Click();

  // ASCII export of point, code and the target's easting, northing, height.
  orv::State().SpeichernSpaltenNr = "1,2,18,19,20";
  dialogs->expectSaveFile(root.path() + "/utm", 1);
  form->ExportCoordinateTable();
  const QStringList exported = QDir(root.path()).entryList({"utm*"}, QDir::Files);
  ASSERT_EQ(exported.size(), 1);
  QStringList out =
      QString::fromLatin1(bytesOf(root.path() + "/" + exported[0])).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(out.size(), 4);
  for (int i = 0; i < 4; ++i) {
    const QStringList f = out[i].split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(f.size(), 5) << out[i].toStdString();
    const double digit = (expected[i].meridian + 3) / 6 * 1000000.0;
    EXPECT_NEAR(orv::Val(f[2]) - digit, expected[i].easting, 1e-4) << "row " << i;
    EXPECT_NEAR(orv::Val(f[3]), expected[i].northing, 1e-4) << "row " << i;
    EXPECT_NEAR(orv::Val(f[4]), expected[i].h, 1e-4) << "row " << i;
  }
}
