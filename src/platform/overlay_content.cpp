#include "platform/overlay_content.h"

#include <algorithm>
#include <cstring>

namespace quellor {

OverlayContent::OverlayContent(std::unique_ptr<File> below, std::uint64_t size)
    : below_(std::move(below)), below_shown_(size), size_(size) {}

Result<std::size_t> OverlayContent::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (offset >= size_) return std::size_t{0};
  const std::uint64_t end = std::min<std::uint64_t>(size_, offset + out.size());
  const std::size_t count = static_cast<std::size_t>(end - offset);
  std::fill_n(out.begin(), count, std::uint8_t{0});
  if (below_ != nullptr && offset < below_shown_) {
    const std::uint64_t below_end = std::min(end, below_shown_);
    Result<std::size_t> read =
        below_->ReadAt(offset, out.first(static_cast<std::size_t>(below_end - offset)));
    if (!read.ok()) return read.status();
  }
  auto range = written_.upper_bound(offset);
  if (range != written_.begin()) --range;
  for (; range != written_.end() && range->first < end; ++range) {
    const std::uint64_t range_end = range->first + range->second.size();
    if (range_end <= offset) continue;
    const std::uint64_t from = std::max(offset, range->first);
    const std::uint64_t to = std::min(end, range_end);
    std::memcpy(out.data() + (from - offset), range->second.data() + (from - range->first),
                static_cast<std::size_t>(to - from));
  }
  return count;
}

void OverlayContent::CutOut(std::uint64_t begin, std::uint64_t end) {
  auto range = written_.upper_bound(begin);
  if (range != written_.begin()) --range;
  while (range != written_.end() && range->first < end) {
    const std::uint64_t start = range->first;
    const std::uint64_t stop = start + range->second.size();
    if (stop <= begin) {
      ++range;
      continue;
    }
    std::vector<std::uint8_t> bytes = std::move(range->second);
    range = written_.erase(range);
    written_bytes_ -= bytes.size();
    if (stop > end) {
      written_.emplace(end, std::vector<std::uint8_t>(bytes.begin() + (end - start), bytes.end()));
    }
    if (start < begin) {
      bytes.resize(static_cast<std::size_t>(begin - start));
      written_.emplace(start, std::move(bytes));
    }
    written_bytes_ += (stop > end ? stop - end : 0) + (start < begin ? begin - start : 0);
  }
}

bool OverlayContent::SameAsBelow(std::uint64_t offset, std::span<const std::uint8_t> data) {
  const std::uint64_t end = offset + data.size();
  if (below_ == nullptr || end > below_shown_) return false;
  auto range = written_.lower_bound(offset);
  if (range != written_.end() && range->first < end) return false;
  if (range != written_.begin() &&
      std::prev(range)->first + std::prev(range)->second.size() > offset) {
    return false;
  }
  std::vector<std::uint8_t> bytes(data.size());
  const Result<std::size_t> read = below_->ReadAt(offset, bytes);
  return read.ok() && *read == bytes.size() && std::equal(bytes.begin(), bytes.end(), data.begin());
}

void OverlayContent::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
  if (data.empty()) return;
  const std::uint64_t end = offset + data.size();
  size_ = std::max(size_, end);
  // A record written again lies inside the range of its first write: overwritten in place.
  auto range = written_.upper_bound(offset);
  if (range != written_.begin()) {
    --range;
    if (range->first + range->second.size() >= end) {
      std::memcpy(range->second.data() + (offset - range->first), data.data(), data.size());
      return;
    }
  }
  // Page by page, each run of pages that differ from the file below held as one range.
  std::uint64_t run_start = offset;
  for (std::uint64_t at = offset; at < end;) {
    const std::uint64_t page_end = std::min(end, (at / kPage + 1) * kPage);
    if (SameAsBelow(at, data.subspan(at - offset, page_end - at))) {
      Hold(run_start, data.subspan(run_start - offset, at - run_start));
      run_start = page_end;
    }
    at = page_end;
  }
  Hold(run_start, data.subspan(run_start - offset, end - run_start));
}

void OverlayContent::Hold(std::uint64_t offset, std::span<const std::uint8_t> data) {
  if (data.empty()) return;
  CutOut(offset, offset + data.size());
  written_.emplace(offset, std::vector<std::uint8_t>(data.begin(), data.end()));
  written_bytes_ += data.size();
}

void OverlayContent::Resize(std::uint64_t size) {
  if (size < size_) {
    CutOut(size, size_);
    below_shown_ = std::min(below_shown_, size);
  }
  size_ = size;
}

}  // namespace quellor
