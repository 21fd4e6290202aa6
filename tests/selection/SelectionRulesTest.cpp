// Rules of the selection panels that need no window: zone lists, the
// description texts of a set, the column views and the editor's texts.
#include <gtest/gtest.h>

#include "shell/SystemTableEditorRules.h"
#include "shell/TrafoPanelRules.h"
#include "shell/ZoneLists.h"

using namespace orv;

namespace {
const QStringList kUtm{"automatisch", "03/31", "09/32", "15/33", "21/34"};
const QStringList kGk{"automatisch", "03/15", "06/25", "09/35", "12/45", "15/55", "18/65", "21/75"};
}  // namespace

TEST(ZoneLists, PerEllipsoidAndSide) {
  for (ZoneSide side : {ZoneSide::Start, ZoneSide::Target}) {
    EXPECT_EQ(ZoneListItems("GRS1980", side), kUtm);
    EXPECT_EQ(ZoneListItems("Krassowski", side), kGk);
    EXPECT_EQ(ZoneListItems("Bessel", side), kGk);
    // Names compare exactly.
    EXPECT_FALSE(ZoneListItems("bessel", side).has_value());
    EXPECT_FALSE(ZoneListItems("", side).has_value());
    EXPECT_FALSE(ZoneListItems("ETRS89", side).has_value());
  }
  // WGS1984 start data have no zone; as target they get UTM zones.
  EXPECT_EQ(ZoneListItems("WGS1984", ZoneSide::Start), QStringList{"automatisch"});
  EXPECT_EQ(ZoneListItems("WGS1984", ZoneSide::Target), kUtm);
}

TEST(ZoneLists, StartsysOptions) {
  EXPECT_EQ(StartsysEllipsoid(0), "GRS1980");
  EXPECT_EQ(StartsysEllipsoid(1), "Krassowski");
  EXPECT_EQ(StartsysEllipsoid(2), "Bessel");
  EXPECT_EQ(StartsysEllipsoid(3), "WGS1984");
  EXPECT_EQ(StartsysEllipsoid(4), "");
  EXPECT_EQ(StartsysEllipsoid(-1), "");
}

TEST(TrafoPanelRules, SevenParameterSetBothDirections) {
  TrafoSetSystems hin = SevenParameterSetSystems("Satz", "WGS1984", "Krassowski", false);
  EXPECT_EQ(hin.ellipsoidStart, "WGS1984");
  EXPECT_EQ(hin.ellipsoidZiel, "Krassowski");
  EXPECT_EQ(hin.boxStart, "ETRS89");
  EXPECT_EQ(hin.boxZiel, "GK42/83");
  EXPECT_EQ(hin.von, "Satz");
  EXPECT_EQ(hin.nach, "Satz");

  TrafoSetSystems rueck = SevenParameterSetSystems("Satz", "WGS1984", "Bessel", true);
  EXPECT_EQ(rueck.ellipsoidStart, "Bessel");
  EXPECT_EQ(rueck.ellipsoidZiel, "WGS1984");
  EXPECT_EQ(rueck.boxStart, "RD83");
  EXPECT_EQ(rueck.boxZiel, "ETRS89");
  // Only side A names WGS1984 as ETRS89; side B renames only the two old ellipsoids.
  EXPECT_EQ(SevenParameterSetSystems("S", "GRS1980", "WGS1984", false).boxZiel, "WGS1984");
}

TEST(TrafoPanelRules, Ntv2SetBothDirections) {
  TrafoSetSystems hin = Ntv2SetSystems("RD83", "ETRS89", "Bessel", "GRS1980", false);
  EXPECT_EQ(hin.boxStart, "RD83");
  EXPECT_EQ(hin.boxZiel, "ETRS89");
  EXPECT_EQ(hin.von, "RD83");
  EXPECT_EQ(hin.nach, "ETRS89");
  EXPECT_EQ(hin.ellipsoidStart, "Bessel");
  TrafoSetSystems rueck = Ntv2SetSystems("RD83", "ETRS89", "Bessel", "GRS1980", true);
  EXPECT_EQ(rueck.boxStart, "ETRS89");
  EXPECT_EQ(rueck.boxZiel, "RD83");
  EXPECT_EQ(rueck.von, "ETRS89");
  EXPECT_EQ(rueck.nach, "RD83");
  EXPECT_EQ(rueck.ellipsoidStart, "GRS1980");
  EXPECT_EQ(rueck.ellipsoidZiel, "Bessel");
}

