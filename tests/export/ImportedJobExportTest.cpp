// A job from a point file through the import to the export file, all from
// the window's keys.
#include "../import/ImportFixture.h"
#include "io/FormOrvenilExport.h"
#include "platform/ui/VbComboBox.h"

using ImportedJobTest = ImportTest;

TEST_F(ImportedJobTest, ImportedPointsExportedWithTheInputPresetAndHeight) {
  startWithTables();
  const QString path =
      writeFile("job.in", {"12 K1 4512345.678 5712345.678 101.5", "7 K2 4498765.432 5698765.432 0"});
  runImport(path, 2, [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); });
  ASSERT_EQ(form->GridKooDb->RowCount(), 2);

  dialogs->expectModal([](QDialog* d) {
    auto* dialog = static_cast<orv::FormOrvenilExport*>(d);
    dialog->TimerAllg_Timer();
    dialog->ComboExportLage->SetListIndex(2);  // "Eingabe verebnet"
    dialog->ComboExportHöhe->SetListIndex(1);  // "Höhe aus Eingabe"
    dialog->Command1_Click();
    return 1;
  });
  const QString out = root.path() + "/Auftrag";
  dialogs->expectSaveFile(out, 1);
  form->Coolbar2_ButtonClick(orv::kKeyDbSpeichernUnter);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(orv::State().SpeichernSpaltenNr, "1,2,3,4,5");
  // Stored order; the height of 0 became the approximate height.
  EXPECT_EQ(bytesOf(root.path() + "/Auftrag.pkt").toStdString(),
            "12 K1 4512345.6780 5712345.6780 101.5000\r\n7 K2 4498765.4320 5698765.4320 75.0000\r\n");
}
