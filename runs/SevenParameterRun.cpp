// The seven-parameter run: transforms the geocentric start coordinates of
// every row of Daten with the chosen Bursa-Wolf or Molodensky-Badekas set,
// forward or reverse, and writes all target columns of the row.
#include "runs/SevenParameterRun.h"

#include "foundation/DialogService.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "geodesy/AngleFormats.h"
#include "geodesy/GeodesyConstants.h"
#include "geodesy/ZoneRules.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTextBox.h"
#include "runs/DatenBlockRun.h"
#include "runs/RunFrame.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"
#include "shell/TrafoPanelRules.h"

namespace orv {

namespace {

const QString kQuote = QStringLiteral("\"");

void ErrorMessage(const QString& text, const QString& title = kProgramTitle) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, title);
}

// The columns the run reads (0 … 2, and sZe for the start height) and
// writes (3 … 20), in writing order.
const QStringList& SevenParameterColumns() {
  static const QStringList names{"sXz",       "sYz",          "sZz",          "sXzZiel",   "sYzZiel",
                                 "sZzZiel",   "sHgZiel",      "radBgZiel",    "radLgZiel", "BgDezZiel",
                                 "LgDezZiel", "BgDezSekZiel", "LgDezSekZiel", "sBgZiel",   "sLgZiel",
                                 "Zone",      "EllipsKO",     "sXeZiel",      "sYeZiel",   "sZeZiel"};
  return names;
}
enum ReadColumn { kSXz, kSYz, kSZz, kSZe };
constexpr int kNoteUnusable = 2;    // note slot: the row had no usable start values
constexpr int kNoteBeyondZone = 3;  // note slot: its easting lay beyond its zone
constexpr int kNoteNoHeight = 4;    // note slot: it had no start height

// A row whose start values are empty, never written or no numbers is marked
// "Fehler" in its target columns; its Zone and EllipsKO are left empty.
void MarkRowFehler(RowTexts& out) {
  const QStringList& names = SevenParameterColumns();
  for (qsizetype c = 3; c < names.size(); ++c)
    out.add(names[c] == QLatin1String("Zone") || names[c] == QLatin1String("EllipsKO")
                ? QString()
                : QStringLiteral("Fehler"));
}

// The start ellipsoid of a set fits data imported on importEllipsoid. Data
// imported as ETRS89 (GRS1980) fit sets that name ETRS89 by either of its
// two ellipsoid names.
bool SetStartFitsImport(const QString& setStart, const QString& importEllipsoid) {
  if (setStart == importEllipsoid) return true;
  return importEllipsoid == QLatin1String("GRS1980") && setStart == QLatin1String("WGS1984");
}

}  // namespace

void FormOrvenil::ParaTrafoDatenRechnen() {
  SevenParameterRun run(*this, State());
  if (!run.preconditionsHold()) return;
  run.lockWindow();
  try {
    run.prepare();
    run.walk();
    run.finish();
  } catch (const std::exception& e) {
    run.fail(e);
  }
}

SevenParameterRun::SevenParameterRun(FormOrvenil& window, ProgramState& state)
    : window_(window), state_(state), forward_(window.AuswahlTrafoRichtung->isSelected(0)) {}

bool SevenParameterRun::refuse(const QString& text) {
  ErrorMessage(text);
  window_.ComboTrafoPara->SetText(QStringLiteral("ohne"));
  return false;
}

QString SevenParameterRun::cell(const QString& key) const {
  return window_.GridTrafoSys->CellText(setRow_, key);
}

bool SevenParameterRun::preconditionsHold() { return setChosen() && readSet() && targetFits(); }

// A set is chosen, its row is in the parameter-set grid, and there are data.
bool SevenParameterRun::setChosen() {
  if (window_.ComboTrafoPara->Text().trimmed() == QLatin1String("ohne"))
    return refuse(QStringLiteral("Systemparameter fehlen! Abbruch!"));
  if (window_.GridKooDb->RowCount() == 0) return refuse(QStringLiteral("Daten fehlen! Abbruch!"));
  // The set the box names, by its name: never another row that took its place.
  setRow_ = window_.ChosenSetRow(window_.GridTrafoSys);
  if (setRow_ == 0) return refuse(SetGoneMessage(false, window_.ComboTrafoPara->Text()));
  return true;
}

