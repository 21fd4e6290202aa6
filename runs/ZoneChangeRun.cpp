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
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ZoneLists.h"

namespace orv {

namespace {

const QString kFourDecimals = QStringLiteral("0.0000");

// The projection of one side: ellipsoid, scale and the zone being used.
struct ZoneSideSetup {
  ProjectedEllipsoid ellipsoid;
  QString zoneEllipsoid;
  int32_t meridian = 0;
  double falseEasting = 0;
};

// Columns read: radBg, radLg, LgDez, sYe (start) or their target
// counterparts, and Punkt; written: Zone, EllipsKO, sYe, sXe.
enum ReadColumn { kRadBg, kRadLg, kLgDez, kSYe, kPunkt };

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

}  // namespace

void FormOrvenil::ConvertZones() {
  ProgramState& state = State();
  if (!state.ImportDateiGewaehlt || state.ImportDatei.isEmpty() || state.StartA == 0 ||
      GridKooDb->RowCount() == 0)
    return;

  if (BtZoneStart->isChecked()) {
    const QString refusal = StartSideRefusal(txtTrafoParaStart->Text(), StartsysEllipsoid(Startsys->value()),
                                             GridKoordSys);
    if (!refusal.isEmpty()) {
      Dialogs().messageBox(refusal + QStringLiteral(": Zone-Start wird nicht umgerechnet! Abbruch!"),
                           MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Umrechnung Zone"));
      return;
    }
  }

  bool gridLocked = false;
  int32_t shownMeridian = 0;
  const auto writePanels = [&](bool target, bool individual, const ZoneSideSetup& s) {
    const QString side = target ? QStringLiteral("Ziel") : QStringLiteral("Start");
    xpStatusBar1->SetPanelText(
        3, (individual ? QStringLiteral("Individuell: ") : QStringLiteral("Automatisch: ")) + side +
               QStringLiteral("-Zone: ") + NumberText(s.meridian) + QStringLiteral("  "));
    xpStatusBar1->SetPanelText(4,
                               side + QStringLiteral("-Maßstab: ") + NumberText(s.ellipsoid.k0) + QStringLiteral("  "));
    xpStatusBar1->SetPanelText(
        5, side + QStringLiteral("-K0: ") + NumberText(s.falseEasting) + QStringLiteral("m  "));
    for (int panel = 6; panel <= 8; ++panel) xpStatusBar1->SetPanelText(panel, QString());
  };
  const auto reportLeftAlone = [&](qint64 count, bool target) {
    if (count > 0)
      Dialogs().messageBox(QString::number(count) + QStringLiteral(" Zeilen ohne Breite und Länge (") +
                               (target ? QStringLiteral("radBgZiel, radLgZiel") : QStringLiteral("radBg, radLg")) +
                               QStringLiteral(") sind unverändert geblieben!   "),
                           MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Umrechnung Zone"));
  };
  const auto warn = [&](int count) {
    if (count > 0)
      Dialogs().messageBox(
          QString::number(count) + QStringLiteral(" Hinweise! Abstand zum Mittelmeridian > 3.5°!") +
              QStringLiteral("\n") + QStringLiteral("Es werden eventuell ungültige Ergebnisse berechnet!   "),
          MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Umrechnung Zone"));
  };

  // One side over all rows. The start side keeps its results in the
  // program-wide start values; the target side works on its own copies, so
  // that the start system stays as the import left it.
  const auto runSide = [&](bool target) {
    ZoneSideSetup s;
    if (target) {
      s.ellipsoid = MakeProjectedEllipsoid(state.ZielA, state.ZielF, state.ZielK0);
      s.zoneEllipsoid = state.ZonenEllipsoidZiel;
    } else {
      s.ellipsoid = MakeProjectedEllipsoid(state.StartA, state.StartF, state.StartK0);
      state.StartB = s.ellipsoid.b;
      state.StartE = s.ellipsoid.e;
      state.StartK0 = s.ellipsoid.k0;
      if (txtTrafoParaStart->Text() != QLatin1String("ohne"))
        state.ZonenEllipsoidStart = EllipsoidForSystem(txtTrafoParaStart->Text());
      s.zoneEllipsoid = state.ZonenEllipsoidStart;
      s.meridian = state.StartMeridian;
      s.falseEasting = state.StartFalseEasting;
    }
    const auto refreshStartEllipsoid = [&] {
      if (!target && txtTrafoParaStart->Text() != QLatin1String("ohne")) {
        state.ZonenEllipsoidStart = EllipsoidForSystem(txtTrafoParaStart->Text());
        s.zoneEllipsoid = state.ZonenEllipsoidStart;
      }
    };
    const bool etrsStart = Startsys->isSelected(0);
    const QString progressText = target ? QStringLiteral(" Zeilen, berechne Zone-Ziel...")
                                        : QStringLiteral(" Zeilen, berechne Zone-Start...");
    const QStringList read = target ? QStringList{"radBgZiel", "radLgZiel", "LgDezZiel", "sYeZiel", "Punkt"}
                                    : QStringList{"radBg", "radLg", "LgDez", "sYe", "Punkt"};
    const QStringList written = target ? QStringList{"Zone", "EllipsKO", "sYeZiel", "sXeZiel"}
                                       : QStringList{"Zone", "EllipsKO", "sYe", "sXe"};
    int warnings = 0;
    bool zoneStarted = false;  // a row has reached the zone determination

    GridKooDb->SetRedraw(false);
    gridLocked = true;
    state.AnzahlDatensaetze = static_cast<qint32>(CountDatenRows(state.KooDb));
    const qint32 n = state.AnzahlDatensaetze;
    // Each row's zone may depend on the rows before it: the rows are
    // computed in order.
    const auto compute = [&](DatenRunRow& row) {
      // A row without latitude and longitude (appended by point number, say)
      // keeps its coordinates. On the target side a row without a positive
      // target easting (never transformed) is emptied as before.
      double phi = 0, lambda = 0;
      const bool geographic = ReadFiniteNumber(row.in[kRadBg], phi) && ReadFiniteNumber(row.in[kRadLg], lambda);
      const bool noTarget = target && Val(row.in[kSYe]) <= 0;
      if (!geographic && !noTarget) {
        row.keep = true;
        return;
      }
      const bool first = !zoneStarted;
      zoneStarted = true;
      const QString& longitude = row.in[kLgDez];

      // Zone of the row.
      const int mode = chkZoneIndividuell->Value();
      const auto determine = [&](bool fromList) {
        if (fromList) {
          s.meridian =
              static_cast<int32_t>(std::nearbyint(Val(GetToken(zielZone->Text(), 1, QStringLiteral("/")))));
        } else {
          s.meridian = ErmittleZoneAusLaenge(longitude, s.zoneEllipsoid);
        }
        refreshStartEllipsoid();
        s.falseEasting = ErmittleFalseEasting(s.meridian, s.zoneEllipsoid);
      };
      if (mode == 0) {
        const bool automatic = zielZone->Text() == QLatin1String("automatisch");
        // A target row without a longitude (not transformed) says nothing
        // about the zone: the next row with one decides.
        if (first) {
          if (!(target && automatic && longitude.isEmpty())) {
            determine(!automatic);
            writePanels(target, false, s);
            shownMeridian = s.meridian;
          }
        } else if (s.meridian == 0 && !(target && longitude.isEmpty())) {
          determine(!automatic);
          if (s.meridian != shownMeridian) {
            writePanels(target, false, s);
            shownMeridian = s.meridian;
          }
        }
      } else if (mode == 1) {
        determine(false);
        if (first) writePanels(target, true, s);
      }
      RowTexts& out = row.out;
      out.add(NumberText(s.meridian));
      out.add(NumberText(s.falseEasting));

      if (noTarget) {
        out.add(QString());
        out.add(QString());
      } else {
        GridCoordinates g;
        try {
          g = GeographischInVerebnet(RoundTo15Digits(phi), RoundTo15Digits(lambda), s.ellipsoid, s.falseEasting,
                                     s.meridian);
        } catch (const std::exception&) {
          RethrowNamingPoint(row.in[kPunkt]);
        }
        if (target || etrsStart) {
          if (g.easting < 0) {
            ++warnings;
            out.add(QString());
            out.add(QString());
          } else if (target) {
            const QString easting = FormatNumber(g.easting, kFourDecimals);
            const double digit = Val(MeridianCodeDigit(NumberText(s.meridian), s.zoneEllipsoid));
            out.add(FormatNumber(digit * 1000000 + Val(easting), kFourDecimals));
            out.add(FormatNumber(g.northing, kFourDecimals));
          } else {
            const double digit = ZoneFromCentralMeridian(static_cast<int16_t>(s.meridian));
            out.add(FormatNumber(digit * 1000000 + RoundTo15Digits(g.easting), kFourDecimals));
            out.add(FormatNumber(g.northing, kFourDecimals));
          }
        } else {
          out.add(FormatNumber(g.easting, kFourDecimals));
          out.add(FormatNumber(g.northing, kFourDecimals));
        }
      }
    };
    DatenBlockRun::Options options;
    options.nullReadsEmpty = true;
    options.computeInOrder = true;
    qint64 leftAlone = 0;
    DatenBlockRun walk(state.KooDb, read, written, options);
    walk.run(
        n, compute, [&](qint64, const DatenRunRow& row) { leftAlone += row.keep ? 1 : 0; },
        [&](qint64 i, qint64 count) { ShowProgress(static_cast<int>(i), 0, static_cast<int>(count), true, progressText); });
    GridKooDb->SetRedraw(true);
    gridLocked = false;
    GridKooDb->Refresh();
    if (target) {
      state.ZielMeridian = s.meridian;
      state.ZielFalseEasting = s.falseEasting;
    } else {
      state.StartMeridian = s.meridian;
      state.StartFalseEasting = s.falseEasting;
    }
    warn(warnings);
    reportLeftAlone(leftAlone, target);
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

}  // namespace orv
