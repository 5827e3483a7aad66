// The names of libtagdll.so's entry points, apart from their prototypes (tagdll.h), so that a
// stand-in library for tests can define every one of them.
#pragma once

#include <array>
#include <string_view>

// Every entry point in the order the binding looks them up. The build derives the library's
// version script (what it exports, and nothing else) from the X(...) lines, so this is the one
// list of names.
#define TDL_ENTRY_POINTS(X)           \
  X(tdl_Attach)                       \
  X(tdl_Release)                      \
  X(tdl_AttachTagToPelnet)            \
  X(tdl_GenericTypeForItem)           \
  X(tdl_DetachTag)                    \
  X(tdl_DeleteTag)                    \
  X(tdl_BrowseAll)                    \
  X(tdl_BrowseBranches)               \
  X(tdl_BrowseInit)                   \
  X(tdl_BrowseDown)                   \
  X(tdl_BrowseTo)                     \
  X(tdl_Free)                         \
  X(tdl_ExtractTag)                   \
  X(tdl_MapCharacters)                \
  X(tdl_GetDbPath)                    \
  X(tdl_GetFieldValue)                \
  X(tdl_NextAll)                      \
  X(tdl_NextBranch)                   \
  X(tdl_SetFilter)                    \
  X(tdl_ReadTdlValue)                 \
  X(tdl_ReleaseBrowseContext)         \
  X(tdl_ReleaseDataContext)           \
  X(tdl_ResolveTag)                   \
  X(tdl_PrepareQuery)                 \
  X(tdl_PrepareSQLQuery)              \
  X(tdl_GetNextRow)                   \
  X(tdl_SetFieldValue)                \
  X(tdl_SetFieldValues)               \
  X(tdl_Update)                       \
  X(tdl_AddNewRow)                    \
  X(tdl_Execute)                      \
  X(tdl_DeleteCurrentRow)             \
  X(tdl_ReleaseQueryContext)          \
  X(tdl_MoveNext)                     \
  X(tdl_ReQuery)                      \
  X(tdl_GetFieldValueByFieldName)     \
  X(tdl_SetFieldValueByFieldName)     \
  X(tdl_SetParameterValueByFieldName) \
  X(tdl_CommitTrans)                  \
  X(tdl_Rollback)                     \
  X(tdl_BeginTrans)                   \
  X(tdl_WriteTdlItem)                 \
  X(tdl_WriteTdlStructure)            \
  X(tdl_CreateTagOnBlock)             \
  X(tdl_DetachTagsFromBlock)          \
  X(tdl_DetachTagsFromIOSNode)        \
  X(tdl_MaintainSequenceNumbers)      \
  X(tdl_SynchroniseDatabase)          \
  X(tdl_MakeReplica)                  \
  X(tdl_IsConfigMaster)               \
  X(tdl_IsDatabaseReplicable)         \
  X(tdl_MakeDatabaseReplicable)       \
  X(tdl_AddDaoFunction)               \
  X(tdl_RemoveDaoFunction)            \
  X(tdl_GetCriticalSection)           \
  X(tdl_SetSequenceNumbers)

#define TDL_NAME_STRING(name) #name,
inline constexpr std::array<std::string_view, 56> kTdlEntryPointNames = {
    TDL_ENTRY_POINTS(TDL_NAME_STRING)};
#undef TDL_NAME_STRING
