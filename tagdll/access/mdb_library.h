// The one include of mdbtools' C library, and owners for what it allocates. mdbtools.h 1.0
// includes <glib.h> inside its extern "C" block, which C++ refuses unless glib was included
// first; every file of this folder that calls the library includes this header instead.
#pragma once

// clang-format off
#include <glib.h>
#include <mdbtools.h>
// clang-format on

#include <memory>

namespace quellor::tagdll::access {

struct MdbHandleCloser {
  void operator()(MdbHandle* handle) const { mdb_close(handle); }
};
using MdbHandlePtr = std::unique_ptr<MdbHandle, MdbHandleCloser>;

struct MdbTableDefFreer {
  void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using MdbTableDefPtr = std::unique_ptr<MdbTableDef, MdbTableDefFreer>;

}  // namespace quellor::tagdll::access
