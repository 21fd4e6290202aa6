#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace orv::test {

struct ReadNumber {
    double value = 0;
    QString format; // the number format string, such as "0.0000"
};

struct ReadSheet {
    QString name;
    int rows = 0;
    int columns = 0;
    QList<QStringList> cells; // rows x columns, empty cells as "", numbers as their format shows them
    QMap<std::pair<int, int>, ReadNumber> numbers; // the number cells by row and column; the others are text
};

struct ReadWorkbook {
    bool readable = false;
    QString complaints; // whatever the reader reported besides the cells
    QList<ReadSheet> sheets;
};

// Reads a workbook back with an independent reader (python3-xlrd).
ReadWorkbook readWorkbook(const QString& path);

} // namespace orv::test
