#include "gridtool/ExchangeLines.h"

#include "gridtool/Undulation.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace orv {

bool ReadExchangeLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buf = in.rdbuf();
  for (;;) {
    const int c = buf->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      return !line.empty();
    }
    if (c == '\n') return true;
    if (c == '\r') {
      if (buf->sgetc() == '\n') buf->sbumpc();
      return true;
    }
    line.push_back(static_cast<char>(c));
  }
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads one number at pos (after blanks); pos moves past it.
bool ReadNumber(const std::string& s, std::size_t& pos, double& value) {
  while (pos < s.size() && IsBlank(s[pos])) ++pos;
  std::size_t start = pos;
  const bool plus = start < s.size() && s[start] == '+';
  if (plus) ++start;  // from_chars takes no plus sign
  const char* first = s.data() + start;
  const char* last = s.data() + s.size();
  // Only plain decimal numbers: no "nan", "inf" or hexadecimal forms.
  if (first == last ||
      !(std::isdigit(static_cast<unsigned char>(*first)) || *first == '.' || (*first == '-' && !plus)))
    return false;
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() || !std::isfinite(value)) return false;
  if (end != last && !IsBlank(*end)) return false;
  pos = std::size_t(end - s.data());
  return true;
}

}  // namespace

bool ParsePointLine(const std::string& line, double& latRad, double& lonRad) {
  std::size_t pos = 0;
  double lat = 0.0;
  double lon = 0.0;
  if (!ReadNumber(line, pos, lat) || !ReadNumber(line, pos, lon)) return false;
  latRad = lat;
  lonRad = lon;
  return true;
}

std::string FixedField(double value, int width, int decimals) {
  const std::string overflow(std::size_t(width), '*');
  if (!std::isfinite(value) || std::fabs(value) >= 1e15) return overflow;
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return overflow;
  std::string text(buf, end);
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  if (text.size() > std::size_t(width)) return overflow;
  return std::string(std::size_t(width) - text.size(), ' ') + text;
}

std::string FormatResultLine(double undulation, double latDeg, double lonDeg) {
  std::string n = FixedField(undulation, 10, 3);
  if (n[0] == '*') n = FixedField(kNoUndulation, 10, 3);
  // Readers take the undulation as the number at the start of the line. A
  // latitude field without a leading blank or sign (from 100 degrees on,
  // which no point on earth has) would run on into it, so it is written as
  // overflow instead.
  std::string lat = FixedField(latDeg, 10, 6);
  if (std::isdigit(static_cast<unsigned char>(lat[0]))) lat.assign(10, '*');
  return n + lat + FixedField(lonDeg, 10, 6);
}

}  // namespace orv
