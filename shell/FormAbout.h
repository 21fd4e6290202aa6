#pragma once
// Small information window naming the program, its version and purpose.
#include <QDialog>

class QLabel;
class QPushButton;

namespace orv {

class FormAbout : public QDialog {
 public:
  explicit FormAbout(QWidget* parent = nullptr);

  // Sets the caption, the title and the version line.
  void Form_Load();
  void cmdOK_Click();

  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblDescription = nullptr;
  QLabel* lblDisclaimer = nullptr;
  QLabel* Picture1 = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdSysInfo = nullptr;
};

}  // namespace orv
