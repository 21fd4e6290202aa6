#pragma once
// The main window: the user interface and the object through which the
// operations read their options. One class over several files, one topic
// each: controls (FormOrvenilControls.cpp), layout and panel state
// (FormOrvenilLayout.cpp), start-up and shutdown (FormOrvenilStartup.cpp),
// system tables (FormOrvenilTables.cpp) and their editor
// (FormOrvenilTableEditor.cpp), toolbar (FormOrvenilToolbar.cpp), start and
// target system selection (FormOrvenilSelection.cpp), transformation type
// (FormOrvenilTrafoType.cpp), the transformation panel
// (FormOrvenilTrafoPanel.cpp), the import chain of the toolbar
// (FormOrvenilImportChain.cpp), the import itself (io/ImportFileChoice.cpp,
// io/ImportCoordinateFile.cpp with io/ImportRun.cpp, io/ImportGeoidStep.cpp), the exchange with the
// geoid program (runs/GeoidUndulationsExternal.cpp), the runs and their
// buttons (runs/), and the handlers still waiting for their operations
// (FormOrvenilPending.cpp).
#include <QMainWindow>
#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <map>

#include "foundation/FileIdentity.h"
#include "geodesy/GeocentricConversion.h"
#include "platform/db/Recordset.h"
#include "platform/db/TemporaryFolder.h"
#include "platform/ui/DataGrid.h"
#include "shell/FormOrvenilControls.h"
#include "shell/SystemTableDefinitions.h"
#include "shell/SystemTableMerge.h"

namespace orv {

struct RowZone;
struct ZoneChangeSide;
struct ProjectedEllipsoid;

// The three folders the window works with; each ends with "/".
// How an import of a point file ended: the file refused before it was read;
// the run ended before a row of the file was stored, by the user's cancel or
// otherwise (the job's rows stay); the user cancelled after rows were stored
// (the rows read so far are the job); read.
enum class ImportEnd { Refused, CancelledJobKept, JobKept, Cancelled, Read };

struct FormOrvenilFolders {
  QString programFolder;   // the executable's folder (help page)
  QString databaseFolder;  // system tables, grids, geoid models
  QString tempFolder;      // temporary databases
};

// The command line as the window takes it: every double quote removed,
// blanks trimmed; the case is kept (file names are case-sensitive here).
QString CleanCommandLine(const QString& commandLine);

// Adds a row for every line of a ";"-separated text file, in file order
// (lines end at CR LF, CR or a lone LF, a last line without an end counts;
// an empty line is an empty row). A TAB inside a cell is read as a blank and
// the lines holding one are named in a message.
void AddRowsFromTextFile(DataGrid* grid, const QString& path);
// Writes a file-backed table's text file: one line a row, ";" between the
// cells. False when the file cannot be written.
bool WriteSystemTableTextFile(DataGrid* grid, const QString& path);

class FormOrvenil : public QMainWindow, public FormOrvenilControls {
 public:
  FormOrvenil(const FormOrvenilFolders& folders, const QString& commandLine,
              QWidget* parent = nullptr);
  ~FormOrvenil() override;

