#include "io/HeightEntry.h"

#include "foundation/DialogService.h"
#include "foundation/TypedNumber.h"

namespace orv {

bool ReadTypedHeight(const QString& typed, const QString& caption, const QString& example, const QString& title,
                     QString& height) {
  const QString text = typed.trimmed();
  double value = 0;
  if (text.isEmpty() || ReadTypedNumber(text, value)) {
    height = TypedNumberWithPoint(text);
    return true;
  }
  Dialogs().messageBox(QStringLiteral("Die ") + caption + QStringLiteral(" \"") + text +
                           QStringLiteral("\" ist keine Zahl!\nBitte die Höhe in Metern mit Dezimalpunkt eingeben, "
                                          "z. B. ") +
                           example + QStringLiteral(" oder 12.5.   "),
                       MsgButtons::Ok, MsgIcon::Exclamation, title);
  return false;
}

}  // namespace orv
