#include "shell/SkipFailingStep.h"

#include <QDebug>
#include <QString>

#include "foundation/OrvenilError.h"

namespace orv {

void LogSkippedStep(const char* stepName, const std::exception& error) {
  QString what = QString::fromUtf8(error.what());
  if (const auto* e = dynamic_cast<const OrvenilError*>(&error))
    what = QStringLiteral("Fehler %1: %2").arg(e->number()).arg(e->description());
  qWarning().noquote() << QStringLiteral("Schritt \"%1\" übersprungen: %2").arg(QString::fromUtf8(stepName), what);
}

}  // namespace orv
