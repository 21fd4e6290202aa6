#include "shell/SystemTableMerge.h"

#include <algorithm>

namespace orv {

namespace {

// A change of one side: base rows [start, end) replaced by `rows`.
struct Hunk {
  int start = 0;
  int end = 0;
  TableRows rows;
  int side = 0;  // 0 = the file's, 1 = this instance's
};

// For every base row the index of the same row in `other` along a longest
// common subsequence, or -1 where the row was changed or removed there.
std::vector<int> MatchRows(const TableRows& base, const TableRows& other) {
  const int nb = static_cast<int>(base.size());
  const int no = static_cast<int>(other.size());
  std::vector<int> match(nb, -1);
  // Equal rows at both ends need no table.
  int head = 0;
  while (head < nb && head < no && base[head] == other[head]) match[head] = head, ++head;
  int tail = 0;
  while (tail < nb - head && tail < no - head && base[nb - 1 - tail] == other[no - 1 - tail]) {
    match[nb - 1 - tail] = no - 1 - tail;
    ++tail;
  }
  const int rows = nb - head - tail;
  const int cols = no - head - tail;
  if (rows == 0 || cols == 0) return match;
  // lcs[i][j]: length of the common subsequence of the middle parts from i and j on.
  std::vector<int> lcs(static_cast<size_t>(rows + 1) * (cols + 1), 0);
  const auto at = [&](int i, int j) -> int& { return lcs[static_cast<size_t>(i) * (cols + 1) + j]; };
  for (int i = rows - 1; i >= 0; --i)
    for (int j = cols - 1; j >= 0; --j)
      at(i, j) = base[head + i] == other[head + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
  for (int i = 0, j = 0; i < rows && j < cols;) {
    if (base[head + i] == other[head + j]) {
      match[head + i] = head + j;
      ++i, ++j;
    } else if (at(i + 1, j) >= at(i, j + 1)) {
      ++i;
    } else {
      ++j;
    }
  }
  return match;
}

std::vector<Hunk> ChangesAgainstBase(const TableRows& base, const TableRows& other, int side) {
  const std::vector<int> match = MatchRows(base, other);
  const int nb = static_cast<int>(base.size());
  std::vector<Hunk> hunks;
  int i = 0;
  int j = 0;
  while (true) {
    int k = i;
    while (k < nb && match[k] < 0) ++k;
    const int otherEnd = k < nb ? match[k] : static_cast<int>(other.size());
    if (k > i || otherEnd > j)
      hunks.push_back(Hunk{i, k, TableRows(other.begin() + j, other.begin() + otherEnd), side});
    if (k >= nb) break;
    i = k + 1;
    j = otherEnd + 1;
  }
  return hunks;
}

bool SameChange(const Hunk& a, const Hunk& b) { return a.start == b.start && a.end == b.end && a.rows == b.rows; }

}  // namespace

TableMerge MergeTableRows(const TableRows& base, const TableRows& mine, const TableRows& theirs) {
  if (mine == base) return TableMerge{theirs, false};
  if (theirs == base || theirs == mine) return TableMerge{mine, false};
  std::vector<Hunk> hunks = ChangesAgainstBase(base, theirs, 0);
  for (Hunk& h : ChangesAgainstBase(base, mine, 1)) hunks.push_back(std::move(h));
  // In base order; rows inserted at one place come before a change that
  // starts there, the file's before this instance's.
  std::stable_sort(hunks.begin(), hunks.end(), [](const Hunk& a, const Hunk& b) {
    if (a.start != b.start) return a.start < b.start;
    if (a.end != b.end) return a.end < b.end;
    return a.side < b.side;
  });
  TableMerge merged;
  int next = 0;     // first base row not yet taken
  int covered = 0;  // end of the base rows changed so far
  const Hunk* previous = nullptr;
  for (const Hunk& h : hunks) {
    if (previous && SameChange(h, *previous)) continue;
    if (previous && h.start < covered) {
      // Both removed rows here: the removals add up.
      if (h.rows.empty() && previous->rows.empty()) {
        next = covered = std::max(covered, h.end);
        continue;
      }
      merged.conflict = true;
      break;
    }
    merged.rows.insert(merged.rows.end(), base.begin() + next, base.begin() + h.start);
    merged.rows.insert(merged.rows.end(), h.rows.begin(), h.rows.end());
    next = covered = h.end;
    previous = &h;
  }
  if (merged.conflict) return TableMerge{theirs, true};
  merged.rows.insert(merged.rows.end(), base.begin() + next, base.end());
  return merged;
}

}  // namespace orv
