#include "shell/SystemTableEditorRules.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cstring>

#include "foundation/DatabaseFolderFile.h"
#include "foundation/RegularFile.h"
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

namespace {

// Whether two text files hold the same bytes once every CR is left out, so
// that a copy whose line ends were repaired equals its source. Read in
// blocks: grid files can be large.
bool SameTextApartFromLineEnds(const QString& pathA, const QString& pathB) {
  QFile a, b;
  if (!OpenRegularFile(a, pathA).isEmpty() || !OpenRegularFile(b, pathB).isEmpty()) return false;
  constexpr qint64 kBlock = 1 << 20;
  // Refills an empty buffer; false on a read error.
  const auto refill = [](QFile& file, QByteArray& buffer) {
    while (buffer.isEmpty() && !file.atEnd()) {
      buffer = file.read(kBlock);
      if (buffer.isEmpty()) return false;
      buffer.replace("\r", "");
    }
    return true;
  };
  QByteArray bufferA;
  QByteArray bufferB;
  for (;;) {
    if (!refill(a, bufferA) || !refill(b, bufferB)) return false;
    if (bufferA.isEmpty() || bufferB.isEmpty()) return bufferA.isEmpty() && bufferB.isEmpty();
    const qsizetype n = std::min(bufferA.size(), bufferB.size());
    if (std::memcmp(bufferA.constData(), bufferB.constData(), size_t(n)) != 0) return false;
    bufferA.remove(0, n);
    bufferB.remove(0, n);
  }
}

}  // namespace

QString Ntv2StoredFileName(const QString& databaseFolder, const QString& name, const QString& chosenPath) {
  const QFileInfo info(name);
  const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
  const QString base = name.left(name.size() - suffix.size());
  for (int n = 1;; ++n) {
    const QString candidate = n == 1 ? name : base + QLatin1Char('_') + QString::number(n) + suffix;
    const QString present = DatabaseFolderFile(databaseFolder, candidate);
    if (!QFileInfo(present).isFile()) return candidate;
    if (SameTextApartFromLineEnds(present, chosenPath)) return QFileInfo(present).fileName();
  }
}

}  // namespace orv
