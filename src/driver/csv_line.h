// CSVLine: the command line split into its fields.
//
// The separator is the user's list separator (one character, or none at all, in which case
// the whole line is one field). Double quotes group, and may open and close anywhere inside a
// field; a doubled quote inside quotes stands for one; line feeds are dropped. Fields are not
// trimmed; two separators in a row give an empty field; a separator at the very end gives no
// empty last field; an unclosed quote keeps what it collected.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quellor {

class CSVLine final {
 public:
  CSVLine(std::string_view line, std::optional<char> separator);

  std::size_t size() const { return fields_.size(); }
  const std::string& operator[](std::size_t index) const { return fields_.at(index); }
  const std::vector<std::string>& fields() const { return fields_; }

 private:
  std::vector<std::string> fields_;
};

}  // namespace quellor
