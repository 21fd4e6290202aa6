#pragma once
// The start-data dialog "Eigenschaften der Startdaten für Lage und Höhe":
// start system, kind of coordinates, notation of geographic input, geoid
// model, sign of the undulation, approximate height and special import
// mode. It only sets program-wide variables and a few controls of the main
// window; the import chain then imports with them.
#include <QDialog>

class QPushButton;
class QTimer;

namespace orv {

class FormOrvenil;
class OptionArray;
class VbCheckBox;
class VbComboBox;
class VbFrame;
class VbTextBox;

class FormOrvenilSystemAuswahl : public QDialog {
 public:
  // Builds the controls and runs Form_Load.
  explicit FormOrvenilSystemAuswahl(FormOrvenil& main, QWidget* parent = nullptr);

  void Form_Load();
  void Timer1_Timer();
  void Startsys_Click(int index);
  void StartAbbildung_Click(int index);
  void FormatEingabeGeographisch_Click(int index);
  void Sonderfunktion_Click(int index);
  void cmbGeoidmodell_Click();
  void UndulationMinus_Click();
  void chkStartOhneNäherungshöhe_Click();
  void cmdLaden_Click();

  OptionArray* Startsys = nullptr;
  OptionArray* StartAbbildung = nullptr;
  VbFrame* sevFrameFormatGeogr = nullptr;
  OptionArray* FormatEingabeGeographisch = nullptr;
  VbComboBox* cmbGeoidmodell = nullptr;
  VbCheckBox* UndulationMinus = nullptr;
  OptionArray* Sonderfunktion = nullptr;
  VbTextBox* orthoNäherungshöhe = nullptr;
  VbCheckBox* chkStartOhneNäherungshöhe = nullptr;
  QPushButton* cmdLaden = nullptr;
  QTimer* Timer1 = nullptr;

 protected:
  // Escape or closing the window cancels the import.
  void reject() override;

 private:
  void setUpControls();
  void resetGeoidChoice();
  FormOrvenil& main_;
};

}  // namespace orv
