#include "platform/ui/ScriptedDialogService.h"

#include <QCoreApplication>
#include <QDialog>

namespace orv {

namespace {
QString KindName(ScriptedDialogService::PromptKind kind) {
  switch (kind) {
    case ScriptedDialogService::PromptKind::Message: return QStringLiteral("message box");
    case ScriptedDialogService::PromptKind::Input: return QStringLiteral("input box");
    case ScriptedDialogService::PromptKind::OpenFile: return QStringLiteral("open dialog");
    case ScriptedDialogService::PromptKind::SaveFile: return QStringLiteral("save dialog");
    case ScriptedDialogService::PromptKind::Modal: return QStringLiteral("modal dialog");
    case ScriptedDialogService::PromptKind::PopupMenu: return QStringLiteral("popup menu");
  }
  return QString();
}
}  // namespace

ScriptedDialogService::Expectation ScriptedDialogService::make(PromptKind kind, const QString& text) {
  Expectation e;
  e.kind = kind;
  e.textContains = text;
  return e;
}

ScriptedDialogService::ScriptedDialogService() = default;
ScriptedDialogService::~ScriptedDialogService() = default;

ScriptedDialogService& ScriptedDialogService::expectMessage(const QString& textContains, MsgResult answer) {
  Expectation e = make(PromptKind::Message, textContains);
  e.messageAnswer = answer;
  script_.push_back(std::move(e));
  return *this;
}

ScriptedDialogService& ScriptedDialogService::expectInput(const QString& promptContains, const QString& answer) {
  Expectation e = make(PromptKind::Input, promptContains);
  e.textAnswer = answer;
  script_.push_back(std::move(e));
  return *this;
}

ScriptedDialogService& ScriptedDialogService::expectInputCancel(const QString& promptContains) {
  Expectation e = make(PromptKind::Input, promptContains);
  e.inputCancelled = true;
  script_.push_back(std::move(e));
  return *this;
}

ScriptedDialogService::Expectation ScriptedDialogService::fileChoice(PromptKind kind, const QString& fileName,
                                                                     int filterIndex) {
  Expectation e = make(kind, QString());
  e.fileAnswer.cancelled = false;
  e.fileAnswer.fileName = fileName;
  e.fileAnswer.filterIndex = filterIndex;
  return e;
}

ScriptedDialogService& ScriptedDialogService::expectOpenFile(const QString& fileName, int filterIndex) {
  script_.push_back(fileChoice(PromptKind::OpenFile, fileName, filterIndex));
  return *this;
}

ScriptedDialogService& ScriptedDialogService::expectOpenFileCancel() {
  script_.push_back(make(PromptKind::OpenFile, QString()));
  return *this;
}

ScriptedDialogService& ScriptedDialogService::expectSaveFile(const QString& fileName, int filterIndex) {
  script_.push_back(fileChoice(PromptKind::SaveFile, fileName, filterIndex));
  return *this;
}

ScriptedDialogService& ScriptedDialogService::expectSaveFileCancel() {
  script_.push_back(make(PromptKind::SaveFile, QString()));
  return *this;
}

ScriptedDialogService& ScriptedDialogService::expectModal(std::function<int(QDialog*)> handler) {
  Expectation e = make(PromptKind::Modal, QString());
  e.modal = std::move(handler);
  script_.push_back(std::move(e));
  return *this;
}

ScriptedDialogService& ScriptedDialogService::expectPopupMenu(std::function<void(QMenu*)> handler) {
  Expectation e = make(PromptKind::PopupMenu, QString());
  e.popup = std::move(handler);
  script_.push_back(std::move(e));
  return *this;
}

QStringList ScriptedDialogService::messageTexts() const {
  QStringList texts;
  for (const auto& m : messages_) texts << m.text;
  return texts;
}

void ScriptedDialogService::clearRecords() {
  messages_.clear();
  inputPrompts_.clear();
  inputDefaults_.clear();
  fileRequests_.clear();
  openedUrls_.clear();
  startedPrograms_.clear();
  dropDowns_.clear();
  failures_.clear();
  busyChanges_ = 0;
  exitCode_ = -1;
}

void ScriptedDialogService::fail(const QString& description) {
  failures_ << description;
  if (onFailure_) onFailure_(description);
  throw UnexpectedPromptError(description.toStdString());
}

ScriptedDialogService::Expectation ScriptedDialogService::take(PromptKind kind, const QString& text,
                                                               const QString& what) {
  if (script_.empty())
    fail(QStringLiteral("Unexpected %1: %2").arg(KindName(kind), what));
  Expectation e = std::move(script_.front());
  if (e.kind != kind) {
    const QString expected = KindName(e.kind);
    fail(QStringLiteral("Expected %1 (\"%2\") but got %3: %4")
             .arg(expected, e.textContains, KindName(kind), what));
  }
  if (!e.textContains.isEmpty() && !text.contains(e.textContains))
    fail(QStringLiteral("Expected %1 containing \"%2\" but got: %3")
             .arg(KindName(kind), e.textContains, what));
  script_.pop_front();
  return e;
}

MsgResult ScriptedDialogService::messageBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                                            const QString& title) {
  RecordedMessage m{text, title, buttons, icon, MsgResult::Ok};
  if (acceptOkMessages_ && buttons == MsgButtons::Ok) {
    // A plain report needs no expectation, unless the next one is meant for it.
    const bool expected = !script_.empty() && script_.front().kind == PromptKind::Message &&
                          (script_.front().textContains.isEmpty() ||
                           text.contains(script_.front().textContains));
    if (!expected) {
      messages_ << m;
      return MsgResult::Ok;
    }
  }
  messages_ << m;
  const Expectation e = take(PromptKind::Message, text, QStringLiteral("[%1] %2").arg(title, text));
  messages_.last().answer = e.messageAnswer;
  return e.messageAnswer;
}

