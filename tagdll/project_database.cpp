#include "tagdll/project_database.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/ascii.h"
#include "base/cp1252.h"
#include "base/format.h"
#include "platform/env.h"
#include "tagdll/access_image.h"
#include "tagdll/error_line.h"
#include "tagdll/sql/access_functions.h"

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

// The program's text as a refusal names it: its beginning, cut at a whole character.
std::string DescribeProgramText(std::string_view text) {
  constexpr std::size_t kShown = 60;
  if (text.size() <= kShown) return "SQL text \"" + std::string(text) + "\"";
  std::size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return "SQL text \"" + std::string(text.substr(0, cut)) + "...\"";
}

// Lets the catalog bind the prepare's parameters (for a crosstab's headings) while it lasts.
class ParametersForCatalog final {
 public:
  ParametersForCatalog(sql::SqliteCatalog& catalog, const VARIANT* parameters) : catalog_(catalog) {
    catalog_.set_parameter_binder(
        [parameters](sqlite3_stmt* statement) { return BindParameters(statement, parameters); });
  }
  ~ParametersForCatalog() { catalog_.set_parameter_binder(nullptr); }
  ParametersForCatalog(const ParametersForCatalog&) = delete;
  ParametersForCatalog& operator=(const ParametersForCatalog&) = delete;

 private:
  sql::SqliteCatalog& catalog_;
};

// The saved queries the program asks for and does without when a project lacks them: their
// absence is no failure worth a line.
bool IsOptionalQuery(std::string_view name) {
  return EqualsIgnoreCase(name, "qPersistentData") || EqualsIgnoreCase(name, "qFTTagServer");
}

// A damaged file can carry a good header; reading the schema finds that out now.
Status CheckReadable(sqlite3* connection, const std::string& host_path) {
  if (sqlite3_exec(connection, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) !=
      SQLITE_OK) {
    return Status::Corruption(StringPrintf("%s is not a readable SQLite project database: %s",
                                           host_path.c_str(), sqlite3_errmsg(connection)));
  }
  return Status::Ok();
}

// Opens the database file itself, for an attachment that keeps its changes there.
Result<ConnectionPtr> OpenOnDisk(const std::string& host_path) {
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
  return connection;
}

