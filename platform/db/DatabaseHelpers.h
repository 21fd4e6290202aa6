#pragma once
// The program's database helpers: creating files, tables, fields and indexes,
// closing everything, looking a record up through an index, compacting a file
// and counting the sub-grid tables of an NTv2 cache.
#include <QString>

#include "platform/db/DBEngine.h"
#include "platform/db/Database.h"
#include "platform/db/FieldType.h"
#include "platform/db/Recordset.h"

namespace orv {

// With doClose, closes every open database (last opened first) with its
// recordsets; handles held anywhere fail with 3420 afterwards. Without it,
// nothing happens.
void CloseAllDatabases(bool doClose);

// True when the table exists; False also when the database cannot be asked.
bool TableExists(const Database& db, const QString& table);

// Creates the table with this one field when it does not exist yet (True);
// False when it exists (nothing changes) or after an error, which is shown.
bool CreateTableWithField(Database& db, const QString& table, const QString& field, int type);

// Adds a field to an existing table (size used for text fields only).
// False on any error, without a message.
bool AddTableField(Database& db, const QString& table, const QString& field, int type, int size);

// Adds a one-field index, named indexName or, when that is empty, after the
// field. False after an error, which is shown.
bool CreateTableIndex(Database& db, const QString& table, const QString& field, bool primary,
                      bool unique, const QString& indexName);

// Unless keepOthersOpen, closes every open database first; deletes a file at
// path and creates a new database there, handed back in db. Errors are thrown.
void CreateDatabaseFile(Database& db, const QString& path, bool keepOthersOpen);

// The value(s) of the row whose index entry equals key: "" for a blank key,
// "-1" when no row matches, else the field's text, or for "a#b" the values
// joined by "#" (Null as ""). On an error, the text built so far.
QString SeekFieldValues(Recordset& rs, const QString& indexName, const QString& fieldNames,
                        const QString& key);

// Compacts the database file in place through a work file beside it that is
// renamed over the database file at the end; the file stays untouched when
// anything fails. True on success; failures are shown.
bool CompactDatabaseFile(const QString& path);

// Number of tables whose names are digits only ("1", "2", … of an NTv2 cache).
int CountDigitNamedTables(const Database& db);

}  // namespace orv
