#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace orv {

// Layout of a compound file (the container of .xls workbooks, version 3 with
// 512-byte sectors) that holds exactly one stream in regular sectors.
//
// The file is written front to back without seeking:
//   header()                      512 bytes
//   the stream's bytes            padded with zeros to streamSectors() * 512
//   trailer()                     allocation table, its extension, directory
// The stream must be at least 4096 bytes long: shorter streams would belong to
// the mini stream, which this layout does not write (pad the stream instead).
class CompoundFileLayout {
 public:
  static constexpr int SectorSize = 512;
  static constexpr quint64 MinimumStreamSize = 4096;
  static constexpr quint64 MaximumStreamSize = 0xFFFFFFFFull;

  CompoundFileLayout(const QString& streamName, quint64 streamSize);

  QByteArray header() const;
  QByteArray trailer() const;

  quint32 streamSectors() const { return streamSectors_; }
  quint32 fatSectors() const { return fatSectors_; }
  quint32 difatSectors() const { return difatSectors_; }
  quint64 fileSize() const;

 private:
  quint32 firstFatSector() const { return streamSectors_; }
  quint32 firstDifatSector() const { return streamSectors_ + fatSectors_; }
  quint32 directorySector() const { return streamSectors_ + fatSectors_ + difatSectors_; }

  QString streamName_;
  quint64 streamSize_ = 0;
  quint32 streamSectors_ = 0;
  quint32 fatSectors_ = 0;
  quint32 difatSectors_ = 0;
};

}  // namespace orv
