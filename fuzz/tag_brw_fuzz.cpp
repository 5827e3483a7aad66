// TagBrw.DAT: any bytes through the model's load. A model that loaded is stored, and the stored
// bytes must load again and store to the same bytes: the build replaces the file only with
// what its next build reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_check.h"
#include "tagbrowser/tag_brw.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellor;
  CTagBrw model;
  if (!model.Load(std::span<const std::uint8_t>(data, size)).ok()) return 0;

  const std::vector<std::uint8_t> stored = model.Store();
  CTagBrw reloaded;
  fuzz::Check(reloaded.Load(stored).ok(), "a stored TagBrw.DAT loads again");
  fuzz::Check(reloaded.Store() == stored, "a TagBrw.DAT loaded back stores the same bytes");
  return 0;
}
