#include "platform/ui/ContainerControls.h"

#include <QFrame>
#include <QLabel>
#include <QWidget>

#include "foundation/OrvenilError.h"

namespace orv {

namespace {
// Labels and plain lines only show text or draw: they are never switched, so
// a locked panel keeps its captions readable.
bool IsWindowlessControl(const QWidget* w) {
  if (qobject_cast<const QLabel*>(w)) return true;
  if (const auto* f = qobject_cast<const QFrame*>(w)) {
    const auto shape = f->frameShape();
    if (f->metaObject() == &QFrame::staticMetaObject && (shape == QFrame::HLine || shape == QFrame::VLine))
      return true;
  }
  return false;
}
}  // namespace

void EnableContainerControls(QWidget* container, bool enabled) {
  if (!container)
    throw OrvenilError(91, QStringLiteral("Objektvariable oder With-Blockvariable nicht festgelegt"));
  const auto children = container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* w : children) {
    if (w->isWindow() || IsWindowlessControl(w)) continue;
    w->setEnabled(enabled);
  }
}

}  // namespace orv
