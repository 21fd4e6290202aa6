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
// counterparts; written: Zone, EllipsKO, sYe, sXe.
enum ReadColumn { kRadBg, kRadLg, kLgDez, kSYe };

}  // namespace

void FormOrvenil::ConvertZones() {
  ProgramState& state = State();
  if (!state.ImportDateiGewaehlt || state.ImportDatei.isEmpty() || state.StartA == 0 ||
      GridKooDb->RowCount() == 0)
    return;

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
    const QStringList names =
        target ? QStringList{"radBgZiel", "radLgZiel", "LgDezZiel", "sYeZiel", "Zone", "EllipsKO", "sYeZiel", "sXeZiel"}
               : QStringList{"radBg", "radLg", "LgDez", "sYe", "Zone", "EllipsKO", "sYe", "sXe"};
    int warnings = 0;

    GridKooDb->SetRedraw(false);
    gridLocked = true;
    state.AnzahlDatensaetze = static_cast<qint32>(CountDatenRows(state.KooDb));
    const qint32 n = state.AnzahlDatensaetze;
    // Each row's zone may depend on the rows before it: the rows are
    // computed in order.
    const auto compute = [&](DatenRunRow& row) {
      const qint64 i = row.index;
      // Rows never transformed hold no target values: they read as 0.
      const double phi = Val(row.in[kRadBg]);
      const double lambda = Val(row.in[kRadLg]);
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
        if (i == 1) {
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
        if (i == 1) writePanels(target, true, s);
      }
      RowTexts& out = row.out;
      out.add(NumberText(s.meridian));
      out.add(NumberText(s.falseEasting));

      if (target && Val(row.in[kSYe]) <= 0) {
        out.add(QString());
        out.add(QString());
      } else {
        const GridCoordinates g = GeographischInVerebnet(RoundTo15Digits(phi), RoundTo15Digits(lambda), s.ellipsoid,
                                                         s.falseEasting, s.meridian);
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
    DatenBlockRun walk(state.KooDb, names.mid(0, 4), names.mid(4), options);
    walk.run(
        n, compute, [](qint64, const DatenRunRow&) {},
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
