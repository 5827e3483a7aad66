#include "tagdll/access/access_header.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "base/format.h"
#include "base/le_codec.h"
#include "platform/env.h"

namespace quellor::tagdll::access {
namespace {

constexpr std::size_t kSignatureOffset = 0x04;
constexpr std::string_view kJetSignature{"Standard Jet DB\0", 16};
constexpr std::string_view kAceSignature{"Standard ACE DB\0", 16};
constexpr std::size_t kFormatOffset = 0x14;
constexpr std::size_t kMaskedOffset = 0x18;
constexpr std::size_t kCodePageOffset = 0x3C;
constexpr std::size_t kEncryptionKeyOffset = 0x3E;
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kCreationDateOffset = 0x72;
// The last byte of the masked region ends the fields read here.
constexpr std::size_t kHeaderSize = kMaskedOffset + 128;
// The catalog's definition is on page 2: a file needs at least three pages.
constexpr std::uint64_t kMinPages = 3;

// RC4's key stream for a 4-byte key, XORed over `bytes`.
void Rc4Unmask(std::span<std::uint8_t> bytes) {
  constexpr std::array<std::uint8_t, 4> kKey = {0xC7, 0xDA, 0x39, 0x6B};
  std::array<std::uint8_t, 256> state;
  for (int i = 0; i < 256; ++i) state[i] = static_cast<std::uint8_t>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + state[i] + kKey[i % kKey.size()]) & 0xFF;
    std::swap(state[i], state[j]);
  }
  int i = 0;
  int j = 0;
  for (std::uint8_t& byte : bytes) {
    i = (i + 1) & 0xFF;
    j = (j + state[i]) & 0xFF;
    std::swap(state[i], state[j]);
    byte ^= state[(state[i] + state[j]) & 0xFF];
  }
}

// Whether the bytes there are (the start of) `signature`.
bool HasSignature(std::span<const std::uint8_t> bytes, std::string_view signature) {
  if (bytes.size() <= kSignatureOffset) return true;
  const std::size_t available = std::min(signature.size(), bytes.size() - kSignatureOffset);
  const std::string_view present(reinterpret_cast<const char*>(bytes.data()) + kSignatureOffset,
                                 available);
  return present == signature.substr(0, available);
}

// The password mask of Jet 4 and ACE: the creation date's whole days as 4 little-endian bytes.
std::array<std::uint8_t, 4> PasswordMask(const std::uint8_t* header) {
  const double date = LoadLeF64(header + kCreationDateOffset);
  const bool fits = std::isfinite(date) && date > std::numeric_limits<std::int32_t>::min() &&
                    date < std::numeric_limits<std::int32_t>::max();
  std::array<std::uint8_t, 4> mask{};
  StoreLeI32(mask.data(), fits ? static_cast<std::int32_t>(date) : 0);
  return mask;
}

bool HasPassword(const std::uint8_t* header, AccessFormat format) {
  const std::size_t size = format == AccessFormat::kJet3 ? 20 : 40;
  const std::array<std::uint8_t, 4> mask =
      format == AccessFormat::kJet3 ? std::array<std::uint8_t, 4>{} : PasswordMask(header);
  for (std::size_t i = 0; i < size; ++i) {
    if ((header[kPasswordOffset + i] ^ mask[i % mask.size()]) != 0) return true;
  }
  return false;
}

}  // namespace

Result<AccessHeader> ParseAccessHeader(std::span<const std::uint8_t> first_bytes,
                                       std::uint64_t file_size) {
  if (file_size == 0) return Status::Corruption("it is empty");
  if (first_bytes.empty() || first_bytes[0] != 0 ||
      !(HasSignature(first_bytes, kJetSignature) || HasSignature(first_bytes, kAceSignature))) {
    return Status::InvalidArgument("it is not an Access database");
  }
  if (first_bytes.size() < kHeaderSize) return Status::Corruption("it is truncated");
  AccessHeader header;
  const std::uint8_t format = first_bytes[kFormatOffset];
  if (format == 0) {
    header.format = AccessFormat::kJet3;
  } else if (format == 1) {
    header.format = AccessFormat::kJet4;
  } else if (format <= 6) {
    header.format = AccessFormat::kAce;
  } else {
    return Status::Unsupported(StringPrintf("its format (0x%02X) is not one this program reads",
                                            static_cast<unsigned>(format)));
  }
  header.page_size = header.format == AccessFormat::kJet3 ? 2048 : 4096;
  if (file_size % header.page_size != 0 || file_size < kMinPages * header.page_size) {
    return Status::Corruption(
        StringPrintf("it is truncated (%llu bytes, not a whole number of its %zu-byte pages)",
                     static_cast<unsigned long long>(file_size), header.page_size));
  }
  std::vector<std::uint8_t> plain(first_bytes.begin(), first_bytes.begin() + kHeaderSize);
  Rc4Unmask(
      std::span(plain).subspan(kMaskedOffset, header.format == AccessFormat::kJet3 ? 126 : 128));
  if (HasPassword(plain.data(), header.format)) {
    return Status::Unsupported("it is protected by a password");
  }
  if (LoadLe32(plain.data() + kEncryptionKeyOffset) != 0) {
    return Status::Unsupported("it is encrypted");
  }
  header.code_page = LoadLe16(plain.data() + kCodePageOffset);
  return header;
}

Result<AccessHeader> ReadAccessHeader(const std::string& host_path) {
  // The system's reason, without the path it starts with.
  const auto fail = [&host_path](const Status& status) {
    std::string reason = status.message();
    if (reason.starts_with(host_path + ": ")) reason.erase(0, host_path.size() + 2);
    return AccessFileError(status.code(), host_path, reason);
  };
  Result<std::unique_ptr<File>> file = Env::Default().file_system().Open(host_path, OpenOptions{});
  if (!file.ok()) return fail(file.status());
  Result<std::uint64_t> size = (*file)->Size();
  if (!size.ok()) return fail(size.status());
  std::vector<std::uint8_t> bytes(kHeaderSize);
  Result<std::size_t> read = (*file)->ReadAt(0, bytes);
  if (!read.ok()) return fail(read.status());
  bytes.resize(*read);
  Result<AccessHeader> header = ParseAccessHeader(bytes, *size);
  if (!header.ok()) return fail(header.status());
  return header;
}

Status AccessFileError(StatusCode code, const std::string& path, const std::string& reason) {
  return Status(code, "the Access file " + path + " cannot be read: " + reason);
}

}  // namespace quellor::tagdll::access
