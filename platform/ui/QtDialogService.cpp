#include "platform/ui/QtDialogService.h"

#include <QApplication>
#include <QComboBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

#include "platform/ui/CommonDialog.h"
#include "platform/ui/FileDialogView.h"
#include "platform/ui/ScreenFit.h"

namespace orv {

namespace {

constexpr int kProgramStartMs = 5000;
constexpr int kLauncherEndMs = 3000;

}  // namespace

bool IsUserInputEvent(const QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::Drop:
      return true;
    case QEvent::Close:
      // Only the window manager's close request counts; code may close windows.
      return event->spontaneous();
    default:
      return false;
  }
}

QtDialogService::QtDialogService() = default;

QtDialogService::~QtDialogService() {
  workDepth_ = 0;
  if (busy_) setBusy(false);
  updateInputGate();
}

MsgResult QtDialogService::messageBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                                      const QString& title) {
  DialogScope scope(*this);
  QMessageBox box(parent_);
  box.setWindowTitle(title);
  // The program's texts break lines with CR LF, CR or LF and are never markup.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  box.setTextFormat(Qt::PlainText);
  box.setText(shown);
  switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
  }
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  switch (buttons) {
    case MsgButtons::Ok:
      ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      break;
    case MsgButtons::OkCancel:
      ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
      break;
    case MsgButtons::YesNo:
      yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
      no = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
      break;
    case MsgButtons::YesNoCancel:
      yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
      no = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
      cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
      break;
  }
  box.setDefaultButton(ok ? ok : yes);
  if (cancel) box.setEscapeButton(cancel);
  else if (no) box.setEscapeButton(no);
  else box.setEscapeButton(ok);
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  QApplication::restoreOverrideCursor();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked && clicked == yes) return MsgResult::Yes;
  if (clicked && clicked == no) return MsgResult::No;
  if (clicked && clicked == ok) return MsgResult::Ok;
  if (cancel) return MsgResult::Cancel;
  if (no) return MsgResult::No;
  return MsgResult::Ok;
}

void PrepareInputDialog(QInputDialog& dialog, const QString& prompt, const QString& title, const QString& defaultText) {
  dialog.setWindowTitle(title);
  dialog.setLabelText(prompt);
  dialog.setTextValue(defaultText);
  dialog.setOkButtonText(QStringLiteral("OK"));
  dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
  // A title bar draws the title in a bold font beside the window's icon and
  // its keys; a box only as wide as its prompt would cut a long title.
  QFont titleFont = dialog.font();
  titleFont.setBold(true);
  // The box takes its width from its layout, so the prompt asks for it.
  constexpr int kTitleBarExtras = 160;
  if (auto* label = dialog.findChild<QLabel*>())
    label->setMinimumWidth(QFontMetrics(titleFont).horizontalAdvance(title) + kTitleBarExtras);
}

QString QtDialogService::inputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) {
  return inputBoxAnswer(prompt, title, defaultText).text;
}

InputAnswer QtDialogService::inputBoxAnswer(const QString& prompt, const QString& title,
                                            const QString& defaultText) {
  DialogScope scope(*this);
  QInputDialog dialog(parent_);
  PrepareInputDialog(dialog, prompt, title, defaultText);
  InputAnswer answer;
  if (dialog.exec() != QDialog::Accepted) return answer;
  answer.cancelled = false;
  answer.text = dialog.textValue();
  return answer;
}

