// The first page of an Access file (Jet 3, Jet 4, ACE), checked before mdbtools' library sees
// the file, so that a file the library would misread is refused with a reason of its own.
//
//   offset  size  field
//   0x00    1     page type, 0 for this page
//   0x04    16    "Standard Jet DB\0" (Jet 3, Jet 4) or "Standard ACE DB\0"
//   0x14    1     format: 0 Jet 3 (pages of 2048 bytes), 1 Jet 4, 2 to 6 ACE (4096 bytes)
//   0x18    126   Jet 3, 128 otherwise: masked with a fixed RC4 key stream; within it:
//   0x3C    2       the code page of the file's narrow (Jet 3) text
//   0x3E    4       the encryption key: non-zero when the pages are encrypted
//   0x42    20      the database password (Jet 3), 40 bytes otherwise, where it is further
//                   masked with the 4 little-endian bytes of (int32) the creation date
//   0x72    8       the creation date, a double (Jet 4 and ACE)
// No password is all zero bytes once unmasked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/status.h"

namespace quellor::tagdll::access {

enum class AccessFormat { kJet3, kJet4, kAce };

struct AccessHeader {
  AccessFormat format = AccessFormat::kJet3;
  std::size_t page_size = 0;
  std::uint16_t code_page = 0;
};

// The header of a file of `file_size` bytes from its first bytes (a page is enough). On
// failure the message is the reason alone, such as "it is encrypted".
Result<AccessHeader> ParseAccessHeader(std::span<const std::uint8_t> first_bytes,
                                       std::uint64_t file_size);

// Reads the start of the host file and parses it. Failure messages are whole lines, as
// AccessFileError makes them.
Result<AccessHeader> ReadAccessHeader(const std::string& host_path);

// "the Access file PATH cannot be read: REASON", with `code`.
Status AccessFileError(StatusCode code, const std::string& path, const std::string& reason);

}  // namespace quellor::tagdll::access
