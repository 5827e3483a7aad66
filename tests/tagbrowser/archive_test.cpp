#include "tagbrowser/archive.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tagbrowser/archive_bytes.h"
#include "testing/status_matchers.h"

namespace quellor {
namespace {

using ::quellor::testing::ArchiveBytes;
using ::quellor::testing::StatusIs;

std::vector<std::uint8_t> Prefix(const std::vector<std::uint8_t>& bytes, std::size_t n) {
  return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n)};
}

TEST(ArchiveWriter, WritesStringLengthsInTheShortestFormAReaderCannotTakeForATag) {
  const struct {
    std::size_t length;
    std::string prefix;
  } cases[] = {
      {0, "00"},
      {254, "FE"},
      {255, "FF FF 00"},
      {0xFFFD, "FF FD FF"},
      {0xFFFE, "FF FF FF FE FF 00 00"},  // 0xFFFE as a word would read as the wide tag
      {0xFFFF, "FF FF FF FF FF 00 00"},
      {0x10000, "FF FF FF 00 00 01 00"},
  };
  for (const auto& c : cases) {
    const std::string text(c.length, 'x');
    ArchiveWriter writer;
    writer.WriteString(text);
    const auto expected = ArchiveBytes().Hex(c.prefix).Raw(text).bytes();
    EXPECT_EQ(writer.bytes(), expected) << c.length;

    ArchiveReader reader(writer.bytes());
    const Result<std::string> read = reader.ReadString();
    ASSERT_TRUE(read.ok()) << c.length;
    EXPECT_EQ(*read, text);
    EXPECT_EQ(reader.remaining(), 0u);
  }
}

TEST(ArchiveWriter, WritesCountsBelowTheEscapeAsOneWordAndOthersWithA32BitValue) {
  const struct {
    std::size_t count;
    std::string bytes;
  } cases[] = {
      {0, "00 00"},
      {3, "03 00"},
      {0xFFFE, "FE FF"},
      {0xFFFF, "FF FF FF FF 00 00"},
      {0x12345, "FF FF 45 23 01 00"},
  };
  for (const auto& c : cases) {
    ArchiveWriter writer;
    writer.WriteCount(c.count);
    EXPECT_EQ(writer.bytes(), ArchiveBytes().Hex(c.bytes).bytes()) << c.count;
    ArchiveReader reader(writer.bytes());
    const Result<std::uint32_t> read = reader.ReadCount();
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(*read, c.count);
  }
}

TEST(ArchiveReader, ReadsEveryLengthFormAndConvertsWideStringsToWindows1252) {
  const struct {
    std::vector<std::uint8_t> bytes;
    std::string text;
  } cases[] = {
      {ArchiveBytes().Str("2010").bytes(), "2010"},
      {ArchiveBytes().Hex("FF 04 00").Raw("2010").bytes(), "2010"},
      {ArchiveBytes().Hex("FF FF FF 04 00 00 00").Raw("2010").bytes(), "2010"},
      {ArchiveBytes().Wide(u"2010").bytes(), "2010"},
      {ArchiveBytes().Hex("FF FE FF FF 02 00").Le16(u'A').Le16(u'B').bytes(), "AB"},
      {ArchiveBytes().Hex("FF FE FF FF FF FF 01 00 00 00").Le16(u'A').bytes(), "A"},
      // The euro sign and a C1 control have Windows-1252 bytes; a CJK character has none.
      {ArchiveBytes().Wide(u"\u20AC\u0081\u4E2D").bytes(), "\x80\x81?"},
      {ArchiveBytes().Wide(u"").bytes(), ""},
  };
  for (const auto& c : cases) {
    ArchiveReader reader(c.bytes);
    const Result<std::string> read = reader.ReadString();
    ASSERT_TRUE(read.ok()) << c.text;
    EXPECT_EQ(*read, c.text);
    EXPECT_EQ(reader.remaining(), 0u) << c.text;
  }
}

TEST(ArchiveReader, RefusesStringsAndCountsThatDoNotFitTheBytesLeft) {
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
  } strings[] = {
      {"no length", {}},
      {"text cut short", ArchiveBytes().Hex("05").Raw("abc").bytes()},
      {"escape without word", ArchiveBytes().Hex("FF 10").bytes()},
      {"word escape without dword", ArchiveBytes().Hex("FF FF FF 01 00").bytes()},
      {"2 GiB length", ArchiveBytes().Hex("FF FF FF FF FF FF 7F").Raw("abc").bytes()},
      {"largest 32-bit length", ArchiveBytes().Hex("FF FF FF FF FF FF FF").Raw("a").bytes()},
      {"wide tag alone", ArchiveBytes().Hex("FF FE FF").bytes()},
      {"wide length counts units", ArchiveBytes().Hex("FF FE FF 02 41 00").bytes()},
      {"wide length beyond 32 bits as bytes",
       ArchiveBytes().Hex("FF FE FF FF FF FF FF FF FF FF").Fill(64, 0x41).bytes()},
  };
  for (const auto& c : strings) {
    ArchiveReader reader(c.bytes);
    EXPECT_THAT(reader.ReadString(), StatusIs(StatusCode::kCorruption)) << c.what;
  }
  const std::vector<std::uint8_t> counts[] = {
      {}, {0x01}, ArchiveBytes().Hex("FF FF 01 00 00").bytes()};
  for (const auto& bytes : counts) {
    ArchiveReader reader(bytes);
    EXPECT_THAT(reader.ReadCount(), StatusIs(StatusCode::kCorruption)) << bytes.size();
  }
  const auto four = ArchiveBytes().Hex("01 02 03 04").bytes();
  for (std::size_t n = 0; n < four.size(); ++n) {
    ArchiveReader reader(Prefix(four, n));
    EXPECT_THAT(reader.ReadUint32(), StatusIs(StatusCode::kCorruption)) << n;
  }
}

}  // namespace
}  // namespace quellor
