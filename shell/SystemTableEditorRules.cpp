#include "shell/SystemTableEditorRules.h"

#include <QStringList>

#include "foundation/TextTokens.h"

namespace orv {

QString DeleteRowsQuestion(int row, int selectedCount) {
  if (row != 0) return QString::number(row) + QStringLiteral(". Datensatz löschen?");
  return QStringLiteral("Achtung!\r\nEs sind ") + QString::number(selectedCount) +
         QStringLiteral(" Datensätze selektiert.\r\n\r\nAlle selektierten Datenzeilen löschen?   ");
}

Ntv2SystemName MapNtv2SystemName(const QString& headerValue) {
  static const QStringList gk{"GK-83", "42/83", "GK83", "GK42/83", "S4283"};
  static const QStringList rd{"RD-83", "40/83", "PD83", "PD-83", "RD83", "RD40/83", "DHDN90", "DHDN"};
  const QString value = TrimBlanks(headerValue);
  if (gk.contains(value)) return {QStringLiteral("GK42/83"), QStringLiteral("Krassowski")};
  if (rd.contains(value)) return {QStringLiteral("RD83"), QStringLiteral("Bessel")};
  if (value == QLatin1String("ETRS89")) return {QStringLiteral("ETRS89"), QStringLiteral("GRS1980")};
  return {value, QString()};
}

}  // namespace orv
