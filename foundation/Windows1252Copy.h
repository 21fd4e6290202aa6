#pragma once
// Copies a text file into the form the program reads: Windows-1252 with CR LF
// line ends. A UTF-8 file (every byte sequence valid UTF-8, at least one
// character beyond ASCII) is decoded as UTF-8, a byte-order mark dropped, and
// so is a UTF-16 file that begins with its byte-order mark; any
// other file is taken as Windows-1252, its German letters written in other
// code pages repaired (RepairUmlauts). Unless the file already holds a CR LF,
// every LF becomes CR LF and a pair of CRs inside a line one CR.
#include <QString>

#include "foundation/FileIdentity.h"

namespace orv {

struct Windows1252Copy {
  enum class Outcome {
    NotNeeded,    // a Windows-1252 file with CR LF line ends: no copy
    Written,      // the copy is at the target
    Failed,       // a file could not be read or written; no copy
    Unencodable,  // a UTF-8 character without a Windows-1252 form; no copy
    Changed,      // the source was cut or written anew while it was copied; no copy
  };
  Outcome outcome = Outcome::Failed;
  long line = 0;      // Unencodable: line (from 1) of the first such character
  QString character;  // and the character
  bool utf8 = false;  // the source is UTF-8 or UTF-16 text: read as it is, its letters would be wrong
  bool utf16 = false;  // the source is UTF-16 with a byte-order mark
  QString writeError;  // Failed while writing the copy: why
  // The file to read from now on, as this first read found it: the source
  // (taken before its first byte was read) when no copy is needed, the copy
  // when one was written.
  FileIdentity readIdentity;
};

// Reads source in blocks of 1,000,000 bytes, letting window events through
// between them; an existing file at target is replaced.
Windows1252Copy CopyAsWindows1252CrLf(const QString& source, const QString& target);

}  // namespace orv
