#pragma once
// The program-wide variables: the open databases, the chosen start and target
// systems, the options of the dialogs, the export lists, the NTv2 header of
// the grid in use and a few counters. Dialogs and handlers set them, the runs
// read them. At program start every text is empty, every number 0, every
// Boolean false and every database or recordset none.
#include <QString>
#include <QtGlobal>

#include "foundation/FileIdentity.h"

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

namespace orv {

// Overview header of an NTv2 grid file, one member per key.
struct NTv2KopfDaten {
  qint32 NUM_OREC = 0;
  qint32 NUM_SREC = 0;
  qint32 NUM_FILE = 0;
  QString GS_TYPE;
  QString VERSION;
  QString SYSTEM_F;
  QString SYSTEM_T;
  double MAJOR_F = 0;
  double MINOR_F = 0;
  double MAJOR_T = 0;
  double MINOR_T = 0;
};

struct ProgramState {
  // Databases and their files.
  Database KooDb;                 // temporary coordinate database with table Daten
  Recordset KooDbDaten;           // table recordset on Daten of KooDb
  QString KooDbPfad;
  Database GsaDb;                 // scratch databases made at start-up
  QString GsaDbPfad;
  Database GeoidDb;
  QString GeoidDbPfad;
  Database SonderfunktionDb;      // temporary database of the merge functions
  Recordset SonderfunktionDbDaten;
  QString SonderfunktionDbPfad;
  Database NTv2Gitterdatenbank;   // open NTv2 grid cache
  QString NTv2TempPfad;           // build file of an NTv2 cache
  qint32 NTv2AnzahlGitter = 0;

  // Folders, files and counts.
  QString TempVerzeichnis;        // folder of the temporary databases, ends with "/"
  QString DatenbankVerzeichnis;   // database folder, ends with "/"
  QString StandardVerzeichnis;    // never assigned: always ""
  QString ImportDatei;
  bool ImportDateiGewaehlt = false;
  // The converted copy of ImportDatei that the import reads ("" for none),
  // and the chosen file it was made from.
  QString ImportArbeitskopie;
  QString ImportArbeitskopieVon;
  // The file the import reads (ImportDatei or its copy) as the first read of
  // ImportLesestandVon found it: every later read is checked against it.
  FileIdentity ImportLesestand;
  QString ImportLesestandVon;
  QString ExportDatei;
  qint32 AnzahlDatensaetze = 0;
  QString AktuelleZeile;
  qint16 DateiNr = 0;

  // Start (system A) and target (system B).
  QString EllipsoidStart;
  QString EllipsoidZiel;
  QString EllipsoidImport;
  // The system of the target positions: the ellipsoid (the name the zone
  // rules take), semi-major axis, flattening and scale factor that the
  // transformation which wrote them computed with; "" and 0 before one and
  // after one that stopped on its way. Whatever reads the target columns
  // takes these, never the set the panel shows now.
  QString EllipsoidZielKoordinaten;
  double ZielKoordinatenA = 0;
  double ZielKoordinatenF = 0;
  double ZielKoordinatenK0 = 0;
  // The system (Systemname) the last transformation run computed the target
  // columns of Daten in; "" while no run has written them since the import.
  QString ZielsystemDaten;
  QString SystemnameStart;
  QString SystemnameZiel;
  double StartA = 0;
  double StartF = 0;
  double StartB = 0;
  double StartE = 0;
  double StartK0 = 0;
  double StartFalseEasting = 0;
  qint32 StartMeridian = 0;
  double ZielA = 0;
  double ZielF = 0;
  double ZielB = 0;
  double ZielE = 0;
  double ZielFalseEasting = 0;
  double ZielK0 = 0;
  qint32 ZielMeridian = 0;
  QString ZonenEllipsoidStart;
  QString ZonenEllipsoidZiel;

  // Options of the dialogs and the panel.
  QString StartKoordinatensystem;
  qint32 StartAbbildungIndex = 0;
  QString StartAbbildungName;
  qint32 FormatEingabeGeographischIndex = 0;
  qint32 SonderfunktionIndex = 0;
  QString TrafoTyp;
  bool NTv2ZielManuellPkt = false;
  bool ExportVorlageAktiv = false;
  QString ExportVorlage;

  // Geoid model.
  QString GeoidApp;
  QString GeoidfeldDateiname;
  QString GeoidName;  // the name the geoid program opens the model's grid under
  bool GeoidBereit = false;

  // Export lists.
  QString SpeichernSpaltenNr;     // comma-separated 1-based column numbers of Daten
  QString SpeichernSpalten;       // comma-separated column names

  // NTv2 overview header of the grid file in use.
  NTv2KopfDaten NTv2Kopf;

  // Others.
  QString Antwort;
  qint32 Zaehler = 0;
  bool AbbruchAktion = false;
  QString ImportKopfzeile;
  qint32 UeberleseneZeilen = 0;
  qint32 MKZZiffer = 0;
  qint32 PunktnamenZaehler = 0;
};

// The one program-wide instance.
ProgramState& State();

// A transformation run has written every row's target columns in its target
// system (ZonenEllipsoidZiel, ZielA, ZielF, ZielK0): they are in that
// system from now on.
void RecordTargetPositionsSystem(ProgramState& state);
// The target columns are in no known system any more: a run begins to
// write them, or an import replaces them.
void ForgetTargetPositionsSystem(ProgramState& state);
// True while the target columns' system is known.
bool TargetPositionsSystemKnown(const ProgramState& state);

// Sets every variable back to its start value (tests). Database and recordset
// handles are dropped, not closed: closing is the database layer's business
// (CloseAllDatabases).
void ResetProgramState();

}  // namespace orv