FileDialogResult QtDialogService::fileDialog(const FileDialogRequest& request, bool save) {
  DialogScope scope(*this);
  QFileDialog dialog(parent_, request.title);
  PrepareFileDialog(dialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save && !request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  const QStringList filters = QtNameFilters(request.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int index = request.filterIndex >= 1 && request.filterIndex <= filters.size()
                          ? request.filterIndex : 1;
    dialog.selectNameFilter(filters.at(index - 1));
  }
  QString dir = request.initialDir;
  if (!request.fileName.isEmpty()) {
    const QFileInfo info(request.fileName);
    if (info.isAbsolute() || request.fileName.contains(QLatin1Char('/'))) {
      if (dir.isEmpty()) dir = info.absolutePath();
    }
    if (!dir.isEmpty()) dialog.setDirectory(dir);
    dialog.selectFile(info.fileName());
  } else if (!dir.isEmpty()) {
    dialog.setDirectory(dir);
  }
  FileDialogResult result;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
  result.cancelled = false;
  result.fileName = dialog.selectedFiles().constFirst();
  const int chosen = filters.indexOf(dialog.selectedNameFilter());
  result.filterIndex = chosen >= 0 ? chosen + 1 : request.filterIndex;
  return result;
}

FileDialogResult QtDialogService::openFileDialog(const FileDialogRequest& request) {
  return fileDialog(request, false);
}

FileDialogResult QtDialogService::saveFileDialog(const FileDialogRequest& request) {
  return fileDialog(request, true);
}

int QtDialogService::showModal(QDialog* dialog) {
  DialogScope scope(*this);
  dialog->setWindowModality(Qt::ApplicationModal);
  // No larger than the screen, so that its keys stay on it.
  FitWindowToScreen(dialog);
  return dialog->exec();
}

void QtDialogService::openDropDown(QComboBox* combo) {
  if (combo) combo->showPopup();
}

void QtDialogService::closeDropDown(QComboBox* combo) {
  if (combo) combo->hidePopup();
}

void QtDialogService::popupMenu(QMenu* menu, const QPoint& globalPos) {
  DialogScope scope(*this);
  if (menu) menu->exec(globalPos);
}

bool QtDialogService::openUrl(const QString& urlOrPath) {
  QUrl url(urlOrPath);
  if (url.scheme().isEmpty() || QFileInfo::exists(urlOrPath)) url = QUrl::fromLocalFile(urlOrPath);
  // The desktop's opener tells by its exit code whether it found a program
  // for the address; Qt's own start would report success all the same.
  if (!QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
    return startProgram(QStringLiteral("xdg-open"), {url.isLocalFile() ? url.toLocalFile() : url.toString()});
  return QDesktopServices::openUrl(url);
}

bool QtDialogService::startProgram(const QString& program, const QStringList& arguments) {
  // Not parented: a program still running when this program ends goes on.
  auto* process = new QProcess;
  process->setProgram(program);
  process->setArguments(arguments);
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  process->start();
  if (!process->waitForStarted(kProgramStartMs)) {
    delete process;
    return false;
  }
  // A launcher such as xdg-open ends soon, failing where it finds no program
  // to hand the file to; one still running is the program itself.
  if (process->waitForFinished(kLauncherEndMs)) {
    const bool started = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    delete process;
    return started;
  }
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  return true;
}

void QtDialogService::setBusy(bool busy) {
  if (busy == busy_) return;  // one state, not a stack
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
  updateInputGate();
}

void QtDialogService::beginWork() {
  ++workDepth_;
  updateInputGate();
}

void QtDialogService::endWork() {
  if (workDepth_ > 0) --workDepth_;
  updateInputGate();
}

void QtDialogService::updateInputGate() {
  const bool up = busy_ || workDepth_ > 0;
  if (up == gateUp_) return;
  gateUp_ = up;
  if (up)
    qApp->installEventFilter(this);
  else
    qApp->removeEventFilter(this);
}

void QtDialogService::processEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool QtDialogService::eventFilter(QObject* watched, QEvent* event) {
  // While a run is busy or a piece of work runs, the user's clicks and keys
  // are dropped so that no second command (end, import, …) starts in the
  // middle of it. Dialogs the work itself shows stay usable.
  if (gateUp_ && dialogDepth_ == 0 && watched->isWidgetType() && IsUserInputEvent(event)) {
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* popup = QApplication::activePopupWidget();
    auto* w = static_cast<QWidget*>(watched);
    const bool inside = (modal && (w == modal || modal->isAncestorOf(w))) ||
                        (popup && (w == popup || popup->isAncestorOf(w)));
    if (!inside) {
      if (event->type() == QEvent::Close) event->ignore();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void QtDialogService::exitProgram(int code) {
  if (busy_) setBusy(false);
  if (exitHook_) exitHook_(code);
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(code);
}

}  // namespace orv
