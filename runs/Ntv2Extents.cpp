#include "runs/Ntv2Extents.h"

#include <QFileInfo>
#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/ReplacingFileSet.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextLineWriter.h"
#include "foundation/TextTokens.h"

namespace orv {

namespace {

struct SubGridExtent {
  QString name;
  double S = 0, N = 0, E = 0, W = 0, latInc = 0, lonInc = 0;
};

// A quotient within 1e-6 of a whole number is that number, so inexact
// header values do not cut a side one spacing short.
double Steps(double span, double spacing) {
  const double q = std::fabs(span) / spacing;
  return std::fabs(q - std::round(q)) <= 1e-6 ? std::round(q) : q;
}

class RingWriter {
 public:
  RingWriter(TextLineWriter& points, TextLineWriter& lines, const SubGridExtent& g, int block)
      : points_(points), lines_(lines), g_(g), block_(block) {}
  void point(double lat, double lon) {
    points_.writeLine(name(n_) + QLatin1Char(' ') + QString::number(block_) + QLatin1Char(' ') +
                      NumberText(lat) + QLatin1Char(' ') + NumberText(lon));
  }
  void joinNext() {
    lines_.writeLine(QStringLiteral("1 ( ") + name(n_) + QLatin1Char(' ') + name(n_ + 1) +
                     QStringLiteral(" )"));
    ++n_;
  }
  void close() {
    lines_.writeLine(QStringLiteral("1 ( ") + name(n_) + QLatin1Char(' ') + name(1) + QStringLiteral(" )"));
    ++n_;
  }

 private:
  QString name(int n) const { return g_.name + QString::number(n); }
  TextLineWriter& points_;
  TextLineWriter& lines_;
  const SubGridExtent& g_;
  int block_;
  int n_ = 1;
};

void WriteRing(TextLineWriter& points, TextLineWriter& lines, const SubGridExtent& g, int block) {
  const double S = std::fabs(g.S), N = std::fabs(g.N);
  const double qLat = Steps(S - N, g.latInc), qLon = Steps(g.E - g.W, g.lonInc);
  RingWriter ring(points, lines, g, block);
  for (int i = 0; i <= qLat; ++i) {  // west side, north to south
    ring.point(N - i * g.latInc, g.W);
    if (i < qLat) ring.joinNext();
  }
  for (int i = 0; i <= qLon; ++i) {  // south side, west to east
    ring.point(S, g.W + i * g.lonInc);
    if (i < qLon) ring.joinNext();
  }
  for (int i = 0; i <= qLat; ++i) {  // east side, south to north
    ring.point(S + i * g.latInc, g.E);
    if (i < qLat) ring.joinNext();
  }
  for (int i = 0; i <= qLon - 1; ++i) {  // north side, east to west, back to the start
    ring.point(N, g.E - i * g.lonInc);
    if (i < qLon - 1)
      ring.joinNext();
    else
      ring.close();
  }
}

}  // namespace

QString Ntv2ExtentPointPath(const QString& gridPath) {
  return gridPath + QStringLiteral("_umring_Breite-Länge_Dezimalsekunde.pcbl");
}

QString Ntv2ExtentLinePath(const QString& gridPath) {
  return gridPath + QStringLiteral("_umring_Linienverbindung.lne");
}

QStringList WriteNtv2Extents(const QString& gridPath,
                             const std::function<void(int line, int block)>& progress) {
  TextLineReader in(gridPath);
  if (!QFileInfo(gridPath).isFile() || !in.isOpen())
    throw OrvenilError(kErrFileNotFound,
                       QStringLiteral("Gitterdatei %1 fehlt oder ist nicht lesbar").arg(gridPath));
  // Both files are put in place together, or neither: a point file
  // beside the line file of an older run would not match it.
  ReplacingFileSet files({Ntv2ExtentPointPath(gridPath), Ntv2ExtentLinePath(gridPath)});
  TextLineWriter points(files, Ntv2ExtentPointPath(gridPath));
  TextLineWriter lines(files, Ntv2ExtentLinePath(gridPath));
  QStringList skipped;
  SubGridExtent g;
  int block = 0, lineNumber = 0;
  QString line;
  const auto next = [&] {
    const bool ok = in.readLine(line);
    if (ok && progress) progress(++lineNumber, block);
    return ok;
  };
  while (next()) {
    if (!line.contains(QLatin1String("SUB_NAME"))) continue;
    ++block;
    g.name = GetToken(line, 2, QStringLiteral("SUB_NAME"));
    for (int i = 0; i < 3 && next(); ++i) {}
    const struct {
      const char* key;
      double* value;
      bool absolute;
    } keys[] = {{"S_LAT", &g.S, false}, {"N_LAT", &g.N, false},       {"E_LONG", &g.E, true},
                {"W_LONG", &g.W, true}, {"LAT_INC", &g.latInc, true}, {"LONG_INC", &g.lonInc, true}};
    for (const auto& k : keys) {
      if (!next()) break;
      if (!line.contains(QLatin1String(k.key))) continue;
      const double v = Val(GetToken(line, 2, QLatin1String(k.key)));
      *k.value = k.absolute ? std::fabs(v) : v;
    }
    if (g.latInc == 0 || g.lonInc == 0) {
      skipped << g.name;
      continue;
    }
    WriteRing(points, lines, g, block);
  }
  points.close();
  lines.close();
  files.commit();
  return skipped;
}

}  // namespace orv
