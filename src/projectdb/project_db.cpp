#include "projectdb/project_db.h"

#include <utility>

namespace quellor {
namespace {

template <typename Function>
void Take(Function& slot, void* address) {
  slot = reinterpret_cast<Function>(address);
}

std::size_t IndexOf(std::string_view name) {
  for (std::size_t i = 0; i < kTdlEntryPointNames.size(); ++i) {
    if (kTdlEntryPointNames[i] == name) return i;
  }
  return kTdlEntryPointNames.size();  // unreachable for the names of tagdll.h
}

}  // namespace

ProjectDb::ProjectDb(std::string library_name, DatabaseChanges changes)
    : library_name_(std::move(library_name)), changes_(changes) {}

std::int32_t ProjectDb::AttachProjectDb(const char* path) {
  Unload();
  load_failure_.clear();
  Result<LoadedLibrary> library = LoadedLibrary::Load(library_name_);
  if (!library.ok()) {
    load_failure_ = library.status().message();
    return kTdlLibraryNotLoaded;
  }
  library_.emplace(std::move(library).value());
  for (std::size_t i = 0; i < kTdlEntryPointNames.size(); ++i) {
    addresses_[i] = library_->Symbol(std::string(kTdlEntryPointNames[i]));
    if (addresses_[i] == nullptr) {
      Unload();
      load_failure_ = library_name_ + " has no entry point " + std::string(kTdlEntryPointNames[i]);
      return kTdlEntryPointMissing;
    }
  }
  auto at = [&](std::string_view name) { return addresses_[IndexOf(name)]; };
  Take(entry_points_.Attach, at("tdl_Attach"));
  Take(entry_points_.Release, at("tdl_Release"));
  Take(entry_points_.PrepareQuery, at("tdl_PrepareQuery"));
  Take(entry_points_.PrepareSQLQuery, at("tdl_PrepareSQLQuery"));
  Take(entry_points_.MoveNext, at("tdl_MoveNext"));
  Take(entry_points_.GetFieldValueByFieldName, at("tdl_GetFieldValueByFieldName"));
  Take(entry_points_.GetNextRow, at("tdl_GetNextRow"));
  Take(entry_points_.Execute, at("tdl_Execute"));
  Take(entry_points_.ReleaseQueryContext, at("tdl_ReleaseQueryContext"));
  Take(entry_points_.BeginTrans, at("tdl_BeginTrans"));
  Take(entry_points_.Rollback, at("tdl_Rollback"));

  if (changes_ == DatabaseChanges::kDiscarded && entry_points_.BeginTrans(kTdlEnd) != kTdlOk) {
    Unload();
    return kTdlFailed;
  }

  const std::int32_t attached = entry_points_.Attach(path, kTdlEnd);
  if (attached == kTdlOk) return kTdlOk;
  // The caller tests only for a negative result, so a positive one must not leave it calling
  // into a library that was unloaded.
  if (attached != kTdlLibraryNotLoaded) Unload();
  return attached < 0 ? attached : kTdlFailed;
}

std::int32_t ProjectDb::ReleaseProjectDb() {
  if (!library_.has_value()) return kTdlFailed;
  // A failed rollback still leaves nothing behind: the changes were only ever in memory.
  if (changes_ == DatabaseChanges::kDiscarded) (void)entry_points_.Rollback(kTdlEnd);
  const std::int32_t released = entry_points_.Release();
  if (released == kTdlOk) Unload();
  return released;
}

void ProjectDb::Unload() {
  library_.reset();
  addresses_.fill(nullptr);
  entry_points_ = TdlEntryPoints{};
}

}  // namespace quellor
