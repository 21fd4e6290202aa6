#include "shell/SystemTableDefinitions.h"

#include <cmath>

#include "foundation/NumberText.h"

namespace orv {

namespace {

QList<SystemTableColumn> Plain(const QStringList& keys) {
  QList<SystemTableColumn> cols;
  for (const QString& k : keys) cols.append({k, k, 1200});
  return cols;
}

// One coordinate-system row: F from the inverse flattening (or given), B from
// A and F, both rounded to 15 decimals with halves to even.
QString KoordSysRow(const QString& system, const QString& ellipsoid, double a, double f,
                    const QString& flatteningText, double m, const QString& remark) {
  const double b = RoundHalfEven((1.0 - f) * a, 15);
  QStringList cells{system,           ellipsoid,    NumberText(a), NumberText(b),
                    flatteningText,   NumberText(f), NumberText(m)};
  if (!remark.isEmpty()) cells.append(remark);
  return cells.join(QLatin1Char('\t'));
}

QString InverseFlatteningRow(const QString& system, const QString& ellipsoid, double a,
                             double inverseFlattening, double m, const QString& remark) {
  const double f = RoundHalfEven(1.0 / inverseFlattening, 15);
  return KoordSysRow(system, ellipsoid, a, f, QStringLiteral("1 / ") + NumberText(inverseFlattening),
                     m, remark);
}

}  // namespace

QList<SystemTableColumn> SystemTableColumns(SystemTable table) {
  switch (table) {
    case SystemTable::KoordSys: {
      auto cols = Plain({"Systemname", "Ellipsoidname", "A", "B", "sF", "F", "M", "Bemerkung"});
      cols.last().widthTwips = 1500;
      return cols;
    }
    case SystemTable::TrafoSys:
      return {{"Name", "Name", 1200},
              {"Datum", "Zuletzt geändert", 1200},
              {"EllipsoidA", "Ellipsoid A", 1200},
              {"EllipsoidB", "Ellipsoid B", 1200},
              {"Höhenmodus", "Höhenmodus", 1200},
              {"Modell", "Modell", 1200},
              {"dx", "dx", 1200},
              {"dy", "dy", 1200},
              {"dz", "dz", 1200},
              {"Rx", "Rx", 1200},
              {"Ry", "Ry", 1200},
              {"Rz", "Rz", 1200},
              {"MF", "MF", 1200},
              {"x0", "x0", 1200},
              {"y0", "y0", 1200},
              {"z0", "z0", 1200}};
    case SystemTable::NTv2Sys:
      return {{"Name", "Name", 1200},
              {"Trafosatz", "Trafosatz", 1200},
              {"Startsystem", "Startsystem", 1200},
              {"Zielsystem", "Zielsystem", 1200},
              {"EllipsoidA", "Ellipsoid A", 1200},
              {"EllipsoidB", "Ellipsoid B", 1200},
              {"Geltungsbereich", "Geltungsbereich", 3000},
              {"Lizenz", "Datenlizenz und Informationen", 3000}};
    case SystemTable::Geoidmodell:
      return {{"Name", "Name", 1200},
              {"Quasigeoidmodell", "Quasigeoidmodell-Datei", 1200},
              {"Geoid-App", "App-Name", 1200},
              {"Geoid-Name", "App-Geoidname", 1200},
              {"Geltungsbereich", "Geltungsbereich", 3000},
              {"Lizenz", "Datenlizenz und Informationen", 3000}};
  }
  return {};
}

QStringList KoordSysRows() {
  const double wgs84Flattening = 0.00335281066474;
  return {
      InverseFlatteningRow("ETRS89", "GRS1980", 6378137, 298.25722210088, 0.9996, {}),
      InverseFlatteningRow("GK42/83", "Krassowski", 6378245, 298.3, 1, {}),
      InverseFlatteningRow("RD40/83", "Bessel", 6377397.15507605, 299.152812853405, 1,
                           QStringLiteral("RD40/83 = PD83")),
      KoordSysRow("WGS1984", "WGS1984", 6378137, wgs84Flattening, NumberText(wgs84Flattening),
                  0.9996, {}),
  };
}

QString SystemTableBaseName(SystemTable table) {
  switch (table) {
    case SystemTable::TrafoSys: return QStringLiteral("sys_7Parameter");
    case SystemTable::NTv2Sys: return QStringLiteral("sys_NTv2");
    case SystemTable::Geoidmodell: return QStringLiteral("Quasigeoidmodell");
    case SystemTable::KoordSys: break;
  }
  return {};
}

QString MissingTableFileMessage(SystemTable table, const QString& databaseFolder) {
  switch (table) {
    case SystemTable::TrafoSys:
      return QStringLiteral("Transformationsdaten '") + databaseFolder +
             QStringLiteral("sys_7Parameter.dat' fehlen!");
    case SystemTable::NTv2Sys:
      return QStringLiteral("Transformationsdaten ") + databaseFolder +
             QStringLiteral("sys_NTv2.dat fehlen!");
    case SystemTable::Geoidmodell:
      return QStringLiteral("Transformationsdaten ") + databaseFolder +
             QStringLiteral("Quasigeoidmodell.dat fehlen!");
    case SystemTable::KoordSys: break;
  }
  return {};
}

QString TableFileLineToRow(const QString& line, bool* hadTab) {
  QString row = line;
  if (hadTab) *hadTab = row.contains(QLatin1Char('\t'));
  row.replace(QLatin1Char('\t'), QLatin1Char(' '));
  row.replace(QLatin1Char(';'), QLatin1Char('\t'));
  return row;
}

QString TableSaveErrorMessage(const QString& failure) {
  return failure.isEmpty() ? kTableSaveErrorMessage : kTableSaveErrorMessage + QStringLiteral("\n\n") + failure;
}

QString TableRowToFileLine(const QStringList& cells) {
  QString line;
  for (int i = 0; i < cells.size(); ++i) {
    if (i > 0) line += QLatin1Char(';');
    QString cell = cells.at(i);
    for (QChar& c : cell)
      if (c == QLatin1Char(';') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
        c = QLatin1Char(' ');
    line += cell;
  }
  return line;
}

QString TabsInTableFileMessage(const QString& path, const QList<int>& lineNumbers) {
  QStringList numbers;
  for (int n : lineNumbers) numbers << QString::number(n);
  return QStringLiteral("In der Datei ") + path +
         QStringLiteral(" wurden Tabulatorzeichen innerhalb eines Feldes als Leerzeichen gelesen (Zeile ") +
         numbers.join(QStringLiteral(", ")) + QStringLiteral(").");
}

int FittedColumnWidth(double captionWidthTwips) {
  const int w = static_cast<int>(std::nearbyint(captionWidthTwips * 1.2));
  return w < 500 ? 500 : w;
}

}  // namespace orv
