#pragma once
// Qt's own texts in German: the keys of message boxes and the file dialogs
// ("Abbrechen", "Suchen in:") speak the program's language.
class QCoreApplication;

namespace orv {

// Loads Qt's German translation from Qt's translations folder and installs
// it in the application. Returns false when it is not installed there (the
// standard dialogs then keep Qt's English texts).
bool InstallGermanQtTranslation(QCoreApplication& app);

}  // namespace orv
