#include "tagdll/access/access_text.h"

#include <string_view>
#include <vector>

#include "base/cp1252.h"
#include "tagdll/access/mdb_library.h"

namespace quellor::tagdll::access {
namespace {

constexpr std::uint16_t kWindows1252 = 1252;

bool IsCompressed(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
}

std::u16string Decompress(std::span<const std::uint8_t> bytes) {
  std::u16string units;
  bool one_byte = true;
  for (std::size_t at = 2; at < bytes.size();) {
    if (bytes[at] == 0) {
      one_byte = !one_byte;
      ++at;
    } else if (one_byte) {
      units += static_cast<char16_t>(bytes[at++]);
    } else if (at + 1 < bytes.size()) {
      units += static_cast<char16_t>(bytes[at] | (bytes[at + 1] << 8));
      at += 2;
    } else {
      break;
    }
  }
  return units;
}

}  // namespace

std::string DecodeWideText(std::span<const std::uint8_t> bytes) {
  if (IsCompressed(bytes)) return Utf16ToUtf8(Decompress(bytes));
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    units += static_cast<char16_t>(bytes[at] | (bytes[at + 1] << 8));
  }
  return Utf16ToUtf8(units);
}

std::string TextDecoder::Decode(std::span<const std::uint8_t> bytes) const {
  return format_ == AccessFormat::kJet3 ? DecodeNarrow(bytes) : DecodeWideText(bytes);
}

std::string TextDecoder::DecodeNarrow(std::span<const std::uint8_t> bytes) const {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  // A code page of 0 is what the library reads as Windows-1252 too.
  if (code_page_ == kWindows1252 || code_page_ == 0 || library_ == nullptr) {
    return Cp1252ToUtf8(text);
  }
  // No character of a code page takes more than 4 bytes of UTF-8.
  std::vector<char> out(4 * bytes.size() + 1);
  const int length = mdb_unicode2ascii(library_, text.data(), text.size(), out.data(), out.size());
  return std::string(out.data(), static_cast<std::size_t>(length));
}

}  // namespace quellor::tagdll::access
