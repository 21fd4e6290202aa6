#pragma once
// The number format of this process. The program formats every number with
// "." itself; the switch only makes sure that the process's own locale does
// the same while it runs. System settings are never touched.
#include <QDateTime>
#include <QString>
#include <functional>

namespace orv {

// Makes the process's number formatting use the given separators: "." selects
// a point locale, "," restores the locale the process started with. Returns
// True when the separators are in effect afterwards. useSystemLocale is kept
// for the callers' sake; only this process is affected either way.
bool SetNumberSeparators(const QString& decimalSeparator, const QString& thousandsSeparator,
                         bool useSystemLocale);

// The probe: how the current locale prints the number 1.1.
using SeparatorProbe = std::function<QString()>;
// Replaces the probe (tests); an empty function restores the real one.
void SetSeparatorProbe(SeparatorProbe probe);
// The real probe: 1.1 printed by the process's default locale.
QString ProbeNumberText();
// The decimal separator of the desktop's own number settings: "," when the
// locale the process started with (the probe, where replaced) prints 1.1 as
// "1,1", "." otherwise. The switch above does not change it.
QString DesktopDecimalSeparator();

// The start-up check: on the first call, when 1.1 prints as "1,1" the
// separators are switched to "." and " ", the user is told, and the result
// "unchanged" becomes False (True otherwise). Every call then probes again and
// switches (with the message) once more when it still prints "1,1".
void CheckDecimalSeparator();
// True when the start-up check left the separators alone (`TrennzeichenUnveraendert`).
bool SeparatorsUnchanged();
void SetSeparatorsUnchanged(bool unchanged);
// Forgets that the check has run and restores the start locale (tests).
void ResetLocaleSwitch();

// The message and title of the switch.
QString SeparatorSwitchedMessage();
QString SeparatorSwitchTitle();

// Date and time digits, day month year hours minutes seconds: "08122026191903".
QString TimeStampString();
QString TimeStampString(const QDateTime& at);

}  // namespace orv
