// The program-wide dialog service. Until a window program or a test installs
// one, a fallback refuses everything that would need an answer from a person,
// so that code run without a service fails loudly instead of guessing.
#include "foundation/DialogService.h"

#include "foundation/OrvenilError.h"

namespace orv {

namespace {

[[noreturn]] void Refuse(const QString& what) {
  throw OrvenilError(kErrInvalidProcedureCall,
                     "Kein Dialogdienst eingerichtet: " + what + " ist ohne Benutzeroberfläche nicht möglich.");
}

class NoDialogService final : public DialogService {
 public:
  MsgResult messageBox(const QString& text, MsgButtons, MsgIcon, const QString& title) override {
    Refuse("Meldung \"" + title + "\": " + text);
  }
  QString inputBox(const QString& prompt, const QString& title, const QString&) override {
    Refuse("Eingabe \"" + title + "\": " + prompt);
  }
  FileDialogResult openFileDialog(const FileDialogRequest& request) override {
    Refuse("Dateiauswahl \"" + request.title + "\"");
  }
  FileDialogResult saveFileDialog(const FileDialogRequest& request) override {
    Refuse("Speichern unter \"" + request.title + "\"");
  }
  int showModal(QDialog*) override { Refuse(QStringLiteral("Ein Dialogfenster")); }
  void openDropDown(QComboBox*) override { Refuse(QStringLiteral("Das Öffnen einer Auswahlliste")); }
  void closeDropDown(QComboBox*) override {}
  void popupMenu(QMenu*, const QPoint&) override { Refuse(QStringLiteral("Ein Kontextmenü")); }
  bool openUrl(const QString& urlOrPath) override { Refuse("Das Öffnen von " + urlOrPath); }
  bool startProgram(const QString& program, const QStringList&) override {
    Refuse("Der Start von " + program);
  }
  void setBusy(bool) override {}
  void processEvents() override {}
  void exitProgram(int code) override { Refuse("Das Beenden (Code " + QString::number(code) + ")"); }
};

NoDialogService& Fallback() {
  static NoDialogService service;
  return service;
}

DialogService* g_service = nullptr;

}  // namespace

InputAnswer DialogService::inputBoxAnswer(const QString& prompt, const QString& title,
                                          const QString& defaultText) {
  InputAnswer answer;
  answer.text = inputBox(prompt, title, defaultText);
  answer.cancelled = answer.text.isEmpty();
  return answer;
}

DialogService& Dialogs() { return g_service ? *g_service : Fallback(); }

void SetDialogService(DialogService* service) { g_service = service; }

}  // namespace orv
