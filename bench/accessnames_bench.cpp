// The cost of the tag merge on one access name with 60000 DDE points: every tag's point set,
// then removed and set again (the next build), then the file written and read.
//
//   build/bin/accessnames_bench
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "accessnames/acc_names.h"
#include "accessnames/dde_cfg.h"

namespace quellor {
namespace {

constexpr int kTags = 60000;

const std::vector<std::string>& TagNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    for (int i = 0; i < kTags; ++i) out.push_back("FT" + std::to_string(100000 + i) + ".PV");
    return out;
  }();
  return names;
}

CAccNames OneAccessName() {
  CAccNames names;
  ProjAccName_T row{"Plant", "", "SRV1", "", "PelnetData"};
  int index = 0;
  names.MergeAccessName(row, index);
  return names;
}

void SetAll(CAccNames& names) {
  const std::vector<std::string>& tags = TagNames();
  for (int i = 0; i < kTags; ++i) names.SetTagPoint(1, tags[i], i + 1, tags[i]);
}

void RemoveAndSetAll(CAccNames& names) {
  const std::vector<std::string>& tags = TagNames();
  for (int i = 0; i < kTags; ++i) {
    names.RemoveTagPoint(tags[i]);
    names.SetTagPoint(1, tags[i], i + 1, tags[i]);
  }
}

void BM_SetRemoveSetWrite(benchmark::State& state) {
  for (auto _ : state) {
    CAccNames names = OneAccessName();
    SetAll(names);
    RemoveAndSetAll(names);
    benchmark::DoNotOptimize(FormatDDECfg(names).text.size());
  }
  state.SetItemsProcessed(state.iterations() * kTags);
}
BENCHMARK(BM_SetRemoveSetWrite)->Unit(benchmark::kMillisecond);

void BM_SetTagPoint(benchmark::State& state) {
  for (auto _ : state) {
    CAccNames names = OneAccessName();
    SetAll(names);
    benchmark::DoNotOptimize(names.GetRecord(0).Points->size());
  }
  state.SetItemsProcessed(state.iterations() * kTags);
}
BENCHMARK(BM_SetTagPoint)->Unit(benchmark::kMillisecond);

// The next build: the points come from the file, and the tag merge removes and sets each one.
void BM_RemoveAndSetAfterRead(benchmark::State& state) {
  CAccNames built = OneAccessName();
  SetAll(built);
  const std::string file = FormatDDECfg(built).text;
  for (auto _ : state) {
    state.PauseTiming();
    CAccNames names;
    (void)ParseDDECfg(file, names);
    state.ResumeTiming();
    RemoveAndSetAll(names);
    benchmark::DoNotOptimize(names.GetRecord(0).Points->size());
  }
  state.SetItemsProcessed(state.iterations() * kTags);
}
BENCHMARK(BM_RemoveAndSetAfterRead)->Unit(benchmark::kMillisecond);

void BM_FormatAndParse(benchmark::State& state) {
  CAccNames names = OneAccessName();
  SetAll(names);
  for (auto _ : state) {
    const std::string file = FormatDDECfg(names).text;
    CAccNames read;
    benchmark::DoNotOptimize(ParseDDECfg(file, read));
  }
  state.SetItemsProcessed(state.iterations() * kTags);
}
BENCHMARK(BM_FormatAndParse)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quellor

BENCHMARK_MAIN();
