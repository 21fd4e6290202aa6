#pragma once
// The export column dialog: which columns of the coordinate table are written
// and in which order. Position presets, a height choice, a tick for the geoid
// undulation and free ticks fill the output order; "speichern" turns it into
// the program-wide lists SpeichernSpaltenNr (column numbers) and
// SpeichernSpalten (captions).
#include <QDialog>
#include <QStringList>
#include <vector>

class QPushButton;
class QTimer;

namespace orv {

class DataGrid;
class VbCheckBox;
class VbComboBox;

// The position presets in list order: text, ticked rows (";"-separated row
// numbers), and whether the preset marks the export as preset-driven
// (ExportVorlageAktiv). The first two ("alles auswählen", "alles abwählen")
// have no row list.
struct ExportPreset {
  const char* text;
  const char* rows;
  bool active;
};
const std::vector<ExportPreset>& ExportPresets();

class FormOrvenilExport : public QDialog {
 public:
  // columnCaptions: the captions of the coordinate grid's columns, in order.
  explicit FormOrvenilExport(const QStringList& columnCaptions, QWidget* parent = nullptr);

  VbComboBox* ComboExportLage;
  VbComboBox* ComboExportHöhe;
  VbCheckBox* chkExportHöheMitGeoidundulation;
  DataGrid* GridExport;
  DataGrid* GridExportTo;
  QPushButton* Command1;
  QTimer* TimerAllg;

  void Form_Load();
  void SetupExportDialog();
  void TimerAllg_Timer();
  void ComboExportLage_Click();
  void ComboExportHöhe_Click();
  void chkExportHöheMitGeoidundulation_Click();
  void GridExport_CheckChanged(int row, bool ticked);
  void Command1_Click();

  // Appends a row with the caption, or (remove) removes the first row that
  // carries removeCaption.
  static void AddOrRemoveOutputRow(DataGrid* grid, const QString& caption, const QString& removeCaption,
                                   bool remove);
  // Unticks the rows of untickList and ticks those of tickList in list order;
  // without keep, the output order and every tick are cleared first.
  void ApplyColumnSelection(const QString& tickList, const QString& untickList, bool keep);

  // The captions of the output order, top first.
  QStringList OutputOrder() const;

 private:
  void removeOutputCaptionOfRow(int row);
  QStringList captions_;
};

}  // namespace orv
