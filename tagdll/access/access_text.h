// Text as an Access file stores it, made UTF-8. Jet 4 and ACE store UTF-16LE, where a value
// that starts with the bytes FF FE is "compressed": runs of characters below U+0100 take one
// byte each, and a 0 byte switches between one-byte and two-byte runs. Jet 3 stores narrow
// text in the file's code page.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "tagdll/access/access_header.h"
#include "tagdll/access/mdb_library.h"

namespace quellor::tagdll::access {

class TextDecoder final {
 public:
  // `library` converts Jet 3 text of code pages other than Windows-1252 (through the
  // converter mdbtools opened for the file); it may be null for other files.
  TextDecoder(AccessFormat format, std::uint16_t code_page, MdbHandle* library)
      : format_(format), code_page_(code_page), library_(library) {}

  std::string Decode(std::span<const std::uint8_t> bytes) const;

 private:
  std::string DecodeNarrow(std::span<const std::uint8_t> bytes) const;

  AccessFormat format_;
  std::uint16_t code_page_;
  MdbHandle* library_;
};

// UTF-16LE text, compressed or not, as UTF-8; a lone surrogate becomes U+FFFD and an odd last
// byte is dropped.
std::string DecodeWideText(std::span<const std::uint8_t> bytes);

}  // namespace quellor::tagdll::access
