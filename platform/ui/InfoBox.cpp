#include "platform/ui/InfoBox.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace orv {

FormInfo::FormInfo(QWidget* parent, std::function<void()> onAbort)
    : QDialog(parent), onAbort_(std::move(onAbort)) {
  setWindowTitle(QStringLiteral("Infobox - Abbruch Aktion mit [ESC] "));
  auto* layout = new QVBoxLayout(this);
  info = new QPlainTextEdit(this);
  info->setObjectName(QStringLiteral("info"));
  Command1 = new QPushButton(QStringLiteral("Weiter"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setAutoDefault(false);
  layout->addWidget(info);
  layout->addWidget(Command1);
  info->installEventFilter(this);
  // A change of the text puts the caret at its end.
  connect(info, &QPlainTextEdit::textChanged, this, [this] {
    QTextCursor c = info->textCursor();
    c.movePosition(QTextCursor::End);
    info->setTextCursor(c);
  });
  connect(Command1, &QPushButton::clicked, this, [this] {
    close();
    if (parentWidget()) parentWidget()->activateWindow();
  });
}

void FormInfo::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    // Swallowed: the box stays open, the abort flag is raised.
    RequestAbort();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void FormInfo::RequestAbort() {
  abort_ = true;
  if (onAbort_) onAbort_();
}

bool FormInfo::eventFilter(QObject* watched, QEvent* event) {
  if (watched == info && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    RequestAbort();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace orv
