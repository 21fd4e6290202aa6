#include "io/HeightEntry.h"

#include <cmath>

#include "foundation/DialogService.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"

namespace orv {

namespace {

// True when the whole text is a finite number ("." as decimal point).
bool IsWholeNumber(const QString& text) {
  try {
    return std::isfinite(ToDoubleStrict(text));
  } catch (const OrvenilError&) {
    return false;
  }
}

}  // namespace

bool ReadTypedHeight(const QString& typed, const QString& caption, const QString& example, const QString& title,
                     QString& height) {
  const QString text = typed.trimmed();
  if (text.isEmpty() || IsWholeNumber(text)) {
    height = text;
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
