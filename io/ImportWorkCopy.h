#pragma once
// The converted copy of the chosen import file (Windows-1252, CR LF) that the
// import and the merge functions read in the file's place. ImportDatei keeps
// the chosen path, for messages and the export's proposed file name.
#include <QString>

namespace orv {

// Remembers copyPath as the copy of chosenPath ("" for none).
void SetImportWorkCopy(const QString& chosenPath, const QString& copyPath);

// The file to read for ImportDatei: its copy when one was made from it.
QString ImportReadPath();

// Deletes the copy: the import or merge that read it has ended.
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
