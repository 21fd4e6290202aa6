#include "io/ExportFileChoice.h"

#include "foundation/TextTokens.h"

namespace orv {

QString ExportFilterString() {
  return QStringLiteral(
      "ASCII (*.*)|*.*|ASCII-TAB (*.*)|*.*|Excel (*.xls)|*.xls|Excel (*.csv)|*.csv|"
      "Kalkschiff Brisa (*.csv)|*.csv|LGO (*.asc)|*.asc|Mikrokopter WPL (*.wpl)|*.wpl|Geograf (*.in)|*.in|");
}

int ExportFilterForPreset(const QString& preset) {
  if (preset == QStringLiteral("Eingabe Mikrokopter aus Startsystem") ||
      preset == QStringLiteral("Eingabe Mikrokopter aus Zielsystem"))
    return kExportWaypoints;
  if (preset == QStringLiteral("Ziel Kalkschiff Brisa")) return kExportVessel;
  if (preset == QStringLiteral("Eingabe LGO ETRS89") || preset == QStringLiteral("Eingabe LGO Geodetic"))
    return kExportLgo;
  return kExportGeograf;
}

QString ExportExtension(int filterIndex) {
  switch (filterIndex) {
    case kExportAscii:
    case kExportAsciiTab: return QStringLiteral(".pkt");
    case kExportXls: return QStringLiteral(".xls");
    case kExportCsv:
    case kExportVessel: return QStringLiteral(".csv");
    case kExportLgo: return QStringLiteral(".asc");
    case kExportWaypoints: return QStringLiteral(".wpl");
    case kExportGeograf: return QStringLiteral(".in");
    default: return QString();
  }
}

QString ExportDefaultFileName(const QString& importFile) {
  return QStringLiteral("export_") + GetFileBaseName(importFile, QStringLiteral("/"), QStringLiteral("."));
}

QString ExportFileName(const QString& chosen, int filterIndex) {
  const QString extension = ExportExtension(filterIndex);
  if (chosen.endsWith(extension, Qt::CaseInsensitive)) return chosen;
  return chosen + extension;
}

}  // namespace orv