// The model and the ten parameters of the set, reversed for the reverse run.
bool SevenParameterRun::readSet() {
  set_.modell = cell(QStringLiteral("Modell"));
  if (set_.modell == kModelMolodenskyBadekas && !forward_)
    return refuse(QStringLiteral("Eine Rücktransformation für das Modell: ") + kQuote + set_.modell + kQuote +
                  QStringLiteral(" ist nicht zulässig! Abbruch!"));
  // A set that names no known model, or a parameter that is no number, would
  // give rows without meaning: the run stops before it changes any row.
  if (set_.modell != kModelBursaWolf && set_.modell != kModelMolodenskyBadekas)
    return refuse(QStringLiteral("Das Modell ") + kQuote + set_.modell + kQuote +
                  QStringLiteral(" des Parametersatzes ") + kQuote + cell(QStringLiteral("Name")) + kQuote +
                  QStringLiteral(" ist unbekannt! Abbruch!"));
  double* values[] = {&set_.dx, &set_.dy, &set_.dz, &set_.Rx, &set_.Ry,
                      &set_.Rz, &set_.MF, &set_.x0, &set_.y0, &set_.z0};
  for (int i = 0; i < ParameterSetKeys().size(); ++i) {
    const QString key = ParameterSetKeys()[i];
    if (!ReadParameterCell(cell(key), *values[i]))
      return refuse(QStringLiteral("Der Parameter ") + key + QStringLiteral(" des Parametersatzes ") +
                    kQuote + cell(QStringLiteral("Name")) + kQuote + QStringLiteral(" ist keine Zahl: ") +
                    kQuote + cell(key) + kQuote + QStringLiteral("! Abbruch!"));
  }
  if (!forward_) set_ = Reversed(set_);
  return true;
}

// The target ellipsoid of the set, against the data's start and the
// coordinate-system table; the window is busy from here on.
bool SevenParameterRun::targetFits() {
  Dialogs().setBusy(true);
  if (state_.EllipsoidStart == state_.EllipsoidZiel) {
    Dialogs().setBusy(false);
    return false;
  }
  state_.EllipsoidZiel = cell(forward_ ? QStringLiteral("EllipsoidB") : QStringLiteral("EllipsoidA"));
  if (!SetStartFitsImport(state_.EllipsoidStart, state_.EllipsoidImport)) {
    ErrorMessage(QStringLiteral("Die Transformationsrichtung ") + kQuote +
                 (forward_ ? QStringLiteral("Hin") : QStringLiteral("Rück")) + kQuote +
                 QStringLiteral(" mit ") + kQuote + window_.txtTrafoParaStart->Text() + kQuote +
                 QStringLiteral(" ist falsch!   "));
    Dialogs().setBusy(false);
    return false;
  }
  // A target ellipsoid that the coordinate-system table does not hold would
  // leave the values of an earlier target in place: the lookup says that it
  // found none, and the run stops.
  window_.EllipsoidBDatenZuordnen(state_.EllipsoidZiel);
  if (!TargetSystemKnown(window_, state_)) {
    Dialogs().setBusy(false);
    return refuse(QStringLiteral("Systemparameter fehlen! Abbruch!"));
  }
  return true;
}

void SevenParameterRun::lockWindow() {
  window_.xpStatusBar1->SetPanelText(9, QStringLiteral("Startsystem: ") + state_.EllipsoidStart.trimmed() +
                                            QStringLiteral(" > Zielsystem: ") +
                                            state_.EllipsoidZiel.trimmed() + QStringLiteral("  "));
  window_.FormVisible(false);
  Dialogs().processEvents();
}

