#include "tagdll/access/sql_names.h"

#include <algorithm>
#include <array>

#include "base/ascii.h"

namespace quellor::tagdll::access {
namespace {

// The reserved words of Access SQL, upper case, in byte order.
constexpr std::array<std::string_view, 205> kReservedWords = {
    "ADD",
    "ALL",
    "ALPHANUMERIC",
    "ALTER",
    "AND",
    "ANY",
    "APPLICATION",
    "AS",
    "ASC",
    "ASSISTANT",
    "AUTOINCREMENT",
    "AVG",
    "BETWEEN",
    "BINARY",
    "BIT",
    "BOOLEAN",
    "BY",
    "BYTE",
    "CHAR",
    "CHARACTER",
    "COLUMN",
    "COMPACTDATABASE",
    "CONSTRAINT",
    "CONTAINER",
    "COUNT",
    "COUNTER",
    "CREATE",
    "CREATEDATABASE",
    "CREATEFIELD",
    "CREATEGROUP",
    "CREATEINDEX",
    "CREATEOBJECT",
    "CREATEPROPERTY",
    "CREATERELATION",
    "CREATETABLEDEF",
    "CREATEUSER",
    "CREATEWORKSPACE",
    "CURRENCY",
    "CURRENTUSER",
    "DATABASE",
    "DATE",
    "DATETIME",
    "DELETE",
    "DESC",
    "DESCRIPTION",
    "DISALLOW",
    "DISTINCT",
    "DISTINCTROW",
    "DOCUMENT",
    "DOUBLE",
    "DROP",
    "ECHO",
    "ELSE",
    "END",
    "EQV",
    "ERROR",
    "EXISTS",
    "EXIT",
    "FALSE",
    "FIELD",
    "FIELDS",
    "FILLCACHE",
    "FLOAT",
    "FLOAT4",
    "FLOAT8",
    "FOREIGN",
    "FORM",
    "FORMS",
    "FROM",
    "FULL",
    "FUNCTION",
    "GENERAL",
    "GETOBJECT",
    "GETOPTION",
    "GOTOPAGE",
    "GROUP",
    "GUID",
    "HAVING",
    "IDLE",
    "IEEEDOUBLE",
    "IEEESINGLE",
    "IF",
    "IGNORE",
    "IMP",
    "IN",
    "INDEX",
    "INDEXES",
    "INNER",
    "INSERT",
    "INSERTTEXT",
    "INT",
    "INTEGER",
    "INTEGER1",
    "INTEGER2",
    "INTEGER4",
    "INTO",
    "IS",
    "JOIN",
    "KEY",
    "LASTMODIFIED",
    "LEFT",
    "LEVEL",
    "LIKE",
    "LOGICAL",
    "LOGICAL1",
    "LONG",
    "LONGBINARY",
    "LONGTEXT",
    "MACRO",
    "MATCH",
    "MAX",
    "MEMO",
    "MIN",
    "MOD",
    "MODULE",
    "MONEY",
    "MOVE",
    "NAME",
    "NEWPASSWORD",
    "NO",
    "NOT",
    "NOTE",
    "NULL",
    "NUMBER",
    "NUMERIC",
    "OBJECT",
    "OFF",
    "OLEOBJECT",
    "ON",
    "OPENRECORDSET",
    "OPTION",
    "OR",
    "ORDER",
    "ORIENTATION",
    "OUTER",
    "OWNERACCESS",
    "PARAMETER",
    "PARAMETERS",
    "PARTIAL",
    "PERCENT",
    "PIVOT",
    "PRIMARY",
    "PROCEDURE",
    "PROPERTY",
    "QUERIES",
    "QUERY",
    "QUIT",
    "REAL",
    "RECALC",
    "RECORDSET",
    "REFERENCES",
    "REFRESH",
    "REFRESHLINK",
    "REGISTERDATABASE",
    "RELATION",
    "REPAINT",
    "REPAIRDATABASE",
    "REPORT",
    "REPORTS",
    "REQUERY",
    "RIGHT",
    "SCREEN",
    "SECTION",
    "SELECT",
    "SET",
    "SETFOCUS",
    "SETOPTION",
    "SHORT",
    "SINGLE",
    "SMALLINT",
    "SOME",
    "SQL",
    "STDEV",
    "STDEVP",
    "STRING",
    "SUM",
    "TABLE",
    "TABLEDEF",
    "TABLEDEFS",
    "TABLEID",
    "TEXT",
    "TIME",
    "TIMESTAMP",
    "TOP",
    "TRANSFORM",
    "TRUE",
    "TYPE",
    "UNION",
    "UNIQUE",
    "UPDATE",
    "USER",
    "VALUE",
    "VALUES",
    "VAR",
    "VARBINARY",
    "VARCHAR",
    "VARP",
    "VERSION",
    "WHERE",
    "WITH",
    "WORKSPACE",
    "XOR",
    "YEAR",
    "YES",
    "YESNO",
};

bool IsNameByte(char c, bool first) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x80 || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         (!first && c >= '0' && c <= '9');
}

bool IsReservedWord(std::string_view name) {
  const std::string upper = ToUpperAscii(name);
  return std::binary_search(kReservedWords.begin(), kReservedWords.end(), upper);
}

}  // namespace

bool NeedsBrackets(std::string_view name) {
  if (name.empty()) return true;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (!IsNameByte(name[i], i == 0)) return true;
  }
  return IsReservedWord(name);
}

std::string QuotedName(std::string_view name) {
  return NeedsBrackets(name) ? BracketedName(name) : std::string(name);
}

std::string BracketedName(std::string_view name) {
  std::string bracketed = "[";
  return bracketed.append(name).append("]");
}

std::string BracketedPath(std::string_view name) {
  std::string out;
  for (std::size_t start = 0;;) {
    const std::size_t bang = name.find('!', start);
    out += BracketedName(name.substr(start, bang - start));
    if (bang == std::string_view::npos) return out;
    out += '!';
    start = bang + 1;
  }
}

}  // namespace quellor::tagdll::access
