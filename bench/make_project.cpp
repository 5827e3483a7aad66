// make_project: the scale benchmark's plants, for scripts (scripts/bench.sh).
//
//   make_project plant ROOT N [SEED]   writes a plant of N dictionary tags under ROOT (new) and
//                                      prints "tags rows trees"
//   make_project change DATABASE [SEED] changes about 1% of the tags of a project database and
//                                      prints the number of tag trees changed
#include <cstdio>
#include <cstdlib>
#include <string>

#include "plant_generator.h"

namespace {

int Usage() {
  std::fputs("usage: make_project plant ROOT N [SEED] | make_project change DATABASE [SEED]\n",
             stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  if (command == "plant" && (argc == 4 || argc == 5)) {
    const long tags = std::strtol(argv[3], nullptr, 10);
    if (tags <= 0) return Usage();
    if (const std::int32_t largest = quellor::bench::LargestPlant(); tags > largest) {
      std::fprintf(stderr,
                   "make_project: %ld tags do not fit: a dictionary holds 60000 records, %d of "
                   "them the shell application's; the largest plant has %d tags\n",
                   tags, 60000 - largest, largest);
      return 2;
    }
    const auto seed =
        argc == 5 ? static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10)) : 1u;
    const auto plant =
        quellor::bench::GeneratePlant(argv[2], static_cast<std::int32_t>(tags), seed);
    std::printf("%d %d %d\n", plant.tags, plant.rows, plant.trees);
    return 0;
  }
  if (command == "change" && (argc == 3 || argc == 4)) {
    const auto seed =
        argc == 4 ? static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 1u;
    std::printf("%d\n", quellor::bench::ChangeTags(argv[2], seed));
    return 0;
  }
  return Usage();
}
