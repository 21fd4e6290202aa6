// Choosing the start system (A) and the target system (B) by ellipsoid name,
// and the zone list that goes with the chosen side.
//
// Selecting a zone option from code runs its click handler, which looks the
// system up again; the handlers end because choosing the option that is
// already chosen runs nothing.
#include <QRadioButton>

#include "foundation/DialogService.h"
#include "foundation/NumberText.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbComboBox.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"
#include "shell/ZoneLists.h"

namespace orv {

namespace {

constexpr int kZoneStart = 0;  // BtZoneStart
constexpr int kZoneZiel = 1;   // BtZoneZiel

struct KoordSysRow {
  QString systemname;
  QString ellipsoidname;
  double a = 0;
  double f = 0;
  double m = 0;
};

// The coordinate-system row of an ellipsoid; false when there is none.
bool FindKoordSysRow(const DataGrid* grid, const QString& ellipsoidName, KoordSysRow& out) {
  const int row = grid->FindRow(QStringLiteral("Ellipsoidname"), ellipsoidName, 1);
  if (row == 0) return false;
  KoordSysRow found;
  found.systemname = grid->CellText(row, QStringLiteral("Systemname"));
  found.ellipsoidname = grid->CellText(row, QStringLiteral("Ellipsoidname"));
  found.a = ToDoubleStrict(grid->CellText(row, QStringLiteral("A")));
  found.f = ToDoubleStrict(grid->CellText(row, QStringLiteral("F")));
  found.m = ToDoubleStrict(grid->CellText(row, QStringLiteral("M")));
  out = found;
  return true;
}

void NotFoundMessage(const QString& text) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::None, kProgramTitle);
}

// Both sides alike: select the side's zone option, look the system up by
// its ellipsoid (a failed lookup keeps the side's values), refill the zones.
// The option's click handler would only repeat this lookup (and its message):
// the option is set without it.
void AssignSystem(FormOrvenil& form, const QString& ellipsoidName, ZoneSide side) {
  const bool target = side == ZoneSide::Target;
  form.BtZone->preset(target ? kZoneZiel : kZoneStart);
  ProgramState& state = State();
  KoordSysRow row;
  if (!FindKoordSysRow(form.GridKoordSys, ellipsoidName, row)) {
    NotFoundMessage(QStringLiteral("Koordinatensystem ") + (target ? QLatin1Char('B') : QLatin1Char('A')) +
                    QStringLiteral(" mit den angegebenen Kriterien nicht gefunden!"));
  } else if (target) {
    state.SystemnameZiel = row.systemname;
    state.ZielA = row.a;
    state.ZielF = row.f;
    state.ZielK0 = row.m;
    state.ZonenEllipsoidZiel = row.ellipsoidname;
  } else {
    state.SystemnameStart = row.systemname;
    state.StartA = row.a;
    state.StartF = row.f;
    state.StartK0 = row.m;
  }
  if (const auto items = ZoneListItems(ellipsoidName, side)) {
    form.zielZone->Clear();
    for (const QString& item : *items) form.zielZone->AddItem(item);
  }
  form.zielZone->SetText(QStringLiteral("automatisch"));
}

}  // namespace

void FormOrvenil::EllipsoidADatenZuordnen(const QString& ellipsoidName) {
  AssignSystem(*this, ellipsoidName, ZoneSide::Start);
}

void FormOrvenil::EllipsoidBDatenZuordnen(const QString& ellipsoidName) {
  AssignSystem(*this, ellipsoidName, ZoneSide::Target);
}

void FormOrvenil::StartellipsoidWaehlen(int index) {
  ProgramState& state = State();
  const QString ellipsoid = StartsysEllipsoid(index);
  if (!ellipsoid.isEmpty()) state.EllipsoidStart = ellipsoid;
  EllipsoidADatenZuordnen(state.EllipsoidStart);
  // Each ellipsoid name occurs in one item of the list only.
  for (int i = 0; i < cmbStartsys->ListCount(); ++i)
    if (!state.EllipsoidStart.isEmpty() && cmbStartsys->List(i).contains(state.EllipsoidStart))
      cmbStartsys->SetText(cmbStartsys->List(i));
  state.ZonenEllipsoidStart = state.EllipsoidStart;
}

void FormOrvenil::Startsys_Click(int index) {
  StartellipsoidWaehlen(index);
  // The user picks the zone next.
  Dialogs().openDropDown(zielZone);
}

void FormOrvenil::BtZoneStart_Click() {
  if (BtZone->isSelected(kZoneStart)) EllipsoidADatenZuordnen(State().EllipsoidStart);
}

void FormOrvenil::BtZoneZiel_Click() {
  if (!BtZone->isSelected(kZoneZiel)) return;
  // The zones offered are those of the system the target columns are in,
  // whatever set the panel shows now.
  const ProgramState& state = State();
  const QString target =
      TargetPositionsSystemKnown(state) ? state.EllipsoidZielKoordinaten : state.EllipsoidZiel;
  if (!target.isEmpty()) {
    EllipsoidBDatenZuordnen(target);
  } else {
    Dialogs().messageBox(QStringLiteral("Ziel-Koordinaten nicht vorhanden! Abbruch!"), MsgButtons::Ok,
                         MsgIcon::Critical, kProgramTitle);
    BtZone->select(kZoneStart);
  }
}

}  // namespace orv
