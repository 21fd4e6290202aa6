#include "io/FormOrvenilExport.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>

#include "foundation/NumberText.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "shell/ProgramState.h"

namespace orv {

namespace {

const QString kSpalte = QStringLiteral("Spalte");
constexpr int kGeoidRow = 33;
constexpr int kInputHeightRow = 5;
constexpr int kTargetHeightRow = 20;

const QString kHeightNone = QStringLiteral("ohne");
const QString kHeightInput = QStringLiteral("Höhe aus Eingabe");
const QString kHeightTarget = QStringLiteral("Höhe aus Ziel");

}  // namespace

const std::vector<ExportPreset>& ExportPresets() {
  static const std::vector<ExportPreset> presets = {
      {"alles auswählen", "", false},
      {"alles abwählen", "", false},
      {"Eingabe verebnet", "1;2;3;4", false},
      {"Eingabe geografisch", "1;2;9;10", false},
      {"Eingabe geografisch Dezimalgrad", "1;2;11;12", false},
      {"Eingabe geozentrisch", "1;2;6;7;8", false},
      {"Eingabe Mikrokopter aus Startsystem", "1;2;11;12;5", false},
      {"Eingabe Mikrokopter aus Zielsystem", "1;2;29;30;5", false},
      {"Eingabe LGO ETRS89", "1;3;4;5", true},
      {"Eingabe LGO Geodetic", "1;9;10;5", true},
      {"Ziel verebnet", "1;2;18;19", true},
      {"Ziel geografisch", "1;2;24;25", true},
      {"Ziel geografisch Dezimalgrad", "1;2;31;32", true},
      {"Ziel geozentrisch", "1;2;21;22;23", true},
      {"Ziel Kalkschiff Brisa", "1;2;18;19", true},
      {"Ziel Kalkschiff Vorsel", "1;2;18;19;20", true},
      {"Transformation", "1;3;4;5;18;19;20", true},
  };
  return presets;
}

FormOrvenilExport::FormOrvenilExport(const QStringList& columnCaptions, QWidget* parent)
    : QDialog(parent), captions_(columnCaptions) {
  setWindowTitle(QStringLiteral("Export"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  // The choices scroll where the screen is too small for them; "speichern"
  // stays below them, on screen.
  auto* frameExport = new QGroupBox(QStringLiteral("Auswahl Spalten für den Export"), this);
  QScrollArea* body = ScrollableBody(frameExport, this);
  layout->addWidget(body, 1);
  auto* grid = new QGridLayout(frameExport);
  ComboExportLage = new VbComboBox(frameExport);
  ComboExportHöhe = new VbComboBox(frameExport);
  chkExportHöheMitGeoidundulation =
      new VbCheckBox(QStringLiteral("zusätzlich mit Geoidunulation"), frameExport);
  GridExport = new DataGrid(frameExport);
  GridExportTo = new DataGrid(frameExport);
  GridExport->SetShowCheckBoxes(true);
  GridExport->SetCaption(QStringLiteral("Auswahl Spalten Export"));
  GridExportTo->SetCaption(QStringLiteral("Auswahl Spalten Export"));
  grid->addWidget(new QLabel(QStringLiteral("Auswahl Lage"), frameExport), 0, 0);
  grid->addWidget(ComboExportLage, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Auswahl Höhe"), frameExport), 1, 0);
  grid->addWidget(ComboExportHöhe, 1, 1);
  grid->addWidget(chkExportHöheMitGeoidundulation, 2, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("manuelle Spaltenauswahl"), frameExport), 3, 0);
  grid->addWidget(new QLabel(QStringLiteral("Ausgabereihenfolge"), frameExport), 3, 1);
  grid->addWidget(GridExport, 4, 0);
  grid->addWidget(GridExportTo, 4, 1);
  Command1 = new QPushButton(QStringLiteral("speichern"), this);
  layout->addWidget(Command1);
  TimerAllg = new QTimer(this);
  TimerAllg->setInterval(500);
  TimerAllg->setSingleShot(true);
  // Wide enough for the captions of both column grids.
  SizeDialogWithBody(this, body, QSize(640, 560));

  ComboExportLage->onClick([this] { ComboExportLage_Click(); });
  ComboExportHöhe->onClick([this] { ComboExportHöhe_Click(); });
  chkExportHöheMitGeoidundulation->onClick([this] { chkExportHöheMitGeoidundulation_Click(); });
  GridExport->onCheckChanged([this](int row, bool ticked) { GridExport_CheckChanged(row, ticked); });
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(TimerAllg, &QTimer::timeout, this, [this] { TimerAllg_Timer(); });
  Form_Load();
}

void FormOrvenilExport::Form_Load() {
  State().ExportVorlageAktiv = false;
  SetupExportDialog();
  ComboExportLage->SetText(QStringLiteral("alles"));
  ComboExportHöhe->SetText(kHeightNone);
  TimerAllg->start();
}

void FormOrvenilExport::SetupExportDialog() {
  ComboExportLage->Clear();
  for (const ExportPreset& p : ExportPresets()) ComboExportLage->AddItem(QString::fromUtf8(p.text));
  ComboExportHöhe->Clear();
  for (const QString& h : {kHeightNone, kHeightInput, kHeightTarget}) ComboExportHöhe->AddItem(h);
  for (DataGrid* g : {GridExportTo, GridExport}) {
    g->ClearRows();
    g->ClearColumns();
    g->AddColumn(kSpalte, kSpalte, 1200);
  }
  for (const QString& caption : captions_) {
    const int row = GridExport->AddRow(caption);
    GridExport->SetRowChecked(row, true);
  }
  // Wide enough for the longest caption listed.
  int widest = GridExport->TextWidthTwips(GridExport->ColumnCaption(kSpalte));
  for (const QString& caption : captions_) widest = std::max(widest, GridExport->TextWidthTwips(caption));
  for (DataGrid* g : {GridExport, GridExportTo})
    g->SetColumnWidth(kSpalte, std::max(500, static_cast<int>(1.2 * widest)));
}

void FormOrvenilExport::TimerAllg_Timer() {
  TimerAllg->stop();
  ComboExportLage->SetListIndex(10);  // "Ziel verebnet"
}

void FormOrvenilExport::ComboExportLage_Click() {
  ProgramState& state = State();
  state.ExportVorlageAktiv = false;
  // The preset replaces the height choice: the box shows that none is made.
  ComboExportHöhe->SetText(kHeightNone);
  chkExportHöheMitGeoidundulation->SetValue(0);
  const QString chosen = ComboExportLage->Text();
  state.ExportVorlage = chosen;
  const int index = ComboExportLage->ListIndex();
  if (index == 0) {
    for (int r = 1; r <= GridExport->RowCount(); ++r) GridExport->SetRowChecked(r, true);
  } else if (index == 1) {
    GridExportTo->ClearRows();
    for (int r = 1; r <= GridExport->RowCount(); ++r) GridExport->SetRowChecked(r, false);
  } else if (index > 1 && index < static_cast<int>(ExportPresets().size())) {
    const ExportPreset& preset = ExportPresets().at(index);
    GridExportTo->ClearRows();
    ApplyColumnSelection(QString::fromLatin1(preset.rows), QString(), false);
    state.ExportVorlageAktiv = preset.active;
  }
}

void FormOrvenilExport::ApplyColumnSelection(const QString& tickList, const QString& untickList, bool keep) {
  auto rowsOf = [](const QString& list) {
    QList<int> rows;
    for (const QString& entry : list.split(QLatin1Char(';'), Qt::SkipEmptyParts))
      rows << static_cast<int>(Val(entry));
    return rows;
  };
  GridExport->SetRedraw(false);
  if (!keep) {
    GridExportTo->ClearRows();
    for (int r = 1; r <= GridExport->RowCount(); ++r) GridExport->SetRowChecked(r, false);
  }
  // An entry that names no row is skipped.
  for (int r : rowsOf(untickList))
    if (r >= 1 && r <= GridExport->RowCount()) GridExport->SetRowChecked(r, false);
  for (int r : rowsOf(tickList))
    if (r >= 1 && r <= GridExport->RowCount()) GridExport->SetRowChecked(r, true);
  GridExport->SetRedraw(true);
}

void FormOrvenilExport::removeOutputCaptionOfRow(int row) {
  if (row < 1 || row > GridExport->RowCount()) return;
  AddOrRemoveOutputRow(GridExportTo, QString(), GridExport->CellText(row, kSpalte), true);
}

void FormOrvenilExport::ComboExportHöhe_Click() {
  // The other ticks and their order stay; only the height columns change.
  const QString chosen = ComboExportHöhe->Text();
  if (chosen == kHeightNone) {
    ApplyColumnSelection(QString(), QStringLiteral("5;20"), true);
    removeOutputCaptionOfRow(kInputHeightRow);
    removeOutputCaptionOfRow(kTargetHeightRow);
  } else if (chosen == kHeightInput || chosen == kHeightTarget) {
    const int take = chosen == kHeightInput ? kInputHeightRow : kTargetHeightRow;
    const int drop = chosen == kHeightInput ? kTargetHeightRow : kInputHeightRow;
    ApplyColumnSelection(QString::number(take), QString::number(drop), true);
    if (take <= GridExport->RowCount()) {
      // The chosen height becomes the last output column.
      removeOutputCaptionOfRow(take);
      AddOrRemoveOutputRow(GridExportTo, GridExport->CellText(take, kSpalte), QString(), false);
    }
    removeOutputCaptionOfRow(drop);
  }
}

void FormOrvenilExport::chkExportHöheMitGeoidundulation_Click() {
  if (kGeoidRow <= GridExport->RowCount())
    GridExport->SetRowChecked(kGeoidRow, chkExportHöheMitGeoidundulation->Value() == 1);
}

void FormOrvenilExport::GridExport_CheckChanged(int row, bool ticked) {
  const QString caption = GridExport->CellText(row, kSpalte);
  AddOrRemoveOutputRow(GridExportTo, caption, caption, !ticked);
}

void FormOrvenilExport::AddOrRemoveOutputRow(DataGrid* grid, const QString& caption,
                                             const QString& removeCaption, bool remove) {
  if (!remove) {
    grid->AddRow(caption);
    return;
  }
  for (int r = 1; r <= grid->RowCount(); ++r) {
    if (grid->CellText(r, kSpalte) == removeCaption) {
      grid->RemoveRow(r);
      return;
    }
  }
}

QStringList FormOrvenilExport::OutputOrder() const {
  QStringList order;
  for (int r = 1; r <= GridExportTo->RowCount(); ++r) order << GridExportTo->CellText(r, kSpalte);
  return order;
}

void FormOrvenilExport::Command1_Click() {
  QStringList captions, numbers;
  for (const QString& caption : OutputOrder()) {
    const int row = GridExport->FindRow(kSpalte, caption);
    if (row == 0) continue;
    captions << caption;
    numbers << QString::number(row);
  }
  State().SpeichernSpalten = captions.join(QLatin1Char(','));
  State().SpeichernSpaltenNr = numbers.join(QLatin1Char(','));
  done(QDialog::Accepted);
}

}  // namespace orv
