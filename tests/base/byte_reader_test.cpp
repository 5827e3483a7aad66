#include "base/byte_reader.h"

#include <vector>

#include <gtest/gtest.h>

namespace quellor {
namespace {

TEST(ByteReader, ReadsFieldsInOrder) {
  const std::vector<std::uint8_t> bytes = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xAA, 0xBB};
  ByteReader reader(bytes);
  EXPECT_EQ(reader.ReadU8(), 0x01);
  EXPECT_EQ(reader.ReadLe16(), 0x1234);
  EXPECT_EQ(reader.ReadLe32(), 0x12345678u);
  auto tail = reader.ReadBytes(2);
  ASSERT_TRUE(tail.has_value());
  EXPECT_EQ((*tail)[1], 0xBB);
  EXPECT_EQ(reader.remaining(), 0u);
}

TEST(ByteReader, RefusesToReadPastTheEndAndConsumesNothing) {
  const std::vector<std::uint8_t> bytes = {1, 2, 3};
  ByteReader reader(bytes);
  EXPECT_FALSE(reader.ReadLe32().has_value());
  EXPECT_FALSE(reader.ReadLeF32().has_value());
  EXPECT_FALSE(reader.ReadLe64().has_value());
  EXPECT_FALSE(reader.ReadBytes(4).has_value());
  EXPECT_FALSE(reader.ReadBytes(SIZE_MAX).has_value());
  EXPECT_FALSE(reader.Skip(4));
  EXPECT_EQ(reader.position(), 0u);
  EXPECT_EQ(reader.ReadLe16(), 0x0201);
  EXPECT_FALSE(reader.ReadLe16().has_value());
  EXPECT_EQ(reader.ReadU8(), 3);
  EXPECT_FALSE(reader.ReadU8().has_value());
  EXPECT_TRUE(reader.Skip(0));
}

TEST(ByteReader, EmptyInputHasNothing) {
  ByteReader reader({});
  EXPECT_FALSE(reader.ReadU8().has_value());
  EXPECT_TRUE(reader.ReadBytes(0).has_value());
}

}  // namespace
}  // namespace quellor
