// The NTv2 run: the chosen NTv2 set's grid cache is opened (built when
// needed) and every row of Daten is shifted forward (one interpolation) or
// back (four fixed-point steps); rows inside the grid get their target
// columns, rows outside have them emptied.
#include "runs/Ntv2RunSteps.h"

#include <QCoreApplication>
#include <QRadioButton>
#include <exception>

#include "foundation/DatabaseFolderFile.h"
#include "foundation/DialogService.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "platform/db/DBEngine.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTextBox.h"
#include "runs/Ntv2CacheDatabase.h"
#include "runs/Ntv2Run.h"
#include "runs/RunFrame.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/SkipFailingStep.h"
#include "shell/TrafoPanelRules.h"

namespace orv {

namespace {

const QString kNtv2Title = QStringLiteral("NTv2");

// Positions in the read columns.
enum ReadColumn { kBgDez, kLgDez, kBgDezSek, kLgDezSek, kSZe, kPunkt };
// Note slots: the row had no usable start values; it had no start height;
// its easting lay beyond its zone.
constexpr int kNoteFehler = 3, kNoteNoHeight = 4, kNoteBeyondZone = 5;
// Positions in the NTv2 target columns.
enum TargetColumn { kLonText = 1, kRadB = 4, kRadL = 5, kNorthing = 12, kEasting = 13 };

QString Quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

Database& OpenKooDb() {
  ProgramState& state = State();
  if (!state.KooDb.isOpen()) state.KooDb = DBEngine::openDatabase(state.KooDbPfad);
  return state.KooDb;
}

// A start value too large for a number stops the run naming its point.
bool ReadStartValue(const DatenRunRow& row, int c, double& v) {
  try {
    return ReadNtv2StartValue(row.in[size_t(c)], v);
  } catch (const OrvenilError& e) {
    throw OrvenilError(e.number(), QStringLiteral("Punkt ") + row.in[kPunkt].trimmed() +
                                       QStringLiteral(": ") + e.description());
  }
}

}  // namespace

Ntv2RunSteps::Ntv2RunSteps(FormOrvenil& window, ProgramState& state) : window_(window), state_(state) {}

void Ntv2RunSteps::refuse(const QString& text) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, kNtv2Title);
  window_.ComboTrafoPara->SetText(QStringLiteral("ohne"));
}

bool Ntv2RunSteps::preconditionsHold() {
  if (TrimBlanks(window_.ComboTrafoPara->Text()) == QLatin1String("ohne")) {
    refuse(QStringLiteral("Systemparameter fehlen! Abbruch!"));
    return false;
  }
  if (window_.GridKooDb->RowCount() == 0) {
    refuse(QStringLiteral("Daten fehlen! Abbruch!"));
    return false;
  }
  // The set the box names, by its name: never another row that took its place.
  setRow_ = window_.ChosenSetRow(window_.GridNTv2Sys);
  if (setRow_ == 0) {
    refuse(SetGoneMessage(true, window_.ComboTrafoPara->Text()));
    return false;
  }
  return true;
}

bool Ntv2RunSteps::prepare() {
  lockWindow();
  openGridCache();
  StatusForm()->show();
  job_ = OpenKooDb();
  if (!chooseEllipsoids()) return false;
  prepareTarget();
  return true;
}

void Ntv2RunSteps::lockWindow() {
  Dialogs().setBusy(true);
  StatusForm()->show();
  window_.FormVisible(false);
  Dialogs().processEvents();
}

void Ntv2RunSteps::openGridCache() {
  ProgramState& state = state_;
  const QString gridPath = DatabaseFolderFile(
      state.DatenbankVerzeichnis, window_.GridNTv2Sys->CellText(setRow_, QStringLiteral("Trafosatz")));
  Ntv2OpenCache open =
      OpenNtv2GridCache(gridPath, state.TempVerzeichnis, state.NTv2Gitterdatenbank, [](int line, int total) {
        ShowProgress(line, 0, total, true, QStringLiteral(" Zeilen, Datenbank wird erstellt..."));
      });
  state.NTv2Gitterdatenbank = open.database;
  state.NTv2AnzahlGitter = open.tableCount;
  state.NTv2Kopf = open.overview.header;
  if (!open.buildPath.isEmpty()) state.NTv2TempPfad = open.buildPath;
  cache_ = std::move(open.grid);
}

