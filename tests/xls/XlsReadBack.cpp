#include "XlsReadBack.h"

#include <QFileInfo>
#include <QProcess>

namespace orv::test {

namespace {

QString unescape(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != QLatin1Char('\\') || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const QChar c = s[++i];
        out += c == QLatin1Char('t') ? QChar('\t') : c == QLatin1Char('n') ? QChar('\n')
             : c == QLatin1Char('r') ? QChar('\r') : c;
    }
    return out;
}

// The distribution's interpreter carries python3-xlrd; one found earlier on
// PATH may be a private installation without it.
QString python()
{
    return QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                 : QStringLiteral("python3");
}

} // namespace

ReadWorkbook readWorkbook(const QString& path)
{
    ReadWorkbook book;
    QProcess p;
    p.start(python(), {QStringLiteral(ORV_TEST_DATA_DIR "/xls/dump_xls.py"), path});
    if (!p.waitForFinished(120000)) {
        book.complaints = QStringLiteral("reader did not finish: ") + p.errorString();
        return book;
    }
    book.complaints = QString::fromUtf8(p.readAllStandardError());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return book;
    book.readable = true;
    const QList<QByteArray> lines = p.readAllStandardOutput().split('\n');
    for (const QByteArray& raw : lines) {
        if (raw.isEmpty())
            continue;
        const QStringList f = QString::fromUtf8(raw).split(QLatin1Char('\t'));
        if (f[0] == QLatin1String("S") && f.size() == 4) {
            book.sheets.append({unescape(f[1]), f[2].toInt(), f[3].toInt(), {}, {}});
        } else if (f[0] == QLatin1String("R") && !book.sheets.isEmpty()) {
            QStringList cells;
            for (qsizetype i = 1; i < f.size(); ++i)
                cells << unescape(f[i]);
            book.sheets.last().cells.append(cells);
        } else if (f[0] == QLatin1String("N") && f.size() == 5 && !book.sheets.isEmpty()) {
            book.sheets.last().numbers.insert({f[1].toInt(), f[2].toInt()}, {f[3].toDouble(), unescape(f[4])});
        }
    }
    return book;
}

} // namespace orv::test