TEST(TrafoPanelRules, CaptionFormsAndStatusText) {
  const auto wgsStart = SevenParameterSetSystems("Satz Eins", "WGS1984", "Krassowski", false);
  const QString c1 = TrafoCaption("7-Parameter", "Satz Eins", "ohne", wgsStart);
  EXPECT_EQ(c1, "Trafo: 7-Parameter: Satz Eins, von: ETRS89 (GRS80), nach: Satz Eins (Krassowski), Geoid: ohne");
  EXPECT_EQ(TrafoStatusText(c1), "Trafo: von: ETRS89 (GRS80)  ");

  const auto wgsTarget = SevenParameterSetSystems("Satz Eins", "WGS1984", "Krassowski", true);
  const QString c2 = TrafoCaption("7-Parameter", "Satz Eins", "EGM96", wgsTarget);
  EXPECT_EQ(c2, "Trafo: 7-Parameter: Satz Eins, von: Satz Eins (Krassowski), nach: ETRS89 (GRS80) , Geoid: EGM96");
  EXPECT_EQ(TrafoStatusText(c2), "Trafo: von: Satz Eins (Krassowski)  ");

  const auto ntv2 = Ntv2SetSystems("RD83", "ETRS89", "Bessel", "GRS1980", false);
  const QString c3 = TrafoCaption("NTv2", "BeTA2007", "ohne", ntv2);
  EXPECT_EQ(c3, "Trafo: NTv2: BeTA2007, von: RD83 (Bessel), nach: ETRS89 (GRS1980), Geoid: ohne");
  EXPECT_EQ(TrafoStatusText(c3), "Trafo: von: RD83 (Bessel)  ");

  EXPECT_EQ(TrafoStatusText("Koordinaten"), "Trafo:   ");
  EXPECT_EQ(TrafoStatusText("Trafo: x, Startsystem: A, Zielsystem: B"), "Trafo: A -> B  ");
}

TEST(TrafoPanelRules, ColumnViews) {
  const QStringList daten{"Punkt",        "C",          "sYe",          "sXe",         "sZe",
                          "sXz",          "sYz",        "sZz",          "sBg",         "sLg",
                          "BgDez",        "LgDez",      "BgDezSek",     "LgDezSek",    "sHg",
                          "radBg",        "radLg",      "sYeZiel",      "sXeZiel",     "sZeZiel",
                          "sXzZiel",      "sYzZiel",    "sZzZiel",      "sBgZiel",     "sLgZiel",
                          "sHgZiel",      "radBgZiel",  "radLgZiel",    "BgDezZiel",   "LgDezZiel",
                          "BgDezSekZiel", "LgDezSekZiel", "Geoidundulation", "Zone",   "EllipsKO",
                          "sYori",        "sXori",      "sZori",        "id",          "Zeile"};
  QStringList without, with;
  for (const QString& k : daten) {
    if (ColumnShownWithoutTrafo(k)) without << k;
    if (ColumnShownWithTrafo(k)) with << k;
  }
  EXPECT_EQ(without, (QStringList{"Punkt", "C", "sYe", "sXe", "sZe", "sXz", "sYz", "sZz", "sBg", "sLg", "sHg",
                                  "Geoidundulation", "sYori", "sXori", "sZori", "id", "Zeile"}));
  EXPECT_EQ(with.size(), 11);
  EXPECT_TRUE(with.contains("Zone"));
  EXPECT_FALSE(with.contains("sHgZiel"));
  // Keys compare case-sensitively.
  EXPECT_FALSE(ColumnShownWithTrafo("punkt"));
}

TEST(SystemTableEditorRules, DeleteQuestions) {
  EXPECT_EQ(DeleteRowsQuestion(7, 1), "7. Datensatz löschen?");
  EXPECT_EQ(DeleteRowsQuestion(0, 3),
            "Achtung!\r\nEs sind 3 Datensätze selektiert.\r\n\r\nAlle selektierten Datenzeilen löschen?   ");
}

TEST(SystemTableEditorRules, Ntv2SystemNames) {
  for (const char* gk : {"GK-83", "42/83", "GK83", "GK42/83", "S4283"}) {
    EXPECT_EQ(MapNtv2SystemName(gk).system, "GK42/83") << gk;
    EXPECT_EQ(MapNtv2SystemName(gk).ellipsoid, "Krassowski") << gk;
  }
  for (const char* rd : {"RD-83", "40/83", "PD83", "PD-83", "RD83", "RD40/83", "DHDN90", "DHDN"}) {
    EXPECT_EQ(MapNtv2SystemName(rd).system, "RD83") << rd;
    EXPECT_EQ(MapNtv2SystemName(rd).ellipsoid, "Bessel") << rd;
  }
  EXPECT_EQ(MapNtv2SystemName("  ETRS89 ").system, "ETRS89");
  EXPECT_EQ(MapNtv2SystemName("ETRS89").ellipsoid, "GRS1980");
  // Unknown names, and known ones in another case, are kept with no ellipsoid.
  EXPECT_EQ(MapNtv2SystemName(" MGI ").system, "MGI");
  EXPECT_EQ(MapNtv2SystemName("MGI").ellipsoid, "");
  EXPECT_EQ(MapNtv2SystemName("dhdn").system, "dhdn");
  EXPECT_EQ(MapNtv2SystemName("dhdn").ellipsoid, "");
}
