// The merge of a generated project of 60000 dictionary tags (and of 15000, for the growth)
// (bench/project_generator.h): into an empty dictionary (every tag created) and into the dictionary
// that merge wrote (every tag compared, nothing changed), each from the open to the close of the
// dictionary; and the per-tag server lookup alone, which must bind and step the library's cached
// statement rather than parse its SQL each time.
//
//   build/bin/merge_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "accessnames/acc_names.h"
#include "platform/process.h"
#include "project_generator.h"
#include "projectdb/project_query.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "tagdict/tag_server.h"

namespace quellor {
namespace {

constexpr std::uint32_t kSeed = 9;

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void Spill(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A generated project, attached through the run's binding, and an application folder.
struct Bench final {
  std::filesystem::path root = std::filesystem::temp_directory_path() /
                               ("merge_bench_" + std::to_string(CurrentProcessId()));
  std::filesystem::path app = root / "App1";
  bench::GeneratedProject project;

  explicit Bench(std::int32_t tags) {
    std::filesystem::create_directories(app);
    project = bench::GenerateProject(root / "Project.mdb", tags, kSeed);
    ResetTagDll();
    if (TagDll().AttachProjectDb((root / "Project.mdb").c_str()) != 0) {
      std::fprintf(stderr, "merge_bench: cannot attach the project (libtagdll.so beside me?)\n");
      std::exit(2);
    }
  }
  ~Bench() {
    TagDll().ReleaseProjectDb();
    std::filesystem::remove_all(root);
  }

  static CAccNames AccessNames() {
    CAccNames names;
    AccName_T pelnet;
    pelnet.SourceName = "PN1";
    pelnet.TopicName = "TOPIC";
    pelnet.MasterServer = "SRV1";
    pelnet.ApplicationName = "PelnetData";
    pelnet.DDESourceID = 1;
    names.AppendRecord(std::move(pelnet));
    return names;
  }

  // Opens the dictionary, merges qFTTrdData, closes it; the tags it created.
  std::int32_t Merge(CAccNames& names) const {
    CTagDict dict(TagDictOptions{.folder = app.string(),
                                 .access_names = &names,
                                 .app_access_names = {0},
                                 .update_dde_points = true,
                                 .discrete_as_integer = true});
    LoadProjectTags(dict);
    return dict.counters().ProcessedTotal;
  }
};

void MergeFrom(benchmark::State& state, bool up_to_date) {
  const Bench bench(static_cast<std::int32_t>(state.range(0)));
  ScopedReportCapture capture;
  Spill(bench.app / "Tagname.X", "");
  Spill(bench.app / "Tag_Ext.X", "");
  std::string tag_file, companion_file;
  if (up_to_date) {
    CAccNames names = Bench::AccessNames();
    bench.Merge(names);
  }
  tag_file = Slurp(bench.app / "Tagname.X");
  companion_file = Slurp(bench.app / "Tag_Ext.X");
  std::int32_t processed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Spill(bench.app / "Tagname.X", tag_file);
    Spill(bench.app / "Tag_Ext.X", companion_file);
    CAccNames names = Bench::AccessNames();
    capture.Clear();
    state.ResumeTiming();
    processed = bench.Merge(names);
  }
  if (processed != bench.project.tags) {
    state.SkipWithError("the merge did not process every generated tag");
  }
  state.counters["tags"] = processed;
  state.counters["rows"] = bench.project.rows;
  state.counters["messages"] = static_cast<double>(capture.messages().size());
}

void BM_MergeIntoEmptyDictionary(benchmark::State& state) { MergeFrom(state, false); }
// 15000 beside 60000 shows the cost growing linearly.
BENCHMARK(BM_MergeIntoEmptyDictionary)->Arg(15000)->Arg(60000)->Unit(benchmark::kMillisecond);

void BM_MergeIntoUpToDateDictionary(benchmark::State& state) { MergeFrom(state, true); }
BENCHMARK(BM_MergeIntoUpToDateDictionary)->Arg(15000)->Arg(60000)->Unit(benchmark::kMillisecond);

void BM_TagServerLookup(benchmark::State& state) {
  const Bench bench(60000);
  const CAccNames names = Bench::AccessNames();
  const int list[] = {0};
  std::int32_t n = 0;
  for (auto _ : state) {
    const std::string tag = std::string("T").append(std::to_string(100000 + n++ % 20000));
    benchmark::DoNotOptimize(LookupTagServer(tag, names, list));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TagServerLookup)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quellor

BENCHMARK_MAIN();
