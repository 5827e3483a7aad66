#include "tagbrowser/archive.h"

#include <algorithm>
#include <cassert>
#include <limits>

#include "base/cp1252.h"
#include "base/format.h"
#include "base/le_codec.h"

namespace quellor {
namespace {

Status EndOfFile(std::string_view item) {
  return Status::Corruption("the archive ends inside " + std::string(item));
}

}  // namespace

std::size_t ArchiveReader::ReadRawUpTo(std::span<std::uint8_t> out) {
  const std::size_t n = std::min(out.size(), reader_.remaining());
  const auto bytes = reader_.ReadBytes(n);
  std::copy(bytes->begin(), bytes->end(), out.begin());
  return n;
}

Status ArchiveReader::ReadRaw(std::span<std::uint8_t> out) {
  const auto bytes = reader_.ReadBytes(out.size());
  if (!bytes) return EndOfFile(StringPrintf("a block of %zu bytes", out.size()));
  std::copy(bytes->begin(), bytes->end(), out.begin());
  return Status::Ok();
}

Result<std::uint32_t> ArchiveReader::ReadUint32() {
  const auto value = reader_.ReadLe32();
  if (!value) return EndOfFile("a 32-bit value");
  return *value;
}

Result<std::uint32_t> ArchiveReader::ReadCount() {
  const auto word = reader_.ReadLe16();
  if (!word) return EndOfFile("a count");
  if (*word != kArchiveWordEscape) return std::uint32_t{*word};
  const auto dword = reader_.ReadLe32();
  if (!dword) return EndOfFile("a count");
  return *dword;
}

// A byte below the escape is the length; else a 16-bit number follows, which may tag a wide
// string (the length then starts over once), be the length, or announce a 32-bit length.
Result<std::uint32_t> ArchiveReader::ReadLength(bool* wide) {
  *wide = false;
  auto byte = reader_.ReadU8();
  if (!byte) return EndOfFile("a string length");
  if (*byte != kArchiveByteEscape) return std::uint32_t{*byte};
  auto word = reader_.ReadLe16();
  if (!word) return EndOfFile("a string length");
  if (*word == kArchiveWideTag) {
    *wide = true;
    byte = reader_.ReadU8();
    if (!byte) return EndOfFile("a string length");
    if (*byte != kArchiveByteEscape) return std::uint32_t{*byte};
    word = reader_.ReadLe16();
    if (!word) return EndOfFile("a string length");
  }
  if (*word != kArchiveWordEscape) return std::uint32_t{*word};
  const auto dword = reader_.ReadLe32();
  if (!dword) return EndOfFile("a string length");
  return *dword;
}

Result<std::string> ArchiveReader::ReadChars(std::uint64_t length, bool wide) {
  const std::uint64_t size = wide ? 2 * length : length;
  if (size > reader_.remaining()) {
    return EndOfFile(StringPrintf("a string of %llu bytes", static_cast<unsigned long long>(size)));
  }
  const auto bytes = *reader_.ReadBytes(static_cast<std::size_t>(size));
  if (!wide) return std::string(bytes.begin(), bytes.end());
  std::u16string units(static_cast<std::size_t>(length), u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(LoadLe16(bytes.data() + 2 * i));
  }
  return Utf16ToCp1252(units);
}

Result<std::string> ArchiveReader::ReadString() {
  bool wide = false;
  const Result<std::uint32_t> length = ReadLength(&wide);
  if (!length.ok()) return length.status();
  return ReadChars(*length, wide);
}

Status ArchiveReader::ReadStrings(std::span<std::string* const> texts) {
  for (std::string* text : texts) {
    Result<std::string> read = ReadString();
    if (!read.ok()) return read.status();
    *text = std::move(read).value();
  }
  return Status::Ok();
}

void ArchiveWriter::WriteRaw(std::span<const std::uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ArchiveWriter::WriteUint16(std::uint16_t value) {
  std::uint8_t le[2];
  StoreLe16(le, value);
  WriteRaw(le);
}

void ArchiveWriter::WriteUint32(std::uint32_t value) {
  std::uint8_t le[4];
  StoreLe32(le, value);
  WriteRaw(le);
}

void ArchiveWriter::WriteCount(std::size_t count) {
  assert(count <= std::numeric_limits<std::uint32_t>::max());
  if (count < kArchiveWordEscape) {
    WriteUint16(static_cast<std::uint16_t>(count));
    return;
  }
  WriteUint16(kArchiveWordEscape);
  WriteUint32(static_cast<std::uint32_t>(count));
}

// The shortest form that no reader can take for an escape: lengths 0xFFFE and 0xFFFF would
// read as the wide tag and the escape, so they take the 32-bit form.
void ArchiveWriter::WriteString(std::string_view text) {
  const std::size_t length = text.size();
  assert(length < std::numeric_limits<std::uint32_t>::max());
  if (length < kArchiveByteEscape) {
    WriteUint8(static_cast<std::uint8_t>(length));
  } else if (length < kArchiveWideTag) {
    WriteUint8(kArchiveByteEscape);
    WriteUint16(static_cast<std::uint16_t>(length));
  } else {
    WriteUint8(kArchiveByteEscape);
    WriteUint16(kArchiveWordEscape);
    WriteUint32(static_cast<std::uint32_t>(length));
  }
  const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
  WriteRaw(std::span<const std::uint8_t>(data, length));
}

void ArchiveWriter::WriteStrings(std::span<const std::string* const> texts) {
  for (const std::string* text : texts) WriteString(*text);
}

}  // namespace quellor
