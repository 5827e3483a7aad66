#include "tagdll/access/field_value.h"

#include <charconv>
#include <optional>

#include "base/format.h"
#include "base/le_codec.h"
#include "tagdll/sql/access_date.h"

namespace quellor::tagdll::access {
namespace {

constexpr int kCurrencyScale = 4;
constexpr std::uint8_t kDecimalNegative = 0x80;

std::optional<std::size_t> FixedSize(AccessType type) {
  switch (type) {
    case AccessType::kByte:
      return 1;
    case AccessType::kInteger:
      return 2;
    case AccessType::kLong:
    case AccessType::kSingle:
      return 4;
    case AccessType::kCurrency:
    case AccessType::kDouble:
    case AccessType::kDateTime:
      return 8;
    case AccessType::kGuid:
      return 16;
    case AccessType::kDecimal:
      return 17;
    default:
      return std::nullopt;
  }
}

// Decimal's magnitude: four little-endian 32-bit words, the most significant first.
std::string DecimalDigits(const std::uint8_t* magnitude) {
  unsigned __int128 value = 0;
  for (int word = 0; word < 4; ++word) value = (value << 32) | LoadLe32(magnitude + 4 * word);
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
    value /= 10;
  } while (value != 0);
  return digits;
}

std::string GuidText(const std::uint8_t* p) {
  return StringPrintf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", LoadLe32(p),
                      LoadLe16(p + 4), LoadLe16(p + 6), p[8], p[9], p[10], p[11], p[12], p[13],
                      p[14], p[15]);
}

}  // namespace

double ScaledDecimal(const std::string& digits, int scale) {
  const std::string text = digits + "e-" + std::to_string(scale);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

Result<FieldValue> DecodeFixedValue(AccessType type, std::span<const std::uint8_t> bytes,
                                    int scale) {
  const std::optional<std::size_t> size = FixedSize(type);
  if (!size || bytes.size() != *size) {
    return Status::Corruption(StringPrintf(
        "a %s value of %zu bytes", std::string(AccessTypeName(type)).c_str(), bytes.size()));
  }
  const std::uint8_t* p = bytes.data();
  FieldValue value;
  switch (type) {
    case AccessType::kByte:
      value = std::int64_t{p[0]};
      break;
    case AccessType::kInteger:
      value = std::int64_t{LoadLeI16(p)};
      break;
    case AccessType::kLong:
      value = std::int64_t{LoadLeI32(p)};
      break;
    case AccessType::kCurrency:
      value = ScaledDecimal(std::to_string(static_cast<std::int64_t>(LoadLe64(p))), kCurrencyScale);
      break;
    case AccessType::kSingle:
      value = static_cast<double>(LoadLeF32(p));
      break;
    case AccessType::kDouble:
      value = LoadLeF64(p);
      break;
    case AccessType::kDateTime: {
      std::optional<std::string> date = sql::IsoDateFromSerial(LoadLeF64(p));
      if (!date) return Status::Corruption("a date outside the years 100 to 9999");
      value = std::move(*date);
      break;
    }
    case AccessType::kGuid:
      value = GuidText(p);
      break;
    case AccessType::kDecimal: {
      std::string digits = (p[0] & kDecimalNegative) != 0 ? "-" : "";
      digits += DecimalDigits(p + 1);
      value = ScaledDecimal(digits, scale);
      break;
    }
    default:
      break;
  }
  return value;
}

}  // namespace quellor::tagdll::access
