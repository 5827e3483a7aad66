// The program's binding to the project-database library: the library loaded by name, its 56
// entry points looked up in order, and the attachment to the project's database. The run's one
// ProjectDb is TagDll() (project_query.h); its entry points are what every reader of the
// project calls.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/library_loader.h"
#include "tagdll/tagdll.h"

namespace quellor {

// The library cannot be loaded.
inline constexpr std::int32_t kTdlLibraryNotLoaded = -22246;
// The library lacks one of the entry points.
inline constexpr std::int32_t kTdlEntryPointMissing = -22245;

// The entry points the program calls, typed.
struct TdlEntryPoints {
  decltype(&tdl_Attach) Attach = nullptr;
  decltype(&tdl_Release) Release = nullptr;
  decltype(&tdl_PrepareQuery) PrepareQuery = nullptr;
  decltype(&tdl_PrepareSQLQuery) PrepareSQLQuery = nullptr;
  decltype(&tdl_MoveNext) MoveNext = nullptr;
  decltype(&tdl_GetFieldValueByFieldName) GetFieldValueByFieldName = nullptr;
  decltype(&tdl_GetNextRow) GetNextRow = nullptr;
  decltype(&tdl_Execute) Execute = nullptr;
  decltype(&tdl_ReleaseQueryContext) ReleaseQueryContext = nullptr;
  decltype(&tdl_BeginTrans) BeginTrans = nullptr;
  decltype(&tdl_Rollback) Rollback = nullptr;
};

// What becomes of the changes a run makes to the project database.
enum class DatabaseChanges {
  kKept,       // written to its file, as a build does
  kDiscarded,  // made in a transaction in memory, begun before the attach, rolled back at release
};

class ProjectDb final {
 public:
  // The library the program loads: found by the default search, beside the binary through its
  // RUNPATH $ORIGIN.
  static constexpr const char* kLibraryName = "libtagdll.so";

  // `library_name` is a name for the default search or a path.
  explicit ProjectDb(std::string library_name = kLibraryName,
                     DatabaseChanges changes = DatabaseChanges::kKept);
  ProjectDb(const ProjectDb&) = delete;
  ProjectDb& operator=(const ProjectDb&) = delete;
  // Unloads the library if it is still loaded.
  ~ProjectDb() = default;

  // Loads the library (else kTdlLibraryNotLoaded), looks up every entry point in order (at the
  // first missing one: unloads, kTdlEntryPointMissing), then attaches with tdl_Attach(path, -1).
  // Any non-zero result of the attach is a failure: the library is unloaded (unless the result
  // is kTdlLibraryNotLoaded) and a negative result returned (kTdlFailed for a positive one). A
  // library still loaded from an earlier attach is unloaded first. When the changes are
  // discarded, tdl_BeginTrans comes before the attach and its failure fails the attach.
  std::int32_t AttachProjectDb(const char* path);
  // Calls tdl_Release() (after tdl_Rollback when the changes are discarded); unloads the library
  // only when that returns 0. Returns its result, or kTdlFailed when nothing is loaded.
  std::int32_t ReleaseProjectDb();

  // Why the last attach could not load the library (the loader's text) or lacked an entry point
  // (its name); empty after any other outcome.
  const std::string& load_failure() const { return load_failure_; }

  // Whether the library is loaded (attached, or a release failed).
  bool loaded() const { return library_.has_value(); }
  // The entry points; valid while loaded().
  const TdlEntryPoints& tdl() const { return entry_points_; }
  // All 56 addresses in look-up order; valid while loaded().
  const std::array<void*, kTdlEntryPointNames.size()>& addresses() const { return addresses_; }

 private:
  void Unload();

  const std::string library_name_;
  const DatabaseChanges changes_;
  std::string load_failure_;
  std::optional<LoadedLibrary> library_;
  std::array<void*, kTdlEntryPointNames.size()> addresses_{};
  TdlEntryPoints entry_points_;
};

}  // namespace quellor
