#pragma once
// Every message box, input box, file dialog, modal dialog, drop-down opening,
// popup menu, browser or program start, busy pointer, event pump and program
// exit goes through this one interface. The window implementation shows real
// dialogs; the scripted one used by tests answers from a script.
#include <QString>
#include <QStringList>

class QWidget;
class QDialog;
class QComboBox;
class QMenu;
class QPoint;

namespace orv {

enum class MsgIcon { None, Information, Question, Critical, Exclamation };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct FileDialogRequest {
  QString title;
  QString filter;        // "text|pattern|text|pattern…"
  int filterIndex = 1;   // 1-based
  QString fileName;      // proposed name (may include a folder)
  QString initialDir;
  bool overwritePrompt = false;
};

struct FileDialogResult {
  bool cancelled = true;
  QString fileName;
  int filterIndex = 1;   // 1-based
};

// The answer of an input box: OK with an empty box is an empty text, not a
// cancel.
struct InputAnswer {
  bool cancelled = true;
  QString text;
};

class DialogService {
 public:
  virtual ~DialogService() = default;

  virtual MsgResult messageBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                               const QString& title) = 0;
  // Empty text on Cancel.
  virtual QString inputBox(const QString& prompt, const QString& title,
                           const QString& defaultText) = 0;
  // The same box, telling Cancel from OK with an empty text. A service that
  // cannot tell them apart reports an empty text as a cancel.
  virtual InputAnswer inputBoxAnswer(const QString& prompt, const QString& title, const QString& defaultText);
  virtual FileDialogResult openFileDialog(const FileDialogRequest& request) = 0;
  virtual FileDialogResult saveFileDialog(const FileDialogRequest& request) = 0;
  // Shows a dialog modally; returns QDialog's result code.
  virtual int showModal(QDialog* dialog) = 0;
  virtual void openDropDown(QComboBox* combo) = 0;
  // Closes the drop-down list again; nothing happens when it is not open.
  virtual void closeDropDown(QComboBox* combo) = 0;
  // Shows a popup menu at a global position; the chosen action runs its own handler.
  virtual void popupMenu(QMenu* menu, const QPoint& globalPos) = 0;
  // Opens a web address or a document in the desktop's browser / associated
  // program; False where none could be started.
  virtual bool openUrl(const QString& urlOrPath) = 0;
  // Starts a program without a shell and without waiting for it; False where
  // it could not be started or, being a launcher, ended with a failure.
  virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
  // One busy-pointer state, not a stack.
  virtual void setBusy(bool busy) = 0;
  // A piece of work the window's user started runs between these two (they
  // may nest): the user's input stays out of every window but the dialogs it
  // shows, whatever the busy pointer does meanwhile.
  virtual void beginWork() {}
  virtual void endWork() {}
  // Lets pending window events through (user input stays out while busy or
  // while a piece of work runs).
  virtual void processEvents() = 0;
  // Ends the program with the exit code.
  virtual void exitProgram(int code) = 0;
};

// The program-wide service; tests install a scripted one.
DialogService& Dialogs();
void SetDialogService(DialogService* service);  // not owned; nullptr restores the default

}  // namespace orv