  // Public operations.
  double GradInRad(const QString& degreeText) const;
  QString FormatSeconds(double seconds, const QString& formatName) const;
  QString DezMinInGrad(const QString& decimalMinutes) const;
  QString DezGradInGrad(double decimalDegrees) const;
  QString RadInGrad(double radians) const;
  double asin(double x) const;
  GeocentricPoint EllToGeoZent(double B, double L, double h, double a, double e) const;
  GeographicPoint GeoZentToEll(double X, double Y, double Z, double a, double e) const;
  GeocentricPoint SevenParTrans(double X, double Y, double Z, double dX, double dY, double dZ,
                                double m, double r1, double r2, double r3) const;
  // Locks (False) or unlocks (True) the input panels around long operations.
  void FormVisible(bool enabled);
  // Selects the start system by ellipsoid name and fills the zone list.
  void EllipsoidADatenZuordnen(const QString& ellipsoidName);
  // Selects the target system by ellipsoid name and fills the zone list.
  void EllipsoidBDatenZuordnen(const QString& ellipsoidName);
  // Sets the start ellipsoid from a start-system option index (0 to 3).
  void StartellipsoidWaehlen(int index);
  // The coordinate grid's column view without (False) or with a transformation.
  void ShowColumnsForTrafo(bool on);
  // Describes the chosen set in the panel, the grid caption and the status
  // bar, and allows the start only when the set fits the data's start system.
  void DescribeTransformation();
  // Enables "Trafo starten" by the panel's rule; unlocking the panel after a
  // run (FormVisible) applies it again.
  void ApplyTrafoStartRule();
  // The table whose sets ComboTrafoPara lists: the seven-parameter or the
  // NTv2 sets; nullptr while it lists none.
  DataGrid* SetListTable() const;
  // The row of `table` that holds the set ComboTrafoPara names, found by its
  // name (a set chosen from the list among several of the same name by the
  // number of those before it); 0 when no set is named or it is gone.
  int ChosenSetRow(const DataGrid* table) const;
  // The same row found in the list's names, which are those of the table
  // before an edit that the list has not followed yet.
  int ChosenSetRowInList() const;
  // After an edit of `table`: the list of its sets is filled anew, and the
  // set chosen before stays chosen at its row after the edit (chosenRow; 0
  // when it is gone, which leaves its name in the box for the run to refuse).
  void SetListFollowsTable(const DataGrid* table, int chosenRow);

  // Start-up and shutdown.
  void Form_Initialize();
  void Form_Load();
  void Form_QueryUnload(bool& cancel, int unloadMode);
  void Form_Resize();

  // Handlers.
  void Coolbar2_ButtonClick(const QString& key);
  void Coolbar2_ButtonMenuClick(const QString& itemKey);
  void cmdAuswahlImport_Click();
  void cmdAuswahlExport_Click();
  // The toolbar key "Datei exportieren" and the panel's button of the same
  // name: disabled until an import or a run gives the job rows to write.
  void EnableExport();
  void cmdTrafoStart_Click();
  void cmdZoneÄndern_Click();
  void TimerAllg_Timer();
  void zielZone_Click();
  void Startsys_Click(int index);
  void StartAbbildung_Click(int index);
  void AuswahlTrafoTyp_Click(int index);
  void AuswahlTrafoRichtung_Click(int index);
  void ComboTrafoPara_Click();
  void cmbGeoidmodell_Click();
  void BtZoneStart_Click();
  void BtZoneZiel_Click();
  void sevTabStrip1_Click();
  void mnuPopUp_Click(int index);
  void GridTrafoSys_MouseUp(int button, int column);
  void GridNTv2Sys_MouseUp(int button, int column);
  void GridGeoidmodell_MouseUp(int button, int column);
  void GridTrafoSys_BeforeDelete(int row, bool& cancel);
  void GridNTv2Sys_BeforeDelete(int row, bool& cancel);
  void GridGeoidmodell_BeforeDelete(int row, bool& cancel);
  void GridKooDb_RowChange();

  // System tables. Loads one file-backed table from its ".fil" or ".dat";
  // writeBack rewrites both files afterwards (the NTv2 and geoid tables).
  void LoadSystemTable(SystemTable table, bool writeBack);
  // Saves the changes of a file-backed table to its ".dat" (";" between
  // cells) and its ".fil", merged into the files as another instance may have
  // left them; an unchanged table writes nothing. A file that could not be
  // read at start-up is never replaced, so its rows survive for a program
  // version that can read them. Reports a failed save with the save message;
  // returns whether the table's changes are in both files.
  bool SaveSystemTableFiles(SystemTable table);
  // Saves every table with edits made since its last save as "Daten
  // speichern" does, without the report of success; a failure is reported.
  void SaveEditedSystemTables();
  // True while a table holds edits that are not in its files yet.
  bool HasUnsavedEdits(SystemTable table) const { return editedTables_.contains(static_cast<int>(table)); }
  // True when the table's ".fil" existed but could not be read this run.
  bool GridFileUnreadable(SystemTable table) const { return unreadableGridFiles_.contains(static_cast<int>(table)); }
  DataGrid* SystemTableGrid(SystemTable table) const;
  // The geoid-model choice list: "ohne", then every model's name.
  void FillGeoidModelList();
  // The parameter-set choice list: every set's name, no "ohne".
  void FillParameterSetList();

