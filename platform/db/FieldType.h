#pragma once
// Field type codes of the database layer (the numbers the program passes
// around), and the error numbers of the database engine that callers test.

namespace orv {

enum FieldTypeCode : int {
  dbLong = 4,     // 32-bit integer
  dbSingle = 6,   // 32-bit float (stored rounded through float)
  dbDouble = 7,   // 64-bit float
  dbDate = 8,     // date as a day number (64-bit float)
  dbText = 10,    // text (no length limit is enforced)
  dbMemo = 12,    // long text
};

// True for the type codes above.
bool IsKnownFieldType(int type);

enum DbErrorNumber : int {
  kDbErrGeneral = 3000,              // an engine error without a closer number
  kDbErrObjectInvalid = 3420,        // the object was closed or never set
  kDbErrItemNotFound = 3265,         // no table, field or index of that name
  kDbErrTableExists = 3010,          // a table of that name exists already
  kDbErrFieldExists = 3191,          // a field of that name exists already
  kDbErrIndexExists = 3284,          // an index of that name exists already
  kDbErrNoIndex = 3019,              // Seek without a current index
  kDbErrUpdateWithoutEdit = 3020,    // Update without AddNew or Edit
  kDbErrNoCurrentRecord = 3021,
  kDbErrDuplicateKey = 3022,
  kDbErrFileNotFound = 3024,
  kDbErrNullInIndex = 3058,          // primary key field left Null
  kDbErrDatabaseExists = 3204,       // CreateDatabase / compaction onto an existing file
  kDbErrNotSupported = 3251,         // operation not supported by this recordset type
  kDbErrNotADatabase = 3343,         // file is not a database of ours
  kDbErrConversion = 3421,           // value does not fit the field's type
  kDbErrSyntax = 3075,               // SQL the engine does not understand
  kDbErrInvalidArgument = 3001,      // e.g. an unknown Seek comparison
  kDbErrNoFieldDefined = 3264,       // a table without any field
  kDbErrInvalidFieldType = 3259,     // a type code the layer does not know
  kDbErrInvalidBookmark = 3159,
  kDbErrCriteriaMismatch = 3464,     // a Seek key that does not fit the index's field
  kDbErrNotAnIndex = 3800,           // Index set to a name the table has no index of
  kDbErrInUse = 3045,                // another program holds the file locked
};

}  // namespace orv
