// One table of an open Access file: its columns and indexes as the library reads its
// definition, and its rows in storage order, every value decoded by this import (the row's
// bytes as the library locates them; text, numbers, dates and long values by our own code).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "tagdll/access/access_type.h"
#include "tagdll/access/field_value.h"
#include "tagdll/access/mdb_library.h"

namespace quellor::tagdll::access {

class AccessFile;

struct AccessColumn {
  std::string name;
  AccessType type = AccessType::kText;
  int scale = 0;  // a Decimal column's digits after the point
};

struct AccessIndexKey {
  std::size_t column = 0;  // position in columns()
  bool descending = false;
};

struct AccessIndex {
  std::string name;
  bool primary_key = false;
  bool unique = false;
  std::vector<AccessIndexKey> keys;
};

class AccessTable final {
 public:
  // The table whose definition starts at `definition_page`; `name` is for messages. A column
  // of a type this import does not know fails the open.
  static Result<std::unique_ptr<AccessTable>> Open(AccessFile& file, std::string name,
                                                   std::uint32_t definition_page);
  ~AccessTable();
  AccessTable(const AccessTable&) = delete;
  AccessTable& operator=(const AccessTable&) = delete;

  const std::string& name() const { return name_; }
  const std::vector<AccessColumn>& columns() const { return columns_; }
  // Primary key and indexes; the references of relationships (which have no keys of their
  // own) are left out.
  const std::vector<AccessIndex>& indexes() const { return indexes_; }
  // The position of the column of that name (without regard to case), if there is one.
  std::optional<std::size_t> FindColumn(std::string_view column_name) const;

  // Calls `visit` with each live row's values, one per column (Null for multi-value and
  // attachment columns), until it returns a failure, which is returned. The values are valid
  // during the call only, and `visit` must not read the file. Damage fails with one line.
  // With `wanted` given, only those columns are decoded and the others are Null.
  using RowVisitor = std::function<Status(std::span<const FieldValue>)>;
  Status ForEachRow(const RowVisitor& visit, std::span<const std::size_t> wanted = {});
  // The number of live rows, counted without decoding them.
  Result<std::uint64_t> CountRows();

 private:
  AccessTable(AccessFile& file, std::string name);
  Status ReadDefinition(std::uint32_t definition_page);
  Status ReadIndexes();
  // Calls `visit` with the start and size of each live row on the library's current page.
  Status ForEachLiveRow(const std::function<Status(int start, std::size_t size)>& visit);
  Result<FieldValue> DecodeField(const MdbField& field, const AccessColumn& column) const;
  Status Damaged(const std::string& reason) const;

  AccessFile& file_;
  std::string name_;
  MdbCatalogEntry entry_{};  // the library's table definition points at it
  MdbTableDefPtr definition_;
  std::vector<AccessColumn> columns_;
  std::vector<AccessIndex> indexes_;
};

}  // namespace quellor::tagdll::access