  void ShowBusyWindow();
  void HideBusyWindow();

  // Export (io/FormOrvenilExportRun.cpp) and the coordinate grid's events
  // (shell/FormOrvenilGridEvents.cpp).
  // Runs ExportCoordinateTable inside the busy window when columns are chosen.
  void ExportStarten();
  // Save dialog, then the chosen format's writer over table Daten.
  void ExportCoordinateTable();
  void GridKooDb_ExportRow(int row, int total, bool& skip);
  void GridKooDb_FormatRow(int row, GridRow& rowObject);
  // Opens the web map at the current row's point while the map key is pressed.
  void ShowPointOnWebMap();
  // Opens a link or a file with the browser registered for the help file
  // "OrvenilHilfe.htm" of the program folder (the desktop's own choice
  // when none is registered).
  void OpenHelp(const QString& text);

  // Import. The open dialog for the point file; afterwards CommonDialog1's
  // file name is empty when the user cancelled.
  void ChooseImportFile();
  // Imports the chosen file into Daten. A file that is refused (none chosen,
  // not readable as text) changes nothing; once the file is to replace the
  // rows, replacingRows runs first (the caller's start system then takes
  // over before the run reads it).
  ImportEnd ImportCoordinateFile(const std::function<void()>& replacingRows = {});
  // A file with LF line ends or in UTF-8 is converted to Windows-1252 with
  // CR LF line ends into a work copy in the temporary folder, and path then
  // names that copy; the user's file is never changed. converted tells
  // whether a copy was made; it keeps its value when the conversion fails.
  // False when the file cannot be imported: a UTF-8 character has no
  // Windows-1252 form (the message naming its line was shown). readIdentity,
  // when given, receives the file to read as this first read found it.
  bool ConvertUnixFile(QString& path, bool replaceFile, bool& converted, FileIdentity* readIdentity = nullptr);
  // Height run from a height database: mode 4 the terrain model DGM200,
  // mode 5 the height-transformation model hoetra2016.
  void HeightFromModel(qint32 mode);
  // Height run with the active geoid model: fresh undulations from the geoid
  // program, target heights from the start heights.
  void ConvertHeightsWithGeoid();

  // Merges of the chosen point file into the job by point number: start
  // heights overwritten, or the points the job lacks appended.
  void OverwriteHeightsByPointNumber();
  void AppendMissingPoints();

