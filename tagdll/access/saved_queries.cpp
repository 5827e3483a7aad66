#include "tagdll/access/saved_queries.h"

#include <algorithm>
#include <map>
#include <optional>

#include "base/ascii.h"
#include "tagdll/access/access_file.h"

namespace quellor::tagdll::access {
namespace {

// The columns of MSysQueries; LvExtra exists from Jet 4 on.
struct QueryColumns {
  std::size_t object_id, attribute, order, name1, name2, expression, flag;
  std::optional<std::size_t> extra;
};

std::optional<QueryColumns> FindQueryColumns(const AccessTable& table) {
  const auto id = table.FindColumn("ObjectId");
  const auto attribute = table.FindColumn("Attribute");
  const auto order = table.FindColumn("Order");
  const auto name1 = table.FindColumn("Name1");
  const auto name2 = table.FindColumn("Name2");
  const auto expression = table.FindColumn("Expression");
  const auto flag = table.FindColumn("Flag");
  if (!id || !attribute || !order || !name1 || !name2 || !expression || !flag) return std::nullopt;
  return QueryColumns{*id,    *attribute,  *order, *name1,
                      *name2, *expression, *flag,  table.FindColumn("LvExtra")};
}

std::optional<std::int64_t> Integer(const FieldValue& value) {
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return *integer;
  return std::nullopt;
}

std::optional<std::string> Text(const FieldValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  return std::nullopt;
}

std::string Bytes(const FieldValue& value) {
  const auto* blob = std::get_if<Blob>(&value);
  return blob != nullptr ? std::string(blob->bytes.begin(), blob->bytes.end()) : std::string();
}

QueryRow MakeRow(const QueryColumns& columns, std::span<const FieldValue> row) {
  QueryRow out;
  out.attribute = static_cast<int>(Integer(row[columns.attribute]).value_or(-1));
  out.order = Bytes(row[columns.order]);
  out.name1 = Text(row[columns.name1]);
  out.name2 = Text(row[columns.name2]);
  out.expression = Text(row[columns.expression]);
  if (const auto flag = Integer(row[columns.flag])) out.flag = static_cast<int>(*flag);
  if (columns.extra) {
    if (const auto extra = Integer(row[*columns.extra]))
      out.extra = static_cast<std::int32_t>(*extra);
  }
  return out;
}

}  // namespace

Result<std::vector<SavedQueryRows>> ReadSavedQueries(AccessFile& file) {
  Result<std::unique_ptr<AccessTable>> table = file.OpenSystemTable("MSysQueries");
  if (!table.ok()) return table.status();
  std::map<std::int32_t, std::vector<QueryRow>> rows_by_query;
  if (*table != nullptr) {
    const std::optional<QueryColumns> columns = FindQueryColumns(**table);
    if (!columns) return file.Damaged("its table of saved queries lacks columns");
    const Status status = (*table)->ForEachRow([&](std::span<const FieldValue> row) {
      const auto id = Integer(row[columns->object_id]);
      if (id) rows_by_query[static_cast<std::int32_t>(*id)].push_back(MakeRow(*columns, row));
      return Status::Ok();
    });
    if (!status.ok()) return status;
  }
  std::vector<SavedQueryRows> queries;
  for (const CatalogObject& object : file.objects()) {
    if (!IsQuery(object) || object.name.starts_with("~")) continue;
    auto rows = rows_by_query.find(object.id);
    queries.push_back(
        {object.name, object.flags,
         rows == rows_by_query.end() ? std::vector<QueryRow>() : std::move(rows->second)});
  }
  std::sort(queries.begin(), queries.end(), [](const SavedQueryRows& a, const SavedQueryRows& b) {
    return CompareIgnoreCase(a.name, b.name) < 0;
  });
  return queries;
}

}  // namespace quellor::tagdll::access
