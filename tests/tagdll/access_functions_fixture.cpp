#include "access_functions_fixture.h"

#include <charconv>
#include <cmath>

#include "tagdll/sql/access_functions.h"

namespace quellor::testing {
namespace {

using tagdll::sql::SqlType;

// "{Boolean}" and its kind replaced by the integer of the SqlType they name.
std::string WithTypeHints(std::string_view expression) {
  static constexpr std::pair<std::string_view, SqlType> kNames[] = {
      {"{Boolean}", SqlType::kBoolean}, {"{Int16}", SqlType::kInt16},
      {"{Int32}", SqlType::kInt32},     {"{Single}", SqlType::kSingle},
      {"{Double}", SqlType::kDouble},   {"{Currency}", SqlType::kCurrency},
      {"{Date}", SqlType::kDate},       {"{Text}", SqlType::kText},
      {"{Variant}", SqlType::kVariant}};
  std::string sql(expression);
  for (const auto& [name, type] : kNames) {
    for (std::size_t pos; (pos = sql.find(name)) != std::string::npos;) {
      sql.replace(pos, name.size(), std::to_string(static_cast<int>(type)));
    }
  }
  return sql;
}

// The shortest text that reads back as the value, without an exponent for ordinary sizes.
std::string RealText(double value) {
  char text[400];
  const bool ordinary = std::fabs(value) >= 1e-6 && std::fabs(value) < 1e16;
  const auto end = std::to_chars(text, text + sizeof text, value,
                                 ordinary ? std::chars_format::fixed : std::chars_format::general)
                       .ptr;
  std::string shown(text, end);
  if (shown.find_first_of(".en") == std::string::npos) shown += ".0";
  return shown;
}

}  // namespace

void AccessFunctionsTest::SetUp() {
  sqlite3* connection = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &connection), SQLITE_OK);
  connection_.reset(connection);
  ASSERT_EQ(tagdll::sql::RegisterAccessFunctions(connection), SQLITE_OK);
}

std::string AccessFunctionsTest::Evaluate(std::string_view expression) {
  const std::string sql = "SELECT " + WithTypeHints(expression);
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(connection_.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    return std::string("error: ") + sqlite3_errmsg(connection_.get());
  }
  const tagdll::StatementPtr statement(raw);
  if (sqlite3_step(raw) != SQLITE_ROW) {
    return std::string("error: ") + sqlite3_errmsg(connection_.get());
  }
  switch (sqlite3_column_type(raw, 0)) {
    case SQLITE_NULL:
      return "null";
    case SQLITE_INTEGER:
      return std::to_string(sqlite3_column_int64(raw, 0));
    case SQLITE_FLOAT:
      return RealText(sqlite3_column_double(raw, 0));
    case SQLITE_TEXT:
      return "'" +
             std::string(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)),
                         static_cast<std::size_t>(sqlite3_column_bytes(raw, 0))) +
             "'";
    default:
      return "blob";
  }
}

void AccessFunctionsTest::ExpectAll(std::span<const FunctionCase> cases) {
  for (const FunctionCase& c : cases) {
    EXPECT_EQ(Evaluate(c.expression), c.expected) << c.expression;
  }
}

void AccessFunctionsTest::Run(const std::string& sql) {
  char* error = nullptr;
  const int result = sqlite3_exec(connection_.get(), sql.c_str(), nullptr, nullptr, &error);
  EXPECT_EQ(result, SQLITE_OK) << sql << ": " << (error != nullptr ? error : "");
  sqlite3_free(error);
}

}  // namespace quellor::testing
