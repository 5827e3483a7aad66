// A stand-in for libtagdll.so whose every entry point answers QUELLOR_STAND_IN_RESULT: it lets
// the binding's tests give tdl_Attach a result the real library never gives.
#include <cstdint>

#include "tagdll/entry_point_names.h"

#define QUELLOR_STAND_IN_ENTRY(name) \
  extern "C" std::int32_t name(...) { return QUELLOR_STAND_IN_RESULT; }
TDL_ENTRY_POINTS(QUELLOR_STAND_IN_ENTRY)