// The start and target ellipsoids of the chosen direction; false (with the
// message) when the start one is not that of the imported rows.
bool Ntv2RunSteps::chooseEllipsoids() {
  ProgramState& state = state_;
  forward_ = window_.AuswahlTrafoRichtung->isSelected(0);
  const QString ellipsoidA = window_.GridNTv2Sys->CellText(setRow_, QStringLiteral("EllipsoidA"));
  const QString ellipsoidB = window_.GridNTv2Sys->CellText(setRow_, QStringLiteral("EllipsoidB"));
  state.EllipsoidStart = forward_ ? ellipsoidA : ellipsoidB;
  window_.EllipsoidADatenZuordnen(state.EllipsoidStart);
  state.EllipsoidZiel = forward_ ? ellipsoidB : ellipsoidA;
  window_.EllipsoidBDatenZuordnen(state.EllipsoidZiel);
  if (state.EllipsoidStart != state.EllipsoidImport) {
    Dialogs().messageBox(
        QStringLiteral("Die Transformationsrichtung ") +
            Quoted(forward_ ? QStringLiteral("Hin") : QStringLiteral("Rück")) + QStringLiteral(" mit ") +
            Quoted(forward_ ? window_.txtTrafoParaStart->Text() : window_.txtTrafoParaZiel->Text()) +
            QStringLiteral(" ist falsch!   "),
        MsgButtons::Ok, MsgIcon::Critical, kNtv2Title);
    return false;
  }
  // The lookup has said that it found no target system: the run would
  // compute with the values of an earlier target.
  if (!TargetSystemKnown(window_, state)) {
    refuse(QStringLiteral("Systemparameter fehlen! Abbruch!"));
    return false;
  }
  return true;
}

void Ntv2RunSteps::prepareTarget() {
  ProgramState& state = state_;
  target_ = MakeProjectedEllipsoid(state.ZielA, state.ZielF, state.ZielK0);
  zoneEllipsoid_ = state.ZonenEllipsoidZiel;
  state.ZielsystemDaten = state.SystemnameZiel;
  // From the first row written on, the target columns are in no one system
  // until the last one is.
  ForgetTargetPositionsSystem(state);
  state.ZielB = target_.b;
  state.ZielE = target_.e;
  state.ZielK0 = target_.k0;
}

void Ntv2RunSteps::walk() {
  ProgramState& state = state_;
  window_.GridKooDb->SetRedraw(false);
  redrawOff_ = true;
  count_ = CountDatenRows(job_);
  state.AnzahlDatensaetze = static_cast<qint32>(count_);
  // With Zone-Ziel chosen, the zone change that closes the run is done
  // within it: each row's zone texts are computed with its NTv2 texts and
  // stored by the same update. Should a row fail, that walk is undone and
  // the run walks the rows again without it, followed by the zone change
  // on its own, so that the rows end as those two passes leave them.
  zonesWithin_ = state.ImportDateiGewaehlt && !state.ImportDatei.isEmpty() && state.StartA != 0 &&
                 window_.BtZoneZiel->isChecked() && !window_.BtZoneStart->isChecked();
  if (zonesWithin_) {
    try {
      walkRows(true);
    } catch (const std::exception&) {
      zonesWithin_ = false;
      walkRows(false);
    }
  } else {
    walkRows(false);
  }
}

// The NTv2 target columns; with the zones, the zone columns take the place
// of easting and northing.
QStringList Ntv2RunSteps::writeColumns(bool withZones) {
  QStringList columns = Ntv2TargetColumnNames();
  if (withZones) {
    columns.removeAt(kEasting);
    columns.removeAt(kNorthing);
    columns << QStringLiteral("Zone") << QStringLiteral("EllipsKO") << QStringLiteral("sYeZiel")
            << QStringLiteral("sXeZiel");
  }
  return columns;
}

