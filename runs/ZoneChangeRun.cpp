// The zone-change run: recomputes the projected coordinates of one side of
// every row of Daten (start or target) in another zone, from the row's own
// latitude and longitude.
#include <QRadioButton>
#include <cmath>

#include "foundation/DialogService.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "geodesy/TransverseMercator.h"
#include "geodesy/ZoneRules.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTextBox.h"
#include "runs/DatenBlockRun.h"
#include "runs/RunFrame.h"
#include "runs/ZoneChangeRows.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ZoneLists.h"

namespace orv {

namespace {

// An error of the projection of a row, with the row's point number in front.
[[noreturn]] void RethrowNamingPoint(const QString& punkt) {
  try {
    throw;
  } catch (const OrvenilError& e) {
    throw OrvenilError(e.number(), QStringLiteral("Punkt ") + punkt.trimmed() + QStringLiteral(": ") + e.description());
  } catch (const std::exception& e) {
    throw OrvenilError(kErrOverflow, QStringLiteral("Punkt ") + punkt.trimmed() + QStringLiteral(": ") +
                                         QString::fromUtf8(e.what()));
  }
}

// Why the start columns may not be rewritten, or "" when they may. They are
// projected with the start values (StartA, StartF) and the zone rules of the
// start box's system; both must be those of the job's own start system
// (jobEllipsoid, from its start-system option). A set whose start system is
// not the job's (the box shows red) brings other zone rules, and choosing
// the start side after such a set loads the set's ellipsoid.
QString StartSideRefusal(const QString& boxStart, const QString& jobEllipsoid, const DataGrid* koordSys) {
  const ProgramState& state = State();
  if (boxStart != QLatin1String("ohne") && boxStart != state.StartKoordinatensystem)
    return QStringLiteral("Der Parametersatz beginnt in \"") + boxStart + QStringLiteral("\", die Daten sind in \"") +
           state.StartKoordinatensystem + QLatin1Char('"');
  const int row = jobEllipsoid.isEmpty() ? 0 : koordSys->FindRow(QStringLiteral("Ellipsoidname"), jobEllipsoid, 1);
  // GRS1980 and WGS1984 (a set may name ETRS89 by either) differ by far less
  // than a millimetre in the plane and count as one.
  double a = 0, f = 0;
  if (row > 0 && ReadFiniteNumber(koordSys->CellText(row, QStringLiteral("A")), a) &&
      ReadFiniteNumber(koordSys->CellText(row, QStringLiteral("F")), f) &&
      (std::fabs(a - state.StartA) > 0.001 || std::fabs(f - state.StartF) > 1e-9))
    return QStringLiteral("Das Startellipsoid ist nicht das der Daten (\"") + jobEllipsoid + QLatin1Char('"') +
           QStringLiteral("), bitte das Startsystem der Daten wählen");
  return QString();
}

// The zone the controls choose for a side. They are locked while the run
// works: read once.
void ReadZoneChoices(const FormOrvenil& form, ZoneChangeSide& side) {
  side.mode = form.chkZoneIndividuell->Value();
  side.automatic = form.zielZone->Text() == QLatin1String("automatisch");
  side.listMeridian =
      static_cast<int32_t>(std::nearbyint(Val(GetToken(form.zielZone->Text(), 1, QStringLiteral("/")))));
}

}  // namespace

void FormOrvenil::ConvertZones() {
  ProgramState& state = State();
  if (!state.ImportDateiGewaehlt || state.ImportDatei.isEmpty() || state.StartA == 0 ||
      GridKooDb->RowCount() == 0)
    return;

  const auto refuse = [](const QString& why, const QString& side) {
    Dialogs().messageBox(
        why + QStringLiteral(": ") + side + QStringLiteral(" wird nicht umgerechnet! Abbruch!"),
        MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Umrechnung Zone"));
  };
  if (BtZoneStart->isChecked()) {
    const QString refusal = StartSideRefusal(txtTrafoParaStart->Text(), StartsysEllipsoid(Startsys->value()),
                                             GridKoordSys);
    if (!refusal.isEmpty()) return refuse(refusal, QStringLiteral("Zone-Start"));
  } else if (BtZoneZiel->isChecked() && !TargetPositionsSystemKnown(state)) {
    // The target columns are projected in the system their run computed
    // them in; the set the panel shows now may be another one.
    return refuse(QStringLiteral("Die Zielkoordinaten stammen aus keiner vollständigen Transformation"),
                  QStringLiteral("Zone-Ziel"));
  }

  bool gridLocked = false;
  // One side over all rows: the rows are computed on the workers, each
  // row's zone is decided on this thread in row order.
  const auto runSide = [&](bool target) {
    const ZoneChangeSide side =
        target ? PrepareTargetZoneSide(MakeProjectedEllipsoid(state.ZielKoordinatenA, state.ZielKoordinatenF,
                                                              state.ZielKoordinatenK0),
                                       state.EllipsoidZielKoordinaten)
               : PrepareStartZoneSide();
    ZoneRowOrder order(side);
    const QString progressText = target ? QStringLiteral(" Zeilen, berechne Zone-Ziel...")
                                        : QStringLiteral(" Zeilen, berechne Zone-Start...");
    const QStringList read = target ? QStringList{"radBgZiel", "radLgZiel", "LgDezZiel", "sYeZiel", "Punkt"}
                                    : QStringList{"radBg", "radLg", "LgDez", "sYe", "Punkt"};
    const QStringList written = target ? QStringList{"Zone", "EllipsKO", "sYeZiel", "sXeZiel"}
                                       : QStringList{"Zone", "EllipsKO", "sYe", "sXe"};
    enum ReadColumn { kRadB, kRadL, kLongitude, kEasting, kPunkt };
    GridKooDb->SetRedraw(false);
    gridLocked = true;
    state.AnzahlDatensaetze = static_cast<qint32>(CountDatenRows(state.KooDb));
    const qint32 n = state.AnzahlDatensaetze;

    const auto computeIn = [&side](DatenRunRow& row, ZoneRowNote& note) {
      try {
        note.hint = AddZoneTexts(side, row.in[kRadB], row.in[kRadL], row.in[kEasting], note.used, row.out);
      } catch (const std::exception&) {
        RethrowNamingPoint(row.in[kPunkt]);
      }
      PutZoneNote(row, note);
    };
    constexpr int kNoteFehler = 0;  // note slot: the row keeps its "Fehler"
    const auto compute = [&](DatenRunRow& row) {
      row.note[kNoteFehler] = MarkedFehler(side, row.in[kEasting]) ? 1 : 0;
      if (row.note[kNoteFehler] != 0) return AddFehlerZoneTexts(row.out);
      // A row without latitude and longitude (appended by point number, say)
      // keeps its coordinates and plays no part in the choice of the zone.
      if (KeepsItsCoordinates(side, row.in[kRadB], row.in[kRadL], row.in[kEasting])) {
        row.keep = true;
        return;
      }
      ZoneRowNote note;
      note.longitudeEmpty = row.in[kLongitude].isEmpty();
      note.own = OwnZone(side, row.in[kLongitude]);
      note.used = ZoneGuess(side, note.own, order.decidedMeridian());
      computeIn(row, note);
    };
    qint64 leftAlone = 0;
    const auto beforeStore = [&](qint64, DatenRunRow& row) {
      if (row.keep) {
        ++leftAlone;
        return;
      }
      if (row.note[kNoteFehler] != 0) return;
      ZoneRowNote note = TakeZoneNote(row);
      RowZone zone;
      bool panels = false;
      if (!order.place(note, zone, panels)) {
        row.out.clear();
        note.used = zone;
        computeIn(row, note);
      }
      if (panels) ShowZonePanels(side, zone);
      order.count(note);
    };
    DatenBlockRun::Options options;
    options.nullReadsEmpty = true;
    DatenBlockRun walk(state.KooDb, read, written, options);
    walk.run(n, compute, beforeStore, [&](qint64 i, qint64 count) {
      ShowProgress(static_cast<int>(i), 0, static_cast<int>(count), true, progressText);
    });
    GridKooDb->SetRedraw(true);
    gridLocked = false;
    GridKooDb->Refresh();
    if (target) {
      state.ZielMeridian = order.current().meridian;
      state.ZielFalseEasting = order.current().falseEasting;
    } else {
      state.StartMeridian = order.current().meridian;
      state.StartFalseEasting = order.current().falseEasting;
    }
    WarnZoneHints(order.negative(), order.beyondZone());
    if (leftAlone > 0)
      Dialogs().messageBox(QString::number(leftAlone) + QStringLiteral(" Zeilen ohne Breite und Länge (") +
                               (target ? QStringLiteral("radBgZiel, radLgZiel") : QStringLiteral("radBg, radLg")) +
                               QStringLiteral(") sind unverändert geblieben!   "),
                           MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Umrechnung Zone"));
  };

  try {
    Dialogs().setBusy(true);
    FormVisible(false);
    Dialogs().processEvents();
    if (BtZoneStart->isChecked()) runSide(false);
    if (BtZoneZiel->isChecked()) runSide(true);
    FormVisible(true);
    Dialogs().setBusy(false);
  } catch (const std::exception& e) {
    const auto* error = dynamic_cast<const OrvenilError*>(&e);
    Dialogs().messageBox(
        (error ? error->description() : QString::fromUtf8(e.what())) + QStringLiteral(", Abbruch!"),
        MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Umrechnung"));
    ReleaseWindowAfterFailedRun(gridLocked);
  }
}

ZoneChangeSide FormOrvenil::PrepareStartZoneSide() {
  ProgramState& state = State();
  ZoneChangeSide side;
  side.ellipsoid = MakeProjectedEllipsoid(state.StartA, state.StartF, state.StartK0);
  state.StartB = side.ellipsoid.b;
  state.StartE = side.ellipsoid.e;
  state.StartK0 = side.ellipsoid.k0;
  if (txtTrafoParaStart->Text() != QLatin1String("ohne"))
    state.ZonenEllipsoidStart = EllipsoidForSystem(txtTrafoParaStart->Text());
  side.zoneEllipsoid = state.ZonenEllipsoidStart;
  side.before = {state.StartMeridian, state.StartFalseEasting};
  side.etrsStart = Startsys->isSelected(0);
  ReadZoneChoices(*this, side);
  return side;
}

ZoneChangeSide FormOrvenil::PrepareTargetZoneSide(const ProjectedEllipsoid& ellipsoid,
                                                  const QString& zoneEllipsoid) {
  ZoneChangeSide side;
  side.target = true;
  side.ellipsoid = ellipsoid;
  side.zoneEllipsoid = zoneEllipsoid;
  ReadZoneChoices(*this, side);
  return side;
}

void FormOrvenil::ShowZonePanels(const ZoneChangeSide& side, const RowZone& zone) {
  const QString name = side.target ? QStringLiteral("Ziel") : QStringLiteral("Start");
  xpStatusBar1->SetPanelText(3, (side.mode == 1 ? QStringLiteral("Individuell: ") : QStringLiteral("Automatisch: ")) +
                                    name + QStringLiteral("-Zone: ") + NumberText(zone.meridian) +
                                    QStringLiteral("  "));
  xpStatusBar1->SetPanelText(4, name + QStringLiteral("-Maßstab: ") + NumberText(side.ellipsoid.k0) +
                                    QStringLiteral("  "));
  xpStatusBar1->SetPanelText(5, name + QStringLiteral("-K0: ") + NumberText(zone.falseEasting) + QStringLiteral("m  "));
  for (int panel = 6; panel <= 8; ++panel) xpStatusBar1->SetPanelText(panel, QString());
}

// Each kind of row left without easting and northing is counted in its own
// text: negative eastings, and eastings that would run into their zone digit.
void FormOrvenil::WarnZoneHints(int negative, int beyondZone) {
  QStringList texts;
  if (negative > 0)
    texts << QString::number(negative) + QStringLiteral(" Hinweise! Abstand zum Mittelmeridian > 3.5°!") +
                 QStringLiteral("\n") + QStringLiteral("Es werden eventuell ungültige Ergebnisse berechnet!   ") +
                 QStringLiteral("\n") + QString::number(negative) +
                 QStringLiteral(" Punkte mit negativem Rechtswert: ihre Rechts- und Hochwerte bleiben leer!   ");
  if (beyondZone > 0) texts << BeyondZoneText(beyondZone);
  if (texts.isEmpty()) return;
  Dialogs().messageBox(texts.join(QStringLiteral("\n")), MsgButtons::Ok, MsgIcon::Exclamation,
                       QStringLiteral("Umrechnung Zone"));
}

}  // namespace orv
