// The bytes of one file of a preview (overlay_file_system.h): those of a file below, where
// there is one, under the ranges written since. Only the written pages that differ from the
// file below are held in memory, so a dictionary rewritten in place costs the pages it
// changes, not the whole file.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "base/status.h"
#include "platform/file_system.h"

namespace quellor {

class OverlayContent final {
 public:
  // A file that starts empty.
  OverlayContent() = default;
  // A file that starts as `below` (open for reading) holds, `size` bytes of it.
  OverlayContent(std::unique_ptr<File> below, std::uint64_t size);

  std::uint64_t size() const { return size_; }
  // The bytes the written ranges hold.
  std::uint64_t written_bytes() const { return written_bytes_; }

  // As File::ReadAt: up to out.size() bytes at `offset`, fewer only at the end.
  Result<std::size_t> ReadAt(std::uint64_t offset, std::span<std::uint8_t> out);
  // As File::WriteAt: the file grows to hold the data, zeros filling any gap.
  void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data);
  // Cuts or grows (with zeros) the file to `size` bytes.
  void Resize(std::uint64_t size);

 private:
  // Whether [offset, offset + data.size()) shows the file below and already holds `data`: a
  // record a rebuild writes unchanged then costs no memory.
  bool SameAsBelow(std::uint64_t offset, std::span<const std::uint8_t> data);
  // Holds `data` at `offset` as one range, replacing what the ranges held there.
  void Hold(std::uint64_t offset, std::span<const std::uint8_t> data);
  // Removes the written ranges that overlap [begin, end), keeping their bytes outside it.
  void CutOut(std::uint64_t begin, std::uint64_t end);

  // Writes are compared with the file below in pages of this size.
  static constexpr std::uint64_t kPage = 4096;

  std::unique_ptr<File> below_;
  // How many leading bytes of the file below still show: a cut hides the rest for good.
  std::uint64_t below_shown_ = 0;
  std::uint64_t size_ = 0;
  std::uint64_t written_bytes_ = 0;
  // The written ranges by offset; they never overlap.
  std::map<std::uint64_t, std::vector<std::uint8_t>> written_;
};

}  // namespace quellor
