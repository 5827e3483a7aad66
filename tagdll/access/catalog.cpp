#include "tagdll/access/catalog.h"

#include <optional>
#include <string_view>

#include "base/ascii.h"
#include "tagdll/access/access_file.h"

namespace quellor::tagdll::access {
namespace {

// MSysObjects' own definition is always on page 2.
constexpr std::uint32_t kCatalogPage = 2;
constexpr int kTableType = 1;
constexpr int kOdbcLinkType = 4;
constexpr int kQueryType = 5;
constexpr int kAccessLinkType = 6;
// Flags of system tables: Jet's own, and Access's own (MSysAccessStorage, MSysNavPane...).
constexpr std::uint32_t kSystemFlags = 0x80000002;

std::int64_t IntegerOr(const FieldValue& value, std::int64_t fallback) {
  const auto* integer = std::get_if<std::int64_t>(&value);
  return integer != nullptr ? *integer : fallback;
}

std::string TextOr(const FieldValue& value) {
  const auto* text = std::get_if<std::string>(&value);
  return text != nullptr ? *text : std::string();
}

}  // namespace

bool IsUserTable(const CatalogObject& object) {
  return object.type == kTableType &&
         (static_cast<std::uint32_t>(object.flags) & kSystemFlags) == 0;
}
bool IsLinkedAccessTable(const CatalogObject& object) { return object.type == kAccessLinkType; }
bool IsLinkedOdbcTable(const CatalogObject& object) { return object.type == kOdbcLinkType; }
bool IsQuery(const CatalogObject& object) { return object.type == kQueryType; }

std::uint32_t DefinitionPage(const CatalogObject& object) {
  return static_cast<std::uint32_t>(object.id) & 0x00FFFFFF;
}

Result<std::vector<CatalogObject>> ReadCatalog(AccessFile& file) {
  Result<std::unique_ptr<AccessTable>> table = AccessTable::Open(file, "MSysObjects", kCatalogPage);
  if (!table.ok()) return table.status();
  const AccessTable& catalog = **table;
  const std::optional<std::size_t> id = catalog.FindColumn("Id");
  const std::optional<std::size_t> name = catalog.FindColumn("Name");
  const std::optional<std::size_t> type = catalog.FindColumn("Type");
  const std::optional<std::size_t> flags = catalog.FindColumn("Flags");
  const std::optional<std::size_t> database = catalog.FindColumn("Database");
  const std::optional<std::size_t> foreign_name = catalog.FindColumn("ForeignName");
  if (!id || !name || !type || !flags) {
    return file.Damaged("its catalog lacks the columns Id, Name, Type and Flags");
  }
  std::vector<std::size_t> wanted = {*id, *name, *type, *flags};
  if (database) wanted.push_back(*database);
  if (foreign_name) wanted.push_back(*foreign_name);
  std::vector<CatalogObject> objects;
  const Status status = (*table)->ForEachRow(
      [&](std::span<const FieldValue> row) {
        CatalogObject& object = objects.emplace_back();
        object.id = static_cast<std::int32_t>(IntegerOr(row[*id], 0));
        object.name = TextOr(row[*name]);
        object.type = static_cast<int>(IntegerOr(row[*type], 0));
        object.flags = static_cast<std::int32_t>(IntegerOr(row[*flags], 0));
        if (database) object.database = TextOr(row[*database]);
        if (foreign_name) object.foreign_name = TextOr(row[*foreign_name]);
        return Status::Ok();
      },
      wanted);
  if (!status.ok()) return status;
  return objects;
}

const CatalogObject* FindObject(const std::vector<CatalogObject>& objects, const std::string& name,
                                bool (*kind)(const CatalogObject&)) {
  for (const CatalogObject& object : objects) {
    if (kind(object) && EqualsIgnoreCase(object.name, name)) return &object;
  }
  return nullptr;
}

}  // namespace quellor::tagdll::access
