// clsPDF: pictures as inline images with 8, 4, 2 or 1 bits per component,
// grey or RGB, run-length encoded when that is shorter.
#include "documents/PdfNumberText.h"
#include "documents/PdfWriter.h"
#include "documents/RunLengthEncoder.h"
#include "foundation/OrvenilError.h"

#include <limits>

namespace orv {

namespace {

constexpr int kErrInvalidPicture = 481;

// Collects samples of `bits` bits, most significant bits first.
class SamplePacker {
 public:
  SamplePacker(std::vector<uint8_t>& out, int bits) : out_(out), bits_(bits) {}
  void Add(int sample) {
    if (bits_ == 8) {
      out_.push_back(uint8_t(sample));
      return;
    }
    acc_ = (acc_ << bits_) | (sample >> (8 - bits_));
    filled_ += bits_;
    if (filled_ == 8) {
      out_.push_back(uint8_t(acc_));
      acc_ = 0;
      filled_ = 0;
    }
  }

 private:
  std::vector<uint8_t>& out_;
  int bits_;
  int acc_ = 0;
  int filled_ = 0;
};

int GreyOf(int red, int green, int blue) { return (77 * red + 151 * green + 28 * blue + 127) / 256; }

}  // namespace

QImage clsPDF::LoadPicture(const QString& file) {
  QImage image(file);
  if (image.isNull())
    throw OrvenilError(kErrInvalidPicture, QStringLiteral("Ungültiges Bild: '%1'").arg(file));
  return image;
}

void clsPDF::DrawPictureWithDepth(float x, float y, float width, float height, const QImage& picture, bool grey,
                                  int bits) {
  if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
    throw OrvenilError(kErrInvalidPicture, QStringLiteral("Ungültiges Bild (keine Bildpunkte)"));

  // A negative size mirrors the image inside the same box.
  if (width < 0) x -= width;
  if (height < 0) y -= height;
  const float yp = PageHeight() - y - height;

  const int64_t w = picture.width();
  const int64_t h = picture.height();
  const int64_t samplesPerByte = 8 / bits;
  // Rows of grey samples must fill whole bytes; the padding columns are white.
  const int64_t paddedWidth = (w + samplesPerByte - 1) / samplesPerByte * samplesPerByte;
  const int64_t channels = grey ? 1 : 3;
  const int64_t rawSize = h * (paddedWidth / samplesPerByte) * channels;
  if (rawSize > std::numeric_limits<int32_t>::max() || paddedWidth > std::numeric_limits<int32_t>::max())
    throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf"));

  FlushPaintOperator();
  AddGraphicsLine("q");
  AddGraphicsLine(FormatPdfNumber(width) + " 0 0 " + FormatPdfNumber(height) + " " + FormatPdfNumber(x) + " " +
                  FormatPdfNumber(yp) + " cm");
  AddGraphicsLine("BI");
  AddGraphicsLine("/W " + IntegerText(paddedWidth));
  AddGraphicsLine("/H " + IntegerText(h));
  AddGraphicsLine("/BPC " + IntegerText(bits));
  AddGraphicsLine(grey ? "/CS /G" : "/CS /RGB");

  const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
  const int mask = (0xFF << (8 - bits)) & 0xFF;
  std::vector<uint8_t> raw;
  raw.reserve(size_t(rawSize));
  SamplePacker packer(raw, bits);
  for (int64_t row = 0; row < h; ++row) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(int(row)));
    for (int64_t col = 0; col < paddedWidth; ++col) {
      int red = 255, green = 255, blue = 255;
      if (col < w) {
        const QRgb px = line[col];
        const int a = qAlpha(px);
        // Transparent parts show the white paper.
        red = (qRed(px) * a + 255 * (255 - a) + 127) / 255;
        green = (qGreen(px) * a + 255 * (255 - a) + 127) / 255;
        blue = (qBlue(px) * a + 255 * (255 - a) + 127) / 255;
      }
      red &= mask;
      green &= mask;
      blue &= mask;
      if (grey) {
        packer.Add(GreyOf(red, green, blue) & mask);
      } else {
        packer.Add(red);
        packer.Add(green);
        packer.Add(blue);
      }
    }
  }

  const std::vector<uint8_t> encoded = RunLengthEncode(raw);
  const int64_t n = int64_t(raw.size());
  const int64_t e = int64_t(encoded.size());
  const bool useEncoded = bits == 8 ? e + 7 <= n : e <= n;
  if (useEncoded) {
    AddGraphicsLine("/F /RL");
    QByteArray data = "ID ";
    data.append(reinterpret_cast<const char*>(encoded.data()), qsizetype(e));
    data.append(char(128));  // end of data of the run-length filter
    AddGraphicsLine(data);
  } else {
    // The length of unfiltered data follows from /W, /H, /BPC and /CS, so
    // nothing may stand between the data and the line end.
    QByteArray data = "ID ";
    data.append(reinterpret_cast<const char*>(raw.data()), qsizetype(n));
    AddGraphicsLine(data);
  }
  AddGraphicsLine("EI");
  AddGraphicsLine("Q");
  st_.hasCurrentPoint = false;
}

void clsPDF::DrawPicture(float x, float y, float width, float height, const QImage& picture, bool grey) {
  DrawPictureWithDepth(x, y, width, height, picture, grey, 8);
}
void clsPDF::DrawPicture(float x, float y, float width, float height, const QString& file, bool grey) {
  DrawPictureWithDepth(x, y, width, height, LoadPicture(file), grey, 8);
}
void clsPDF::DrawPicture4(float x, float y, float width, float height, const QImage& picture, bool grey) {
  DrawPictureWithDepth(x, y, width, height, picture, grey, 4);
}
void clsPDF::DrawPicture4(float x, float y, float width, float height, const QString& file, bool grey) {
  DrawPictureWithDepth(x, y, width, height, LoadPicture(file), grey, 4);
}
void clsPDF::DrawPicture2(float x, float y, float width, float height, const QImage& picture, bool grey) {
  DrawPictureWithDepth(x, y, width, height, picture, grey, 2);
}
void clsPDF::DrawPicture2(float x, float y, float width, float height, const QString& file, bool grey) {
  DrawPictureWithDepth(x, y, width, height, LoadPicture(file), grey, 2);
}
void clsPDF::DrawPicture1(float x, float y, float width, float height, const QImage& picture, bool grey) {
  DrawPictureWithDepth(x, y, width, height, picture, grey, 1);
}
void clsPDF::DrawPicture1(float x, float y, float width, float height, const QString& file, bool grey) {
  DrawPictureWithDepth(x, y, width, height, LoadPicture(file), grey, 1);
}

}  // namespace orv
