#include "runs/DatenBlockRun.h"

#include <QElapsedTimer>
#include <optional>

#include "foundation/BlockWorkers.h"
#include "foundation/OrvenilError.h"
#include "foundation/VectorState.h"
#include "platform/db/FieldValue.h"
#include "platform/db/ForwardQuery.h"
#include "platform/db/RowUpdate.h"
#include "platform/db/RunTransaction.h"

namespace orv {

namespace {

constexpr size_t kBlockRows = 8192;
constexpr qint64 kProgressIntervalMs = 200;

struct RowBlock {
  std::vector<DatenRunRow> rows;
  size_t used = 0;
  bool stopsAtLast = false;  // the last row read has a Null start column
};

}  // namespace

void RowTexts::add(const QString& text) {
  const qsizetype size = text.size();
  const char16_t* units = reinterpret_cast<const char16_t*>(text.constData());
  for (qsizetype i = 0; i < size; ++i) {
    if (units[i] >= 0x80) {
      // Texts of numbers are ASCII; anything else goes through the full conversion.
      bytes_ += text.mid(i).toStdString();
      break;
    }
    bytes_.push_back(static_cast<char>(units[i]));
  }
  ends_.push_back(bytes_.size());
}

void DatenBlockRun::run(qint64 count, const Compute& compute, const BeforeStore& beforeStore,
                        const Progress& progress) {
  RunTransaction transaction(db_);
  if (options_.undoOnError) transaction.mark();
  try {
    RowUpdate update(db_, QStringLiteral("Daten"), write_);
    std::optional<ForwardQuery> query;
    if (!source_) {
      QString sql = QStringLiteral("SELECT rowid");
      for (const QString& c : read_) sql += QStringLiteral(", [") + c + QLatin1Char(']');
      sql += QStringLiteral(" FROM Daten ORDER BY rowid");
      query.emplace(db_, sql);
    }
    const int readCount = static_cast<int>(read_.size());

    bool readingDone = false;
    qint64 readRows = 0;
    const auto readBlock = [&](RowBlock& block) {
      block.used = 0;
      block.stopsAtLast = false;
      while (!readingDone && block.used < kBlockRows) {
        if (block.used == block.rows.size()) block.rows.emplace_back();
        DatenRunRow& row = block.rows[block.used];
        // The texts are made on the worker that computes the row.
        row.read.clear();
        row.nullColumn = -1;
        if (source_) {
          if (!source_(row.rowId, row.read)) {
            readingDone = true;
            break;
          }
        } else {
          if (!query->next()) {
            readingDone = true;
            break;
          }
          row.rowId = query->integer(0);
          for (int c = 0; c < readCount; ++c) {
            if (!options_.nullReadsEmpty && row.nullColumn < 0 && query->isNull(c + 1)) row.nullColumn = c;
            row.read.addUtf8(query->utf8(c + 1));
          }
        }
        ++block.used;
        row.index = ++readRows;
        row.errorNumber = 0;
        row.error.clear();
        if (row.nullColumn >= 0) {
          // The rows after it are never reached.
          block.stopsAtLast = true;
          readingDone = true;
        }
      }
    };
    const auto computeRow = [&compute](DatenRunRow& row) {
      row.out.clear();
      row.keep = false;
      if (row.nullColumn >= 0) return;
      row.in.resize(static_cast<size_t>(row.read.count()));
      for (int c = 0; c < row.read.count(); ++c) {
        const QByteArrayView bytes = row.read.at(c);
        row.in[static_cast<size_t>(c)] = QString::fromUtf8(bytes.data(), bytes.size());
      }
      // Whatever ran on this thread before (the window thread hashes
      // strings all the time) must not slow the row's arithmetic.
      ClearUpperVectorState();
      try {
        compute(row);
      } catch (const OrvenilError& e) {
        row.errorNumber = e.number();
        row.error = e.description();
      } catch (const std::exception& e) {
        row.errorNumber = 5;
        row.error = QString::fromUtf8(e.what());
      }
    };

    qint64 index = 0;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    const auto storeBlock = [&](RowBlock& block) {
      for (size_t i = 0; i < block.used; ++i) {
        DatenRunRow& row = block.rows[i];
        ++index;
        if (index == 1 || index == count || sinceProgress.elapsed() >= kProgressIntervalMs) {
          progress(index, count);
          sinceProgress.restart();
        }
        if (row.nullColumn >= 0) InvalidUseOfNull();
        if (row.errorNumber != 0) throw OrvenilError(row.errorNumber, row.error);
        beforeStore(index, row);
        if (row.keep) continue;
        for (int c = 0; c < row.out.count(); ++c) update.bindText(c, row.out.at(c));
        update.execute(row.rowId);
      }
    };

    RowBlock current, next;  // outlive the workers that fill them
    BlockWorkers workers;
    readBlock(current);
    workers.start(current.used, [&](size_t i) { computeRow(current.rows[i]); });
    workers.join();
    for (;;) {
      next.used = 0;
      if (!readingDone) {
        readBlock(next);
        workers.start(next.used, [&](size_t i) { computeRow(next.rows[i]); });
      }
      storeBlock(current);
      workers.join();
      if (next.used == 0) break;
      std::swap(current, next);
    }
  } catch (...) {
    if (options_.undoOnError) transaction.undoToMark();
    throw;
  }
  transaction.commit();
}

}  // namespace orv
