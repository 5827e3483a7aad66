// Hand-built archive bytes for the tag-browser tests: each piece appended as the layout
// spells it, so a test reads like the bytes of the file it checks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quellor::testing {

class ArchiveBytes final {
 public:
  // Bytes given as hexadecimal pairs separated by blanks: "FF FE FF".
  ArchiveBytes& Hex(std::string_view pairs) {
    for (std::size_t i = 0; i < pairs.size();) {
      if (pairs[i] == ' ') {
        ++i;
        continue;
      }
      bytes_.push_back(
          static_cast<std::uint8_t>(std::stoul(std::string(pairs.substr(i, 2)), nullptr, 16)));
      i += 2;
    }
    return *this;
  }
  ArchiveBytes& Raw(std::string_view text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
  }
  ArchiveBytes& Fill(std::size_t n, std::uint8_t byte) {
    bytes_.insert(bytes_.end(), n, byte);
    return *this;
  }
  ArchiveBytes& Le16(std::uint16_t v) {
    bytes_.push_back(static_cast<std::uint8_t>(v));
    bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
  }
  ArchiveBytes& Le32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  // A short ANSI string: a one-byte length, then its bytes.
  ArchiveBytes& Str(std::string_view text) {
    bytes_.push_back(static_cast<std::uint8_t>(text.size()));
    return Raw(text);
  }
  // A short wide string: FF FE FF, a one-byte length, then UTF-16LE units.
  ArchiveBytes& Wide(std::u16string_view text) {
    Hex("FF FE FF");
    bytes_.push_back(static_cast<std::uint8_t>(text.size()));
    for (const char16_t unit : text) Le16(unit);
    return *this;
  }
  ArchiveBytes& Count(std::uint16_t n) { return Le16(n); }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace quellor::testing
