// The small part of the component runtime that the program and the project-database library
// share: VARIANT, a one-dimensional SAFEARRAY of variants, and BSTR. Values cross the boundary
// between quellor and libtagdll.so in these shapes, so their layout is fixed here once; each
// side links this library privately.
//
// A BSTR here holds narrow (Windows-1252) bytes, as the project database hands text over: a
// 32-bit byte length stored just before the pointer, then the bytes and a terminating NUL.
#pragma once

#include <cstdint>
#include <string_view>

namespace quellor {

using BSTR = char*;
using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum VarEnum : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R8 = 5,
  VT_BSTR = 8,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_ARRAY = 0x2000,
};

struct SAFEARRAY;

struct VARIANT {
  VARTYPE vt;
  std::uint16_t wReserved1;
  std::uint16_t wReserved2;
  std::uint16_t wReserved3;
  union {
    std::int16_t iVal;
    std::int32_t lVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    BSTR bstrVal;
    SAFEARRAY* parray;
  };
};

struct SAFEARRAYBOUND {
  std::uint32_t cElements;
  std::int32_t lLbound;
};

// Only one-dimensional arrays of VARIANT elements are made here (cDims 1, cbElements
// sizeof(VARIANT)).
struct SAFEARRAY {
  std::uint16_t cDims;
  std::uint16_t fFeatures;
  std::uint32_t cbElements;
  std::uint32_t cLocks;
  void* pvData;
  SAFEARRAYBOUND rgsabound[1];
};

// A new BSTR holding a copy of `bytes` (which may contain NULs), or null when memory runs out.
BSTR SysAllocStringByteLen(std::string_view bytes);
// Frees a BSTR; null is allowed.
void SysFreeString(BSTR text);
// The byte length stored with the BSTR; 0 for null.
std::uint32_t SysStringByteLen(const BSTR text);

void VariantInit(VARIANT* value);
// Frees what the variant owns (its BSTR, or its array and every element of it) and leaves it
// VT_EMPTY.
void VariantClear(VARIANT* value);

// A one-dimensional array of `count` VT_EMPTY variants with lower bound `lower_bound`, or null
// when memory runs out. Only VT_VARIANT elements are supported.
SAFEARRAY* SafeArrayCreateVector(VARTYPE element_type, std::int32_t lower_bound,
                                 std::uint32_t count);
// Clears every element and frees the array; null is allowed.
void SafeArrayDestroy(SAFEARRAY* array);
// The element at `index` (counted from the lower bound), or null when the index is outside the
// array or the array is not a one-dimensional array of variants.
VARIANT* SafeArrayElement(SAFEARRAY* array, std::int32_t index);
const VARIANT* SafeArrayElement(const SAFEARRAY* array, std::int32_t index);

// Setters for the common shapes; the variant is cleared first.
void VariantSetNull(VARIANT* value);
void VariantSetI2(VARIANT* value, std::int16_t number);
void VariantSetI4(VARIANT* value, std::int32_t number);
void VariantSetR8(VARIANT* value, double number);
// Any non-zero `truth` becomes VARIANT_TRUE.
void VariantSetBool(VARIANT* value, bool truth);
// False when memory runs out (the variant is then VT_EMPTY). A BSTR the variant holds already
// is overwritten in place when its memory is large enough.
bool VariantSetText(VARIANT* value, std::string_view bytes);

// Owns one variant and clears it when it goes.
class ScopedVariant final {
 public:
  ScopedVariant() { VariantInit(&value_); }
  ~ScopedVariant() { VariantClear(&value_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;

  VARIANT* get() { return &value_; }
  const VARIANT* get() const { return &value_; }
  VARIANT* operator->() { return &value_; }
  const VARIANT* operator->() const { return &value_; }

 private:
  VARIANT value_;
};

}  // namespace quellor
