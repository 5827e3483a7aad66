// The entry points of libtagdll.so, the project-database library, shared by the library and
// by the program's binding. They are plain C functions returning a 32-bit result (negative =
// failure) and take -1 as their last argument. Eleven of them work; the others exist to be
// looked up and answer kTdlNotSupported.
#pragma once

#include <cstdint>

#include "platform/automation/variant.h"
#include "tagdll/entry_point_names.h"

inline constexpr std::int32_t kTdlOk = 0;
// Every failure of the library itself (never the binding's own -22246 or -22245).
inline constexpr std::int32_t kTdlFailed = -1;
// The answer of every entry point that exists only to be looked up.
inline constexpr std::int32_t kTdlNotSupported = -2;
// The value every caller passes as the last argument.
inline constexpr std::int32_t kTdlEnd = -1;

// One prepared query: a statement, its parameters and its position. Opaque to the program.
struct TdlQueryContext;

extern "C" {

// Attaches to the project database at `path` (Windows-1252, resolved by the machine's rules).
// The file must exist and be an SQLite database; it is opened read-write and never created.
std::int32_t tdl_Attach(const char* path, std::int32_t end);
// Closes the database and frees every query context still open.
std::int32_t tdl_Release();

// Called before tdl_Attach: the next attachment loads the database into memory (the file is
// only read) and holds one transaction from the attach. tdl_Rollback ends it, discarding every
// change; nothing an attachment so begun does ever reaches the file. Both fail (kTdlFailed)
// out of turn. tdl_CommitTrans is not supported: such changes are never kept.
std::int32_t tdl_BeginTrans(std::int32_t end);
std::int32_t tdl_Rollback(std::int32_t end);

// `context` must point to a null context; on success it holds a new one that the caller
// frees with tdl_ReleaseQueryContext. `parameters` is null or a variant holding a
// one-dimensional array of variants (owned by the caller), bound in order. `option` is 0 or 1.
// PrepareQuery fails when no saved query of that name exists.
std::int32_t tdl_PrepareQuery(TdlQueryContext** context, const char* query_name,
                              const quellor::VARIANT* parameters, std::int32_t option,
                              std::int32_t end);
// As tdl_PrepareQuery, with Access SQL text instead of a saved query's name.
std::int32_t tdl_PrepareSQLQuery(TdlQueryContext** context, const char* sql,
                                 const quellor::VARIANT* parameters, std::int32_t option,
                                 std::int32_t end);
// Moves to the next record (the first on the first call); negative when there is none.
std::int32_t tdl_MoveNext(TdlQueryContext* context, std::int32_t end);
// Copies the named field of the current record into the caller's variant (cleared first);
// names match without regard to case, the first match wins. Negative when there is no such
// field or no current record.
std::int32_t tdl_GetFieldValueByFieldName(TdlQueryContext* context, quellor::VARIANT* value,
                                          const char* field_name, std::int32_t end);
// Moves to the next record and points `*row` at a variant that the library owns, holding an
// array of one variant per column from index 0; valid until the next call or the release.
std::int32_t tdl_GetNextRow(TdlQueryContext* context, quellor::VARIANT** row, std::int32_t end);
// Runs a prepared action query to its end.
std::int32_t tdl_Execute(TdlQueryContext* context, std::int32_t end);
// Frees the context (its statement is reset for the next prepare of the same text) and sets
// `*context` to null.
std::int32_t tdl_ReleaseQueryContext(TdlQueryContext** context, std::int32_t end);

}  // extern "C"
