#include "tagdict/tag_records.h"

#include <type_traits>
#include <utility>

namespace quellor {

namespace tl = tag_layout;

static_assert(sizeof(TagRec_T) == tl::kRecordSize && alignof(TagRec_T) == 1 &&
              std::is_trivially_copyable_v<TagRec_T>);

namespace {

// The `count` records that follow the header's unit in `image`.
std::span<TagRec_T> RecordsIn(const FileImage& image, std::size_t count) {
  if (count == 0) return {};
  return {reinterpret_cast<TagRec_T*>(image.bytes().data() + tl::RecordOffset(1)), count};
}

}  // namespace

Status TagRecords::Read(File& file, std::size_t count, std::size_t room) {
  Reset(room > count ? room - count : 0);
  if (count == 0) return Status::Ok();
  // From the file's start, so that the image begins where a page does.
  Result<FileImage> image = file.ReadImage(tl::RecordOffset(1) + count * tl::kRecordSize);
  if (!image.ok()) return image.status();
  image_ = std::move(*image);
  read_ = RecordsIn(image_, count);
  return Status::Ok();
}

void TagRecords::OwnRecordsRead() {
  image_.MakeOwn();
  read_ = RecordsIn(image_, read_.size());
}

void TagRecords::Reset(std::size_t room) {
  read_ = {};
  image_ = FileImage();
  appended_.clear();
  appended_.reserve(room);
}

std::span<const std::uint8_t> TagRecords::Bytes(std::size_t first, std::size_t count) const {
  if (count == 0) return {};
  const TagRec_T& start = (*this)[first];
  return {reinterpret_cast<const std::uint8_t*>(&start), count * tl::kRecordSize};
}

}  // namespace quellor
