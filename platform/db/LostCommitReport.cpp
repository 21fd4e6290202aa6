#include "platform/db/LostCommitReport.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QtGlobal>
#include <utility>

#include "foundation/DialogService.h"
#include "foundation/OrvenilError.h"

namespace orv {

namespace {

QStringList& Pending() {
  // Never destroyed: handles in static variables are dropped during exit.
  static auto* pending = new QStringList();
  return *pending;
}

}  // namespace

void NoteLostCommit(const QString& path, const std::exception& error) {
  const auto* own = dynamic_cast<const OrvenilError*>(&error);
  const QString description = own ? own->description() : QString::fromLocal8Bit(error.what());
  qWarning("Daten konnten nicht gespeichert werden: %s %s", qUtf8Printable(path), qUtf8Printable(description));
  const bool first = Pending().isEmpty();
  Pending() << (path.isEmpty() ? description : path + QStringLiteral(": ") + description);
  if (first && QCoreApplication::instance())
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { ReportLostCommits(); }, Qt::QueuedConnection);
}

QStringList PendingLostCommits() { return Pending(); }

bool ReportLostCommits() {
  if (Pending().isEmpty()) return false;
  const QStringList lost = std::exchange(Pending(), QStringList());
  Dialogs().messageBox(QStringLiteral("Daten konnten nicht gespeichert werden:\n") + lost.join(QLatin1Char('\n')),
                       MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Fehler"));
  return true;
}

}  // namespace orv
