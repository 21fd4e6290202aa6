#include "io/ExportJob.h"

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
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

void UnreadableValues::add(QStringView point, QStringView value) {
  // The message names the first few; the count says how many there are.
  if (++count_ <= 10)
    named_ << QStringLiteral("Punkt ") + TrimBlanks(point.toString()) + QStringLiteral(": \"") +
                  value.toString() + QLatin1Char('"');
}

QString UnreadableValues::message() const {
  if (count_ == 0) return QString();
  QString text = QString::number(count_) +
                 QStringLiteral(
                     " Punkte mit Werten, die diese Datei nicht so aufnehmen kann, dass sie beim "
                     "Einlesen gleich bleiben (Leerzeichen, Trennzeichen, Winkelzeichen ' oder ° vor "
                     "einem Leerzeichen, ° neben verebneten oder geozentrischen Koordinaten oder Zeichen "
                     "außerhalb von Windows-1252):   \n") +
                 named_.join(QLatin1Char('\n'));
  if (count_ > named_.size()) text += QStringLiteral("\n...");
  return text + QStringLiteral("\nDie betroffenen Punkte wurden nicht exportiert!   ");
}

QString LeftOutMessage(int emptyCoordinates, const UnreadableValues& unreadable) {
  QStringList parts;
  if (emptyCoordinates > 0)
    parts << QString::number(emptyCoordinates) + QStringLiteral(" Koordinaten ohne gültigen Wert!   \n") +
                 QStringLiteral("Die betroffenen Punkte wurden nicht exportiert!   ");
  if (unreadable.count() > 0) parts << unreadable.message();
  return parts.join(QStringLiteral("\n\n"));
}

namespace {

// The system an ellipsoid's positions are given in, as the messages name it.
QString SystemOfEllipsoid(const QString& ellipsoid) {
  if (ellipsoid == QLatin1String("GRS1980")) return QStringLiteral("ETRS89 (GRS1980)");
  if (ellipsoid == QLatin1String("Krassowski")) return QStringLiteral("GK42/83 (Krassowski)");
  if (ellipsoid == QLatin1String("Bessel")) return QStringLiteral("RD83 (Bessel)");
  if (ellipsoid.isEmpty())
    return QStringLiteral("einem unbekannten System (keine abgeschlossene Transformation hat sie berechnet)");
  return ellipsoid;
}

}  // namespace

void RequirePositionsIn(const QString& ellipsoid, const QStringList& allowed, bool target,
                        const QString& file, const QString& transformTo) {
  if (!ellipsoid.isEmpty() && allowed.contains(ellipsoid)) return;
  QStringList systems;
  for (const QString& e : allowed) systems << SystemOfEllipsoid(e);
  throw OrvenilError(
      kErrInvalidProcedureCall,
      file + QStringLiteral(" nimmt nur Koordinaten in ") + systems.join(QStringLiteral(" oder ")) +
          QStringLiteral(" auf; die Koordinaten des ") +
          (target ? QStringLiteral("Zielsystems") : QStringLiteral("Startsystems")) +
          QStringLiteral(" liegen in ") + SystemOfEllipsoid(ellipsoid) +
          QStringLiteral("!\nBitte transformieren Sie die Punkte zuerst nach ") + transformTo +
          QStringLiteral("!\nDie Datei wird nicht geschrieben! Abbruch!   "));
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