  const FormOrvenilFolders& folders() const { return folders_; }
  // The command line after cleaning (empty when none was given).
  const QString& commandLineFile() const { return commandLine_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void connectHandlers();
  // The options band's font gives way where the screen is too narrow for
  // the band in one row.
  void FitOptionsBandToScreen();
  // The smallest size at which every control stays reachable and the window
  // still fits the screen.
  void SetMinimumWindowSize();
  void BuildCoordinateSystemTable();
  void FitColumnWidths(DataGrid* grid);
  void SetUpStatusBar();
  void EndProgram();  // toolbar key btnDBEnde
  void ShutdownApplication();
  void DeleteWorkFiles();
  // Toolbar key btnDbÖffnen: file, start data, import, what follows it.
  void ImportChain();
  // The import's geoid step: N and the heights derived from it for every row.
  void RunImportGeoidStep();
  // Binds the coordinate grid to Daten; sorted with the import's captions
  // and widths, or unsorted as it stands (after an error).
  void BindImportedRows(bool sorted);
  // Captions, widths and visibility of the import for every column of the
  // coordinate grid (io/FormOrvenilImportedColumns.cpp).
  void ShowImportedColumns();
  // Hides the columns the import hides, the others as they are.
  void HideColumnsTheImportHides();
  template <typename T>
  friend struct ImportChainCalls;
  friend class ImportRun;  // the steps of ImportCoordinateFile
  friend class Ntv2RunSteps;  // the steps of RunNtv2Transformation
  friend class SevenParameterRun;  // the steps of ParaTrafoDatenRechnen
  // Shows that an operation of this window is not available yet.
  void NotAvailable(const QString& what);
  // System-table editor (popup menu actions).
  void AddParameterSetsFromFile();
  void AddNtv2SetFromFile();
  void SaveSystemTableWithReport(SystemTable table);
  // Writes the ".dat" and the ".fil" of a table, also over a ".fil" that
  // could not be read; reports a failure. Returns success.
  bool StoreSystemTable(SystemTable table);
  // Writes the table as just loaded to both files (start-up).
  bool WriteLoadedSystemTable(SystemTable table);
  // The save of the two above; explicitSave also replaces files that could
  // not be read and reports any failure.
  bool SaveSharedSystemTable(SystemTable table, bool explicitSave);
  // Writes the merged rows to the ".dat" (writeText) and the ".fil"
  // (writeGrid); reports a failure as the two saves above do. Returns
  // whether the rows are in place.
  bool WriteMergedSystemTable(SystemTable table, const TableRows& rows, bool explicitSave, bool writeText,
                              bool writeGrid);
  // Where another instance changed the same rows: its file stays, this
  // instance's table goes to a file beside it, and a message names both.
  void KeepOwnSystemTableVersion(SystemTable table, const TableRows& rows);
  void OpenLicenceLink();
  void ShowSystemTableMenu(DataGrid* grid, int button, int column);

  // Runs over table Daten (runs/).
  void ParaTrafoDatenRechnen();
  void ConvertZones();
  // The start side of the zone change as the window's controls choose it,
  // in the start values and the zone rules of the start box's system; it
  // also sets the program-wide start values it uses.
  ZoneChangeSide PrepareStartZoneSide();
  // The target side as the controls choose its zone, in the system the
  // target columns are in: ellipsoid, and the name its zone rules take.
  ZoneChangeSide PrepareTargetZoneSide(const ProjectedEllipsoid& ellipsoid, const QString& zoneEllipsoid);
  void ShowZonePanels(const ZoneChangeSide& side, const RowZone& zone);
  // After a side of the zone change: the rows left without easting and
  // northing, each kind counted in its own text (a negative easting; an
  // easting that would run into its zone digit).
  void WarnZoneHints(int negative, int beyondZone);
  // After a run stopped on an error: the window and the grid are given back
  // (drawing again when the run had held it), and the busy state ends.
  void ReleaseWindowAfterFailedRun(bool gridHeld);
  // Column view 1 to 4 of the coordinate grid (toolbar "Spaltenansicht").
  void ShowColumnView(int view);
  // Runs a command the user gave (a toolbar key or item, a button of the
  // window, the command line's import) unless another one is still at work.
  // Until it ends, every other command is refused, the window takes no input
  // and a close request is refused, however many commands ran before.
  void RunCommand(const std::function<void()>& command);
  // True while a command is at work.
  bool RunBusy() const { return runBusy_ > 0; }
  // The transformation panel's start: the chosen run over the job's rows.
  void StartTransformation();

  // Shared steps of the two merges; appending: the file's points are to be
  // appended (else its heights overwrite the job's).
  bool LoadMergeFile(bool appending);
  void FinishMerge(const QString& message, bool fitPointColumn);
  void CloseMergeDatabases();
  void MergeFailed(const std::exception& error);

  // NTv2 run and grid tools (runs/FormOrvenilNtv2Run.cpp, runs/FormOrvenilNtv2Tools.cpp).
  void RunNtv2Transformation();
  void GenerateNtv2PointGrid();
  void WriteNtv2Gsa();
  void ExportNtv2Extents();
  void ImportNtv2TargetsByLine();
  void ImportNtv2TargetsByPointNumber();
  void ImportNtv2Targets(bool byLine);

  FormOrvenilFolders folders_;
  QString commandLine_;
  TemporaryFolderLock tempLock_;
  QSet<int> unreadableGridFiles_;  // SystemTable values
  QSet<int> editedTables_;         // SystemTable values with unsaved edits
  QSet<int> unreadableTextFiles_;  // SystemTable values whose text file failed to load
  std::map<int, TableRows> storedRows_;  // rows of each table as last read from or written to its files
  QHash<int, QString> keptVersionFiles_;  // where this instance keeps a table another one changed
  bool Entladen = false;
  int runBusy_ = 0;
  // Set by the seven-parameter and NTv2 runs once they have gone through all
  // rows; the start button runs the heights only after such a run.
  bool runCompleted_ = false;
};

}  // namespace orv
