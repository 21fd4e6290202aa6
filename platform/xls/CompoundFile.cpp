#include "platform/xls/CompoundFile.h"

#include <QtEndian>

namespace orv {

namespace {

constexpr quint32 FreeSector = 0xFFFFFFFFu;
constexpr quint32 EndOfChain = 0xFFFFFFFEu;
constexpr quint32 FatSectorMark = 0xFFFFFFFDu;
constexpr quint32 DifatSectorMark = 0xFFFFFFFCu;
constexpr quint32 NoStream = 0xFFFFFFFFu;
constexpr int EntriesPerSector = CompoundFileLayout::SectorSize / 4;
constexpr int HeaderDifatEntries = 109;
constexpr int DirectoryEntrySize = 128;

void put16(QByteArray& a, int at, quint16 v) { qToLittleEndian<quint16>(v, a.data() + at); }
void put32(QByteArray& a, int at, quint32 v) { qToLittleEndian<quint32>(v, a.data() + at); }

quint32 ceilDiv(quint64 a, quint64 b) { return static_cast<quint32>((a + b - 1) / b); }

// One 128-byte directory entry. Object type 1 = storage, 2 = stream, 5 = root.
QByteArray directoryEntry(const QString& name, quint8 type, quint32 child, quint32 start, quint64 size) {
  QByteArray e(DirectoryEntrySize, '\0');
  const int units = qMin<int>(static_cast<int>(name.size()), 31);
  for (int i = 0; i < units; ++i) put16(e, 2 * i, name.at(i).unicode());
  put16(e, 64, static_cast<quint16>(2 * (units + 1)));  // length in bytes with the terminating zero
  e[66] = static_cast<char>(type);
  e[67] = 1;  // black: a tree of one node per level is trivially balanced
  put32(e, 68, NoStream);
  put32(e, 72, NoStream);
  put32(e, 76, child);
  put32(e, 116, start);
  put32(e, 120, static_cast<quint32>(size));
  put32(e, 124, 0);
  return e;
}

QByteArray unusedDirectoryEntry() {
  QByteArray e(DirectoryEntrySize, '\0');
  put32(e, 68, NoStream);
  put32(e, 72, NoStream);
  put32(e, 76, NoStream);
  return e;
}

}  // namespace

CompoundFileLayout::CompoundFileLayout(const QString& streamName, quint64 streamSize)
    : streamName_(streamName), streamSize_(streamSize) {
  Q_ASSERT(streamSize >= MinimumStreamSize && streamSize <= MaximumStreamSize);
  streamSectors_ = ceilDiv(streamSize, SectorSize);
  // The allocation table must also describe its own sectors, those of its
  // extension and the directory sector, so its size is found by iteration.
  quint32 fat = 1;
  quint32 difat = 0;
  for (;;) {
    const quint64 sectors = quint64(streamSectors_) + fat + difat + 1;
    const quint32 fatNeeded = ceilDiv(sectors, EntriesPerSector);
    const quint32 difatNeeded =
        fatNeeded > HeaderDifatEntries ? ceilDiv(fatNeeded - HeaderDifatEntries, EntriesPerSector - 1) : 0;
    if (fatNeeded == fat && difatNeeded == difat) break;
    fat = fatNeeded;
    difat = difatNeeded;
  }
  fatSectors_ = fat;
  difatSectors_ = difat;
}

quint64 CompoundFileLayout::fileSize() const {
  return SectorSize * (1 + quint64(streamSectors_) + fatSectors_ + difatSectors_ + 1);
}

QByteArray CompoundFileLayout::header() const {
  QByteArray h(SectorSize, '\0');
  static const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  for (int i = 0; i < 8; ++i) h[i] = static_cast<char>(signature[i]);
  put16(h, 24, 0x003E);  // minor version
  put16(h, 26, 0x0003);  // major version 3: 512-byte sectors
  put16(h, 28, 0xFFFE);  // little-endian byte order mark
  put16(h, 30, 9);       // sector size 2^9
  put16(h, 32, 6);       // mini sector size 2^6
  put32(h, 40, 0);       // directory sector count: always 0 in version 3
  put32(h, 44, fatSectors_);
  put32(h, 48, directorySector());
  put32(h, 52, 0);
  put32(h, 56, 4096);        // streams below this size would live in the mini stream
  put32(h, 60, EndOfChain);  // no mini allocation table
  put32(h, 64, 0);
  put32(h, 68, difatSectors_ > 0 ? firstDifatSector() : EndOfChain);
  put32(h, 72, difatSectors_);
  for (int i = 0; i < HeaderDifatEntries; ++i)
    put32(h, 76 + 4 * i, quint32(i) < fatSectors_ ? firstFatSector() + quint32(i) : FreeSector);
  return h;
}

QByteArray CompoundFileLayout::trailer() const {
  const quint64 fatBytes = quint64(fatSectors_) * SectorSize;
  QByteArray out(static_cast<qsizetype>(fatBytes + quint64(difatSectors_) * SectorSize + SectorSize), '\0');

  // Allocation table: the stream is one chain of consecutive sectors.
  quint32 n = 0;
  auto fat = [&](quint32 value) { put32(out, static_cast<int>(4 * n++), value); };
  for (quint32 s = 0; s + 1 < streamSectors_; ++s) fat(s + 1);
  fat(EndOfChain);
  for (quint32 s = 0; s < fatSectors_; ++s) fat(FatSectorMark);
  for (quint32 s = 0; s < difatSectors_; ++s) fat(DifatSectorMark);
  fat(EndOfChain);  // the directory's single sector
  while (n < fatSectors_ * quint32(EntriesPerSector)) fat(FreeSector);

  // Extension of the header's list of allocation-table sectors: 127 entries
  // a sector, the last entry links to the next extension sector.
  for (quint32 d = 0; d < difatSectors_; ++d) {
    const int base = static_cast<int>(fatBytes + quint64(d) * SectorSize);
    for (int i = 0; i < EntriesPerSector - 1; ++i) {
      const quint64 k = HeaderDifatEntries + quint64(d) * (EntriesPerSector - 1) + i;
      put32(out, base + 4 * i, k < fatSectors_ ? firstFatSector() + quint32(k) : FreeSector);
    }
    put32(out, base + 4 * (EntriesPerSector - 1),
          d + 1 < difatSectors_ ? firstDifatSector() + d + 1 : EndOfChain);
  }

  // Directory: the root storage and its only child, the stream.
  QByteArray dir = directoryEntry(QStringLiteral("Root Entry"), 5, 1, EndOfChain, 0);
  dir += directoryEntry(streamName_, 2, NoStream, 0, streamSize_);
  dir += unusedDirectoryEntry();
  dir += unusedDirectoryEntry();
  out.replace(static_cast<qsizetype>(fatBytes + quint64(difatSectors_) * SectorSize), SectorSize, dir);
  return out;
}

}  // namespace orv