void SevenParameterRun::prepare() {
  const ProjectedEllipsoid target = MakeProjectedEllipsoid(state_.ZielA, state_.ZielF, state_.ZielK0);
  state_.ZielB = target.b;
  state_.ZielE = target.e;
  state_.ZielK0 = target.k0;
  chain_.emplace(set_, target);
  zoneEllipsoid_ = state_.ZonenEllipsoidZiel;
  state_.ZielsystemDaten = state_.SystemnameZiel;
  // From the first row written on, the target columns are in no one system
  // until the last one is.
  ForgetTargetPositionsSystem(state_);

  window_.GridKooDb->SetRedraw(false);
  gridLocked_ = true;
  state_.AnzahlDatensaetze = static_cast<qint32>(CountDatenRows(state_.KooDb));
}

void SevenParameterRun::walk() {
  const QStringList& columns = SevenParameterColumns();
  const QString progressText = QStringLiteral(" Zeilen, umgerechnet...");
  // A start column never written (a point appended to the job, say) is
  // read as empty: its row gets "Fehler" like a row with empty values.
  DatenBlockRun::Options options;
  options.nullReadsEmpty = true;
  const QStringList read = columns.mid(0, 3) << QStringLiteral("sZe");
  DatenBlockRun walk(state_.KooDb, read, columns.mid(3), options);
  walk.run(
      state_.AnzahlDatensaetze, [this](DatenRunRow& row) { computeRow(row); },
      [this](qint64, const DatenRunRow& row) { followRow(row); },
      [&](qint64 i, qint64 count) {
        ShowProgress(static_cast<int>(i), 0, static_cast<int>(count), true, progressText);
        showZonePanels();
      });
}

// On the workers: the row's target values and texts; the zone goes along
// for the window thread.
void SevenParameterRun::computeRow(DatenRunRow& row) const {
  RowTexts& out = row.out;
  double X = 0, Y = 0, Z = 0;
  if (!ReadFiniteNumber(row.in[kSXz], X) || !ReadFiniteNumber(row.in[kSYz], Y) ||
      !ReadFiniteNumber(row.in[kSZz], Z)) {
    MarkRowFehler(out);
    row.note[kNoteUnusable] = 1;
    return;
  }
  row.note[kNoteUnusable] = 0;
  const SevenParameterPoint p = chain_->Transform(X, Y, Z);
  // A row without a start height ("Fehler" or empty: outside the geoid
  // model at the import) has geocentric start values of a height that is
  // not the point's; its position holds, its target height and geocentric
  // values do not.
  double startHeight = 0;
  row.note[kNoteNoHeight] = ReadFiniteNumber(row.in[kSZe], startHeight) ? 0 : 1;
  const QString fehler = QStringLiteral("Fehler");
  const bool noHeight = row.note[kNoteNoHeight] != 0;
  out.add(noHeight ? fehler : NumberText(p.target.X));
  out.add(noHeight ? fehler : NumberText(p.target.Y));
  out.add(noHeight ? fehler : NumberText(p.target.Z));
  const QString height = noHeight ? fehler : FormatNumber(p.h, QStringLiteral("0.0000"));
  out.add(height);
  out.add(NumberText(p.B));
  out.add(NumberText(p.L));
  out.add(NumberText(p.B * 180 / kPi));
  out.add(NumberText(p.longitudeDegrees));
  out.add(NumberText(3600 * p.B * 180 / kPi));
  out.add(NumberText(3600 * p.L * 180 / kPi));
  out.add(orv::RadInGrad(p.B));
  out.add(orv::RadInGrad(p.L));
  const int32_t meridian = ZoneFromLongitudeValue(p.longitudeDegrees, zoneEllipsoid_);
  const double falseEasting = ErmittleFalseEasting(meridian, zoneEllipsoid_);
  out.add(NumberText(meridian));
  out.add(NumberText(falseEasting));
  row.note[0] = meridian;
  row.note[1] = falseEasting;
  const GridCoordinates g = chain_->Project(p, meridian, falseEasting);
  // 6° zones carry their zone digit in the millions of the easting.
  const double prefix = ZonePrefix(meridian, zoneEllipsoid_);
  // Beyond the last zone the easting would run into its zone digit.
  row.note[kNoteBeyondZone] = EastingRunsIntoZoneDigit(g.easting, falseEasting, prefix) ? 1 : 0;
  if (row.note[kNoteBeyondZone] != 0) {
    out.add(QString());
    out.add(QString());
    out.add(height);
    return;
  }
  out.add(FormatNumber(g.northing, QStringLiteral("0.0000")));
  QString easting = FormatNumber(g.easting, QStringLiteral("0.0000"));
  if (prefix != 0) easting = FormatNumber(prefix + Val(easting), QStringLiteral("0.0000"));
  out.add(easting);
  out.add(height);
}

