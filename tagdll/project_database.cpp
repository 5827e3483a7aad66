#include "tagdll/project_database.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/ascii.h"
#include "base/cp1252.h"
#include "base/format.h"
#include "tagdll/access_image.h"

namespace quellor::tagdll {
namespace {

constexpr std::string_view kSqliteHeader("SQLite format 3\0", 16);
// A Microsoft Access database names its engine at offset 4.
constexpr std::string_view kJetSignature = "Standard Jet DB";
constexpr std::string_view kAceSignature = "Standard ACE DB";
constexpr int kBusyTimeoutMs = 10000;

enum class DatabaseForm { kSqlite, kAccess };

// Tells the form from the first bytes of the file, so that nothing but an SQLite database is
// ever opened as one (SQLite itself would take an empty file for a new database).
Result<DatabaseForm> FormOfDatabaseFile(const std::string& path) {
  std::FILE* const file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return Status::NotFound(StringPrintf("%s: the project database cannot be opened: %s",
                                         path.c_str(), std::strerror(errno)));
  }
  std::array<char, 20> head{};
  const std::size_t got = std::fread(head.data(), 1, head.size(), file);
  std::fclose(file);
  const std::string_view bytes(head.data(), got);
  if (bytes.substr(0, kSqliteHeader.size()) == kSqliteHeader) return DatabaseForm::kSqlite;
  if (bytes.size() >= 4 + kJetSignature.size() &&
      (bytes.substr(4, kJetSignature.size()) == kJetSignature ||
       bytes.substr(4, kAceSignature.size()) == kAceSignature)) {
    return DatabaseForm::kAccess;
  }
  return Status::Corruption(StringPrintf("%s is not an SQLite project database", path.c_str()));
}

// A name as an SQLite identifier, in double quotes.
std::string QuoteName(std::string_view name) {
  std::string quoted = "\"";
  for (const char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

// A saved query's text without the semicolons and blanks that may end it.
std::string_view StripStatementEnd(std::string_view sql) {
  while (!sql.empty() && (IsAsciiSpace(sql.back()) || sql.back() == ';')) sql.remove_suffix(1);
  return sql;
}

// Where the common table expressions go: the length of the WITH (or WITH RECURSIVE) that the
// text opens with, after which they join the text's own; 0 when it has none (they go in front).
std::size_t OwnWithEnd(std::string_view sql) {
  const std::string_view text = TrimLeftAscii(sql);
  const std::size_t lead = sql.size() - text.size();
  auto word_at = [&](std::size_t pos, std::string_view word) {
    return text.size() >= pos + word.size() &&
           EqualsIgnoreCase(text.substr(pos, word.size()), word) &&
           (text.size() == pos + word.size() || IsAsciiSpace(text[pos + word.size()]));
  };
  if (!word_at(0, "WITH")) return 0;
  std::size_t end = 4;
  const std::size_t next = text.find_first_not_of(" \t\r\n\v\f", end);
  if (next != std::string_view::npos && word_at(next, "RECURSIVE")) end = next + 9;
  return lead + end;
}

}  // namespace

Result<std::unique_ptr<ProjectDatabase>> ProjectDatabase::Open(const std::string& path) {
  const Result<DatabaseForm> form = FormOfDatabaseFile(path);
  if (!form.ok()) return form.status();
  // An Access file is never opened itself: its SQLite image is.
  std::string host_path = path;
  if (*form == DatabaseForm::kAccess) {
    Result<std::string> image = AccessImageOf(path);
    if (!image.ok()) return image.status();
    host_path = *std::move(image);
  }
  sqlite3* raw = nullptr;
  // One thread uses the library at a time (its attachment is process-wide and unlocked), so
  // SQLite need not lock the connection on every call: a merge makes millions of them.
  const int rc = sqlite3_open_v2(host_path.c_str(), &raw,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  ConnectionPtr connection(raw);
  if (rc != SQLITE_OK) {
    return Status::IoError(StringPrintf("%s: %s", host_path.c_str(),
                                        raw != nullptr ? sqlite3_errmsg(raw) : "out of memory"));
  }
  sqlite3_busy_timeout(raw, kBusyTimeoutMs);
  // Saved queries are SQLite SQL: a double-quoted text there is a name, never a literal.
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  // A damaged file can carry a good header; reading the schema finds that out now.
  if (sqlite3_exec(raw, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) !=
      SQLITE_OK) {
    return Status::Corruption(StringPrintf("%s is not a readable SQLite project database: %s",
                                           host_path.c_str(), sqlite3_errmsg(raw)));
  }
  std::unique_ptr<ProjectDatabase> database(new ProjectDatabase(std::move(connection)));
  if (*form == DatabaseForm::kAccess) database->access_image_.emplace(path, host_path);
  return database;
}

ProjectDatabase::~ProjectDatabase() { contexts_.clear(); }

Result<std::optional<std::string>> ProjectDatabase::LookupSavedQuery(const std::string& name) {
  Result<CachedStatement*> lookup = cache_.Acquire(
      connection_.get(), "SELECT Sql FROM SavedQueries WHERE Name = ?1 COLLATE NOCASE");
  // A database without the SavedQueries table simply has no saved queries.
  if (!lookup.ok()) return std::optional<std::string>();
  sqlite3_stmt* const statement = (*lookup)->statement.get();
  sqlite3_bind_text(statement, 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
  std::optional<std::string> sql;
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    if (text != nullptr) sql.emplace(text, sqlite3_column_bytes(statement, 0));
  }
  StatementCache::Return(*lookup);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
    return Status::IoError(sqlite3_errmsg(connection_.get()));
  }
  return sql;
}

Result<std::string> ProjectDatabase::SupplySavedQueries(const AdaptedSql& adapted) {
  std::string tables;
  for (const std::string& name : adapted.names) {
    Result<std::optional<std::string>> saved = LookupSavedQuery(name);
    if (!saved.ok()) return saved.status();
    if (!saved->has_value()) continue;
    if (!tables.empty()) tables += ", ";
    tables += QuoteName(name) + " AS (" + std::string(StripStatementEnd(**saved)) + ")";
  }
  if (tables.empty()) return adapted.text;
  const std::size_t own_with = OwnWithEnd(adapted.text);
  if (own_with == 0) return "WITH " + tables + " " + adapted.text;
  return adapted.text.substr(0, own_with) + " " + tables + "," + adapted.text.substr(own_with);
}

Result<std::string> ProjectDatabase::ComposeSql(std::string_view sql) {
  Result<AdaptedSql> adapted = AdaptAccessSql(Cp1252ToUtf8(sql));
  if (!adapted.ok()) return adapted.status();
  return SupplySavedQueries(*adapted);
}

Result<TdlQueryContext*> ProjectDatabase::PrepareText(const std::string& sql,
                                                      const VARIANT* parameters) {
  Result<CachedStatement*> entry = cache_.Acquire(connection_.get(), sql);
  if (!entry.ok()) return entry.status();
  auto context = std::make_unique<TdlQueryContext>(*entry);
  const Status bound = context->Bind(parameters);
  if (!bound.ok()) return bound;
  TdlQueryContext* const handle = context.get();
  contexts_.emplace(handle, std::move(context));
  return handle;
}

Result<TdlQueryContext*> ProjectDatabase::PrepareSavedQuery(std::string_view name,
                                                            const VARIANT* parameters) {
  Result<std::optional<std::string>> saved = LookupSavedQuery(Cp1252ToUtf8(name));
  if (!saved.ok()) return saved.status();
  if (!saved->has_value()) {
    return Status::NotFound("no saved query " + Cp1252ToUtf8(name));
  }
  return PrepareText(**saved, parameters);
}

Result<TdlQueryContext*> ProjectDatabase::PrepareSql(std::string_view sql,
                                                     const VARIANT* parameters) {
  Result<std::string> composed = ComposeSql(sql);
  if (!composed.ok()) return composed.status();
  return PrepareText(*composed, parameters);
}

bool ProjectDatabase::Owns(const TdlQueryContext* context) const {
  return contexts_.find(context) != contexts_.end();
}

void ProjectDatabase::Release(TdlQueryContext* context) { contexts_.erase(context); }

void ProjectDatabase::NoteExecuted() {
  if (!access_image_ || written_to_image_ || sqlite3_changes(connection_.get()) == 0) return;
  written_to_image_ = true;
  const std::string line = StringPrintf(
      "libtagdll.so: the alarm groups this build added are kept in %s, the SQLite image of %s, "
      "not in %s itself; a new import of %s starts without them\n",
      access_image_->second.c_str(), access_image_->first.c_str(), access_image_->first.c_str(),
      access_image_->first.c_str());
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace quellor::tagdll
