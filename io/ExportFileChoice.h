#pragma once
// The rules of the export's save dialog: its filter list, the filter chosen
// in advance by the export preset, the proposed file name and the file name
// made from the user's choice.
#include <QString>

namespace orv {

// Filter indexes of the save dialog (1-based), one per output format.
enum ExportFormat {
  kExportAscii = 1,
  kExportAsciiTab = 2,
  kExportXls = 3,
  kExportCsv = 4,
  kExportVessel = 5,
  kExportLgo = 6,
  kExportWaypoints = 7,
  kExportGeograf = 8,
};

// "ASCII (*.*)|*.*|ASCII-TAB (*.*)|*.*|Excel (*.xls)|*.xls|…|Geograf (*.in)|*.in|"
QString ExportFilterString();

// The filter index the dialog starts with for an export preset: the
// Mikrokopter presets 7, the Brisa vessel preset 5, the LGO presets 6,
// every other text (also none) 8.
int ExportFilterForPreset(const QString& preset);

// The extension a format's file must have: ".pkt", ".xls", ".csv", ".asc",
// ".wpl" or ".in"; "" for an index outside 1 to 8.
QString ExportExtension(int filterIndex);

// "export_" and the imported file's name without folder and last extension.
QString ExportDefaultFileName(const QString& importFile);

// The chosen name as the user wrote it (the file system tells upper and
// lower case apart), with the format's extension appended unless it ends
// with it already in any case.
QString ExportFileName(const QString& chosen, int filterIndex);

}  // namespace orv
