#pragma once
// Reads the committed reference tables of tests/data/geodesy: one record a
// line, fields separated by blanks, "#" lines are comments.
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <vector>

#include <cmath>

namespace orv::test {

struct ReferenceRecord {
  QStringList fields;
  double number(int i) const { return fields.at(i).toDouble(); }
};

inline std::vector<ReferenceRecord> ReadReferenceFile(const QString& name) {
  std::vector<ReferenceRecord> records;
  QFile file(QStringLiteral(ORV_TEST_DATA_DIR "/geodesy/") + name);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return records;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    records.push_back({line.split(QLatin1Char(' '), Qt::SkipEmptyParts)});
  }
  return records;
}

// An ellipsoid as the program derives it from its coordinate-system table:
// b = (1 − f) a, e = √((a² − b²) / a²).
struct TestEllipsoid {
  double a;
  double b;
  double e;
};

inline TestEllipsoid EllipsoidFromAF(double a, double f) {
  const double b = (1 - f) * a;
  return {a, b, std::pow((a * a - b * b) / (a * a), 0.5)};
}

}  // namespace orv::test
