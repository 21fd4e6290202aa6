#include "gridtool/GeoidGridFile.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace orv {

namespace {

std::int32_t DecodeRecord(const unsigned char* bytes) {
  const std::uint32_t u = std::uint32_t(bytes[0]) | (std::uint32_t(bytes[1]) << 8) |
                          (std::uint32_t(bytes[2]) << 16) | (std::uint32_t(bytes[3]) << 24);
  return static_cast<std::int32_t>(u);
}

// Node count along one axis: trunc((max - min + 0.001) / spacing + 1.0); the
// 0.001 degree keeps an extent that is a whole number of spacings from losing
// its last node to rounding.
std::int64_t NodeCount(double min, double max, double spacing, const char* axis) {
  if (!(spacing > 0.0) || !std::isfinite(spacing))
    throw std::runtime_error(std::string("Gitterabstand (") + axis + ") ist nicht positiv");
  const double n = std::trunc((max - min + 0.001) / spacing + 1.0);
  if (!(n >= 2.0)) throw std::runtime_error(std::string("Gitter hat weniger als zwei Knoten (") + axis + ")");
  if (n > 1e9) throw std::runtime_error(std::string("Gitter hat zu viele Knoten (") + axis + ")");
  return static_cast<std::int64_t>(n);
}

}  // namespace

double GridHeaderAngle(std::int32_t degrees, std::int32_t minutes, std::int32_t microArcSeconds) {
  return std::fabs(double(degrees)) + double(minutes) * 0.016666666666666666 +
         double(microArcSeconds) * 1e-06 * 0.0002777777777777778;
}

GeoidGridHeader DecodeGridHeader(const std::int32_t r[kGridHeaderRecords]) {
  GeoidGridHeader h;
  h.latMin = GridHeaderAngle(r[0], r[1], r[2]);
  h.latMax = GridHeaderAngle(r[3], r[4], r[5]);
  h.lonMin = GridHeaderAngle(r[6], r[7], r[8]);
  h.lonMax = GridHeaderAngle(r[9], r[10], r[11]);
  h.latSpacing = GridHeaderAngle(r[12], r[13], r[14]);
  h.lonSpacing = GridHeaderAngle(r[15], r[16], r[17]);
  h.rows = NodeCount(h.latMin, h.latMax, h.latSpacing, "Breite");
  h.cols = NodeCount(h.lonMin, h.lonMax, h.lonSpacing, "Laenge");
  return h;
}

double NodeMetres(std::int32_t node) { return node >= kNoValueNode ? kNoValueMetres : double(node) * 0.0001; }

GeoidGridFile::GeoidGridFile(const std::string& path)
    : path_(path), pages_(std::size_t(kPageBytes * kPageSlots)), pageOfSlot_(kPageSlots, -1) {
  file_.open(path, std::ios::binary);
  if (!file_) throw std::runtime_error("Gitterdatei " + path + " kann nicht geoeffnet werden");
  file_.seekg(0, std::ios::end);
  fileSize_ = file_.tellg();
  if (!file_ || fileSize_ < 4 * kGridHeaderRecords)
    throw std::runtime_error("Gitterdatei " + path + " hat keinen vollstaendigen Kopf");

  unsigned char bytes[4 * kGridHeaderRecords];
  ReadBytes(0, sizeof bytes, bytes);
  std::int32_t records[kGridHeaderRecords];
  for (int i = 0; i < kGridHeaderRecords; ++i) records[i] = DecodeRecord(bytes + 4 * i);
  try {
    header_ = DecodeGridHeader(records);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error("Gitterdatei " + path + ": " + e.what());
  }
  const double needed = 4.0 * (double(kGridHeaderRecords) + double(header_.rows) * double(header_.cols));
  if (double(fileSize_) < needed)
    throw std::runtime_error("Gitterdatei " + path + " ist kuerzer als ihr Kopf angibt");
}

void GeoidGridFile::ReadBytes(std::int64_t offset, int count, unsigned char* out) {
  while (count > 0) {
    const std::int64_t page = offset / kPageBytes;
    const int slot = int(page % kPageSlots);
    unsigned char* data = pages_.data() + std::size_t(slot) * std::size_t(kPageBytes);
    if (pageOfSlot_[std::size_t(slot)] != page) {
      const std::int64_t start = page * kPageBytes;
      const std::streamsize length = std::streamsize(std::min(kPageBytes, fileSize_ - start));
      pageOfSlot_[std::size_t(slot)] = -1;
      file_.clear();
      file_.seekg(start);
      if (length <= 0 || !file_.read(reinterpret_cast<char*>(data), length))
        throw std::runtime_error("Gitterdatei " + path_ + " kann nicht gelesen werden");
      pageOfSlot_[std::size_t(slot)] = page;
    }
    const int inPage = int(offset - page * kPageBytes);
    const int n = std::min<int>(count, int(kPageBytes) - inPage);
    std::copy(data + inPage, data + inPage + n, out);
    out += n;
    offset += n;
    count -= n;
  }
}

void GeoidGridFile::ReadNodes(std::int64_t row, std::int64_t col, int count, double* metres) {
  if (row < 1 || row > header_.rows || col < 1 || count < 0 || count > 16 || col + count - 1 > header_.cols)
    throw std::runtime_error("Gitterknoten ausserhalb des Gitters gelesen");
  const std::int64_t record = kGridHeaderRecords + (row - 1) * header_.cols + (col - 1);
  unsigned char bytes[4 * 16];
  ReadBytes(record * 4, 4 * count, bytes);
  for (int i = 0; i < count; ++i) metres[i] = NodeMetres(DecodeRecord(bytes + 4 * i));
}

}  // namespace orv
