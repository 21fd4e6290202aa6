#include "io/ExportJob.h"

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/Windows1252.h"
#include "platform/db/ForwardQuery.h"
#include "shell/CoordinateDatabase.h"

namespace orv {

QStringList ExportColumnNames(const QString& columnList) {
  const QStringList& fields = DatenColumnNames();
  QStringList names;
  if (columnList.isEmpty()) return names;
  for (const QString& entry : columnList.split(QLatin1Char(','))) {
    const double n = Val(entry);
    names << (n >= 1 && n <= fields.size() ? fields.at(static_cast<int>(n) - 1) : QString());
  }
  return names;
}

bool IsCoordinateField(const QString& name) {
  static const QStringList fields{"sYe",   "sXe",   "sXz",      "sYz",      "sZz",   "sBg",  "sLg",
                                  "BgDez", "LgDez", "BgDezSek", "LgDezSek", "radBg", "radLg"};
  const QString base = name.endsWith(QLatin1String("Ziel")) ? name.chopped(4) : name;
  return fields.contains(base);
}

MissingCoordinates::MissingCoordinates(const QStringList& names) {
  for (int c = 0; c < names.size(); ++c)
    if (IsCoordinateField(names.at(c))) columns_.push_back(c);
}

namespace {
bool IsMissing(QByteArrayView value) { return value.isEmpty() || value == QByteArrayView("Fehler"); }
}  // namespace

bool MissingCoordinates::complete(const ForwardQuery& query) {
  int missing = 0;
  for (int c : columns_) missing += IsMissing(query.utf8(c)) ? 1 : 0;
  count_ += missing;
  return missing == 0;
}

bool MissingCoordinates::complete(const std::vector<QByteArrayView>& values) {
  int missing = 0;
  for (int c : columns_) missing += IsMissing(values[static_cast<size_t>(c)]) ? 1 : 0;
  count_ += missing;
  return missing == 0;
}

QString ExportSelectList(const QStringList& names) {
  QStringList parts;
  for (const QString& name : names)
    parts << (name.isEmpty() ? QStringLiteral("NULL") : QLatin1Char('"') + name + QLatin1Char('"'));
  return parts.isEmpty() ? QStringLiteral("NULL") : parts.join(QLatin1Char(','));
}

namespace {
constexpr qsizetype kFlushSize = 1 << 18;
}

ExportOutput::ExportOutput(const QString& path) {
  if (!file_.openFor(path))
    throw OrvenilError(kErrPathFileAccess, QStringLiteral("Die Datei ") + path +
                                               QStringLiteral(" kann nicht angelegt werden: ") +
                                               file_.lastError());
  buffer_.reserve(kFlushSize + 4096);
}

void ExportOutput::writeLine(QStringView text) {
  AppendWindows1252(buffer_, text);
  buffer_.append("\r\n", 2);
  if (buffer_.size() >= kFlushSize) flush();
}

void ExportOutput::writeEncodedLine(QByteArrayView bytes) {
  buffer_.append(bytes.data(), bytes.size());
  buffer_.append("\r\n", 2);
  if (buffer_.size() >= kFlushSize) flush();
}

void ExportOutput::flush() {
  if (file_.write(buffer_) != buffer_.size()) fail();
  buffer_.resize(0);
}

void ExportOutput::close() {
  flush();
  if (!file_.commit()) fail();
}

void ExportOutput::fail() {
  const QString why = file_.lastError();
  file_.cancelWriting();
  throw OrvenilError(kErrDeviceIoError, QStringLiteral("Die Datei ") + file_.target() +
                                            QStringLiteral(" konnte nicht geschrieben werden: ") + why);
}

int DatenRecordCount(const Database& db) {
  ForwardQuery q(db, QStringLiteral("SELECT COUNT(*) FROM Daten"));
  return q.next() ? q.text(0).toInt() : 0;
}

}  // namespace orv