// On the window thread, in row order: the zone of the row and the notice of
// a second zone.
void SevenParameterRun::followRow(const DatenRunRow& row) {
  if (row.note[kNoteUnusable] != 0) {
    ++unusable_;
    return;
  }
  beyondZone_ += row.note[kNoteBeyondZone] != 0 ? 1 : 0;
  noHeight_ += row.note[kNoteNoHeight] != 0 ? 1 : 0;
  state_.ZielMeridian = static_cast<int32_t>(row.note[0]);
  state_.ZielFalseEasting = row.note[1];
  if (!firstComputed_ && !noticeShown_ && state_.ZielMeridian != previousMeridian_) {
    Dialogs().messageBox(QStringLiteral("Die Zielkoordinaten befinden sich in unterschiedlichen "
                                        "Zonen/Meridianstreifen: [") +
                             QString::number(previousMeridian_) + QStringLiteral("] und [") +
                             QString::number(state_.ZielMeridian) + QStringLiteral("] !   "),
                         MsgButtons::Ok, MsgIcon::Information,
                         QStringLiteral("unterschiedlichen Zonen/Meridianstreifen"));
    noticeShown_ = true;
  }
  previousMeridian_ = state_.ZielMeridian;
  firstComputed_ = false;
}

// The panels show the zone of the row computed last. Rows of a job in
// random point order change zones all the time, and every new panel text
// lays the status bar out again: the panels follow the progress (a few
// times a second) and the end of the run, and only when their zone changed.
void SevenParameterRun::showZonePanels() {
  if (firstComputed_) return;  // no row computed yet: nothing to show
  if (state_.ZielMeridian == shownMeridian_ && state_.ZielFalseEasting == shownFalseEasting_) return;
  shownMeridian_ = state_.ZielMeridian;
  shownFalseEasting_ = state_.ZielFalseEasting;
  window_.xpStatusBar1->SetPanelText(
      6, QStringLiteral("Ziel-Zone: ") + NumberText(state_.ZielMeridian) + QStringLiteral("  "));
  window_.xpStatusBar1->SetPanelText(
      7, QStringLiteral("Ziel-Maßstab: ") + NumberText(state_.ZielK0) + QStringLiteral("  "));
  window_.xpStatusBar1->SetPanelText(
      8, QStringLiteral("Ziel-K0: ") + NumberText(state_.ZielFalseEasting) + QStringLiteral("m  "));
}

void SevenParameterRun::finish() {
  showZonePanels();
  window_.GridKooDb->SetRedraw(true);
  gridLocked_ = false;
  window_.GridKooDb->Refresh();
  window_.FormVisible(true);
  Dialogs().setBusy(false);
  RecordTargetPositionsSystem(state_);
  window_.runCompleted_ = true;
  if (unusable_ > 0)
    Dialogs().messageBox(QString::number(unusable_) +
                             QStringLiteral(" Zeilen ohne gültige Startkoordinaten (sXz, sYz, sZz): ihre "
                                            "Zielwerte sind \"Fehler\"!   "),
                         MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("7-Parameter Trafo"));
  if (noHeight_ > 0) WarnRowsWithoutStartHeight(noHeight_, QStringLiteral("7-Parameter Trafo"));
  if (beyondZone_ > 0) WarnRowsBeyondZone(beyondZone_, QStringLiteral("7-Parameter Trafo"));
}

// The row being edited is dropped; the rows stored before keep their values.
void SevenParameterRun::fail(const std::exception& error) {
  showZonePanels();
  ErrorMessage(FailedRunText(error, QStringLiteral("Einlesefehler! Abbruch!")), QStringLiteral("7-Parameter Trafo"));
  window_.ReleaseWindowAfterFailedRun(gridLocked_);
}

}  // namespace orv
