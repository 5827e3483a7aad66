#include "project_generator.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

namespace quellor::bench {

namespace {

[[noreturn]] void Die(sqlite3* db, const char* what) {
  std::fprintf(stderr, "project generator: %s: %s\n", what, db ? sqlite3_errmsg(db) : "");
  std::exit(2);
}

std::string SchemaSql() {
  std::ifstream in(QUELLOR_SCHEMA_SQL, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

const char kSetupSql[] =
    "INSERT INTO Blocks VALUES (1, 'NODE1');"
    "INSERT INTO ServerComputerPortToNodes VALUES (1, 'NODE1');"
    "INSERT INTO ServerComputerPorts VALUES (1, 'SRV1');"
    "INSERT INTO PelnetNodes VALUES ('NODE1');"
    "INSERT INTO AccessNames VALUES ('PN1', 'TOPIC', 'SRV1', '', 'PelnetData');"
    "INSERT INTO InTouchAppNames VALUES ('App1');"
    "INSERT INTO ClientAppAccessNames VALUES ('App1', 'View', 'PN1', 1);";

struct Row {
  std::string tag, field, subfield, fix, record_type;
  int field_code = 0, fix_code = 0;
  double lo = 0.0, hi = 100.0;
};

class Writer final {
 public:
  explicit Writer(const std::filesystem::path& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
      Die(db_, "open");
    }
    Exec((SchemaSql() + kSetupSql + "BEGIN;").c_str());
    Prepare(
        "INSERT INTO TrendData VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, 1, 1, "
        "1, ?12)",
        &trend_);
    Prepare("INSERT OR IGNORE INTO Tags VALUES (?1, 1)", &tags_);
  }
  ~Writer() {
    Exec("COMMIT;");
    sqlite3_finalize(trend_);
    sqlite3_finalize(tags_);
    sqlite3_close(db_);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  void Add(const Row& row) {
    const std::string desc = "Description of " + row.tag;
    sqlite3_bind_text(trend_, 1, row.tag.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(trend_, 2, row.field.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(trend_, 3, row.subfield.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(trend_, 4, row.fix.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(trend_, 5, row.record_type.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(trend_, 6, row.field_code);
    sqlite3_bind_int(trend_, 7, row.fix_code);
    sqlite3_bind_text(trend_, 8, desc.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(trend_, 9, "units", -1, SQLITE_STATIC);
    sqlite3_bind_double(trend_, 10, row.hi);
    sqlite3_bind_double(trend_, 11, row.lo);
    sqlite3_bind_int(trend_, 12, ++seq_);
    Step(trend_);
    sqlite3_bind_text(tags_, 1, row.tag.c_str(), -1, SQLITE_TRANSIENT);
    Step(tags_);
  }
  std::int32_t rows() const { return seq_; }

 private:
  void Exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Die(db_, "exec");
  }
  void Prepare(const char* sql, sqlite3_stmt** statement) {
    if (sqlite3_prepare_v2(db_, sql, -1, statement, nullptr) != SQLITE_OK) Die(db_, "prepare");
  }
  void Step(sqlite3_stmt* statement) {
    if (sqlite3_step(statement) != SQLITE_DONE) Die(db_, "insert");
    sqlite3_reset(statement);
  }

  sqlite3* db_ = nullptr;
  sqlite3_stmt* trend_ = nullptr;
  sqlite3_stmt* tags_ = nullptr;
  std::int32_t seq_ = 0;
};

}  // namespace

GeneratedProject GenerateProject(const std::filesystem::path& path, std::int32_t tags,
                                 std::uint32_t seed) {
  static constexpr int kCodes[] = {1, 7, 8, 10};
  std::mt19937 random(seed);
  Writer writer(path);
  std::int32_t made = 0;
  for (std::int32_t tree = 0; made < tags; ++tree) {
    const std::string name = "T" + std::to_string(100000 + tree);
    const int code = kCodes[random() % 4];
    const double lo = static_cast<double>(random() % 100);
    const double hi = lo + 1.0 + static_cast<double>(random() % 10000);
    const unsigned shape = tags - made >= 4 ? random() % 3 : 2;
    if (shape == 0) {  // a block: the group and three field members
      for (int f = 0; f < 3; ++f) {
        writer.Add({name, "F" + std::to_string(f), "", "", "BlkTag", code, 0, lo, hi});
      }
      made += 4;
    } else if (shape == 1) {  // a field tag with two fixed fields and its value member
      for (int x = 0; x < 2; ++x) {
        writer.Add({name, "", "", "X" + std::to_string(x), "FldTag", 0, code, lo, hi});
      }
      made += 4;
    } else {  // a single field tag
      writer.Add({name, "", "", "", "FldTag", 0, code, lo, hi});
      made += 1;
    }
  }
  return GeneratedProject{made, writer.rows()};
}

}  // namespace quellor::bench
