#include "platform/automation/variant.h"

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace quellor {
namespace {

constexpr std::size_t kLengthPrefix = sizeof(std::uint32_t);

bool IsVariantVector(const SAFEARRAY* array) {
  return array != nullptr && array->cDims == 1 && array->cbElements == sizeof(VARIANT);
}

}  // namespace

BSTR SysAllocStringByteLen(std::string_view bytes) {
  if (bytes.size() > UINT32_MAX - kLengthPrefix - 1) return nullptr;
  auto* block = static_cast<char*>(std::malloc(kLengthPrefix + bytes.size() + 1));
  if (block == nullptr) return nullptr;
  const auto length = static_cast<std::uint32_t>(bytes.size());
  std::memcpy(block, &length, kLengthPrefix);
  if (!bytes.empty()) std::memcpy(block + kLengthPrefix, bytes.data(), bytes.size());
  block[kLengthPrefix + bytes.size()] = '\0';
  return block + kLengthPrefix;
}

void SysFreeString(BSTR text) {
  if (text != nullptr) std::free(text - kLengthPrefix);
}

std::uint32_t SysStringByteLen(const BSTR text) {
  if (text == nullptr) return 0;
  std::uint32_t length = 0;
  std::memcpy(&length, text - kLengthPrefix, kLengthPrefix);
  return length;
}

void VariantInit(VARIANT* value) {
  std::memset(static_cast<void*>(value), 0, sizeof(VARIANT));
  value->vt = VT_EMPTY;
}

void VariantClear(VARIANT* value) {
  if (value->vt == VT_BSTR) {
    SysFreeString(value->bstrVal);
  } else if (value->vt == (VT_ARRAY | VT_VARIANT)) {
    SafeArrayDestroy(value->parray);
  }
  VariantInit(value);
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE element_type, std::int32_t lower_bound,
                                 std::uint32_t count) {
  if (element_type != VT_VARIANT) return nullptr;
  auto* array = new (std::nothrow) SAFEARRAY{};
  if (array == nullptr) return nullptr;
  auto* elements = new (std::nothrow) VARIANT[count == 0 ? 1 : count];
  if (elements == nullptr) {
    delete array;
    return nullptr;
  }
  for (std::uint32_t i = 0; i < count; ++i) VariantInit(&elements[i]);
  array->cDims = 1;
  array->cbElements = sizeof(VARIANT);
  array->pvData = elements;
  array->rgsabound[0] = SAFEARRAYBOUND{count, lower_bound};
  return array;
}

void SafeArrayDestroy(SAFEARRAY* array) {
  if (array == nullptr) return;
  auto* elements = static_cast<VARIANT*>(array->pvData);
  for (std::uint32_t i = 0; i < array->rgsabound[0].cElements; ++i) VariantClear(&elements[i]);
  delete[] elements;
  delete array;
}

VARIANT* SafeArrayElement(SAFEARRAY* array, std::int32_t index) {
  if (!IsVariantVector(array)) return nullptr;
  const std::int64_t offset = std::int64_t{index} - array->rgsabound[0].lLbound;
  if (offset < 0 || offset >= std::int64_t{array->rgsabound[0].cElements}) return nullptr;
  return static_cast<VARIANT*>(array->pvData) + offset;
}

const VARIANT* SafeArrayElement(const SAFEARRAY* array, std::int32_t index) {
  return SafeArrayElement(const_cast<SAFEARRAY*>(array), index);
}

void VariantSetNull(VARIANT* value) {
  VariantClear(value);
  value->vt = VT_NULL;
}

void VariantSetI2(VARIANT* value, std::int16_t number) {
  VariantClear(value);
  value->vt = VT_I2;
  value->iVal = number;
}

void VariantSetI4(VARIANT* value, std::int32_t number) {
  VariantClear(value);
  value->vt = VT_I4;
  value->lVal = number;
}

void VariantSetR8(VARIANT* value, double number) {
  VariantClear(value);
  value->vt = VT_R8;
  value->dblVal = number;
}

void VariantSetBool(VARIANT* value, bool truth) {
  VariantClear(value);
  value->vt = VT_BOOL;
  value->boolVal = truth ? VARIANT_TRUE : VARIANT_FALSE;
}

bool VariantSetText(VARIANT* value, std::string_view bytes) {
  // A row's values are set again at every row: a BSTR whose block holds the new text takes it
  // in place, sparing an allocation per value.
  if (value->vt == VT_BSTR && value->bstrVal != nullptr &&
      malloc_usable_size(value->bstrVal - kLengthPrefix) >= kLengthPrefix + bytes.size() + 1) {
    const auto length = static_cast<std::uint32_t>(bytes.size());
    std::memcpy(value->bstrVal - kLengthPrefix, &length, kLengthPrefix);
    if (!bytes.empty()) std::memmove(value->bstrVal, bytes.data(), bytes.size());
    value->bstrVal[bytes.size()] = '\0';
    return true;
  }
  VariantClear(value);
  BSTR text = SysAllocStringByteLen(bytes);
  if (text == nullptr) return false;
  value->vt = VT_BSTR;
  value->bstrVal = text;
  return true;
}

}  // namespace quellor
