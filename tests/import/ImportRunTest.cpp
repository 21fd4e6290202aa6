// The import run end to end through the toolbar key: projected files in
// Gauss-Krüger and UTM against outside reference values, the grid and the
// status bar afterwards, and the three kinds of start coordinates agreeing.
#include <QPushButton>
#include <QTextStream>
#include <cmath>

#include "ImportFixture.h"
#include "foundation/NumberText.h"
#include "geodesy/AngleFormats.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbToolBar.h"

namespace {

struct Reference {
  QString ellipsoid;
  double easting, northing, h, lat, lon, X, Y, Z;
};

QList<Reference> References() {
  QList<Reference> out;
  QFile f(QStringLiteral(ORV_TEST_DATA_DIR) + "/import/projected_reference.txt");
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  QTextStream in(&f);
  while (!in.atEnd()) {
    const QStringList p = in.readLine().split(' ', Qt::SkipEmptyParts);
    if (p.isEmpty() || p[0].startsWith('#')) continue;
    out << Reference{p[0], p[6].toDouble(), p[7].toDouble(), p[8].toDouble(), p[9].toDouble(),
                     p[10].toDouble(), p[11].toDouble(), p[12].toDouble(), p[13].toDouble()};
  }
  return out;
}

constexpr double kPi = 3.14159265358979;
constexpr double kTenthMm = 1e-4;
constexpr double kRadTenthMm = 2e-11;  // about 0.1 mm on the earth

void ExpectMatches(const QMap<QString, QString>& row, const Reference& r) {
  EXPECT_NEAR(row["radBg"].toDouble(), r.lat * kPi / 180, kRadTenthMm) << row["Punkt"].toStdString();
  EXPECT_NEAR(row["radLg"].toDouble(), r.lon * kPi / 180, kRadTenthMm);
  EXPECT_NEAR(row["BgDez"].toDouble(), r.lat, 2e-9);
  EXPECT_NEAR(row["LgDezSek"].toDouble(), r.lon * 3600, 5e-6);
  EXPECT_NEAR(row["sXz"].toDouble(), r.X, kTenthMm);
  EXPECT_NEAR(row["sYz"].toDouble(), r.Y, kTenthMm);
  EXPECT_NEAR(row["sZz"].toDouble(), r.Z, kTenthMm);
  EXPECT_NEAR(orv::GradInRad(row["sBg"]), r.lat * kPi / 180, 1e-10);
}

// Degrees as D°M'S" with seven decimals of the seconds (a tenth of a millimetre).
QString DmsText(double degrees) {
  const double d = std::floor(degrees);
  const double m = std::floor((degrees - d) * 60);
  const double s = ((degrees - d) * 60 - m) * 60;
  return QString::number(d, 'f', 0) + QChar(0x00B0) + QString::number(m, 'f', 0) + "'" + QString::number(s, 'f', 7) + "\"";
}

}  // namespace

TEST_F(ImportTest, GaussKruegerFileFillsEveryStartColumnAndTheGrid) {
  startWithTables();
  const auto ref = References();
  const QString path = writeFile("gk.in", {"12 K1 4512345.678 5712345.678 101.5", "", "7 K2 4498765.432 5698765.432 0"});
  runImport(path, 2, [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); },
            [&] { dialogs->expectMessage("1 Zeilen mit fehlerhaften Koordinaten überlesen!"); });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();

  const auto r = rows();
  ASSERT_EQ(r.size(), 2);
  EXPECT_EQ(r[0]["id"], "1");
  EXPECT_EQ(r[1]["id"], "3");  // the blank line keeps its number
  EXPECT_EQ(r[0]["Punkt"], QString(18, ' ') + "12");
  EXPECT_EQ(r[0]["C"], "K1");
  EXPECT_EQ(r[0]["sYe"], "4512345.6780");
  EXPECT_EQ(r[0]["sYori"], "4512345.6780");
  EXPECT_EQ(r[0]["sXe"], "5712345.6780");
  EXPECT_EQ(r[0]["sZe"], "101.5000");
  EXPECT_EQ(r[0]["sHg"], "101.5000");
  EXPECT_EQ(r[1]["sZe"], "75.0000");  // height 0: the approximate height
  EXPECT_EQ(r[0]["Zone"], "12");
  EXPECT_EQ(r[0]["EllipsKO"], "4500000");
  EXPECT_EQ(r[0]["Geoidundulation"], "<NULL>");
  EXPECT_EQ(r[0]["sYeZiel"], "<NULL>");
  ExpectMatches(r[0], ref[0]);
  ExpectMatches(r[1], ref[1]);

  orv::DataGrid* grid = form->GridKooDb;
  ASSERT_EQ(grid->RowCount(), 2);
  EXPECT_EQ(grid->CellText(1, "Punkt").trimmed(), "7");  // sorted by the padded point number
  EXPECT_EQ(grid->CurrentRow(), 1);
  EXPECT_FALSE(grid->ColumnVisible("id"));
  EXPECT_EQ(grid->ColumnCaption("sYe"), "Rechts");
  EXPECT_EQ(grid->ColumnCaption("BgDezSek"), "Breite in \"");
  EXPECT_EQ(grid->ColumnWidth("Punkt"), 1800);
  EXPECT_EQ(form->xpStatusBar1->PanelText(3), "Zone: 12  ");
  EXPECT_EQ(form->xpStatusBar1->PanelText(4), "Maßstab: 1  ");
  EXPECT_EQ(form->xpStatusBar1->PanelText(5), "K0: 4500000m  ");
  EXPECT_EQ(form->xpStatusBar1->PanelText(2), ".../gk.in  ");
  EXPECT_TRUE(form->Coolbar2->IsEnabled(orv::kKeyDbSpeichernUnter));
  EXPECT_TRUE(form->cmdAuswahlExport->isEnabled());
  EXPECT_FALSE(dialogs->isBusy());
}

