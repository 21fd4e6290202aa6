#include "XlsReadBack.h"

#include "platform/xls/XlsWriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using orv::XlsWriter;
using orv::test::ReadWorkbook;
using orv::test::readWorkbook;

namespace {

class XlsWriterTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // Writes the rows and reads the file back; the reader must not complain.
    ReadWorkbook roundTrip(const QList<QStringList>& rows, const QString& sheetName = QStringLiteral("Tabelle"))
    {
        XlsWriter w(sheetName);
        EXPECT_TRUE(w.open(path(QStringLiteral("out.xls")))) << w.errorText().toStdString();
        for (const QStringList& r : rows)
            w.writeRow(r);
        EXPECT_TRUE(w.close()) << w.errorText().toStdString();
        return readBack(path(QStringLiteral("out.xls")));
    }

    static ReadWorkbook readBack(const QString& file)
    {
        ReadWorkbook book = readWorkbook(file);
        EXPECT_TRUE(book.readable) << book.complaints.toStdString();
        EXPECT_TRUE(book.complaints.isEmpty()) << book.complaints.toStdString();
        return book;
    }

    // The rows as a reader shows them: every row as wide as the widest.
    static QList<QStringList> padded(QList<QStringList> rows)
    {
        qsizetype width = 0;
        for (const QStringList& r : rows)
            width = std::max(width, r.size());
        for (QStringList& r : rows)
            while (r.size() < width)
                r << QString();
        return rows;
    }

    QTemporaryDir dir;
};

TEST_F(XlsWriterTest, TextCellsSurviveWithUmlautsEmptyCellsAndUnicode)
{
    const QList<QStringList> rows = {
        {QStringLiteral("Punkt"), QStringLiteral("Höhe über NN"), QStringLiteral("Straße"), QStringLiteral("Code")},
        {QStringLiteral("  1001"), QStringLiteral("98.2500"), QString(), QStringLiteral("Grenzstein")},
        {QStringLiteral("  1002"), QString(), QStringLiteral("Ölmühlenweg"), QStringLiteral("Grenzstein")},
        {},
        {QStringLiteral("€ 5"), QStringLiteral("Ω\t2\r\nZeile"), QStringLiteral("0815"), QStringLiteral("1002")},
        {QStringLiteral("  1001")},
    };
    const ReadWorkbook book = roundTrip(rows);
    ASSERT_EQ(book.sheets.size(), 1);
    EXPECT_EQ(book.sheets[0].name, QStringLiteral("Tabelle"));
    EXPECT_EQ(book.sheets[0].rows, 6);
    EXPECT_EQ(book.sheets[0].columns, 4);
    EXPECT_EQ(book.sheets[0].cells, padded(rows));
}

// In a column marked for numbers a text becomes a number cell only where
// the number, shown with the text's decimals, is the text again.
TEST_F(XlsWriterTest, NumberColumnsHoldNumbersThatShowTheirTextAgain)
{
    const struct {
        const char* text;
        const char* format; // nullptr: stays text
    } cases[] = {
        {"3300000.0000", "0.0000"}, {"-12.345", "0.000"}, {"0", "0"}, {"0.5", "0.0"},
        {"123456789012.345", "0.000"}, {"0.000000000000001", "0.000000000000000"},
        {"0815", nullptr}, {"00.5", nullptr}, {"-0.0000", nullptr}, {"1234567890123.456", nullptr},
        {"0.0000000000000001", nullptr}, {"5.", nullptr}, {".5", nullptr}, {"+5", nullptr},
        {"1e5", nullptr}, {" 5", nullptr}, {"Fehler", nullptr}, {"51°30'00.00000\"", nullptr},
    };
    XlsWriter w;
    ASSERT_TRUE(w.open(path(QStringLiteral("out.xls"))));
    w.setNumberColumns({true, false});
    for (const auto& c : cases)
        w.writeRow({QString::fromUtf8(c.text), QString::fromUtf8(c.text)});
    ASSERT_TRUE(w.close()) << w.errorText().toStdString();
    const ReadWorkbook book = readBack(path(QStringLiteral("out.xls")));
    ASSERT_EQ(book.sheets.size(), 1);
    const auto& sheet = book.sheets[0];
    for (int r = 0; r < int(std::size(cases)); ++r) {
        const QString text = QString::fromUtf8(cases[r].text);
        SCOPED_TRACE(cases[r].text);
        EXPECT_EQ(sheet.cells.value(r), (QStringList{text, text}));
        EXPECT_FALSE(sheet.numbers.contains({r, 1}));
        const auto number = sheet.numbers.constFind({r, 0});
        ASSERT_EQ(number != sheet.numbers.constEnd(), cases[r].format != nullptr);
        if (!cases[r].format)
            continue;
        EXPECT_EQ(number->format, QString::fromUtf8(cases[r].format));
        EXPECT_EQ(number->value, text.toDouble());
    }
}

