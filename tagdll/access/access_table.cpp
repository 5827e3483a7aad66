#include "tagdll/access/access_table.h"

#include <cstdio>
#include <utility>

#include "base/ascii.h"
#include "base/format.h"
#include "tagdll/access/access_file.h"
#include "tagdll/access/long_value.h"

namespace quellor::tagdll::access {
namespace {

// Row offsets on a data page: the low 13 bits are the offset; a row with bit 14 set is
// deleted or only points to where the row moved (the library skips those too).
constexpr int kRowOffsetMask = 0x1FFF;
constexpr int kRowDeletedFlag = 0x4000;
// Index types of the library: 1 a primary key, 2 the reference of a relationship.
constexpr unsigned char kPrimaryKeyIndex = 1;
constexpr unsigned char kRelationshipIndex = 2;
constexpr unsigned char kUniqueIndexFlag = 0x01;
// Access allows 255 columns and 32 indexes a table; relationships add references.
constexpr unsigned kMaxColumns = 255;
constexpr unsigned kMaxIndexes = 1024;

}  // namespace

AccessTable::AccessTable(AccessFile& file, std::string name)
    : file_(file), name_(std::move(name)) {}

AccessTable::~AccessTable() = default;

Result<std::unique_ptr<AccessTable>> AccessTable::Open(AccessFile& file, std::string name,
                                                       std::uint32_t definition_page) {
  std::unique_ptr<AccessTable> table(new AccessTable(file, std::move(name)));
  Status status = table->ReadDefinition(definition_page);
  if (status.ok()) status = table->ReadIndexes();
  if (!status.ok()) return status;
  return table;
}

Status AccessTable::ReadDefinition(std::uint32_t definition_page) {
  entry_.mdb = file_.library();
  entry_.object_type = MDB_TABLE;
  entry_.table_pg = definition_page;
  std::snprintf(entry_.object_name, sizeof entry_.object_name, "%s", name_.c_str());
  definition_.reset(mdb_read_table(&entry_));
  // The library reads as many columns and indexes as the definition claims, following the
  // definition's chain of pages, which damage can make a loop.
  if (definition_ == nullptr || definition_->num_cols > kMaxColumns ||
      definition_->num_idxs > kMaxIndexes || definition_->num_real_idxs > kMaxIndexes ||
      mdb_read_columns(definition_.get()) == nullptr) {
    return Damaged("its definition is damaged");
  }
  // The library reads the first byte of the map of the table's pages unchecked.
  if (definition_->usage_map == nullptr || definition_->map_sz == 0) {
    return Damaged("the map of its pages is damaged");
  }
  for (unsigned i = 0; i < definition_->num_cols; ++i) {
    const auto* column = static_cast<const MdbColumn*>(g_ptr_array_index(definition_->columns, i));
    const std::optional<AccessType> type = AccessTypeFromCode(column->col_type);
    if (!type) {
      return Damaged(StringPrintf("column \"%s\" has a type this import does not read (0x%02X)",
                                  column->name, static_cast<unsigned>(column->col_type)));
    }
    columns_.push_back({column->name, *type, column->col_scale});
  }
  return Status::Ok();
}

Status AccessTable::ReadIndexes() {
  mdb_read_indices(definition_.get());
  if (definition_->indices == nullptr) return Damaged("its indexes are damaged");
  for (unsigned i = 0; i < definition_->indices->len; ++i) {
    const auto* index = static_cast<const MdbIndex*>(g_ptr_array_index(definition_->indices, i));
    if (index->index_type == kRelationshipIndex || index->num_keys == 0) continue;
    AccessIndex& out = indexes_.emplace_back();
    out.name = index->name;
    out.primary_key = index->index_type == kPrimaryKeyIndex;
    out.unique = out.primary_key || (index->flags & kUniqueIndexFlag) != 0;
    for (unsigned k = 0; k < index->num_keys && k < MDB_MAX_IDX_COLS; ++k) {
      const int position = index->key_col_num[k] - 1;  // the library counts from 1
      if (position < 0 || static_cast<std::size_t>(position) >= columns_.size()) {
        return Damaged("index \"" + out.name + "\" is damaged");
      }
      out.keys.push_back({static_cast<std::size_t>(position), index->key_col_order[k] == MDB_DESC});
    }
  }
  return Status::Ok();
}

std::optional<std::size_t> AccessTable::FindColumn(std::string_view column_name) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (EqualsIgnoreCase(columns_[i].name, column_name)) return i;
  }
  return std::nullopt;
}

