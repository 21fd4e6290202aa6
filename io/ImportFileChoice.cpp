// The import's open dialog, and the line-end conversion of a chosen file.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "foundation/DialogService.h"
#include "foundation/FileSystemHelpers.h"
#include "foundation/LocaleSwitch.h"
#include "shell/ProgramState.h"
#include "foundation/RepairUmlauts.h"
#include "foundation/Windows1252.h"
#include "io/ImportLineFormats.h"
#include "platform/db/TemporaryFolder.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "shell/FormOrvenil.h"
#include "shell/SkipFailingStep.h"

namespace orv {

namespace {

constexpr qint64 kConversionBlock = 1000000;

// Where the converted copy of an import file goes: the temporary folder,
// under a name of this instance that the next start clears away.
QString WorkCopyPath(const QString& tempFolder, const QString& path) {
  return tempFolder + QStringLiteral("tmp_dao_orvenil_import_") + TimeStampString() + QLatin1Char('_') +
         InstanceMark() + QLatin1Char('_') + QFileInfo(path).fileName();
}

}  // namespace

void FormOrvenil::ChooseImportFile() {
  ProgramState& state = State();
  SkipFailingStep("ChooseImportFile: ComboTrafoPara", [&] { ComboTrafoPara->SetText(QStringLiteral("ohne")); });
  // The dialog opens again while the chosen file does not exist; a cancel
  // keeps the file chosen before.
  for (;;) {
    CommonDialog1.CancelError = true;
    CommonDialog1.Filter = kImportFilter;
    bool chosen = false;
    try {
      chosen = CommonDialog1.ShowOpen();
    } catch (const std::exception&) {
      chosen = false;
    }
    if (!chosen) {
      CommonDialog1.FileName.clear();
      return;
    }
    QString path = CommonDialog1.FileName;
    bool converted = false;
    SkipFailingStep("ChooseImportFile: ConvertUnixFile", [&] { ConvertUnixFile(path, true, converted); });
    if (!FileExists(path)) continue;
    state.ImportDatei = path;
    SkipFailingStep("ChooseImportFile: Statusleiste", [&] {
      xpStatusBar1->SetPanelText(2, QStringLiteral(".../") + QFileInfo(CommonDialog1.FileName).fileName().trimmed() +
                                        QStringLiteral("  "));
    });
    state.ImportDateiGewaehlt = true;
    return;
  }
}

void FormOrvenil::ConvertUnixFile(QString& path, bool /*replaceFile*/, bool& converted) {
  // The user's file is only read; the converted text goes to a work copy.
  Dialogs().processEvents();
  QFile in(path);
  if (!QFileInfo(path).isFile() || !in.open(QIODevice::ReadOnly)) return;
  const QString work = WorkCopyPath(State().TempVerzeichnis.isEmpty() ? QDir::tempPath() + QLatin1Char('/')
                                                                       : State().TempVerzeichnis,
                                    path);
  if (QFileInfo(work).absoluteFilePath() == QFileInfo(path).absoluteFilePath()) return;
  QFile out(work);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
  bool previousEndedWithCr = false;
  for (;;) {
    Dialogs().processEvents();
    QByteArray block = in.read(kConversionBlock);
    if (block.isEmpty()) {
      if (in.error() != QFileDevice::NoError) break;
      out.close();
      if (out.error() != QFileDevice::NoError) break;
      path = work;
      converted = true;
      return;
    }
    // A file with CR LF line ends needs no conversion.
    if (block.contains("\r\n") || (previousEndedWithCr && block.startsWith('\n'))) {
      converted = false;
      break;
    }
    previousEndedWithCr = block.endsWith('\r');
    block.replace("\n", "\r\n");
    QByteArray halved;
    halved.reserve(block.size());
    for (qsizetype i = 0; i < block.size(); ++i) {
      halved.append(block[i]);
      if (block[i] == '\r' && i + 1 < block.size() && block[i + 1] == '\r') ++i;
    }
    QString text = DecodeWindows1252(halved);
    RepairUmlauts(text);
    if (out.write(EncodeWindows1252(text)) < 0) break;
  }
  out.close();
  QFile::remove(work);
}

}  // namespace orv
