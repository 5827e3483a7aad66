// The types of Access values, as the translator types expressions and as the import declares
// columns. How each is held in SQLite:
//
//   type        Access type              held in SQLite as                 declared column type
//   kBoolean    Yes/No                   INTEGER, 0 or 1 (non-zero true)   BOOLEAN
//   kByte       Byte                     INTEGER                           SMALLINT
//   kInt16      Integer                  INTEGER                           SMALLINT
//   kInt32      Long, AutoNumber         INTEGER                           INTEGER
//   kSingle     Single                   REAL, the float's exact value     DOUBLE
//   kDouble     Double                   REAL                              DOUBLE
//   kCurrency   Currency                 REAL holding the stored value     DOUBLE
//   kDecimal    Decimal                  REAL holding the stored value     DOUBLE
//   kDate       Date/Time                TEXT, "YYYY-MM-DD HH:MM:SS"       DATETIME
//   kText       Text, Memo               TEXT (UTF-8), compared ignoring case
//                                                                          TEXT COLLATE NOCASE
//   kBinary     OLE Object, Binary       BLOB                              BLOB
//   kGuid       Replication ID           TEXT, "{xxxxxxxx-...}"            GUID
//   kNull       the literal Null         NULL                              -
//   kVariant    unknown until run time   any                               -
//
// Access computes True as -1; a stored Yes is 1 here, so a comparison with True is a test of
// truth, not of equality with -1.
#pragma once

namespace quellor::tagdll::sql {

enum class SqlType {
  kBoolean,
  kByte,
  kInt16,
  kInt32,
  kSingle,
  kDouble,
  kCurrency,
  kDecimal,
  kDate,
  kText,
  kBinary,
  kGuid,
  kNull,
  kVariant,
};

}  // namespace quellor::tagdll::sql
