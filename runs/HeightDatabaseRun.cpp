// The height-database run: every row of Daten gets the mean of the model
// values in a square window around its projected start position, as a
// terrain height (DGM200) or as a height difference added to the start height
// (hoetra2016).
#include <QtGlobal>
#include <memory>
#include <optional>

#include "foundation/DialogService.h"
#include "foundation/FileSystemHelpers.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "shell/ProgramState.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/db/DBEngine.h"
#include "platform/db/RunTransaction.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/VbStatusBar.h"
#include "runs/HeightModelLookup.h"
#include "shell/FormOrvenil.h"

namespace orv {

namespace {

// A stored coordinate or height as a number; Null, empty text, "Fehler" and
// any other text that is not a number give none.
std::optional<double> StoredNumber(const FieldValue& v) {
  if (v.isNull()) return std::nullopt;
  if (v.isNumber()) return v.toDouble();
  try {
    return ToDoubleStrict(v.text());
  } catch (const OrvenilError&) {
    return std::nullopt;
  }
}

// A window bound as the query text writes it: the general number form of up
// to 15 significant digits, read back.
double WindowBound(double v) { return Val(NumberText(v)); }

}  // namespace

void FormOrvenil::HeightFromModel(qint32 mode) {
  ProgramState& s = State();
  const bool terrain = mode == 4;
  const QString path =
      s.DatenbankVerzeichnis + (terrain ? QStringLiteral("DGM200.mdb") : QStringLiteral("hoetra2016.mdb"));
  const double d = terrain ? 200.0 : 1000.0;
  if (!FileExists(path)) {
    Dialogs().messageBox(QStringLiteral("Höhendatenbank: \"") + path + QStringLiteral("\" fehlt! Abbruch!   "),
                         MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Orvenil"));
    return;
  }
  Dialogs().setBusy(true);
  FormVisible(false);
  Dialogs().processEvents();

  Database model;
  std::unique_ptr<HeightModelLookup> lookup;
  bool gridHeld = false;
  // Whatever ends the run, the grid is drawn again and the recordset and the
  // model are closed, so the next run finds them free.
  auto release = [&] {
    if (gridHeld) {
      GridKooDb->SetRedraw(true);
      GridKooDb->Refresh();
      gridHeld = false;
    }
    if (s.KooDbDaten.isSet()) {
      if (s.KooDbDaten.isOpen() && s.KooDbDaten.editing()) s.KooDbDaten.cancelUpdate();
      s.KooDbDaten.close();
      s.KooDbDaten = Recordset();
    }
    lookup.reset();
    model.close();
  };
  try {
    model = DBEngine::openDatabase(path);
    lookup = std::make_unique<HeightModelLookup>(model, d);
    // The heights of all rows are stored in one transaction; an error keeps
    // the rows stored before it.
    RunTransaction transaction(s.KooDb);
    s.KooDbDaten = s.KooDb.openTable(QStringLiteral("Daten"));
    s.KooDbDaten.moveFirst();
    GridKooDb->SetRedraw(false);
    gridHeld = true;
    const qint64 n = s.KooDbDaten.recordCount();
    const int posY = s.KooDbDaten.fieldIndex(QStringLiteral("sYe"));
    const int posX = s.KooDbDaten.fieldIndex(QStringLiteral("sXe"));
    const int posZ = s.KooDbDaten.fieldIndex(QStringLiteral("sZe"));
    const int posZiel = s.KooDbDaten.fieldIndex(QStringLiteral("sZeZiel"));
    qint64 inside = 0;
    for (qint64 i = 1; i <= n; ++i) {
      s.KooDbDaten.edit();
      ShowProgress(static_cast<int>(i), 0, static_cast<int>(n - 1), true, QStringLiteral(" Höhen berechnet..."));
      if (i % 100 == 0) {
        xpStatusBar1->SetPanelText(10, QStringLiteral("berechnet ") +
                                           FormatNumber(static_cast<double>(i) * 100.0 / static_cast<double>(n),
                                                        QStringLiteral("0")) +
                                           QStringLiteral(" %  "));
        Dialogs().processEvents();
      }
      // A row without usable coordinates (or, for a height difference,
      // without a start height) lies outside the model. A row outside gets
      // "Fehler", so that no height of an earlier run passes for one of this run.
      const auto y = StoredNumber(s.KooDbDaten.value(posY));
      const auto x = StoredNumber(s.KooDbDaten.value(posX));
      const auto z = StoredNumber(s.KooDbDaten.value(posZ));
      QString target = QStringLiteral("Fehler");
      if (y && x && (terrain || z)) {
        double sum = 0;
        const qint64 count =
            lookup->sumWindow(WindowBound(*y - d), WindowBound(*y + d), WindowBound(*x - d), WindowBound(*x + d), sum);
        if (count > 0) {
          ++inside;
          const double h = RoundHalfEven(sum / static_cast<double>(count), 3);
          target = terrain ? FormatNumber(h, QStringLiteral("0.0")) : FormatNumber(*z + h, QStringLiteral("0.000"));
        }
      }
      s.KooDbDaten.setValue(posZiel, target);
      s.KooDbDaten.update();
      if (i < n) s.KooDbDaten.moveNext();
    }
    transaction.commit();
    const qint64 skipped = lookup->skippedPoints();
    release();
    xpStatusBar1->SetPanelText(10, QStringLiteral("Punkte ausserhalb Modell: ") + QString::number(n - inside));
    Dialogs().processEvents();
    Dialogs().setBusy(false);
    FormVisible(true);
    Dialogs().processEvents();
    if (skipped > 0)
      Dialogs().messageBox(QString::number(skipped) + QStringLiteral(" Modellpunkte ohne Zahl in Z (\"") + path +
                               QStringLiteral("\") sind übergangen worden!   "),
                           MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Höhenberechnung"));
  } catch (const OrvenilError& e) {
    // An empty table ends the run without a word; the dispatcher unlocks the window.
    if (e.number() != kErrTypeMismatch && e.number() != kErrNoCurrentRecord)
      Dialogs().messageBox(QStringLiteral("err: ") + QString::number(e.number()) + QStringLiteral(", ") +
                               e.description() + QStringLiteral(", Abbruch!"),
                           MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Höhenberechnung"));
    Dialogs().setBusy(false);
    release();
  } catch (const std::exception& e) {
    Dialogs().messageBox(QStringLiteral("err: 0, ") + QString::fromLocal8Bit(e.what()) + QStringLiteral(", Abbruch!"),
                         MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Höhenberechnung"));
    Dialogs().setBusy(false);
    release();
  }
}

}  // namespace orv
