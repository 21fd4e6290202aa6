// The NTv2 run: the chosen NTv2 set's grid cache is opened (built when
// needed) and every row of Daten is shifted forward (one interpolation) or
// back (four fixed-point steps); rows inside the grid get their target
// columns, rows outside have them emptied.
#include <QCoreApplication>
#include <QRadioButton>
#include <memory>

#include "foundation/DatabaseFolderFile.h"
#include "foundation/DialogService.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "geodesy/Ntv2GridCache.h"
#include "platform/db/DBEngine.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTextBox.h"
#include "runs/DatenBlockRun.h"
#include "runs/Ntv2CacheDatabase.h"
#include "runs/Ntv2Run.h"
#include "runs/RunFrame.h"
#include "runs/ZoneChangeRows.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/SkipFailingStep.h"

namespace orv {

namespace {

const QString kNtv2Title = QStringLiteral("NTv2");

QString Quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

Database& OpenKooDb() {
  ProgramState& state = State();
  if (!state.KooDb.isOpen()) state.KooDb = DBEngine::openDatabase(state.KooDbPfad);
  return state.KooDb;
}

}  // namespace

void FormOrvenil::RunNtv2Transformation() {
  ProgramState& state = State();
  const auto refuse = [&](const QString& text) {
    Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, kNtv2Title);
    ComboTrafoPara->SetText(QStringLiteral("ohne"));
  };
  if (TrimBlanks(ComboTrafoPara->Text()) == QLatin1String("ohne")) {
    refuse(QStringLiteral("Systemparameter fehlen! Abbruch!"));
    return;
  }
  if (GridKooDb->RowCount() == 0) {
    refuse(QStringLiteral("Daten fehlen! Abbruch!"));
    return;
  }

