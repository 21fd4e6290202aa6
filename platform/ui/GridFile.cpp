#include "platform/ui/GridFile.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>

#include "foundation/FileErrorReason.h"
#include "foundation/RegularFile.h"

namespace orv {

namespace {
const QString kMagic = QStringLiteral("ORVENIL-GRID");

void SetError(QString* error, const QString& text) {
  if (error) *error = text;
}
}  // namespace

QString EscapeGridField(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '\\': out += QStringLiteral("\\\\"); break;
      case '\t': out += QStringLiteral("\\t"); break;
      case '\r': out += QStringLiteral("\\r"); break;
      case '\n': out += QStringLiteral("\\n"); break;
      default: out += c;
    }
  }
  return out;
}

QString UnescapeGridField(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c != QLatin1Char('\\') || i + 1 >= text.size()) {
      out += c;
      continue;
    }
    const QChar n = text.at(++i);
    switch (n.unicode()) {
      case 't': out += QLatin1Char('\t'); break;
      case 'r': out += QLatin1Char('\r'); break;
      case 'n': out += QLatin1Char('\n'); break;
      default: out += n;
    }
  }
  return out;
}

bool WriteGridFile(const QString& path, const QList<GridColumn>& columns, int rowCount,
                   const std::function<QStringList(int)>& rowAt, QString* error) {
  QSaveFile file(path);
  const auto failed = [&](int errorNumber) {
    SetError(error, FileNotWrittenMessage(path, FileErrorReason(errorNumber, file)));
    if (file.isOpen()) file.cancelWriting(), file.commit();
    return false;
  };
  errno = 0;
  if (!file.open(QIODevice::WriteOnly)) return failed(errno);
  QByteArray buffer;
  auto flush = [&]() {
    errno = 0;
    if (file.write(buffer) != buffer.size()) return false;
    buffer.clear();
    return true;
  };
  auto line = [&](const QString& text) {
    buffer += text.toUtf8();
    buffer += '\n';
    return buffer.size() < (1 << 20) || flush();
  };
  bool ok = line(kMagic + QLatin1Char('\t') + QString::number(kGridFileVersion)) &&
            line(QStringLiteral("columns\t") + QString::number(columns.size()));
  for (const GridColumn& c : columns) {
    if (!ok) break;
    ok = line(QStringLiteral("column\t") + EscapeGridField(c.key) + QLatin1Char('\t') +
              EscapeGridField(c.caption) + QLatin1Char('\t') + QString::number(c.widthTwips) +
              QLatin1Char('\t') + (c.visible ? QLatin1Char('1') : QLatin1Char('0')));
  }
  ok = ok && line(QStringLiteral("rows\t") + QString::number(rowCount));
  for (int r = 0; ok && r < rowCount; ++r) {
    QString text = QStringLiteral("row");
    const QStringList cells = rowAt(r);
    for (int i = 0; i < columns.size(); ++i) {
      text += QLatin1Char('\t');
      text += EscapeGridField(cells.value(i));
    }
    ok = line(text);
  }
  // The device's own buffer is written before the commit: a commit alone
  // would put the file in place even when that last write failed.
  ok = ok && line(QStringLiteral("end")) && flush() && (errno = 0, file.flush());
  if (!ok) return failed(errno);
  errno = 0;
  if (!file.commit()) return failed(errno);
  return true;
}

bool ReadGridFile(const QString& path, GridFileContent& content, QString* error, const QStringList* columnKeys) {
  QFile file;
  if (const QString refused = OpenRegularFile(file, path); !refused.isEmpty()) {
    SetError(error, FileNotReadMessage(path, refused));
    return false;
  }
  const QByteArray all = file.readAll();
  const QString text = QString::fromUtf8(all);
  const QStringList lines = text.split(QLatin1Char('\n'));
  int at = 0;
  auto next = [&](QStringList& fields) {
    if (at >= lines.size()) return false;
    QString l = lines.at(at++);
    if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
    fields = l.split(QLatin1Char('\t'));
    return true;
  };
  auto bad = [&](const QString& why) {
    SetError(error, QStringLiteral("%1 (Zeile %2): %3").arg(path).arg(at).arg(why));
    return false;
  };
  QStringList f;
  if (!next(f) || f.size() != 2 || f.at(0) != kMagic) return bad(QStringLiteral("keine Tabellendatei"));
  bool ok = false;
  const int version = f.at(1).toInt(&ok);
  if (!ok || version < 1 || version > kGridFileVersion) return bad(QStringLiteral("unbekannte Version"));
  if (!next(f) || f.size() != 2 || f.at(0) != QStringLiteral("columns")) return bad(QStringLiteral("Spalten fehlen"));
  const int columnCount = f.at(1).toInt(&ok);
  // A count is believed only as far as the file has lines for it: a damaged
  // count must not make the reader reserve room for rows that are not there.
  const auto linesLeft = [&] { return static_cast<qsizetype>(lines.size() - at); };
  if (!ok || columnCount < 0 || columnCount > linesLeft()) return bad(QStringLiteral("Spaltenzahl"));
  GridFileContent read;
  for (int i = 0; i < columnCount; ++i) {
    if (!next(f) || f.size() != 5 || f.at(0) != QStringLiteral("column")) return bad(QStringLiteral("Spalte"));
    GridColumn c;
    c.key = UnescapeGridField(f.at(1));
    c.caption = UnescapeGridField(f.at(2));
    c.widthTwips = f.at(3).toInt(&ok);
    if (!ok) return bad(QStringLiteral("Spaltenbreite"));
    c.visible = f.at(4) != QStringLiteral("0");
    read.columns << c;
  }
  if (columnKeys) {
    QStringList keys;
    for (const GridColumn& c : read.columns) keys << c.key;
    if (keys != *columnKeys) return bad(QStringLiteral("die Spalten sind nicht die dieser Tabelle"));
  }
  if (!next(f) || f.size() != 2 || f.at(0) != QStringLiteral("rows")) return bad(QStringLiteral("Zeilen fehlen"));
  const int rowCount = f.at(1).toInt(&ok);
  if (!ok || rowCount < 0 || rowCount > linesLeft()) return bad(QStringLiteral("Zeilenzahl"));
  read.rows.reserve(static_cast<size_t>(rowCount));
  for (int r = 0; r < rowCount; ++r) {
    if (!next(f) || f.size() != columnCount + 1 || f.at(0) != QStringLiteral("row"))
      return bad(QStringLiteral("Zeile unvollständig"));
    QStringList cells;
    cells.reserve(columnCount);
    for (int i = 1; i <= columnCount; ++i) cells << UnescapeGridField(f.at(i));
    read.rows.push_back(std::move(cells));
  }
  if (!next(f) || f.size() != 1 || f.at(0) != QStringLiteral("end")) return bad(QStringLiteral("Dateiende fehlt"));
  content = std::move(read);
  return true;
}

}  // namespace orv
