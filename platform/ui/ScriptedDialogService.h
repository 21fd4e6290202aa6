#pragma once
// The dialog service of the tests: every prompt must have been announced with
// an expectation and gets its scripted answer; any other prompt is a failure
// (recorded, reported through the failure handler, and thrown as
// UnexpectedPromptError). Every message shown is recorded.
#include <QList>
#include <QPoint>
#include <QStringList>
#include <deque>
#include <functional>
#include <stdexcept>

#include "foundation/DialogService.h"

namespace orv {

class UnexpectedPromptError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

struct RecordedMessage {
  QString text;
  QString title;
  MsgButtons buttons = MsgButtons::Ok;
  MsgIcon icon = MsgIcon::None;
  MsgResult answer = MsgResult::Ok;
};

class ScriptedDialogService : public DialogService {
 public:
  enum class PromptKind { Message, Input, OpenFile, SaveFile, Modal, PopupMenu };

  ScriptedDialogService();
  ~ScriptedDialogService() override;

  // Expectations, answered in the order given. A text filter ("" = any)
  // must be contained in the prompt's text.
  ScriptedDialogService& expectMessage(const QString& textContains, MsgResult answer = MsgResult::Ok);
  // OK with the answer (an empty answer is OK with an empty box).
  ScriptedDialogService& expectInput(const QString& promptContains, const QString& answer);
  ScriptedDialogService& expectInputCancel(const QString& promptContains);
  ScriptedDialogService& expectOpenFile(const QString& fileName, int filterIndex = 1);
  ScriptedDialogService& expectOpenFileCancel();
  ScriptedDialogService& expectSaveFile(const QString& fileName, int filterIndex = 1);
  ScriptedDialogService& expectSaveFileCancel();
  // The handler may fill the dialog's controls; its result is the dialog's result.
  ScriptedDialogService& expectModal(std::function<int(QDialog*)> handler);
  // The handler gets the menu (it may trigger one of its actions).
  ScriptedDialogService& expectPopupMenu(std::function<void(QMenu*)> handler);
  // Messages with only an OK button are then accepted without an expectation
  // (still recorded). Off by default.
  void setAcceptOkMessages(bool accept) { acceptOkMessages_ = accept; }
  // Browser and program starts then fail (still recorded), as on a system
  // without a browser.
  void setProgramStartsFail(bool fail) { startsFail_ = fail; }

  // Runs at every event pump, as a user's click arriving while a run lets
  // window events through.
  void setOnProcessEvents(std::function<void()> hook) { onProcessEvents_ = std::move(hook); }

  // Called with the description of every failure (e.g. to ADD_FAILURE()).
  void setFailureHandler(std::function<void(const QString&)> handler) { onFailure_ = std::move(handler); }

  // Records.
  const QList<RecordedMessage>& messages() const { return messages_; }
  QStringList messageTexts() const;
  const QStringList& inputPrompts() const { return inputPrompts_; }
  // The preset answer of each input box, in the order of inputPrompts().
  const QStringList& inputDefaults() const { return inputDefaults_; }
  const QList<FileDialogRequest>& fileRequests() const { return fileRequests_; }
  const QStringList& openedUrls() const { return openedUrls_; }
  // Program followed by its arguments, one entry per start.
  const QList<QStringList>& startedPrograms() const { return startedPrograms_; }
  const QList<QComboBox*>& openedDropDowns() const { return dropDowns_; }
  // The drop-down lists opened and not closed again.
  const QList<QComboBox*>& openDropDownsNow() const { return openNow_; }
  bool isBusy() const { return busy_; }
  int busyChanges() const { return busyChanges_; }
  int exitCode() const { return exitCode_; }  // -1 until exitProgram ran
  const QStringList& failures() const { return failures_; }
  // Expectations that were not used.
  int pendingExpectations() const { return static_cast<int>(script_.size()); }
  // True when nothing failed and every expectation was used.
  bool allDone() const { return failures_.isEmpty() && script_.empty(); }
  void clearRecords();

  // DialogService
  MsgResult messageBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                       const QString& title) override;
  QString inputBox(const QString& prompt, const QString& title,
                   const QString& defaultText) override;
  InputAnswer inputBoxAnswer(const QString& prompt, const QString& title,
                             const QString& defaultText) override;
  FileDialogResult openFileDialog(const FileDialogRequest& request) override;
  FileDialogResult saveFileDialog(const FileDialogRequest& request) override;
  int showModal(QDialog* dialog) override;
  void openDropDown(QComboBox* combo) override;
  void closeDropDown(QComboBox* combo) override;
  void popupMenu(QMenu* menu, const QPoint& globalPos) override;
  bool openUrl(const QString& urlOrPath) override;
  bool startProgram(const QString& program, const QStringList& arguments) override;
  void setBusy(bool busy) override;
  void processEvents() override;
  void exitProgram(int code) override;

 private:
  struct Expectation {
    PromptKind kind = PromptKind::Message;
    QString textContains;
    MsgResult messageAnswer = MsgResult::Ok;
    QString textAnswer;
    bool inputCancelled = false;
    FileDialogResult fileAnswer;
    std::function<int(QDialog*)> modal;
    std::function<void(QMenu*)> popup;
  };
  static Expectation make(PromptKind kind, const QString& text);
  static Expectation fileChoice(PromptKind kind, const QString& fileName, int filterIndex);
  Expectation take(PromptKind kind, const QString& text, const QString& what);
  [[noreturn]] void fail(const QString& description);

  std::deque<Expectation> script_;
  bool acceptOkMessages_ = false;
  bool startsFail_ = false;
  std::function<void(const QString&)> onFailure_;
  std::function<void()> onProcessEvents_;
  QList<RecordedMessage> messages_;
  QStringList inputPrompts_;
  QStringList inputDefaults_;
  QList<FileDialogRequest> fileRequests_;
  QStringList openedUrls_;
  QList<QStringList> startedPrograms_;
  QList<QComboBox*> dropDowns_;
  QList<QComboBox*> openNow_;
  QStringList failures_;
  bool busy_ = false;
  int busyChanges_ = 0;
  int exitCode_ = -1;
};

// Installs a scripted service for the lifetime of the object and restores
// the previous default afterwards.
class ScopedScriptedDialogs {
 public:
  ScopedScriptedDialogs();
  ~ScopedScriptedDialogs();
  ScriptedDialogService& operator*() { return service_; }
  ScriptedDialogService* operator->() { return &service_; }

 private:
  ScriptedDialogService service_;
};

}  // namespace orv
