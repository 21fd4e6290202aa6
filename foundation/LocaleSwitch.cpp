#include "foundation/LocaleSwitch.h"

#include <QLocale>
#include <optional>

#include "foundation/DialogService.h"

namespace orv {

namespace {
SeparatorProbe g_probe;
bool g_checkRan = false;
bool g_separatorsUnchanged = false;  // `TrennzeichenUnveraendert`
std::optional<QLocale> g_startLocale;

QString Probe() { return g_probe ? g_probe() : ProbeNumberText(); }

void SwitchAndTell() {
  SetNumberSeparators(QStringLiteral("."), QStringLiteral(" "), true);
  Dialogs().messageBox(SeparatorSwitchedMessage(), MsgButtons::Ok, MsgIcon::Exclamation,
                       SeparatorSwitchTitle());
}
}  // namespace

QString SeparatorSwitchedMessage() {
  return QStringLiteral("Das Dezimaltrennzeichen wurde von 'Komma' nach 'Punkt' geändert!   ");
}

QString SeparatorSwitchTitle() {
  return QStringLiteral("Orvenil Ländereinstellung - Dezimaltrennzeichen");
}

QString ProbeNumberText() { return QLocale().toString(1.1); }

QString DesktopDecimalSeparator() {
  const QString text = g_probe ? g_probe() : (g_startLocale ? *g_startLocale : QLocale()).toString(1.1);
  return text == QStringLiteral("1,1") ? QStringLiteral(",") : QStringLiteral(".");
}

void SetSeparatorProbe(SeparatorProbe probe) { g_probe = std::move(probe); }

bool SetNumberSeparators(const QString& decimalSeparator, const QString& thousandsSeparator,
                         bool /*useSystemLocale*/) {
  if (!g_startLocale) g_startLocale = QLocale();
  if (decimalSeparator == QStringLiteral(".")) {
    // The C locale prints a point and, with group separators omitted, nothing
    // between the thousands, which is what " " stood for.
    QLocale point = QLocale::c();
    point.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(point);
  } else if (decimalSeparator == QStringLiteral(",")) {
    QLocale::setDefault(*g_startLocale);
  } else {
    return false;
  }
  Q_UNUSED(thousandsSeparator);
  return QLocale().decimalPoint() == decimalSeparator;
}

void CheckDecimalSeparator() {
  if (!g_checkRan) {
    if (Probe() == QStringLiteral("1,1")) {
      SwitchAndTell();
      g_separatorsUnchanged = false;
    } else {
      g_separatorsUnchanged = true;
    }
    g_checkRan = true;
  }
  if (Probe() == QStringLiteral("1,1")) SwitchAndTell();
}

bool SeparatorsUnchanged() { return g_separatorsUnchanged; }
void SetSeparatorsUnchanged(bool unchanged) { g_separatorsUnchanged = unchanged; }

void ResetLocaleSwitch() {
  g_checkRan = false;
  g_separatorsUnchanged = false;
  if (g_startLocale) QLocale::setDefault(*g_startLocale);
  g_startLocale.reset();
}

QString TimeStampString() { return TimeStampString(QDateTime::currentDateTime()); }

QString TimeStampString(const QDateTime& at) {
  // Built from fixed digit patterns so that no locale format (12-hour clock,
  // AM/PM markers, separators) ever reaches a file name.
  return at.toString(QStringLiteral("ddMMyyyyHHmmss"));
}

}  // namespace orv
