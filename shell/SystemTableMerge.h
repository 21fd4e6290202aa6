#pragma once
// Merging a system table into its file when another instance of the program
// may have changed the file since this instance read it. The rows this
// instance changed (added, edited, deleted) against the rows it read are laid
// onto the rows the file holds now; the other instance's changes stay.
#include <QStringList>
#include <vector>

namespace orv {

using TableRows = std::vector<QStringList>;

struct TableMerge {
  TableRows rows;         // the merged table
  bool conflict = false;  // both sides changed the same rows differently
};

// base: the rows as this instance read (or last wrote) them; mine: the rows
// this instance holds now; theirs: the rows in the file now. Where both
// changed the same rows differently, the result is the file's rows as they
// are, with the conflict reported.
TableMerge MergeTableRows(const TableRows& base, const TableRows& mine, const TableRows& theirs);

}  // namespace orv
