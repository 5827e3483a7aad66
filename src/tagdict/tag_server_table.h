// TagServerTable: the server computer of every project tag, read in one join, for a project
// whose qFTTagServer is a stock definition. A build asks for the servers of every tree of the
// trend rows (some 19000 at 60000 tags), and one prepared, bound and stepped query per tree
// costs far more than the join costs per tag.
//
// The join reads the tables the stock query reads, under the same conditions, so a tag gets
// the rows the query would give it. A tag is left to the query where the two could differ:
// when it has several rows (a node on several ports), as the query answers with whichever
// comes first in SQLite's plan, and when its name holds a '?', which may stand for a character
// the program's code page lacks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/ascii.h"

namespace quellor {

class TagServerTable final {
 public:
  // The table; none when the project's qFTTagServer is not a stock definition, or when its
  // definition or the join cannot be read: then each tag asks the query. Call it only after
  // qFTTagServer was prepared, so that the tables of the join are there and its prepare
  // reports nothing.
  static std::optional<TagServerTable> Read();

  // What qFTTagServer would answer for `tag_name`: its server computer, or none; null when
  // the tag is left to the query.
  const std::optional<std::string>* Find(std::string_view tag_name) const;

 private:
  static constexpr std::int32_t kAskTheQuery = -1;

  void Add(std::string_view tag_name, std::optional<std::string> server);
  std::int32_t ComputerIndex(std::optional<std::string> server);

  // By tag name without regard to case, as the query's NOCASE comparison matches names: the
  // position of its server in computers_, or kAskTheQuery.
  std::unordered_map<std::string, std::int32_t, CaseInsensitiveHash, CaseInsensitiveEqual> tags_;
  std::vector<std::optional<std::string>> computers_{std::nullopt};  // 0: no server
  std::unordered_map<std::string, std::int32_t> computer_indexes_;   // positions in computers_
};

}  // namespace quellor
