#pragma once
// The converted copy of the chosen import file (Windows-1252, CR LF) that the
// import and the merge functions read in the file's place. ImportDatei keeps
// the chosen path, for messages and the export's proposed file name.
#include <QString>

#include "foundation/FileIdentity.h"

namespace orv {

// Remembers copyPath as the copy of chosenPath ("" for none), and the file to
// read (the copy, else the chosen file) as its first read found it.
void SetImportWorkCopy(const QString& chosenPath, const QString& copyPath, const FileIdentity& readIdentity);

// The file to read for ImportDatei: its copy when one was made from it.
QString ImportReadPath();

// That file as its first read found it; as it is now when it was not read
// when chosen (a file named by code).
FileIdentity ImportReadIdentity();

// Throws the error of a file changed while it was read when the file to read
// is no longer as its first read found it.
void CheckImportFileUnchanged(const FileIdentity& identity);

// Deletes the copy and forgets the first read: the import or merge that
// read it has ended.
void RemoveImportWorkCopy();

// Deletes the copy when the import that holds it ends, however it ends.
class ImportWorkCopyRemoval {
 public:
  ImportWorkCopyRemoval() = default;
  ~ImportWorkCopyRemoval() { RemoveImportWorkCopy(); }
  ImportWorkCopyRemoval(const ImportWorkCopyRemoval&) = delete;
  ImportWorkCopyRemoval& operator=(const ImportWorkCopyRemoval&) = delete;
};

}  // namespace orv