// Eastings with the zone in front, in two zones, and eastings without zone
// digits after the user gave the zone code: every such line takes its zone
// from the code, also after a line of another zone.
TEST_F(ImportTest, UtmEastingsTakeTheZoneOfTheirOwnLine) {
  startWithTables();
  const auto ref = References();
  const QString path = writeFile("utm.pkt", {"A 0 512345.678 5712345.678 101.5", "B 0 33387654.321 5698765.432 42.25",
                                             "C 0 512345.678 5712345.678 101.5"});
  runImport(path, 3, nullptr, [&] { dialogs->expectInput("MKZ/Zone°", "32"); });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto r = rows();
  ASSERT_EQ(r.size(), 3);
  EXPECT_EQ(r[0]["Zone"], "9");
  EXPECT_EQ(r[1]["Zone"], "15");
  EXPECT_EQ(r[2]["Zone"], "9");
  EXPECT_EQ(r[0]["sYe"], "2512345.6780");  // ETRS89: zone number in front
  EXPECT_EQ(r[1]["sYori"], "3387654.3210");
  EXPECT_EQ(r[1]["sYe"], "3387654.3210");
  ExpectMatches(r[0], ref[2]);
  ExpectMatches(r[1], ref[3]);
  ExpectMatches(r[2], ref[2]);
}

TEST_F(ImportTest, GeographicAndGeocentricImportsAgreeWithTheProjectedOne) {
  startWithTables();
  const QString gk = writeFile("gk.txt", {"1 K1 4512345.678 5712345.678 101.5", "2 K2 4498765.432 5698765.432 75"});
  runImport(gk, 1, [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); });
  const auto projected = rows();
  ASSERT_EQ(projected.size(), 2);

  QStringList geographic, geocentric;
  for (const auto& p : projected) {
    geographic << p["Punkt"].trimmed() + " " + p["C"] + " " + DmsText(p["BgDez"].toDouble()) + " " +
                      DmsText(p["LgDez"].toDouble()) + " " + p["sHg"];
    geocentric << p["Punkt"].trimmed() + " " + p["C"] + " " + p["sXz"] + " " + p["sYz"] + " " + p["sZz"];
  }
  // After geographic input the first geoid model is chosen; its file is not there.
  runImport(
      writeFile("geo.txt", geographic), 4,
      [](orv::FormOrvenilSystemAuswahl& d) {
        d.Startsys->select(1);
        d.StartAbbildung->select(2);
      },
      [&] { dialogs->expectMessage("fehlt! Abbruch!"); });
  const auto fromGeographic = rows();
  runImport(writeFile("xyz.txt", geocentric), 1, [](orv::FormOrvenilSystemAuswahl& d) {
    d.Startsys->select(1);
    d.StartAbbildung->select(1);
  });
  const auto fromGeocentric = rows();
  ASSERT_EQ(fromGeographic.size(), 2);
  ASSERT_EQ(fromGeocentric.size(), 2);
  for (int i = 0; i < 2; ++i) {
    for (const auto* other : {&fromGeographic[i], &fromGeocentric[i]}) {
      for (const char* c : {"sXz", "sYz", "sZz", "sXe", "sYe", "sHg"})
        EXPECT_NEAR((*other)[c].toDouble(), projected[i][c].toDouble(), kTenthMm) << c;
      for (const char* c : {"radBg", "radLg"})
        EXPECT_NEAR((*other)[c].toDouble(), projected[i][c].toDouble(), kRadTenthMm) << c;
      EXPECT_EQ((*other)["Zone"], "12");
    }
  }
}