TEST_F(XlsWriterTest, SheetNamesAreMadeValid)
{
    EXPECT_EQ(roundTrip({{QStringLiteral("a")}}, QStringLiteral("Höhen/Lage [m]")).sheets.value(0).name,
              QStringLiteral("Höhen_Lage _m_"));
    EXPECT_EQ(roundTrip({{QStringLiteral("a")}}, QStringLiteral("  ")).sheets.value(0).name,
              QStringLiteral("Tabelle"));
    EXPECT_EQ(roundTrip({{QStringLiteral("a")}}, QStringLiteral("Ω-Koordinaten")).sheets.value(0).name,
              QStringLiteral("Ω-Koordinaten"));
}

TEST_F(XlsWriterTest, EmptyWorkbookHasOneEmptySheet)
{
    const ReadWorkbook book = roundTrip({});
    ASSERT_EQ(book.sheets.size(), 1);
    EXPECT_EQ(book.sheets[0].rows, 0);
    EXPECT_EQ(QFile(path(QStringLiteral("out.xls"))).size() % 512, 0);
}

// Strings of every length and both storage widths, so that string starts,
// headers and character runs meet the 8224-byte record boundaries in many
// different places.
TEST_F(XlsWriterTest, LongStringsContinueAcrossStringTableRecords)
{
    QRandomGenerator rng(4711);
    QList<QStringList> rows;
    rows << QStringList{QString(20000, QLatin1Char('x')) + QStringLiteral("ä"), QStringLiteral("kurz")};
    rows << QStringList{QString(9000, QChar(0x20AC)), QString(9000, QChar(0x00FC))};
    for (int r = 0; r < 150; ++r) {
        QStringList row;
        for (int c = 0; c < 4; ++c) {
            const int length = int(rng.bounded(4000));
            const bool wide = rng.bounded(3) == 0;
            QString s;
            for (int i = 0; i < length; ++i)
                s += QChar(char16_t(wide ? 0x0400 + rng.bounded(200) : 0x20 + rng.bounded(0xDF)));
            row << s;
        }
        rows << row;
    }
    const ReadWorkbook book = roundTrip(rows);
    ASSERT_EQ(book.sheets.size(), 1);
    EXPECT_TRUE(book.sheets[0].cells == padded(rows));
}

TEST_F(XlsWriterTest, RowsBeyond65536ContinueOnFurtherSheets)
{
    QList<QStringList> rows;
    rows << QStringList{QStringLiteral("Punkt"), QStringLiteral("Rechtswert"), QStringLiteral("Hochwert")};
    for (int r = 1; r < 70000; ++r)
        rows << QStringList{QString::number(r), QString::number(4500000 + r) + QStringLiteral(".1234"),
                            r % 3 ? QString::number(5700000 + r) + QStringLiteral(".5") : QString()};
    const ReadWorkbook book = roundTrip(rows);
    ASSERT_EQ(book.sheets.size(), 2);
    EXPECT_EQ(book.sheets[0].name, QStringLiteral("Tabelle"));
    EXPECT_EQ(book.sheets[1].name, QStringLiteral("Tabelle 2"));
    EXPECT_EQ(book.sheets[0].rows, 65536);
    EXPECT_EQ(book.sheets[1].rows, 70000 - 65536);
    EXPECT_TRUE(book.sheets[0].cells + book.sheets[1].cells == rows);
}