Status AccessTable::ForEachLiveRow(const std::function<Status(int, std::size_t)>& visit) {
  MdbHandle* mdb = file_.library();
  MdbTableDef* table = definition_.get();
  std::uint64_t live_rows = 0;
  mdb_rewind_table(table);
  // The library ends a table at a page it cannot read as at its last page.
  while (mdb_read_next_dpg(table) != 0) {
    const int rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
    for (int row = 0; row < rows; ++row) {
      int start = 0;
      std::size_t size = 0;
      // An empty slot holds no row, as the library's own reader has it.
      if (mdb_find_row(mdb, row, &start, &size) != 0 || size == 0) continue;
      if ((start & kRowDeletedFlag) != 0) continue;
      ++live_rows;
      if (Status status = visit(start & kRowOffsetMask, size); !status.ok()) return status;
    }
  }
  // The definition counts the table's rows: fewer found means pages are missing, where a
  // file was cut short at a page boundary. (More is what a file not closed properly has.)
  if (live_rows < table->num_rows) {
    return Damaged(StringPrintf("only %llu of its %u rows can be read",
                                static_cast<unsigned long long>(live_rows), table->num_rows));
  }
  return Status::Ok();
}

Status AccessTable::ForEachRow(const RowVisitor& visit, std::span<const std::size_t> wanted) {
  MdbTableDef* table = definition_.get();
  std::vector<std::size_t> decoded(wanted.begin(), wanted.end());
  for (std::size_t i = 0; wanted.empty() && i < columns_.size(); ++i) decoded.push_back(i);
  std::vector<MdbField> fields(columns_.size());
  std::vector<FieldValue> values(columns_.size());
  return ForEachLiveRow([&](int start, std::size_t size) {
    if (mdb_crack_row(table, start, size, fields.data()) < 0) return Damaged("a row is damaged");
    for (const std::size_t i : decoded) {
      Result<FieldValue> value = DecodeField(fields[i], columns_[i]);
      if (!value.ok()) return value.status();
      values[i] = std::move(*value);
    }
    return visit(values);
  });
}

Result<std::uint64_t> AccessTable::CountRows() {
  std::uint64_t count = 0;
  const Status status = ForEachLiveRow([&count](int, std::size_t) {
    ++count;
    return Status::Ok();
  });
  if (!status.ok()) return status;
  return count;
}

Result<FieldValue> AccessTable::DecodeField(const MdbField& field,
                                            const AccessColumn& column) const {
  // A Yes/No value is the row's null bit itself.
  if (column.type == AccessType::kBoolean) return FieldValue(std::int64_t{field.is_null ? 0 : 1});
  if (field.is_null || column.type == AccessType::kComplex) return FieldValue();
  MdbHandle* mdb = file_.library();
  if (field.start < 0 || field.siz < 0 ||
      static_cast<std::size_t>(field.start) + static_cast<std::size_t>(field.siz) >
          static_cast<std::size_t>(mdb->fmt->pg_size)) {
    return Damaged("column \"" + column.name + "\": a value lies outside its page");
  }
  const std::span<const std::uint8_t> bytes(mdb->pg_buf + field.start,
                                            static_cast<std::size_t>(field.siz));
  Result<FieldValue> value = FieldValue();
  switch (column.type) {
    case AccessType::kText:
      return FieldValue(file_.text().Decode(bytes));
    case AccessType::kBinary:
      return FieldValue(Blob{{bytes.begin(), bytes.end()}});
    case AccessType::kMemo:
    case AccessType::kOle: {
      Result<std::vector<std::uint8_t>> data = ReadLongValue(mdb, bytes);
      if (!data.ok())
        value = data.status();
      else if (column.type == AccessType::kMemo)
        value = FieldValue(file_.text().Decode(*data));
      else
        value = FieldValue(Blob{std::move(*data)});
      break;
    }
    default:
      value = DecodeFixedValue(column.type, bytes, column.scale);
      break;
  }
  if (!value.ok()) return Damaged("column \"" + column.name + "\": " + value.status().message());
  return value;
}

Status AccessTable::Damaged(const std::string& reason) const {
  return file_.Damaged("table \"" + name_ + "\": " + reason);
}

}  // namespace quellor::tagdll::access
