#pragma once
// Times of day in the logger files: text to seconds and back.
#include <QString>

namespace orv {

// Seconds from "h<sep>m<sep>s": each field read as Val reads it (a decimal
// comma is accepted), a missing field as 0. "12:30:15,5" gives 45015.5.
double HmsToSeconds(const QString& text, const QString& sep);

// "hh:nn:ss" (seconds truncated), "hhnnsss" (tenths of seconds rounded, three
// digits) or, for any other format, "h:nn:ss.s". The seconds are rounded on
// their own, without carry into the minutes (59.96 s gives "0:00:60.0").
QString FormatSecondsAsTime(double seconds, const QString& format);

}  // namespace orv