TEST_F(XlsWriterTest, SheetBoundaryIsExact)
{
    const QString longName = QStringLiteral("Koordinatenliste Ostsee Ä 2026!"); // 31 characters
    QList<QStringList> rows;
    for (int r = 0; r < XlsWriter::MaxRowsPerSheet; ++r)
        rows << QStringList{QString::number(r)};
    ReadWorkbook book = roundTrip(rows, longName);
    ASSERT_EQ(book.sheets.size(), 1);
    EXPECT_EQ(book.sheets[0].name, longName);
    EXPECT_EQ(book.sheets[0].rows, 65536);

    rows << QStringList{QStringLiteral("letzte")};
    book = roundTrip(rows, longName);
    ASSERT_EQ(book.sheets.size(), 2);
    EXPECT_EQ(book.sheets[1].name, longName.left(29) + QStringLiteral(" 2"));
    EXPECT_EQ(book.sheets[1].cells, QList<QStringList>{{QStringLiteral("letzte")}});
}

// Beyond about 7 MB the compound file's allocation table needs more sectors
// than its header can list.
TEST_F(XlsWriterTest, LargeFileListsAllocationSectorsBeyondTheHeader)
{
    QList<QStringList> rows;
    for (int r = 0; r < 1100; ++r)
        rows << QStringList{QString::number(r), QString(8000, QChar(u'a' + r % 26)) + QString::number(r)};
    const ReadWorkbook book = roundTrip(rows);
    ASSERT_EQ(book.sheets.size(), 1);
    EXPECT_TRUE(book.sheets[0].cells == rows);

    QFile f(path(QStringLiteral("out.xls")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray header = f.read(512);
    const quint32 extensionSectors = quint8(header[72]) | quint8(header[73]) << 8;
    EXPECT_GT(f.size(), 8'000'000);
    EXPECT_GE(extensionSectors, 1u);
}

TEST_F(XlsWriterTest, OpenFailsWhereNoFileCanBeCreated)
{
    QFile plain(path(QStringLiteral("plain.txt")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (const QString& target : {path(QStringLiteral("fehlt/out.xls")), path(QStringLiteral("plain.txt/out.xls"))}) {
        XlsWriter w;
        EXPECT_FALSE(w.open(target));
        EXPECT_FALSE(w.errorText().isEmpty());
        w.writeRow({QStringLiteral("a")});
        EXPECT_FALSE(w.close());
        EXPECT_FALSE(QFile::exists(target));
    }
}

TEST_F(XlsWriterTest, ExistingFileIsReplacedOnlyByAFinishedWorkbook)
{
    const QString target = path(QStringLiteral("alt.xls"));
    auto writeOld = [&] {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("alte Daten");
    };
    auto content = [&] {
        QFile f(target);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    writeOld();
    {
        XlsWriter abandoned;
        ASSERT_TRUE(abandoned.open(target));
        abandoned.writeRow({QStringLiteral("neu")});
        EXPECT_EQ(content(), QByteArray("alte Daten"));
    }
    EXPECT_EQ(content(), QByteArray("alte Daten"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("alt.xls")});

    XlsWriter w;
    ASSERT_TRUE(w.open(target));
    w.writeRow({QStringLiteral("neu")});
    EXPECT_EQ(content(), QByteArray("alte Daten"));
    ASSERT_TRUE(w.close());
    EXPECT_EQ(readBack(target).sheets.value(0).cells, QList<QStringList>{{QStringLiteral("neu")}});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("alt.xls")});
}

TEST_F(XlsWriterTest, CellsBeyondTheFormatsLimitsAreReportedNotSilentlyLost)
{
    QStringList wide;
    for (int c = 0; c < 300; ++c)
        wide << QStringLiteral("S%1").arg(c);
    const QString huge = QString(40000, QLatin1Char('z'));
    XlsWriter w;
    ASSERT_TRUE(w.open(path(QStringLiteral("out.xls"))));
    w.writeRow(wide);
    w.writeRow({huge});
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.errorText().contains(QStringLiteral("256"))) << w.errorText().toStdString();
    EXPECT_TRUE(w.errorText().contains(QStringLiteral("32767"))) << w.errorText().toStdString();

    const ReadWorkbook book = readBack(path(QStringLiteral("out.xls")));
    ASSERT_EQ(book.sheets.size(), 1);
    EXPECT_EQ(book.sheets[0].columns, 256);
    EXPECT_EQ(book.sheets[0].cells.value(0), wide.mid(0, 256));
    EXPECT_EQ(book.sheets[0].cells.value(1).value(0), huge.left(32767));
}

} // namespace
