// The cost of a build's dictionary work on a full Tagname.X (60000 records: tag groups with
// members, I/O tags, some free records and orphans to repair): open, the five load passes,
// Tagnames.NDX, the header and the statistics, against a plain sequential read of the same
// file in 1 MiB blocks.
//
//   build/bin/tagdict_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "accessnames/acc_names.h"
#include "base/le_codec.h"
#include "platform/process.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"

namespace quellor {
namespace {

namespace tl = tag_layout;
constexpr int kRecords = 60000;

// Every tenth record is a group listing the next eight; every 500th record is free and every
// 700th member an orphan (its group does not list it).
std::string DictionaryBytes() {
  std::string file(tl::kRecordSize * (kRecords + 1), '\0');
  auto* p = reinterpret_cast<std::uint8_t*>(file.data());
  StoreLe32(p + tl::kHdrMagic, tl::kMagic);
  StoreLeI32(p + tl::kHdrVersion, 9);
  int group = 0;
  for (int n = 1; n <= kRecords; ++n) {
    TagRec_T record;
    if (n % 500 == 0) continue;
    if (n % 10 == 1) {
      group = n;
      record.SetText(tl::kName, tl::kNameWidth, "GRP" + std::to_string(n));
      record.SetU16(tl::kType, tl::kTypeGroup);
      std::uint32_t count = 0;
      for (int m = n + 1; m < n + 9 && m <= kRecords; ++m) {
        if (m % 700 != 0) record.SetI32(tl::kMembers + 4 * count++, m);
      }
      record.SetU32(tl::kMemberCount, count);
    } else {
      record.SetText(tl::kName, tl::kNameWidth,
                     "GRP" + std::to_string(group) + "\\FT" + std::to_string(n));
      record.SetU16(tl::kType, tl::kTypeReal);
      record.SetI32(tl::kAnalogAccess, 1 + n % 3);
    }
    std::copy(record.bytes().begin(), record.bytes().end(), file.begin() + tl::RecordOffset(n));
  }
  return file;
}

struct BenchFolder {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("tagdict_bench_" + std::to_string(CurrentProcessId()));
  BenchFolder() { std::filesystem::create_directories(path); }
  ~BenchFolder() { std::filesystem::remove_all(path); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path / name, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
};

void BM_LoadIndexAndClose(benchmark::State& state) {
  const BenchFolder folder;
  const std::string bytes = DictionaryBytes();
  CAccNames names;
  for (int id = 1; id <= 3; ++id) {
    AccName_T record;
    record.SourceName = "Acc" + std::to_string(id);
    record.DDESourceID = id;
    names.AppendRecord(std::move(record));
  }
  ScopedReportCapture capture;
  for (auto _ : state) {
    state.PauseTiming();
    folder.Write("Tagname.X", bytes);  // the repairs are done anew each time
    folder.Write("Tag_Ext.X", std::string(tl::kCompanionRecordSize * (kRecords + 1), '\0'));
    capture.Clear();
    state.ResumeTiming();
    {
      CTagDict dict(TagDictOptions{
          .folder = folder.path.string(), .access_names = &names, .app_access_names = {0, 1}});
      dict.WriteNameIndex();
      benchmark::DoNotOptimize(dict.used_count());
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadIndexAndClose)->Unit(benchmark::kMillisecond);

void BM_SequentialRead(benchmark::State& state) {
  const BenchFolder folder;
  const std::string bytes = DictionaryBytes();
  folder.Write("Tagname.X", bytes);
  std::vector<char> block(1 << 20);
  for (auto _ : state) {
    std::ifstream in(folder.path / "Tagname.X", std::ios::binary);
    std::size_t total = 0;
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
      total += static_cast<std::size_t>(in.gcount());
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_SequentialRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quellor

BENCHMARK_MAIN();
