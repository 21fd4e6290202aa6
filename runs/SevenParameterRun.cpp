// The seven-parameter run: transforms the geocentric start coordinates of
// every row of Daten with the chosen Bursa-Wolf or Molodensky-Badekas set,
// forward or reverse, and writes all target columns of the row.
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
#include "runs/SevenParameterChain.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"

namespace orv {

namespace {

const QString kQuote = QStringLiteral("\"");

void ErrorMessage(const QString& text, const QString& title = kProgramTitle) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, title);
}

// The columns the run reads (0 … 2) and writes (3 … 20), in writing order.
const QStringList& SevenParameterColumns() {
  static const QStringList names{"sXz",       "sYz",          "sZz",          "sXzZiel",   "sYzZiel",
                                 "sZzZiel",   "sHgZiel",      "radBgZiel",    "radLgZiel", "BgDezZiel",
                                 "LgDezZiel", "BgDezSekZiel", "LgDezSekZiel", "sBgZiel",   "sLgZiel",
                                 "Zone",      "EllipsKO",     "sXeZiel",      "sYeZiel",   "sZeZiel"};
  return names;
}
enum ReadColumn { kSXz, kSYz, kSZz };
constexpr int kNoteUnusable = 2;  // note slot: the row had no usable start values

// A row whose start values are empty, never written or no numbers is marked
// "Fehler" in its target columns; its Zone and EllipsKO are left empty.
void MarkRowFehler(RowTexts& out) {
  const QStringList& names = SevenParameterColumns();
  for (qsizetype c = 3; c < names.size(); ++c)
    out.add(names[c] == QLatin1String("Zone") || names[c] == QLatin1String("EllipsKO") ? QString()
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
  ProgramState& state = State();
  const bool forward = AuswahlTrafoRichtung->isSelected(0);
  const auto refuse = [&](const QString& text) {
    ErrorMessage(text);
    ComboTrafoPara->SetText(QStringLiteral("ohne"));
  };

  // A. Checks.
  if (ComboTrafoPara->Text().trimmed() == QLatin1String("ohne"))
    return refuse(QStringLiteral("Systemparameter fehlen! Abbruch!"));
  if (GridKooDb->RowCount() == 0) return refuse(QStringLiteral("Daten fehlen! Abbruch!"));
  const int row = ComboTrafoPara->ListIndex() + 1;
  if (row < 1 || row > GridTrafoSys->RowCount())
    return refuse(QStringLiteral("Systemparameter fehlen! Abbruch!"));
  const auto cell = [&](const QString& key) { return GridTrafoSys->CellText(row, key); };
  SevenParameterSet set;
  set.modell = cell(QStringLiteral("Modell"));
  if (set.modell == kModelMolodenskyBadekas && !forward)
    return refuse(QStringLiteral("Eine Rücktransformation für das Modell: ") + kQuote + set.modell + kQuote +
                  QStringLiteral(" ist nicht zulässig! Abbruch!"));
  // A set that names no known model, or a parameter that is no number, would
  // give rows without meaning: the run stops before it changes any row.
  if (set.modell != kModelBursaWolf && set.modell != kModelMolodenskyBadekas)
    return refuse(QStringLiteral("Das Modell ") + kQuote + set.modell + kQuote +
                  QStringLiteral(" des Parametersatzes ") + kQuote + cell(QStringLiteral("Name")) + kQuote +
                  QStringLiteral(" ist unbekannt! Abbruch!"));
  double* values[] = {&set.dx, &set.dy, &set.dz, &set.Rx, &set.Ry,
                      &set.Rz, &set.MF, &set.x0, &set.y0, &set.z0};
  for (int i = 0; i < ParameterSetKeys().size(); ++i) {
    const QString key = ParameterSetKeys()[i];
    if (!ReadParameterCell(cell(key), *values[i]))
      return refuse(QStringLiteral("Der Parameter ") + key + QStringLiteral(" des Parametersatzes ") +
                    kQuote + cell(QStringLiteral("Name")) + kQuote + QStringLiteral(" ist keine Zahl: ") +
                    kQuote + cell(key) + kQuote + QStringLiteral("! Abbruch!"));
  }
  if (!forward) set = Reversed(set);

  Dialogs().setBusy(true);
  if (state.EllipsoidStart == state.EllipsoidZiel) return Dialogs().setBusy(false);
  state.EllipsoidZiel = cell(forward ? QStringLiteral("EllipsoidB") : QStringLiteral("EllipsoidA"));
  if (!SetStartFitsImport(state.EllipsoidStart, state.EllipsoidImport)) {
    ErrorMessage(QStringLiteral("Die Transformationsrichtung ") + kQuote +
                 (forward ? QStringLiteral("Hin") : QStringLiteral("Rück")) + kQuote +
                 QStringLiteral(" mit ") + kQuote + txtTrafoParaStart->Text() + kQuote +
                 QStringLiteral(" ist falsch!   "));
    return Dialogs().setBusy(false);
  }
  // A target ellipsoid that the coordinate-system table does not hold would
  // leave the values of an earlier target in place: the run stops.
  const bool targetKnown = GridKoordSys->FindRow(QStringLiteral("Ellipsoidname"), state.EllipsoidZiel, 1) > 0;
  if (targetKnown) EllipsoidBDatenZuordnen(state.EllipsoidZiel);
  if (!targetKnown || state.ZielA == 0) {
    Dialogs().setBusy(false);
    return refuse(QStringLiteral("Systemparameter fehlen! Abbruch!"));
  }

  // B. Set-up.
  xpStatusBar1->SetPanelText(9, QStringLiteral("Startsystem: ") + state.EllipsoidStart.trimmed() +
                                    QStringLiteral(" > Zielsystem: ") + state.EllipsoidZiel.trimmed() +
                                    QStringLiteral("  "));
  FormVisible(false);
  Dialogs().processEvents();

  bool gridLocked = false;
  try {
    const ProjectedEllipsoid target = MakeProjectedEllipsoid(state.ZielA, state.ZielF, state.ZielK0);
    state.ZielB = target.b;
    state.ZielE = target.e;
    state.ZielK0 = target.k0;
    const SevenParameterChain chain(set, target);
    const QString zoneEllipsoid = state.ZonenEllipsoidZiel;

    GridKooDb->SetRedraw(false);
    gridLocked = true;
    state.AnzahlDatensaetze = static_cast<qint32>(CountDatenRows(state.KooDb));
    const qint32 n = state.AnzahlDatensaetze;
    const QStringList& columns = SevenParameterColumns();

    // On the workers: the row's target values and texts; the zone goes
    // along for the window thread.
    const auto compute = [&chain, &zoneEllipsoid](DatenRunRow& row) {
      RowTexts& out = row.out;
      double X = 0, Y = 0, Z = 0;
      if (!ReadFiniteNumber(row.in[kSXz], X) || !ReadFiniteNumber(row.in[kSYz], Y) ||
          !ReadFiniteNumber(row.in[kSZz], Z)) {
        MarkRowFehler(out);
        row.note[kNoteUnusable] = 1;
        return;
      }
      row.note[kNoteUnusable] = 0;
      const SevenParameterPoint p = chain.Transform(X, Y, Z);
      out.add(NumberText(p.target.X));
      out.add(NumberText(p.target.Y));
      out.add(NumberText(p.target.Z));
      const QString height = FormatNumber(p.h, QStringLiteral("0.0000"));
      out.add(height);
      out.add(NumberText(p.B));
      out.add(NumberText(p.L));
      out.add(NumberText(p.B * 180 / kPi));
      out.add(NumberText(p.longitudeDegrees));
      out.add(NumberText(3600 * p.B * 180 / kPi));
      out.add(NumberText(3600 * p.L * 180 / kPi));
      out.add(orv::RadInGrad(p.B));
      out.add(orv::RadInGrad(p.L));
      const int32_t meridian = ZoneFromLongitudeValue(p.longitudeDegrees, zoneEllipsoid);
      const double falseEasting = ErmittleFalseEasting(meridian, zoneEllipsoid);
      out.add(NumberText(meridian));
      out.add(NumberText(falseEasting));
      row.note[0] = meridian;
      row.note[1] = falseEasting;
      const GridCoordinates g = chain.Project(p, meridian, falseEasting);
      out.add(FormatNumber(g.northing, QStringLiteral("0.0000")));
      QString easting = FormatNumber(g.easting, QStringLiteral("0.0000"));
      // 6° zones carry their zone digit in the millions of the easting.
      const double prefix = ZonePrefix(meridian, zoneEllipsoid);
      if (prefix != 0) easting = FormatNumber(prefix + Val(easting), QStringLiteral("0.0000"));
      out.add(easting);
      out.add(height);
    };

    // On the window thread, in row order: the zone of the row, the notice
    // of a second zone, the panels.
    int32_t previousMeridian = 0;
    bool noticeShown = false;
    int32_t shownMeridian = -1;
    double shownFalseEasting = -1;
    qint64 unusable = 0;
    bool firstComputed = true;  // rows marked "Fehler" take no part in the zone notice
    const auto beforeStore = [&](qint64, const DatenRunRow& row) {
      if (row.note[kNoteUnusable] != 0) {
        ++unusable;
        return;
      }
      state.ZielMeridian = static_cast<int32_t>(row.note[0]);
      state.ZielFalseEasting = row.note[1];
      if (!firstComputed && !noticeShown && state.ZielMeridian != previousMeridian) {
        Dialogs().messageBox(QStringLiteral("Die Zielkoordinaten befinden sich in unterschiedlichen "
                                            "Zonen/Meridianstreifen: [") +
                                 QString::number(previousMeridian) + QStringLiteral("] und [") +
                                 QString::number(state.ZielMeridian) + QStringLiteral("] !   "),
                             MsgButtons::Ok, MsgIcon::Information,
                             QStringLiteral("unterschiedlichen Zonen/Meridianstreifen"));
        noticeShown = true;
      }
      previousMeridian = state.ZielMeridian;
      firstComputed = false;
      // The panels show the zone of the row computed last; they are
      // redrawn only when it changes.
      if (state.ZielMeridian != shownMeridian || state.ZielFalseEasting != shownFalseEasting) {
        shownMeridian = state.ZielMeridian;
        shownFalseEasting = state.ZielFalseEasting;
        xpStatusBar1->SetPanelText(
            6, QStringLiteral("Ziel-Zone: ") + NumberText(state.ZielMeridian) + QStringLiteral("  "));
        xpStatusBar1->SetPanelText(
            7, QStringLiteral("Ziel-Maßstab: ") + NumberText(state.ZielK0) + QStringLiteral("  "));
        xpStatusBar1->SetPanelText(
            8, QStringLiteral("Ziel-K0: ") + NumberText(state.ZielFalseEasting) + QStringLiteral("m  "));
      }
    };
    const QString progressText = QStringLiteral(" Zeilen, umgerechnet...");
    // A start column never written (a point appended to the job, say) is
    // read as empty: its row gets "Fehler" like a row with empty values.
    DatenBlockRun::Options options;
    options.nullReadsEmpty = true;
    DatenBlockRun walk(state.KooDb, columns.mid(0, 3), columns.mid(3), options);
    walk.run(n, compute, beforeStore,
             [&](qint64 i, qint64 count) { ShowProgress(static_cast<int>(i), 0, static_cast<int>(count), true, progressText); });

    // D. End.
    GridKooDb->SetRedraw(true);
    gridLocked = false;
    GridKooDb->Refresh();
    FormVisible(true);
    Dialogs().setBusy(false);
    runCompleted_ = true;
    if (unusable > 0)
      Dialogs().messageBox(QString::number(unusable) +
                               QStringLiteral(" Zeilen ohne gültige Startkoordinaten (sXz, sYz, sZz): ihre "
                                              "Zielwerte sind \"Fehler\"!   "),
                           MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("7-Parameter Trafo"));
  } catch (const std::exception&) {
    // The row being edited is dropped; the rows stored before keep their values.
    ErrorMessage(QStringLiteral("Einlesefehler! Abbruch!"), QStringLiteral("7-Parameter Trafo"));
    ReleaseWindowAfterFailedRun(gridLocked);
  }
}

}  // namespace orv
