#pragma once
// The geoid program's answer matched to the rows it was asked for: each line
// of OUTPUT.USR repeats the latitude and longitude (degrees) of its point,
// and a row takes only a line that repeats its own point. The lines are read
// forward in a small window around the row's place in the answer, so a line
// missing, doubled, swapped with its neighbour or an empty line between
// costs at most the one row, never the rows after it.
#include <QString>
#include <deque>

namespace orv {

class TextLineReader;

class GeoidAnswerMatch {
 public:
  // answer: the open OUTPUT.USR; a closed reader gives no row a line.
  explicit GeoidAnswerMatch(TextLineReader& answer) : answer_(answer) {}

  // The line (as read) for the next row, rows asked for in the order of
  // INPUT.USR: the first line near the row's place that repeats latDeg and
  // lonDeg to the decimals it writes them with; "" when none does, and for a
  // row without a point (a coordinate that is not finite).
  QString lineFor(double latDeg, double lonDeg);

  // Latitude and longitude from a line of the answer: its second and third
  // number (the first is the undulation) and how many decimals each was
  // written with. False for a line without three numbers.
  static bool PointOfLine(const QString& line, double& lat, int& latDecimals, double& lon, int& lonDecimals);

 private:
  struct Line {
    qint64 position;  // among the lines that name a point, from 1
    double lat, lon;
    int latDecimals, lonDecimals;
    QString text;
  };
  bool readNext();

  TextLineReader& answer_;
  std::deque<Line> window_;
  qint64 row_ = 0;        // rows asked for so far
  qint64 read_ = 0;       // lines naming a point read so far
  qint64 drift_ = 0;      // position of the last line taken minus its row
  bool end_ = false;
};

}  // namespace orv
