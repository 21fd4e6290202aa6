#include "platform/xls/CompoundFile.h"

#include <QList>
#include <QtEndian>

#include <gtest/gtest.h>

using orv::CompoundFileLayout;

namespace {

quint32 at32(const QByteArray& a, qsizetype pos) { return qFromLittleEndian<quint32>(a.constData() + pos); }

// Reads the allocation table the way a reader does (header list, then the
// chain of extension sectors) and checks that it describes every sector.
void checkLayout(quint64 streamSize)
{
    SCOPED_TRACE(streamSize);
    const CompoundFileLayout layout(QStringLiteral("Workbook"), streamSize);
    const QByteArray header = layout.header();
    const QByteArray trailer = layout.trailer();
    const quint32 s = layout.streamSectors();
    const quint32 fatCount = at32(header, 44);
    const quint64 total = quint64(s) + fatCount + at32(header, 72) + 1;
    ASSERT_EQ(s, (streamSize + 511) / 512);
    ASSERT_EQ(layout.fileSize(), 512 * (total + 1));
    ASSERT_EQ(quint64(trailer.size()), 512 * (total - s));
    ASSERT_GE(quint64(fatCount) * 128, total);
    ASSERT_LT(quint64(fatCount - 1) * 128, total); // no allocation sector more than needed

    // Sector n of the file lies at byte (n - s) * 512 of the trailer.
    auto sector = [&](quint32 n) { return trailer.mid(qsizetype(n - s) * 512, 512); };
    QList<quint32> fatSectors;
    for (int i = 0; i < 109 && quint32(fatSectors.size()) < fatCount; ++i)
        fatSectors << at32(header, 76 + 4 * i);
    quint32 next = at32(header, 68);
    for (quint32 d = 0; d < at32(header, 72); ++d) {
        const QByteArray ext = sector(next);
        for (int i = 0; i < 127 && quint32(fatSectors.size()) < fatCount; ++i)
            fatSectors << at32(ext, 4 * i);
        next = at32(ext, 508);
    }
    ASSERT_EQ(next, 0xFFFFFFFEu);
    ASSERT_EQ(quint32(fatSectors.size()), fatCount);

    QByteArray fat;
    for (quint32 f : fatSectors)
        fat += sector(f);
    for (quint32 i = 0; i + 1 < s; ++i)
        ASSERT_EQ(at32(fat, 4 * i), i + 1);
    ASSERT_EQ(at32(fat, 4 * (s - 1)), 0xFFFFFFFEu);
    for (quint32 f : fatSectors)
        ASSERT_EQ(at32(fat, 4 * f), 0xFFFFFFFDu);
    const quint32 directory = at32(header, 48);
    ASSERT_EQ(at32(fat, 4 * directory), 0xFFFFFFFEu);
    for (quint64 i = total; i < quint64(fatCount) * 128; ++i)
        ASSERT_EQ(at32(fat, qsizetype(4 * i)), 0xFFFFFFFFu); // beyond the file: free

    const QByteArray dir = sector(directory);
    EXPECT_EQ(at32(dir, 128 + 116), 0u);
    EXPECT_EQ(at32(dir, 128 + 120), quint32(streamSize));
}

TEST(CompoundFileLayoutTest, AllocationTableCoversEverySectorAcrossItsGrowthSteps)
{
    checkLayout(4096);
    checkLayout(4097);
    // Around the step from 109 allocation sectors (all listed in the header)
    // to 110, and from one extension sector to two.
    for (quint64 sectors = 13835; sectors <= 13850; ++sectors)
        checkLayout(sectors * 512);
    for (quint64 sectors = 29960; sectors <= 29975; ++sectors)
        checkLayout(sectors * 512 - 100);
}

} // namespace
