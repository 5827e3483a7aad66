// The working entry points of libtagdll.so. The library holds one attachment at a time;
// it lives from tdl_Attach to tdl_Release (or the library's unloading).
#include <memory>
#include <string>
#include <utility>

#include "platform/path_resolver.h"
#include "tagdll/error_line.h"
#include "tagdll/project_database.h"
#include "tagdll/tagdll.h"

namespace {

using quellor::tagdll::Changes;
using quellor::tagdll::ProjectDatabase;

std::unique_ptr<ProjectDatabase>& Attachment() {
  static std::unique_ptr<ProjectDatabase> attachment;
  return attachment;
}

// Set by tdl_BeginTrans before an attach: the next attachment's changes are discarded.
bool& TransactionBegun() {
  static bool begun = false;
  return begun;
}

// The program's own message for a failed attach cannot say why; this line does.
void ExplainAttachFailure(const std::string& why) { quellor::tagdll::WriteErrorLine(why); }

ProjectDatabase* OwnerOf(const TdlQueryContext* context) {
  ProjectDatabase* const database = Attachment().get();
  if (database == nullptr || context == nullptr || !database->Owns(context)) return nullptr;
  return database;
}

template <typename Prepare>
std::int32_t PrepareInto(TdlQueryContext** context, const char* text, std::int32_t option,
                         Prepare prepare) {
  ProjectDatabase* const database = Attachment().get();
  if (database == nullptr || context == nullptr || *context != nullptr || text == nullptr) {
    return kTdlFailed;
  }
  if (option != 0 && option != 1) return kTdlFailed;
  quellor::Result<TdlQueryContext*> prepared = prepare(*database, text);
  if (!prepared.ok()) return kTdlFailed;
  *context = *prepared;
  return kTdlOk;
}

}  // namespace

extern "C" {

std::int32_t tdl_Attach(const char* path, std::int32_t /*end*/) {
  if (path == nullptr) return kTdlFailed;
  if (Attachment() != nullptr) {
    ExplainAttachFailure("already attached to a project database");
    return kTdlFailed;
  }
  // The database is found by the machine's rules, as every other file of the program.
  const quellor::Result<std::string> host_path = quellor::ResolvePath(path);
  if (!host_path.ok()) {
    TransactionBegun() = false;
    ExplainAttachFailure(host_path.status().message());
    return kTdlFailed;
  }
  const Changes changes = TransactionBegun() ? Changes::kDiscarded : Changes::kKept;
  TransactionBegun() = false;
  quellor::Result<std::unique_ptr<ProjectDatabase>> opened =
      ProjectDatabase::Open(*host_path, changes);
  if (!opened.ok()) {
    ExplainAttachFailure(opened.status().message());
    return kTdlFailed;
  }
  Attachment() = std::move(opened).value();
  return kTdlOk;
}

std::int32_t tdl_BeginTrans(std::int32_t /*end*/) {
  if (Attachment() != nullptr) {
    ExplainAttachFailure("a transaction begins before the attach, not during an attachment");
    return kTdlFailed;
  }
  TransactionBegun() = true;
  return kTdlOk;
}

std::int32_t tdl_Rollback(std::int32_t /*end*/) {
  if (Attachment() == nullptr) {
    // A transaction begun for an attach that never came ends here.
    const bool begun = std::exchange(TransactionBegun(), false);
    return begun ? kTdlOk : kTdlFailed;
  }
  const quellor::Status rolled_back = Attachment()->RollBack();
  if (rolled_back.code() == quellor::StatusCode::kInvalidArgument) return kTdlFailed;  // none begun
  if (!rolled_back.ok()) {
    quellor::tagdll::WriteErrorLine(rolled_back.message());
    return kTdlFailed;
  }
  return kTdlOk;
}

std::int32_t tdl_Release() {
  if (Attachment() == nullptr) return kTdlFailed;
  Attachment().reset();
  return kTdlOk;
}

std::int32_t tdl_PrepareQuery(TdlQueryContext** context, const char* query_name,
                              const quellor::VARIANT* parameters, std::int32_t option,
                              std::int32_t /*end*/) {
  return PrepareInto(context, query_name, option, [&](ProjectDatabase& db, const char* name) {
    return db.PrepareSavedQuery(name, parameters);
  });
}

std::int32_t tdl_PrepareSQLQuery(TdlQueryContext** context, const char* sql,
                                 const quellor::VARIANT* parameters, std::int32_t option,
                                 std::int32_t /*end*/) {
  return PrepareInto(context, sql, option, [&](ProjectDatabase& db, const char* text) {
    return db.PrepareSql(text, parameters);
  });
}

std::int32_t tdl_MoveNext(TdlQueryContext* context, std::int32_t /*end*/) {
  if (OwnerOf(context) == nullptr) return kTdlFailed;
  return context->MoveNext();
}

std::int32_t tdl_GetFieldValueByFieldName(TdlQueryContext* context, quellor::VARIANT* value,
                                          const char* field_name, std::int32_t /*end*/) {
  if (OwnerOf(context) == nullptr || value == nullptr || field_name == nullptr) {
    return kTdlFailed;
  }
  return context->GetFieldValueByName(value, field_name);
}

std::int32_t tdl_GetNextRow(TdlQueryContext* context, quellor::VARIANT** row,
                            std::int32_t /*end*/) {
  if (OwnerOf(context) == nullptr || row == nullptr) return kTdlFailed;
  return context->GetNextRow(row);
}

std::int32_t tdl_Execute(TdlQueryContext* context, std::int32_t /*end*/) {
  ProjectDatabase* const database = OwnerOf(context);
  if (database == nullptr) return kTdlFailed;
  const std::int32_t result = context->Execute();
  if (result >= 0) database->NoteExecuted();
  return result;
}

std::int32_t tdl_ReleaseQueryContext(TdlQueryContext** context, std::int32_t /*end*/) {
  if (context == nullptr) return kTdlFailed;
  ProjectDatabase* const database = OwnerOf(*context);
  if (database == nullptr) return kTdlFailed;
  database->Release(*context);
  *context = nullptr;
  return kTdlOk;
}

}  // extern "C"
