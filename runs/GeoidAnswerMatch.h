#pragma once
// The geoid program's answer matched to the rows it was asked for: each line
// of OUTPUT.USR repeats the latitude and longitude (degrees) of its point,
// and a row takes only a line that repeats its own point, each line once.
// The lines are read forward in a small window around the row's place in the
// answer, so an answer in row order is read once. A row whose line is not in
// its window looks it up in an index of the whole answer, made at the first
// such row, and the window goes on from where that line stands: a line
// missing, doubled or moved, or lines missing or put in between, in any
// number, cost only the rows whose lines they are. In an answer out of
// order line by line the window stays and the rows are looked up.
#include <QString>
#include <QtGlobal>
#include <deque>
#include <utility>
#include <vector>

#include "foundation/TextLineReader.h"

namespace orv {

class GeoidAnswerMatch {
 public:
  // Opens the answer to rows rows; false when it cannot be opened (then no
  // row gets a line).
  bool open(const QString& path, qint64 rows);

  // The line (as read) for the next row, rows asked for in the order of
  // INPUT.USR: the first line near the row's place that repeats latDeg and
  // lonDeg to the decimals it writes them with, else the nearest such line
  // anywhere in the answer that no row has taken; "" when there is none, and
  // for a row without a point (a coordinate that is not finite).
  QString lineFor(double latDeg, double lonDeg);

  // Latitude and longitude from a line of the answer: its second and third
  // number (the first is the undulation) and how many decimals each was
  // written with. False for a line without them. Fields are parted by
  // blanks or TABs, or by the sign of the next number; the first field
  // names the point also when it is no number.
  static bool PointOfLine(const QString& line, double& lat, int& latDecimals, double& lon, int& lonDecimals);

  // The undulation of a line of the answer: its first field, read by the
  // same rule as the point. False when that field is no number.
  static bool UndulationOfLine(const QString& line, double& undulation);

 private:
  struct Line {
    qint64 position;  // among the lines that name a point, from 1
    double lat, lon;
    int latDecimals, lonDecimals;
    QString text;
  };
  // Reads the next line that names a point; it joins the window unless it is
  // before `from` or taken. False at the end of the answer.
  bool readNext(qint64 from);
  void take(qint64 position);
  void buildIndex();
  // The untaken line nearest to place that repeats the point, from the
  // index; 0 when there is none.
  qint64 lookUp(double latDeg, double lonDeg, qint64 place, QString& text);
  // The line at the position, read through the second reader.
  bool lineAt(qint64 position, QString& text);
  // Moves the window so that the lines from `from` on are read next.
  void readFrom(qint64 from);

  QString path_;
  qint64 rows_ = 0;
  TextLineReader answer_;
  std::deque<Line> window_;
  qint64 row_ = 0;    // rows asked for so far
  qint64 read_ = 0;   // position of the last line naming a point that answer_ read
  qint64 drift_ = 0;  // position of the line the window last followed minus its row
  qint64 lastTaken_ = 0;   // position of the last line taken
  bool inWindow_ = true;   // the row before found its line in its window
  bool end_ = false;
  std::vector<bool> taken_;  // by position - 1, for the lines read or indexed

  // The index: for every line naming a point, a hash of its point's cell and
  // its position (hash << 32 | position), sorted; the byte offset of every
  // kCheckpointEvery-th (16th) such line; the decimals (latitude, longitude) the lines are written
  // with. Made at the first row that misses its window.
  bool indexed_ = false;
  std::vector<quint64> index_;
  std::vector<qint64> checkpoints_;
  std::vector<std::pair<int, int>> decimals_;
  TextLineReader probe_;
  qint64 probeRead_ = -1;  // position of the last line naming a point that probe_ read; -1: unknown
};

}  // namespace orv
