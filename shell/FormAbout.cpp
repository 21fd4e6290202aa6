#include "shell/FormAbout.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "shell/ProgramVersion.h"

namespace orv {

FormAbout::FormAbout(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Info zur Anwendung"));
  lblTitle = new QLabel(QStringLiteral("Name der Anwendung"), this);
  QFont titleFont = lblTitle->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
  lblTitle->setFont(titleFont);
  lblVersion = new QLabel(QStringLiteral("Version"), this);
  lblDescription =
      new QLabel(QStringLiteral("Programm zum Konvertieren und Transformieren von Koordinaten"), this);
  lblDescription->setWordWrap(true);
  lblDisclaimer = new QLabel(
      QStringLiteral("Warnung: Dieses Programm wird ohne jede Gewährleistung bereitgestellt. "
                     "Prüfen Sie die Ergebnisse jeder Umrechnung und Transformation an "
                     "bekannten Punkten, bevor Sie sie verwenden."),
      this);
  lblDisclaimer->setWordWrap(true);
  Picture1 = new QLabel(this);
  Picture1->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setDefault(true);
  cmdSysInfo = new QPushButton(QStringLiteral("&Systeminfo..."), this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Picture1, 0, 0, 3, 1, Qt::AlignTop);
  grid->addWidget(lblTitle, 0, 1, 1, 2);
  grid->addWidget(lblVersion, 1, 1, 1, 2);
  grid->addWidget(lblDescription, 2, 1, 1, 2);
  grid->addWidget(lblDisclaimer, 3, 0, 1, 2);
  grid->addWidget(cmdOK, 3, 2, Qt::AlignTop);
  grid->addWidget(cmdSysInfo, 4, 2);
  grid->setColumnStretch(1, 1);
  setMinimumWidth(420);

  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  // cmdSysInfo has no action.
  Form_Load();
}

void FormAbout::Form_Load() {
  setWindowTitle(QStringLiteral("Info zu ") + kProgramTitle);
  lblTitle->setText(kProgramTitle);
  lblVersion->setText(QStringLiteral("Version ") + ProgramVersionText());
}

void FormAbout::cmdOK_Click() { close(); }

}  // namespace orv
