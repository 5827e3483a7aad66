#include "tagbrowser/user_tag_filter.h"

#include <array>

namespace quellor {
namespace {

// The six texts in the order they are stored.
template <typename Filter>
auto StoredTexts(Filter& f) {
  return std::array{&f.Name, &f.Text2, &f.Text3, &f.FilterText, &f.Text5, &f.Text6};
}

}  // namespace

Status CUserTagFilter::Serialize(ArchiveReader& ar) {
  for (std::string* text : StoredTexts(*this)) {
    Result<std::string> read = ar.ReadString();
    if (!read.ok()) return read.status();
    *text = std::move(read).value();
  }
  return Status::Ok();
}

void CUserTagFilter::Serialize(ArchiveWriter& ar) const {
  for (const std::string* text : StoredTexts(*this)) ar.WriteString(*text);
}

const CUserTagFilter* CUserTagFilters::Find(std::string_view key) const {
  const auto it = filters_.find(key);
  return it == filters_.end() ? nullptr : it->second.get();
}

void CUserTagFilters::Set(std::string key, std::unique_ptr<CUserTagFilter> filter) {
  filters_.insert_or_assign(std::move(key), std::move(filter));
}

Status CUserTagFilters::Serialize(ArchiveReader& ar) {
  Clear();
  const Result<std::uint32_t> count = ar.ReadCount();
  if (!count.ok()) return count.status();
  for (std::uint32_t i = 0; i < *count; ++i) {
    auto filter = std::make_unique<CUserTagFilter>();
    Result<std::string> key = ar.ReadString();
    if (!key.ok()) return key.status();
    if (Status status = filter->Serialize(ar); !status.ok()) return status;
    Set(std::move(key).value(), std::move(filter));
  }
  return Status::Ok();
}

void CUserTagFilters::Serialize(ArchiveWriter& ar) const {
  ar.WriteCount(filters_.size());
  for (const auto& [key, filter] : filters_) {
    ar.WriteString(key);
    filter->Serialize(ar);
  }
}

}  // namespace quellor
