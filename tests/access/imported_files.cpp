#include "access/imported_files.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "access/access_test_files.h"
#include "tagdll/access/access_import.h"
#include "testing/project_database.h"
#include "testing/temp_dir.h"

namespace quellor::testing {

const std::filesystem::path& ImportedTestFile(std::string_view name) {
  static const TempDir dir;  // removed when the test program ends
  static std::map<std::string, std::filesystem::path, std::less<>> imported;
  if (const auto found = imported.find(name); found != imported.end()) return found->second;
  const std::filesystem::path database = dir.path() / (std::string(name) + ".sqlite");
  const Status status =
      tagdll::access::ImportAccessFile(AccessTestFile(name).string(), database.string(), {});
  if (!status.ok()) {
    std::fprintf(stderr, "the import of %s failed: %s\n", std::string(name).c_str(),
                 status.message().c_str());
    std::abort();
  }
  return imported.emplace(std::string(name), database).first->second;
}

std::string ImportedValue(std::string_view name, const std::string& sql) {
  return QueryOne(ImportedTestFile(name), sql);
}

}  // namespace quellor::testing
