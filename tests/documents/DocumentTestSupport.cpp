#include "DocumentTestSupport.h"

#include <QFile>
#include <QProcess>

namespace orv::testing {

ToolResult RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  ToolResult r;
  if (!p.waitForStarted(10000)) return r;
  p.closeWriteChannel();
  p.waitForFinished(60000);
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = p.readAllStandardOutput();
  r.err = p.readAllStandardError();
  return r;
}

std::vector<QByteArray> ContentStreams(const QByteArray& pdf) {
  std::vector<QByteArray> streams;
  qsizetype from = 0;
  for (;;) {
    const qsizetype s = pdf.indexOf("stream\r\n", from);
    if (s < 0) break;
    const qsizetype start = s + 8;
    const qsizetype e = pdf.indexOf("endstream", start);
    if (e < 0) break;
    streams.push_back(pdf.mid(start, e - start));
    from = e + 9;
  }
  return streams;
}

QString CheckCrossReference(const QByteArray& pdf) {
  const qsizetype sx = pdf.lastIndexOf("startxref\r");
  if (sx < 0) return QStringLiteral("no startxref");
  const qsizetype numEnd = pdf.indexOf('\r', sx + 10);
  const qsizetype xref = pdf.mid(sx + 10, numEnd - sx - 10).toLongLong();
  if (pdf.mid(xref, 5) != "xref\r") return QStringLiteral("startxref does not point at xref");
  const qsizetype subEnd = pdf.indexOf('\r', xref + 5);
  const QList<QByteArray> sub = pdf.mid(xref + 5, subEnd - xref - 5).split(' ');
  if (sub.size() != 2 || sub[0] != "0") return QStringLiteral("bad subsection line");
  const int count = sub[1].toInt();
  qsizetype p = subEnd + 1;
  for (int n = 0; n < count; ++n, p += 20) {
    const QByteArray entry = pdf.mid(p, 20);
    if (entry.size() != 20 || entry[18] != ' ' || entry[19] != '\r')
      return QStringLiteral("entry %1 is not 20 bytes").arg(n);
    if (n == 0) {
      if (entry != "0000000000 65535 f \r") return QStringLiteral("bad free entry");
      continue;
    }
    const qsizetype offset = entry.left(10).toLongLong();
    const QByteArray head = QByteArray::number(n) + " 0 obj\r";
    if (pdf.mid(offset, head.size()) != head) return QStringLiteral("object %1 not at its offset").arg(n);
  }
  if (pdf.mid(p, 8) != "trailer\r") return QStringLiteral("no trailer after the entries");
  return QString();
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

}  // namespace orv::testing
