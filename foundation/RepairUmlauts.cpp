#include "foundation/RepairUmlauts.h"

#include <array>

namespace orv {

namespace {

struct Repair {
  const char16_t* from;
  const char16_t* to;
};

// Applied in this order, each over the whole text, so every step sees the
// result of the earlier ones. The UTF-8 "Ä" (U+00C3 U+201E) is repaired before
// the lone DOS "ä" (U+201E): the other way round its second half would turn
// into "ä" first and the pair would never be recognised.
constexpr std::array<Repair, 26> kRepairs{{
    {u"\u017D", u"Ä"},  // DOS 0x8E
    {u"\u0161", u"Ü"},  // DOS 0x9A
    {u"\u2122", u"Ö"},  // DOS 0x99
    {u"\u00C3\u201E", u"Ä"},  // UTF-8 of Ä
    {u"\u201E", u"ä"},  // DOS 0x84
    {u"\u0081", u"ü"},  // DOS 0x81
    {u"\u201D", u"ö"},  // DOS 0x94
    {u"\u00E1", u"ß"},  // DOS 0xE1
    {u"{", u"ä"},       // ISO 646 German
    {u"|", u"ö"},
    {u"}", u"ü"},
    {u"~", u"ß"},
    {u"\u001A", u""},   // end-of-file character
    {u"\u00C3\u00A4", u"ä"},  // UTF-8 read as Windows-1252
    {u"\u00C3\u2013", u"Ö"},
    {u"\u00C3\u00B6", u"ö"},
    {u"\u00C3\u0153", u"Ü"},
    {u"\u00C3\u00BC", u"ü"},
    {u"\u00C3\u0178", u"ß"},
    {u"\u00C3\u00A1", u"á"},
    {u"\u00C3\u00A9", u"é"},
    {u"\u00C3\u00A8", u"è"},
    {u"\u00E2\u20AC\u017E", u"\""},      // UTF-8 of U+201E
    {u"\u00E2\u20AC\u201C", u"\u2013"},  // UTF-8 of the en dash
    {u"\u00E2\u20AC\u0153", u"\""},      // UTF-8 of U+201C
    {u"\u00C3\u00B4", u"ô"},
}};

}  // namespace

QString RepairUmlauts(QString& text) {
  for (const Repair& r : kRepairs)
    text.replace(QString::fromUtf16(r.from), QString::fromUtf16(r.to), Qt::CaseSensitive);
  return text;
}

}  // namespace orv
