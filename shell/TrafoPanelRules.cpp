#include "shell/TrafoPanelRules.h"

#include <QStringList>

#include "foundation/TextTokens.h"

namespace orv {

namespace {

const QString kWgs = QStringLiteral("WGS1984");
const QString kGrs = QStringLiteral("GRS1980");

// ETRS89 sets name their side A by either ellipsoid: WGS1984 (older tables)
// or GRS1980, the ellipsoid of ETRS89.
QString SystemOfSideA(QString ellipsoid) {
  if (ellipsoid == kGrs) return QStringLiteral("ETRS89");
  return ellipsoid.replace(kWgs, QStringLiteral("ETRS89"));
}

QString SystemOfSideB(QString ellipsoid) {
  ellipsoid.replace(QStringLiteral("Krassowski"), QStringLiteral("GK42/83"));
  return ellipsoid.replace(QStringLiteral("Bessel"), QStringLiteral("RD83"));
}

}  // namespace

TrafoSetSystems SevenParameterSetSystems(const QString& name, const QString& ellipsoidA,
                                         const QString& ellipsoidB, bool reverse) {
  TrafoSetSystems s;
  s.von = s.nach = name;
  if (!reverse) {
    s.ellipsoidStart = ellipsoidA;
    s.ellipsoidZiel = ellipsoidB;
    s.boxStart = SystemOfSideA(ellipsoidA);
    s.boxZiel = SystemOfSideB(ellipsoidB);
  } else {
    s.ellipsoidStart = ellipsoidB;
    s.ellipsoidZiel = ellipsoidA;
    s.boxZiel = SystemOfSideA(ellipsoidA);
    s.boxStart = SystemOfSideB(ellipsoidB);
  }
  return s;
}

TrafoSetSystems Ntv2SetSystems(const QString& startsystem, const QString& zielsystem,
                               const QString& ellipsoidA, const QString& ellipsoidB, bool reverse) {
  TrafoSetSystems s;
  s.ellipsoidStart = reverse ? ellipsoidB : ellipsoidA;
  s.ellipsoidZiel = reverse ? ellipsoidA : ellipsoidB;
  s.von = s.boxStart = reverse ? zielsystem : startsystem;
  s.nach = s.boxZiel = reverse ? startsystem : zielsystem;
  return s;
}

int SetRowByName(const QStringList& names, const QString& name, int occurrence) {
  for (int i = 0; i < names.size(); ++i)
    if (names[i] == name && occurrence-- == 0) return i + 1;
  return 0;
}

int RowAfterDeletion(int row, const QList<int>& deleted) {
  if (deleted.contains(row)) return 0;
  int before = 0;
  for (int d : deleted)
    if (d < row) ++before;
  return row - before;
}

QString SetGoneMessage(bool ntv2, const QString& name) {
  return (ntv2 ? QStringLiteral("Der NTv2-Trafosatz \"") : QStringLiteral("Der Parametersatz \"")) + name +
         QStringLiteral("\" ist nicht mehr in der Tabelle vorhanden! Abbruch!");
}

QString TrafoCaption(const QString& trafoTyp, const QString& setName, const QString& geoidName,
                     const TrafoSetSystems& s) {
  const QString head = QStringLiteral("Trafo: ") + trafoTyp + QStringLiteral(": ") + setName;
  const QString geoid = QStringLiteral(", Geoid: ") + geoidName;
  if (s.ellipsoidStart == kWgs)
    return head + QStringLiteral(", von: ETRS89 (GRS80), nach: ") + s.nach + QStringLiteral(" (") +
           s.ellipsoidZiel + QStringLiteral(")") + geoid;
  const QString von = QStringLiteral(", von: ") + s.von + QStringLiteral(" (") + s.ellipsoidStart + QStringLiteral(")");
  if (s.ellipsoidZiel == kWgs) return head + von + QStringLiteral(", nach: ETRS89 (GRS80) ") + geoid;
  return head + von + QStringLiteral(", nach: ") + s.nach + QStringLiteral(" (") + s.ellipsoidZiel +
         QStringLiteral(")") + geoid;
}

QString TrafoStatusText(const QString& caption) {
  QString text = caption;
  text.remove(QStringLiteral("Startsystem:"));
  text.replace(QStringLiteral(", Zielsystem:"), QStringLiteral(" ->"));
  return QStringLiteral("Trafo: ") + GetToken(text, 2, QStringLiteral(",")) + QStringLiteral("  ");
}

bool ColumnShownWithoutTrafo(const QString& key) {
  for (const char* part : {"Dez", "Ziel", "rad", "Zone", "EllipsKO"})
    if (key.contains(QLatin1String(part))) return false;
  return true;
}

bool ColumnShownWithTrafo(const QString& key) {
  static const QStringList shown{"Punkt", "C",       "sYe",     "sXe",     "sZe", "sHg", "Geoidundulation",
                                 "sYeZiel", "sXeZiel", "sZeZiel", "Zone"};
  return shown.contains(key);
}

bool TrafoStartAllowed(int trafoOption, bool setFits, bool geoidModelChosen) {
  switch (trafoOption) {
    case 1:
    case 2: return setFits;
    case 3: return geoidModelChosen;
    case 4:
    case 5: return true;
    default: return false;
  }
}

}  // namespace orv
