// A dictionary folder: any bytes as Tagname.X, opened, loaded and repaired by the build's tag
// dictionary with no project attached, closed and loaded again; then given one new tag as a
// build adds it, and loaded once more. The repair must be complete the first time: the second
// load changes no record, no companion record and no header field but the save count. The new
// tag is found by the last load at the record it was given. (That load may still give it the
// "$System" alarm group, since new tags are made without one.) Then the sample plant's tags are
// merged into it twice, from a fresh copy of the plant's database for every input, as a build
// of one "View" client merges them: the second merge finds every tag the first one made.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "accessnames/acc_names.h"
#include "dictionary_folder.h"
#include "fuzz_check.h"
#include "platform/library_loader.h"
#include "projectdb/project_query.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "tagdict/tag_layout.h"
#include "testing/project_database.h"
#include "testing/unsynced_file_system.h"

namespace {

namespace tl = quellor::tag_layout;

// A dictionary's life in one build: open (load and repair), the name index, close.
void Build(const quellor::fuzz::DictionaryFolder& folder) {
  quellor::CTagDict dict(folder.Options());
  if (dict.is_open()) dict.WriteNameIndex();
}

constexpr std::string_view kNewTag = "FuzzNewTag";

// One tag added as a build adds it: the record found or allocated for its name, initialised
// and written. Its record number, or 0 when the dictionary is closed or full.
std::int32_t AddTag(const quellor::fuzz::DictionaryFolder& folder) {
  quellor::CTagDict dict(folder.Options());
  const quellor::TagAllocation allocation = dict.FindOrAllocateRecord(kNewTag, 0);
  if (allocation.rec_no <= 0) return 0;
  quellor::TagRec_T record;
  dict.InitTagRecord(record, 0, nullptr);
  record.SetText(tl::kName, tl::kNameWidth, kNewTag);
  dict.WriteRecord(allocation.rec_no, record);
  return allocation.rec_no;
}

// The next load: the new tag is where it was put.
void CheckTagFound(const quellor::fuzz::DictionaryFolder& folder, std::int32_t record_number) {
  quellor::CTagDict dict(folder.Options());
  if (record_number == 0) return;
  const quellor::TagAllocation found = dict.FindOrAllocateRecord(kNewTag, 0);
  quellor::fuzz::Check(found.existed && found.rec_no == record_number,
                       "a tag added is found again at its record");
}

// The file without its save count, which every close moves on.
std::string WithoutSaveCount(std::string tag_file) {
  if (tag_file.size() >= tl::kHdrSaveCount + 4) tag_file.replace(tl::kHdrSaveCount, 4, 4, '\0');
  return tag_file;
}

// The sample plant's project database, made once per process; every input merges into a fresh
// copy of it, so inputs stay reproducible.
const std::filesystem::path& PlantDatabase() {
  static const quellor::testing::TempDir dir;
  static const std::filesystem::path path = [] {
    const std::filesystem::path made = dir.path() / "Plant.mdb";
    quellor::testing::CreateProjectDatabase(made, quellor::testing::ReadFile(QUELLOR_PLANT_SQL));
    return made;
  }();
  return path;
}

// One merge of the plant's trended tags as a "View" client with the plant's first access name
// makes it: the tags it created, or -1 when the dictionary did not open.
std::int32_t MergePlant(const quellor::fuzz::DictionaryFolder& folder) {
  using namespace quellor;
  CAccNames names;
  int index = 0;
  ProjAccName_T row{"PLC_AREA1", "", "SCADA1", "SCADA2", "PelnetData"};
  names.MergeAccessName(row, index);
  TagDictOptions options = folder.Options();
  options.access_names = &names;
  options.app_access_names = {index};
  options.update_dde_points = true;
  options.discrete_as_integer = true;
  CTagDict dict(options);
  if (!dict.is_open()) return -1;
  LoadProjectTags(dict);
  dict.WriteNameIndex();
  return dict.counters().CreatedTotal;
}

// The plant's database copied for one input and attached through the run's binding.
class AttachedPlantCopy final {
 public:
  AttachedPlantCopy() {
    // libFuzzer keeps counters inside every instrumented library it saw; the build unloads
    // libtagdll.so at each release, so one extra load keeps it mapped for the whole process.
    static const quellor::Result<quellor::LoadedLibrary> kept_mapped =
        quellor::LoadedLibrary::Load(quellor::ProjectDb::kLibraryName);
    (void)kept_mapped;
    std::filesystem::copy_file(PlantDatabase(), dir_.path() / "Project.mdb");
    quellor::ResetTagDll();
    attached_ =
        quellor::TagDll().AttachProjectDb((dir_.path() / "Project.mdb").string().c_str()) == 0;
  }
  ~AttachedPlantCopy() {
    if (attached_) quellor::TagDll().ReleaseProjectDb();
    quellor::ResetTagDll();
  }
  bool attached() const { return attached_; }

 private:
  quellor::testing::TempDir dir_;
  bool attached_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellor;
  const std::span<const std::uint8_t> bytes(data, size);
  if (fuzz::IsOldFormat(bytes)) return 0;
  testing::SkipSyncsFromNowOn();
  const ScopedReportCapture quiet;
  const fuzz::DictionaryFolder folder(bytes);

  Build(folder);
  const std::string repaired = WithoutSaveCount(folder.TagFile());
  const std::string companion = folder.CompanionFile();
  Build(folder);
  fuzz::Check(WithoutSaveCount(folder.TagFile()) == repaired,
              "a repaired Tagname.X loads again unchanged");
  fuzz::Check(folder.CompanionFile() == companion, "a repaired Tag_Ext.X loads again unchanged");

  CheckTagFound(folder, AddTag(folder));

  const AttachedPlantCopy plant;
  fuzz::Check(plant.attached(), "the plant's database attaches");
  if (MergePlant(folder) >= 0) {
    fuzz::Check(MergePlant(folder) == 0, "a second merge of the same project creates no tag");
  }
  return 0;
}
