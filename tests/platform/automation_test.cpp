#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/automation/conversions.h"
#include "platform/automation/variant.h"

namespace quellor {
namespace {

TEST(Bstr, KeepsLengthAndBytesIncludingNul) {
  const std::string bytes("a\0b\xFF", 4);
  BSTR text = SysAllocStringByteLen(bytes);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringByteLen(text), 4u);
  EXPECT_EQ(std::string(text, 4), bytes);
  EXPECT_EQ(text[4], '\0');
  SysFreeString(text);
  SysFreeString(nullptr);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
}

TEST(VariantSetText, ReplacesAnyValueWithTheNewTextWhetherItsMemoryIsKeptOrNot) {
  // Each text follows the one before in the same variant: shorter, longer, empty, with NULs.
  const std::string texts[] = {"a first text of some length", "short", std::string(200, 'x'), "",
                               std::string("n\0ul", 4),       "after"};
  ScopedVariant value;
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.size());
    ASSERT_TRUE(VariantSetText(value.get(), text));
    ASSERT_EQ(value->vt, VT_BSTR);
    EXPECT_EQ(SysStringByteLen(value->bstrVal), text.size());
    EXPECT_EQ(std::string(value->bstrVal, text.size()), text);
    EXPECT_EQ(value->bstrVal[text.size()], '\0');
  }
  VariantSetI4(value.get(), 7);
  ASSERT_TRUE(VariantSetText(value.get(), "again"));
  EXPECT_EQ(VariantTextView(*value.get()), "again");
}

TEST(SafeArray, ReachesOnlyElementsInsideItsBounds) {
  SAFEARRAY* const array = SafeArrayCreateVector(VT_VARIANT, 1, 2);
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(SafeArrayElement(array, 0), nullptr);
  ASSERT_NE(SafeArrayElement(array, 1), nullptr);
  ASSERT_NE(SafeArrayElement(array, 2), nullptr);
  EXPECT_EQ(SafeArrayElement(array, 3), nullptr);
  EXPECT_EQ(SafeArrayElement(array, 1)->vt, VT_EMPTY);
  EXPECT_EQ(SafeArrayCreateVector(VT_I4, 0, 1), nullptr);

  // Clearing the holder frees the array and every text in it (the sanitizer build checks).
  ScopedVariant holder;
  holder->vt = VT_ARRAY | VT_VARIANT;
  holder->parray = array;
  ASSERT_TRUE(VariantSetText(SafeArrayElement(array, 1), "kept until cleared"));
  VariantSetBool(SafeArrayElement(array, 2), true);
  EXPECT_EQ(SafeArrayElement(array, 2)->boolVal, VARIANT_TRUE);
  VariantClear(holder.get());
  EXPECT_EQ(holder->vt, VT_EMPTY);
}

struct ConversionCase {
  const char* name;
  void (*make)(VARIANT*);
  const char* text;  // nullptr: the conversion to text fails
  int int16;         // INT32_MIN: the conversion to a 16-bit integer fails
  double number;     // NaN: the conversion to double fails
};

constexpr int kFails = std::numeric_limits<int>::min();
const double kNoDouble = std::numeric_limits<double>::quiet_NaN();

TEST(VariantConversions, FollowTheReadersRules) {
  const ConversionCase cases[] = {
      {"empty", [](VARIANT*) {}, "", 0, 0},
      {"null", [](VARIANT* v) { VariantSetNull(v); }, nullptr, kFails, kNoDouble},
      {"i2", [](VARIANT* v) { VariantSetI2(v, -7); }, "-7", -7, -7},
      {"i4 in range", [](VARIANT* v) { VariantSetI4(v, 32767); }, "32767", 32767, 32767},
      {"i4 too big", [](VARIANT* v) { VariantSetI4(v, 32768); }, "32768", kFails, 32768},
      {"whole double", [](VARIANT* v) { VariantSetR8(v, 100.0); }, "100", 100, 100},
      {"half double", [](VARIANT* v) { VariantSetR8(v, 12.5); }, "12.5", 12, 12.5},
      {"half rounds to even", [](VARIANT* v) { VariantSetR8(v, 13.5); }, "13.5", 14, 13.5},
      {"negative half", [](VARIANT* v) { VariantSetR8(v, -2.5); }, "-2.5", -2, -2.5},
      {"long fraction", [](VARIANT* v) { VariantSetR8(v, 0.1 + 0.2); }, "0.3", 0, 0.1 + 0.2},
      {"double too small", [](VARIANT* v) { VariantSetR8(v, -32768.6); }, "-32768.6", kFails,
       -32768.6},
      {"true", [](VARIANT* v) { VariantSetBool(v, true); }, "-1", -1, -1},
      {"false", [](VARIANT* v) { VariantSetBool(v, false); }, "0", 0, 0},
      {"numeric text", [](VARIANT* v) { VariantSetText(v, " 2.5 "); }, " 2.5 ", 2, 2.5},
      {"text with comma", [](VARIANT* v) { VariantSetText(v, "2,5"); }, "2,5", kFails, kNoDouble},
      {"word", [](VARIANT* v) { VariantSetText(v, "abc"); }, "abc", kFails, kNoDouble},
      {"empty text", [](VARIANT* v) { VariantSetText(v, ""); }, "", kFails, kNoDouble},
      {"text with nul", [](VARIANT* v) { VariantSetText(v, std::string_view("12\0x", 4)); }, "12",
       12, 12},
  };
  for (const ConversionCase& c : cases) {
    ScopedVariant value;
    c.make(value.get());
    const Result<std::string> text = VariantToText(*value.get());
    if (c.text == nullptr) {
      EXPECT_FALSE(text.ok()) << c.name;
    } else {
      ASSERT_TRUE(text.ok()) << c.name;
      EXPECT_EQ(*text, c.text) << c.name;
    }
    const Result<std::int16_t> int16 = VariantToInt16(*value.get());
    if (c.int16 == kFails) {
      EXPECT_FALSE(int16.ok()) << c.name;
    } else {
      ASSERT_TRUE(int16.ok()) << c.name;
      EXPECT_EQ(*int16, c.int16) << c.name;
    }
    const Result<double> number = VariantToDouble(*value.get());
    if (std::isnan(c.number)) {
      EXPECT_FALSE(number.ok()) << c.name;
    } else {
      ASSERT_TRUE(number.ok()) << c.name;
      EXPECT_EQ(*number, c.number) << c.name;
    }
  }
}

}  // namespace
}  // namespace quellor
