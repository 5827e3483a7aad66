// One attachment to the project database: the SQLite connection, the statement cache, the
// saved queries and the query contexts handed to the program. Texts cross this class in
// Windows-1252 (the program's side) and are kept in UTF-8 (the database's side).
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/status.h"
#include "platform/automation/variant.h"
#include "tagdll/query_context.h"
#include "tagdll/saved_query_cache.h"
#include "tagdll/sql/sqlite_catalog.h"
#include "tagdll/sqlite_handles.h"
#include "tagdll/statement_cache.h"
#include "tagdll/translation_cache.h"

namespace quellor::tagdll {

// Where an attachment's changes go.
enum class Changes {
  kKept,       // into the database file
  kDiscarded,  // into a copy in memory, inside a transaction that RollBack ends
};

class ProjectDatabase final {
 public:
  // Opens the database at a host path read-write, never creating it: an SQLite database, or
  // the SQLite image of a Microsoft Access file (access_image.h). Any other file fails with a
  // message that says why, beginning with the path. With kDiscarded the database is loaded
  // into memory and its file only read: no journal or lock file appears beside it, and an
  // Access file's image is read where it is current, else imported afresh without touching
  // the cache.
  static Result<std::unique_ptr<ProjectDatabase>> Open(const std::string& path,
                                                       Changes changes = Changes::kKept);

  ProjectDatabase(const ProjectDatabase&) = delete;
  ProjectDatabase& operator=(const ProjectDatabase&) = delete;
  ~ProjectDatabase();

  // A context for the saved query of that name: its SQLite SQL used as it stands, else its
  // Access SQL translated; kNotFound when there is none.
  Result<TdlQueryContext*> PrepareSavedQuery(std::string_view name, const VARIANT* parameters);
  // A context for one of the program's Access SQL texts, translated.
  Result<TdlQueryContext*> PrepareSql(std::string_view sql, const VARIANT* parameters);

  // Whether `context` is one of this attachment's open contexts.
  bool Owns(const TdlQueryContext* context) const;
  // Closes an open context: its statement goes back to the cache, and the context waits for
  // the next prepare.
  void Release(TdlQueryContext* context);
  // After an action query ran: the first write into an Access file's image says, once, that
  // it stays in the image (the Access file is never written).
  void NoteExecuted();
  // Discards every change made since the open, for an attachment opened with kDiscarded;
  // kInvalidArgument for one that keeps its changes.
  Status RollBack();

 private:
  explicit ProjectDatabase(ConnectionPtr connection);

  Result<std::int64_t> SchemaVersion();
  // Prepares a translation with its parameters bound; `what` names it in a refusal.
  Result<TdlQueryContext*> PrepareTranslated(const std::string& what,
                                             const Result<const sql::Translation*>& translation,
                                             const VARIANT* parameters);
  // An SQLite text; a translation gives the types of its columns. A failure to prepare,
  // bind or step is said under `what` ("query NAME", or the program's text).
  Result<TdlQueryContext*> PrepareText(const std::string& sql, const VARIANT* parameters,
                                       const sql::Translation* translation,
                                       const std::string& what);
  // A closed context for a prepare: one released before, else a new one.
  TdlQueryContext* IdleContext();
  // Writes on standard error why a query failed to prepare or step, once per query and
  // reason in the attachment: the program's own messages cannot say why, and a query
  // prepared once per tag must not say it once per tag.
  void Refuse(const std::string& what, const Status& status);

  // Declared so that the contexts go first, then the caches, then the connection.
  ConnectionPtr connection_;
  sql::SqliteCatalog catalog_;
  SavedQueryCache saved_queries_;
  TranslationCache translations_;
  StatementCache cache_;
  // Every context made, open or closed; the closed ones also wait in idle_contexts_.
  std::unordered_map<const TdlQueryContext*, std::unique_ptr<TdlQueryContext>> contexts_;
  std::vector<TdlQueryContext*> idle_contexts_;
  std::set<std::string> refused_;
  std::string query_label_;  // "query NAME", of the saved query being prepared
  // The Access file and its image's host paths, when the project is an Access file.
  std::optional<std::pair<std::string, std::string>> access_image_;
  bool written_to_image_ = false;
  bool in_transaction_ = false;
};

}  // namespace quellor::tagdll
