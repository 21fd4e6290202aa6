#include <gtest/gtest.h>

#include "shell/SystemTableDefinitions.h"

using namespace orv;

TEST(SystemTableDefinitions, CoordinateSystemRowsAreExact) {
  const QStringList rows = KoordSysRows();
  ASSERT_EQ(rows.size(), 4);
  EXPECT_EQ(rows[0],
            "ETRS89\tGRS1980\t6378137\t6356752.31414034\t1 / 298.25722210088\t0.003352810681184\t0.9996");
  EXPECT_EQ(rows[1],
            "GK42/83\tKrassowski\t6378245\t6356863.01877305\t1 / 298.3\t0.003352329869259\t1");
  EXPECT_EQ(rows[2],
            "RD40/83\tBessel\t6377397.15507605\t6356078.96289779\t1 / 299.152812853405\t"
            "0.003342773181578\t1\tRD40/83 = PD83");
  EXPECT_EQ(rows[3],
            "WGS1984\tWGS1984\t6378137\t6356752.31424523\t0.00335281066474\t0.00335281066474\t0.9996");
}

TEST(SystemTableDefinitions, ColumnsKeysCaptionsAndWidths) {
  const auto koord = SystemTableColumns(SystemTable::KoordSys);
  ASSERT_EQ(koord.size(), 8);
  EXPECT_EQ(koord[7].key, "Bemerkung");
  EXPECT_EQ(koord[7].widthTwips, 1500);
  EXPECT_EQ(koord[0].widthTwips, 1200);

  const auto trafo = SystemTableColumns(SystemTable::TrafoSys);
  ASSERT_EQ(trafo.size(), 16);
  EXPECT_EQ(trafo[1].key, "Datum");
  EXPECT_EQ(trafo[1].caption, "Zuletzt geändert");
  EXPECT_EQ(trafo[4].key, "Höhenmodus");
  EXPECT_EQ(trafo[15].key, "z0");

  const auto ntv2 = SystemTableColumns(SystemTable::NTv2Sys);
  ASSERT_EQ(ntv2.size(), 8);
  EXPECT_EQ(ntv2[7].caption, "Datenlizenz und Informationen");
  EXPECT_EQ(ntv2[6].widthTwips, 3000);
  EXPECT_EQ(ntv2[7].widthTwips, 3000);

  const auto geoid = SystemTableColumns(SystemTable::Geoidmodell);
  ASSERT_EQ(geoid.size(), 6);
  EXPECT_EQ(geoid[1].caption, "Quasigeoidmodell-Datei");
  EXPECT_EQ(geoid[2].key, "Geoid-App");
  EXPECT_EQ(geoid[3].caption, "App-Geoidname");
}

TEST(SystemTableDefinitions, MissingFileMessages) {
  EXPECT_EQ(MissingTableFileMessage(SystemTable::TrafoSys, "/db/"),
            "Transformationsdaten '/db/sys_7Parameter.dat' fehlen!");
  EXPECT_EQ(MissingTableFileMessage(SystemTable::NTv2Sys, "/db/"),
            "Transformationsdaten /db/sys_NTv2.dat fehlen!");
  EXPECT_EQ(MissingTableFileMessage(SystemTable::Geoidmodell, "/db/"),
            "Transformationsdaten /db/Quasigeoidmodell.dat fehlen!");
}

TEST(SystemTableDefinitions, SemicolonAlwaysSplitsACell) {
  // The text format has no quoting.
  EXPECT_EQ(TableFileLineToRow("x;\"a;b\";y"), "x\t\"a\tb\"\ty");
}

TEST(SystemTableDefinitions, FittedWidthHasAFloorOf500) {
  EXPECT_EQ(FittedColumnWidth(100), 500);
  EXPECT_EQ(FittedColumnWidth(416), 500);   // 499.2
  EXPECT_EQ(FittedColumnWidth(1000), 1200);
  EXPECT_EQ(FittedColumnWidth(1002.5), 1203);  // 1203.0
}
