#include "io/ImportBlocks.h"

#include <utility>

#include "foundation/OrvenilError.h"
#include "io/ImportLineFormats.h"

namespace orv {

bool FormatNeedsNoEarlierLine(int filterIndex) {
  return (filterIndex >= 1 && filterIndex <= 4) || filterIndex == 6 || filterIndex == kFilterVesselA;
}

void EncodeRow(PendingLine& p) {
  p.bytes.clear();
  p.utf16 = false;
  for (int c = 0; c < kDatenColumnCount; ++c) {
    if (c != kId && p.row.written[static_cast<size_t>(c)] && !p.utf16)
      p.utf16 = !RowInsert::AppendStoredUtf8(p.row.at(c), p.bytes);
    p.textEnd[static_cast<size_t>(c)] = static_cast<uint32_t>(p.bytes.size());
  }
}

void StoreRow(RowInsert& insert, const PendingLine& p) {
  insert.bindInteger(kId, p.counter);
  uint32_t begin = 0;
  for (int c = 0; c < kDatenColumnCount; ++c) {
    const uint32_t end = p.textEnd[static_cast<size_t>(c)];
    if (c != kId && p.row.written[static_cast<size_t>(c)]) {
      if (p.utf16) insert.bindText16(c, p.row.at(c));
      else insert.bindText(c, QByteArrayView(p.bytes.data() + begin, end - begin));
    }
    begin = end;
  }
  insert.add();
}

void PrefetchRow(const PendingLine& p) {
  const char* bytes = p.bytes.data();
  for (size_t k = 0; k < p.bytes.size(); k += 64) __builtin_prefetch(bytes + k);
  const char* ends = reinterpret_cast<const char*>(p.textEnd.data());
  for (size_t k = 0; k < sizeof p.textEnd; k += 64) __builtin_prefetch(ends + k);
}

void RowWriter::start(std::function<void()> work) {
  join();
  thread_ = std::thread([this, work = std::move(work)] {
    try {
      work();
    } catch (...) {
      error_ = std::current_exception();
    }
  });
}

void RowWriter::join() {
  if (thread_.joinable()) thread_.join();
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

PendingLine& LineBlock::add() {
  if (used == lines.size()) lines.emplace_back();
  PendingLine& p = lines[used++];
  p.kind = PendingLine::Kind::Row;
  p.counted = false;
  p.normaliseLater = false;
  p.meridian = 0;
  p.store = false;
  p.result = BranchResult();
  p.error.clear();
  p.failure = nullptr;
  p.line.clear();
  return p;
}

void RowComputer::compute(PendingLine& p) const {
  if (p.kind != PendingLine::Kind::Row) return;
  try {
    if (p.normaliseLater && !normalise(p)) return;
    p.row.reset();
    if (kind_ == 0)
      p.result = ImportProjectedLine(p.line, sys_, p.meridian, p.row);
    else if (kind_ == 1)
      p.result = ImportGeocentricLine(p.line, sys_, p.row);
    else if (kind_ == 2)
      p.result = ImportGeographicLine(p.line, p.raw, sys_, p.row);
    if (p.result.outcome == BranchOutcome::Filled) {
      CompleteImportRow(p.row, tail_);
      // A row of the first vessel format is named in file order first.
      if (!sys_.vesselA) EncodeRow(p);
    }
  } catch (const OrvenilError& e) {
    p.error = e.description();
  } catch (const std::exception& e) {
    p.error = QString::fromUtf8(e.what());
  }
}

bool RowComputer::normalise(PendingLine& p) const {
  ImportLineState unused;
  QString refusal;
  const LineDecision decision = NormaliseImportLine(p.line, filterIndex_, unused, QString(), &refusal);
  if (decision == LineDecision::Refuse) {
    p.result = {BranchOutcome::BadLine, refusal};
    return false;
  }
  if (decision != LineDecision::Use) {
    p.kind = PendingLine::Kind::Skipped;
    p.counted = decision == LineDecision::SkipCounted;
    return false;
  }
  return true;
}

}  // namespace orv
