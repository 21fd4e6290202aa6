// clsJPEGasm: writing the file anew. The bytes go to a temporary file beside
// the destination, which replaces the destination only when every byte has
// been written, so a failure never leaves a half-written picture behind.
#include "documents/JpegMarkerParser.h"
#include "foundation/OrvenilError.h"
#include "foundation/Windows1252.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

// A comment segment's length field counts itself (2 bytes), the text and
// its final 0 byte, and must fit into 16 bits.
constexpr int64_t kMaxCommentBytes = 65535 - 2 - 1;

void CloseFile(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

mode_t NewFileMode(const QByteArray& destination) {
  struct stat info {};
  if (::stat(destination.constData(), &info) == 0) return info.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool clsJPEGasm::IsRemovedOnWriting(const QString& marker) const {
  if (marker == QLatin1String("FFFE")) return true;  // replaced by the comment list
  if (marker == QLatin1String("FFE1")) return st_.RemoveExifHeader;
  if (marker == QLatin1String("FFED") || marker == QLatin1String("FFEE")) return st_.RemovePhotoShopHeader;
  if (marker == QLatin1String("FFE0") || marker == QLatin1String("FFEF")) return st_.RemoveAllAppHeaders;
  if (marker.startsWith(QLatin1String("FFE"))) {
    bool ok = false;
    const int n = marker.mid(3).toInt(&ok, 16);
    if (ok && n >= 2 && n <= 12) return st_.RemoveAllAppHeaders;
  }
  return false;
}

bool clsJPEGasm::WriteOutJPEGfile(const QString& sPathFilename) {
  st_.DestinationFilename = sPathFilename;
  if (!st_.ParsedWithoutProblems) {
    st_.ErrorMsg = QStringLiteral("We have not parsed an input file successfully!");
    return false;
  }
  if (sPathFilename.isEmpty()) {
    st_.ErrorMsg = QStringLiteral("We need a valid filename to write to!");
    return false;
  }
  return WriteNewFile();
}

bool clsJPEGasm::WriteBlockOfData(const std::vector<uint8_t>& bytes, int64_t start, int64_t length, int& fd) {
  if (start < 1 || length < 1 || start + length - 1 > int64_t(bytes.size())) {
    st_.ErrorMsg = QStringLiteral("Wrong parameters in 'WriteBlockOfData()'! (Start= %1, Lenght= %2)").arg(start).arg(length);
    CloseFile(fd);
    return false;
  }
  if (fd < 0) {
    st_.ErrorMsg = QStringLiteral("No valid file handle in 'WriteBlockOfData()'!");
    return false;
  }
  const uint8_t* p = bytes.data() + (start - 1);
  int64_t written = 0;
  while (written < length) {
    const ssize_t r = ::write(fd, p + written, size_t(length - written));
    if (r < 0) {
      if (errno == EINTR) continue;
      st_.ErrorMsg = QStringLiteral("API error on writing to new JPEG file - error #%1").arg(errno);
      CloseFile(fd);
      return false;
    }
    if (r == 0) break;
    written += r;
  }
  if (written < length) {
    st_.ErrorMsg = QStringLiteral("Error on writing to new JPEG file - Diff on written bytes %1/%2").arg(length).arg(written);
    CloseFile(fd);
    return false;
  }
  return true;
}

bool clsJPEGasm::WriteNewFile() {
  const QString& dest = st_.DestinationFilename;

  // Comments as bytes, each with its final 0; one too long for a segment is
  // refused before anything is created.
  std::vector<std::vector<uint8_t>> commentSegments;
  for (int32_t c = 1; c <= st_.HowManyComments; ++c) {
    QByteArray text = EncodeWindows1252(st_.Comments.at(c - 1));
    if (text.isEmpty()) continue;
    if (text.size() > kMaxCommentBytes) {
      st_.ErrorMsg = QStringLiteral("Comment %1 is too long for one JPEG comment segment (%2 characters, at most %3)!")
                         .arg(c)
                         .arg(text.size())
                         .arg(kMaxCommentBytes);
      return false;
    }
    text.append('\0');
    const int64_t n = int64_t(text.size()) + 2;
    std::vector<uint8_t> seg = {0xFF, 0xFE, uint8_t(n / 256), uint8_t(n % 256)};
    seg.insert(seg.end(), text.begin(), text.end());
    commentSegments.push_back(std::move(seg));
  }

  const QByteArray destName = QFile::encodeName(dest);
  QByteArray tempName = destName + ".XXXXXX";
  int fd = ::mkstemp(tempName.data());
  if (fd < 0) {
    st_.ErrorMsg = QStringLiteral("Error opening new file '") + dest +
                   QStringLiteral("' to WRITE in procedure 'WriteNewFile()' at class 'clsJPEGasm'");
    return false;
  }
  const auto fail = [&]() {
    CloseFile(fd);
    ::unlink(tempName.constData());
    return false;
  };
  try {
    ::fchmod(fd, NewFileMode(destName));
    const int64_t n = int64_t(fileBuffer_.size());
    if (!WriteBlockOfData(fileBuffer_, 1, 2, fd)) return fail();
    for (const auto& seg : commentSegments)
      if (!WriteBlockOfData(seg, 1, int64_t(seg.size()), fd)) return fail();
    for (const JpegSegment& s : st_.Segments) {
      if (IsRemovedOnWriting(s.Marker)) continue;
      if (!WriteBlockOfData(fileBuffer_, s.StartPos, s.SegLength, fd)) return fail();
    }
    if (!WriteBlockOfData(fileBuffer_, n - 1, 2, fd)) return fail();
    int error = ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    fd = -1;
    if (error != 0) {
      st_.ErrorMsg = QStringLiteral("API error on writing to new JPEG file - error #%1").arg(error);
      return fail();
    }
    if (::rename(tempName.constData(), destName.constData()) != 0) {
      st_.ErrorMsg = QLatin1Char('[') + QString::fromLocal8Bit(std::strerror(errno)) +
                     QStringLiteral("] in procedure 'WriteNewFile()' at class 'clsJPEGasm'");
      return fail();
    }
    return true;
  } catch (const std::bad_alloc&) {
    st_.ErrorMsg = QStringLiteral("[Nicht genügend Speicher] in procedure 'WriteNewFile()' at class 'clsJPEGasm'");
  }
  return fail();
}

}  // namespace orv
