#include "io/ExportXlsWriter.h"

#include <QRegularExpression>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "platform/db/ForwardQuery.h"
#include "platform/xls/XlsWriter.h"
#include "shell/CoordinateDatabase.h"

namespace orv {

namespace {

// Hands rows to the workbook writer on a thread of its own, so that reading
// the table and encoding the workbook overlap. Rows travel in batches
// through a short queue; the writer is used by that thread alone until
// finish() has returned.
class BackgroundRowWriter {
 public:
  BackgroundRowWriter(XlsWriter& writer, int width) : writer_(writer), width_(width) {
    thread_ = std::thread([this] { run(); });
  }
  ~BackgroundRowWriter() { finish(); }

  // Copies the first `width` cells of the query's current row, without the
  // blanks around them (a point number is stored right-aligned).
  void add(const ForwardQuery& query) {
    for (int c = 0; c < width_; ++c) {
      const QByteArrayView cell = TrimBlankBytes(query.utf8(c));
      current_.bytes.insert(current_.bytes.end(), cell.data(), cell.data() + cell.size());
      current_.ends.push_back(qsizetype(current_.bytes.size()));
    }
    if (current_.ends.size() >= static_cast<size_t>(kBatchRows * width_)) send();
  }

  void finish() {
    if (!thread_.joinable()) return;
    send();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }

 private:
  static constexpr int kBatchRows = 2048;
  static constexpr size_t kQueuedBatches = 16;
  struct Batch {
    std::vector<char> bytes;
    std::vector<qsizetype> ends;  // end of each cell in bytes
  };

  void send() {
    if (current_.ends.empty()) return;
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < kQueuedBatches; });
    const size_t bytes = current_.bytes.size(), cells = current_.ends.size();
    queue_.push_back(std::move(current_));
    current_ = Batch();
    lock.unlock();
    changed_.notify_all();
    // The next batch will be about as large.
    current_.bytes.reserve(bytes);
    current_.ends.reserve(cells);
  }

  void run() {
    std::vector<QByteArrayView> row(static_cast<size_t>(width_));
    for (;;) {
      Batch batch;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !queue_.empty() || done_; });
        if (queue_.empty()) return;
        batch = std::move(queue_.front());
        queue_.pop_front();
      }
      changed_.notify_all();
      qsizetype begin = 0;
      for (size_t i = 0; i < batch.ends.size(); i += static_cast<size_t>(width_)) {
        for (int c = 0; c < width_; ++c) {
          const qsizetype end = batch.ends[i + static_cast<size_t>(c)];
          row[static_cast<size_t>(c)] = QByteArrayView(batch.bytes.data() + begin, end - begin);
          begin = end;
        }
        writer_.writeRowUtf8(row.data(), width_);
      }
    }
  }

  XlsWriter& writer_;
  const int width_;
  Batch current_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Batch> queue_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace

QString DatenFromClause(const QString& gridQuery) {
  static const QRegularExpression pattern(
      QStringLiteral("^\\s*SELECT\\s+\\*(\\s+FROM\\s+Daten\\b.*)$"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch m = pattern.match(gridQuery);
  if (!m.hasMatch()) return QString();
  // Rows of equal keys in the order the grid shows them: by row id.
  const QString from = m.captured(1).trimmed();
  return QLatin1Char(' ') + from +
         (orderBy.match(from).hasMatch() ? QStringLiteral(", rowid") : QStringLiteral(" ORDER BY rowid"));
}

int WriteXlsFile(const ExportJob& job, const XlsExportSource& source) {
  // Entries that name no column of the grid are left out, as the grid's own
  // export does.
  const QStringList& fields = DatenColumnNames();
  QStringList names, header;
  for (const QString& entry : job.columnList.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const int n = static_cast<int>(Val(entry));
    if (n < 1 || n > fields.size() || n > source.captions.size()) continue;
    names << fields.at(n - 1);
    header << source.captions.at(n - 1);
  }
  if (names.isEmpty()) throw OrvenilError(kErrInvalidProcedureCall, QStringLiteral("Keine Spalten gewählt."));
  const int width = static_cast<int>(names.size());
  const QString select = QStringLiteral("SELECT ") + ExportSelectList(names) + source.fromClause;
  const int total = DatenRecordCount(job.db);
  ForwardQuery query(job.db, select);

  XlsWriter writer;
  if (!writer.open(job.path)) throw OrvenilError(kErrPathFileAccess, writer.errorText());
  writer.writeRow(header);
  // Coordinates, heights, undulations and the like are numbers a
  // spreadsheet can compute with; point numbers, codes and the input line
  // stay texts, also where they look like numbers ("0815").
  std::vector<bool> numbers;
  for (const QString& name : names)
    numbers.push_back(name != QLatin1String("Punkt") && name != QLatin1String("C") &&
                      name != QLatin1String("Zeile"));
  writer.setNumberColumns(std::move(numbers));
  MissingCoordinates missing(names);
  int record = 0;
  {
    BackgroundRowWriter rows(writer, width);
    while (query.next()) {
      job.report(++record, total);
      if (!missing.complete(query)) continue;
      rows.add(query);
    }
  }
  if (!writer.close()) throw OrvenilError(kErrDeviceIoError, writer.errorText());
  return missing.count();
}

}  // namespace orv