// A copy in memory of the database file, made with SQLite's backup from a read-only
// connection: nothing is ever written beside the file.
Result<ConnectionPtr> LoadIntoMemory(const std::string& host_path) {
  sqlite3* raw_file = nullptr;
  const int rc = sqlite3_open_v2(host_path.c_str(), &raw_file,
                                 SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  const ConnectionPtr file(raw_file);
  if (rc != SQLITE_OK) {
    return Status::IoError(
        StringPrintf("%s: %s", host_path.c_str(),
                     raw_file != nullptr ? sqlite3_errmsg(raw_file) : "out of memory"));
  }
  sqlite3_busy_timeout(raw_file, kBusyTimeoutMs);
  if (Status readable = CheckReadable(raw_file, host_path); !readable.ok()) return readable;
  sqlite3* raw = nullptr;
  sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  ConnectionPtr memory(raw);
  if (raw == nullptr) return Status::IoError(host_path + ": out of memory");
  sqlite3_backup* const backup = sqlite3_backup_init(raw, "main", raw_file, "main");
  if (backup == nullptr) {
    return Status::IoError(StringPrintf("%s cannot be loaded into memory: %s", host_path.c_str(),
                                        sqlite3_errmsg(raw)));
  }
  const int stepped = sqlite3_backup_step(backup, -1);
  sqlite3_backup_finish(backup);
  if (stepped != SQLITE_DONE) {
    return Status::IoError(StringPrintf("%s cannot be loaded into memory: %s", host_path.c_str(),
                                        sqlite3_errstr(stepped)));
  }
  return memory;
}

// The settings every attachment's connection has, and Access's functions.
Status Configure(sqlite3* connection, const std::string& host_path) {
  // Saved queries are SQLite SQL: a double-quoted text there is a name, never a literal.
  sqlite3_db_config(connection, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(connection, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  if (sql::RegisterAccessFunctions(connection) != SQLITE_OK) {
    return Status::IoError(StringPrintf("%s: Access's functions cannot be registered: %s",
                                        host_path.c_str(), sqlite3_errmsg(connection)));
  }
  // 8 MB: room for the whole file of a project of 60000 tags (about 5 MB) and for the sorts of
  // a build. With SQLite's default of 2 MB, a build read pages of the file over again and the
  // historian rows' sort spilled to a temporary file. The memory is taken only as it is used.
  sqlite3_exec(connection, "PRAGMA cache_size = -8192", nullptr, nullptr, nullptr);
  return CheckReadable(connection, host_path);
}

// A fresh import made for one attachment only: removed once it was read into memory.
class TemporaryImage final {
 public:
  explicit TemporaryImage(std::string path) : path_(std::move(path)) {}
  ~TemporaryImage() { (void)Env::Default().file_system().Remove(path_); }
  TemporaryImage(const TemporaryImage&) = delete;
  TemporaryImage& operator=(const TemporaryImage&) = delete;

 private:
  std::string path_;
};

// SQLite counts every allocation it makes under a process-wide lock, for statistics that
// nothing here reads: a build makes hundreds of thousands. The setting takes effect only before
// SQLite's first use in the process; later it is refused, harmlessly.
void DisableMemoryStatistics() {
  static const int kConfigured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  (void)kConfigured;
}

}  // namespace

Result<std::unique_ptr<ProjectDatabase>> ProjectDatabase::Open(const std::string& path,
                                                               Changes changes) {
  DisableMemoryStatistics();
  const Result<DatabaseForm> form = FormOfDatabaseFile(path);
  if (!form.ok()) return form.status();
  // An Access file is never opened itself: its SQLite image is.
  std::string host_path = path;
  std::optional<TemporaryImage> temporary_image;
  if (*form == DatabaseForm::kAccess && changes == Changes::kKept) {
    Result<std::string> image = AccessImageOf(path);
    if (!image.ok()) return image.status();
    host_path = *std::move(image);
  } else if (*form == DatabaseForm::kAccess) {
    Result<AccessImageSource> image = AccessImageForReading(path);
    if (!image.ok()) return image.status();
    host_path = image->path;
    if (image->temporary) temporary_image.emplace(host_path);
  }
  Result<ConnectionPtr> connection =
      changes == Changes::kKept ? OpenOnDisk(host_path) : LoadIntoMemory(host_path);
  if (!connection.ok()) return connection.status();
  if (Status ready = Configure(connection->get(), host_path); !ready.ok()) return ready;
  std::unique_ptr<ProjectDatabase> database(new ProjectDatabase(std::move(connection).value()));
  if (*form == DatabaseForm::kAccess) database->access_image_.emplace(path, host_path);
  if (changes == Changes::kDiscarded) {
    if (sqlite3_exec(database->connection_.get(), "BEGIN", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
      return Status::IoError(StringPrintf("%s: the transaction cannot begin: %s", host_path.c_str(),
                                          sqlite3_errmsg(database->connection_.get())));
    }
    database->in_transaction_ = true;
  }
  return database;
}

Status ProjectDatabase::RollBack() {
  if (!in_transaction_) return Status::InvalidArgument("no transaction to roll back");
  in_transaction_ = false;
  saved_queries_.Forget();
  if (sqlite3_exec(connection_.get(), "ROLLBACK", nullptr, nullptr, nullptr) != SQLITE_OK) {
    return Status::IoError(std::string("the transaction cannot be rolled back: ") +
                           sqlite3_errmsg(connection_.get()));
  }
  return Status::Ok();
}

ProjectDatabase::ProjectDatabase(ConnectionPtr connection)
    : connection_(std::move(connection)),
      catalog_(connection_.get()),
      saved_queries_(connection_.get(), catalog_),
      translations_(catalog_) {}

ProjectDatabase::~ProjectDatabase() { contexts_.clear(); }

Result<std::int64_t> ProjectDatabase::SchemaVersion() {
  Result<CachedStatement*> pragma = cache_.Acquire(connection_.get(), "PRAGMA schema_version");
  if (!pragma.ok()) return pragma.status();
  sqlite3_stmt* const statement = (*pragma)->statement.get();
  const bool row = sqlite3_step(statement) == SQLITE_ROW;
  const std::int64_t version = row ? sqlite3_column_int64(statement, 0) : 0;
  StatementCache::Return(*pragma);
  if (!row) return Status::IoError(sqlite3_errmsg(connection_.get()));
  return version;
}

void ProjectDatabase::Refuse(const std::string& what, const Status& status) {
  if (refused_.insert(what + "\n" + status.message()).second) {
    WriteErrorLine(what + ": " + status.message());
  }
}

Result<TdlQueryContext*> ProjectDatabase::PrepareText(const std::string& sql,
                                                      const VARIANT* parameters,
                                                      const sql::Translation* translation,
                                                      const std::string& what) {
  Result<CachedStatement*> entry = cache_.Acquire(connection_.get(), sql);
  if (!entry.ok()) {
    Refuse(what, translation != nullptr
                     ? Status::InvalidArgument("SQLite refuses its translation: " +
                                               entry.status().message())
                     : entry.status());
    return entry.status();
  }
  std::vector<DeclaredKind> kinds;
  if (translation != nullptr) {
    for (const sql::OutputColumn& column : translation->columns) {
      kinds.push_back(KindOfSqlType(column.type));
    }
  }
  TdlQueryContext* const context = IdleContext();
  context->Open(*entry, kinds, what);
  const Status bound = context->Bind(parameters);
  if (!bound.ok()) {
    Release(context);
    Refuse(what, bound);
    return bound;
  }
  return context;
}

TdlQueryContext* ProjectDatabase::IdleContext() {
  if (!idle_contexts_.empty()) {
    TdlQueryContext* const context = idle_contexts_.back();
    idle_contexts_.pop_back();
    return context;
  }
  auto context =
      std::make_unique<TdlQueryContext>([this](std::string_view label, std::string_view reason) {
        Refuse(std::string(label), Status::IoError(std::string(reason)));
      });
  TdlQueryContext* const made = context.get();
  contexts_.emplace(made, std::move(context));
  return made;
}

Result<TdlQueryContext*> ProjectDatabase::PrepareTranslated(
    const std::string& what, const Result<const sql::Translation*>& translation,
    const VARIANT* parameters) {
  if (!translation.ok()) {
    Refuse(what, translation.status());
    return translation.status();
  }
  return PrepareText((*translation)->sql, parameters, *translation, what);
}

Result<TdlQueryContext*> ProjectDatabase::PrepareSavedQuery(std::string_view name,
                                                            const VARIANT* parameters) {
  std::string converted_name;
  const std::string_view utf8_name = Cp1252AsUtf8(name, converted_name);
  Result<const sql::SavedQueryDefinition*> found = saved_queries_.Find(utf8_name);
  if (!found.ok()) return found.status();
  if (*found == nullptr) {
    const Status missing = Status::NotFound("there is no saved query of that name");
    if (!IsOptionalQuery(utf8_name)) Refuse("query " + std::string(utf8_name), missing);
    return missing;
  }
  const sql::SavedQueryDefinition& definition = **found;
  // A query prepared once per tag builds its label in the same storage each time.
  query_label_.assign("query ").append(definition.name);
  if (definition.sql.has_value()) {
    return PrepareText(*definition.sql, parameters, nullptr, query_label_);
  }
  Result<std::int64_t> version = SchemaVersion();
  if (!version.ok()) return version.status();
  const ParametersForCatalog binding(catalog_, parameters);
  return PrepareTranslated(query_label_, translations_.ForSavedQuery(definition, *version),
                           parameters);
}

Result<TdlQueryContext*> ProjectDatabase::PrepareSql(std::string_view sql,
                                                     const VARIANT* parameters) {
  const std::string utf8 = Cp1252ToUtf8(sql);
  Result<std::int64_t> version = SchemaVersion();
  if (!version.ok()) return version.status();
  const ParametersForCatalog binding(catalog_, parameters);
  return PrepareTranslated(DescribeProgramText(utf8), translations_.ForProgramText(utf8, *version),
                           parameters);
}

bool ProjectDatabase::Owns(const TdlQueryContext* context) const {
  const auto made = contexts_.find(context);
  return made != contexts_.end() && made->second->is_open();
}

void ProjectDatabase::Release(TdlQueryContext* context) {
  context->Close();
  idle_contexts_.push_back(context);
}

void ProjectDatabase::NoteExecuted() {
  if (!access_image_ || written_to_image_ || sqlite3_changes(connection_.get()) == 0) return;
  written_to_image_ = true;
  WriteErrorLine(StringPrintf(
      "the alarm groups this build added are kept in %s, the SQLite image of %s, not in %s "
      "itself; a new import of %s starts without them",
      access_image_->second.c_str(), access_image_->first.c_str(), access_image_->first.c_str(),
      access_image_->first.c_str()));
}

}  // namespace quellor::tagdll