  bool redrawOff = false;
  try {
    Dialogs().setBusy(true);
    StatusForm()->show();
    FormVisible(false);
    Dialogs().processEvents();

    const int setRow = ComboTrafoPara->ListIndex() + 1;
    const QString gridPath = DatabaseFolderFile(state.DatenbankVerzeichnis,
                                                GridNTv2Sys->CellText(setRow, QStringLiteral("Trafosatz")));
    const Ntv2OpenCache open = OpenNtv2GridCache(
        gridPath, state.TempVerzeichnis, state.NTv2Gitterdatenbank, [](int line, int total) {
          ShowProgress(line, 0, total, true, QStringLiteral(" Zeilen, Datenbank wird erstellt..."));
        });
    state.NTv2Gitterdatenbank = open.database;
    state.NTv2AnzahlGitter = open.tableCount;
    state.NTv2Kopf = open.overview.header;
    if (!open.buildPath.isEmpty()) state.NTv2TempPfad = open.buildPath;
    const Ntv2GridCache cache(state.NTv2Gitterdatenbank, state.NTv2AnzahlGitter);

    StatusForm()->show();
    const Database job = OpenKooDb();

    const bool forward = AuswahlTrafoRichtung->isSelected(0);
    const QString ellipsoidA = GridNTv2Sys->CellText(setRow, QStringLiteral("EllipsoidA"));
    const QString ellipsoidB = GridNTv2Sys->CellText(setRow, QStringLiteral("EllipsoidB"));
    state.EllipsoidStart = forward ? ellipsoidA : ellipsoidB;
    EllipsoidADatenZuordnen(state.EllipsoidStart);
    state.EllipsoidZiel = forward ? ellipsoidB : ellipsoidA;
    EllipsoidBDatenZuordnen(state.EllipsoidZiel);
    if (state.EllipsoidStart != state.EllipsoidImport) {
      Dialogs().messageBox(QStringLiteral("Die Transformationsrichtung ") +
                               Quoted(forward ? QStringLiteral("Hin") : QStringLiteral("Rück")) +
                               QStringLiteral(" mit ") +
                               Quoted(forward ? txtTrafoParaStart->Text() : txtTrafoParaZiel->Text()) +
                               QStringLiteral(" ist falsch!   "),
                           MsgButtons::Ok, MsgIcon::Critical, kNtv2Title);
      return;
    }

    const ProjectedEllipsoid target = MakeProjectedEllipsoid(state.ZielA, state.ZielF, state.ZielK0);
    const QString zoneEllipsoid = state.ZonenEllipsoidZiel;
    state.ZielB = target.b;
    state.ZielE = target.e;
    state.ZielK0 = target.k0;

    GridKooDb->SetRedraw(false);
    redrawOff = true;
    const qint64 count = CountDatenRows(job);
    state.AnzahlDatensaetze = static_cast<qint32>(count);
    // With Zone-Ziel chosen, the zone change that closes the run is done
    // within it: each row's zone texts are computed with its NTv2 texts and
    // stored by the same update. Should a row fail, that walk is undone and
    // the run walks the rows again without it, followed by the zone change
    // on its own, so that the rows end as those two passes leave them.
    bool zonesWithin = state.ImportDateiGewaehlt && !state.ImportDatei.isEmpty() && state.StartA != 0 &&
                       BtZoneZiel->isChecked() && !BtZoneStart->isChecked();
    std::unique_ptr<ZoneChangeSide> side;
    std::unique_ptr<ZoneRowOrder> order;
    enum ReadColumn { kBgDez, kLgDez, kBgDezSek, kLgDezSek, kSZe, kPunkt };
    constexpr int kNoteFehler = 3;  // note slot: the row had no usable start values
    qint64 fehlerRows = 0;
    // Positions in the NTv2 target columns.
    enum TargetColumn { kLonText = 1, kRadB = 4, kRadL = 5, kNorthing = 12, kEasting = 13 };
    const auto walkRows = [&](bool withZones) {
      QStringList columns = Ntv2TargetColumnNames();
      if (withZones) {
        side = std::make_unique<ZoneChangeSide>(PrepareZoneSide(true));
        order = std::make_unique<ZoneRowOrder>(*side);
        columns.removeAt(kEasting);
        columns.removeAt(kNorthing);
        columns << QStringLiteral("Zone") << QStringLiteral("EllipsKO") << QStringLiteral("sYeZiel")
                << QStringLiteral("sXeZiel");
      }
      // On the workers (or, for a row whose zone was guessed wrong, on this
      // thread): the shift and the target columns of the row; the zone goes
      // along for the window thread.
      const auto computeRow = [&, withZones](DatenRunRow& row, const RowZone* zone) {
        // A start value too large for a number stops the run naming its point.
        const auto read = [&row](int c, double& v) {
          try {
            return ReadNtv2StartValue(row.in[size_t(c)], v);
          } catch (const OrvenilError& e) {
            throw OrvenilError(e.number(), QStringLiteral("Punkt ") + row.in[kPunkt].trimmed() +
                                               QStringLiteral(": ") + e.description());
          }
        };
        double lat = 0, lon = 0, latSec = 0, lonSec = 0;
        const bool usable = read(kBgDez, lat) && read(kLgDez, lon) &&
                            (!forward || (read(kBgDezSek, latSec) && read(kLgDezSek, lonSec)));
        row.note[kNoteFehler] = usable ? 0 : 1;
        if (!usable) {
          // No start point (a point appended by its number, say): the row's
          // target columns say "Fehler", and the zone change leaves it so.
          row.note[0] = 0;
          const QStringList& names = Ntv2TargetColumnNames();
          for (int c = 0; c < names.size(); ++c)
            if (!withZones || (c != kNorthing && c != kEasting)) row.out.add(Ntv2FehlerText(names[c]));
          if (withZones) AddFehlerZoneTexts(row.out);
          return;
        }
        const Ntv2TargetPoint p = Ntv2ShiftPoint(cache, lat, lon, forward, latSec, lonSec);
        Ntv2TargetColumns t;
        if (p.inside) t = Ntv2TargetColumnTexts(p.latitude, p.longitude, Val(row.in[kSZe]), target, zoneEllipsoid);
        row.note[0] = p.inside ? 1 : 0;
        row.note[1] = t.meridian;
        row.note[2] = t.falseEasting;
        static const QString kEmpty;
        const auto text = [&](int c) -> const QString& { return p.inside ? t.columns[size_t(c)].second : kEmpty; };
        for (int c = 0; c < Ntv2TargetColumnNames().size(); ++c)
          if (!withZones || (c != kNorthing && c != kEasting)) row.out.add(text(c));
        if (!withZones) return;
        // Every row of the run has target values or none at all; a row the
        // zone change would leave alone cannot arise, and should one, the
        // run does the two passes instead.
        if (KeepsItsCoordinates(*side, text(kRadB), text(kRadL), text(kEasting)))
          throw OrvenilError(kErrInvalidProcedureCall, QStringLiteral("Zeile ohne Breite und Länge"));
        ZoneRowNote note;
        note.longitudeEmpty = text(kLonText).isEmpty();
        note.own = OwnZone(*side, text(kLonText));
        note.used = zone ? *zone : ZoneGuess(*side, note.own, order->decidedMeridian());
        note.warning = AddZoneTexts(*side, text(kRadB), text(kRadL), text(kEasting), note.used, row.out);
        PutZoneNote(row, note);
      };
      // On the window thread, in row order: the zone of the last row inside
      // the grid and the panels of the first row; then the row's zone.
      const auto beforeStore = [&, withZones](qint64 i, DatenRunRow& row) {
        ZoneRowNote note;
        RowZone zone;
        bool zonePanels = false;
        if (row.note[kNoteFehler] != 0) {
          ++fehlerRows;
          return;
        }
        if (withZones) {
          note = TakeZoneNote(row);
          if (!order->place(note, zone, zonePanels)) {
            row.out.clear();
            computeRow(row, &zone);
            note = TakeZoneNote(row);
          }
          order->count(note);
        }
        if (row.note[0] != 0) {
          state.ZielMeridian = static_cast<int32_t>(row.note[1]);
          state.ZielFalseEasting = row.note[2];
          if (i == 1) {
            xpStatusBar1->SetPanelText(6, QStringLiteral("Ziel-Zone: ") + NumberText(state.ZielMeridian) +
                                              QStringLiteral("  "));
            xpStatusBar1->SetPanelText(
                7, QStringLiteral("Ziel-Maßstab: ") + NumberText(target.k0) + QStringLiteral("  "));
            xpStatusBar1->SetPanelText(
                8, QStringLiteral("Ziel-K0: ") + NumberText(state.ZielFalseEasting) + QStringLiteral("m  "));
          }
        }
        if (zonePanels) ShowZonePanels(*side, zone);
      };
      DatenBlockRun::Options options;
      options.nullReadsEmpty = true;
      options.undoOnError = withZones;
      fehlerRows = 0;
      DatenBlockRun walk(job, {"BgDez", "LgDez", "BgDezSek", "LgDezSek", "sZe", "Punkt"}, columns, options);
      walk.run(
          count, [&computeRow](DatenRunRow& row) { computeRow(row, nullptr); }, beforeStore,
          [](qint64 i, qint64 n) {
            ShowProgress(static_cast<int>(i), 0, static_cast<int>(n), true,
                         QStringLiteral(" Zeilen, Transformation NTv2..."));
          });
    };
    if (zonesWithin) {
      try {
        walkRows(true);
      } catch (const std::exception&) {
        zonesWithin = false;
        walkRows(false);
      }
    } else {
      walkRows(false);
    }

    Dialogs().processEvents();
    GridKooDb->SetRedraw(true);
    GridKooDb->Refresh();
    FormVisible(true);
    Dialogs().processEvents();
    if (zonesWithin) {
      state.ZielMeridian = order->current().meridian;
      state.ZielFalseEasting = order->current().falseEasting;
      WarnNegativeEastings(order->warnings());
    } else {
      ConvertZones();
    }
    Dialogs().setBusy(false);
    runCompleted_ = true;
    if (fehlerRows > 0) {
      const QString startColumns =
          forward ? QStringLiteral("BgDez, LgDez, BgDezSek, LgDezSek") : QStringLiteral("BgDez, LgDez");
      Dialogs().messageBox(QString::number(fehlerRows) +
                               QStringLiteral(" Zeilen ohne gültige Startkoordinaten (") + startColumns +
                               QStringLiteral("): ihre Zielwerte sind \"Fehler\"!   "),
                           MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Umrechnung NTv2"));
    }
  } catch (const OrvenilError& e) {
    Dialogs().messageBox(QStringLiteral("Fehler: ") + e.description() + QStringLiteral("! Abbruch!"),
                         MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Umrechnung NTv2"));
    SkipFailingStep("HideBusyWindow", [&] { HideBusyWindow(); });
    SkipFailingStep("FormVisible", [&] { FormVisible(true); });
    if (redrawOff) {
      SkipFailingStep("GridKooDb.SetRedraw", [&] { GridKooDb->SetRedraw(true); });
      SkipFailingStep("GridKooDb.Refresh", [&] { GridKooDb->Refresh(); });
    }
    Dialogs().setBusy(false);
  }
}

}  // namespace orv
