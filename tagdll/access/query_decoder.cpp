#include "tagdll/access/query_decoder.h"

#include <optional>

#include "base/format.h"
#include "tagdll/access/query_parts.h"
#include "tagdll/access/query_statements.h"
#include "tagdll/access/sql_names.h"

namespace quellor::tagdll::access {
namespace {

constexpr int kTextParameter = 10;

Status Damaged(const std::string& reason) { return Status::Corruption(reason); }

// The type row's Flag; without a type row (ACE leaves it out of select queries), the
// catalog's flags.
Result<QueryType> TypeOf(const QueryParts& parts, std::int32_t object_flags) {
  Result<const QueryRow*> type_row = parts.Single(kTypeAttribute, "type");
  if (!type_row.ok()) return type_row.status();
  if (*type_row != nullptr && (*type_row)->flag) {
    static constexpr QueryType kByRowFlag[] = {
        QueryType::kSelect,         QueryType::kMakeTable,   QueryType::kAppend,
        QueryType::kUpdate,         QueryType::kDelete,      QueryType::kCrosstab,
        QueryType::kDataDefinition, QueryType::kPassThrough, QueryType::kUnion};
    const int flag = *(*type_row)->flag;
    if (flag < 1 || flag > 9) return Damaged(StringPrintf("a query type of %d", flag));
    return kByRowFlag[flag - 1];
  }
  static constexpr QueryType kByObjectFlags[] = {
      QueryType::kSelect,         QueryType::kCrosstab,    QueryType::kDelete,
      QueryType::kUpdate,         QueryType::kAppend,      QueryType::kMakeTable,
      QueryType::kDataDefinition, QueryType::kPassThrough, QueryType::kUnion};
  const unsigned kind = (static_cast<std::uint32_t>(object_flags) & 0xF0) >> 4;
  if (kind >= std::size(kByObjectFlags)) {
    return Damaged(StringPrintf("a query kind of 0x%X in the catalog", kind << 4));
  }
  return kByObjectFlags[kind];
}

std::optional<std::string_view> ParameterTypeName(int code) {
  switch (code) {
    case 0:
      return "Value";
    case 1:
      return "Bit";
    case 2:
      return "Byte";
    case 3:
      return "Short";
    case 4:
      return "Long";
    case 5:
      return "Currency";
    case 6:
      return "IEEESingle";
    case 7:
      return "IEEEDouble";
    case 8:
      return "DateTime";
    case 9:
      return "Binary";
    case kTextParameter:
      return "Text";
    case 11:
      return "LongBinary";
    case 12:
      return "LongText";
    case 15:
      return "Guid";
    case 16:
      return "Decimal";
  }
  return std::nullopt;
}

// "PARAMETERS [Beginning Date] DateTime, [Name] Text ( 30 );" and a line break, or nothing;
// the names go to `names`.
Result<std::string> ParametersClause(const QueryParts& parts, std::vector<std::string>& names) {
  std::string clause;
  for (const QueryRow* row : parts.rows(kParameterAttribute)) {
    if (!row->name1) return Damaged("a parameter without a name");
    const std::optional<std::string_view> type = ParameterTypeName(FlagOf(*row));
    if (!type) return Damaged(StringPrintf("a parameter of type %d", FlagOf(*row)));
    clause += (clause.empty() ? "PARAMETERS " : ", ") + BracketedPath(*row->name1) + " " +
              std::string(*type);
    if (FlagOf(*row) == kTextParameter && row->extra.value_or(0) > 0) {
      clause += StringPrintf(" ( %d )", static_cast<int>(*row->extra));
    }
    names.push_back(*row->name1);
  }
  if (!clause.empty()) clause.append(";").append(kNewline);
  return clause;
}

}  // namespace

std::string_view QueryTypeName(QueryType type) {
  switch (type) {
    case QueryType::kSelect:
      return "select";
    case QueryType::kMakeTable:
      return "make-table";
    case QueryType::kAppend:
      return "append";
    case QueryType::kUpdate:
      return "update";
    case QueryType::kDelete:
      return "delete";
    case QueryType::kCrosstab:
      return "crosstab";
    case QueryType::kDataDefinition:
      return "data-definition";
    case QueryType::kPassThrough:
      return "pass-through";
    case QueryType::kUnion:
      return "union";
  }
  return "";
}

Result<DecodedQuery> DecodeSavedQuery(const SavedQueryRows& query) {
  const QueryParts parts(query);
  Result<QueryType> type = TypeOf(parts, query.object_flags);
  if (!type.ok()) return type.status();
  DecodedQuery decoded{*type, "", {}};
  // A data-definition query's text is all there is, as stored.
  if (*type == QueryType::kDataDefinition) {
    Result<std::string> text = WriteStatement(parts, *type);
    if (!text.ok()) return text.status();
    decoded.access_sql = std::move(*text);
    return decoded;
  }
  Result<std::string> parameters = ParametersClause(parts, decoded.parameters);
  if (!parameters.ok()) return parameters.status();
  Result<std::string> statement = WriteStatement(parts, *type);
  if (!statement.ok()) return statement.status();
  Result<const QueryRow*> flags_row = parts.Single(kFlagsAttribute, "flags");
  const bool owner_access =
      flags_row.ok() && *flags_row != nullptr && (FlagOf(**flags_row) & kOwnerAccessFlag) != 0;
  decoded.access_sql = *parameters + *statement +
                       (owner_access ? std::string(kNewline) + "WITH OWNERACCESS OPTION" : "") +
                       ";";
  return decoded;
}

}  // namespace quellor::tagdll::access
