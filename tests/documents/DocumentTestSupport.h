#pragma once
// Helpers of the document tests: running the outside tools that judge our
// files, and taking our PDF apart.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace orv::testing {

struct ToolResult {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};

// Runs a program (no shell) and waits for it; exitCode -1 when it did not run.
ToolResult RunTool(const QString& program, const QStringList& args);

// The data of every content stream, in file order.
std::vector<QByteArray> ContentStreams(const QByteArray& pdf);

// Checks the cross-reference table: every entry 20 bytes and pointing at
// "n 0 obj"; returns an empty text when all is well, else what is wrong.
QString CheckCrossReference(const QByteArray& pdf);

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

}  // namespace orv::testing