void Ntv2RunSteps::walkRows(bool withZones) {
  if (withZones) {
    side_ = std::make_unique<ZoneChangeSide>(window_.PrepareTargetZoneSide(target_, zoneEllipsoid_));
    order_ = std::make_unique<ZoneRowOrder>(*side_);
  }
  const QStringList columns = writeColumns(withZones);
  DatenBlockRun::Options options;
  options.nullReadsEmpty = true;
  options.undoOnError = withZones;
  fehlerRows_ = noHeightRows_ = beyondZoneRows_ = 0;
  DatenBlockRun walk(job_, {"BgDez", "LgDez", "BgDezSek", "LgDezSek", "sZe", "Punkt"}, columns, options);
  walk.run(
      count_, [this, withZones](DatenRunRow& row) { computeRow(row, nullptr, withZones); },
      [this, withZones](qint64 i, DatenRunRow& row) { beforeStore(i, row, withZones); },
      [](qint64 i, qint64 n) {
        ShowProgress(static_cast<int>(i), 0, static_cast<int>(n), true,
                     QStringLiteral(" Zeilen, Transformation NTv2..."));
      });
}

// On the workers (or, for a row whose zone was guessed wrong, on the window
// thread): the shift and the target columns of the row; the zone goes along
// for the window thread.
void Ntv2RunSteps::computeRow(DatenRunRow& row, const RowZone* zone, bool withZones) const {
  double lat = 0, lon = 0, latSec = 0, lonSec = 0;
  const bool usable =
      ReadStartValue(row, kBgDez, lat) && ReadStartValue(row, kLgDez, lon) &&
      (!forward_ || (ReadStartValue(row, kBgDezSek, latSec) && ReadStartValue(row, kLgDezSek, lonSec)));
  row.note[kNoteFehler] = usable ? 0 : 1;
  if (!usable) {
    addFehlerTexts(row, withZones);
    return;
  }
  const Ntv2TargetPoint p = Ntv2ShiftPoint(cache_, lat, lon, forward_, latSec, lonSec);
  Ntv2TargetColumns t;
  // A row without a start height ("Fehler" or empty: outside the geoid
  // model at the import) keeps its shifted position; what needs the
  // height says "Fehler".
  double h = 0;
  const bool hasHeight = ReadFiniteNumber(row.in[kSZe], h);
  if (p.inside)
    t = Ntv2TargetColumnTexts(p.latitude, p.longitude, hasHeight ? std::optional<double>(h) : std::nullopt,
                              target_, zoneEllipsoid_);
  row.note[0] = p.inside ? 1 : 0;
  row.note[1] = t.meridian;
  row.note[2] = t.falseEasting;
  row.note[kNoteNoHeight] = p.inside && !hasHeight ? 1 : 0;
  row.note[kNoteBeyondZone] = t.beyondZone ? 1 : 0;
  static const QString kEmpty;
  const auto text = [&](int c) -> const QString& { return p.inside ? t.columns[size_t(c)].second : kEmpty; };
  for (int c = 0; c < Ntv2TargetColumnNames().size(); ++c)
    if (!withZones || (c != kNorthing && c != kEasting)) row.out.add(text(c));
  if (!withZones) return;
  addZoneTexts(row, zone, text(kRadB), text(kRadL), text(kLonText), text(kEasting));
}

// No start point (a point appended by its number, say): the row's target
// columns say "Fehler", and the zone change leaves it so.
void Ntv2RunSteps::addFehlerTexts(DatenRunRow& row, bool withZones) const {
  row.note[0] = 0;
  const QStringList& names = Ntv2TargetColumnNames();
  for (int c = 0; c < names.size(); ++c)
    if (!withZones || (c != kNorthing && c != kEasting)) row.out.add(Ntv2FehlerText(names[c]));
  if (withZones) AddFehlerZoneTexts(row.out);
}

// The row's zone texts, in the zone given or else the one guessed, and the
// note the window thread places the row's zone by.
void Ntv2RunSteps::addZoneTexts(DatenRunRow& row, const RowZone* zone, const QString& radB,
                                const QString& radL, const QString& lonText, const QString& easting) const {
  // Every row of the run has target values or none at all; a row the
  // zone change would leave alone cannot arise, and should one, the
  // run does the two passes instead.
  if (KeepsItsCoordinates(*side_, radB, radL, easting))
    throw OrvenilError(kErrInvalidProcedureCall, QStringLiteral("Zeile ohne Breite und Länge"));
  ZoneRowNote note;
  note.longitudeEmpty = lonText.isEmpty();
  note.own = OwnZone(*side_, lonText);
  note.used = zone ? *zone : ZoneGuess(*side_, note.own, order_->decidedMeridian());
  note.hint = AddZoneTexts(*side_, radB, radL, easting, note.used, row.out);
  PutZoneNote(row, note);
}

