#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orv::test {

struct ReadSheet {
    QString name;
    int rows = 0;
    int columns = 0;
    QList<QStringList> cells; // rows x columns, empty cells as ""
};

struct ReadWorkbook {
    bool readable = false;
    QString complaints; // whatever the reader reported besides the cells
    QList<ReadSheet> sheets;
};

// Reads a workbook back with an independent reader (python3-xlrd).
ReadWorkbook readWorkbook(const QString& path);

} // namespace orv::test
