#include "foundation/FileErrorReason.h"

#include <QDir>
#include <QStorageInfo>
#include <cerrno>
#include <cstring>

namespace orv {

QString SystemErrorReason(int errorNumber) {
  switch (errorNumber) {
    case ENOSPC: return QStringLiteral("Der Datenträger ist voll (kein Speicherplatz mehr frei)");
    case EDQUOT: return QStringLiteral("Das Speicherkontingent auf dem Datenträger ist erschöpft");
    case EFBIG: return QStringLiteral("Die Datei überschreitet die zulässige Dateigröße");
    case EACCES:
    case EPERM: return QStringLiteral("Zugriff verweigert (keine Schreibberechtigung)");
    case EROFS: return QStringLiteral("Der Datenträger ist schreibgeschützt");
    case ENOENT: return QStringLiteral("Der Ordner ist nicht vorhanden");
    case ENOTDIR: return QStringLiteral("Ein Teil des Pfades ist kein Ordner");
    case EISDIR: return QStringLiteral("Der Name bezeichnet einen Ordner");
    case ENAMETOOLONG: return QStringLiteral("Der Pfad oder Dateiname ist zu lang");
    case EIO: return QStringLiteral("Ein-/Ausgabefehler des Datenträgers");
    case EMFILE:
    case ENFILE: return QStringLiteral("Es sind zu viele Dateien geöffnet");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("Die Datei ist in Benutzung");
    default:
      return QString::fromLocal8Bit(std::strerror(errorNumber)) + QStringLiteral(" (Systemfehler ") +
             QString::number(errorNumber) + QStringLiteral(")");
  }
}

QString FileErrorReason(int errorNumber, const QFileDevice& file) {
  if (errorNumber != 0) return SystemErrorReason(errorNumber);
  const QString own = file.errorString();
  if (file.error() == QFileDevice::NoError || own.isEmpty()) return QStringLiteral("Der Grund ist nicht bekannt");
  return own;
}

QString FileNotWrittenMessage(const QString& path, const QString& reason) {
  return QStringLiteral("Die Datei ") + path + QStringLiteral(" konnte nicht geschrieben werden: ") + reason;
}

QString FullFolderText(const QString& folder) {
  return QStringLiteral("Der Datenträger ist voll: Im Ordner '") + folder +
         QStringLiteral("' ist kein Platz mehr frei.");
}

QString FullFolderTextWhenFull(const QString& folder, qint64 needed) {
  const QStorageInfo storage(folder);
  if (!storage.isValid() || storage.bytesAvailable() < 0 || storage.bytesAvailable() >= needed) return QString();
  return FullFolderText(QDir(folder).absolutePath());
}

QString SystemReadErrorReason(int errorNumber) {
  if (errorNumber == EACCES || errorNumber == EPERM) return QStringLiteral("Zugriff verweigert (keine Leseberechtigung)");
  return SystemErrorReason(errorNumber);
}

QString FileNotReadMessage(const QString& path, const QString& reason) {
  return QStringLiteral("Die Datei ") + path + QStringLiteral(" konnte nicht gelesen werden: ") + reason;
}

}  // namespace orv
