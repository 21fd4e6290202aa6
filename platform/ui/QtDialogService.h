#pragma once
// The dialog service of the running program: real message boxes, input
// boxes and file dialogs, the busy pointer and an event pump that keeps the
// user's input out while a run is busy.
#include <QObject>
#include <functional>

class QInputDialog;

#include "foundation/DialogService.h"

namespace orv {

class QtDialogService : public DialogService, public QObject {
 public:
  QtDialogService();
  ~QtDialogService() override;

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
  void beginWork() override;
  void endWork() override;
  void processEvents() override;
  void exitProgram(int code) override;

  bool isBusy() const { return busy_; }
  // Runs before the process ends (closing databases, unloading windows).
  void setExitHook(std::function<void(int)> hook) { exitHook_ = std::move(hook); }
  // Parent window of the dialogs (the main window); may be null.
  void setDialogParent(QWidget* parent) { parent_ = parent; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Opens the input gate while a dialog of our own is up during a run.
  struct DialogScope {
    explicit DialogScope(QtDialogService& s) : service(s) { ++service.dialogDepth_; }
    ~DialogScope() { --service.dialogDepth_; }
    QtDialogService& service;
  };
  FileDialogResult fileDialog(const FileDialogRequest& request, bool save);
  // The input gate is up while busy or while a piece of work runs.
  void updateInputGate();

  bool busy_ = false;
  int workDepth_ = 0;
  bool gateUp_ = false;
  int dialogDepth_ = 0;
  QWidget* parent_ = nullptr;
  std::function<void(int)> exitHook_;
};

// Sets up an input box: title, prompt, preset answer, German keys, and a
// width that leaves room for the whole title in the window's title bar.
void PrepareInputDialog(QInputDialog& dialog, const QString& prompt, const QString& title, const QString& defaultText);

// True for the events by which a user acts on a window (mouse, keys, wheel,
// touch, a close request from the window manager).
bool IsUserInputEvent(const QEvent* event);

}  // namespace orv
