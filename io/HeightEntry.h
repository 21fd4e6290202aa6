#pragma once
// A height the user types into a box (the flight height of the waypoint
// export, the approximate height of the start data): read whole, never as a
// part of it, so that no other height is used than the one typed.
#include <QString>

namespace orv {

// True with the trimmed text in height when the text is empty (the height 0)
// or a number as a whole (ReadTypedNumber); a decimal comma comes back as a
// point ("12,5" gives "12.5"). Otherwise the user is told
// that the named height (caption, e.g. "Flughöhe") is no number, in a message
// with the title given, and False comes back: the caller asks again.
bool ReadTypedHeight(const QString& typed, const QString& caption, const QString& example, const QString& title,
                     QString& height);

}  // namespace orv
