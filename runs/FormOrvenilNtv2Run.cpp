// The NTv2 run: the chosen NTv2 set's grid cache is opened (built when
// needed) and every row of Daten is shifted forward (one interpolation) or
// back (four fixed-point steps); rows inside the grid get their target
// columns, rows outside have them emptied.
#include <QCoreApplication>

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
    // On the workers: the shift and the target columns of the row; the
    // zone goes along for the window thread.
    enum ReadColumn { kBgDez, kLgDez, kBgDezSek, kLgDezSek, kSZe };
    const auto compute = [&cache, &target, &zoneEllipsoid, forward](DatenRunRow& row) {
      const double lat = ToDoubleStrict(row.in[kBgDez]);
      const double lon = ToDoubleStrict(row.in[kLgDez]);
      double latSec = 0, lonSec = 0;
      if (forward) {
        latSec = ToDoubleStrict(row.in[kBgDezSek]);
        lonSec = ToDoubleStrict(row.in[kLgDezSek]);
      }
      const Ntv2TargetPoint p = Ntv2ShiftPoint(cache, lat, lon, forward, latSec, lonSec);
      row.note[0] = p.inside ? 1 : 0;
      if (!p.inside) {
        for (qsizetype c = 0; c < Ntv2TargetColumnNames().size(); ++c) row.out.add(QString());
        return;
      }
      const Ntv2TargetColumns t =
          Ntv2TargetColumnTexts(p.latitude, p.longitude, Val(row.in[kSZe]), target, zoneEllipsoid);
      for (const auto& column : t.columns) row.out.add(column.second);
      row.note[1] = t.meridian;
      row.note[2] = t.falseEasting;
    };
    // On the window thread, in row order: the zone of the last row inside
    // the grid, the panels of the first row.
    const auto beforeStore = [&](qint64 i, const DatenRunRow& row) {
      if (row.note[0] == 0) return;
      state.ZielMeridian = static_cast<int32_t>(row.note[1]);
      state.ZielFalseEasting = row.note[2];
      if (i == 1) {
        xpStatusBar1->SetPanelText(6, QStringLiteral("Ziel-Zone: ") + NumberText(state.ZielMeridian) +
                                          QStringLiteral("  "));
        xpStatusBar1->SetPanelText(7,
                                   QStringLiteral("Ziel-Maßstab: ") + NumberText(target.k0) + QStringLiteral("  "));
        xpStatusBar1->SetPanelText(
            8, QStringLiteral("Ziel-K0: ") + NumberText(state.ZielFalseEasting) + QStringLiteral("m  "));
      }
    };
    DatenBlockRun::Options options;
    options.nullReadsEmpty = true;
    DatenBlockRun walk(job, {"BgDez", "LgDez", "BgDezSek", "LgDezSek", "sZe"}, Ntv2TargetColumnNames(), options);
    walk.run(count, compute, beforeStore, [](qint64 i, qint64 n) {
      ShowProgress(static_cast<int>(i), 0, static_cast<int>(n), true, QStringLiteral(" Zeilen, Transformation NTv2..."));
    });

    Dialogs().processEvents();
    GridKooDb->SetRedraw(true);
    GridKooDb->Refresh();
    FormVisible(true);
    Dialogs().processEvents();
    ConvertZones();
    Dialogs().setBusy(false);
    runCompleted_ = true;
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
