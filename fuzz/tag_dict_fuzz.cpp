// A dictionary folder: any bytes as Tagname.X, opened, loaded and repaired by the build's tag
// dictionary with no project attached, then closed and opened again. The repair must be
// complete the first time: the second load changes no record, no companion record and no
// header field but the save count.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "dictionary_folder.h"
#include "fuzz_check.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "tagdict/tag_layout.h"
#include "unsynced_file_system.h"

namespace {

namespace tl = quellor::tag_layout;

// A dictionary's life in one build: open (load and repair), the name index, close.
void Build(const quellor::fuzz::DictionaryFolder& folder) {
  quellor::CTagDict dict(folder.Options());
  if (dict.is_open()) dict.WriteNameIndex();
}

// The file without its save count, which every close moves on.
std::string WithoutSaveCount(std::string tag_file) {
  if (tag_file.size() >= tl::kHdrSaveCount + 4) tag_file.replace(tl::kHdrSaveCount, 4, 4, '\0');
  return tag_file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellor;
  const std::span<const std::uint8_t> bytes(data, size);
  if (fuzz::IsOldFormat(bytes)) return 0;
  fuzz::SkipSyncsFromNowOn();
  const ScopedReportCapture quiet;
  const fuzz::DictionaryFolder folder(bytes);

  Build(folder);
  const std::string repaired = WithoutSaveCount(folder.TagFile());
  const std::string companion = folder.CompanionFile();
  Build(folder);
  fuzz::Check(WithoutSaveCount(folder.TagFile()) == repaired,
              "a repaired Tagname.X loads again unchanged");
  fuzz::Check(folder.CompanionFile() == companion, "a repaired Tag_Ext.X loads again unchanged");
  return 0;
}
