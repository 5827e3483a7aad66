// The merge of a project into any dictionary: any bytes as Tagname.X, into which the sample
// plant's tags are merged twice, from a fresh copy of the plant's database for every input, as
// a build of one "View" client merges them, the DDE points of the first merge carried into the
// second as DDE.CFG carries them. After each merge every DDE point names a used record of its
// own tag and no record has two; the second merge finds every tag the first one made.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <span>
#include <string>

#include "accessnames/acc_names.h"
#include "base/ascii.h"
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

// One merge of the plant's trended tags as a "View" client whose access name is `names`'
// first makes it: the tags it created, or -1 when the dictionary did not open.
std::int32_t MergePlant(const quellor::fuzz::DictionaryFolder& folder, quellor::CAccNames& names) {
  using namespace quellor;
  TagDictOptions options = folder.Options();
  options.access_names = &names;
  options.app_access_names = {0};
  options.update_dde_points = true;
  options.discrete_as_integer = true;
  CTagDict dict(options);
  if (!dict.is_open()) return -1;
  LoadProjectTags(dict);
  dict.WriteNameIndex();
  return dict.counters().CreatedTotal;
}

// Every DDE point names a used record of `tag_file` whose name is the point's (without regard
// to case, as the points compare them), and no record has two points.
void CheckPoints(const quellor::CAccNames& names, const std::string& tag_file) {
  std::set<int> with_point;
  const auto check = [&](const quellor::DDEPoint_T& point) {
    const std::uint64_t offset = tl::RecordOffset(point.TagIndex);
    quellor::fuzz::Check(point.TagIndex >= 1 && offset + tl::kRecordSize <= tag_file.size(),
                         "a DDE point names a record of Tagname.X");
    const quellor::TagRec_T record(std::span<const std::uint8_t, tl::kRecordSize>(
        reinterpret_cast<const std::uint8_t*>(tag_file.data()) + offset, tl::kRecordSize));
    quellor::fuzz::Check(
        !record.IsFree() && quellor::EqualsIgnoreCase(record.Name(), point.TagName),
        "a DDE point names a record of its own tag");
    quellor::fuzz::Check(with_point.insert(point.TagIndex).second, "no record has two DDE points");
  };
  for (int i = 0; i < names.GetCount(); ++i) {
    if (const auto& points = names.GetRecord(i).Points) points->ForEach(check);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellor;
  const std::span<const std::uint8_t> bytes(data, size);
  if (fuzz::IsOldFormat(bytes)) return 0;
  testing::SkipSyncsFromNowOn();
  const ScopedReportCapture quiet;
  const fuzz::DictionaryFolder folder(bytes);
  const AttachedPlantCopy plant;
  fuzz::Check(plant.attached(), "the plant's database attaches");

  CAccNames names;
  int index = 0;
  ProjAccName_T row{"PLC_AREA1", "", "SCADA1", "SCADA2", "PelnetData"};
  names.MergeAccessName(row, index);
  if (MergePlant(folder, names) < 0) return 0;
  CheckPoints(names, folder.TagFile());
  fuzz::Check(MergePlant(folder, names) == 0, "a second merge of the same project creates no tag");
  CheckPoints(names, folder.TagFile());
  return 0;
}
