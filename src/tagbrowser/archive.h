// The archive of TagBrw.DAT: the few primitives its layout is made of (raw blocks, 32-bit
// values, counts and length-prefixed strings), read from the file's bytes held in memory and
// written into a byte buffer. The encodings are described in docs/formats/TagBrw.DAT.md.
//
// Every length and count taken from the bytes is checked against what is left before it is
// trusted: a string that cannot fit is a load failure, never a huge allocation. Nothing is
// reserved from a count either; a count larger than the bytes can hold fails when the bytes
// run out, element by element.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_reader.h"
#include "base/status.h"

namespace quellor {

// The escapes of the count and string-length encodings.
inline constexpr std::uint8_t kArchiveByteEscape = 0xFF;     // a longer length follows
inline constexpr std::uint16_t kArchiveWordEscape = 0xFFFF;  // a 32-bit value follows
inline constexpr std::uint16_t kArchiveWideTag = 0xFFFE;     // a UTF-16 string follows

// Reads the primitives in order from the bytes of a whole file. A failed read consumes
// nothing further that a caller could rely on; the load it belongs to is over.
class ArchiveReader final {
 public:
  // The bytes must outlive the reader.
  explicit ArchiveReader(std::span<const std::uint8_t> bytes) : reader_(bytes) {}

  std::size_t remaining() const { return reader_.remaining(); }

  // Copies up to out.size() bytes into the front of out and returns how many were copied; the
  // rest of out keeps its bytes. A short read is not a failure in itself.
  std::size_t ReadRawUpTo(std::span<std::uint8_t> out);
  // Exactly out.size() bytes, or an end-of-file failure with out unchanged.
  Status ReadRaw(std::span<std::uint8_t> out);
  Result<std::uint32_t> ReadUint32();
  Result<std::uint32_t> ReadCount();
  // An ANSI string as its bytes, or a wide string converted to Windows-1252.
  Result<std::string> ReadString();
  // A string into each of `texts` in turn; on a failure the texts read so far are kept and the
  // rest are unchanged.
  Status ReadStrings(std::span<std::string* const> texts);

 private:
  Result<std::uint32_t> ReadLength(bool* wide);
  Result<std::string> ReadChars(std::uint64_t length, bool wide);

  ByteReader reader_;
};

// Appends the primitives to a growing buffer. Writing into memory cannot fail; the file is
// written whole afterwards.
class ArchiveWriter final {
 public:
  ArchiveWriter() = default;

  void WriteRaw(std::span<const std::uint8_t> bytes);
  void WriteUint32(std::uint32_t value);
  // Requires: count fits in 32 bits (a list or map held in memory always does here).
  void WriteCount(std::size_t count);
  // Always the ANSI form: the length, then the bytes with no terminator.
  void WriteString(std::string_view text);
  void WriteStrings(std::span<const std::string* const> texts);

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::vector<std::uint8_t> TakeBytes() { return std::move(bytes_); }

 private:
  void WriteUint8(std::uint8_t value) { bytes_.push_back(value); }
  void WriteUint16(std::uint16_t value);

  std::vector<std::uint8_t> bytes_;
};

}  // namespace quellor
