#include "foundation/Windows1252.h"

#include <array>

namespace orv {

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

QChar DecodeWindows1252(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  if (b >= 0x80 && b <= 0x9F) return QChar(kHigh[b - 0x80]);
  return QChar(static_cast<char16_t>(b));
}

char EncodeWindows1252(QChar c) {
  const char16_t u = c.unicode();
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
  for (size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == u) return static_cast<char>(0x80 + i);
  return '?';
}

QString DecodeWindows1252(const char* data, qsizetype size) {
  QString out(size, Qt::Uninitialized);
  QChar* dst = out.data();
  for (qsizetype i = 0; i < size; ++i) dst[i] = DecodeWindows1252(data[i]);
  return out;
}

QString DecodeWindows1252(const QByteArray& bytes) { return DecodeWindows1252(bytes.constData(), bytes.size()); }

void AppendWindows1252(QByteArray& out, QStringView text) {
  const qsizetype at = out.size();
  out.resize(at + text.size());
  char* dst = out.data() + at;
  for (qsizetype i = 0; i < text.size(); ++i) dst[i] = EncodeWindows1252(text[i]);
}

bool FitsWindows1252(QStringView text) {
  for (QChar c : text)
    if (c != QLatin1Char('?') && EncodeWindows1252(c) == '?') return false;
  return true;
}

QByteArray EncodeWindows1252(const QString& text) {
  QByteArray out;
  AppendWindows1252(out, text);
  return out;
}

}  // namespace orv