QString ScriptedDialogService::inputBox(const QString& prompt, const QString& title,
                                        const QString& defaultText) {
  return inputBoxAnswer(prompt, title, defaultText).text;
}

InputAnswer ScriptedDialogService::inputBoxAnswer(const QString& prompt, const QString& title,
                                                  const QString& defaultText) {
  inputPrompts_ << prompt;
  inputDefaults_ << defaultText;
  const Expectation e = take(PromptKind::Input, prompt, QStringLiteral("[%1] %2").arg(title, prompt));
  InputAnswer answer;
  answer.cancelled = e.inputCancelled;
  if (!e.inputCancelled) answer.text = e.textAnswer;
  return answer;
}

FileDialogResult ScriptedDialogService::openFileDialog(const FileDialogRequest& request) {
  fileRequests_ << request;
  return take(PromptKind::OpenFile, request.title, request.title).fileAnswer;
}

FileDialogResult ScriptedDialogService::saveFileDialog(const FileDialogRequest& request) {
  fileRequests_ << request;
  return take(PromptKind::SaveFile, request.title, request.title).fileAnswer;
}

int ScriptedDialogService::showModal(QDialog* dialog) {
  const QString title = dialog ? dialog->windowTitle() : QString();
  Expectation e = take(PromptKind::Modal, title, title);
  return e.modal ? e.modal(dialog) : 0;
}

void ScriptedDialogService::openDropDown(QComboBox* combo) {
  dropDowns_ << combo;
  if (!openNow_.contains(combo)) openNow_ << combo;
}

void ScriptedDialogService::closeDropDown(QComboBox* combo) { openNow_.removeAll(combo); }

void ScriptedDialogService::popupMenu(QMenu* menu, const QPoint&) {
  Expectation e = take(PromptKind::PopupMenu, QString(), QStringLiteral("menu"));
  if (e.popup) e.popup(menu);
}

bool ScriptedDialogService::openUrl(const QString& urlOrPath) {
  openedUrls_ << urlOrPath;
  return !startsFail_;
}

bool ScriptedDialogService::startProgram(const QString& program, const QStringList& arguments) {
  startedPrograms_ << (QStringList{program} + arguments);
  return !startsFail_;
}

void ScriptedDialogService::setBusy(bool busy) {
  if (busy != busy_) ++busyChanges_;
  busy_ = busy;
}

void ScriptedDialogService::processEvents() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (onProcessEvents_) {
    // The hook may itself pump events; it runs once at a time.
    auto hook = std::move(onProcessEvents_);
    hook();
    onProcessEvents_ = std::move(hook);
  }
}

void ScriptedDialogService::exitProgram(int code) { exitCode_ = code; }

ScopedScriptedDialogs::ScopedScriptedDialogs() { SetDialogService(&service_); }
ScopedScriptedDialogs::~ScopedScriptedDialogs() { SetDialogService(nullptr); }

}  // namespace orv