// On the window thread, in row order: the zone of the last row inside the
// grid and the panels of the first row; then the row's zone.
void Ntv2RunSteps::beforeStore(qint64 i, DatenRunRow& row, bool withZones) {
  ZoneRowNote note;
  RowZone zone;
  bool zonePanels = false;
  if (row.note[kNoteFehler] != 0) {
    ++fehlerRows_;
    return;
  }
  noHeightRows_ += row.note[kNoteNoHeight] != 0 ? 1 : 0;
  beyondZoneRows_ += row.note[kNoteBeyondZone] != 0 ? 1 : 0;
  if (withZones) {
    note = TakeZoneNote(row);
    if (!order_->place(note, zone, zonePanels)) {
      row.out.clear();
      computeRow(row, &zone, withZones);
      note = TakeZoneNote(row);
    }
    order_->count(note);
  }
  if (row.note[0] != 0) {
    state_.ZielMeridian = static_cast<int32_t>(row.note[1]);
    state_.ZielFalseEasting = row.note[2];
    if (i == 1) showTargetPanels();
  }
  if (zonePanels) window_.ShowZonePanels(*side_, zone);
}

void Ntv2RunSteps::showTargetPanels() {
  VbStatusBar* bar = window_.xpStatusBar1;
  bar->SetPanelText(6,
                    QStringLiteral("Ziel-Zone: ") + NumberText(state_.ZielMeridian) + QStringLiteral("  "));
  bar->SetPanelText(7, QStringLiteral("Ziel-Maßstab: ") + NumberText(target_.k0) + QStringLiteral("  "));
  bar->SetPanelText(
      8, QStringLiteral("Ziel-K0: ") + NumberText(state_.ZielFalseEasting) + QStringLiteral("m  "));
}

void Ntv2RunSteps::finish() {
  Dialogs().processEvents();
  window_.GridKooDb->SetRedraw(true);
  window_.GridKooDb->Refresh();
  window_.FormVisible(true);
  Dialogs().processEvents();
  // Every row is shifted: the zone change that closes the run projects the
  // target columns in the system they are now in.
  RecordTargetPositionsSystem(state_);
  if (zonesWithin_) {
    state_.ZielMeridian = order_->current().meridian;
    state_.ZielFalseEasting = order_->current().falseEasting;
    window_.WarnZoneHints(order_->negative(), order_->beyondZone());
  } else {
    window_.ConvertZones();
  }
  Dialogs().setBusy(false);
  window_.runCompleted_ = true;
  if (fehlerRows_ > 0) reportFehlerRows();
  if (noHeightRows_ > 0) WarnRowsWithoutStartHeight(noHeightRows_, QStringLiteral("Umrechnung NTv2"));
  if (beyondZoneRows_ > 0) WarnRowsBeyondZone(beyondZoneRows_, QStringLiteral("Umrechnung NTv2"));
}

void Ntv2RunSteps::reportFehlerRows() {
  const QString startColumns =
      forward_ ? QStringLiteral("BgDez, LgDez, BgDezSek, LgDezSek") : QStringLiteral("BgDez, LgDez");
  Dialogs().messageBox(QString::number(fehlerRows_) +
                           QStringLiteral(" Zeilen ohne gültige Startkoordinaten (") + startColumns +
                           QStringLiteral("): ihre Zielwerte sind \"Fehler\"!   "),
                       MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Umrechnung NTv2"));
}

void Ntv2RunSteps::fail(const OrvenilError& error) {
  Dialogs().messageBox(QStringLiteral("Fehler: ") + error.description() + QStringLiteral("! Abbruch!"),
                       MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Umrechnung NTv2"));
  SkipFailingStep("HideBusyWindow", [&] { window_.HideBusyWindow(); });
  SkipFailingStep("FormVisible", [&] { window_.FormVisible(true); });
  if (redrawOff_) {
    SkipFailingStep("GridKooDb.SetRedraw", [&] { window_.GridKooDb->SetRedraw(true); });
    SkipFailingStep("GridKooDb.Refresh", [&] { window_.GridKooDb->Refresh(); });
  }
  Dialogs().setBusy(false);
}

}  // namespace orv
