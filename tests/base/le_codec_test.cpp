#include "base/le_codec.h"

#include <array>
#include <cmath>

#include <gtest/gtest.h>

namespace quellor {
namespace {

TEST(LeCodec, StoresGoldenBytesAndLoadsThemBack) {
  std::array<std::uint8_t, 8> bytes{};
  StoreLe16(bytes.data(), 0xBEEF);
  EXPECT_EQ(bytes[0], 0xEF);
  EXPECT_EQ(bytes[1], 0xBE);
  EXPECT_EQ(LoadLe16(bytes.data()), 0xBEEF);

  StoreLe32(bytes.data(), 0x12345678);
  EXPECT_EQ((std::array<std::uint8_t, 4>{bytes[0], bytes[1], bytes[2], bytes[3]}),
            (std::array<std::uint8_t, 4>{0x78, 0x56, 0x34, 0x12}));
  EXPECT_EQ(LoadLe32(bytes.data()), 0x12345678u);

  StoreLeI32(bytes.data(), -2);
  EXPECT_EQ(bytes[0], 0xFE);
  EXPECT_EQ(bytes[3], 0xFF);
  EXPECT_EQ(LoadLeI32(bytes.data()), -2);
  StoreLeI16(bytes.data(), -32768);
  EXPECT_EQ(LoadLeI16(bytes.data()), -32768);

  StoreLe64(bytes.data(), 0x0102030405060708ull);
  EXPECT_EQ(bytes[0], 0x08);
  EXPECT_EQ(bytes[7], 0x01);
  EXPECT_EQ(LoadLe64(bytes.data()), 0x0102030405060708ull);
}

TEST(LeCodec, FloatsTravelAsTheirIeeeBits) {
  std::array<std::uint8_t, 8> bytes{};
  StoreLeF32(bytes.data(), 1.0f);  // 0x3F800000
  EXPECT_EQ((std::array<std::uint8_t, 4>{bytes[0], bytes[1], bytes[2], bytes[3]}),
            (std::array<std::uint8_t, 4>{0x00, 0x00, 0x80, 0x3F}));
  EXPECT_EQ(LoadLeF32(bytes.data()), 1.0f);
  StoreLeF32(bytes.data(), -0.005f);
  EXPECT_EQ(LoadLeF32(bytes.data()), -0.005f);
  StoreLeF64(bytes.data(), 2.5);  // 0x4004000000000000
  EXPECT_EQ(bytes[7], 0x40);
  EXPECT_EQ(bytes[6], 0x04);
  EXPECT_EQ(LoadLeF64(bytes.data()), 2.5);
  StoreLeF32(bytes.data(), std::nanf(""));
  EXPECT_TRUE(std::isnan(LoadLeF32(bytes.data())));
}

}  // namespace
}  // namespace quellor
