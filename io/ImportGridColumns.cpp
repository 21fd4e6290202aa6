#include "io/ImportGridColumns.h"

#include <QHash>

namespace orv {

ImportGridColumn ImportGridColumnLook(const QString& field) {
  static const QHash<QString, ImportGridColumn> looks = [] {
    const QString second = QStringLiteral("\"");  // the arc-second sign
    QHash<QString, ImportGridColumn> h;
    const auto add = [&](const char* key, const QString& caption, int width, bool visible = true) {
      h.insert(QString::fromUtf8(key), ImportGridColumn{caption, width, visible});
    };
    add("id", QStringLiteral("id"), 1300, false);
    add("Punkt", QStringLiteral("Punkt"), 1800);
    add("C", QStringLiteral("Code"), 700);
    add("sYe", QStringLiteral("Rechts"), 1300);
    add("sXe", QStringLiteral("Hoch"), 1300);
    add("sZe", QStringLiteral("Höhe"), 1300);
    add("sXz", QStringLiteral("X"), 1300);
    add("sYz", QStringLiteral("Y"), 1300);
    add("sZz", QStringLiteral("Z"), 1300);
    add("sBg", QStringLiteral("Breite-Lat-N"), 1600);
    add("sLg", QStringLiteral("Länge-Long-E"), 1600);
    add("BgDez", QStringLiteral("Breite in °"), 1600);
    add("LgDez", QStringLiteral("Länge in °"), 1600);
    add("BgDezSek", QStringLiteral("Breite in ") + second, 1600);
    add("LgDezSek", QStringLiteral("Länge in ") + second, 1600);
    add("sHg", QStringLiteral("ell.Höhe"), 1300);
    add("radBg", QStringLiteral("radBg"), 1600);
    add("radLg", QStringLiteral("radLg"), 1600);
    add("sYeZiel", QStringLiteral("Ziel-Rechts"), 1300);
    add("sXeZiel", QStringLiteral("Ziel-Hoch"), 1300);
    add("sZeZiel", QStringLiteral("Ziel-Höhe"), 1300);
    add("sXzZiel", QStringLiteral("Ziel-X"), 1300);
    add("sYzZiel", QStringLiteral("Ziel-Y"), 1300);
    add("sZzZiel", QStringLiteral("Ziel-Z"), 1300);
    add("sBgZiel", QStringLiteral("Ziel-Breite"), 1600);
    add("sLgZiel", QStringLiteral("Ziel-Länge"), 1600);
    add("sHgZiel", QStringLiteral("Ziel-ell.Höhe"), 1300);
    add("radBgZiel", QStringLiteral("ZielradBg"), 1600);
    add("radLgZiel", QStringLiteral("ZielradLg"), 1600);
    add("BgDezZiel", QStringLiteral("Ziel-Breite in °"), 1600);
    add("LgDezZiel", QStringLiteral("Ziel-Länge in °"), 1600);
    add("BgDezSekZiel", QStringLiteral("Ziel-Breite in ") + second, 1600);
    add("LgDezSekZiel", QStringLiteral("Ziel-Länge in ") + second, 1600);
    add("Geoidundulation", QStringLiteral("Geoidundulation"), 1300);
    add("Zone", QStringLiteral("Zone"), 1000);
    add("EllipsKO", QStringLiteral("Mittelmeridian "), 1200);
    return h;
  }();
  const auto it = looks.constFind(field);
  if (it != looks.constEnd()) return *it;
  return ImportGridColumn{field, 1300, true};
}

bool ImportGridColumnHidden(const QString& field) { return !ImportGridColumnLook(field).visible; }

}  // namespace orv
