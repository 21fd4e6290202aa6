#pragma once
// Repairs German letters of a text that was read as Windows-1252 although it
// was written in a DOS code page (437/850), in the German 7-bit variant of
// ISO 646 or in UTF-8.
#include <QString>

namespace orv {

// Applies the repairs to text in place and returns the result.
QString RepairUmlauts(QString& text);

}  // namespace orv
