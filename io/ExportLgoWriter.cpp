#include "io/ExportLgoWriter.h"

#include "foundation/TextTokens.h"
#include "io/ColumnLine.h"
#include "platform/db/ForwardQuery.h"

namespace orv {

namespace {

const QString kPresetEtrs89 = QStringLiteral("Eingabe LGO ETRS89");
const QString kPresetGeodetic = QStringLiteral("Eingabe LGO Geodetic");

// Degree, minute and second signs become blanks.
QString AngleWithBlanks(QString angle) {
  return angle.replace(QChar(0x00B0), QLatin1Char(' '))
      .replace(QLatin1Char('\''), QLatin1Char(' '))
      .replace(QLatin1Char('"'), QLatin1Char(' '));
}

}  // namespace

void WriteLgoFile(const ExportJob& job) {
  const bool etrs89 = job.preset == kPresetEtrs89;
  const bool geodetic = job.preset == kPresetGeodetic;
  ExportOutput out(job.path);
  if (etrs89 || geodetic) {
    out.writeLine(QStringLiteral("@%Unit:                m"));
    out.writeLine(etrs89 ? QStringLiteral("@%Coordinate type:     Grid")
                         : QStringLiteral("@%Coordinate type:     Geodetic"));
    out.writeLine(QStringLiteral("@%Reference ellipsoid: WGS 1984"));
    if (etrs89) out.writeLine(QStringLiteral("@%Projection set:      UTM 33"));
  }
  const QStringList names = ExportColumnNames(job.columnList);
  const int total = DatenRecordCount(job.db);
  ForwardQuery query(job.db, QStringLiteral("SELECT ") + ExportSelectList(names) +
                                 QStringLiteral(" FROM Daten ORDER BY rowid"));
  const QString blank = QStringLiteral(" ");
  ColumnLine line;
  int record = 0;
  while (query.next()) {
    job.report(++record, total);
    if (!etrs89 && !geodetic) continue;
    QStringList values;
    for (int c = 0; c < names.size(); ++c) values << TrimBlanks(query.text(c));
    const QString joined = TrimBlanks(values.join(blank));
    if (joined.isEmpty()) continue;
    const QString t1 = GetToken(joined, 1, blank), t2 = GetToken(joined, 2, blank);
    const QString t3 = GetToken(joined, 3, blank), t4 = GetToken(joined, 4, blank);
    line.clear();
    line.place(1, QStringLiteral("@#") + t1);
    if (etrs89) {
      line.place(23, t2.mid(1));  // without the zone code digit
      line.place(37, t3);
      line.place(60, t4);
      line.place(77, QStringLiteral("33"));
    } else {
      line.place(20, AngleWithBlanks(t2));
      line.place(36, QStringLiteral("N"));
      line.place(39, AngleWithBlanks(t3));
      line.place(55, QStringLiteral("E"));
      line.place(60, t4);
      line.place(77, QStringLiteral("22"));
    }
    out.writeLine(line.text());
  }
  out.close();
}

}  // namespace orv
