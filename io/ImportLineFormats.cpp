#include "io/ImportLineFormats.h"

#include "foundation/NumberText.h"
#include "foundation/TextTokens.h"
#include "foundation/TimeText.h"

namespace orv {

namespace {

const QString kTab = QStringLiteral("\t");
constexpr double kSecondsPerDay = 86400.0;

// Two blanks become one until none follow each other; blanks trimmed.
void CollapseBlanks(QString& line) { line = TrimSpacesFast(line); }

void BlanksToTabsUnlessTabbed(QString& line) {
  if (!line.contains(u'\t')) line.replace(u' ', u'\t');
}

// Does the text begin with a number (after blanks)?
bool StartsWithNumber(const QString& text) {
  for (const QChar c : text) {
    if (c == u' ') continue;
    return c.isDigit() || c == u'-' || c == u'+' || c == u'.';
  }
  return false;
}

// "N" of a latitude, "E" or "O" of a longitude left out (a line of point,
// latitude and longitude holds the latitude where others hold the longitude).
QString WithoutHemisphereLetters(QString field) { return field.remove(u'N').remove(u'E').remove(u'O'); }

void NormaliseGeograf(QString& line) {
  CollapseBlanks(line);
  BlanksToTabsUnlessTabbed(line);
}

void NormaliseCsv(QString& line, ImportLineState& state) {
  line.remove(u'"');
  line = TrimBlanks(line);
  line.replace(u',', u'\t');
  line = TrimBlanks(line);
  CollapseBlanks(line);
  line.replace(QStringLiteral(" ;"), QStringLiteral(";"));
  line.replace(QStringLiteral("; "), QStringLiteral(";"));
  line.replace(u';', u'\t');
  line.replace(u' ', u'_');
  if (state.customCoords) line = GetToken(line, 1, kTab) + kTab + line;
}

void NormalisePblhTab(QString& line) {
  CollapseBlanks(line);
  BlanksToTabsUnlessTabbed(line);
  line = GetToken(line, 1, kTab) + kTab + line;
}

LineDecision NormaliseVesselA(QString& line) {
  line.replace(u';', u'\t');
  line = TrimBlanks(line);
  if (GetToken(line, 2, kTab) == QLatin1String("0") || GetToken(line, 3, kTab) == QLatin1String("0"))
    return LineDecision::SkipCounted;
  return LineDecision::Use;
}

LineDecision NormaliseVesselB(QString& line, ImportLineState& state, const QString& importFileName) {
  line.replace(u',', u'\t');
  line = TrimBlanks(line);
  const QString latitude = NumberText(Val(GetToken(line, 1, kTab)));
  const QString longitude = NumberText(Val(GetToken(line, 2, kTab)));
  if (line.startsWith(QLatin1String("Latitude"))) return LineDecision::Skip;
  if (latitude == QLatin1String("0") || longitude == QLatin1String("0")) return LineDecision::SkipCounted;

  ++state.vesselLines;
  const QString time = GetToken(GetToken(line, 7, kTab), 2, QStringLiteral("T"));
  const double seconds = HmsToSeconds(time, QStringLiteral(":"));
  if (state.vesselLines == 1) {
    state.firstSeconds = seconds;
    const QString sep = QStringLiteral("_");
    state.date = GetToken(importFileName, 2, sep).remove(u'-').mid(4);
    state.startSeconds = HmsToSeconds(GetToken(importFileName, 3, sep).replace(u'.', u':'), QStringLiteral(":"));
    QString track = TrimBlanks(GetToken(importFileName, 4, sep).remove(QStringLiteral("Track")));
    state.track = track.left(track.indexOf(u'.') < 0 ? track.size() : track.indexOf(u'.'));
  }
  // A track over midnight: a time of day before the first one is on the next day.
  double elapsed = seconds - state.firstSeconds;
  if (elapsed < 0) elapsed += kSecondsPerDay;
  const QString name = state.date + QStringLiteral("T") + state.track + QStringLiteral("-") +
                       FormatSecondsAsTime(state.startSeconds + elapsed, QStringLiteral("hhnnsss"));
  line = name + kTab + QStringLiteral("0") + kTab + latitude + kTab + longitude + kTab + GetToken(line, 3, kTab);
  return LineDecision::Use;
}

}  // namespace

QString LineForMessage(const QString& line) {
  constexpr qsizetype kShownCharacters = 300;
  if (line.size() <= kShownCharacters) return line;
  return line.left(kShownCharacters) + QChar(0x2026);
}

QString JoinAngleSigns(const QString& line) {
  QString s = line;
  s.replace(QStringLiteral("'' "), QStringLiteral("\" "));
  s.replace(QStringLiteral("° "), QStringLiteral("°"));
  s.replace(QStringLiteral("' "), QStringLiteral("'"));
  return s;
}

LineDecision NormaliseImportLine(QString& line, int filterIndex, ImportLineState& state,
                                 const QString& importFileName) {
  line = JoinAngleSigns(line);
  switch (filterIndex) {
    case 1:
    case 2:
    case 3:
    case 4:
      NormaliseGeograf(line);
      return LineDecision::Use;
    case 5: {
      NormaliseCsv(line, state);
      // A first line whose coordinate fields hold no numbers (column names,
      // most likely) is skipped, and counted so that the user hears of it.
      // The hemisphere letters of an angle go first, as the geographic
      // import removes them: N52.5 and E13.25 are numbers.
      const bool first = !state.csvLineSeen;
      state.csvLineSeen = true;
      const int offset = state.customCoords ? 1 : 0;
      if (first && !StartsWithNumber(WithoutHemisphereLetters(GetToken(line, 3 + offset, kTab))) &&
          !StartsWithNumber(WithoutHemisphereLetters(GetToken(line, 4 + offset, kTab))))
        return LineDecision::SkipCounted;
      return LineDecision::Use;
    }
    case 6:
      NormalisePblhTab(line);
      return LineDecision::Use;
    case kFilterVesselA:
      return NormaliseVesselA(line);
    case kFilterVesselB:
      return NormaliseVesselB(line, state, importFileName);
    default:
      return LineDecision::Use;
  }
}

}  // namespace orv
