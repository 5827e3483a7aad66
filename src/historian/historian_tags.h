// HistorianTags: the logged trend rows of every historian node of a build, read by one query
// and shared by the nodes' import files. The query joins each row to the computer serving its
// tag; a node's tags are the rows of its computer, in the query's order (by rendered type, rows
// of one type in the order the join gives them, as a query of that node alone gives them).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "historian/import_tags.h"

namespace quellor {

class HistorianTags final {
 public:
  HistorianTags() = default;
  HistorianTags(const HistorianTags&) = delete;
  HistorianTags& operator=(const HistorianTags&) = delete;

  // The usable rows served from the computer `node_name` (compared without regard to ASCII
  // case, as the project's names are), read from the project at the first call; none when the
  // query cannot be prepared.
  std::optional<std::span<const ImportTag>> TagsOf(std::string_view node_name);

 private:
  bool Read();

  bool read_ = false;
  bool prepared_ = false;
  // Keyed by the computer's name in upper case.
  std::unordered_map<std::string, std::vector<ImportTag>> by_computer_;
};

}  // namespace quellor
